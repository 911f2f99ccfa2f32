// The limit is a one-shot interval timer armed around each test function
// only: the interpreter's own reading and reporting never count against it.
#include "TimeLimit.h"

#include <sys/time.h>

#include "ZemCall.h"

namespace {

double g_Seconds = 0.0;

void arm(double seconds)
{
    itimerval timer{};
    timer.it_value.tv_sec = static_cast<time_t>(seconds);
    timer.it_value.tv_usec =
        static_cast<suseconds_t>((seconds - static_cast<double>(timer.it_value.tv_sec)) * 1e6);
    if (seconds > 0 && timer.it_value.tv_sec == 0 && timer.it_value.tv_usec == 0)
        timer.it_value.tv_usec = 1;
    setitimer(ITIMER_REAL, &timer, nullptr);
}

}

namespace TimeLimit {

void set(double seconds) { g_Seconds = seconds > 0 ? seconds : 0.0; }

double get() { return g_Seconds; }

int start()
{
    if (g_Seconds <= 0)
        return testStartsHere();
    arm(g_Seconds);
    int r = testStartsHere();
    arm(0);
    return r;
}

}
