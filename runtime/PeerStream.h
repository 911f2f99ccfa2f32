// One peer connection of this process (the tester's viewer, or the viewer's
// tester): buffered reads that give up on a silent peer, and an output
// buffer handed to the kernel in as few writes as its size allows.
#ifndef ZEM_PEERSTREAM_H
#define ZEM_PEERSTREAM_H

// Process-wide, like the connection it serves: either end talks to one peer
// at a time, and the tester's fatal-signal handler must still be able to
// send a reply.
// Nothing here allocates, so the handler may use it.
class PeerStream {
public:
    // A peer silent this long in the middle of a request or of a reply is
    // dropped; a connection idle this long between commands as well.
    static const int kSilenceMs = 10000;
    static const int kIdleMs = 60000;

    // Binds the stream to a newly accepted socket and forgets what an
    // earlier connection left behind.
    static void attach(int sock);
    static int socket() { return m_Sock; }
    // Waits for the first byte of the next command; false when the peer
    // stays silent for the idle limit, has closed, or failed.
    static bool awaitCommand();
    // Reads exactly count bytes: count, or 0 when the peer closed, was silent
    // for the silence limit, or failed.
    static int read(char* buffer, int count);
    // True when the last failed read gave up on a silent peer.
    static bool timedOut() { return m_TimedOut; }
    // Reads n bytes and keeps the first size - 1 of them in buffer,
    // NUL-terminated; the rest is read and dropped, so that the stream stays
    // in step. A null buffer drops all n. False on a short read.
    static bool readText(int n, char* buffer, int size);
    // Reads one wire Number; false on a short read.
    static bool readNumber(int& value);

    // Appends to the reply; a full buffer goes to the kernel first. Once a
    // write has failed the rest of the reply is dropped.
    static void put(const char* data, int count);
    // A wire Number: "%07d" and a NUL, clamped to what seven characters
    // carry.
    static void putNumber(int value);
    // The recorded drawing in the chunk encoding: each chunk a Number and
    // its bytes, the last a Number 0 (or less). Allocates nothing.
    static void putDrawing();
    // Hands everything buffered to the kernel; false if the peer is lost.
    static bool flush();

    // Tests shorten the limits; 0 for either restores its default.
    static void setLimits(int silenceMs, int idleMs);

    static const int kNumberBytes = 8;
    static const int kNumberMax = 9999999;
    static const int kNumberMin = -999999;

private:
    static bool fill(int waitMs, bool waitFirst);
    static bool refill(int waitMs, bool waitFirst);
    static bool sendAll(const char* data, int count);

    static const int kInSize = 1 << 16;
    // Room for a large picture's reply in one write: fewer, larger writes
    // measured faster than streaming the same bytes in smaller pieces.
    static const int kOutSize = 1 << 20;
    static int m_Sock;
    static int m_SilenceMs;
    static int m_IdleMs;
    static char m_In[kInSize];
    static int m_InHave;
    static int m_InUsed;
    static char m_Out[kOutSize];
    static int m_OutUsed;
    static bool m_Broken;
    static bool m_TimedOut;
    static bool m_InBroken;
};

#endif
