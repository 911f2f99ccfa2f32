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
        std::memmove(text, s, static_cast<std::size_t>(n));
        text[n] = '\0';
        len = n;
    }
    // As set, for a source that is terminated at n and has room for at least
    // ShortText bytes (the lexer's value buffer): short texts then move in
    // one fixed-size block, the same way copies move them.
    void take(const char* buffer, int n)
    {
        if (static_cast<unsigned>(n) < static_cast<unsigned>(ShortText))
            std::memcpy(text, buffer, ShortText);
        else
            std::memcpy(text, buffer, static_cast<std::size_t>(n) + 1);
        len = n;
    }

    int len;
    char text[Size];

private:
    // Every value is terminated at len: the parser's stacks start out
    // constructed or zero-filled, and every writer terminates. A short text
    // therefore moves in one fixed-size block that includes its terminator,
    // with no separate store for it (such a store right before the block is
    // read again stalls the next copy). The parser also copies values of
    // empty rules, which were never set: a length out of range counts as
    // empty.
    void copy(const SymValue& other)
    {
        unsigned n = static_cast<unsigned>(other.len);
        if (n < static_cast<unsigned>(ShortText)) {
            std::memcpy(text, other.text, ShortText);
        } else if (n <= static_cast<unsigned>(MaxText)) {
            std::memcpy(text, other.text, n + 1);
        } else {
            n = 0;
            text[0] = '\0';
        }
        len = static_cast<int>(n);
    }
};

#endif
