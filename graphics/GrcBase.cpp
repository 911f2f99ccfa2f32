// The process-wide graphic command list: appending, clearing, encoding into
// 501-byte chunks, decoding a received chunk, and replaying the list.
#include "GrcBase.h"

#include "GrcCommands.h"
#include "GrcField.h"

#include <new>

GrcBase* GrcBase::m_Start = nullptr;
GrcBase* GrcBase::m_Last = nullptr;
int GrcBase::m_Exec = 0;
char GrcBase::m_BuffHead[ChunkSize + 1];
char* GrcBase::m_BuffEnd = GrcBase::m_BuffHead + ChunkSize;

GrcBase::~GrcBase() = default;

void GrcBase::appendList(GrcBase* command)
{
    if (!command)
        return;
    command->m_Next = nullptr;
    if (m_Last)
        m_Last->m_Next = command;
    else
        m_Start = command;
    m_Last = command;
}

void GrcBase::clearList()
{
    GrcBase* command = m_Start;
    while (command) {
        GrcBase* next = command->m_Next;
        delete command;
        command = next;
    }
    m_Start = nullptr;
    m_Last = nullptr;
}

// The buffer ends with the terminator a formatted command would leave, so
// the chunk may also be read as a C string up to its last text.
int GrcBase::encodeList(GrcBase*& cursor)
{
    if (!cursor)
        return 0;
    char* p = m_BuffHead;
    while (cursor && cursor->encode(p, m_BuffEnd))
        cursor = cursor->m_Next;
    *p = '\0';
    return static_cast<int>(p - m_BuffHead);
}

// A default command of the class the code names; null for an unknown code
// or when the object cannot be had.
static GrcBase* makeCommand(int code)
{
    switch (code) {
    case GrcBase::CodeColor: return new (std::nothrow) GrcColor;
    case GrcBase::CodePoint: return new (std::nothrow) GrcPoint;
    case GrcBase::CodeLine: return new (std::nothrow) GrcLine;
    case GrcBase::CodeRect: return new (std::nothrow) GrcRect;
    case GrcBase::CodeArc: return new (std::nothrow) GrcArc;
    case GrcBase::CodePoly: return new (std::nothrow) GrcPoly;
    case GrcBase::CodeText: return new (std::nothrow) GrcText;
    default: return nullptr;
    }
}

// A received clear discards everything received before it.
static bool isClear(const GrcBase* command)
{
    const GrcColor* color = dynamic_cast<const GrcColor*>(command);
    return color && color->m_Mode == 0;
}

int GrcBase::decodeList(int count)
{
    if (count <= 0)
        return 0;
    char* const end = m_BuffHead + (count < ChunkSize ? count : ChunkSize);
    char* p = m_BuffHead;
    while (hasRoom(p, end, 2)) {
        const char* field = p;
        int code = 0;
        GrcBase* command = takeField(field, 2, code) ? makeCommand(code) : nullptr;
        if (!command)
            break;
        if (!command->decode(p, end)) {
            delete command;
            break;
        }
        if (isClear(command))
            clearList();
        appendList(command);
    }
    return static_cast<int>(p - m_BuffHead);
}

void GrcBase::execList()
{
    GrcColor(210, 210, 215, 0).exec();
    GrcColor(0, 0, 0, 1).exec();
    for (GrcBase* command = m_Start; command; command = command->m_Next)
        command->exec();
}
