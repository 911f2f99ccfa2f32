// The form of doubles in reports and traces: the default of the process
// and the choice of the run in progress.
#include "RealFormat.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool g_Default = false;
bool g_Current = false;

}

namespace RealFormat {

void setDefault(bool roundTrip)
{
    g_Default = roundTrip;
    g_Current = roundTrip;
}

void set(bool roundTrip) { g_Current = roundTrip; }

void reset() { g_Current = g_Default; }

bool roundTrip() { return g_Current; }

int shortest(char* buf, double v)
{
    int n = 0;
    for (int digits = 1; digits <= 17; ++digits) {
        n = std::snprintf(buf, TextSize, "%.*g", digits, v);
        if (std::strtod(buf, nullptr) == v)
            break;
    }
    return n;
}

int write(char* buf, double v)
{
    if (g_Current)
        return shortest(buf, v);
    int n = std::snprintf(buf, TextSize, "%lf", v);
    return n < TextSize ? n : TextSize - 1;
}

}
