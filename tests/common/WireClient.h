// The plain client of the benchmarks: the wire fields of a run request and
// a reader of the reply that takes exactly the announced bytes, as a viewer
// would, without the viewer; and starting and stopping a tester.
#ifndef ZEM_BENCH_WIRECLIENT_H
#define ZEM_BENCH_WIRECLIENT_H

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wire {

inline std::string number(int n)
{
    char f[16];
    std::snprintf(f, sizeof f, "%07d", n);
    return std::string(f, 8);
}

inline std::string text(const std::string& t)
{
    return number(static_cast<int>(t.size()) + 1) + t + std::string(1, '\0');
}

inline std::string request(const std::string& script, const std::string& path = "bench.txt")
{
    return std::string("TSTEXEC", 8) + number(0) + number(0) + text("") + text(path) +
           number(static_cast<int>(script.size())) + script + number(0);
}

// The viewer's side: buffered reads of exactly the announced bytes.
class Client {
public:
    explicit Client(int sock) : m_Sock(sock) {}
    bool readExactly(char* out, size_t n)
    {
        while (n > 0) {
            if (m_Used == m_Have) {
                ssize_t got = recv(m_Sock, m_Buf, sizeof m_Buf, 0);
                if (got <= 0)
                    return false;
                m_Have = static_cast<size_t>(got);
                m_Used = 0;
            }
            size_t take = std::min(n, m_Have - m_Used);
            if (out) {
                std::memcpy(out, m_Buf + m_Used, take);
                out += take;
            }
            m_Used += take;
            n -= take;
        }
        return true;
    }
    int readNumber()
    {
        char f[9] = {0};
        return readExactly(f, 8) ? std::atoi(f) : -999999;
    }
    // One exchange as the viewer makes it: request, whole reply, "TSTSTOP".
    // Returns the reply's byte count, or 0 when it came up short.
    size_t exchange(const std::string& req)
    {
        if (send(m_Sock, req.data(), req.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(req.size()))
            return 0;
        size_t bytes = 0;
        for (int field = 0; field < 2; ++field) {
            int n = readNumber();
            if (n < 0 || (n > 0 && !readExactly(nullptr, n)))
                return 0;
            bytes += 8 + n;
        }
        for (int n; (n = readNumber()) > 0; bytes += 8 + n) {
            if (!readExactly(nullptr, n))
                return 0;
        }
        int line = readNumber();
        readNumber();
        int e = readNumber();
        bytes += 32;
        if (line > 0 && (e <= 0 || !readExactly(nullptr, e)))
            return 0;
        bytes += line > 0 ? e : 0;
        return send(m_Sock, "TSTSTOP", 8, MSG_NOSIGNAL) == 8 ? bytes : 0;
    }

private:
    int m_Sock;
    char m_Buf[1 << 16];
    size_t m_Have = 0;
    size_t m_Used = 0;
};

inline void noDelay(int sock)
{
    int on = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

inline int connectTo(int port)
{
    for (int i = 0; i < 200; ++i) {
        int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = static_cast<in_port_t>(port);  // unconverted, as the tester binds it
        if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            noDelay(s);
            return s;
        }
        close(s);
        usleep(10000);
    }
    return -1;
}

inline pid_t startTester(const char* tester, int port)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(97);
        std::string p = std::to_string(port);
        execl(tester, tester, "-p", p.c_str(), static_cast<char*>(nullptr));
        _exit(98);
    }
    return pid;
}

inline void stop(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}

#endif
