// Fixed-width decimal fields of the graphic command encoding: writing
// exactly the field's width and reading it back without a terminator.
#ifndef ZEM_GRCFIELD_H
#define ZEM_GRCFIELD_H

#include <cstddef>

// True when at least length bytes remain from cursor to end.
bool hasRoom(const char* cursor, const char* end, std::size_t length);

// Writes value zero-padded to exactly width characters ("%0<width>d") and
// advances p. A value the width cannot carry is clamped to the nearest one
// it can, so the command keeps its length.
void putField(char*& p, int value, int width);

// Reads exactly width characters at p: digits, optionally led by one '-'.
// On success stores the value, advances p and returns true; anything else
// returns false and leaves p alone.
bool takeField(const char*& p, int width, int& value);

#endif
