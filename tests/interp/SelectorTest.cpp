// Test selection: a named test by name and offset, a definition block by
// the offset of its brace; the parse ends once the selection has run.
#include "InterpTestUtil.h"

#include <vector>

namespace {

using interptest::readFile;

std::vector<std::string> ran;
int startResult = -1;

int recordStart()
{
    std::string name = Parse::getInStore().getName();
    ran.push_back(name + ":" + interptest::dump(Parse::getInStore()));
    return startResult;
}

// Offsets: the block's brace is at 19, the first t at 29, the second at 41,
// u at 53.
const char* const twoTests = "resultfile \"r.txt\"\n"
                             "{ a = 1 }\n"
                             "t { x = 1 }\n"
                             "t { x = 2 }\n"
                             "u { y = (a) }\n";

class SelectorTest : public interptest::InScratchDir {
protected:
    int run(const char* text, const char* selector, int result = -1)
    {
        ran.clear();
        startResult = result;
        return Parse::parseLoop(script(text).c_str(), selector, recordStart);
    }
};

TEST_F(SelectorTest, NamedTestByOffset)
{
    struct {
        const char* selector;
        const char* ran;
    } cases[] = {
        {"t41", "t:x=2"},
        {"t0041", "t:x=2"},
        {"t29", "t:x=1"},
        {"t42", ""},
        {"t", ""},
        {"t41x", "t:x=2"},
        {"u53", "u:y=1"},
        {"", "t:x=1 t:x=2 u:y=1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(twoTests, c.selector), 0) << c.selector;
        std::string joined;
        for (const std::string& r : ran)
            joined += (joined.empty() ? "" : " ") + r;
        EXPECT_EQ(joined, c.ran) << c.selector;
    }
}

TEST_F(SelectorTest, SelectedTestEndsTheParse)
{
    const char* text = "resultfile \"r.txt\"\nt { x = 1 }\n*";
    EXPECT_EQ(run(text, "t19"), 0);
    EXPECT_EQ(ran.size(), 1u);
    EXPECT_EQ(run(text, ""), 3);
}

// A start function result below -1 keeps a selected run going.
TEST_F(SelectorTest, ResultBelowMinusOneKeepsGoing)
{
    const char* text = "resultfile \"r.txt\"\nt { x = 1 }\nt { x = 2 }\n*";
    EXPECT_EQ(run(text, "t19", -2), 4);
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(SelectorTest, DefinitionBlockIsReportedAndEndsTheParse)
{
    EXPECT_EQ(run(twoTests, "{x19"), 0);
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(readFile("r.txt"), "VarBank\n{\n  verified:\n  logged:\n    a = 1\n}\n\n\n");
    EXPECT_EQ(run(twoTests, "{x20"), 0);
    EXPECT_TRUE(ran.empty());
}

TEST_F(SelectorTest, SelectedRunsKeepEarlierDefinitions)
{
    EXPECT_EQ(run(twoTests, ""), 0);
    EXPECT_EQ(run("resultfile \"r.txt\"\nu { y = (a) }\n", "u19"), 0);
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0], "u:y=1");
}

TEST_F(SelectorTest, ExternTestsNeverRunUnderAStartFunction)
{
    EXPECT_EQ(run("resultfile \"r.txt\"\nextern t { x = 1 }\n", ""), 0);
    EXPECT_EQ(run("resultfile \"r.txt\"\nextern t { x = 1 }\n", "t26"), 0);
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(readFile("r.txt"), "\n\n");
}

}  // namespace
