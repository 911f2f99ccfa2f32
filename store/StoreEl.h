// The record of one named, typed variable of a VarBank. Short names and
// values live inline; longer ones take blocks from StringMem, and values too
// long for it (508 characters and more) take their block from the heap.
#ifndef ZEM_STOREEL_H
#define ZEM_STOREEL_H

#include <cstddef>
#include "AvlTree.h"

class FileGate;

class StoreEl : public LOCAL_DAT {
public:
    // Type codes shared by the bank, the handles and the report.
    enum { TypeNone = 0, TypeInt = 1, TypeDouble = 2, TypeString = 3 };
    enum { InlineSize = 40 };
    // Largest request StringMem serves; longer blocks come from the heap.
    enum { MaxPooledBlock = 508 };

    StoreEl(const char* name, int value);
    StoreEl(const char* name, double value);
    StoreEl(const char* name, const char* value);
    ~StoreEl();
    StoreEl(const StoreEl&) = delete;
    StoreEl& operator=(const StoreEl&) = delete;

    void setMark() { mark = 'X'; }
    void clearMark() { mark = ' '; }
    int getMark() const { return mark == 'X' ? 1 : 0; }

    // Set by the bank's reads (see VarBank::nextUnread), so that inputs a
    // test function never looked at can be named; a new record is unread.
    int wasRead() const { return readMark; }

    // Takes block (from allocBlock or StringMem, capacity len) as the data
    // area, releasing the current one unless inline. A null block is ignored.
    void setData(void* block, int len);
    // Stores s as the string value, enlarging the data block when needed.
    // Returns 0 (element unchanged) when no block can be had.
    int setString(const char* s);
    void setInt(int v);
    void setDouble(double v);

    void setType(int t) { type = t; }
    int getType() const { return type; }
    bool hasKnownType() const { return type >= TypeInt && type <= TypeString; }

    // The value as its type stores it; each is meaningful only for records
    // of that type. The int and double are copied out, as the data area
    // need not be aligned for them.
    int getInt() const;
    double getDouble() const;
    char* getText() const { return static_cast<char*>(data); }

    // A new record holding src's value under name. Null when src has no
    // known type or the pool refuses a record; callers that report unknown
    // types test hasKnownType() first.
    static StoreEl* copyOf(const char* name, const StoreEl& src);
    // Overwrites this record's value and type with src's. Returns 0 when a
    // string could not be stored or src has no known type (record unchanged).
    int assign(const StoreEl& src);

    // Which int values are written in hexadecimal: those whose name begins
    // with "0x" (the trace), or also with "(0x", an output to be exported
    // (the report).
    enum HexNames { HexBare, HexBareOrParenthesised };
    // The value as the result file shows it: ints in decimal, or "0x%x"
    // when shownName is a hexadecimal name under the rule; doubles as
    // RealFormat::write has them; every other type as a quoted string.
    void writeValue(FileGate& out, const char* shownName, HexNames hex) const;
    // "name = value" and a newline, indented by level times four spaces; a
    // record of no known type writes "unknown type: name" unindented.
    void writeLine(FileGate& out, int level, HexNames hex) const;
    int getLen() const { return len; }
    char* getName() const { return name; }
    void* getData() const { return data; }
    StoreEl* getNext() const { return next; }
    void setNext(StoreEl* n) { next = n; }

    // A block of count bytes for a name or value: StringMem up to
    // MaxPooledBlock, the heap above. Null when refused.
    static char* allocBlock(int count);
    // Returns a block of the given capacity to where allocBlock took it.
    static void releaseBlock(void* block, int count);

    // The record pool: blocks of 100 records, 99 handed out each. A null
    // result (heap refused) makes the new-expression yield null.
    enum { BlockRecords = 100 };
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* p, std::size_t size) noexcept;

    static StoreEl* start;  // free-list head, ending at the fresh position
    static StoreEl* end;    // end of the newest block
    static StoreEl* list;   // chain of blocks through their first record
    static int ctr;         // live records

private:
    friend class VarBank;
    struct KeyTag {};
    // Inline area, StringMem, heap, or the caller's (search keys, never
    // released).
    enum NameFrom { NameInline, NamePooled, NameHeap, NameBorrowed };
    // A search key that borrows name without copying; never released.
    StoreEl(const char* keyName, KeyTag);
    void init(int t);
    int takeName(const char* n);
    void dropName();

    int type;
    int len;
    StoreEl* next;
    alignas(8) char inData[InlineSize];
    char inName[InlineSize];
    char* name;
    void* data;
    char mark;
    char readMark;
    // Where the name block came from, kept so that releasing it never
    // reads the block: a NameFrom value. Held in one byte with the search
    // key's mark, so that the read flag costs the record no room.
    char nameFrom;
    // 1 while the record is kept by a recycling bank: indexed, not listed.
    char kept;
    // Set by the bank when the record joins its list: list order.
    unsigned seq;
};

#endif
