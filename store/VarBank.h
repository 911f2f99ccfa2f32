// A named bank of named, typed variables (StoreEl records): kept in
// insertion order for walks and in the AVL index, by name, for lookups.
// The bank owns its elements.
#ifndef ZEM_VARBANK_H
#define ZEM_VARBANK_H

#include <vector>

#include "AvlTree.h"
#include "StoreEl.h"

class StoreCv;
class FileGate;

class VarBank : public AVL_TREE {
public:
    enum { NameSize = 500 };

    VarBank();
    // An empty bank filled with the group that cv names (see operator=).
    VarBank(const StoreCv& cv);
    ~VarBank() override;
    VarBank(const VarBank&) = delete;

    // Deletes every element; the bank keeps its name. A recycling bank
    // keeps them instead, out of sight (see setRecycling).
    void clear();
    // Banks that are emptied and filled again with the same names in the
    // same order, as the interpreter's banks are for every test and every
    // nested group, may keep their records across clear(): the records
    // leave the list but stay in the index, and assigning the name that
    // comes next in their old order takes the old record back instead of
    // searching and inserting. Walks and lookups never see a kept record.
    // A fill that departs from the old order gives up the kept records at
    // the next clear(). Off by default; turning it off releases them.
    void setRecycling(int on);
    // Indexes every element again under its current name (after elements
    // were renamed in place).
    void reindex();
    // Appends el after the last element and indexes it; names are not checked.
    void appElem(StoreEl* el);
    // A null name gives the first element (start of a walk), else the element
    // of that name or null.
    StoreEl* getData(const char* name) const;
    // The element's type code, 0 for a null name or a missing element.
    int getType(const char* name) const;

    // Reads are noted, so that a test's inputs its function never looked at
    // can be named: an element is read by getData(name) and getType(name),
    // and so by every StoreCv read, and by a copy of the bank or of a group
    // out of it (the copied elements). A walk from getData(nullptr) may see
    // every element, so it counts as reading them all. Emptying the bank
    // forgets the reads.
    // The first unread element listed after `after` (null: from the first);
    // null when there is none. Itself no read.
    const StoreEl* nextUnread(const StoreEl* after) const;
    char* getName() const { return const_cast<char*>(name); }
    void setName(const char* newName);
    StoreCv operator[](const char* elName);

    // Copies names, values and order of src and takes its name.
    VarBank& operator=(const VarBank& src);
    // Becomes the group of cv: every cv.x and cv[i]... as x and i]...
    VarBank& operator=(const StoreCv& cv);

    // 1 if some element name begins with prefix; 0 for null or empty prefix.
    int hasPrefix(const char* prefix) const;
    // Names in unsigned byte order, a prefix before its extensions.
    int compare(const LOCAL_DAT* a, const LOCAL_DAT* b) const override;

    // Writes the verification block for this bank of expected values
    // against actual to out; 1 when anything failed or status is 0.
    int differ(FileGate& out, VarBank& actual, int status);

private:
    friend class StoreCv;
    StoreEl* find(const char* elName, AvlSpot* spot = nullptr) const;
    StoreEl* search(const char* elName, AvlSpot* spot) const;
    // Only a bank that keeps records has any to tell apart.
    bool isKept(const StoreEl* el) const { return kept && el->kept; }
    // find for an assignment: the element of that name, a kept record
    // taken back for it, or null with the spot where a new one goes.
    StoreEl* findForAssign(const char* elName, AvlSpot& spot);
    StoreEl* takeBackKept();
    // Deletes the kept records and indexes the list alone.
    void dropKept();
    void release();
    // appElem for a record whose name was just looked up with find(name, &spot).
    void appElemAt(StoreEl* el, const AvlSpot& spot);
    void linkLast(StoreEl* el);
    void copyGroup(VarBank& src, const char* dotPrefix, const char* itemPrefix);
    void collectPrefixed(const char* prefix, std::vector<StoreEl*>& out) const;
    void copyMembers(const std::vector<StoreEl*>& from, const char* dotPrefix, const char* itemPrefix);
    // Every read pays for it, so it is a plain store.
    static void noteRead(StoreEl* el) { el->readMark = 1; }
    // StoreCv::count(): how many items name[0], name[1], ... are present
    // in a row, an item being an element or the prefix of one.
    int countItems(const char* arrayName) const;

    char name[NameSize];
    StoreEl* first;
    StoreEl* last;
    // The element that the last lookup found or that was appended last.
    // Scripts tend to set the same names in the same order again (one test
    // after another, one definition block after another), so its successor
    // in insertion order is tried before the index is searched.
    mutable StoreEl* hint;
    // Records kept by clear() in their old order, still in the index.
    StoreEl* kept;
    char recycling;
    // Set by a walk from getData(nullptr): every element counts as read.
    // A byte beside recycling, so that the bank keeps its size: the
    // interpreter's banks are indexed by it on every statement.
    mutable char walked;
    // Stamp of the next element listed: list order among elements that
    // the index yields in name order.
    unsigned nextSeq;
};

// A bank that recycles its records from the start (see setRecycling).
class RecyclingBank : public VarBank {
public:
    RecyclingBank() { setRecycling(1); }
};

#endif
