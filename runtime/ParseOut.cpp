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

void indent(FileGate& out, int level)
{
    for (int i = 0; i < level; ++i)
        out << "    ";
}

bool isChildLink(const char* name) { return name[0] == '/' && name[1] == '/' && name[2] == '>'; }

bool isLink(const char* name) { return name[0] == '/' && name[1] == '/'; }

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
        if (m_Depth != NoDepthLimit && static_cast<int>((*m_Current)[kDepth]) >= m_Depth)
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
    m_Depth = depth > NoDepthLimit ? NoDepthLimit : (depth < 1 ? 0 : depth);
}

void ParseOut::setTraceRoot(const char* name)
{
    if (!name)
        return;
    std::snprintf(m_RootName, sizeof m_RootName, "%s", name);
}

int ParseOut::getTraceDepth() { return m_Depth; }

char* ParseOut::getTraceRoot() { return m_RootName; }

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
        if (el->getType() == StoreEl::TypeInt && isLink(el->getName())) {
            VarBank* child = isChildLink(el->getName()) ? TraceLinks::get(el->getInt()) : nullptr;
            if (child)
                openFrame(out, stack, child, childLevel);
            continue;
        }
        el->writeLine(out, childLevel, StoreEl::HexBare);
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
            if (el->getType() != StoreEl::TypeInt || !isChildLink(el->getName()))
                continue;
            int handle = el->getInt();
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
    io << Parse::getVerStore().getName() << "\n{\n    ";
    if (reason)
        io << "TEST = \"BROKEN (" << reason << ")\"";
    else
        io << "TEST = \"BROKEN\"";
    io << "\n}\n";
    io.closeOut();
}
