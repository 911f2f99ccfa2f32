// Buddy allocator: block orders, splits and merges, arena list moves and
// recognition of foreign pointers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "BuddySystem.h"

typedef BuddySystem<1, 10> Buddy;
typedef BuddyElement<1, 10> Arena;

namespace {
int listIndexOf(const Buddy& b, const Arena* a)
{
    for (int k = 0; k < 10; ++k)
        for (Arena* e = b.getList(k); e; e = e->getNext())
            if (e == a)
                return k;
    return -1;
}

int orderOfBlock(const char* p) { return static_cast<unsigned char>(p[-4]) & 0x7F; }

int freeOrdersMask(const Arena* a)
{
    int mask = 0;
    for (int k = 0; k < 10; ++k)
        if (a->getFreeHead(k))
            mask |= 1 << k;
    return mask;
}
}

TEST(BuddySystem, OrderForEachRequestSize)
{
    struct {
        int count;
        int order;
    } cases[] = {{1, 3},
                 {4, 3},
                 {5, 4},
                 {12, 4},
                 {13, 5},
                 {28, 5},
                 {29, 6},
                 {41, 6},
                 {60, 6},
                 {61, 7},
                 {124, 7},
                 {125, 8},
                 {252, 8},
                 {253, 9},
                 {508, 9},
                 {509, -1},
                 {0, -1},
                 {-3, -1}};
    for (auto& c : cases) {
        EXPECT_EQ(c.order, Buddy::orderFor(c.count)) << c.count;
        Buddy b;
        char* p = b.alloc(c.count);
        if (c.order < 0) {
            EXPECT_EQ(nullptr, p) << c.count;
        } else {
            ASSERT_NE(nullptr, p) << c.count;
            EXPECT_EQ(c.order, orderOfBlock(p)) << c.count;
            std::memset(p, 0xAB, c.count);  // the whole request is usable
            EXPECT_EQ(1, b.free(p));
        }
    }
}

TEST(BuddySystem, WholeArenaGoesToListZero)
{
    Buddy b;
    char* p = b.alloc(508);
    ASSERT_NE(nullptr, p);
    Arena* a = b.getList(0);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a->getBase() + 4, p);
    EXPECT_EQ(0, freeOrdersMask(a));
    // A second request needs a second arena.
    char* q = b.alloc(1);
    ASSERT_NE(nullptr, q);
    EXPECT_NE(a, b.getList(8));
    EXPECT_EQ(1, b.free(p));
    EXPECT_EQ(9, listIndexOf(b, a));
    EXPECT_EQ(1, b.free(q));
}

TEST(BuddySystem, SplitDownAndMergeBack)
{
    Buddy b;
    char* p1 = b.alloc(4);
    char* p2 = b.alloc(4);
    ASSERT_NE(nullptr, p1);
    ASSERT_NE(nullptr, p2);
    Arena* a = b.getList(8);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(nullptr, b.getList(9));
    EXPECT_EQ(a->getBase() + 0 + 4, p1);
    EXPECT_EQ(a->getBase() + 8 + 4, p2);
    // Orders 3..8 each keep one free block, nothing of order 9.
    EXPECT_EQ(0x1F0, freeOrdersMask(a));
    EXPECT_EQ(nullptr, a->getFreeHead(3));
    EXPECT_EQ(8, a->getMaxOrder());

    EXPECT_EQ(1, b.free(p1));
    EXPECT_EQ(8, listIndexOf(b, a));
    EXPECT_EQ(1, b.free(p2));
    EXPECT_EQ(9, listIndexOf(b, a));
    EXPECT_EQ(9, a->getMaxOrder());
    EXPECT_EQ(1 << 9, freeOrdersMask(a));
    EXPECT_EQ(a->getBase(), a->getFreeHead(9));
}

TEST(BuddySystem, FullArenaIsReusedAfterRelease)
{
    Buddy b;
    std::vector<char*> blocks;
    for (int i = 0; i < 64; ++i)
        blocks.push_back(b.alloc(4));
    Arena* a = b.getList(0);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(0, a->getMaxOrder());
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(a->getBase() + 8 * i + 4, blocks[i]);
    // Release in an interleaved order; every merge must still complete.
    for (int i = 0; i < 64; i += 2)
        EXPECT_EQ(1, b.free(blocks[i]));
    EXPECT_EQ(3, listIndexOf(b, a));
    for (int i = 63; i > 0; i -= 2)
        EXPECT_EQ(1, b.free(blocks[i]));
    EXPECT_EQ(9, listIndexOf(b, a));
    EXPECT_EQ(a->getBase(), a->getFreeHead(9));
    // The same arena serves the next request.
    char* p = b.alloc(100);
    EXPECT_EQ(a->getBase() + 4, p);
}

TEST(BuddySystem, MixedSizesMergeCompletely)
{
    Buddy b;
    int sizes[] = {3, 40, 7, 120, 20, 60, 1, 250};
    std::vector<char*> blocks;
    for (int s : sizes) {
        char* p = b.alloc(s);
        ASSERT_NE(nullptr, p);
        std::memset(p, 0x5A, s);
        blocks.push_back(p);
    }
    for (size_t i = 0; i < blocks.size(); ++i)
        for (size_t j = i + 1; j < blocks.size(); ++j)
            EXPECT_NE(blocks[i], blocks[j]);
    for (char* p : blocks)
        EXPECT_EQ(1, b.free(p));
    int arenas = 0;
    for (Arena* e = b.getList(9); e; e = e->getNext()) {
        EXPECT_EQ(e->getBase(), e->getFreeHead(9));
        ++arenas;
    }
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(nullptr, b.getList(k));
    EXPECT_GE(arenas, 1);
}

TEST(BuddySystem, ForeignAndDoubleFreesAreRefused)
{
    Buddy b;
    char* p = b.alloc(10);
    Arena* a = b.getList(8);
    alignas(8) char foreign[64] = {};
    char* fp = foreign + 8;
    asm("" : "+r"(fp));  // hide the buffer's bounds from the optimiser
    EXPECT_EQ(0, b.free(nullptr));
    EXPECT_EQ(0, b.free(fp));
    EXPECT_EQ(8, listIndexOf(b, a));
    EXPECT_EQ(1, b.free(p));
    EXPECT_EQ(0, b.free(p));  // already free: the in-use bit is gone
    EXPECT_EQ(9, listIndexOf(b, a));
}

TEST(BuddySystem, RemoveEmptiesAllLists)
{
    Buddy b;
    b.alloc(508);
    b.alloc(200);
    b.alloc(3);
    b.remove();
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(nullptr, b.getList(k));
    EXPECT_NE(nullptr, b.alloc(8));  // usable again
}
