// Array actions: elements are numbered from 0 under the array's name in the
// bank of the array statement; braced statement lists become structures.
// An array statement stands at level A; its elements are read at A + 1.
#include "Grammar.h"

#include "DecimalText.h"
#include "Parse.h"
#include "StoreCv.h"
#include "VarBank.h"

#include <cstdlib>
#include <cstring>

int Grammar::openArray()
{
    if (!fitsNesting(m_Level + 1))
        return 0;
    m_Counters[m_Level] = 0;
    ++m_Level;
    return 1;
}

// The handle on the element being stored: item counters[A] - 1 of names[A]
// in member A - 1, or a handle without a bank when its name does not fit.
StoreCv Grammar::currentItem()
{
    int a = m_Level - 1;
    char index[16];
    int indexLength = 2 + decimalText(index, m_Counters[a] - 1);  // with "[" and "]"
    if (!fitsName(std::strlen(m_Names[a]) + static_cast<std::size_t>(indexLength)))
        return StoreCv(nullptr, "");
    return member(m_Family, a - 1)[m_Names[a]][m_Counters[a] - 1];
}

// Members A and A + 1 held the element's nested parts; they start empty
// for the next element.
void Grammar::clearElementScratch()
{
    int a = m_Level - 1;
    member(m_Family, a).clear();
    member(m_Family, a + 1).clear();
}

// Counts the element and assigns a plain value to its item.
template <typename Value>
int Grammar::plainElement(Value value)
{
    ++m_Counters[m_Level - 1];
    StoreCv item = currentItem();
    if (!item.getData())
        return 0;
    item = value;
    clearElementScratch();
    return 1;
}

int Grammar::integerElement(const char* text) { return plainElement(integerOf(text)); }

int Grammar::realElement(const char* text) { return plainElement(realOf(text)); }

int Grammar::stringElement(const char* text) { return plainElement(text); }

int Grammar::referenceElement(const char* name)
{
    ++m_Counters[m_Level - 1];
    int type = lookUp(name);
    if (type == StoreEl::TypeNone)
        return undefinedReference(name);
    StoreCv item = currentItem();
    if (!item.getData() || !assignFound(item, name, type))
        return 0;
    clearElementScratch();
    return 1;
}

int Grammar::openElement()
{
    ++m_Counters[m_Level - 1];
    return openLevel();
}

// The element's statements were written into the scratch member of the
// element level.
int Grammar::closeElement()
{
    --m_Level;
    return storeElementGroup(member(m_Family, m_Level));
}

int Grammar::emptyElement()
{
    ++m_Counters[m_Level - 1];
    return storeElementGroup(member(m_Family, m_Level));
}

int Grammar::storeElementGroup(VarBank& group)
{
    StoreCv item = currentItem();
    if (!item.getData() || !fitsGroup(group, std::strlen(item.getName())))
        return 0;
    item = group;
    clearElementScratch();
    return 1;
}
