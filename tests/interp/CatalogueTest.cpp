// The catalogue: extern tests filed while no start function was ever set,
// loaded into the banks by name, parsed again only when the file changed,
// and reported by checkResults. This program never calls parseLoop.
#include "InterpTestUtil.h"

#include <ctime>
#include <utime.h>

namespace {

using interptest::dump;
using interptest::readFile;
using interptest::writeFile;

const char* const catalogue = "resultfile \"r.txt\"\n"
                              "{ base = 10 }\n"
                              "extern add { a = 1 b = (base) verify: sum == 11 }\n"
                              "extern other { s = \"x\" }\n";

void setModified(const char* file, std::time_t when)
{
    struct utimbuf times = {when, when};
    ASSERT_EQ(utime(file, &times), 0);
}

class CatalogueTest : public interptest::InScratchDir {};

TEST_F(CatalogueTest, RefusesNullArguments)
{
    EXPECT_EQ(Parse::loadTest(nullptr, "add"), -1);
    EXPECT_EQ(Parse::loadTest("cat", nullptr), -1);
}

TEST_F(CatalogueTest, LoadsAnExternTestIntoTheBanks)
{
    writeFile("cat.txt", catalogue);
    EXPECT_EQ(Parse::loadTest("cat", "add"), 0);
    EXPECT_STREQ(Parse::getInStore().getName(), "add");
    EXPECT_EQ(dump(Parse::getInStore()), "a=1 b=10");
    EXPECT_STREQ(Parse::getVerStore().getName(), "add");
    EXPECT_EQ(dump(Parse::getVerStore()), "==sum=11");
    EXPECT_STREQ(Parse::getLastOutFile(), "r.txt");
    EXPECT_STREQ(Parse::getSelector(), "add");
    EXPECT_EQ(Parse::loadTest("cat.txt", "other"), 0);
    EXPECT_EQ(dump(Parse::getInStore()), "s=\"x\"");
    EXPECT_EQ(dump(Parse::getVerStore()), "");
}

TEST_F(CatalogueTest, UnchangedCatalogueIsParsedOnce)
{
    writeFile("cat.txt", catalogue);
    setModified("cat.txt", std::time(nullptr) - 100);
    EXPECT_EQ(Parse::loadTest("cat", "add"), 0);
    writeFile("cat.txt", "resultfile \"r.txt\"\nextern add { a = 2 }\n");
    setModified("cat.txt", std::time(nullptr) - 100);
    EXPECT_EQ(Parse::loadTest("cat", "add"), 0);
    EXPECT_EQ(dump(Parse::getInStore()), "a=1 b=10");
    setModified("cat.txt", std::time(nullptr) + 100);
    EXPECT_EQ(Parse::loadTest("cat", "add"), 0);
    EXPECT_EQ(dump(Parse::getInStore()), "a=2");
}

TEST_F(CatalogueTest, ErrorsAndMissingFiles)
{
    writeFile("bad.txt", "resultfile \"r.txt\"\nextern add { a = 1 }\n*\n");
    EXPECT_EQ(Parse::loadTest("bad", "add"), 3);
    EXPECT_EQ(dump(Parse::getInStore()), "a=1");
    EXPECT_FALSE(readFile("r.txt").size());
    EXPECT_EQ(Parse::loadTest("missing", "add"), -1);
}

TEST_F(CatalogueTest, CheckResultsReportsOnceAgainstTheOutputs)
{
    writeFile("cat.txt", catalogue);
    ASSERT_EQ(Parse::loadTest("cat", "add"), 0);
    Parse::getOutStore()["sum"] = 11;
    EXPECT_EQ(Parse::checkResults(), 0);
    EXPECT_EQ(readFile("r.txt"), "add\n{\n  verified:\n    sum == 11\n  logged:\n}\n\n");
    EXPECT_EQ(dump(Parse::getOutStore()), "");
    EXPECT_STREQ(Parse::getSelector(), "");
    EXPECT_EQ(Parse::checkResults(), 0);
    ASSERT_EQ(Parse::loadTest("cat", "add"), 0);
    Parse::getOutStore()["sum"] = 12;
    EXPECT_EQ(Parse::checkResults(), 1);
}

}  // namespace
