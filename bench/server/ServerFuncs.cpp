// Test functions of the server benchmark's tester: a test that checks one
// value, and one that draws 20,000 lines.
#include <zem/zem.h>

namespace {

void oneCheck() { Parse::getOutStore()["sum"] = int(Parse::getInStore()["a"]) + 1; }

void drawMany()
{
    for (int i = 0; i < 20000; ++i)
        DrawLine(i % 800, i % 600, (i * 7) % 800, (i * 3) % 600);
}

ZemCall oneCheckCall("oneCheck", oneCheck);
ZemCall drawManyCall("drawMany", drawMany);

}
