// A test function that never returns by itself, for the time limit, and
// one that draws, for picture checks.
#include <zem/zem.h>

#include <cstdio>
#include <unistd.h>

namespace {

void sleepy()
{
    Parse::getOutStore()["started"] = 1;
    for (;;)
        pause();
}

// Four commands; "shift" moves the end of the line, "extra" adds a point.
void house()
{
    VarBank& in = Parse::getInStore();
    SetForeground(200, 0, 0);
    FillRect(0, 0, 30, 40);
    DrawLine(10, 20, 110 + int(in["shift"]), 20);
    DrawTinyString(5, 7, "a \"b\"");
    if (int(in["extra"]))
        DrawPoint(1, 2);
}

// Changes the running script on disk, as an editor might meanwhile.
void touchScript()
{
    std::FILE* f = std::fopen(Parse::getIO().getInFileName(), "ab");
    if (f) {
        std::fputs("// touched\n", f);
        std::fclose(f);
    }
    Parse::getOutStore()["v"] = 2.0;
}

ZemCall sleepyCall("sleepy", sleepy);
ZemCall touchScriptCall("touchScript", touchScript);
ZemCall houseCall("house", house);

}
