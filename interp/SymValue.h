// The value every grammar symbol carries: a text of at most 499 characters.
// Copies move only the text, not the whole field, because the parser copies
// values on every shift and reduction.
#ifndef ZEM_SYMVALUE_H
#define ZEM_SYMVALUE_H

#include <cstring>

struct SymValue {
    enum { Size = 500, MaxText = Size - 1 };

    SymValue() { text[0] = '\0'; }
    SymValue(const SymValue& other) { assign(other.text); }
    SymValue& operator=(const SymValue& other)
    {
        if (this != &other)
            assign(other.text);
        return *this;
    }

    // Copies at most MaxText characters of s; the parser also copies values
    // of empty rules, which were never set, so the length is bounded.
    void assign(const char* s)
    {
        std::size_t n = strnlen(s, MaxText);
        std::memmove(text, s, n);
        text[n] = '\0';
    }

    char text[Size];
};

#endif
