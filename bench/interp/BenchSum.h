// The trivial function under test of the interpreter benchmark, shared by
// the script's test function and the GoogleTest equivalent.
#ifndef ZEM_BENCHSUM_H
#define ZEM_BENCHSUM_H

#include <cstring>

struct BenchInputs {
    int v[8];
    const char* label;
};

struct BenchSums {
    int v[5];
};

// The label's length enters the last sum, so that the string input is read
// by both variants.
inline BenchSums benchSum(const BenchInputs& in)
{
    const int* x = in.v;
    int length = static_cast<int>(std::strlen(in.label));
    return {{x[0] + x[1],
             x[2] - x[3],
             x[4] * x[5],
             x[6] ^ x[7],
             x[0] + x[1] + x[2] + x[3] + x[4] + x[5] + x[6] + x[7] + length}};
}

// The integer inputs of test number t; its label is benchLabel(t).
inline BenchInputs benchInputs(int t, const char* label)
{
    return {{t, t + 1, 3 * t, 7, t % 100, 5, t * 11, 255}, label};
}

// Writes the label of test number t into text (at least 32 bytes).
inline void benchLabel(int t, char* text)
{
    static const char* const words[4] = {"alpha", "beta gamma", "delta", "epsilon zeta eta"};
    std::strcpy(text, words[t % 4]);
    std::strcat(text, t % 3 ? " case" : " case, long form");
}

#endif
