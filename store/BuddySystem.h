// Buddy allocator for names and strings: 512-byte arenas cut into
// power-of-two blocks that merge again with their buddies on release.
// Orders 3..9 occur (8..512 bytes); a block carries a 4-byte header.
#ifndef ZEM_BUDDYSYSTEM_H
#define ZEM_BUDDYSYSTEM_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

template <int A, int N>
class BuddySystem;

// One arena. Block headers sit at the start of each block, as 16-bit words:
// free: order, next free offset, previous free offset (0xFFFF = none);
// in use: order | 0x80, own offset; user data from byte 4.
template <int A, int N>
class BuddyElement {
public:
    enum { AreaSize = 1 << (N - 1), TopOrder = N - 1, InUse = 0x80 };
    static constexpr unsigned short None = 0xFFFF;

    BuddyElement() : next(nullptr), prev(nullptr), owner(nullptr) { clear(); }

    // The whole area becomes one free block of the top order.
    void clear()
    {
        for (int i = 0; i < N; ++i)
            heads[i] = nullptr;
        base = area;
        setWord(area, 0, TopOrder);
        setWord(area, 1, None);
        setWord(area, 2, None);
        heads[TopOrder] = area;
        maxOrder = TopOrder;
    }

    // A block of the given order (user data pointer), or null.
    char* alloc(int order)
    {
        if (order < 0 || order > TopOrder)
            return nullptr;
        if (!heads[order]) {
            int j = order + 1;
            while (j <= TopOrder && !heads[j])
                ++j;
            if (j > TopOrder)
                return nullptr;
            split(j, order);
        }
        char* b = heads[order];
        popHead(order);
        if (!heads[order] && maxOrder == order)
            lowerMax();
        setWord(b, 0, static_cast<unsigned short>(order | InUse));
        setWord(b, 1, offsetOf(b));
        return b + 4;
    }

    // Releases p if it is one of this allocator's blocks: returns the arena
    // that held it, with its max order before the release in oldMax; null
    // (nothing changed) when p is not recognised.
    static BuddyElement* free(char* p, int& oldMax)
    {
        char* h = p - 4;
        unsigned short ord = word(h, 0);
        if ((ord & 0xE0) != InUse)
            return nullptr;
        unsigned short off = word(h, 1);
        if (off >= AreaSize)
            return nullptr;
        char* areaStart = h - off;
        BuddyElement* e = reinterpret_cast<BuddyElement*>(areaStart - offsetof(BuddyElement, area));
        if (reinterpret_cast<std::uintptr_t>(e) % 4 != 0)
            return nullptr;
        if (e->base != areaStart)
            return nullptr;
        int o = ord & ~InUse;
        oldMax = e->maxOrder;
        e->pushHead(h, o);
        if (o <= TopOrder - 1)
            e->melt(h);
        return e;
    }

    // Cuts the first free block of order j down until one of order k exists.
    void split(int j, int k)
    {
        char* low = heads[j];
        popHead(j);
        if (!heads[j] && maxOrder == j)
            maxOrder = j - 1;
        char* up = low + (1 << (j - 1));
        setWord(low, 0, static_cast<unsigned short>(j - 1));
        setWord(up, 0, static_cast<unsigned short>(j - 1));
        pushHead(up, j - 1);
        pushHead(low, j - 1);
        if (j - k > 1)
            split(j - 1, k);
    }

    // Merges the free block at header with its buddy, as long as it can.
    void melt(char* header)
    {
        for (;;) {
            int o = word(header, 0);
            if (o > TopOrder - 1)
                return;
            unsigned short off = offsetOf(header);
            char* buddy = (off & (1 << o)) ? header - (1 << o) : header + (1 << o);
            if (word(buddy, 0) != o)
                return;
            unlink(header, o);
            unlink(buddy, o);
            char* lower = buddy < header ? buddy : header;
            setWord(lower, 0, static_cast<unsigned short>(o + 1));
            pushHead(lower, o + 1);
            header = lower;
        }
    }

    char* getFreeHead(int order) const { return heads[order]; }
    int getMaxOrder() const { return maxOrder; }
    char* getBase() const { return base; }
    BuddyElement* getNext() const { return next; }
    BuddyElement* getPrev() const { return prev; }

    BuddyElement* next;
    BuddyElement* prev;
    BuddyElement** owner;  // the owning allocator's list heads
    char* base;            // start of area, recognises this arena's blocks
    char* heads[N];        // first free block of each order
    alignas(8) char area[AreaSize];
    int maxOrder;  // highest order with a free block

private:
    static unsigned short word(const char* h, int i)
    {
        unsigned short w;
        std::memcpy(&w, h + 2 * i, 2);
        return w;
    }
    static void setWord(char* h, int i, unsigned short w) { std::memcpy(h + 2 * i, &w, 2); }
    unsigned short offsetOf(const char* h) const { return static_cast<unsigned short>(h - area); }
    char* at(unsigned short off) { return off == None ? nullptr : area + off; }

    void pushHead(char* h, int o)
    {
        bool wasEmpty = heads[o] == nullptr;
        setWord(h, 0, static_cast<unsigned short>(o));
        setWord(h, 1, wasEmpty ? None : offsetOf(heads[o]));
        setWord(h, 2, None);
        if (!wasEmpty)
            setWord(heads[o], 2, offsetOf(h));
        heads[o] = h;
        if (wasEmpty && maxOrder < o)
            maxOrder = o;
    }
    void popHead(int o) { unlink(heads[o], o); }
    void unlink(char* h, int o)
    {
        char* n = at(word(h, 1));
        char* p = at(word(h, 2));
        if (n)
            setWord(n, 2, p ? offsetOf(p) : None);
        if (p)
            setWord(p, 1, n ? offsetOf(n) : None);
        else
            heads[o] = n;
    }
    void lowerMax()
    {
        --maxOrder;
        while (maxOrder > 0 && !heads[maxOrder])
            --maxOrder;
    }
};

// The allocator: list k holds the arenas whose largest free block has order
// k; list 0 also collects full arenas. Arenas are kept until remove().
template <int A, int N>
class BuddySystem {
public:
    typedef BuddyElement<A, N> Arena;
    enum { MaxCount = (1 << (N - 1)) - 4 };

    constexpr BuddySystem() : lists() {}
    ~BuddySystem() { remove(); }
    BuddySystem(const BuddySystem&) = delete;
    BuddySystem& operator=(const BuddySystem&) = delete;

    // A block of at least count usable bytes, or null (count <= 0, count
    // above MaxCount, or no heap for a new arena).
    char* alloc(int count)
    {
        int k = orderFor(count);
        if (k < 0)
            return nullptr;
        int from = k;
        while (from < N && !lists[from])
            ++from;
        Arena* a;
        if (from == N) {
            a = new (std::nothrow) Arena();
            if (!a)
                return nullptr;
            a->owner = lists;
            from = N - 1;
            pushFront(a, from);
        } else {
            a = lists[from];
        }
        char* p = a->alloc(k);
        if (a->maxOrder != from) {
            unlink(a, from);
            pushFront(a, a->maxOrder);
        }
        return p;
    }

    // 1 when p was one of this allocator's blocks and is released, else 0.
    int free(char* p)
    {
        if (!p)
            return 0;
        int oldMax = 0;
        Arena* a = Arena::free(p, oldMax);
        if (!a)
            return 0;
        if (a->maxOrder != oldMax) {
            unlink(a, oldMax);
            pushFront(a, a->maxOrder);
        }
        return 1;
    }

    // Deletes every arena; blocks still held elsewhere become invalid.
    void remove()
    {
        for (int k = 0; k < N; ++k) {
            while (lists[k]) {
                Arena* a = lists[k];
                lists[k] = a->next;
                delete a;
            }
        }
    }

    // The smallest order whose block holds count bytes plus the header, or -1.
    static int orderFor(int count)
    {
        if (count <= 0 || count > MaxCount)
            return -1;
        int need = count + 4 < 8 ? 8 : count + 4;
        int k = 0;
        while ((1 << k) < need)
            ++k;
        return k;
    }

    Arena* getList(int k) const { return (k >= 0 && k < N) ? lists[k] : nullptr; }

private:
    void pushFront(Arena* a, int k)
    {
        a->prev = nullptr;
        a->next = lists[k];
        if (lists[k])
            lists[k]->prev = a;
        lists[k] = a;
    }
    void unlink(Arena* a, int k)
    {
        if (a->prev)
            a->prev->next = a->next;
        else
            lists[k] = a->next;
        if (a->next)
            a->next->prev = a->prev;
        a->next = a->prev = nullptr;
    }

    Arena* lists[N];
};

// The process-wide string allocator of the data store.
extern BuddySystem<1, 10> StringMem;

// 1 while StringMem may be used; 0 once it has been emptied at exit, after
// which records keep their pooled blocks instead of returning them.
int stringMemOpen();

#endif
