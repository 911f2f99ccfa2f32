// Buffered, time-limited transfers on the server's connection. The reply is
// gathered here and written in few large pieces: written piecewise with
// Nagle's algorithm on, every run stalled on a delayed acknowledgement.
#include "PeerStream.h"

#include "GrcBase.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>

int PeerStream::m_Sock = -1;
int PeerStream::m_SilenceMs = PeerStream::kSilenceMs;
int PeerStream::m_IdleMs = PeerStream::kIdleMs;
char PeerStream::m_In[PeerStream::kInSize];
int PeerStream::m_InHave = 0;
int PeerStream::m_InUsed = 0;
char PeerStream::m_Out[PeerStream::kOutSize];
int PeerStream::m_OutUsed = 0;
bool PeerStream::m_Broken = false;
bool PeerStream::m_TimedOut = false;
bool PeerStream::m_InBroken = false;

namespace {

// Waits until the socket is ready for events or waitMs pass; a signal that
// interrupts the wait does not count as silence.
bool ready(int sock, short events, int waitMs)
{
    pollfd p;
    p.fd = sock;
    p.events = events;
    for (;;) {
        p.revents = 0;
        int n = poll(&p, 1, waitMs);
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

}

void PeerStream::attach(int sock)
{
    m_Sock = sock;
    m_InHave = 0;
    m_InUsed = 0;
    m_OutUsed = 0;
    m_Broken = false;
    m_TimedOut = false;
    m_InBroken = false;
}

void PeerStream::setLimits(int silenceMs, int idleMs)
{
    m_SilenceMs = silenceMs > 0 ? silenceMs : kSilenceMs;
    m_IdleMs = idleMs > 0 ? idleMs : kIdleMs;
}

// A failed read fails every later one at once, until the next attach: the
// stream is out of step, and a silent peer must not be waited for twice.
bool PeerStream::fill(int waitMs, bool waitFirst)
{
    if (m_InBroken)
        return false;
    m_InBroken = !refill(waitMs, waitFirst);
    return !m_InBroken;
}

// Refills the empty input buffer with whatever the peer has sent.
bool PeerStream::refill(int waitMs, bool waitFirst)
{
    for (bool waited = !waitFirst;; waited = true) {
        if (waited && !ready(m_Sock, POLLIN, waitMs)) {
            m_TimedOut = true;
            return false;
        }
        ssize_t n = recv(m_Sock, m_In, kInSize, MSG_DONTWAIT);
        if (n > 0) {
            m_InHave = static_cast<int>(n);
            m_InUsed = 0;
            return true;
        }
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return false;
    }
}

// Between commands the peer is usually still reading the last reply: wait
// at once. Inside a request the bytes are usually there already: read first.
bool PeerStream::awaitCommand() { return m_InUsed < m_InHave || fill(m_IdleMs, true); }

int PeerStream::read(char* buffer, int count)
{
    int done = 0;
    while (done < count) {
        if (m_InUsed == m_InHave && !fill(m_SilenceMs, false))
            return 0;
        int take = m_InHave - m_InUsed;
        if (take > count - done)
            take = count - done;
        std::memcpy(buffer + done, m_In + m_InUsed, take);
        m_InUsed += take;
        done += take;
    }
    return count;
}

bool PeerStream::readText(int n, char* buffer, int size)
{
    int room = buffer && size > 0 ? size - 1 : 0;
    int kept = 0;
    bool whole = true;
    while (n > 0) {
        if (m_InUsed == m_InHave && !fill(m_SilenceMs, false)) {
            whole = false;
            break;
        }
        int take = m_InHave - m_InUsed < n ? m_InHave - m_InUsed : n;
        int keep = take < room - kept ? take : room - kept;
        if (keep > 0) {
            std::memcpy(buffer + kept, m_In + m_InUsed, keep);
            kept += keep;
        }
        m_InUsed += take;
        n -= take;
    }
    if (buffer && size > 0)
        buffer[kept] = '\0';
    return whole;
}

bool PeerStream::readNumber(int& value)
{
    char field[kNumberBytes + 1];
    if (read(field, kNumberBytes) != kNumberBytes)
        return false;
    field[kNumberBytes] = '\0';
    value = std::atoi(field);
    return true;
}

bool PeerStream::sendAll(const char* data, int count)
{
    int done = 0;
    while (done < count) {
        // MSG_NOSIGNAL: a viewer that went away must not kill the tester.
        ssize_t n = send(m_Sock, data + done, count - done, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return false;
        if (!ready(m_Sock, POLLOUT, m_SilenceMs))
            return false;
    }
    return true;
}

bool PeerStream::flush()
{
    if (!m_Broken && m_OutUsed > 0 && !sendAll(m_Out, m_OutUsed))
        m_Broken = true;
    m_OutUsed = 0;
    return !m_Broken;
}

void PeerStream::put(const char* data, int count)
{
    while (count > 0 && !m_Broken) {
        if (m_OutUsed == kOutSize)
            flush();
        int take = kOutSize - m_OutUsed;
        if (take > count)
            take = count;
        std::memcpy(m_Out + m_OutUsed, data, take);
        m_OutUsed += take;
        data += take;
        count -= take;
    }
}

void PeerStream::putNumber(int value)
{
    if (value > kNumberMax)
        value = kNumberMax;
    if (value < kNumberMin)
        value = kNumberMin;
    // "%07d" by hand: the fatal-signal handler sends replies too.
    char field[kNumberBytes];
    unsigned magnitude = value < 0 ? static_cast<unsigned>(-value) : static_cast<unsigned>(value);
    int first = value < 0 ? 1 : 0;
    for (int i = kNumberBytes - 2; i >= first; --i) {
        field[i] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    if (value < 0)
        field[0] = '-';
    field[kNumberBytes - 1] = '\0';
    put(field, kNumberBytes);
}

void PeerStream::putDrawing()
{
    GrcBase* cursor = GrcBase::m_Start;
    for (;;) {
        int n = GrcBase::encodeList(cursor);
        putNumber(n);
        if (n <= 0)
            break;
        put(GrcBase::m_BuffHead, n);
    }
}
