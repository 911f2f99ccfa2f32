// Test functions for the cases on array inputs: a sum over the items of
// v, as many as count() finds.
#include <zem/zem.h>

namespace {

void itemSum()
{
    StoreCv v = Parse::getInStore()["v"];
    int n = v.count(), sum = 0;
    for (int i = 0; i < n; ++i)
        sum += int(v[i]);
    Parse::getOutStore()["n"] = n;
    Parse::getOutStore()["sum"] = sum;
}

ZemCall itemSumCall("itemSum", itemSum);

}  // namespace
