// AVL index: node pool, threaded insertion with rebalancing, and the
// exact, floor and ceiling searches.
#include "AvlTree.h"

#include <cstdio>
#include <cstdlib>

namespace {
// The index cannot go on without a node, nor with a balance it never
// makes; the reason goes to stderr, stdout stays the script's.
[[noreturn]] void giveUp(int status, const char* reason)
{
    std::fputs(reason, stderr);
    std::fputc('\n', stderr);
    std::exit(status);
}
}

AVL_TREE::AVL_TREE() : root(nullptr), spare(nullptr), end(nullptr), chunks(nullptr), equalKeys(0) {}

AVL_TREE::~AVL_TREE() { avl_clear(); }

void AVL_TREE::avl_clear()
{
    while (chunks) {
        AvlNode* next = reinterpret_cast<AvlNode*>(chunks->data);
        std::free(chunks);
        chunks = next;
    }
    root = spare = end = nullptr;
    equalKeys = 0;
}

int AVL_TREE::avl_chunkCount() const
{
    int n = 0;
    for (const AvlNode* c = chunks; c; c = reinterpret_cast<const AvlNode*>(c->data))
        ++n;
    return n;
}

// Takes a node from the pool; a refused chunk ends the process (status 1).
// Nodes are handed out in order and never come back before the whole pool
// is freed, so a chunk needs no zeroing: every field is set as it is taken.
// Banks are emptied for every test, and zeroing their first chunk again
// and again cost more than all their lookups.
AvlNode* AVL_TREE::newNode(LOCAL_DAT* d)
{
    if (spare == end) {
        AvlNode* chunk = static_cast<AvlNode*>(std::malloc(ChunkNodes * sizeof(AvlNode)));
        if (!chunk)
            giveUp(1, "zem: no memory for index nodes");
        chunk->data = reinterpret_cast<LOCAL_DAT*>(chunks);
        chunks = chunk;
        spare = chunk + 1;
        end = chunk + ChunkNodes;
    }
    AvlNode* n = spare;
    spare = n + 1;
    n->data = d;
    n->left = n->right = n->parent = nullptr;
    n->balance = 0;
    n->flags = 0;
    d->avlNode = n;
    return n;
}

void AVL_TREE::avl_push(LOCAL_DAT* d)
{
    // An equal record counts as lying before d, so the search passes it on
    // its right and never stops: d goes after every equal one.
    bool metEqual = false;
    auto order = [this, d, &metEqual](const LOCAL_DAT* stored) {
        int c = compare(stored, d);
        metEqual = metEqual || c == 0;
        return c > 0 ? 1 : -1;
    };
    AvlSpot spot;
    avl_find(order, &spot);
    if (metEqual)
        equalKeys = 1;
    avl_attach(d, spot);
}

void AVL_TREE::avl_attach(LOCAL_DAT* d, const AvlSpot& spot)
{
    AvlNode* n = newNode(d);
    AvlNode* at = spot.parent;
    if (!at) {
        root = n;
        return;
    }
    n->parent = at;
    n->left = spot.pred;
    n->right = spot.succ;
    if (at == spot.succ) {
        at->left = n;
        at->flags |= AvlNode::LeftChild;
    } else {
        at->right = n;
        at->flags |= AvlNode::RightChild;
    }
    rebalance(n);
}

void AVL_TREE::replaceChild(AvlNode* oldTop, AvlNode* newTop)
{
    AvlNode* p = newTop->parent;
    if (!p)
        root = newTop;
    else if (p->leftOf() == oldTop)
        p->left = newTop;
    else
        p->right = newTop;
}

// Lifts a's right child above a; threads and flags stay consistent.
AvlNode* AVL_TREE::rotateLeft(AvlNode* a)
{
    AvlNode* b = a->right;
    if (b->flags & AvlNode::LeftChild) {
        a->right = b->left;
        a->right->parent = a;
    } else {
        a->right = b;
        a->flags &= ~AvlNode::RightChild;
    }
    b->left = a;
    b->flags |= AvlNode::LeftChild;
    b->parent = a->parent;
    a->parent = b;
    replaceChild(a, b);
    return b;
}

AvlNode* AVL_TREE::rotateRight(AvlNode* a)
{
    AvlNode* b = a->left;
    if (b->flags & AvlNode::RightChild) {
        a->left = b->right;
        a->left->parent = a;
    } else {
        a->left = b;
        a->flags &= ~AvlNode::LeftChild;
    }
    b->right = a;
    b->flags |= AvlNode::RightChild;
    b->parent = a->parent;
    a->parent = b;
    replaceChild(a, b);
    return b;
}

namespace {
// Balances after a double rotation around pivot c between a and b, where
// a is the node that became unbalanced on side s (+1 right, -1 left).
void settleDouble(AvlNode* a, AvlNode* b, AvlNode* c, int s)
{
    a->balance = (c->balance == s) ? -s : 0;
    b->balance = (c->balance == -s) ? s : 0;
    c->balance = 0;
}
}

void AVL_TREE::rebalance(AvlNode* n)
{
    for (AvlNode* p = n->parent; p; n = p, p = p->parent) {
        bool fromLeft = p->leftOf() == n;
        p->balance += fromLeft ? -1 : 1;
        if (p->balance == 0)
            return;
        if (p->balance == 1 || p->balance == -1)
            continue;
        if (p->balance == 2) {
            AvlNode* r = p->right;
            if (r->balance == -1) {
                AvlNode* c = r->left;
                rotateRight(r);
                rotateLeft(p);
                settleDouble(p, r, c, 1);
            } else if (r->balance == 0 || r->balance == 1) {
                rotateLeft(p);
                r->balance = (r->balance == 1) ? 0 : -1;
                p->balance = (r->balance == 0) ? 0 : 1;
            } else {
                giveUp(2, "zem: index balance out of range");
            }
        } else if (p->balance == -2) {
            AvlNode* l = p->left;
            if (l->balance == 1) {
                AvlNode* c = l->right;
                rotateLeft(l);
                rotateRight(p);
                settleDouble(p, l, c, -1);
            } else if (l->balance == 0 || l->balance == -1) {
                rotateRight(p);
                l->balance = (l->balance == -1) ? 0 : 1;
                p->balance = (l->balance == 0) ? 0 : -1;
            } else {
                giveUp(2, "zem: index balance out of range");
            }
        } else {
            giveUp(2, "zem: index balance out of range");
        }
        return;
    }
}

LOCAL_DAT* AVL_TREE::avl_search(const LOCAL_DAT& key) const
{
    return avl_find([this, &key](const LOCAL_DAT* stored) { return compare(stored, &key); });
}

LOCAL_DAT* AVL_TREE::avl_loweq(const LOCAL_DAT& key) const
{
    const AvlNode* cand = nullptr;
    const AvlNode* at = root;
    while (at) {
        if (compare(at->data, &key) <= 0) {
            cand = at;
            at = at->rightOf();
        } else {
            at = at->leftOf();
        }
    }
    return cand ? cand->data : nullptr;
}

LOCAL_DAT* AVL_TREE::avl_uppeq(const LOCAL_DAT& key) const
{
    const AvlNode* cand = nullptr;
    const AvlNode* at = root;
    while (at) {
        if (compare(at->data, &key) >= 0) {
            cand = at;
            at = at->leftOf();
        } else {
            at = at->rightOf();
        }
    }
    return cand ? cand->data : nullptr;
}
