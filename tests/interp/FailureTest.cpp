// Failed verifications: the flag that turns clean runs into -4 is never
// cleared, a result file that cannot be written counts as a failure, and
// every failed check is kept with the line of its test's name.
#include "InterpTestUtil.h"

#include "FailedChecks.h"

namespace {

int emptyStart() { return 1; }

class FailureTest : public interptest::InScratchDir {};

TEST_F(FailureTest, MissingResultFileFailsEveryTest)
{
    EXPECT_EQ(Parse::parseLoop(script("t { a = 1 }").c_str(), "", emptyStart), -3);
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\n{ }").c_str(), "", emptyStart), -4);
}

TEST_F(FailureTest, FailedVerificationStaysForTheProcess)
{
    const char* failing = "resultfile \"r.txt\"\nt { verify: x = 1 }";
    EXPECT_EQ(Parse::parseLoop(script(failing).c_str(), "", emptyStart), -4);
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\n{ }").c_str(), "", emptyStart), -4);
    // An error line still wins over the flag.
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\n*").c_str(), "", emptyStart), 2);
}

TEST_F(FailureTest, StatusZeroRunMarksTheReport)
{
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\nt { }").c_str(), "", [] { return 0; }), -4);
    EXPECT_EQ(interptest::readFile("r.txt"), "t\n{\n  verified:\n  logged:\n} [ERROR]\n\n\n");
}

int echoStart()
{
    Parse::getOutStore() = Parse::getInStore();
    return 1;
}

// Each run keeps its own failed checks, under the line of the test's name.
TEST_F(FailureTest, FailedChecksCarryTheLineOfTheirTest)
{
    const char* text = "resultfile \"r.txt\"\n{ d = 1 }\n\nt { a = 1 verify: a == 2 }\n// c\nu.v\n{\n"
                       "  verify: a == 1 b == 0 +- 1\n}\nt { verify: }\n";
    EXPECT_EQ(Parse::parseLoop(script(text).c_str(), "", echoStart), -4);
    ASSERT_EQ(FailedChecks::kept(), 3);
    EXPECT_EQ(FailedChecks::lineOf(0), 4);
    EXPECT_STREQ(FailedChecks::textOf(0), "t: a == 2; [int a = 1] ERROR");
    EXPECT_EQ(FailedChecks::lineOf(2), 6);
    EXPECT_STREQ(FailedChecks::textOf(2), "u.v: b == 0 +- 1; [undefined] ERROR");
    EXPECT_EQ(Parse::parseLoop(script("resultfile \"r.txt\"\n{ }").c_str(), "", echoStart), -4);
    EXPECT_EQ(FailedChecks::count(), 0);
}

}  // namespace
