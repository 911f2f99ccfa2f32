// The viewer's run worker: a child process, forked from the viewer, that
// runs its local scripts, so that a function under test that crashes or
// never returns takes down only the worker. It keeps running between runs,
// so that functions under test keep their state from one run to the next as
// they would in the viewer itself. It touches no X resource and ends with
// _exit.
#ifndef ZEM_RUNWORKER_H
#define ZEM_RUNWORKER_H

#include <csignal>

// A page shared between the viewer and its worker, written by the worker
// as a run goes on: what the viewer needs to write the broken-test record
// itself when the worker died without writing it.
struct RunNote {
    enum { kNameSize = 512 };
    volatile sig_atomic_t inRun;
    char resultFile[kNameSize];
    char test[kNameSize];
};

namespace RunWorker {

// The reason of the record a stopped run leaves.
extern const char* const kStopped;

// Serves the requests that arrive on sock, one run each, until the viewer
// closes its end. note is the shared page.
[[noreturn]] void serve(int sock, RunNote* note);

}

#endif
