// Failed verifications: the flag that turns clean runs into -4 is never
// cleared, and a result file that cannot be written counts as a failure.
#include "InterpTestUtil.h"

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

}  // namespace
