// Named-variable bank: insertion-ordered list plus name index, lookups,
// prefix tests, and the bank and group copies.
#include "VarBank.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "AvlPrefetch.h"
#include "FileGate.h"
#include "Parse.h"
#include "StoreCv.h"

namespace {
void reportUnknownType() { Parse::getIO() << "\nVarBank::operator= unknown type\n"; }

}

VarBank::VarBank()
    : first(nullptr), last(nullptr), hint(nullptr), kept(nullptr), recycling(0), walked(0), nextSeq(0)
{
    std::strcpy(name, "VarBank");
}

VarBank::VarBank(const StoreCv& cv) : VarBank() { *this = cv; }

VarBank::~VarBank() { release(); }

namespace {
void deleteChain(StoreEl* el)
{
    while (el) {
        StoreEl* next = el->getNext();
        delete el;
        el = next;
    }
}
}

// Only a fill that took back every record kept before may keep its own:
// otherwise the kept records would pile up (and the index with them)
// whenever fills differ. Emptying a bank with no elements listed changes
// nothing, so the kept records stay.
void VarBank::clear()
{
    walked = 0;
    if (!recycling || avl_hasEqualKeys()) {
        release();
        return;
    }
    if (!first)
        return;
    if (kept) {
        release();
        return;
    }
    for (StoreEl* el = first; el; el = el->getNext())
        el->kept = 1;
    kept = first;
    first = last = hint = nullptr;
    nextSeq = 0;
}

void VarBank::release()
{
    avl_clear();
    deleteChain(first);
    deleteChain(kept);
    first = last = hint = kept = nullptr;
    nextSeq = 0;
}

void VarBank::setRecycling(int on)
{
    recycling = on ? 1 : 0;
    if (!on && kept)
        dropKept();
}

void VarBank::dropKept()
{
    deleteChain(kept);
    kept = nullptr;
    reindex();
}

void VarBank::reindex()
{
    if (kept) {
        dropKept();
        return;
    }
    avl_clear();
    for (StoreEl* el = first; el; el = el->getNext())
        avl_push(el);
}

// Appends to the insertion-order list only; the caller indexes the element.
void VarBank::linkLast(StoreEl* el)
{
    el->setNext(nullptr);
    el->seq = nextSeq++;
    if (last)
        last->setNext(el);
    else
        first = el;
    last = el;
    hint = el;
}

// An unchecked append could repeat the name of a kept record, which the
// index must never hold twice.
void VarBank::appElem(StoreEl* el)
{
    if (!el)
        return;
    if (kept)
        dropKept();
    linkLast(el);
    avl_push(el);
}

namespace {
// Byte order as unsigned characters, a prefix first: strcmp's order. Names
// are short and often differ within a few bytes, where this loop beats the
// library call.
inline int nameOrder(const char* a, const char* b)
{
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}
}

// The same order as compare(), inlined, with the name itself as the key,
// so a lookup neither allocates nor copies. While every name in the index
// is unique, the element after the hint is the one the search would find
// whenever its name is the key, and the search is skipped. The result may
// be a kept record. Every lookup runs through here: it is built into its
// callers, as a call of its own cost a tenth of a lookup.
__attribute__((always_inline)) inline StoreEl* VarBank::search(const char* elName, AvlSpot* spot) const
{
    if (hint && !avl_hasEqualKeys()) {
        StoreEl* next = hint->getNext();
        if (next && std::strcmp(next->getName(), elName) == 0) {
            hint = next;
            return next;
        }
    }
    StoreEl* el = static_cast<StoreEl*>(avl_find(
        [elName](const LOCAL_DAT* d) { return nameOrder(static_cast<const StoreEl*>(d)->getName(), elName); },
        spot,
        AvlPrefetchChildren()));
    if (el && !isKept(el))
        hint = el;
    return el;
}

StoreEl* VarBank::find(const char* elName, AvlSpot* spot) const
{
    StoreEl* el = search(elName, spot);
    return el && isKept(el) ? nullptr : el;
}

// Kept names are unique and none of them is listed, so when the next kept
// record has the name, no element has it yet.
StoreEl* VarBank::findForAssign(const char* elName, AvlSpot& spot)
{
    if (kept && std::strcmp(kept->getName(), elName) == 0)
        return takeBackKept();
    StoreEl* el = search(elName, &spot);
    if (el && el->kept) {
        // Out of the old order: the spot cannot be had beside a kept
        // record of the same name.
        dropKept();
        el = search(elName, &spot);
    }
    return el;
}

// The record returns holding 0 and unread, as a new one would hold nothing
// of the previous fill; the caller stores the value.
StoreEl* VarBank::takeBackKept()
{
    StoreEl* el = kept;
    kept = el->getNext();
    el->kept = 0;
    el->readMark = 0;
    el->setInt(0);
    linkLast(el);
    return el;
}

void VarBank::appElemAt(StoreEl* el, const AvlSpot& spot)
{
    if (!el)
        return;
    linkLast(el);
    avl_attach(el, spot);
}

StoreEl* VarBank::getData(const char* elName) const
{
    if (!elName) {
        walked = 1;
        return first;
    }
    StoreEl* el = find(elName);
    if (el)
        noteRead(el);
    return el;
}

int VarBank::getType(const char* elName) const
{
    if (!elName)
        return 0;
    StoreEl* el = find(elName);
    if (!el)
        return 0;
    noteRead(el);
    return el->getType();
}

const StoreEl* VarBank::nextUnread(const StoreEl* after) const
{
    if (walked)
        return nullptr;
    const StoreEl* el = after ? after->getNext() : first;
    while (el && el->wasRead())
        el = el->getNext();
    return el;
}

void VarBank::setName(const char* newName)
{
    if (!newName)
        newName = "";
    std::size_t n = std::strlen(newName);
    if (n > NameSize - 1)
        n = NameSize - 1;
    std::memcpy(name, newName, n);
    name[n] = '\0';
}

StoreCv VarBank::operator[](const char* elName) { return StoreCv(this, elName); }

int VarBank::compare(const LOCAL_DAT* a, const LOCAL_DAT* b) const
{
    // strcmp orders by unsigned char and puts a prefix first.
    return std::strcmp(static_cast<const StoreEl*>(a)->getName(), static_cast<const StoreEl*>(b)->getName());
}

int VarBank::hasPrefix(const char* prefix) const
{
    if (!prefix || !*prefix)
        return 0;
    std::size_t n = std::strlen(prefix);
    if (kept) {
        // The index holds kept records too; the list alone counts.
        for (const StoreEl* el = first; el; el = el->getNext()) {
            if (std::strncmp(el->getName(), prefix, n) == 0)
                return 1;
        }
        return 0;
    }
    StoreEl key(prefix, StoreEl::KeyTag());
    const StoreEl* up = static_cast<const StoreEl*>(avl_uppeq(key));
    if (up && std::strncmp(up->getName(), prefix, n) == 0)
        return 1;
    const StoreEl* low = static_cast<const StoreEl*>(avl_loweq(key));
    return (low && std::strncmp(low->getName(), prefix, n) == 0) ? 1 : 0;
}

VarBank& VarBank::operator=(const VarBank& src)
{
    if (&src == this)
        return *this;
    clear();
    setName(src.name);
    for (StoreEl* el = src.first; el; el = el->getNext()) {
        noteRead(el);
        StoreCv h(this, el->getName());
        if (el->hasKnownType())
            h = *el;
        else
            reportUnknownType();
    }
    return *this;
}

VarBank& VarBank::operator=(const StoreCv& cv)
{
    clear();
    VarBank* src = cv.getData();
    if (!src)
        return *this;
    StoreCv dot(src, cv.getName(), ".", "");
    StoreCv item(src, cv.getName(), "[", "");
    copyGroup(*src, dot.getName(), item.getName());
    return *this;
}

namespace {
// strncmp(name, prefix, k) == 0 for a prefix of k characters. A group copy
// tests every name of the bank, and nearly all differ within the first
// bytes, where this loop ends before a library call would have begun.
inline bool startsWith(const char* name, const char* prefix, std::size_t k)
{
    std::size_t i = 0;
    while (i < k && name[i] == prefix[i])
        ++i;
    return i == k;
}
}

// Appends to out every listed element of this bank whose name begins with
// prefix: they sit together in the index, from the first name not below
// prefix on.
void VarBank::collectPrefixed(const char* prefix, std::vector<StoreEl*>& out) const
{
    std::size_t k = std::strlen(prefix);
    const AvlNode* from = nullptr;
    for (const AvlNode* at = avl_root(); at;) {
        if (nameOrder(static_cast<const StoreEl*>(at->data)->getName(), prefix) >= 0) {
            from = at;
            at = at->leftOf();
        } else {
            at = at->rightOf();
        }
    }
    for (const AvlNode* n = from; n; n = avl_successor(n)) {
        StoreEl* el = static_cast<StoreEl*>(n->data);
        if (!startsWith(el->getName(), prefix, k))
            break;
        if (!el->kept)
            out.push_back(el);
    }
}

// Copies every element of src whose name extends dotPrefix or begins with
// itemPrefix (both of one length k), named by what follows the first k
// bytes, in src's list order. The index finds them, so a small group is
// cut out of a large bank without a walk over all of it; a group that is
// a good part of its bank is taken in one walk instead of being sorted.
void VarBank::copyGroup(VarBank& src, const char* dotPrefix, const char* itemPrefix)
{
    std::vector<StoreEl*> found;
    src.collectPrefixed(dotPrefix, found);
    src.collectPrefixed(itemPrefix, found);
    if (found.size() * 16 >= src.nextSeq) {
        found.clear();
        for (StoreEl* el = src.first; el; el = el->getNext())
            found.push_back(el);
    } else {
        std::sort(
            found.begin(), found.end(), [](const StoreEl* a, const StoreEl* b) { return a->seq < b->seq; });
        found.erase(std::unique(found.begin(), found.end()), found.end());
    }
    copyMembers(found, dotPrefix, itemPrefix);
}

void VarBank::copyMembers(const std::vector<StoreEl*>& from, const char* dotPrefix, const char* itemPrefix)
{
    std::size_t k = std::strlen(dotPrefix);
    std::size_t kItem = std::strlen(itemPrefix);
    for (StoreEl* el : from) {
        const char* n = el->getName();
        bool member = startsWith(n, dotPrefix, k) && n[k] != '\0';
        bool item = startsWith(n, itemPrefix, kItem);
        if (!member && !item)
            continue;
        noteRead(el);
        if (!el->hasKnownType()) {
            reportUnknownType();
            continue;
        }
        StoreEl* copy = StoreEl::copyOf(n + (member ? k : kItem), *el);
        if (!copy)
            return;
        appElem(copy);
    }
}

namespace {
// The index of an item name's tail "<digits>]...", as "[%d]" writes it (no
// sign, no leading zero); -1 for anything else or an index from limit on.
int itemIndex(const char* tail, std::size_t limit)
{
    std::size_t index = 0;
    const char* at = tail;
    for (; *at >= '0' && *at <= '9'; ++at) {
        index = index * 10 + static_cast<std::size_t>(*at - '0');
        if (index >= limit)
            return -1;
    }
    bool plain = at != tail && *at == ']' && (tail[0] != '0' || at == tail + 1);
    return plain ? static_cast<int>(index) : -1;
}
}

// The items sit together in the index, but in byte order ("a[10]" before
// "a[2]"): they are gathered first. A row cannot be longer than the
// number of names found.
int VarBank::countItems(const char* arrayName) const
{
    char prefix[NameSize + 1];
    std::size_t k = strnlen(arrayName, NameSize - 1);
    std::memcpy(prefix, arrayName, k);
    prefix[k] = '[';
    prefix[k + 1] = '\0';
    std::vector<StoreEl*> found;
    collectPrefixed(prefix, found);
    std::vector<char> present(found.size(), 0);
    for (const StoreEl* el : found) {
        int index = itemIndex(el->getName() + k + 1, found.size());
        if (index >= 0)
            present[static_cast<std::size_t>(index)] = 1;
    }
    int count = 0;
    while (static_cast<std::size_t>(count) < present.size() && present[static_cast<std::size_t>(count)])
        ++count;
    return count;
}
