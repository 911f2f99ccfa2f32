// Fixed-width decimal fields of the graphic command encoding. Reading never
// looks beyond the field's width, since received chunks carry no terminator.
#include "GrcField.h"

#include <cstdio>
#include <cstring>

bool hasRoom(const char* cursor, const char* end, std::size_t length)
{
    return cursor <= end && static_cast<std::size_t>(end - cursor) >= length;
}

static int fieldLimit(int width)
{
    int limit = 1;
    for (int i = 0; i < width && limit <= 100000000; ++i)
        limit *= 10;
    return limit - 1;
}

void putField(char*& p, int value, int width)
{
    const int high = fieldLimit(width);
    const int low = -fieldLimit(width - 1);
    if (value > high)
        value = high;
    if (value < low)
        value = low;
    char temp[16];
    std::snprintf(temp, sizeof temp, "%0*d", width, value);
    std::memcpy(p, temp, static_cast<std::size_t>(width));
    p += width;
}

bool takeField(const char*& p, int width, int& value)
{
    int i = 0;
    bool negative = false;
    if (width > 1 && p[0] == '-') {
        negative = true;
        i = 1;
    }
    int result = 0;
    for (; i < width; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        result = result * 10 + (p[i] - '0');
    }
    value = negative ? -result : result;
    p += width;
    return true;
}
