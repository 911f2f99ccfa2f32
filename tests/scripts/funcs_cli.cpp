// A test function that never returns by itself, for the time limit.
#include <zem/zem.h>

#include <unistd.h>

namespace {

void sleepy()
{
    Parse::getOutStore()["started"] = 1;
    for (;;)
        pause();
}

ZemCall sleepyCall("sleepy", sleepy);

}
