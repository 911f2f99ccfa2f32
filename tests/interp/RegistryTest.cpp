// The test-function registry and the start function that dispatches to it.
#include "InterpTestUtil.h"

#include "ZemCall.h"

#include <memory>
#include <vector>

namespace {

int lastCalled = 0;
void first() { lastCalled = 1; }
void second() { lastCalled = 2; }

// This program registers no function globally, so the registry exists only
// while the objects below live.
TEST(RegistryTest, LastRegistrationWinsAndTheLastObjectTakesTheRegistry)
{
    EXPECT_EQ(ZemCall::getFunc(nullptr), nullptr);
    EXPECT_EQ(ZemCall::getFunc("f"), nullptr);
    {
        ZemCall a("f", first);
        EXPECT_NE(ZemCall::getFunc(nullptr), nullptr);
        EXPECT_EQ(ZemCall::getFunc("f"), &first);
        {
            ZemCall b("f", second);
            ZemCall c("g", first);
            EXPECT_EQ(ZemCall::getFunc("f"), &second);
            EXPECT_EQ(ZemCall::getFunc("g"), &first);
            EXPECT_EQ(ZemCall::getFunc("h"), nullptr);
            EXPECT_EQ(ZemCall::m_Count, 3);
        }
        EXPECT_NE(ZemCall::getFunc(nullptr), nullptr);
    }
    EXPECT_EQ(ZemCall::m_Count, 0);
    EXPECT_EQ(ZemCall::getFunc(nullptr), nullptr);
    EXPECT_EQ(ZemCall::getFunc("f"), nullptr);
}

TEST(RegistryTest, ManyFunctionsKeepTheirSlots)
{
    std::vector<std::unique_ptr<ZemCall>> calls;
    for (int i = 0; i < 100; ++i)
        calls.emplace_back(new ZemCall(("fn" + std::to_string(i)).c_str(), i % 2 ? first : second));
    EXPECT_EQ(ZemCall::getFunc("fn37"), &first);
    EXPECT_EQ(ZemCall::getFunc("fn64"), &second);
}

TEST(RegistryTest, StartRunsTheFunctionNamedByTheInputBank)
{
    ZemCall call("known", second);
    lastCalled = 0;
    Parse::getInStore().setName("known");
    Parse::clearVerStore();
    Parse::getVerStore()["==x"] = 1;
    EXPECT_EQ(testStartsHere(), 1);
    EXPECT_EQ(lastCalled, 2);
    EXPECT_EQ(interptest::dump(Parse::getVerStore()), "==x=1");
}

TEST(RegistryTest, UnknownFunctionIsRecordedInTheBanks)
{
    ZemCall call("known", first);
    Parse::getInStore().setName("nosuch");
    Parse::getVerStore()["==x"] = 1;
    Parse::getOutStore().clear();
    EXPECT_EQ(testStartsHere(), 0);
    EXPECT_EQ(interptest::dump(Parse::getVerStore()), "");
    EXPECT_STREQ(Parse::getVerStore().getName(), "nosuch");
    EXPECT_EQ(interptest::dump(Parse::getOutStore()), "nosuch=\"unknown testfunction\"");
}

TEST(RegistryTest, LoopBackReturnsEveryInput)
{
    ZemCall call("zemtst", zemtst);
    Parse::clearInStore();
    Parse::getInStore().setName("zemtst");
    Parse::getInStore()["x"] = 1;
    Parse::getInStore()["s"] = "t";
    Parse::getOutStore().clear();
    EXPECT_EQ(testStartsHere(), 1);
    EXPECT_EQ(interptest::dump(Parse::getOutStore()), "x=1 s=\"t\"");
}

}  // namespace
