// Call traces: which handles open nodes under the depth and root settings,
// the written layout of a tree, and the broken-test record.
#include <zem/zem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ScratchDir.h"

namespace {

class TraceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch_.path().empty());
        Parse::setLastOutFile(path_.c_str());
        ParseOut::setTraceRoot("");
    }
    std::string result() const { return zemtest::readFile(path_); }

    // ctest runs each test in a process of its own, several at a time.
    zemtest::ScratchDir scratch_{"zem_trace"};
    std::string path_ = scratch_.file("result.txt");
};

void leaf(const char* name, int value)
{
    ParseOut t(name);
    if (t.m_Node)
        (*t.m_Node)["v"] = value;
}

void twoLevels()
{
    ParseOut t("top");
    if (t.m_Node)
        (*t.m_Node)["v"] = 1;
    leaf("inner", 2);
}

TEST_F(TraceTest, DepthClampsToItsRange)
{
    const struct {
        int given, kept;
    } cases[] = {{250, 100}, {100, 100}, {99, 99}, {1, 1}, {0, 0}, {-3, 0}};
    for (const auto& c : cases) {
        ParseOut::setTraceDepth(c.given);
        EXPECT_EQ(ParseOut::getTraceDepth(), c.kept) << c.given;
    }
}

TEST_F(TraceTest, RootNameNullKeepsTheOldName)
{
    ParseOut::setTraceRoot("f");
    ParseOut::setTraceRoot(nullptr);
    EXPECT_STREQ(ParseOut::getTraceRoot(), "f");
    std::string longName(700, 'r');
    ParseOut::setTraceRoot(longName.c_str());
    EXPECT_EQ(std::string(ParseOut::getTraceRoot()), longName.substr(0, 511));
}

TEST_F(TraceTest, DepthDecidesWhatIsWritten)
{
    const struct {
        int depth;
        const char* expected;
    } cases[] = {
        {0, ""},
        {1, "top()\n{\n    v = 1\n}\n\n"},
        {2, "top()\n{\n    v = 1\n    inner()\n    {\n        v = 2\n    }\n}\n\n"},
        {100, "top()\n{\n    v = 1\n    inner()\n    {\n        v = 2\n    }\n}\n\n"},
    };
    for (const auto& c : cases) {
        std::remove(path_.c_str());
        ParseOut::setTraceDepth(c.depth);
        twoLevels();
        EXPECT_EQ(result(), c.expected) << "depth " << c.depth;
    }
}

void callsF()
{
    ParseOut t("g");
    EXPECT_EQ(t.m_Node, nullptr);
    leaf("f", 7);
}

TEST_F(TraceTest, RootNameStartsTheTraceAtThatFunction)
{
    ParseOut::setTraceDepth(100);
    ParseOut::setTraceRoot("f");
    callsF();
    leaf("h", 1);  // after f returned, other functions are inert again
    EXPECT_EQ(result(), "f()\n{\n    v = 7\n}\n\n");
}

TEST_F(TraceTest, NineLineTreeAndValueForms)
{
    ParseOut::setTraceDepth(100);
    {
        ParseOut f("f");
        (*f.m_Node)["a"] = 1;
        {
            ParseOut g("g");
            (*g.m_Node)["b"] = 2;
        }
        (*f.m_Node)["c"] = 3;
    }
    EXPECT_EQ(result(), "f()\n{\n    a = 1\n    g()\n    {\n        b = 2\n    }\n    c = 3\n}\n\n");
    std::remove(path_.c_str());
    {
        ParseOut f("f");
        (*f.m_Node)["0xmask"] = 255;
        (*f.m_Node)["mask"] = 255;
        (*f.m_Node)["0xneg"] = -1;
        (*f.m_Node)["x"] = 1.5;
        (*f.m_Node)["s"] = "abc";
    }
    EXPECT_EQ(result(),
              "f()\n{\n    0xmask = 0xff\n    mask = 255\n    0xneg = 0xffffffff\n"
              "    x = 1.500000\n    s = \"abc\"\n}\n\n");
}

TEST_F(TraceTest, SiblingsAreWrittenInCallOrder)
{
    ParseOut::setTraceDepth(3);
    {
        ParseOut f("f");
        leaf("a", 1);
        leaf("b", 2);
    }
    EXPECT_EQ(result(),
              "f()\n{\n    a()\n    {\n        v = 1\n    }\n"
              "    b()\n    {\n        v = 2\n    }\n}\n\n");
}

TEST_F(TraceTest, UnwritableResultFileStillFreesTheTree)
{
    Parse::setLastOutFile("");
    ParseOut::setTraceDepth(100);
    twoLevels();
    Parse::setLastOutFile(path_.c_str());
    twoLevels();  // a fresh trace starts: nothing was left open
    EXPECT_EQ(result(), "top()\n{\n    v = 1\n    inner()\n    {\n        v = 2\n    }\n}\n\n");
}

TEST_F(TraceTest, BrokenWithoutTraceWritesABlock)
{
    Parse::getVerStore().setName("t");
    const struct {
        const char* reason;
        const char* expected;
    } cases[] = {
        {"bus error", "t\n{\n    TEST = \"BROKEN (bus error)\"\n}\n"},
        {nullptr, "t\n{\n    TEST = \"BROKEN\"\n}\n"},
    };
    for (const auto& c : cases) {
        std::remove(path_.c_str());
        ParseOut::brkTraceExec(c.reason);
        EXPECT_EQ(result(), c.expected);
    }
}

TEST_F(TraceTest, BrokenInsideTraceMarksTheOpenNode)
{
    ParseOut::setTraceDepth(100);
    ParseOut* outer = new ParseOut("f");
    ParseOut* inner = new ParseOut("g");
    (*inner->m_Node)["b"] = 2;
    ParseOut::brkTraceExec("segm violation");
    const std::string written = result();
    EXPECT_EQ(written,
              "f()\n{\n    g()\n    {\n        b = 2\n"
              "        TRACE = \"BROKEN (segm violation)\"\n    }\n}\n\n");
    // Handles closed after the tree went with the mark stay silent.
    delete inner;
    delete outer;
    EXPECT_EQ(result(), written);
}

}
