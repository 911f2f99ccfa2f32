// Test functions for the zem2junit tests: each makes the tester write one
// kind of block (a report, a trace, a broken-test record, a broken trace,
// bytes that XML cannot carry as they are, a test past its time limit, a
// drawing for picture checks), or none at all (a run killed in its test).
#include <zem/zem.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

void square()
{
    int x = Parse::getInStore()["x"];
    Parse::getOutStore()["y"] = x * x;
}

// A trace of two levels, written before the test's report block.
int add(int a, int b)
{
    ParseOut trace("add");
    if (trace.m_Node)
        (*trace.m_Node)["a"] = a;
    return a + b;
}

void tracedSum()
{
    VarBank& in = Parse::getInStore();
    ParseOut trace("tracedSum");
    int sum = add(int(in["a"]), int(in["b"]));
    if (trace.m_Node)
        (*trace.m_Node)["sum"] = sum;
    Parse::getOutStore()["sum"] = sum;
}

void crash() { std::raise(SIGSEGV); }

// The trace's root is named apart from the test, so that only the script
// can tell which test broke.
void crashInTrace()
{
    ParseOut trace("inner");
    if (trace.m_Node)
        (*trace.m_Node)["step"] = 1;
    std::raise(SIGSEGV);
}

// Control bytes, a byte that is no UTF-8, XML's own markup characters and a
// well-formed two-byte character.
void oddBytes()
{
    Parse::getOutStore()["s"] = "a\x01"
                                "b\xff"
                                "c<&>]]>\xc3\xa9"
                                "d\x7f";
}

// SIGKILL cannot be caught: the tester dies without a record.
void killed() { std::raise(SIGKILL); }

void slow() { std::this_thread::sleep_for(std::chrono::seconds(3)); }

// Four commands; "shift" moves the end of the line. It traces what it was
// given, so that its system-out holds a trace besides any attachment.
void house()
{
    VarBank& in = Parse::getInStore();
    int shift = in["shift"];
    ParseOut trace("house");
    if (trace.m_Node)
        (*trace.m_Node)["shift"] = shift;
    SetForeground(200, 0, 0);
    FillRect(0, 0, 30, 40);
    DrawLine(10, 20, 110 + shift, 20);
    DrawTinyString(5, 7, "roof");
}

ZemCall squareCall("square", square);
ZemCall tracedSumCall("tracedSum", tracedSum);
ZemCall crashCall("crash", crash);
ZemCall crashInTraceCall("crashInTrace", crashInTrace);
ZemCall oddBytesCall("oddBytes", oddBytes);
ZemCall slowCall("slow", slow);
ZemCall killedCall("killed", killed);
ZemCall houseCall("house", house);

}  // namespace
