// The test-function registry. Function addresses are wider than the bank's
// integers, so the bank maps each name to a slot of a table of its own.
#include "ZemCall.h"

#include "StoreCv.h"
#include "VarBank.h"

#include <cstdlib>
#include <new>

VarBank* ZemCall::m_Registry = nullptr;
int ZemCall::m_Count = 0;

namespace {

// Plain statics (constant-initialised), so registration from other modules'
// static constructors never finds them unbuilt.
ZemCall::Function* slots = nullptr;
int slotCount = 0;
int slotCapacity = 0;

// What getFunc(nullptr) returns while the registry exists.
void registryMark() {}

// A slot for function; 0 when the table cannot grow.
int addSlot(ZemCall::Function function)
{
    if (slotCount == slotCapacity) {
        int capacity = slotCapacity ? slotCapacity * 2 : 32;
        void* grown = std::realloc(slots, sizeof(ZemCall::Function) * static_cast<std::size_t>(capacity));
        if (!grown)
            return 0;
        slots = static_cast<ZemCall::Function*>(grown);
        slotCapacity = capacity;
    }
    slots[slotCount++] = function;
    return slotCount;
}

}  // namespace

ZemCall::ZemCall(const char* name, Function function)
{
    ++m_Count;
    if (!m_Registry)
        m_Registry = new (std::nothrow) VarBank();
    if (!m_Registry || !name)
        return;
    StoreCv entry = (*m_Registry)[name];
    int slot = entry;
    if (slot > 0) {
        slots[slot - 1] = function;
        return;
    }
    slot = addSlot(function);
    if (slot)
        entry = slot;
}

ZemCall::~ZemCall()
{
    if (--m_Count > 0 || !m_Registry)
        return;
    delete m_Registry;
    m_Registry = nullptr;
    std::free(slots);
    slots = nullptr;
    slotCount = slotCapacity = 0;
}

ZemCall::Function ZemCall::getFunc(const char* name)
{
    if (!name)
        return m_Registry ? registryMark : nullptr;
    if (!m_Registry)
        return nullptr;
    int slot = (*m_Registry)[name];
    return slot > 0 && slot <= slotCount ? slots[slot - 1] : nullptr;
}
