// A plain client of the remote protocol for soak runs and benchmarks: a run
// request, a reader of the reply that takes exactly the announced bytes, as
// a viewer would, without the viewer; and starting and stopping a tester.
#ifndef ZEM_TESTS_WIRECLIENT_H
#define ZEM_TESTS_WIRECLIENT_H

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

#include "WireFields.h"

namespace wire {

using zemtest::number;
using zemtest::text;

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
    // What a reply held, for callers that check it.
    struct Reply {
        std::string resultFile;
        int contentBytes = 0;
        int chunks = 0;
        int errorLine = 0;
    };
    // One exchange as the viewer makes it: request, whole reply, "TSTSTOP".
    // Returns the reply's byte count, or 0 when it came up short.
    size_t exchange(const std::string& req, Reply* reply = nullptr)
    {
        Reply seen;
        if (send(m_Sock, req.data(), req.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(req.size()))
            return 0;
        int nameBytes = readNumber();
        seen.resultFile.assign(nameBytes > 0 ? nameBytes : 0, '\0');
        if (nameBytes < 0 || (nameBytes > 0 && !readExactly(&seen.resultFile[0], nameBytes)))
            return 0;
        seen.contentBytes = readNumber();
        if (seen.contentBytes < 0 || (seen.contentBytes > 0 && !readExactly(nullptr, seen.contentBytes)))
            return 0;
        size_t bytes = 16 + nameBytes + seen.contentBytes;
        for (int n; (n = readNumber()) > 0; bytes += 8 + n, ++seen.chunks) {
            if (!readExactly(nullptr, n))
                return 0;
        }
        seen.errorLine = readNumber();
        readNumber();
        int e = readNumber();
        bytes += 32;
        if (seen.errorLine > 0 && (e <= 0 || !readExactly(nullptr, e)))
            return 0;
        bytes += seen.errorLine > 0 ? e : 0;
        if (reply)
            *reply = seen;
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
