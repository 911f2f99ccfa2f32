// Process exit: a bank destroyed after StringMem has been emptied must not
// hand its blocks back to deleted arenas.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "BuddySystem.h"
#include "StoreCv.h"
#include "VarBank.h"

namespace {
// Built before every object of default priority, so destroyed after them,
// StringMem's teardown included.
struct LateBank {
    VarBank* bank = nullptr;
    ~LateBank()
    {
        if (!bank)
            return;
        int open = stringMemOpen();
        delete bank;
        _exit(open == 0 ? 0 : 3);
    }
};
LateBank late __attribute__((init_priority(101)));
}

TEST(StringMemTeardown, LateBankIsReleasedAfterStringMemCloses)
{
    EXPECT_EXIT(
        {
            late.bank = new VarBank;
            VarBank& b = *late.bank;
            for (int i = 0; i < 50; ++i) {
                std::string n = std::string(60, 'n') + std::to_string(i);
                StoreCv(&b, n.c_str()) = std::string(100 + i, 'v').c_str();
            }
            b["huge"] = std::string(900, 'h').c_str();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0),
        "");
}

TEST(StringMemTeardown, OpenWhileRunning)
{
    EXPECT_EQ(1, stringMemOpen());
    char* p = StoreEl::allocBlock(100);
    ASSERT_NE(nullptr, p);
    StoreEl::releaseBlock(p, 100);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(nullptr, StringMem.getList(k));
}
