// Remote round trips against a real ZemTester in server mode, next to a
// plain echo peer that answers the same request with the same reply bytes
// in one write: what the server adds over the loopback floor. Then the
// reply of 20,000 drawing commands alone, sent by finalize in this process,
// next to one send of the same bytes.
//
// Usage: zem_server_bench TESTER [RUNS [DIR]]
// The tester stores each script and writes its result file in a scratch
// directory under DIR (default /tmp): on a disk file system their creation
// dominates a small run, on tmpfs (/dev/shm) the server's own cost shows.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>

#include "../common/BenchTiming.h"
#include "GrcBase.h"
#include "GrcDraw.h"
#include "Parse.h"
#include "Tester.h"
#include "WireClient.h"

namespace {

using zembench::median;

using namespace wire;

// The floor: reads each request, answers with the recorded reply in one
// write, then reads the "TSTSTOP".
pid_t startEcho(int port, size_t requestBytes, const std::string& reply)
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = static_cast<in_port_t>(port);
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 1) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        int s = accept(listener, nullptr, nullptr);
        noDelay(s);
        Client in(s);
        std::vector<char> req(requestBytes);
        while (in.readExactly(req.data(), requestBytes)) {
            if (send(s, reply.data(), reply.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(reply.size()))
                break;
            if (!in.readExactly(req.data(), 8))
                break;
        }
        _exit(0);
    }
    close(listener);
    return pid;
}

// The whole reply of one run, as recorded off a plain socket.
std::string recordReply(int sock, const std::string& req)
{
    send(sock, req.data(), req.size(), MSG_NOSIGNAL);
    Client c(sock);
    std::string out;
    auto take = [&](size_t n) {
        std::string b(n, '\0');
        c.readExactly(&b[0], n);
        out += b;
        return b;
    };
    for (int field = 0; field < 2; ++field)
        take(std::atoi(take(8).c_str()));
    for (int n; (n = std::atoi(take(8).c_str())) > 0;)
        take(n);
    int line = std::atoi(take(8).c_str());
    take(8);
    int e = std::atoi(take(8).c_str());
    if (line > 0)
        take(e);
    send(sock, "TSTSTOP", 8, MSG_NOSIGNAL);
    return out;
}

double micros(Client& client, const std::string& req)
{
    auto a = std::chrono::steady_clock::now();
    if (client.exchange(req) == 0) {
        std::fprintf(stderr, "exchange failed\n");
        std::exit(1);
    }
    auto b = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(b - a).count();
}

struct Case {
    const char* name;
    std::string script;
    int runs;
};

// A connected loopback pair: {sending end, receiving end}.
bool loopbackPair(int& sender, int& receiver)
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return false;
    receiver = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(receiver, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return false;
    sender = accept(listener, nullptr, nullptr);
    close(listener);
    noDelay(sender);
    noDelay(receiver);
    return sender >= 0;
}

void recordDrawing(int count)
{
    for (int i = 0; i < count; ++i)
        DrawLine(i % 800, i % 600, (i * 7) % 800, (i * 3) % 600);
}

// The reply alone, in this process: finalize with a recorded list of
// 20,000 commands, against one send of the same bytes; each ends when the
// receiving thread has read the last byte.
void replyAlone(int runs, int console)
{
    int sender, receiver;
    if (!loopbackPair(sender, receiver))
        return;
    GrcBase::m_Exec = 1;
    rsock = sender;
    std::vector<double> viaFinalize, oneSend;
    // Learn the reply's size once, so that both readers read a known count.
    recordDrawing(20000);
    std::string bytes;
    std::thread first([&] {
        Client c(receiver);
        auto take = [&](size_t n) {
            std::string b(n, '\0');
            c.readExactly(&b[0], n);
            bytes += b;
            return std::atoi(b.c_str());
        };
        take(8), take(8);
        for (int n; (n = take(8)) > 0;)
            take(n);
        take(8), take(8), take(8);
    });
    finalize(-1);
    first.join();
    // Each time ends when the reader, waiting in recv all along, holds the
    // last byte; the thread and its buffer are there before the clock runs.
    std::atomic<int> wanted{0}, finished{0};
    std::chrono::steady_clock::time_point end;
    std::thread reader([&] {
        Client c(receiver);
        std::vector<char> got(bytes.size());
        for (int k = 1; k <= 2 * runs; ++k) {
            while (wanted.load() < k)
                std::this_thread::yield();
            c.readExactly(got.data(), got.size());
            end = std::chrono::steady_clock::now();
            finished.store(k);
        }
    });
    int round = 0;
    auto transfer = [&](const std::function<void()>& sendIt) {
        ++round;
        wanted.store(round);
        auto a = std::chrono::steady_clock::now();
        sendIt();
        while (finished.load() < round)
            std::this_thread::yield();
        return std::chrono::duration<double, std::micro>(end - a).count();
    };
    for (int i = 0; i < runs; ++i) {
        recordDrawing(20000);
        viaFinalize.push_back(transfer([] { finalize(-1); }));
        oneSend.push_back(transfer([&] { send(sender, bytes.data(), bytes.size(), MSG_NOSIGNAL); }));
    }
    reader.join();
    std::sort(viaFinalize.begin(), viaFinalize.end());
    std::sort(oneSend.begin(), oneSend.end());
    double f = viaFinalize[runs / 2], o = oneSend[runs / 2];
    dprintf(
        console, "%-26s %8zu %10.1f %10.1f %8.2f\n", "reply of 20,000 commands", bytes.size(), f, o, f / o);
    close(sender);
    close(receiver);
    rsock = -1;
    GrcBase::m_Exec = 0;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zem_server_bench TESTER [RUNS [DIR]]\n");
        return 2;
    }
    int runs = argc > 2 ? std::atoi(argv[2]) : 500;
    std::string base = argc > 3 ? argv[3] : "/tmp";
    std::string dirText = base + "/zem_server_bench_XXXXXX";
    char* dir = &dirText[0];
    if (!mkdtemp(dir) || chdir(dir) != 0)
        return 1;
    const Case cases[] = {
        {"one-test run",
         "deletefile \"r.txt\"\nresultfile \"r.txt\"\noneCheck { a = 1 verify: sum == 2 }\n",
         runs},
        {"20,000 drawing commands",
         "deletefile \"r.txt\"\nresultfile \"r.txt\"\ndrawMany { }\n",
         runs / 10 + 1},
    };
    int port = 30000 + getpid() % 20000;
    pid_t tester = startTester(argv[1], port);
    int sock = connectTo(port);
    if (sock < 0)
        return 1;
    std::printf("server round trips on loopback, files in %s, medians (us)\n", base.c_str());
    std::printf("%-26s %8s %10s %10s %8s\n", "case", "reply B", "tester", "echo", "ratio");
    for (const Case& c : cases) {
        std::string req = request(c.script);
        std::string reply = recordReply(sock, req);
        int echoPort = port + 1;
        pid_t echo = startEcho(echoPort, req.size(), reply);
        int echoSock = connectTo(echoPort);
        Client client(sock), echoClient(echoSock);
        // Alternating, so that both see the same machine.
        std::vector<double> tester, echoed;
        for (int i = 0; i < c.runs; ++i) {
            tester.push_back(micros(client, req));
            echoed.push_back(micros(echoClient, req));
        }
        close(echoSock);
        stop(echo);
        double remote = median(tester), floor = median(echoed);
        std::printf("%-26s %8zu %10.1f %10.1f %8.2f\n", c.name, reply.size(), remote, floor, remote / floor);
    }
    close(sock);
    stop(tester);
    std::fflush(stdout);
    int console = dup(1);
    std::printf("\nthe reply alone, in-process: finalize against one send of the same bytes (us)\n");
    std::printf("%-26s %8s %10s %10s %8s\n", "case", "bytes", "finalize", "one send", "ratio");
    std::fflush(stdout);
    // finalize prints its " <" line: keep it off the table.
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    replyAlone(runs / 10 + 1, console);
    std::string rm = std::string("rm -rf ") + dir;
    return std::system(rm.c_str()) == 0 ? 0 : 1;
}
