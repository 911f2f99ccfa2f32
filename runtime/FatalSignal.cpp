// Fatal signals of functions under test: their reasons, the handler's own
// stack, and the plain handler that leaves the broken-test record.
#include "FatalSignal.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "ParseOut.h"

namespace {

// The handler must hold the trace writer and the result file's stream,
// hence its size.
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

}

const char* fatalReason(int sig)
{
    switch (sig) {
    case SIGBUS: return "bus error";
    case SIGFPE: return "floating point error";
    case SIGSEGV: return "segm violation";
    case SIGALRM: return "time limit";
    case SIGABRT: return "abort";
    default: return nullptr;
    }
}

void installFatalSignals(void (*handler)(int))
{
    installSignalStack();
    installFatalSignal(SIGBUS, handler);
    installFatalSignal(SIGSEGV, handler);
    installFatalSignal(SIGFPE, handler);
    installFatalSignal(SIGABRT, handler);
}

bool enterFatal()
{
    static volatile sig_atomic_t entered = 0;
    if (entered)
        return false;
    entered = 1;
    return true;
}

void installFatalSignal(int sig, void (*handler)(int))
{
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = handler;
    sa.sa_flags = SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    sigaction(sig, &sa, nullptr);
}

void recordFatalSignal(int sig)
{
    if (!enterFatal())
        _exit(sig);
    ParseOut::brkTraceExec(fatalReason(sig));
    std::fflush(nullptr);
    // The interrupted code may have left any state behind: skip destructors.
    _exit(sig);
}
