// The driver's status codes and the result file it leaves: reports in
// script order, then the error text, then one newline. No verification in
// this program fails, so clean runs must return 0.
#include "InterpTestUtil.h"

#include "FileGate.h"

namespace {

using interptest::readFile;
using interptest::writeFile;

int echoRuns = 0;

// Every input comes back as an output, so "verify:" lines that repeat the
// inputs pass.
int echoStart()
{
    ++echoRuns;
    Parse::getOutStore() = Parse::getInStore();
    return 1;
}

int nestedStatus = 0;

int reenteringStart()
{
    nestedStatus = Parse::parseLoop("script.txt", "", echoStart);
    return echoStart();
}

class DriverTest : public interptest::InScratchDir {};

TEST_F(DriverTest, RefusesNullArguments)
{
    EXPECT_EQ(Parse::parseLoop(nullptr, "", echoStart), -1);
    writeFile("s.txt", "resultfile \"r.txt\"");
    EXPECT_EQ(Parse::parseLoop("s.txt", "", nullptr), -1);
    EXPECT_FALSE(readFile("r.txt").size());
}

TEST_F(DriverTest, UnreadableScriptKeepsTheLastError)
{
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\n*").c_str(), "", echoStart), 2);
    EXPECT_EQ(Parse::parseLoop("missing.txt", "", echoStart), -2);
    EXPECT_EQ(Parse::getErrLine(), 2);
    EXPECT_STREQ(Parse::getErrString(), "parse error in line 2 ( *... )\n");
}

TEST_F(DriverTest, ResultFileHoldsReportsThenErrorThenNewline)
{
    writeFile("r.txt", "before\n");
    const char* text = "resultfile \"r.txt\"\n"
                       "t { a = 1 verify: a == 1 }\n"
                       "u { b = 2 } * \n"
                       "v { c = 3 }\n";
    echoRuns = 0;
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", echoStart), 3);
    EXPECT_EQ(echoRuns, 2);
    EXPECT_EQ(readFile("r.txt"),
              "before\n"
              "t\n{\n  verified:\n    a == 1\n  logged:\n}\n\n"
              "u\n{\n  verified:\n  logged:\n    b = 2\n}\n\n"
              "parse error in line 3 ( *... )\n"
              "\n");
}

TEST_F(DriverTest, CleanRunAppendsOneNewline)
{
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\n{ a = 1 }").c_str(), "", echoStart), 0);
    EXPECT_EQ(Parse::parseLoop("script.txt", "", echoStart), 0);
    EXPECT_EQ(readFile("r.txt"), "\n\n");
    EXPECT_EQ(Parse::getErrLine(), 0);
    EXPECT_STREQ(Parse::getErrString(), "");
}

TEST_F(DriverTest, ReentryIsRefusedWithoutDisturbingTheParse)
{
    nestedStatus = 0;
    echoRuns = 0;
    const char* text = "resultfile \"r.txt\"\nt { a = 1 }\nu { b = 2 verify: b = 2 }\n";
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", reenteringStart), 0);
    EXPECT_EQ(nestedStatus, -1);
    EXPECT_EQ(echoRuns, 2);
    EXPECT_NE(readFile("r.txt").find("u\n{\n  verified:\n    b == 2\n"), std::string::npos);
}

TEST_F(DriverTest, DeleteFileStartsAFreshResultFile)
{
    writeFile("r.txt", "old\n");
    const char* text = "deletefile \"r.txt\"\nresultfile \"r.txt\"\nt { }\n";
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", echoStart), 0);
    EXPECT_EQ(readFile("r.txt"), "t\n{\n  verified:\n  logged:\n}\n\n\n");
}

TEST_F(DriverTest, DeleteFileBetweenTestsStartsAFreshFile)
{
    const char* text = "resultfile \"r.txt\"\nt { }\ndeletefile \"r.txt\"\nu { }\n";
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", echoStart), 0);
    EXPECT_EQ(readFile("r.txt"), "u\n{\n  verified:\n  logged:\n}\n\n\n");
}

std::string seenByTest;

int peekingStart()
{
    seenByTest = readFile("r.txt");
    return echoStart();
}

// Code under test may end the process; what was reported before it ran is
// already in the file.
TEST_F(DriverTest, EarlierReportsAreInTheFileWhenATestRuns)
{
    const char* text = "resultfile \"r.txt\"\nt { }\nu { }\n";
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", peekingStart), 0);
    EXPECT_EQ(seenByTest, "t\n{\n  verified:\n  logged:\n}\n\n");
}

TEST_F(DriverTest, VerifyOutsideAParseCompletesTheFile)
{
    Parse::setLastOutFile("direct.txt");
    VarBank actual;
    actual["k"] = 1;
    Parse::getVerStore().setName("direct");
    Parse::getVerStore()["==k"] = 1;
    EXPECT_EQ(Parse::verifyTest(1, actual), 0);
    EXPECT_EQ(readFile("direct.txt"), "direct\n{\n  verified:\n    k == 1\n  logged:\n}\n\n");
    Parse::clearVerStore();
}

TEST_F(DriverTest, LongSelectorsAndNamesAreCut)
{
    std::string longText(3000, 'q');
    EXPECT_EQ(Parse::parseLoop(script("{ }").c_str(), longText.c_str(), echoStart), -3);
    EXPECT_EQ(std::string(Parse::getSelector()), longText.substr(0, 511));
    Parse::setLastOutFile(longText.c_str());
    EXPECT_EQ(std::string(Parse::getLastOutFile()).size(), 511u);
    Parse::setErrString(nullptr);
    EXPECT_STREQ(Parse::getErrString(), "");
}

}  // namespace

namespace {
// Banks recycle their records within a parse (tests of one shape, nested
// groups) but keep none of them once it is over: emptying every bank the
// driver shows gives back every record.
TEST_F(DriverTest, NoRecordOutlivesTheBanksAfterAParse)
{
    writeFile("s.txt",
              "resultfile \"r.txt\"\n{ d = 1 g { a { x = 1 } b = 2 } }\n"
              "echo { a = 1 b { c = 2 } verify: a == 1 }\necho { a = 2 b { c = 3 } verify: a == 2 }\n"
              "echo { z = 1 }\n");
    ASSERT_EQ(Parse::parseLoop("s.txt", "", echoStart), 0);
    Parse::clearInStore();
    Parse::clearVerStore();
    Parse::getOutStore().clear();
    Parse::getDefStore().clear();
    Parse::getTestStore().clear();
    EXPECT_EQ(StoreEl::ctr, 0);
}
}  // namespace
