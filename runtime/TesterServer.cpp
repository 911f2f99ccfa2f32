// ZemTester's server mode: one viewer at a time on a TCP port, its command
// loop, the run request of "TSTEXEC" and the reply that finalize sends.
#include "Tester.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "PeerStream.h"
#include "TesterServer.h"
#include "TimeLimit.h"
#include "ZemCall.h"

namespace {

const int kPiece = 1 << 14;

// Request buffers, terminator included.
const int kRootSize = 500;
const int kPathSize = 260;
const int kSelectorSize = 500;
// gethostname's buffer.
const int kHostNameSize = 500;

// The kind of the last accepted command; the same kind twice in a row ends
// the connection.
enum Kind { kNone = 0, kPing1 = 1, kPing2 = 2, kStop = 3, kExec = 4 };

struct CommandName {
    const char* text;
    Kind kind;
};

const CommandName kCommands[] = {
    {"TSTPNG1", kPing1},
    {"TSTPNG2", kPing2},
    {"TSTSTOP", kStop},
    {"TSTEXEC", kExec},
};

bool readTextField(char* buffer, int size)
{
    int n;
    if (!PeerStream::readNumber(n))
        return false;
    return PeerStream::readText(n, buffer, size);
}

// Stores the script content of a request; false abandons the request.
bool storeScript(const char* path, int n)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        return false;
    char piece[kPiece];
    bool whole = true;
    while (n > 0) {
        int want = n < kPiece ? n : kPiece;
        if (PeerStream::read(piece, want) != want) {
            whole = false;
            break;
        }
        for (int done = 0; done < want;) {
            ssize_t w = write(fd, piece + done, want - done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                break;  // a full disk: the run finds what was written
            done += static_cast<int>(w);
        }
        n -= want;
    }
    close(fd);
    return whole;
}

// Prints the selector's name part: its text up to the first "0".
void printSelector(const char* selector)
{
    int len = static_cast<int>(std::strlen(selector));
    int end = 0;
    while (end < len && selector[end] != '0')
        ++end;
    std::printf("> %.*s", end, selector);
    std::fflush(stdout);
}

void serveRequest()
{
    int reserved, depth;
    if (!PeerStream::readNumber(reserved) || !PeerStream::readNumber(depth))
        return;
    char root[kRootSize];
    if (!readTextField(root, sizeof root))
        return;
    ParseOut::setTraceDepth(depth);
    ParseOut::setTraceRoot(root);
    int pathLen;
    char path[kPathSize];
    if (!PeerStream::readNumber(pathLen) || pathLen > kPathSize ||
        !PeerStream::readText(pathLen, path, sizeof path))
        return;
    int contentLen;
    if (PeerStream::readNumber(contentLen) && contentLen > 0 && !storeScript(path, contentLen))
        return;
    int selectorLen;
    if (!PeerStream::readNumber(selectorLen) || selectorLen == -1)
        return;
    char selector[kSelectorSize];
    selector[0] = '\0';
    if (selectorLen > 0 && !PeerStream::readText(selectorLen, selector, sizeof selector))
        return;
    printSelector(selector);
    int r = Parse::parseLoop(path, selector, TimeLimit::start);
    finalize(r);
}

Kind kindOf(const char* command)
{
    for (const CommandName& c : kCommands) {
        if (std::memcmp(command, c.text, PeerStream::kNumberBytes) == 0)
            return c.kind;
    }
    return kNone;
}

// A run that did not read its script (-1 busy, -2 unreadable script) wrote
// no result file: the name left from an earlier run must not be sent.
bool wroteResultFile(int result) { return result != -1 && result != -2; }

// Plain descriptors rather than stdio: fewer system calls per run, and safe
// to use from the fatal-signal handler, which sends this reply too.
void putResultFile(int result)
{
    const char* name = Parse::getLastOutFile();
    int fd = (wroteResultFile(result) && name[0]) ? open(name, O_RDONLY) : -1;
    struct stat info;
    if (fd >= 0 && fstat(fd, &info) != 0) {
        close(fd);
        fd = -1;
    }
    if (fd < 0) {
        PeerStream::putNumber(0);
        PeerStream::putNumber(0);
        return;
    }
    int nameLen = static_cast<int>(std::strlen(name)) + 1;
    PeerStream::putNumber(nameLen);
    PeerStream::put(name, nameLen);
    // A Number carries at most seven digits: a larger file is sent cut.
    off_t size = info.st_size;
    int left =
        size < 0 ? 0 : (size > PeerStream::kNumberMax ? PeerStream::kNumberMax : static_cast<int>(size));
    PeerStream::putNumber(left);
    char piece[kPiece];
    while (left > 0) {
        int want = left < kPiece ? left : kPiece;
        ssize_t got = read(fd, piece, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            std::memset(piece, 0, want);  // the file shrank: keep the promised count
            got = want;
        }
        PeerStream::put(piece, static_cast<int>(got));
        left -= static_cast<int>(got);
    }
    close(fd);
}

void putErrorReport()
{
    int line = Parse::getErrLine();
    const char* text = Parse::getErrString();
    int len = static_cast<int>(std::strlen(text)) + 1;
    PeerStream::putNumber(line);
    PeerStream::putNumber(Parse::getErrPos());
    PeerStream::putNumber(len);
    if (line > 0)
        PeerStream::put(text, len);
}

int openListener(int port)
{
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock < 0) {
        std::printf("no socket\n");
        std::exit(1);
    }
    // The tester closes each connection first, which leaves it in TIME_WAIT
    // on this port; without address reuse the next bind would fail and the
    // tester would end with "no bind" instead of listening again.
    int reuse = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = INADDR_ANY;
    // Stored unconverted on purpose: the viewer does the same, so both meet.
    addr.sin_port = static_cast<in_port_t>(port);
    if (bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        std::printf("no bind\n");
        std::exit(1);
    }
    if (listen(sock, 1) != 0) {
        std::printf("no listen\n");
        std::exit(1);
    }
    return sock;
}

}

void serveConnection(int sock)
{
    // Replies are written whole and at once; waiting to coalesce them with
    // later bytes only delays the viewer.
    int on = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    PeerStream::attach(sock);
    Kind last = kNone;
    char command[PeerStream::kNumberBytes];
    for (;;) {
        if (!PeerStream::awaitCommand())
            return;
        if (PeerStream::read(command, PeerStream::kNumberBytes) != PeerStream::kNumberBytes)
            return;
        if (std::memcmp(command, "TST", 3) != 0)
            return;
        if (std::memcmp(command, "TSTQUIT", PeerStream::kNumberBytes) == 0) {
            std::fflush(nullptr);
            std::exit(0);
        }
        Kind kind = kindOf(command);
        if (kind == kNone)
            continue;
        if (kind == last)
            return;
        last = kind;
        if (kind == kExec)
            serveRequest();
    }
}

void finalize(int result)
{
    std::printf(" <\n");
    std::fflush(stdout);
    // The reply goes to rsock, also when a caller set it without a
    // connection of the command loop (the signal handler, tests).
    if (PeerStream::socket() != rsock)
        PeerStream::attach(rsock);
    putResultFile(result);
    PeerStream::putDrawing();
    putErrorReport();
    PeerStream::flush();
    // Freeing a large picture takes a while: the viewer need not wait for it.
    GrcBase::clearList();
}

int getIpAddress(char* text)
{
    text[0] = '\0';
    char host[kHostNameSize];
    if (gethostname(host, sizeof host) != 0)
        return 0;
    host[sizeof host - 1] = '\0';
    hostent* entry = gethostbyname(host);
    if (!entry)
        return 0;
    const int size = kHostTextSize;
    // Addresses stop while the name, its parentheses and one more address
    // still fit.
    int used = 0;
    for (char** a = entry->h_addr_list; *a && used < size - kHostNameSize - 100; ++a) {
        for (int i = 0; i < entry->h_length; ++i) {
            used += std::snprintf(
                text + used, size - used, i ? ".%u" : "%u", static_cast<unsigned char>((*a)[i]));
        }
        used += std::snprintf(text + used, size - used, " ");
    }
    std::snprintf(text + used, size - used, "(%s)", host);
    return 1;
}

int serveForever(int port)
{
    GrcBase::m_Exec = 1;
    char hostText[kHostTextSize];
    if (getIpAddress(hostText))
        std::printf("host: %s\n", hostText);
    // One listening socket for the whole life of the tester: closing it after
    // each viewer would reset a viewer that connected meanwhile, after its
    // connect had already succeeded. Such a viewer is served next instead.
    int listener = openListener(port);
    for (;;) {
        std::printf("waiting...");
        std::fflush(stdout);
        rsock = accept(listener, nullptr, nullptr);
        if (rsock < 0) {
            std::printf("no accept");
            std::exit(1);
        }
        std::printf("accepted\n");
        std::fflush(stdout);
        serveConnection(rsock);
        close(rsock);
        rsock = -1;
    }
}
