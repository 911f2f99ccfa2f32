// The viewer's end of its run worker: starting it, one request and its reply
// per run, and the worker's end. A worker that died is buried here: when it
// could not write the broken-test record itself, the viewer writes it, with
// the same writer, from what the worker noted on the shared page.
#include "LocalRun.h"

#include <cerrno>
#include <climits>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Parse.h"
#include "ParseOut.h"
#include "RunWorker.h"
#include "VarBank.h"
#include "FatalSignal.h"

namespace {

using Clock = std::chrono::steady_clock;

const int kPollMs = 100;
const size_t kReadSize = 1 << 16;

// The worker keeps only its end of the connection: the viewer's display,
// files and sockets stay the viewer's alone.
void closeAllBut(int keep)
{
    if (keep > 3)
        close_range(3, keep - 1, 0);
    close_range(keep + 1, ~0U, 0);
}

std::string reasonOfSignal(int sig, bool stopped)
{
    if (sig == SIGTERM || (sig == SIGKILL && stopped))
        return RunWorker::kStopped;
    if (const char* known = fatalReason(sig))
        return known;
    if (sig == SIGABRT)
        return "abort";
    return "signal " + std::to_string(sig);
}

std::string reasonOfStatus(int status, bool stopped)
{
    if (WIFSIGNALED(status))
        return reasonOfSignal(WTERMSIG(status), stopped);
    if (stopped)
        return RunWorker::kStopped;
    return "exit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

// Drains what the worker has sent: 1 reply complete, 0 worker gone,
// -1 bytes that are no reply, 2 nothing more for now.
int drain(int sock, ReplyReader& reader)
{
    char buffer[kReadSize];
    for (;;) {
        ssize_t n = recv(sock, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            int got = reader.feed(buffer, static_cast<size_t>(n));
            if (got != 0)
                return got;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return 2;
        return 0;
    }
}

void pollOnce(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, ms);
}

}

bool PollWaiter::wait(int fd)
{
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, m_Ms);
    return true;
}

LocalRun::~LocalRun() { release(); }

void LocalRun::release()
{
    if (m_Sock >= 0)
        close(m_Sock);
    if (m_Note)
        munmap(m_Note, sizeof *m_Note);
    m_Sock = -1;
    m_Note = nullptr;
    m_Pid = 0;
}

bool LocalRun::start()
{
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return false;
    void* page = mmap(nullptr, sizeof(RunNote), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    RunNote* note = static_cast<RunNote*>(page);
    // Output the viewer has not written yet must not be written twice.
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        closeAllBut(fds[1]);
        RunWorker::serve(fds[1], note);
    }
    int saved = errno;
    close(fds[1]);
    m_Sock = fds[0];
    m_Note = note;
    m_Pid = pid > 0 ? pid : 0;
    if (pid < 0) {
        release();
        errno = saved;
        return false;
    }
    return true;
}

bool LocalRun::send(const std::string& request)
{
    size_t done = 0;
    while (done < request.size()) {
        ssize_t n = ::send(m_Sock, request.data() + done, request.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Waits for the reply while the waiter serves the window. A stop asks the
// worker to end its run; one that does not within the grace time is killed.
int LocalRun::await(RunWaiter& waiter, ReplyReader& reader, bool& stopped)
{
    Clock::time_point killAt;
    bool killed = false;
    for (;;) {
        if (!stopped && !waiter.wait(m_Sock)) {
            stopped = true;
            kill(m_Pid, SIGTERM);
            killAt = Clock::now() + std::chrono::milliseconds(kStopGraceMs);
        } else if (stopped) {
            pollOnce(m_Sock, kPollMs);
            if (!killed && Clock::now() >= killAt) {
                kill(m_Pid, SIGKILL);
                killed = true;
            }
        }
        int got = drain(m_Sock, reader);
        if (got != 2)
            return got;
    }
}

// The worker is ended and reaped. When it died without its record (killed,
// or ended in a way no handler saw), the viewer writes the record.
void LocalRun::bury(LocalResult& result, int got, bool stopped)
{
    bool reported = got == 1 && result.reply.signal != 0;
    if (!reported)
        kill(m_Pid, SIGKILL);
    int status = 0;
    while (waitpid(m_Pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (reported) {
        result.broken = reasonOfSignal(result.reply.signal, stopped);
    } else if (got != 1 && m_Note->inRun) {
        result.broken = reasonOfStatus(status, stopped);
        result.reply = WorkerReply();
        result.reply.resultFile = m_Note->resultFile;
        if (m_Note->resultFile[0]) {
            Parse::setLastOutFile(m_Note->resultFile);
            Parse::getVerStore().setName(m_Note->test);
            ParseOut::brkTraceExec(result.broken.c_str());
        }
    }
    if (!result.broken.empty())
        result.test = m_Note->test;
    release();
}

bool LocalRun::run(const std::string& path, const std::string& selector, int depth, const std::string& root,
                   RunWaiter& waiter, LocalResult& result, std::string& message)
{
    result = LocalResult();
    char here[PATH_MAX];
    std::string request =
        WorkerWire::request(depth, root, path, selector, getcwd(here, sizeof here) ? here : ".");
    bool sent = (m_Pid != 0 || start()) && send(request);
    if (!sent && m_Pid != 0) {
        // The worker ended since the last run (a function that called exit).
        LocalResult ignored;
        bury(ignored, 0, false);
        sent = start() && send(request);
    }
    if (!sent) {
        message = std::string("not run: no worker process: ") + std::strerror(errno);
        return false;
    }
    ReplyReader reader;
    bool stopped = false;
    int got = await(waiter, reader, stopped);
    result.reply = reader.reply();
    if (got != 1 || result.reply.signal != 0 || stopped)
        bury(result, got, stopped);
    return true;
}
