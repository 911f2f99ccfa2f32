// Test functions that end their process: a viewer built with them shows
// that neither its batch mode nor its window loses a run to them.
#include <zem/zem.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

volatile int* g_nowhere = nullptr;

// The faults are the point of these functions: sanitizer builds must let
// them reach the signal handlers.
#define ZEM_DELIBERATE_FAULT __attribute__((no_sanitize("undefined")))

ZEM_DELIBERATE_FAULT void crash()
{
    SetForeground(200, 0, 0);
    FillRect(10, 10, 60, 60);
    *g_nowhere = 1;
}

void spin()
{
    for (;;)
        pause();
}

ZEM_DELIBERATE_FAULT void divide()
{
    volatile int seven = 7, zero = 0;
    Parse::getOutStore()["q"] = seven / zero;
}

// assert, an uncaught exception, a library's own error handler.
void aborts() { std::abort(); }

ZemCall crashCall("crash", crash);
ZemCall abortsCall("aborts", aborts);
ZemCall spinCall("spin", spin);
ZemCall divideCall("divide", divide);

}
