// A private X server for GUI tests and benchmarks: Xvfb on a free display
// number, started and ended by this process (by its pid, never by name).
#ifndef ZEM_TESTS_XVFBSERVER_H
#define ZEM_TESTS_XVFBSERVER_H

#include <sys/types.h>

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts Xvfb on a display number it finds free itself, waits until it
    // takes connections, and points DISPLAY at it; 1 on success.
    int start();
    void stop();
    int display() const { return m_Display; }

private:
    pid_t m_Pid = -1;
    int m_Display = -1;
};

// One server per test process, started before the first test and ended
// after the last (a gtest global environment).
void useXvfbForAllTests();

#endif
