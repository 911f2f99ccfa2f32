// Fixed-width decimal fields of the graphic command encoding. Reading never
// looks beyond the field's width, since received chunks carry no terminator.
#include "GrcField.h"

#include <cstring>

namespace {

// The largest value a field of each width carries; widths past the table
// are treated as its last entry.
const int kFieldLimits[] = {0, 9, 99, 999, 9999, 99999, 999999, 9999999, 99999999, 999999999};
const int kWidestField = 9;

int fieldLimit(int width)
{
    return kFieldLimits[width < 0 ? 0 : (width > kWidestField ? kWidestField : width)];
}

}

constexpr GrcDigits grcDigits{};

void putOtherField(char*& p, int value, int width)
{
    const int high = fieldLimit(width);
    const int low = -fieldLimit(width - 1);
    if (value > high)
        value = high;
    if (value < low)
        value = low;
    unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char* const first = p + (value < 0 ? 1 : 0);
    char* q = p + width;
    while (q - first >= 2) {
        const char* pair = grcDigits.two[magnitude % 100];
        q -= 2;
        q[0] = pair[0];
        q[1] = pair[1];
        magnitude /= 100;
    }
    if (q > first)
        *--q = static_cast<char>('0' + magnitude % 10);
    if (value < 0)
        p[0] = '-';
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
