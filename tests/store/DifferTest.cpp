// Verification report: the block written for expected against actual
// values, byte for byte, and the failure result.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FailedChecks.h"
#include "StoreCv.h"
#include "StoreTestUtil.h"
#include "VarBank.h"

namespace {
struct Report {
    std::string text;
    int result;
};

Report run(VarBank& expected, VarBank& actual, int status)
{
    TempFile f("differ");
    FileGate out;
    out.openOut(f.path());
    int r = expected.differ(out, actual, status);
    out.closeOut();
    return {f.read(), r};
}

std::string block(const std::string& verified, const std::string& logged, const std::string& tail = "")
{
    return "t\n{\n" + std::string("  verified:\n") + verified + "  logged:\n" + logged + "}" + tail + "\n\n";
}
}

TEST(Differ, ExampleBlock)
{
    VarBank exp, act;
    exp.setName("t");
    exp["==n"] = 3;
    exp[">=x"] = 2.0;
    exp["==s"] = "abc";
    exp["==q"] = 31;
    act["n"] = 3;
    act["x"] = 2.5;
    act["s"] = "abd";
    act["k"] = 7;
    Report r = run(exp, act, 1);
    EXPECT_EQ("t\n"
              "{\n"
              "  verified:\n"
              "    n == 3\n"
              "    x >= 2.000000; [double x = 2.500000] \n"
              "    s == \"abc\"; [char* s = \"abd\"] ERROR\n"
              "    q == 31; [undefined] ERROR\n"
              "  logged:\n"
              "    k = 7\n"
              "}\n"
              "\n",
              r.text);
    EXPECT_EQ(1, r.result);
}

TEST(Differ, EmptyBanks)
{
    VarBank exp, act;
    exp.setName("t");
    Report ok = run(exp, act, 1);
    EXPECT_EQ(block("", ""), ok.text);
    EXPECT_EQ(0, ok.result);
    Report bad = run(exp, act, 0);
    EXPECT_EQ(block("", "", " [ERROR]"), bad.text);
    EXPECT_EQ(1, bad.result);
}

TEST(Differ, IntegerOperators)
{
    struct {
        const char* name;
        int expected;
        int actual;
        const char* line;
        int fails;
    } cases[] = {
        {"==v", 5, 5, "    v == 5\n", 0},
        {"==v", 5, 6, "    v == 5; [int v = 6] ERROR\n", 1},
        {"v", 5, 5, "    v == 5\n", 0},
        {"!=v", 5, 6, "    v != 5; [int v = 6] \n", 0},
        {"!=v", 5, 5, "    v != 5; [int v = 5] ERROR\n", 1},
        {"< v", 5, 5, "    v <  5; [int v = 5] ERROR\n", 1},
        {"< v", 5, 4, "    v <  5; [int v = 4] \n", 0},
        {"<=v", 5, 5, "    v <= 5; [int v = 5] \n", 0},
        {"<=v", -5, -4, "    v <= -5; [int v = -4] ERROR\n", 1},
        {"> v", 5, 6, "    v >  5; [int v = 6] \n", 0},
        {"> v", 5, 5, "    v >  5; [int v = 5] ERROR\n", 1},
        {">=v", 5, 5, "    v >= 5; [int v = 5] \n", 0},
        {">=v", 5, 4, "    v >= 5; [int v = 4] ERROR\n", 1},
        {"v==", 1, 1, "    v == 1\n", 0},
    };
    for (auto& c : cases) {
        VarBank exp, act;
        exp.setName("t");
        exp[c.name] = c.expected;
        act["v"] = c.actual;
        Report r = run(exp, act, 1);
        EXPECT_EQ(block(c.line, ""), r.text) << c.name << " " << c.actual;
        EXPECT_EQ(c.fails, r.result) << c.name << " " << c.actual;
    }
}

TEST(Differ, DoublesAndNaN)
{
    double nan = std::nan("");
    struct {
        const char* name;
        double expected;
        double actual;
        const char* line;
        int fails;
    } cases[] = {
        {"==d", 1.5, 1.5, "    d == 1.500000\n", 0},
        {"< d", 1.5, -2.25, "    d <  1.500000; [double d = -2.250000] \n", 0},
        {"!=d", nan, 3.0, "    d != nan; [double d = 3.000000] \n", 0},
        {"!=d", nan, nan, "    d != nan; [double d = nan] \n", 0},
        {"==d", nan, nan, "    d == nan; [double d = nan] ERROR\n", 1},
        {">=d", 1.0, nan, "    d >= 1.000000; [double d = nan] ERROR\n", 1},
    };
    for (auto& c : cases) {
        VarBank exp, act;
        exp.setName("t");
        exp[c.name] = c.expected;
        act["d"] = c.actual;
        Report r = run(exp, act, 1);
        EXPECT_EQ(block(c.line, ""), r.text) << c.line;
        EXPECT_EQ(c.fails, r.result) << c.line;
    }
}

TEST(Differ, StringComparisonsAreUnsignedBytes)
{
    struct {
        const char* name;
        const char* expected;
        const char* actual;
        int fails;
    } cases[] = {
        {"< s", "abc", "ab", 0},  // a prefix sorts first
        {"> s", "abc", "abcd", 0},
        {"< s", "a", "\xE9", 1},  // 0xE9 sorts after 'a'
        {"> s", "a", "\xE9", 0},
        {"==s", "", "", 0},
        {"!=s", "x", "x", 1},
    };
    for (auto& c : cases) {
        VarBank exp, act;
        exp.setName("t");
        exp[c.name] = c.expected;
        act["s"] = c.actual;
        EXPECT_EQ(c.fails, run(exp, act, 1).result) << c.name << c.expected << "/" << c.actual;
    }
}

TEST(Differ, TypeMismatchShowsActualType)
{
    VarBank exp, act;
    exp.setName("t");
    exp["==a"] = 1;
    exp["==b"] = 2.0;
    exp["==c"] = 3;
    act["a"] = 1.0;
    act["b"] = "2";
    act["c"] = 3;
    Report r = run(exp, act, 1);
    EXPECT_EQ(block("    a == 1; [double a = 1.000000] ERROR\n"
                    "    b == 2.000000; [char* b = \"2\"] ERROR\n"
                    "    c == 3\n",
                    ""),
              r.text);
    EXPECT_EQ(1, r.result);
}

TEST(Differ, HexNames)
{
    VarBank exp, act;
    exp.setName("t");
    exp["==(0xflags)"] = 255;
    exp["!=0xm"] = -1;
    act["(0xflags)"] = 171;
    act["0xm"] = 16;
    act["0xlog"] = 26;
    act["(0xd"] = 0.5;
    Report r = run(exp, act, 1);
    EXPECT_EQ(block("    (0xflags) == 0xff; [int (0xflags) = 0xab] ERROR\n"
                    "    0xm != 0xffffffff; [int 0xm = 0x10] \n",
                    "    0xlog = 0x1a\n"
                    "    (0xd = 0.500000\n"),
              r.text);
}

TEST(Differ, CommentsAndLoggedValues)
{
    VarBank exp, act;
    exp.setName("t");
    exp["==v"] = 1;
    exp["!=v"] = 2;  // two checks on one value
    act["//000003"] = "// first comment\n";
    act["//000004"] = "// second\n";
    act["v"] = 1;
    act["//000009"] = "// late\n";
    act["s"] = "text";
    act["d"] = 0.25;
    Report r = run(exp, act, 1);
    EXPECT_EQ("t\n{\n"
              "  // first comment\n"
              "  // second\n"
              "  verified:\n"
              "    v == 1\n"
              "    v != 2; [int v = 1] \n"
              "  logged:\n"
              "    //000009 = \"// late\n\"\n"
              "    s = \"text\"\n"
              "    d = 0.250000\n"
              "}\n\n",
              r.text);
    EXPECT_EQ(0, r.result);
    // Marks are cleared: a second report lists the same values.
    EXPECT_EQ(r.text, run(exp, act, 1).text);
    for (StoreEl* e = act.getData(nullptr); e; e = e->getNext())
        EXPECT_EQ(0, e->getMark());
}

TEST(Differ, UnknownTypes)
{
    VarBank exp, act;
    exp.setName("t");
    exp["==u"] = 1;
    exp.getData("==u")->setType(5);
    exp["==w"] = 2;
    act["u"] = 1;
    act["w"] = 2;
    act["z"] = 3;
    act.getData("z")->setType(6);
    Report r = run(exp, act, 1);
    EXPECT_EQ(block("unknown type: u\n"
                    "    w == 2\n",
                    "unknown type: z\n"),
              r.text);
    EXPECT_EQ(0, r.result);
}

TEST(Differ, ClosedOutputStillComputesResult)
{
    VarBank exp, act;
    exp["==q"] = 1;
    FileGate closed;
    EXPECT_EQ(1, exp.differ(closed, act, 1));
    act["q"] = 1;
    EXPECT_EQ(0, exp.differ(closed, act, 1));
    EXPECT_EQ(1, exp.differ(closed, act, 0));
}

// "i42" is the int 42, anything else a double as strtod reads it.
void put(VarBank& b, const char* name, const char* value)
{
    if (value[0] == 'i')
        b[name] = std::atoi(value + 1);
    else
        b[name] = std::strtod(value, nullptr);
}

// "==d" followed by "+-d", as the grammar stores "d == e +- t".
TEST(Differ, ToleranceChecks)
{
    struct {
        const char *expected, *tolerance, *actual, *line;
    } cases[] = {
        {"8.0623", "0.0001", "8.0622577", "d == 8.062300 +- 0.000100; [double d = 8.062258] "},
        {"8.0623", "0.00001", "8.0622577", "d == 8.062300 +- 0.000010; [double d = 8.062258] ERROR"},
        {"1", "1e-8", "1.0000001", "d == 1 +- 1e-08; [double d = 1.0000001] ERROR"},
        {"i42", "i1", "i43", "d == 42 +- 1; [int d = 43] "},
        {"i42", "0.5", "i43", "d == 42 +- 0.500000; [int d = 43] ERROR"},
        {"i42", "i1", "42.5", "d == 42 +- 1; [double d = 42.500000] "},
        {"1", "i-1", "1", "d == 1.000000 +- -1; [double d = 1.000000] ERROR"},
        {"1", "1", "nan", "d == 1.000000 +- 1.000000; [double d = nan] ERROR"},
        {"INF", "i1", "INF", "d == inf +- 1; [double d = inf] "},
        {"1", "i1", "INF", "d == 1.000000 +- 1; [double d = inf] ERROR"},
    };
    for (auto& c : cases) {
        VarBank exp, act;
        exp.setName("t");
        put(exp, "==d", c.expected);
        put(exp, "+-d", c.tolerance);
        put(act, "d", c.actual);
        Report r = run(exp, act, 1);
        EXPECT_EQ(block("    " + std::string(c.line) + "\n", ""), r.text) << c.line;
        EXPECT_EQ(std::strstr(c.line, "ERROR") ? 1 : 0, r.result) << c.line;
    }
}

// A tolerance counts only right after its own "==" check; a lone one is
// never written, and a '+' without '-' is part of a name.
TEST(Differ, ToleranceBelongsToTheCheckBeforeIt)
{
    VarBank exp, act;
    exp.setName("t");
    const char* names[] = {"+-a", "==a", "!=b", "+-b", "p.==x", "p.+-x", "q.==x", "r.+-x", "e+f"};
    for (const char* n : names)
        exp[n] = 1;
    act["a"] = act["b"] = act["p.x"] = act["q.x"] = 2;
    act["e+f"] = 1;
    EXPECT_EQ(block("    a == 1; [int a = 2] ERROR\n"
                    "    b != 1; [int b = 2] \n"
                    "    p.x == 1 +- 1; [int p.x = 2] \n"
                    "    q.x == 1; [int q.x = 2] ERROR\n"
                    "    e+f == 1\n",
                    ""),
              run(exp, act, 1).text);
}

// Only a failed check between two doubles whose six-decimal texts are the
// same shows both with the digits that tell them apart.
TEST(Differ, FailedDoublesShowTheDigitsThatDiffer)
{
    struct {
        const char *op, *expected, *actual, *line;
    } cases[] = {
        {"==", "8.0622581", "8.0622577", "d == 8.0622581; [double d = 8.0622577] ERROR"},
        {"==", "0.3", "0.30000000000000004", "d == 0.3; [double d = 0.30000000000000004] ERROR"},
        {"> ", "2", "1.9999999", "d >  2; [double d = 1.9999999] ERROR"},
        {"==", "8.062258", "8.062259", "d == 8.062258; [double d = 8.062259] ERROR"},
        {"< ", "8.0622581", "8.0622577", "d <  8.062258; [double d = 8.062258] "},
        {"!=", "1.0000001", "1.0000001", "d != 1.000000; [double d = 1.000000] ERROR"},
        {"==", "nan", "nan", "d == nan; [double d = nan] ERROR"},
    };
    for (auto& c : cases) {
        VarBank exp, act;
        exp.setName("t");
        put(exp, (std::string(c.op) + "d").c_str(), c.expected);
        put(act, "d", c.actual);
        EXPECT_EQ(block("    " + std::string(c.line) + "\n", ""), run(exp, act, 1).text) << c.line;
    }
}

TEST(Differ, FailedLinesAreKeptForTheConsole)
{
    VarBank exp, act;
    exp.setName("add");
    exp["==sum"] = 43;
    exp["==ok"] = 1;
    act["sum"] = 42;
    act["ok"] = 1;
    FailedChecks::clear();
    FailedChecks::setTestLine(12);
    run(exp, act, 1);
    FailedChecks::setTestLine(20);
    run(exp, act, 0);
    ASSERT_EQ(3, FailedChecks::kept());
    EXPECT_EQ(12, FailedChecks::lineOf(0));
    EXPECT_STREQ("add: sum == 43; [int sum = 42] ERROR", FailedChecks::textOf(0));
    EXPECT_EQ(20, FailedChecks::lineOf(2));
    EXPECT_STREQ("add: } [ERROR]", FailedChecks::textOf(2));
    FailedChecks::clear();
    act["sum"] = 43;
    run(exp, act, 1);
    EXPECT_EQ(0, FailedChecks::count());
}
