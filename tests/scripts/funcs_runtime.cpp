// Test functions for the tester's script cases: traced call chains, hex
// names, and functions that die of the fatal signals the tester handles.
#include <zem/zem.h>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A chain of traced calls: level n stores its depth and calls level n - 1.
void chain(int n)
{
    ParseOut trace("chain");
    if (trace.m_Node)
        (*trace.m_Node)["n"] = n;
    if (n > 1)
        chain(n - 1);
}

void traceChain()
{
    int depth = Parse::getInStore()["depth"];
    chain(depth);
    Parse::getOutStore()["done"] = depth;
}

void helperG()
{
    ParseOut trace("g");
    if (trace.m_Node)
        (*trace.m_Node)["b"] = 2;
}

// The nine-line shape: a root f with a value, a child g, then another value.
void traceTree()
{
    ParseOut trace("f");
    if (trace.m_Node)
        (*trace.m_Node)["a"] = 1;
    helperG();
    if (trace.m_Node) {
        (*trace.m_Node)["c"] = 3;
        (*trace.m_Node)["0xmask"] = 255;
        (*trace.m_Node)["x"] = 1.5;
        (*trace.m_Node)["s"] = "abc";
    }
    Parse::getOutStore()["0xflags"] = 0x1f;
}

// The faults below are the point of these functions: sanitizer builds must
// let them reach the signal the tester handles.
#define ZEM_DELIBERATE_FAULT __attribute__((no_sanitize("undefined")))

ZEM_DELIBERATE_FAULT void divideByZero()
{
    volatile int zero = Parse::getInStore()["zero"];
    volatile int r = 7 / zero;
    Parse::getOutStore()["r"] = r;
}

ZEM_DELIBERATE_FAULT void writeThroughNull()
{
    volatile int* volatile p = nullptr;
    *p = 1;
}

void busError() { std::raise(SIGBUS); }

int deepen(volatile char* previous, int n)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(n);
    frame[511] = previous ? previous[0] : 0;
    return deepen(frame, n + 1) + frame[511];
}

void overflowStack() { Parse::getOutStore()["r"] = deepen(nullptr, 0); }

// Crashes inside an open trace: the mark goes into the trace.
void crashInTrace()
{
    ParseOut trace("crashInTrace");
    if (trace.m_Node)
        (*trace.m_Node)["step"] = 1;
    writeThroughNull();
}

// Between reports the result file is closed to every writer: text sent
// through the interpreter's adapter from a test function, and the store's
// own messages, are dropped, in the first test of a script as in later ones.
void writeThroughGate()
{
    Parse::getIO() << "gate text\n";
    std::string longName(600, 'n');
    Parse::getOutStore()[longName.c_str()] = 1;
    Parse::getOutStore()["open"] = Parse::getIO().getOutFileName();
}

// Removes the result file: the reports after it start a fresh file.
void removeResultFile() { std::remove(Parse::getLastOutFile()); }

// Dies of a signal the tester does not handle: the reports of the tests
// before it must already be in the result file.
void abortNow() { std::abort(); }

ZemCall abortNowCall("abortNow", abortNow);
ZemCall removeResultFileCall("removeResultFile", removeResultFile);
ZemCall writeThroughGateCall("writeThroughGate", writeThroughGate);
ZemCall traceChainCall("traceChain", traceChain);
ZemCall traceTreeCall("traceTree", traceTree);
ZemCall divideByZeroCall("divideByZero", divideByZero);
ZemCall writeThroughNullCall("writeThroughNull", writeThroughNull);
ZemCall busErrorCall("busError", busError);
ZemCall overflowStackCall("overflowStack", overflowStack);
ZemCall crashInTraceCall("crashInTrace", crashInTrace);

}
