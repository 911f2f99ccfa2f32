// AVL index: rotations, balance and thread invariants, floor and ceiling
// searches with equal keys, and the node pool's chunks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "AvlTree.h"

namespace {
struct Rec : LOCAL_DAT {
    std::string key;
    int seq;
    Rec(std::string k, int s = 0) : key(std::move(k)), seq(s) {}
};

class NameTree : public AVL_TREE {
public:
    int compare(const LOCAL_DAT* a, const LOCAL_DAT* b) const override
    {
        return std::strcmp(static_cast<const Rec*>(a)->key.c_str(), static_cast<const Rec*>(b)->key.c_str());
    }
};

struct Fixture {
    NameTree tree;
    std::vector<std::unique_ptr<Rec>> recs;
    Rec* push(const std::string& k, int seq = 0)
    {
        recs.emplace_back(new Rec(k, seq));
        tree.avl_push(recs.back().get());
        return recs.back().get();
    }
};

const Rec* rec(const LOCAL_DAT* d) { return static_cast<const Rec*>(d); }
std::string keyOf(const LOCAL_DAT* d) { return d ? rec(d)->key : "<null>"; }

// Checks the structure below n and returns its height.
int checkNode(const AvlNode* n, const AvlNode* parent)
{
    EXPECT_EQ(parent, n->parent);
    EXPECT_EQ(n, n->data->avlNode);
    int hl = (n->flags & AvlNode::LeftChild) ? checkNode(n->left, n) : 0;
    int hr = (n->flags & AvlNode::RightChild) ? checkNode(n->right, n) : 0;
    EXPECT_EQ(hr - hl, n->balance);
    EXPECT_LE(std::abs(hr - hl), 1);
    return 1 + std::max(hl, hr);
}

// The in-order sequence, following child links and threads.
std::vector<const Rec*> inOrder(const AVL_TREE& t)
{
    std::vector<const Rec*> out;
    const AvlNode* n = t.avl_root();
    if (!n)
        return out;
    while (n->flags & AvlNode::LeftChild)
        n = n->left;
    EXPECT_EQ(nullptr, n->left);
    const AvlNode* prev = nullptr;
    while (n) {
        if (!(n->flags & AvlNode::LeftChild)) {
            EXPECT_EQ(prev, n->left);
        }
        out.push_back(rec(n->data));
        prev = n;
        if (n->flags & AvlNode::RightChild) {
            n = n->right;
            while (n->flags & AvlNode::LeftChild)
                n = n->left;
        } else {
            n = n->right;
        }
    }
    return out;
}
}

TEST(AvlTree, EmptyTreeFindsNothing)
{
    NameTree t;
    Rec k("a");
    EXPECT_EQ(nullptr, t.avl_search(k));
    EXPECT_EQ(nullptr, t.avl_loweq(k));
    EXPECT_EQ(nullptr, t.avl_uppeq(k));
    EXPECT_EQ(nullptr, t.avl_root());
}

TEST(AvlTree, RotationsLeaveMiddleAtRoot)
{
    const char* orders[][3] = {{"1", "2", "3"}, {"3", "1", "2"}, {"3", "2", "1"}, {"1", "3", "2"}};
    for (auto& o : orders) {
        Fixture f;
        for (const char* k : o)
            f.push(k);
        const AvlNode* r = f.tree.avl_root();
        ASSERT_NE(nullptr, r);
        EXPECT_EQ("2", keyOf(r->data)) << o[0] << o[1] << o[2];
        EXPECT_EQ(0, r->balance);
        EXPECT_EQ(AvlNode::LeftChild | AvlNode::RightChild, r->flags);
        EXPECT_EQ(2, checkNode(r, nullptr));
        auto seq = inOrder(f.tree);
        ASSERT_EQ(3u, seq.size());
        EXPECT_EQ("1", seq[0]->key);
        EXPECT_EQ("3", seq[2]->key);
    }
}

TEST(AvlTree, RandomInsertsKeepInvariants)
{
    std::mt19937 rng(17);
    for (int round = 0; round < 20; ++round) {
        Fixture f;
        std::vector<std::string> keys;
        for (int i = 0; i < 300; ++i) {
            std::string k = std::to_string(rng() % 120);  // many duplicates
            keys.push_back(k);
            f.push(k, i);
        }
        checkNode(f.tree.avl_root(), nullptr);
        auto seq = inOrder(f.tree);
        ASSERT_EQ(keys.size(), seq.size());
        for (size_t i = 1; i < seq.size(); ++i) {
            ASSERT_LE(seq[i - 1]->key, seq[i]->key);
            if (seq[i - 1]->key == seq[i]->key) {
                EXPECT_LT(seq[i - 1]->seq, seq[i]->seq);
            }
        }
    }
}

TEST(AvlTree, FloorAndCeiling)
{
    Fixture f;
    for (const char* k : {"c", "a", "e"})
        f.push(k);
    struct {
        const char* key;
        const char* floor;
        const char* ceil;
        const char* exact;
    } cases[] = {{"d", "c", "e", "<null>"},
                 {"a", "a", "a", "a"},
                 {"f", "e", "<null>", "<null>"},
                 {"0", "<null>", "a", "<null>"},
                 {"e", "e", "e", "e"},
                 {"b", "a", "c", "<null>"}};
    for (auto& c : cases) {
        Rec k(c.key);
        EXPECT_EQ(c.floor, keyOf(f.tree.avl_loweq(k))) << c.key;
        EXPECT_EQ(c.ceil, keyOf(f.tree.avl_uppeq(k))) << c.key;
        EXPECT_EQ(c.exact, keyOf(f.tree.avl_search(k))) << c.key;
    }
}

TEST(AvlTree, EqualKeysFloorTakesLastCeilingFirst)
{
    Fixture f;
    f.push("b", 0);
    for (int i = 1; i <= 6; ++i)
        f.push("m", i);
    f.push("z", 7);
    Rec k("m");
    EXPECT_EQ(6, rec(f.tree.avl_loweq(k))->seq);
    EXPECT_EQ(1, rec(f.tree.avl_uppeq(k))->seq);
    EXPECT_EQ("m", keyOf(f.tree.avl_search(k)));
    auto seq = inOrder(f.tree);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(i, seq[i]->seq);
}

TEST(AvlTree, NodeChunksOfNinetyNine)
{
    Fixture f;
    EXPECT_EQ(0, f.tree.avl_chunkCount());
    for (int i = 0; i < 99; ++i)
        f.push(std::to_string(1000 + i));
    EXPECT_EQ(1, f.tree.avl_chunkCount());
    f.push("x");
    EXPECT_EQ(2, f.tree.avl_chunkCount());
    f.tree.avl_clear();
    EXPECT_EQ(0, f.tree.avl_chunkCount());
    EXPECT_EQ(nullptr, f.tree.avl_root());
    f.push("again");
    EXPECT_EQ(1, f.tree.avl_chunkCount());
    EXPECT_EQ("again", keyOf(f.tree.avl_root()->data));
}

TEST(AvlTree, EqualKeysFlagOnlyWhenAPushMeetsAnEqualRecord)
{
    struct {
        std::vector<std::string> keys;
        int equal;
    } cases[] = {{{"b", "a", "c"}, 0},
                 {{"m", "m"}, 1},
                 {{"d", "b", "f", "a", "c", "c"}, 1},
                 {{"d", "b", "f", "f"}, 1}};
    for (auto& c : cases) {
        Fixture f;
        for (const std::string& k : c.keys)
            f.push(k);
        EXPECT_EQ(c.equal, f.tree.avl_hasEqualKeys()) << c.keys.size() << " keys";
        f.tree.avl_clear();
        EXPECT_EQ(0, f.tree.avl_hasEqualKeys());
    }
}

// The bank's prefetch rides on the step; a descent that skips it loses it.
TEST(AvlTree, FindRunsTheStepOnEveryComparedNode)
{
    Fixture f;
    for (int i = 0; i < 50; ++i)
        f.push(std::to_string(100 + i));
    int compared = 0, stepped = 0;
    auto cmp = [&](const LOCAL_DAT* d) {
        ++compared;
        return rec(d)->key.compare("142");
    };
    EXPECT_EQ("142", keyOf(f.tree.avl_find(cmp, nullptr, [&](const AvlNode*) { ++stepped; })));
    EXPECT_GT(compared, 1);
    EXPECT_EQ(compared, stepped);
}
