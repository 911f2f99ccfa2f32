// The benchmark tester's one test function: reads the eight integer inputs
// and the label, writes the five sums.
#include <zem/zem.h>

#include "BenchSum.h"

namespace {

const char* const inputNames[8] = {"a", "b", "c", "d", "e", "f", "g", "h"};
const char* const outputNames[5] = {"s0", "s1", "s2", "s3", "s4"};

void benchSumTest()
{
    VarBank& inBank = Parse::getInStore();
    BenchInputs in;
    for (int i = 0; i < 8; ++i)
        in.v[i] = inBank[inputNames[i]];
    in.label = static_cast<char*>(inBank["label"]);
    BenchSums s = benchSum(in);
    VarBank& out = Parse::getOutStore();
    for (int k = 0; k < 5; ++k)
        out[outputNames[k]] = s.v[k];
}

ZemCall benchSumCall("benchSum", benchSumTest);

}  // namespace
