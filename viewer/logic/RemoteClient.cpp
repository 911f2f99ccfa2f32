// The viewer's end of the remote test protocol: connecting, keep-alives and
// the run exchange. Requests are gathered and sent in one write, and replies
// read through a buffer, so a run costs the tester's time and little more.
#include "RemoteClient.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "GrcBase.h"
#include "ParseOut.h"
#include "PeerStream.h"

int RemoteClient::m_Connected = 0;
int RemoteClient::m_Socket = -1;
int RemoteClient::m_Phase = 1;

namespace {

const char* const kBroken = "Testserver broken without answer";
// The viewer's buffers, terminator included.
const int kNameSize = 512;
const int kErrorSize = 1024;
const int kPiece = 1 << 14;

void putCommand(const char* command) { PeerStream::put(command, PeerStream::kNumberBytes); }

void putText(const char* text)
{
    int n = static_cast<int>(std::strlen(text)) + 1;
    PeerStream::putNumber(n);
    PeerStream::put(text, n);
}

// Copies n bytes of result file into out (null: read and drop), carriage
// returns turned into blanks; false on a short read. A write that fails
// drops out and clears written, and the bytes are still read, so that the
// exchange stays in step.
bool readContent(int n, FILE*& out, bool& written)
{
    char piece[kPiece];
    while (n > 0) {
        int want = n < kPiece ? n : kPiece;
        if (PeerStream::read(piece, want) != want)
            return false;
        for (int i = 0; out && i < want; ++i)
            if (piece[i] == '\r')
                piece[i] = ' ';
        if (out && std::fwrite(piece, 1, want, out) != static_cast<size_t>(want)) {
            std::fclose(out);
            out = nullptr;
            written = false;
        }
        n -= want;
    }
    return true;
}

// The received file is kept only when every byte reached the disk.
bool closeWritten(FILE* file, bool written)
{
    if (!file)
        return written;
    bool flushed = std::fflush(file) == 0;
    return std::fclose(file) == 0 && flushed && written;
}

// The result file travels into "<name>_", renamed over the name once the
// exchange is complete; aside tells whether it went there whole. Returns
// false when the name itself came up short, which ends the exchange.
bool readResultFile(RunOutcome& out, bool& aside)
{
    aside = false;
    int n;
    if (!PeerStream::readNumber(n))
        return true;  // nothing whole arrived: the report's read fails next
    char name[kNameSize] = "";
    if (n > 0 && !PeerStream::readText(n, name, sizeof name))
        return false;
    // A cut name would write some other file: such a name is refused.
    bool usable = n > 0 && n <= kNameSize;
    int size;
    if (!PeerStream::readNumber(size) || size <= 0)
        return true;
    std::string tmp = std::string(name) + "_";
    FILE* file = usable ? std::fopen(tmp.c_str(), "wb") : nullptr;
    bool written = file != nullptr;
    bool whole = readContent(size, file, written);
    written = closeWritten(file, written);
    if (!written && usable)
        out.errorText = "cannot write " + tmp;
    if (!whole || !written) {
        std::remove(tmp.c_str());  // a part would replace the older whole file
        return true;
    }
    out.resultFile = name;
    aside = true;
    return true;
}

// The received file replaces the older one; when it cannot, the log shows
// it under the name it arrived with, and the message line says so.
void keepResultFile(RunOutcome& out)
{
    std::string tmp = out.resultFile + "_";
    if (std::rename(tmp.c_str(), out.resultFile.c_str()) == 0)
        return;
    out.notice = "cannot replace " + out.resultFile + ": " + std::strerror(errno) + "; result in " + tmp;
    out.resultFile = tmp;
}

// Chunks until a Number 0 or less, or a chunk that decodes to nothing.
bool readDrawing()
{
    for (;;) {
        int n;
        if (!PeerStream::readNumber(n))
            return false;
        if (n <= 0)
            return true;
        int keep = n < GrcBase::ChunkSize ? n : GrcBase::ChunkSize;
        if (PeerStream::read(GrcBase::m_BuffHead, keep) != keep)
            return false;
        if (!PeerStream::readText(n - keep, nullptr, 0))
            return false;
        if (GrcBase::decodeList(keep) <= 0)
            return true;
    }
}

// A report that stops short, in its numbers or in its text, says only
// that the tester broke.
void readErrorReport(RunOutcome& out)
{
    int line, pos, length;
    char text[kErrorSize] = "";
    bool whole =
        PeerStream::readNumber(line) && PeerStream::readNumber(pos) && PeerStream::readNumber(length);
    if (whole && line > 0 && length > 0)
        whole = PeerStream::readText(length, text, sizeof text);
    if (!whole) {
        out.errorLine = 1;
        out.errorPos = -1;
        out.errorText = kBroken;
        return;
    }
    out.errorLine = line;
    out.errorPos = pos;
    if (line > 0 && length > 0)
        out.errorText = text;
}

// The stream follows the connection, also one a caller set up itself.
void useConnection()
{
    if (PeerStream::socket() != RemoteClient::m_Socket)
        PeerStream::attach(RemoteClient::m_Socket);
}

// Each exchange starts on a clean stream: whatever an earlier exchange left
// unread is out of step anyway.
bool sendRequest(const char* path, const std::string& content, bool sendContent, const std::string& selector)
{
    PeerStream::attach(RemoteClient::m_Socket);
    putCommand("TSTEXEC");
    PeerStream::putNumber(0);
    PeerStream::putNumber(ParseOut::getTraceDepth());
    putText(ParseOut::getTraceRoot());
    putText(path);
    int length = sendContent ? static_cast<int>(content.size()) : 0;
    PeerStream::putNumber(length);
    PeerStream::put(content.data(), length);
    if (selector == "-") {
        PeerStream::putNumber(-1);
        putCommand("TSTSTOP");
    } else {
        putText(selector.c_str());
    }
    return PeerStream::flush();
}

}

void RemoteClient::setSilenceLimit(int ms) { PeerStream::setLimits(ms, 0); }

const char* RemoteClient::open(const char* host, int port)
{
    // A connection lost without a close still holds its socket.
    if (m_Socket >= 0)
        ::close(m_Socket);
    m_Socket = -1;
    m_Connected = 0;
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    if (sock < 0)
        return "no socket";
    hostent* entry = host && host[0] ? gethostbyname(host) : nullptr;
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) {
        ::close(sock);
        return "no host";
    }
    sockaddr_in addr;
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
    std::memcpy(&addr.sin_addr, entry->h_addr_list[0], sizeof addr.sin_addr);
    // Unconverted, as the tester binds it: the two meet.
    addr.sin_port = static_cast<in_port_t>(port);
    if (connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(sock);
        return "no connect";
    }
    // A request is written whole and at once; coalescing only delays it.
    int on = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    m_Socket = sock;
    m_Connected = 1;
    PeerStream::attach(sock);
    return "connected";
}

const char* RemoteClient::close()
{
    m_Connected = 0;
    int result = ::close(m_Socket);
    m_Socket = -1;
    return result == 0 ? "disconnected" : "no close";
}

void RemoteClient::lost() { m_Connected = 0; }

// Between exchanges the tester sends nothing, so anything readable is its
// end of the connection. A send alone would go through once more, into the
// kernel's buffer, and the loss would show only a keep-alive later.
static bool peerClosed(int sock)
{
    char byte;
    ssize_t n = recv(sock, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

bool RemoteClient::keepAlive()
{
    if (!m_Connected)
        return false;
    if (peerClosed(m_Socket)) {
        lost();
        return false;
    }
    const char* command = m_Phase == 1 ? "TSTPNG2" : "TSTPNG1";
    m_Phase = 1 - m_Phase;
    useConnection();
    putCommand(command);
    if (!PeerStream::flush()) {
        lost();
        return false;
    }
    return true;
}

bool RemoteClient::exchange(const char* path, const std::string& content, bool sendContent,
                            const std::string& selector, RunOutcome& out)
{
    out = RunOutcome();
    if (content.empty() || m_Connected != 1)
        return false;
    m_Connected = 0;
    if (!sendRequest(path, content, sendContent, selector)) {
        m_Connected = 1;  // the next keep-alive finds out
        return false;
    }
    if (selector == "-") {
        m_Connected = 1;
        return true;
    }
    bool aside = false;
    bool inStep = readResultFile(out, aside);
    if (inStep) {
        readDrawing();  // a short chunk makes the report's read fail as well
        readErrorReport(out);
    }
    if (PeerStream::timedOut() || !inStep) {
        // A reply that stops in its result file name, or a tester silent in
        // mid-reply, leaves nothing to show but the breakage. A silent
        // tester is out of step for good; a closed one is found out by the
        // next keep-alive.
        if (aside)
            std::remove((out.resultFile + "_").c_str());
        out.resultFile.clear();
        out.errorLine = 1;
        out.errorPos = -1;
        out.errorText = kBroken;
        m_Connected = PeerStream::timedOut() ? 0 : 1;
        return true;
    }
    putCommand("TSTSTOP");
    PeerStream::flush();
    if (aside)
        keepResultFile(out);
    m_Connected = 1;
    return true;
}
