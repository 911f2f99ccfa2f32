// The tester's main module: the entry point zemloop that a tester's main
// hands its arguments to, the fatal-signal handler, and the pieces of the
// remote test protocol that the server side uses.
#ifndef ZEM_TESTER_H
#define ZEM_TESTER_H

#include "Transfer.h"

// Runs ZemTester: "-v"/"-V" prints the version, one script argument runs
// that script locally, "-p port" serves viewers. Returns the driver's status
// in local mode, with script errors past line 251 given as 251 (zemExitStatus),
// and -1 for a version or usage request.
int zemloop(int argc, char** argv, int unused = 0);

// The room getIpAddress needs in its text.
const int kHostTextSize = 1024;

// Fills text (room for kHostTextSize bytes) with the host's addresses and
// name; 1 on success, 0 when the host name does not resolve.
int getIpAddress(char* text);

// Handler for SIGBUS, SIGSEGV, SIGFPE, SIGABRT (and SIGALRM under a time
// limit): leaves the broken-test record, replies in server mode, and exits
// with the signal number.
void brktrace(int signal);

// Sends the reply of a run (result file, drawing chunks, error report).
void finalize(int result);

// The connected socket of server mode, or -1.
extern int rsock;

#endif
