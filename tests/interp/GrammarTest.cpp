// The grammar and its value building: every statement form lands in the
// right bank under the right name, and errors carry their texts, lines and
// offsets. The start function only records the banks (and skips reports).
#include "InterpTestUtil.h"

#include <vector>

namespace {

using interptest::dump;

struct Snapshot {
    std::string name, in, ver, out;
};

std::vector<Snapshot> runs;
int startResult = -1;

int recordBanks()
{
    runs.push_back({Parse::getInStore().getName(),
                    dump(Parse::getInStore()),
                    dump(Parse::getVerStore()),
                    dump(Parse::getOutStore())});
    return startResult;
}

// Scripts start with this on their first line, so line numbers are those of
// the text under test and offsets are shifted by its length.
const std::string prefix = "resultfile \"r.txt\" ";
const int shift = static_cast<int>(prefix.size());

class GrammarTest : public interptest::InScratchDir {
protected:
    int run(const std::string& text, const char* selector = "")
    {
        runs.clear();
        startResult = -1;
        return Parse::parseLoop(script(prefix + text).c_str(), selector, recordBanks);
    }
};

struct BankCase {
    const char* script;
    const char* in;
    const char* ver;
};

const BankCase bankCases[] = {
    {"t { a = 1 b = -2 c = 0x1f }", "a=1 b=-2 c=31", ""},
    {"t { r = 2.5 s = \"x y\" d = 1.2.3 m = - }", "r=2.5 s=\"x y\" d=1.2 m=0", ""},
    {"t { a = 1 a = \"again\" }", "a=\"again\"", ""},
    {"t { verify: x = 5 }", "", "==x=5"},
    {"t { verify: a = 1 b == 2 c != 3 d > 4 e < 5 f >= 6 g <= 7 }",
     "",
     "==a=1 ==b=2 !=c=3 > d=4 < e=5 >=f=6 <=g=7"},
    {"t { a = 1 verify: }", "a=1", ""},
    {"t { verify: l[] { 1 } p { x = 1 } }", "", "l[0]=1 p.==x=1"},
    {"t { a.b.c = 1 }", "a.b.c=1", ""},
    // A tolerance follows its check, which is stored as any other.
    {"{ e = 2.5 } t { verify: x == 1 +- 2 y = 2.5+-.5 z == (e) +- 0x10 }",
     "",
     "==x=1 +-x=2 ==y=2.5 +-y=0.5 ==z=2.5 +-z=16"},
    {"t { verify: p { x == 1.5 +- 1 } l[] { { y = 2 +- 1 } } }",
     "",
     "p.==x=1.5 p.+-x=1 l[0].==y=2 l[0].+-y=1"},
    {"t { p { q { x = 1 } y = 2 } z = 3 }", "p.q.x=1 p.y=2 z=3", ""},
    {"t { p { } }", "", ""},
    {"t { l[] { 1 {2} 3.5 {4.5} \"s\" {\"u\"} } }",
     "l[0]=1 l[1]=2 l[2]=3.5 l[3]=4.5 l[4]=\"s\" l[5]=\"u\"",
     ""},
    {"t { l[] { { a = 1 } { b = 2 c = 3 } x = 4 {} y = 5 } }",
     "l[0].a=1 l[1].b=2 l[1].c=3 l[2].x=4 l[4].y=5",
     ""},
    {"t { l[] { p { x = 1 } } }", "l[0].p.x=1", ""},
    {"t { m[] { { r[] { 1 2 } } { r[] { 3 } } } }", "m[0].r[0]=1 m[0].r[1]=2 m[1].r[0]=3", ""},
    {"t { m[] { q[] { 7 } } }", "m[0].q[0]=7", ""},
    {"t { l[] { } }", "", ""},
    {"t { l[] { (\"a\" \"b\") } }", "l[0]=\"ab\"", ""},
    {"{ n = 3.5 s = \"b\" i = 4 p { x = 1 } } t { a = (n) b = (s) c = (p) d = (i) }",
     "a=3.5 b=\"b\" c.x=1 d=4",
     ""},
    {"{ n = 3 } t { list[] { 1 {2} (n) } }", "list[0]=1 list[1]=2 list[2]=3", ""},
    {"{ p { x = 1 y = \"z\" } } t { l[] { (p) } }", "l[0].x=1 l[0].y=\"z\"", ""},
    {"{ l[] { 5 6 } } t { k = (l) }", "k[0]=5 k[1]=6", ""},
    {"{ v = \"b\" } t { s = (\"a\" (v) \"c\") }", "s=\"abc\"", ""},
    {"{ v = \"b\" } t { s = ((v) (v)) u = (\"x\") }", "s=\"bb\" u=\"x\"", ""},
    {"{ a.b = 7 } t { x = (a.b) }", "x=7", ""},
};

TEST_F(GrammarTest, StatementsFillTheBanks)
{
    for (const BankCase& c : bankCases) {
        EXPECT_EQ(run(c.script), 0) << c.script << Parse::getErrString();
        ASSERT_EQ(runs.size(), 1u) << c.script;
        EXPECT_EQ(runs[0].name, "t") << c.script;
        EXPECT_EQ(runs[0].in, c.in) << c.script;
        EXPECT_EQ(runs[0].ver, c.ver) << c.script;
    }
}

TEST_F(GrammarTest, DefinitionsGoToTheVariableBank)
{
    EXPECT_EQ(run("{ a = 1 b { c = 2 } l[] { 3 } }\n{ d = (a) }"), 0);
    EXPECT_EQ(dump(Parse::getDefStore()), "a=1 b.c=2 l[0]=3 d=1");
    EXPECT_TRUE(runs.empty());
}

TEST_F(GrammarTest, EachTestStartsWithEmptyBanks)
{
    EXPECT_EQ(run("t { a = 1 verify: b = 2 }\nu { c = 3 }\n{ }\nv { }"), 0);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].name + ":" + runs[1].in + ":" + runs[1].ver, "u:c=3:");
    EXPECT_EQ(runs[2].name + ":" + runs[2].in, "v:");
}

TEST_F(GrammarTest, CommentsAtTheHeadOfABodyReachTheOutputBank)
{
    EXPECT_EQ(run("t {\n// one\n  // two\na = 1 // late\n}\nu { // same line\n}"), 0);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].out, "//000002=\"// one\n\" //000003=\"// two\n\"");
    EXPECT_EQ(runs[1].out, "//000006=\"// same line\n\"");
}

TEST_F(GrammarTest, ResultFileNameIsRecorded)
{
    EXPECT_EQ(run("resultfile (\"other\" \".txt\")"), 0);
    EXPECT_STREQ(Parse::getLastOutFile(), "other.txt");
}

TEST_F(GrammarTest, ManyTestsInOneScript)
{
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "t { a = " + std::to_string(i) + " }\n";
    EXPECT_EQ(run(text), 0);
    ASSERT_EQ(runs.size(), 2000u);
    EXPECT_EQ(runs[1999].in, "a=1999");
}

std::string statements(int n)
{
    std::string text = "t {\n";
    for (int i = 0; i < n; ++i)
        text += "a" + std::to_string(i) + " = 1\n";
    return text + "}\n";
}

std::string elements(int n)
{
    std::string text = "t { l[] {";
    for (int i = 0; i < n; ++i)
        text += " 1";
    return text + " } }\n";
}

// A name of n parts, "a.a.a...": its parts still fill the parser stack.
std::string dotted(int n)
{
    std::string name = "a";
    for (int i = 1; i < n; ++i)
        name += ".a";
    return name;
}

TEST_F(GrammarTest, ParserStackLimits)
{
    struct {
        std::string script;
        int status;
    } cases[] = {
        // Lists of any length: the stack holds nesting only.
        {statements(490), 0},
        {statements(20000), 0},
        {elements(486), 0},
        {elements(20000), 0},
        {"u { } { } u { }\n" + statements(490), 0},
        {"t { " + dotted(300) + " = 1 }\n", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.script), c.status);
        if (c.status > 0) {
            EXPECT_EQ(std::string(Parse::getErrString()).substr(0, 21), "parser stack overflow");
        }
    }
}

struct ErrorCase {
    const char* script;
    const char* text;
    int line;
    int offset;  // within the script after the prefix
};

const ErrorCase errorCases[] = {
    {"t { x > 5 }", "illegal operation (> ) in line 1\n", 1, 6},
    {"t { x <= 5 }", "illegal operation (<=) in line 1\n", 1, 6},
    {"t { a = (nope) }", "undefined (nope) in line 1\n", 1, 13},
    {"t { l[] { (nope) } }", "undefined (nope) in line 1\n", 1, 15},
    {"{ n = 1 }\nt { s = (\"a\" (n)) }", "undefined (n) in line 2\n", 2, 25},
    {"t { a = 1\n\n", "parse error in line 3\n", 3, 11},
    {"t { a = 1 * }", "parse error in line 1 ( *... )\n", 1, 10},
    {"t { a = 1 } }", "parse error in line 1 ( }... )\n", 1, 12},
    {"\nverify: x = 1", "parse error in line 2 ( verify:... )\n", 2, 1},
    {"t { a = 1 verify: b = 2 verify: }", "parse error in line 1 ( verify:... )\n", 1, 24},
    {"t { a = \xff }", "parse error in line 1 ( \xff... )\n", 1, 8},
    // The reference is looked up before its ")" is checked.
    {"t { a = (b }", "undefined (b) in line 1\n", 1, 11},
    {"t { a }", "parse error in line 1 ( }... )\n", 1, 6},
    // A tolerance needs a number checked with "==" after verify.
    {"{ a = 1.5\n +- 2 }", "illegal operation (+-) in line 2\n", 2, 14},
    {"t { verify: a != 1 +- 2 }", "illegal operation (+-) in line 1\n", 1, 22},
    {"t { verify: a == \"s\" +- 2 }", "illegal operation (+-) in line 1\n", 1, 24},
    {"{ p { x = 1 } } t { verify: a == (p) +- 2 }", "illegal operation (+-) in line 1\n", 1, 40},
    {"t { verify: p { x = 1 } +- 2 }", "illegal operation (+-) in line 1\n", 1, 27},
    {"t { verify: a == 1 +- 1 +- 1 }", "parse error in line 1 ( +-... )\n", 1, 24},
    {"t { verify: a == 1 + 1 }", "parse error in line 1 ( +... )\n", 1, 19},
};

TEST_F(GrammarTest, ErrorsCarryTextLineAndOffset)
{
    for (const ErrorCase& c : errorCases) {
        EXPECT_EQ(run(c.script), c.line) << c.script;
        EXPECT_STREQ(Parse::getErrString(), c.text) << c.script;
        EXPECT_EQ(Parse::getErrLine(), c.line) << c.script;
        EXPECT_EQ(Parse::getErrPos(), shift + c.offset) << c.script;
    }
}

TEST_F(GrammarTest, ErrorTextIsAppendedToTheResultFile)
{
    EXPECT_EQ(run("t { a = 1 * }"), 1);
    EXPECT_EQ(interptest::readFile("r.txt"), "parse error in line 1 ( *... )\n\n");
}

// With a selector that is not exactly the test's name, undefined references
// are skipped; a skipped first string part leaves the last value token read.
TEST_F(GrammarTest, UndefinedReferencesAreSkippedForOtherSelections)
{
    EXPECT_EQ(run("t { s = (\"a\" (nope) \"c\") f = ((nope) \"x\") a = (nope) l[] { 1 (nope) 2 } }",
                  ("t" + std::to_string(shift)).c_str()),
              0);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].in, "s=\"ac\" f=\"fx\" l[0]=1 l[2]=2");
    EXPECT_EQ(run("t { a = (nope) }", "t"), 1);
    EXPECT_STREQ(Parse::getErrString(), "undefined (nope) in line 1\n");
}

// A tolerance on a skipped reference is skipped with it.
TEST_F(GrammarTest, ToleranceOnASkippedReferenceIsSkipped)
{
    EXPECT_EQ(run("t { verify: a == (nope) +- 1 b = 2 +- 1 }", ("t" + std::to_string(shift)).c_str()), 0);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].ver, "==b=2 +-b=1");
}

// Pairs of an array and a braced element, each pair two levels deeper,
// around an innermost array.
std::string nestedArrays(int pairs)
{
    std::string text = "t {";
    for (int i = 0; i < pairs; ++i)
        text += " a[] { {";
    text += " z[] { 1 }";
    for (int i = 0; i < pairs; ++i)
        text += " } }";
    return text + " }";
}

struct LimitCase {
    std::string script;
    const char* text;
};

TEST_F(GrammarTest, LimitsEndTheParseWithAnError)
{
    std::string name498(498, 'n');
    std::string deep = "t {";
    for (int i = 0; i < 19; ++i)
        deep += " b {";
    const LimitCase cases[] = {
        {"t { " + std::string(500, 'n') + " = 1 }", "value too long in line 1\n"},
        {"t { s = \"" + std::string(500, 's') + "\" }", "value too long in line 1\n"},
        {"t { s = (\"" + std::string(300, 's') + "\" \"" + std::string(200, 's') + "\") }",
         "value too long in line 1\n"},
        {"t { " + name498 + ".x = 1 }", "name too long in line 1\n"},
        {"t { verify: " + name498 + " = 1 }", "name too long in line 1\n"},
        {"t { " + name498 + " { x = 1 } }", "name too long in line 1\n"},
        {"t { " + name498 + "[] { 1 } }", "name too long in line 1\n"},
        {deep, "nesting too deep in line 1\n"},
        {nestedArrays(9), "nesting too deep in line 1\n"},
    };
    for (const LimitCase& c : cases) {
        EXPECT_EQ(run(c.script), 1) << c.script;
        EXPECT_STREQ(Parse::getErrString(), c.text) << c.script;
    }
}

TEST_F(GrammarTest, DeepestNestingIsAccepted)
{
    std::string text = "t {";
    for (int i = 0; i < 18; ++i)
        text += " b {";
    text += " x = 1";
    for (int i = 0; i < 19; ++i)
        text += " }";
    EXPECT_EQ(run(text), 0);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].in.size(), 18 * 2 + 3u) << runs[0].in;
    EXPECT_EQ(run(nestedArrays(8)), 0);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].in.substr(0, 16), "a[0].a[0].a[0].a");
}

TEST_F(GrammarTest, ErrorTextNeverExceedsItsField)
{
    EXPECT_EQ(run("t { a = (" + std::string(499, 'u') + ") }"), 1);
    std::string text = Parse::getErrString();
    EXPECT_EQ(text.size(), 511u);
    EXPECT_EQ(text.substr(0, 11), "undefined (");
    EXPECT_EQ(text.back(), '\n');
}

}  // namespace
