// The trivial function under test of the interpreter benchmark, shared by
// the script's test function and the GoogleTest equivalent.
#ifndef ZEM_BENCHSUM_H
#define ZEM_BENCHSUM_H

struct BenchInputs {
    int v[8];
};

struct BenchSums {
    int v[5];
};

inline BenchSums benchSum(const BenchInputs& in)
{
    const int* x = in.v;
    return {{x[0] + x[1],
             x[2] - x[3],
             x[4] * x[5],
             x[6] ^ x[7],
             x[0] + x[1] + x[2] + x[3] + x[4] + x[5] + x[6] + x[7]}};
}

// The inputs of test number t.
inline BenchInputs benchInputs(int t) { return {{t, t + 1, 3 * t, 7, t % 100, 5, t * 11, 255}}; }

#endif
