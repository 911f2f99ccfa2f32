// The benchmark tester's test functions: benchSum reads the eight integer
// inputs and the label and writes the five sums; benchItems hands back both
// ends of its array input.
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

// Reads every item, as a function that wants the whole array does, and
// hands back how many there were and their sum for the script to check.
void benchItemsTest()
{
    StoreCv list = Parse::getInStore()["list"];
    int n = Parse::getInStore()["n"];
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += static_cast<double>(list[i]);
    VarBank& out = Parse::getOutStore();
    out["n"] = n;
    out["sum"] = sum;
}

ZemCall benchSumCall("benchSum", benchSumTest);
ZemCall benchItemsCall("benchItems", benchItemsTest);

}  // namespace
