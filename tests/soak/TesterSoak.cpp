// A soak run: one ZemTester serving many remote runs in a row, of mixed
// kinds (a drawing, a syntax error, failed verifications, a selector, a
// store-only request). Every reply must hold what its kind promises, and the
// tester's open descriptors and resident memory must stay flat.
//
// Usage: zem_soak TESTER RUNS
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>

#include "WireClient.h"

namespace {

using zemtest::command;
using zemtest::number;
using zemtest::text;

// The growth of resident memory that counts as flat: allocator pools and
// stdio buffers settle in the first runs, after which nothing may grow.
const long kFlatKilobytes = 1024;

struct Kind {
    const char* script;
    // Empty: every test; null: store only (the Number -1); else the test of
    // that name, selected as the viewer selects it.
    const char* selector;
    int errorLine;
    bool drawing;
};

const Kind kKinds[] = {
    {"deletefile \"r.txt\"\nresultfile \"r.txt\"\ndrawHouse { verify: drawn == 1 }\n", "", 0, true},
    {"deletefile \"r.txt\"\nresultfile \"r.txt\"\nadd { a = 1 b = }\n", "", 3, false},
    {"deletefile \"r.txt\"\nresultfile \"r.txt\"\nadd { a = 1 b = 2 verify: sum == 4 }\n", "", 0, false},
    {"deletefile \"r.txt\"\nresultfile \"r.txt\"\ndrawHouse { }\nadd { a = 1 b = 2 verify: sum == 3 }\n",
     "add",
     0,
     false},
    {"add { a = 1 b = 2 }\n", nullptr, 0, false},
};

std::string request(const Kind& kind, int run)
{
    std::string path = "soak" + std::to_string(run % 7) + ".txt";
    std::string script = kind.script;
    std::string selector = number(-1);
    if (kind.selector && kind.selector[0])
        selector = text(kind.selector + std::string("0") + std::to_string(script.find(kind.selector)));
    else if (kind.selector)
        selector = number(0);
    return command("TSTEXEC") + number(0) + number(run % 3) + text(run % 2 ? "fibonacci" : "") + text(path) +
           number(static_cast<int>(script.size())) + script + selector;
}

int openDescriptors(pid_t pid)
{
    std::string dir = "/proc/" + std::to_string(pid) + "/fd";
    DIR* d = opendir(dir.c_str());
    int n = 0;
    while (d && readdir(d))
        ++n;
    if (d)
        closedir(d);
    return n - 2;
}

long residentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            break;
        }
    }
    return value;
}

bool oneRun(wire::Client& client, int sock, int run)
{
    const Kind& kind = kKinds[run % (sizeof kKinds / sizeof kKinds[0])];
    std::string req = request(kind, run);
    if (!kind.selector)
        return send(sock, req.data(), req.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(req.size()) &&
               send(sock, "TSTSTOP", 8, MSG_NOSIGNAL) == 8;
    wire::Client::Reply reply;
    if (client.exchange(req, &reply) == 0)
        return false;
    bool named = reply.resultFile == std::string("r.txt", 6);
    return named && reply.contentBytes > 0 && reply.errorLine == kind.errorLine &&
           (reply.chunks > 0) == kind.drawing;
}

}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: zem_soak TESTER RUNS\n");
        return 2;
    }
    int runs = std::atoi(argv[2]);
    char dir[] = "/tmp/zem_soak_XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0)
        return 2;
    int port = 20000 + getpid() % 20000;
    pid_t tester = wire::startTester(argv[1], port);
    int sock = wire::connectTo(port);
    if (sock < 0) {
        std::fprintf(stderr, "soak: no tester on port %d\n", port);
        return 1;
    }
    wire::Client client(sock);
    int warm = runs / 10, fdStart = 0;
    long rssStart = 0;
    int failed = -1;
    for (int run = 0; run < runs && failed < 0; ++run) {
        if (run == warm) {
            fdStart = openDescriptors(tester);
            rssStart = residentKilobytes(tester);
        }
        if (!oneRun(client, sock, run))
            failed = run;
    }
    int fdEnd = openDescriptors(tester);
    long rssEnd = residentKilobytes(tester);
    close(sock);
    wire::stop(tester);
    std::string rm = std::string("rm -rf ") + dir;
    if (std::system(rm.c_str()) != 0)
        std::fprintf(stderr, "soak: %s left behind\n", dir);
    std::printf("soak: %d runs, descriptors %d -> %d, resident %ld kB -> %ld kB (after %d warm-up runs)\n",
                runs,
                fdStart,
                fdEnd,
                rssStart,
                rssEnd,
                warm);
    if (failed >= 0) {
        std::printf("soak: run %d did not get the reply its kind promises\n", failed);
        return 1;
    }
    bool flat = fdEnd == fdStart && rssEnd - rssStart <= kFlatKilobytes;
    if (!flat)
        std::printf("soak: not flat (at most %ld kB of growth allowed)\n", kFlatKilobytes);
    return flat ? 0 : 1;
}
