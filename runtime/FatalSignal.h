// The fatal signals a function under test may raise, shared by every
// program that runs scripts in its own process: the tester, the viewer's
// batch mode and the viewer's run worker.
#ifndef ZEM_FATALSIGNAL_H
#define ZEM_FATALSIGNAL_H

// The reason written into the broken-test record: "bus error", "floating
// point error", "segm violation", "abort" (assert, an uncaught exception, a
// library's own error handler), and "time limit" for the alarm of a test
// past its limit; null for any other signal.
const char* fatalReason(int sig);

// Installs handler for SIGBUS, SIGSEGV, SIGFPE and SIGABRT on a stack of its
// own, so that a stack overflow in a function under test still reaches it.
void installFatalSignals(void (*handler)(int));
// True for the first fatal signal of the process only: a handler that
// faults or aborts while it writes the record must end at once, not write
// it again.
bool enterFatal();
// Installs handler for one more signal, on the same stack.
void installFatalSignal(int sig, void (*handler)(int));

// The handler of a process that writes results only to its result file:
// the broken-test record, then the process ends with the signal number.
[[noreturn]] void recordFatalSignal(int sig);

#endif
