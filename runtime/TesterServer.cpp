// ZemTester's server mode: one viewer at a time on a TCP port, its command
// loop, the run request of "TSTEXEC" and the reply that finalize sends.
#include "Tester.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "ZemCall.h"

namespace {

const int kNumberBytes = 8;
const int kPiece = 500;
const int kNumberMax = 9999999;
const int kNumberMin = -999999;

// Request buffers, terminator included.
const int kRootSize = 500;
const int kPathSize = 260;
const int kSelectorSize = 500;

enum Kind { kNone = 0, kPing1 = 1, kPing2 = 2, kStop = 3, kExec = 4 };

int sendNumber(int sock, int value)
{
    if (value > kNumberMax)
        value = kNumberMax;
    if (value < kNumberMin)
        value = kNumberMin;
    char field[kNumberBytes + 1];
    std::snprintf(field, sizeof field, "%07d", value);
    return deliver(sock, field, kNumberBytes);
}

// Reads one Number; false on a short read.
bool readNumber(int sock, int& value)
{
    char field[kNumberBytes + 1];
    if (receive(sock, field, kNumberBytes) != kNumberBytes)
        return false;
    field[kNumberBytes] = '\0';
    value = std::atoi(field);
    return true;
}

// Reads n bytes of which the first size - 1 at most are kept, NUL-terminated;
// the rest is read and dropped so that the stream stays in step.
bool readText(int sock, int n, char* buffer, int size)
{
    buffer[0] = '\0';
    int kept = 0;
    char piece[kPiece];
    while (n > 0) {
        int want = n < kPiece ? n : kPiece;
        if (receive(sock, piece, want) != want)
            return false;
        int room = size - 1 - kept;
        int take = want < room ? want : room;
        if (take > 0) {
            std::memcpy(buffer + kept, piece, take);
            kept += take;
        }
        n -= want;
    }
    buffer[kept] = '\0';
    return true;
}

bool readTextField(int sock, char* buffer, int size)
{
    int n;
    if (!readNumber(sock, n))
        return false;
    return readText(sock, n, buffer, size);
}

// Stores the script content of a request; false abandons the request.
bool storeScript(int sock, const char* path, int n)
{
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    char piece[kPiece];
    bool whole = true;
    while (n > 0) {
        int want = n < kPiece ? n : kPiece;
        if (receive(sock, piece, want) != want) {
            whole = false;
            break;
        }
        std::fwrite(piece, 1, want, f);
        n -= want;
    }
    std::fclose(f);
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

void serveRequest(int sock)
{
    int reserved, depth;
    if (!readNumber(sock, reserved) || !readNumber(sock, depth))
        return;
    char root[kRootSize];
    if (!readTextField(sock, root, sizeof root))
        return;
    ParseOut::setTraceDepth(depth);
    ParseOut::setTraceRoot(root);
    int pathLen;
    char path[kPathSize];
    if (!readNumber(sock, pathLen) || pathLen > kPathSize || !readText(sock, pathLen, path, sizeof path))
        return;
    int contentLen;
    if (readNumber(sock, contentLen) && contentLen > 0 && !storeScript(sock, path, contentLen))
        return;
    int selectorLen;
    if (!readNumber(sock, selectorLen) || selectorLen == -1)
        return;
    char selector[kSelectorSize];
    selector[0] = '\0';
    if (selectorLen > 0 && !readText(sock, selectorLen, selector, sizeof selector))
        return;
    printSelector(selector);
    int r = Parse::parseLoop(path, selector, testStartsHere);
    finalize(r);
}

int kindOf(const char* command)
{
    static const char* const names[] = {"TSTPNG1", "TSTPNG2", "TSTSTOP", "TSTEXEC"};
    for (int i = 0; i < 4; ++i) {
        if (std::memcmp(command, names[i], kNumberBytes) == 0)
            return i + 1;
    }
    return kNone;
}

void commandLoop(int sock)
{
    int last = kNone;
    char command[kNumberBytes];
    for (;;) {
        if (receive(sock, command, kNumberBytes) != kNumberBytes)
            return;
        if (std::memcmp(command, "TST", 3) != 0)
            return;
        if (std::memcmp(command, "TSTQUIT", kNumberBytes) == 0) {
            std::fflush(nullptr);
            std::exit(0);
        }
        int kind = kindOf(command);
        if (kind == kNone)
            continue;
        if (kind == last)
            return;
        last = kind;
        if (kind == kExec)
            serveRequest(sock);
    }
}

void sendResultFile(int sock, int result)
{
    const char* name = Parse::getLastOutFile();
    FILE* f = (result != -1 && name[0]) ? std::fopen(name, "rb") : nullptr;
    if (!f) {
        sendNumber(sock, 0);
        sendNumber(sock, 0);
        return;
    }
    int nameLen = static_cast<int>(std::strlen(name)) + 1;
    sendNumber(sock, nameLen);
    deliver(sock, name, nameLen);
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    // A Number carries at most seven digits: a larger file is sent cut.
    int left = size < 0 ? 0 : (size > kNumberMax ? kNumberMax : static_cast<int>(size));
    sendNumber(sock, left);
    char piece[kPiece];
    while (left > 0) {
        int want = left < kPiece ? left : kPiece;
        size_t got = std::fread(piece, 1, want, f);
        if (got == 0)
            std::memset(piece, 0, want);  // the file shrank: keep the promised count
        deliver(sock, piece, want);
        left -= want;
    }
    std::fclose(f);
}

void sendDrawing(int sock)
{
    GrcBase* cursor = GrcBase::m_Start;
    for (;;) {
        int n = GrcBase::encodeList(cursor);
        if (sendNumber(sock, n) > 0) {
            if (n <= 0 || deliver(sock, GrcBase::m_BuffHead, n) <= 0)
                break;
        } else if (n <= 0) {
            break;
        }
    }
    GrcBase::clearList();
}

void sendErrorReport(int sock)
{
    int line = Parse::getErrLine();
    const char* text = Parse::getErrString();
    int len = static_cast<int>(std::strlen(text)) + 1;
    sendNumber(sock, line);
    sendNumber(sock, Parse::getErrPos());
    sendNumber(sock, len);
    if (line > 0)
        deliver(sock, text, len);
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

int deliver(int socket, const char* data, int count)
{
    int done = 0;
    while (done < count) {
        // MSG_NOSIGNAL: a viewer that went away must not kill the tester.
        ssize_t n = send(socket, data + done, count - done, MSG_NOSIGNAL);
        if (n <= 0)
            return static_cast<int>(n);
        done += static_cast<int>(n);
    }
    return count;
}

int receive(int socket, char* buffer, int count)
{
    int done = 0;
    while (done < count) {
        ssize_t n = recv(socket, buffer + done, count - done, 0);
        if (n <= 0)
            return static_cast<int>(n);
        done += static_cast<int>(n);
    }
    return count;
}

void finalize(int result)
{
    std::printf(" <\n");
    std::fflush(stdout);
    sendResultFile(rsock, result);
    sendDrawing(rsock);
    sendErrorReport(rsock);
}

int getIpAddress(char* text)
{
    text[0] = '\0';
    char host[500];
    if (gethostname(host, sizeof host) != 0)
        return 0;
    host[sizeof host - 1] = '\0';
    hostent* entry = gethostbyname(host);
    if (!entry)
        return 0;
    const int size = 1024;
    int used = 0;
    for (char** a = entry->h_addr_list; *a && used < size - 600; ++a) {
        for (int i = 0; i < entry->h_length; ++i) {
            used += std::snprintf(text + used, size - used, i ? ".%u" : "%u",
                                  static_cast<unsigned char>((*a)[i]));
        }
        used += std::snprintf(text + used, size - used, " ");
    }
    std::snprintf(text + used, size - used, "(%s)", host);
    return 1;
}

int serveForever(int port)
{
    GrcBase::m_Exec = 1;
    char hostText[1024];
    if (getIpAddress(hostText))
        std::printf("host: %s\n", hostText);
    for (;;) {
        int listener = openListener(port);
        std::printf("waiting...");
        std::fflush(stdout);
        rsock = accept(listener, nullptr, nullptr);
        if (rsock < 0) {
            std::printf("no accept");
            std::exit(1);
        }
        std::printf("accepted\n");
        std::fflush(stdout);
        commandLoop(rsock);
        close(rsock);
        rsock = -1;
        close(listener);
    }
}
