// Call traces: the tree of trace nodes, its writer and its deleter, the
// trace settings, and the broken-test record left after a fatal signal.
#include "ParseOut.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "FileGate.h"
#include "Parse.h"
#include "StoreCv.h"
#include "StoreEl.h"
#include "TraceLinks.h"
#include "VarBank.h"

int ParseOut::m_Depth = 0;
char ParseOut::m_RootName[512] = "";
VarBank* ParseOut::m_Root = nullptr;
VarBank* ParseOut::m_Current = nullptr;
int ParseOut::m_RootHandle = 0;
int ParseOut::m_CurrentHandle = 0;

namespace {

const char* const kDepth = "//dp";
const char* const kNextChild = "//id";
const char* const kChild = "//>";
const char* const kParent = "//<";

int intOf(const StoreEl* el)
{
    int v;
    std::memcpy(&v, el->getData(), sizeof v);
    return v;
}

double doubleOf(const StoreEl* el)
{
    double v;
    std::memcpy(&v, el->getData(), sizeof v);
    return v;
}

void indent(FileGate& out, int level)
{
    for (int i = 0; i < level; ++i)
        out << "    ";
}

bool isChildLink(const char* name)
{
    return name[0] == '/' && name[1] == '/' && name[2] == '>';
}

bool isLink(const char* name)
{
    return name[0] == '/' && name[1] == '/';
}

// One value line of a node, at the indent of the node's contents.
void writeValue(FileGate& out, const StoreEl* el, int level)
{
    const char* name = el->getName();
    switch (el->getType()) {
    case 1:
        indent(out, level);
        if (std::strncmp(name, "0x", 2) == 0) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(intOf(el)));
            out << name << " = " << hex << "\n";
        } else {
            out << name << " = " << intOf(el) << "\n";
        }
        break;
    case 2:
        indent(out, level);
        out << name << " = " << doubleOf(el) << "\n";
        break;
    case 3:
        indent(out, level);
        out << name << " = \"" << static_cast<const char*>(el->getData()) << "\"\n";
        break;
    default:
        out << "unknown type: " << name << "\n";
        break;
    }
}

struct Frame {
    VarBank* node;
    const StoreEl* next;  // next element to write in this node
    int level;
};

void openFrame(FileGate& out, std::vector<Frame>& stack, VarBank* node, int level)
{
    indent(out, level);
    out << node->getName() << "()\n";
    indent(out, level);
    out << "{\n";
    stack.push_back(Frame{node, node->getData(nullptr), level});
}

}

ParseOut::ParseOut(const char* functionName) : m_Node(nullptr), m_Handle(0)
{
    if (!functionName)
        functionName = "";
    if (m_Current) {
        if (m_Depth != 100 && static_cast<int>((*m_Current)[kDepth]) >= m_Depth)
            return;
    } else {
        if (m_Depth == 0)
            return;
        if (m_RootName[0] && std::strcmp(m_RootName, functionName) != 0)
            return;
    }
    VarBank* node = new (std::nothrow) VarBank();
    if (!node)
        return;
    int handle = TraceLinks::add(node);
    if (!handle) {
        delete node;
        return;
    }
    node->setName(functionName);
    int parentDepth = 0;
    if (m_Current) {
        int index = (*m_Current)[kNextChild];
        (*m_Current)[kChild][index] = handle;
        (*m_Current)[kNextChild] = index + 1;
        (*node)[kParent] = m_CurrentHandle;
        parentDepth = (*m_Current)[kDepth];
    } else {
        m_Root = node;
        m_RootHandle = handle;
    }
    (*node)[kDepth] = parentDepth + 1;
    m_Node = node;
    m_Handle = handle;
    m_Current = node;
    m_CurrentHandle = handle;
}

ParseOut::~ParseOut()
{
    if (!m_Node || TraceLinks::get(m_Handle) != m_Node)
        return;
    int parent = (*m_Node)[kParent];
    m_Current = TraceLinks::get(parent);
    m_CurrentHandle = m_Current ? parent : 0;
    if (m_Current)
        return;
    FileGate& io = Parse::getIO();
    if (io.openOut(Parse::getLastOutFile())) {
        writeNode(io, m_Node, 0);
        io.closeOut();
    }
    freeNode(m_Node);
    TraceLinks::release(m_Handle);
    if (m_Root == m_Node) {
        m_Root = nullptr;
        m_RootHandle = 0;
    }
}

void ParseOut::setTraceDepth(int depth)
{
    m_Depth = depth > 100 ? 100 : (depth < 1 ? 0 : depth);
}

void ParseOut::setTraceRoot(const char* name)
{
    if (!name)
        return;
    std::snprintf(m_RootName, sizeof m_RootName, "%s", name);
}

int ParseOut::getTraceDepth()
{
    return m_Depth;
}

char* ParseOut::getTraceRoot()
{
    return m_RootName;
}

// Written without recursion: a trace may be as deep as the traced recursion,
// and after a stack overflow this runs on the small signal stack.
void ParseOut::writeNode(FileGate& out, VarBank* node, int level)
{
    if (!node)
        return;
    const int base = level;
    std::vector<Frame> stack;
    openFrame(out, stack, node, level);
    while (!stack.empty()) {
        Frame& top = stack.back();
        const StoreEl* el = top.next;
        if (!el) {
            indent(out, top.level);
            out << "}\n";
            stack.pop_back();
            continue;
        }
        top.next = el->getNext();
        int childLevel = top.level + 1;
        if (el->getType() == 1 && isLink(el->getName())) {
            VarBank* child = isChildLink(el->getName()) ? TraceLinks::get(intOf(el)) : nullptr;
            if (child)
                openFrame(out, stack, child, childLevel);
            continue;
        }
        writeValue(out, el, childLevel);
    }
    if (base == 0)
        out << "\n";
}

// Children before parents; iterative for the same reason as writeNode.
void ParseOut::freeNode(VarBank* node)
{
    std::vector<VarBank*> pending;
    if (node)
        pending.push_back(node);
    while (!pending.empty()) {
        VarBank* current = pending.back();
        pending.pop_back();
        for (const StoreEl* el = current->getData(nullptr); el; el = el->getNext()) {
            if (el->getType() != 1 || !isChildLink(el->getName()))
                continue;
            int handle = intOf(el);
            VarBank* child = TraceLinks::get(handle);
            TraceLinks::release(handle);
            if (child)
                pending.push_back(child);
        }
        delete current;
    }
}

void ParseOut::brkTraceExec(const char* reason)
{
    FileGate& io = Parse::getIO();
    if (m_Root) {
        if (m_Current) {
            std::string mark = "BROKEN";
            if (reason)
                mark = mark + " (" + reason + ")";
            (*m_Current)["TRACE"] = mark.c_str();
        }
        if (io.openOut(Parse::getLastOutFile())) {
            writeNode(io, m_Root, 0);
            io.closeOut();
        }
        freeNode(m_Root);
        TraceLinks::reset();
        m_Root = m_Current = nullptr;
        m_RootHandle = m_CurrentHandle = 0;
        return;
    }
    if (!io.openOut(Parse::getLastOutFile()))
        return;
    io << Parse::getVerStore().getName() << "\n" << "{" << "\n" << "    ";
    if (reason)
        io << "TEST = \"BROKEN (" << reason << ")\"";
    else
        io << "TEST = \"BROKEN\"";
    io << "\n" << "}" << "\n";
    io.closeOut();
}
