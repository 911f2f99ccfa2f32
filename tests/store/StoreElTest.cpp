// Element records: inline and block storage limits, long values stored
// whole, and the record pool's reuse and release.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BuddySystem.h"
#include "StoreEl.h"
#include "StoreTestUtil.h"

namespace {
int blockCount()
{
    int n = 0;
    for (StoreEl* b = StoreEl::list; b; b = b->getNext())
        ++n;
    return n;
}
}

TEST(StoreEl, NameStorageByLength)
{
    struct {
        size_t len;
        bool inlineName;
    } cases[] = {{0, true}, {39, true}, {40, false}, {507, false}, {508, false}, {700, false}};
    for (auto& c : cases) {
        std::string n(c.len, 'n');
        StoreEl* e = new StoreEl(n.c_str(), 7);
        ASSERT_NE(nullptr, e);
        EXPECT_EQ(n, e->getName()) << c.len;
        bool inl = reinterpret_cast<char*>(e) < e->getName() && e->getName() < reinterpret_cast<char*>(e + 1);
        EXPECT_EQ(c.inlineName, inl) << c.len;
        EXPECT_EQ(7, *static_cast<int*>(e->getData()));
        delete e;
    }
}

TEST(StoreEl, StringStorageByLength)
{
    struct {
        size_t len;
        int cap;
    } cases[] = {{0, 40}, {38, 40}, {39, 40}, {100, 101}, {507, 508}, {508, 509}, {600, 601}};
    for (auto& c : cases) {
        std::string v(c.len, 'v');
        v[c.len ? c.len - 1 : 0] = c.len ? 'z' : '\0';
        StoreEl e("s", v.c_str());
        EXPECT_EQ(3, e.getType());
        EXPECT_EQ(c.cap, e.getLen()) << c.len;
        EXPECT_STREQ("s", e.getName());
        EXPECT_EQ(std::string(v.c_str()), static_cast<char*>(e.getData())) << c.len;
    }
}

TEST(StoreEl, FortyCharacterNameTakesSixtyFourByteBlock)
{
    std::string n(40, 'k');
    StoreEl e(n.c_str(), 1.5);
    EXPECT_EQ(6, static_cast<unsigned char>(e.getName()[-4]) & 0x7F);
    EXPECT_EQ(1.5, *static_cast<double*>(e.getData()));
}

TEST(StoreEl, NullStringIsEmpty)
{
    StoreEl e("x", static_cast<const char*>(nullptr));
    EXPECT_STREQ("", static_cast<char*>(e.getData()));
    EXPECT_EQ(40, e.getLen());
}

TEST(StoreEl, SetStringGrowsAndKeepsCapacity)
{
    StoreEl e("x", "ab");
    EXPECT_EQ(1, e.setString(std::string(100, 'q').c_str()));
    EXPECT_EQ(101, e.getLen());
    EXPECT_EQ(1, e.setString("short"));  // fits: the block is kept
    EXPECT_EQ(101, e.getLen());
    EXPECT_STREQ("short", static_cast<char*>(e.getData()));
    std::string big(600, 'b');
    EXPECT_EQ(1, e.setString(big.c_str()));
    EXPECT_EQ(601, e.getLen());
    EXPECT_EQ(big, static_cast<char*>(e.getData()));
    e.setInt(9);  // a number keeps the block
    EXPECT_EQ(1, e.getType());
    EXPECT_EQ(601, e.getLen());
    EXPECT_EQ(9, *static_cast<int*>(e.getData()));
}

TEST(StoreEl, SetDataIgnoresNullAndReplacesBlock)
{
    StoreEl e("x", std::string(50, 'a').c_str());
    void* old = e.getData();
    e.setData(nullptr, 10);
    EXPECT_EQ(old, e.getData());
    char* blk = StoreEl::allocBlock(80);
    e.setData(blk, 80);
    EXPECT_EQ(blk, e.getData());
    EXPECT_EQ(80, e.getLen());
}

// Copies and assignments go through one switch; a slip in one type (an int
// read as a double, a long string cut to its capacity) shows here.
TEST(StoreEl, CopyAndAssignKeepTypeAndValue)
{
    const std::string longText(600, 'w');
    StoreEl fromInt("i", -7), fromDouble("d", 2.25), fromText("t", longText.c_str());
    for (const StoreEl* src : {&fromInt, &fromDouble, &fromText}) {
        StoreEl* copy = StoreEl::copyOf("c", *src);
        StoreEl target("x", "ab");  // an inline string block to overwrite
        ASSERT_NE(nullptr, copy);
        EXPECT_EQ(1, target.assign(*src));
        for (const StoreEl* got : {static_cast<const StoreEl*>(copy), static_cast<const StoreEl*>(&target)}) {
            EXPECT_EQ(src->getType(), got->getType());
            switch (src->getType()) {
            case StoreEl::TypeInt: EXPECT_EQ(-7, got->getInt()); break;
            case StoreEl::TypeDouble: EXPECT_EQ(2.25, got->getDouble()); break;
            default: EXPECT_EQ(longText, got->getText()); break;
            }
        }
        EXPECT_STREQ("c", copy->getName());
        delete copy;
    }
}

TEST(StoreEl, UnknownTypeIsNeitherCopiedNorAssigned)
{
    StoreEl odd("o", 5), target("x", 9);
    odd.setType(7);
    EXPECT_EQ(nullptr, StoreEl::copyOf("c", odd));
    EXPECT_EQ(0, target.assign(odd));
    EXPECT_EQ(StoreEl::TypeInt, target.getType());
    EXPECT_EQ(9, target.getInt());
}

// The report shows "(0x..)" outputs in hexadecimal, the trace does not.
TEST(StoreEl, WriteLineByHexRule)
{
    struct {
        const char* name;
        int value;
        StoreEl::HexNames hex;
        int level;
        const char* expected;
    } cases[] = {
        {"n", 31, StoreEl::HexBare, 1, "    n = 31\n"},
        {"0xn", 31, StoreEl::HexBare, 2, "        0xn = 0x1f\n"},
        {"0xn", -1, StoreEl::HexBareOrParenthesised, 0, "0xn = 0xffffffff\n"},
        {"(0xn)", 31, StoreEl::HexBare, 1, "    (0xn) = 31\n"},
        {"(0xn)", 31, StoreEl::HexBareOrParenthesised, 1, "    (0xn) = 0x1f\n"},
    };
    for (const auto& c : cases) {
        TempFile f("line");
        FileGate out;
        ASSERT_EQ(1, out.openOut(f.path()));
        StoreEl(c.name, c.value).writeLine(out, c.level, c.hex);
        out.closeOut();
        EXPECT_EQ(c.expected, f.read()) << c.name;
    }
    TempFile f("others");
    FileGate out;
    ASSERT_EQ(1, out.openOut(f.path()));
    StoreEl("0xs", "a\"b").writeLine(out, 1, StoreEl::HexBareOrParenthesised);
    StoreEl odd("u", 1);
    odd.setType(0);
    odd.writeLine(out, 3, StoreEl::HexBare);
    out.closeOut();
    EXPECT_EQ("    0xs = \"a\"b\"\nunknown type: u\n", f.read());
}

TEST(StoreElPool, ReusesLastReleasedFirst)
{
    ASSERT_EQ(0, StoreEl::ctr);
    StoreEl* a = new StoreEl("a", 1);
    StoreEl* b = new StoreEl("b", 2);
    StoreEl* c = new StoreEl("c", 3);
    EXPECT_EQ(3, StoreEl::ctr);
    EXPECT_EQ(a + 1, b);
    delete a;
    delete c;
    EXPECT_EQ(c, new StoreEl("d", 4));
    EXPECT_EQ(a, new StoreEl("e", 5));
    EXPECT_EQ(c + 1, new StoreEl("f", 6));  // then the fresh position again
    EXPECT_EQ(4, StoreEl::ctr);
    // Release everything: the pool gives its blocks back.
    for (StoreEl* p : {a, b, c, c + 1})
        delete p;
    EXPECT_EQ(0, StoreEl::ctr);
    EXPECT_EQ(nullptr, StoreEl::list);
    EXPECT_EQ(nullptr, StoreEl::start);
    EXPECT_EQ(nullptr, StoreEl::end);
}

TEST(StoreElPool, NinetyNineRecordsPerBlock)
{
    ASSERT_EQ(0, StoreEl::ctr);
    std::vector<StoreEl*> recs;
    for (int i = 0; i < 99; ++i)
        recs.push_back(new StoreEl("r", i));
    EXPECT_EQ(1, blockCount());
    recs.push_back(new StoreEl("r", 99));
    EXPECT_EQ(2, blockCount());
    for (StoreEl* r : recs)
        delete r;
    EXPECT_EQ(0, blockCount());
    StoreEl* again = new StoreEl("again", 0);
    EXPECT_EQ(1, blockCount());
    EXPECT_EQ(StoreEl::list + 1, again);
    delete again;
}

TEST(StoreElPool, LongBlocksAreReturned)
{
    // Names and values of every size are released without disturbing
    // StringMem: afterwards a whole arena is free again.
    {
        std::vector<StoreEl*> recs;
        for (int len : {40, 100, 300, 507, 508, 1000})
            recs.push_back(new StoreEl(std::string(len, 'n').c_str(), std::string(len, 'v').c_str()));
        for (StoreEl* r : recs)
            delete r;
    }
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(nullptr, StringMem.getList(k)) << k;
}
