// Local runs of the viewer, carried out by its run worker (RunWorker.h):
// the request goes out, the window stays served while the run lasts, and
// the reply, or the worker's death, comes back as a result.
#ifndef ZEM_LOCALRUN_H
#define ZEM_LOCALRUN_H

#include <string>
#include <sys/types.h>

#include "WorkerWire.h"

struct RunNote;

// What the window does while a run lasts. The viewer keeps itself drawn and
// lets the user stop the run; tests wait plainly or stop on cue.
class RunWaiter {
public:
    virtual ~RunWaiter() = default;
    // Returns once fd may be readable (early returns are harmless), or false
    // when the user asks to stop the run.
    virtual bool wait(int fd) = 0;
};

// A waiter for callers without a window (tools, tests, benchmarks): it
// waits for the reply, up to ms milliseconds at a time, and never stops a
// run.
class PollWaiter : public RunWaiter {
public:
    explicit PollWaiter(int ms = -1) : m_Ms(ms) {}
    bool wait(int fd) override;

private:
    int m_Ms;
};

struct LocalResult {
    WorkerReply reply;
    // The reason, when the run ended the worker ("segm violation",
    // "stopped", ...): the result file then holds the broken-test record.
    std::string broken;
    // The test that was running when the worker ended.
    std::string test;
};

class LocalRun {
public:
    LocalRun() = default;
    ~LocalRun();
    LocalRun(const LocalRun&) = delete;
    LocalRun& operator=(const LocalRun&) = delete;

    // Runs the script at path with the selector and trace settings in the
    // worker, starting one when none is up; the drawing lands in the
    // command list. False, with the message line's text, when no worker
    // could be started: nothing ran.
    bool run(const std::string& path, const std::string& selector, int depth, const std::string& root,
             RunWaiter& waiter, LocalResult& result, std::string& message);
    // The worker's process, or 0 when none is up.
    pid_t worker() const { return m_Pid; }
    // Lets the worker go: it ends once it sees its connection closed.
    void release();

    // A stopped worker that does not end within this time is killed.
    static constexpr int kStopGraceMs = 2000;

private:
    bool start();
    bool send(const std::string& request);
    int await(RunWaiter& waiter, ReplyReader& reader, bool& stopped);
    void bury(LocalResult& result, int got, bool stopped);

    pid_t m_Pid = 0;
    int m_Sock = -1;
    RunNote* m_Note = nullptr;
};

#endif
