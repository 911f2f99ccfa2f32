// Test functions for the interpreter's script cases: the grammar example's
// adder, a loop-back that reports every input as an output, the report
// example's fixed outputs, and exports of parenthesised outputs.
#include <zem/zem.h>

namespace {

void addTest()
{
    VarBank& in = Parse::getInStore();
    Parse::getOutStore()["sum"] = int(in["a"]) + int(in["b"]);
}

// Every input comes back as an output, so a report lists what the script
// stored and under which names.
void ipEcho() { Parse::getOutStore() = Parse::getInStore(); }

void ipReport()
{
    VarBank& out = Parse::getOutStore();
    out["n"] = 3;
    out["x"] = 2.5;
    out["s"] = "abd";
    out["k"] = 7;
}

// Hands values back to the script: (count), (p).x and (label).
void ipExport()
{
    VarBank& out = Parse::getOutStore();
    out["(count)"] = int(Parse::getInStore()["start"]) + 4;
    out["(p).x"] = 1.5;
    out["(label)"] = "made by ipExport";
}

ZemCall addTestCall("addTest", addTest);
ZemCall ipEchoCall("ipEcho", ipEcho);
ZemCall ipReportCall("ipReport", ipReport);
ZemCall ipExportCall("ipExport", ipExport);

}  // namespace
