// A descent step for the library's own hot lookups. It stays out of the
// installed AvlTree.h, so that a user's compiler never meets a GCC builtin.
#ifndef ZEM_AVLPREFETCH_H
#define ZEM_AVLPREFETCH_H

#include "AvlTree.h"

// Both children are fetched while the record is compared, so the next
// level's node is ready whichever way the search goes.
struct AvlPrefetchChildren {
    void operator()(const AvlNode* n) const
    {
        __builtin_prefetch(n->left);
        __builtin_prefetch(n->right);
    }
};

#endif
