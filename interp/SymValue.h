// The value every grammar symbol carries: a text of at most 499 characters
// and its length. Copies move only the text, not the whole field, because
// the parser copies values on every shift and reduction.
#ifndef ZEM_SYMVALUE_H
#define ZEM_SYMVALUE_H

#include <cstring>

struct SymValue {
    enum { Size = 500, MaxText = Size - 1, ShortText = 32 };

    SymValue() : len(0) { text[0] = '\0'; }
    SymValue(const SymValue& other) { copy(other); }
    SymValue& operator=(const SymValue& other)
    {
        if (this != &other)
            copy(other);
        return *this;
    }

    // Takes the n characters at s; n is at most MaxText.
    void set(const char* s, int n)
    {
        std::memmove(text, s, (std::size_t)n);
        text[n] = '\0';
        len = n;
    }

    int len;
    char text[Size];

private:
    // The parser also copies values of empty rules, which were never set: a
    // length out of range counts as empty, and the copy is always terminated.
    // Most texts are short, and one fixed-size block copies them without a
    // call.
    void copy(const SymValue& other)
    {
        unsigned n = (unsigned)other.len;
        if (n > (unsigned)MaxText)
            n = 0;
        if (n < ShortText)
            std::memcpy(text, other.text, ShortText);
        else
            std::memcpy(text, other.text, n);
        text[n] = '\0';
        len = (int)n;
    }
};

#endif
