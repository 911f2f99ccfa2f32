// Fixed-width decimal fields of the graphic command encoding: writing
// exactly the field's width and reading it back without a terminator.
#ifndef ZEM_GRCFIELD_H
#define ZEM_GRCFIELD_H

#include <cstddef>
#include <cstring>

// True when at least length bytes remain from cursor to end.
inline bool hasRoom(const char* cursor, const char* end, std::size_t length)
{
    return cursor <= end && static_cast<std::size_t>(end - cursor) >= length;
}

// The digits of every value of a four- and of a two-character field.
// Coordinates and codes are most of what a picture encodes, and a reply
// encodes every recorded command: a copy beats four divisions.
struct GrcDigits {
    char four[10000][4];
    char two[100][2];
    constexpr GrcDigits() : four{}, two{}
    {
        for (int v = 0; v < 10000; ++v) {
            four[v][0] = static_cast<char>('0' + v / 1000);
            four[v][1] = static_cast<char>('0' + v / 100 % 10);
            four[v][2] = static_cast<char>('0' + v / 10 % 10);
            four[v][3] = static_cast<char>('0' + v % 10);
        }
        for (int v = 0; v < 100; ++v) {
            two[v][0] = static_cast<char>('0' + v / 10);
            two[v][1] = static_cast<char>('0' + v % 10);
        }
    }
};
extern const GrcDigits grcDigits;

// putField for the widths and values the tables do not hold.
void putOtherField(char*& p, int value, int width);

// Writes value zero-padded to exactly width characters ("%0<width>d") and
// advances p. A value the width cannot carry is clamped to the nearest one
// it can, so the command keeps its length.
inline void putField(char*& p, int value, int width)
{
    if (width == 4 && static_cast<unsigned>(value) <= 9999u) {
        std::memcpy(p, grcDigits.four[value], 4);
        p += 4;
    } else if (width == 2 && static_cast<unsigned>(value) <= 99u) {
        std::memcpy(p, grcDigits.two[value], 2);
        p += 2;
    } else {
        putOtherField(p, value, width);
    }
}

// Reads exactly width characters at p: digits, optionally led by one '-'.
// On success stores the value, advances p and returns true; anything else
// returns false and leaves p alone.
bool takeField(const char*& p, int width, int& value);

#endif
