// The remote protocol's wire fields as tests write them: a Number ("%07d"
// and a NUL), a Text (its length with the NUL, then the bytes) and a Command.
#ifndef ZEM_TESTS_WIREFIELDS_H
#define ZEM_TESTS_WIREFIELDS_H

#include <cstdio>
#include <string>

namespace zemtest {

inline std::string number(int n)
{
    char field[16];
    std::snprintf(field, sizeof field, "%07d", n);
    return std::string(field, 8);
}

inline std::string text(const std::string& t)
{
    return number(static_cast<int>(t.size()) + 1) + t + std::string(1, '\0');
}

inline std::string command(const char* c) { return std::string(c, 8); }

}  // namespace zemtest

#endif
