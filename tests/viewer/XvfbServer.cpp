// Starts Xvfb, which picks a free display number itself and reports it on
// a pipe once it takes connections (-displayfd): parallel test processes
// never race for a number, and never mistake another process's server for
// their own. Ends it by pid.
#include "XvfbServer.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Xvfb needs a while on a busy machine; a sanitizer build even longer.
const int kStartMs = 30000;

pid_t spawnXvfb(int reportFd)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    // A test process that crashes takes its server with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::string fd = std::to_string(reportFd);
    execlp("Xvfb",
           "Xvfb",
           "-displayfd",
           fd.c_str(),
           "-screen",
           "0",
           "1024x768x24",
           "-nolisten",
           "tcp",
           "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
}

// The display number Xvfb writes once it is ready; -1 when it ends first.
int readDisplay(int fd)
{
    std::string text;
    char c;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kStartMs) <= 0)
            return -1;
        ssize_t n = read(fd, &c, 1);
        if (n <= 0 || c == '\n')
            break;
        text += c;
    }
    return text.empty() ? -1 : std::atoi(text.c_str());
}

}

XvfbServer::~XvfbServer() { stop(); }

int XvfbServer::start()
{
    int fds[2];
    if (pipe(fds) != 0)
        return 0;
    m_Pid = spawnXvfb(fds[1]);
    close(fds[1]);
    int number = m_Pid > 0 ? readDisplay(fds[0]) : -1;
    close(fds[0]);
    if (number < 0) {
        stop();
        return 0;
    }
    m_Display = number;
    std::string name = ":" + std::to_string(number);
    setenv("DISPLAY", name.c_str(), 1);
    return 1;
}

// A server that does not end within two seconds of SIGTERM is killed: a
// test process that has finished never waits on its X server.
void XvfbServer::stop()
{
    if (m_Pid > 0) {
        kill(m_Pid, SIGTERM);
        pid_t ended = 0;
        for (int i = 0; i < 100 && (ended = waitpid(m_Pid, nullptr, WNOHANG)) == 0; ++i)
            usleep(20000);
        if (ended == 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, nullptr, 0);
        }
    }
    m_Pid = -1;
    m_Display = -1;
}
