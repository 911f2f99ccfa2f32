// Value handles: name composition with the 499-character limit, strict
// reads by type, plain-value assignment, and group copy and paste.
#include "StoreCv.h"

#include <cctype>
#include <cstring>

#include "DecimalText.h"
#include "FileGate.h"
#include "Parse.h"
#include "VarBank.h"

namespace {
char emptyText[1] = "";

// Appends n bytes of part to dst, as far as room is left below cap.
void appendCut(char* dst, std::size_t& used, const char* part, std::size_t n, std::size_t cap)
{
    if (used + n > cap)
        n = cap - used;
    std::memcpy(dst + used, part, n);
    used += n;
}
}

// Handles are made for every single assignment: a name that fits is
// copied in one pass, anything longer takes the general way.
StoreCv::StoreCv(VarBank* b, const char* n) : bank(b)
{
    const std::size_t cap = MaxName;
    std::size_t l = n ? strnlen(n, cap) : cap;
    if (l < cap)
        std::memcpy(name, n, l + 1);
    else
        setName(n, "", "");
}

StoreCv::StoreCv(VarBank* b, const char* head, const char* sep, const char* tail) : bank(b)
{
    setName(head, sep, tail);
}

// The name is head, sep and tail joined; from 499 characters on, the whole
// given name is reported, and only the first 499 characters are kept.
void StoreCv::setName(const char* head, const char* sep, const char* tail)
{
    if (!head)
        head = "";
    std::size_t lh = std::strlen(head), ls = std::strlen(sep), lt = std::strlen(tail);
    if (lh + ls + lt > MaxName - 1)
        Parse::getIO() << "\nname truncated: " << head << sep << tail << "\n";
    std::size_t used = 0;
    appendCut(name, used, head, lh, MaxName);
    appendCut(name, used, sep, ls, MaxName);
    appendCut(name, used, tail, lt, MaxName);
    name[used] = '\0';
}

StoreCv::operator int() const
{
    StoreEl* el = bank ? bank->getData(name) : nullptr;
    if (!el || el->getType() != StoreEl::TypeInt)
        return 0;
    return el->getInt();
}

StoreCv::operator double() const
{
    StoreEl* el = bank ? bank->getData(name) : nullptr;
    if (!el || el->getType() != StoreEl::TypeDouble)
        return 0.0;
    return el->getDouble();
}

double StoreCv::real() const
{
    StoreEl* el = bank ? bank->getData(name) : nullptr;
    if (el && el->getType() == StoreEl::TypeInt)
        return static_cast<double>(el->getInt());
    if (el && el->getType() == StoreEl::TypeDouble)
        return el->getDouble();
    return 0.0;
}

StoreCv::operator char*() const
{
    StoreEl* el = bank ? bank->getData(name) : nullptr;
    if (!el || el->getType() != StoreEl::TypeString)
        return emptyText;
    return el->getText();
}

int StoreCv::getType() const { return bank ? bank->getType(name) : 0; }

int StoreCv::count() const { return bank ? bank->countItems(name) : 0; }

StoreCv StoreCv::operator[](const char* member) const
{
    if (!member)
        return *this;
    return StoreCv(bank, name, ".", member);
}

StoreCv StoreCv::operator[](int index) const
{
    char item[16];
    item[0] = '[';
    int n = 1 + decimalText(item + 1, index);
    item[n] = ']';
    item[n + 1] = '\0';
    return StoreCv(bank, name, "", item);
}

StoreCv& StoreCv::operator=(int value)
{
    if (!bank)
        return *this;
    AvlSpot spot;
    if (StoreEl* el = bank->findForAssign(name, spot))
        el->setInt(value);
    else
        bank->appElemAt(new StoreEl(name, value), spot);
    return *this;
}

StoreCv& StoreCv::operator=(double value)
{
    if (!bank)
        return *this;
    AvlSpot spot;
    if (StoreEl* el = bank->findForAssign(name, spot))
        el->setDouble(value);
    else
        bank->appElemAt(new StoreEl(name, value), spot);
    return *this;
}

StoreCv& StoreCv::operator=(const char* value)
{
    if (!bank)
        return *this;
    AvlSpot spot;
    if (StoreEl* el = bank->findForAssign(name, spot))
        el->setString(value);
    else
        bank->appElemAt(new StoreEl(name, value), spot);
    return *this;
}

StoreCv& StoreCv::operator=(const unsigned short* value)
{
    char narrow[NameSize];
    std::size_t n = 0;
    while (value && n < MaxName && (value[n] & 0xFF) != 0) {
        narrow[n] = static_cast<char>(value[n] & 0xFF);
        ++n;
    }
    narrow[n] = '\0';
    return *this = static_cast<const char*>(narrow);
}

StoreCv& StoreCv::operator=(const StoreCv& src)
{
    if (!bank || !src.bank)
        return *this;
    StoreEl* el = src.bank->getData(src.name);
    if (!el) {
        VarBank group(src);
        return *this = group;
    }
    return *this = *el;
}

StoreCv& StoreCv::operator=(const StoreEl& src)
{
    if (!bank || !src.hasKnownType())
        return *this;
    AvlSpot spot;
    if (StoreEl* el = bank->findForAssign(name, spot))
        el->assign(src);
    else
        bank->appElemAt(StoreEl::copyOf(name, src), spot);
    return *this;
}

namespace {
void reportUnknownType() { Parse::getIO() << "\nStoreCv::operator= unknown type\n"; }

// Items of a cut-out group ("3]", "3].y") return with "[", all else with
// "."; a leading "0x" marks a hexadecimal member name, not an item.
const char* separatorFor(const char* elName)
{
    bool item = std::isdigit(static_cast<unsigned char>(elName[0])) && elName[1] != 'x' && elName[1] != 'X';
    return item ? "[" : ".";
}
}

// Only the elements present when the paste starts are walked, so pasting
// a bank under a name of its own bank terminates.
StoreCv& StoreCv::operator=(const VarBank& src)
{
    if (!bank)
        return *this;
    int overwriteExisting = bank->hasPrefix(name);
    const StoreEl* stop = src.last;
    for (StoreEl* el = src.first; el; el = el->getNext()) {
        VarBank::noteRead(el);
        StoreCv target(bank, name, separatorFor(el->getName()), el->getName());
        StoreEl* old = overwriteExisting ? bank->find(target.name) : nullptr;
        if (!el->hasKnownType()) {
            reportUnknownType();
        } else if (old) {
            if (!old->assign(*el))
                break;
        } else {
            StoreEl* copy = StoreEl::copyOf(target.name, *el);
            if (!copy)
                break;
            bank->appElem(copy);
        }
        if (el == stop)
            break;
    }
    return *this;
}
