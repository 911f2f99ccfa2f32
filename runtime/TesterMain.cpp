// ZemTester's entry: command line, local mode, and the fatal-signal handler.
// Server mode lives in TesterServer.cpp; both share brktrace.
#include "Tester.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "ExitStatus.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "TesterServer.h"
#include "ZemCall.h"

int rsock = -1;

namespace {

// The handler runs on a stack of its own so that a stack overflow in a
// function under test still leaves its record. It must hold the trace
// writer and the result file's stream, hence its size.
const size_t kSignalStackSize = 1 << 20;
alignas(16) char signalStack[kSignalStackSize];

void installSignalStack()
{
    stack_t ss;
    ss.ss_sp = signalStack;
    ss.ss_size = kSignalStackSize;
    ss.ss_flags = 0;
    sigaltstack(&ss, nullptr);
}

void installHandlers()
{
    installSignalStack();
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = brktrace;
    sa.sa_flags = SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGBUS, &sa, nullptr);
    sigaction(SIGSEGV, &sa, nullptr);
    sigaction(SIGFPE, &sa, nullptr);
}

int usage()
{
    std::printf("usage: ZemTester testscript\n");
    std::printf("       ZemTester -p  portId\n");
    std::printf("       ZemTester -v\n");
    return -1;
}

int runLocal(const char* script)
{
    ParseOut::setTraceDepth(ParseOut::NoDepthLimit);
    ParseOut::setTraceRoot("");
    int r = Parse::parseLoop(script, "", testStartsHere);
    printVerdict(r, script);
    return r;
}

const char* reasonOf(int sig)
{
    switch (sig) {
    case SIGBUS: return "bus error";
    case SIGFPE: return "floating point error";
    case SIGSEGV: return "segm violation";
    default: return nullptr;
    }
}

}

void brktrace(int sig)
{
    ParseOut::brkTraceExec(reasonOf(sig));
    if (GrcBase::m_Exec == 1)
        finalize(0);
    std::fflush(nullptr);
    // The interrupted code may have left any state behind: skip destructors.
    _exit(sig);
}

int zemloop(int argc, char** argv, int)
{
    if (argc == 2 && (std::strcmp(argv[1], "-v") == 0 || std::strcmp(argv[1], "-V") == 0)) {
        std::printf("ZemTester vers. 1.56B\n");
        return -1;
    }
    if (argc == 2) {
        installHandlers();
        return zemExitStatus(runLocal(argv[1]));
    }
    if (argc == 3 && std::strcmp(argv[1], "-p") == 0) {
        installHandlers();
        return serveForever(std::atoi(argv[2]));
    }
    return usage();
}
