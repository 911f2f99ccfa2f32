// Fixed-width decimal fields of the graphic command encoding. Reading never
// looks beyond the field's width, since received chunks carry no terminator.
#include "GrcField.h"

#include <cstring>

bool hasRoom(const char* cursor, const char* end, std::size_t length)
{
    return cursor <= end && static_cast<std::size_t>(end - cursor) >= length;
}

namespace {

// The largest value a field of each width carries; widths past the table
// are treated as its last entry.
const int kFieldLimits[] = {0, 9, 99, 999, 9999, 99999, 999999, 9999999, 99999999, 999999999};
const int kWidestField = 9;

// "00" to "99": two digits per division, since a reply encodes every
// recorded command and the digits are most of its cost.
const char kDigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                           "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                           "8081828384858687888990919293949596979899";

// Every four-character field "0000" to "9999": coordinates are most of
// what a picture encodes, and a copy is cheaper than four divisions.
struct FourDigits {
    char text[10000][4];
    FourDigits()
    {
        for (int v = 0; v < 10000; ++v) {
            text[v][0] = static_cast<char>('0' + v / 1000);
            text[v][1] = static_cast<char>('0' + v / 100 % 10);
            text[v][2] = static_cast<char>('0' + v / 10 % 10);
            text[v][3] = static_cast<char>('0' + v % 10);
        }
    }
};
const FourDigits kFourDigits;

int fieldLimit(int width)
{
    return kFieldLimits[width < 0 ? 0 : (width > kWidestField ? kWidestField : width)];
}

}

void putField(char*& p, int value, int width)
{
    // Codes, coordinates and flags: copied whole.
    if (width == 4 && value >= 0 && value <= 9999) {
        std::memcpy(p, kFourDigits.text[value], 4);
        p += 4;
        return;
    }
    if (width == 2 && value >= 0 && value <= 99) {
        std::memcpy(p, kDigitPairs + 2 * value, 2);
        p += 2;
        return;
    }
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
        const char* pair = kDigitPairs + 2 * (magnitude % 100);
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
