// Ordered index of LOCAL_DAT records: a threaded, height-balanced binary
// search tree whose order comes from the derived class's compare(). The tree
// owns only its nodes, which it takes 99 at a time from chunks of 100.
#ifndef ZEM_AVLTREE_H
#define ZEM_AVLTREE_H

struct AvlNode;

// Base of every indexed record: the link back to the node that holds it.
// avl_push sets it; a record is in at most one tree at a time.
class LOCAL_DAT {
public:
    AvlNode* avlNode = nullptr;
};

// One tree node. left/right are children when their flag bit is set,
// otherwise the in-order predecessor/successor threads (null at the ends).
struct AvlNode {
    LOCAL_DAT* data;  // the record; in a chunk's first node the chunk link
    AvlNode* left;
    AvlNode* right;
    AvlNode* parent;      // null for the root
    signed char balance;  // height(right) - height(left)
    unsigned char flags;  // LeftChild | RightChild
    enum { LeftChild = 0x01, RightChild = 0x02 };

    // The child on that side, or null where the link is a thread.
    AvlNode* leftOf() const { return (flags & LeftChild) ? left : nullptr; }
    AvlNode* rightOf() const { return (flags & RightChild) ? right : nullptr; }
};

// Where a new record joins the tree: below parent on one side, between
// the in-order neighbours pred and succ. Valid until the tree changes.
struct AvlSpot {
    AvlNode* parent = nullptr;
    AvlNode* pred = nullptr;
    AvlNode* succ = nullptr;
};

// What a descent does at each node before comparing its record: nothing,
// unless the caller brings its own step (the bank prefetches there).
struct AvlNoAhead {
    void operator()(const AvlNode*) const {}
};

class AVL_TREE {
public:
    enum { ChunkNodes = 100 };

    AVL_TREE();
    virtual ~AVL_TREE();
    AVL_TREE(const AVL_TREE&) = delete;
    AVL_TREE& operator=(const AVL_TREE&) = delete;

    // Negative when a sorts before b, zero when equal, positive after.
    // Always called with the stored record first and the key second.
    virtual int compare(const LOCAL_DAT* a, const LOCAL_DAT* b) const = 0;

    // Returns every node chunk to the heap; records are left untouched.
    void avl_clear();
    // Inserts d after every record that compares equal to it.
    void avl_push(LOCAL_DAT* d);
    LOCAL_DAT* avl_search(const LOCAL_DAT& key) const;
    // Floor: the greatest record <= key (the last of equal ones), or null.
    LOCAL_DAT* avl_loweq(const LOCAL_DAT& key) const;
    // Ceiling: the smallest record >= key (the first of equal ones), or null.
    LOCAL_DAT* avl_uppeq(const LOCAL_DAT& key) const;

    // avl_search with an inlined comparison: cmp(stored) is the sign of
    // compare(stored, key). When nothing is equal and spot is given, it
    // receives the place where avl_push would attach a record of that key.
    // ahead(node) runs on every node before its record is compared.
    template <class Cmp, class Ahead = AvlNoAhead>
    LOCAL_DAT* avl_find(Cmp cmp, AvlSpot* spot = nullptr, Ahead ahead = Ahead()) const
    {
        AvlSpot s;
        AvlNode* at = root;
        while (at) {
            ahead(at);
            int c = cmp(at->data);
            if (c == 0)
                return at->data;
            s.parent = at;
            // Not leftOf()/rightOf(): from their null return GCC guesses that
            // the walk mostly goes on, lays this loop out for that, and the
            // bank's lookups ran slower.
            if (c > 0) {
                s.succ = at;
                at = (at->flags & AvlNode::LeftChild) ? at->left : nullptr;
            } else {
                s.pred = at;
                at = (at->flags & AvlNode::RightChild) ? at->right : nullptr;
            }
        }
        if (spot)
            *spot = s;
        return nullptr;
    }
    // Inserts d at a spot that avl_find gave for d's key on this tree as
    // it still is; the same result as avl_push(d) with one descent less.
    void avl_attach(LOCAL_DAT* d, const AvlSpot& spot);

    // 1 when some avl_push since the last avl_clear met a record equal to
    // the one it inserted, so that a key may be held by several records.
    int avl_hasEqualKeys() const { return equalKeys; }

    // The node after n in order, or null after the last.
    static const AvlNode* avl_successor(const AvlNode* n)
    {
        if (!(n->flags & AvlNode::RightChild))
            return n->right;
        n = n->right;
        while (const AvlNode* l = n->leftOf())
            n = l;
        return n;
    }

    // Inspection for tests and diagnostics.
    const AvlNode* avl_root() const { return root; }
    int avl_chunkCount() const;

private:
    AvlNode* newNode(LOCAL_DAT* d);
    void rebalance(AvlNode* n);
    AvlNode* rotateLeft(AvlNode* a);
    AvlNode* rotateRight(AvlNode* a);
    void replaceChild(AvlNode* oldTop, AvlNode* newTop);

    AvlNode* root;
    AvlNode* spare;   // next node to hand out: free-list head or fresh node
    AvlNode* end;     // end of the newest chunk
    AvlNode* chunks;  // chain of chunks through their first node
    int equalKeys;    // see avl_hasEqualKeys
};

#endif
