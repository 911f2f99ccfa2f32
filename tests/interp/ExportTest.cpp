// Outputs written as "(name)" become definitions after each test.
#include "InterpTestUtil.h"

namespace {

using interptest::dump;

TEST(ExportTest, ParenthesisedOutputsBecomeDefinitions)
{
    VarBank& out = Parse::getOutStore();
    VarBank defs;
    out.clear();
    out["(a)"] = 5;
    out["(a)b"] = 1;
    out["(a"] = 2;
    out["a)"] = 3;
    out["(r).x"] = 1.5;
    out["(v)[2]"] = "s";
    out["plain"] = 4;
    Parse::exportOutputs(defs);
    EXPECT_EQ(dump(defs), "a=5 ab=1 r.x=1.5 v[2]=\"s\"");
    EXPECT_EQ(dump(out), "(a)=5 (ab)=1 (a=2 a)=3 (r.x)=1.5 (v[2])=\"s\" plain=4");
    // Renamed entries are found under their new names.
    EXPECT_EQ(out.getType("(r.x)"), StoreEl::TypeDouble);
    EXPECT_EQ(out.getType("(ab)"), StoreEl::TypeInt);
    EXPECT_EQ(out.getType("(r).x"), 0);
    out.clear();
}

int exportStart()
{
    VarBank& out = Parse::getOutStore();
    out["(count)"] = int(Parse::getInStore()["n"]) + 1;
    out["(p).x"] = 2.5;
    return -1;
}

class ExportRunTest : public interptest::InScratchDir {};

TEST_F(ExportRunTest, LaterTestsReferToExportedValues)
{
    const char* text = "resultfile \"r.txt\"\nt { n = 4 }\nt { c = (count) x = (p.x) }\n";
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", exportStart), 0);
    // The second test exported again: its n is missing, so count became 1.
    EXPECT_EQ(dump(Parse::getDefStore()), "count=1 p.x=2.5");
    EXPECT_EQ(dump(Parse::getInStore()), "c=5 x=2.5");
}

}  // namespace
