// Element records: construction with inline or block storage, value
// updates in place, and the record pool behind operator new and delete.
#include "StoreEl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BuddySystem.h"
#include "FileGate.h"
#include "RealFormat.h"

StoreEl* StoreEl::start = nullptr;
StoreEl* StoreEl::end = nullptr;
StoreEl* StoreEl::list = nullptr;
int StoreEl::ctr = 0;

char* StoreEl::allocBlock(int count)
{
    if (count > MaxPooledBlock)
        return static_cast<char*>(std::malloc(count));
    if (!stringMemOpen())
        return nullptr;
    return StringMem.alloc(count);
}

// The capacity tells where a block came from: only blocks larger than
// StringMem can serve were taken from the heap.
void StoreEl::releaseBlock(void* block, int count)
{
    if (!block)
        return;
    if (count > MaxPooledBlock)
        std::free(block);
    else if (stringMemOpen())
        StringMem.free(static_cast<char*>(block));
}

void StoreEl::init(int t)
{
    mark = ' ';
    readMark = 0;
    nameFrom = NameInline;
    kept = 0;
    seq = 0;
    type = t;
    data = inData;
    name = inName;
    len = InlineSize;
    next = nullptr;
    inName[0] = '\0';
}

// Copies n into the record; 0 (empty inline name) when no block was had.
int StoreEl::takeName(const char* n)
{
    if (!n)
        n = "";
    std::size_t l = std::strlen(n);
    if (l >= InlineSize) {
        name = allocBlock(static_cast<int>(l + 1));
        if (!name) {
            name = inName;
            return 0;
        }
        nameFrom = l + 1 > MaxPooledBlock ? NameHeap : NamePooled;
    }
    std::memcpy(name, n, l + 1);
    return 1;
}

// A record whose name could not be stored holds the value 0.
StoreEl::StoreEl(const char* n, int value)
{
    init(TypeInt);
    setInt(takeName(n) ? value : 0);
}

StoreEl::StoreEl(const char* n, double value)
{
    init(TypeDouble);
    setDouble(takeName(n) ? value : 0.0);
}

StoreEl::StoreEl(const char* n, const char* value)
{
    init(TypeString);
    if (!value)
        value = "";
    std::size_t m = std::strlen(value);
    int nameOk = takeName(n);
    char* block = nullptr;
    if (m >= InlineSize - 1)
        block = allocBlock(static_cast<int>(m + 1));
    if (nameOk && (block || m < InlineSize - 1)) {
        if (block) {
            data = block;
            len = static_cast<int>(m + 1);
        }
        std::memcpy(data, value, m + 1);
        return;
    }
    if (block)
        releaseBlock(block, static_cast<int>(m + 1));
    dropName();
    inName[0] = '\0';
    inData[0] = '\0';
}

// Returns the name block; the size only has to tell pooled from heap.
void StoreEl::dropName()
{
    if (nameFrom == NamePooled)
        releaseBlock(name, 1);
    else if (nameFrom == NameHeap)
        releaseBlock(name, MaxPooledBlock + 1);
    nameFrom = NameInline;
    name = inName;
}

StoreEl::StoreEl(const char* keyName, KeyTag)
{
    type = TypeInt;
    len = InlineSize;
    next = nullptr;
    data = inData;
    mark = ' ';
    readMark = 0;
    nameFrom = NameBorrowed;
    kept = 0;
    seq = 0;
    name = const_cast<char*>(keyName ? keyName : "");
}

StoreEl::~StoreEl()
{
    if (nameFrom == NameBorrowed)
        return;
    dropName();
    if (data != inData)
        releaseBlock(data, len);
}

void StoreEl::setData(void* block, int newLen)
{
    if (!block)
        return;
    if (data != inData)
        releaseBlock(data, len);
    data = block;
    len = newLen;
}

int StoreEl::setString(const char* s)
{
    if (!s)
        s = "";
    std::size_t n = std::strlen(s);
    if (n > static_cast<std::size_t>(len - 1)) {
        char* block = allocBlock(static_cast<int>(n + 1));
        if (!block)
            return 0;
        std::memcpy(block, s, n + 1);
        setData(block, static_cast<int>(n + 1));
    } else {
        std::memmove(data, s, n + 1);
    }
    type = TypeString;
    return 1;
}

void StoreEl::setInt(int v)
{
    type = TypeInt;
    std::memcpy(data, &v, sizeof v);
}

void StoreEl::setDouble(double v)
{
    type = TypeDouble;
    std::memcpy(data, &v, sizeof v);
}

int StoreEl::getInt() const
{
    int v;
    std::memcpy(&v, data, sizeof v);
    return v;
}

double StoreEl::getDouble() const
{
    double v;
    std::memcpy(&v, data, sizeof v);
    return v;
}

StoreEl* StoreEl::copyOf(const char* name, const StoreEl& src)
{
    switch (src.type) {
    case TypeInt: return new StoreEl(name, src.getInt());
    case TypeDouble: return new StoreEl(name, src.getDouble());
    case TypeString: return new StoreEl(name, static_cast<const char*>(src.getText()));
    default: return nullptr;
    }
}

int StoreEl::assign(const StoreEl& src)
{
    switch (src.type) {
    case TypeInt: setInt(src.getInt()); return 1;
    case TypeDouble: setDouble(src.getDouble()); return 1;
    case TypeString: return setString(src.getText());
    default: return 0;
    }
}

namespace {
// Apart, so that its buffer costs the ints and strings of every report
// line nothing.
[[gnu::noinline]] void writeReal(FileGate& out, double v)
{
    char text[RealFormat::TextSize];
    RealFormat::write(text, v);
    out << text;
}

bool isHexName(const char* n, StoreEl::HexNames hex)
{
    if (std::strncmp(n, "0x", 2) == 0)
        return true;
    return hex == StoreEl::HexBareOrParenthesised && std::strncmp(n, "(0x", 3) == 0;
}
}

void StoreEl::writeValue(FileGate& out, const char* shownName, HexNames hex) const
{
    switch (type) {
    case TypeInt:
        if (isHexName(shownName, hex)) {
            char text[16];
            std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(getInt()));
            out << text;
        } else {
            out << getInt();
        }
        break;
    case TypeDouble: writeReal(out, getDouble()); break;
    default: out << "\"" << getText() << "\""; break;
    }
}

void StoreEl::writeLine(FileGate& out, int level, HexNames hex) const
{
    if (!hasKnownType()) {
        out << "unknown type: " << name << "\n";
        return;
    }
    for (int i = 0; i < level; ++i)
        out << "    ";
    out << name << " = ";
    writeValue(out, name, hex);
    out << "\n";
}

void* StoreEl::operator new(std::size_t size) noexcept
{
    if (size != sizeof(StoreEl))
        return std::malloc(size);
    if (start == end) {
        StoreEl* blk = static_cast<StoreEl*>(std::calloc(BlockRecords, sizeof(StoreEl)));
        if (!blk)
            return nullptr;
        blk->next = list;
        list = blk;
        start = blk + 1;
        end = blk + BlockRecords;
    }
    StoreEl* rec = start;
    start = rec->next ? rec->next : rec + 1;
    ++ctr;
    return rec;
}

void StoreEl::operator delete(void* p, std::size_t size) noexcept
{
    if (!p)
        return;
    if (size != sizeof(StoreEl)) {
        std::free(p);
        return;
    }
    StoreEl* rec = static_cast<StoreEl*>(p);
    rec->next = start;
    start = rec;
    if (--ctr > 0)
        return;
    while (list) {
        StoreEl* nextBlock = list->next;
        std::free(list);
        list = nextBlock;
    }
    start = end = nullptr;
}
