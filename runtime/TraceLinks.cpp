// Handle table for trace-node links: slot i holds the node of handle i + 1.
#include "TraceLinks.h"

#include <climits>
#include <cstddef>
#include <vector>

namespace {
std::vector<VarBank*>& slots()
{
    static std::vector<VarBank*> table;
    return table;
}
std::vector<int>& freeSlots()
{
    static std::vector<int> list;
    return list;
}
}

namespace TraceLinks {

int add(VarBank* node)
{
    std::vector<VarBank*>& table = slots();
    std::vector<int>& spare = freeSlots();
    if (!spare.empty()) {
        int slot = spare.back();
        spare.pop_back();
        table[slot] = node;
        return slot + 1;
    }
    if (table.size() >= static_cast<std::size_t>(INT_MAX - 1))
        return 0;
    table.push_back(node);
    return static_cast<int>(table.size());
}

VarBank* get(int handle)
{
    std::vector<VarBank*>& table = slots();
    if (handle <= 0 || static_cast<std::size_t>(handle) > table.size())
        return nullptr;
    return table[handle - 1];
}

void release(int handle)
{
    std::vector<VarBank*>& table = slots();
    if (handle <= 0 || static_cast<std::size_t>(handle) > table.size() || !table[handle - 1])
        return;
    table[handle - 1] = nullptr;
    freeSlots().push_back(handle - 1);
}

void reset()
{
    slots().clear();
    freeSlots().clear();
}

}
