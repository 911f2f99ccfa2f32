// zem2junit's escaping and its reading of scripts, byte by byte; the whole
// program is checked over real result files by check_junit.sh.
#include <gtest/gtest.h>

#include "JUnitXml.h"
#include "ResultScan.h"

namespace {

struct EscapeCase {
    const char* input;
    bool attribute;
    const char* expected;
};

const EscapeCase kEscapes[] = {
    {"a<b>&c", false, "a&lt;b&gt;&amp;c"},
    {"]]>", false, "]]&gt;"},
    {"say \"hi\"", false, "say \"hi\""},
    {"say \"hi\"", true, "say &quot;hi&quot;"},
    {"l1\nl2\tx", false, "l1\nl2\tx"},
    {"l1\nl2\tx", true, "l1&#10;l2&#9;x"},
    {"cr\r", false, "cr&#13;"},
    {"\x01\x1f", false, "\\x01\\x1F"},
    {"\x7f", false, "\x7f"},
    {"\xc3\xa9", false, "\xc3\xa9"},                  // é
    {"\xe2\x82\xac", false, "\xe2\x82\xac"},          // €
    {"\xf0\x9f\x98\x80", false, "\xf0\x9f\x98\x80"},  // a character beyond 16 bits
    {"\xff", false, "\\xFF"},
    {"\xc3", false, "\\xC3"},                             // cut short at the end
    {"\xc3(", false, "\\xC3("},                           // not followed by a continuation byte
    {"\xc0\xaf", false, "\\xC0\\xAF"},                    // overlong
    {"\xed\xa0\x80", false, "\\xED\\xA0\\x80"},           // a surrogate
    {"\xef\xbf\xbe", false, "\\xEF\\xBF\\xBE"},           // U+FFFE
    {"\xf4\x90\x80\x80", false, "\\xF4\\x90\\x80\\x80"},  // beyond U+10FFFF
};

TEST(JUnitXml, EscapesEveryByteXmlCannotCarry)
{
    for (const EscapeCase& c : kEscapes)
        EXPECT_EQ(zemjunit::xmlEscape(c.input, c.attribute), c.expected) << c.input;
}

TEST(JUnitXml, NulBytesAreShownNotDropped)
{
    EXPECT_EQ(zemjunit::xmlEscape(std::string("a\0b", 3), false), "a\\x00b");
}

struct ScriptCase {
    const char* script;
    std::vector<std::string> tests;
    std::vector<int> lines;
};

const ScriptCase kScripts[] = {
    {"resultfile \"r.txt\" t1 { a = 1 } t2 {}", {"t1", "t2"}, {1, 1}},
    {"{ d = 1 } t { s { x = 1 } list[] { 1 {2} } }", {"t"}, {1}},
    {"extern e { a = 1 } t { }", {"t"}, {1}},
    {"// x { }\n/* y { } */ t { s = \"z { }\" }", {"t"}, {2}},
    {"deletefile \"r.txt\" resultfile \"r.txt\"\nt\n{\n}\n", {"t"}, {2}},
    {"a:b[1] { } 0xname { }", {"a:b[1]", "0xname"}, {1, 1}},
    {"/* a\nb */\n\nt1 {\n}\n// c\nt2\n\n{ }", {"t1", "t2"}, {4, 7}},
};

TEST(JUnitXml, ScriptTestNamesInScriptOrder)
{
    for (const ScriptCase& c : kScripts) {
        std::vector<std::string> names;
        std::vector<int> lines;
        for (const zemjunit::ScriptTest& t : zemjunit::scriptTests(c.script)) {
            names.push_back(t.name);
            lines.push_back(t.line);
        }
        EXPECT_EQ(names, c.tests) << c.script;
        EXPECT_EQ(lines, c.lines) << c.script;
    }
}

// A test that never ran is named by the comment its block would have had.
const std::pair<const char*, const char*> kComments[] = {
    {"t {\n  //\n  /* a */ verify: // late\n y == 1 }", "late"},
    {"t { x = 1 // after a name\n }", ""},
};

TEST(JUnitXml, ScriptTestHeadComments)
{
    for (const auto& c : kComments)
        EXPECT_EQ(zemjunit::scriptTests(c.first).at(0).comment, c.second) << c.first;
}

// Names the real tester's files give are checked by check_junit.sh; these
// are the files it does not write in one run.
const char kPlainT[] = "t\n{\n  verified:\n  logged:\n}\n\n";
const char kCommentedT[] = "t\n{\n  // what t does\n  verified:\n  logged:\n}\n\n";

struct NameCase {
    std::string file;
    std::vector<zemjunit::ScriptTest> script;
    std::vector<std::string> names;
};

const char kBrokenT[] = "t\n{\n    TEST = \"BROKEN (abort)\"\n}\n";
const char kEnd[] = "\n";

const NameCase kNames[] = {
    {std::string(kPlainT) + kEnd, {{"u", 3}}, {"t"}},  // the script changed since the run
    {std::string(kPlainT) + kPlainT + kEnd, {}, {"t", "t #2"}},
    {std::string(kCommentedT) + kCommentedT + kEnd, {}, {"what t does", "what t does #2"}},
    {std::string(kPlainT) + kEnd + kPlainT + kEnd, {{"t", 2}}, {"t (line 2)", "t (line 2) #2"}},  // two runs
    // Where a run stops, and what is left that it never ran.
    {kEnd, {}, {}},
    {"", {}, {"end of the run"}},
    {kPlainT, {{"t", 2}}, {"t (line 2)", "end of the run"}},
    {kPlainT, {{"t", 2}, {"t", 3, "what t does"}, {"t", 4}}, {"t (line 2)", "what t does", "t (line 4)"}},
    {kBrokenT, {{"t", 2}}, {"t (line 2)"}},
    {kBrokenT, {}, {"t", "end of the run"}},
    {std::string(kBrokenT) + kPlainT + kPlainT,
     {{"t", 2}, {"t", 3}, {"t", 4}},
     {"t (line 2)", "t (line 2) #2", "t (line 3)", "t (line 4)"}},
    {std::string(kPlainT) + "oops in line 3\n", {{"t", 2}, {"t", 3}}, {"t (line 2)", "script error"}},
};

TEST(JUnitXml, TestCasesHaveNamesADashboardTellsApart)
{
    for (const NameCase& c : kNames) {
        std::vector<std::string> names;
        for (const zemjunit::TestCase& tc : zemjunit::scanResult(c.file, c.script).cases)
            names.push_back(tc.name);
        EXPECT_EQ(names, c.names) << c.file;
    }
}

// Only the tester's own record of a missing function makes one unknown.
struct VerdictCase {
    const char* logged;
    const char* end;
    zemjunit::Verdict verdict;
};

const VerdictCase kVerdicts[] = {
    {"t = \"unknown testfunction\"", "} [ERROR]", zemjunit::Verdict::UnknownFunction},
    {"t = \"unknown testfunction\"", "}", zemjunit::Verdict::Passed},
    {"u = \"unknown testfunction\"", "} [ERROR]", zemjunit::Verdict::Failed},
};

TEST(JUnitXml, UnknownTestFunctions)
{
    for (const VerdictCase& c : kVerdicts) {
        std::string file =
            std::string("t\n{\n  verified:\n  logged:\n    ") + c.logged + "\n" + c.end + "\n\n\n";
        zemjunit::ScanResult scan = zemjunit::scanResult(file, {});
        ASSERT_EQ(scan.cases.size(), 1u) << file;
        EXPECT_EQ(scan.cases[0].verdict, c.verdict) << file;
    }
}

// Blocks that are cut off or misplaced never swallow the rest of the file.
TEST(JUnitXml, OddFilesKeepEveryLine)
{
    const std::string file = "junk\n{\nt\n{\n  verified:\n  logged:\n}\n\nhalf\n{\n  verified:\n";
    zemjunit::ScanResult scan = zemjunit::scanResult(file, {});
    ASSERT_EQ(scan.cases.size(), 2u);  // the run that was cut short too
    EXPECT_EQ(scan.cases[0].name, "t");
    EXPECT_EQ(scan.cases[0].verdict, zemjunit::Verdict::Passed);
    EXPECT_EQ(scan.stray, "junk\n{\nhalf\n{\n  verified:\n");
}

}  // namespace
