// Starts Xvfb on a display number with no lock file, waits until it takes
// connections, and ends it by pid. A number taken by a parallel test
// process makes Xvfb exit at once; the next number is tried then.
#include "XvfbServer.h"

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int displayLooksFree(int number)
{
    std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
    std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    return access(lock.c_str(), F_OK) != 0 && access(socket.c_str(), F_OK) != 0;
}

pid_t spawnXvfb(const std::string& name)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    // A test process that crashes takes its server with it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execlp("Xvfb",
           "Xvfb",
           name.c_str(),
           "-screen",
           "0",
           "1024x768x24",
           "-nolisten",
           "tcp",
           "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
}

}

XvfbServer::~XvfbServer() { stop(); }

int XvfbServer::tryDisplay(int number)
{
    std::string name = ":" + std::to_string(number);
    m_Pid = spawnXvfb(name);
    if (m_Pid < 0)
        return 0;
    for (int wait = 0; wait < 100; ++wait) {
        int status;
        if (waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
            m_Pid = -1;
            return 0;
        }
        if (Display* probe = XOpenDisplay(name.c_str())) {
            XCloseDisplay(probe);
            m_Display = number;
            setenv("DISPLAY", name.c_str(), 1);
            return 1;
        }
        usleep(50000);
    }
    stop();
    return 0;
}

int XvfbServer::start()
{
    for (int number = 40 + getpid() % 200; number < 1000; ++number)
        if (displayLooksFree(number) && tryDisplay(number))
            return 1;
    return 0;
}

void XvfbServer::stop()
{
    if (m_Pid > 0) {
        kill(m_Pid, SIGTERM);
        waitpid(m_Pid, nullptr, 0);
    }
    m_Pid = -1;
    m_Display = -1;
}
