// ZemViewer's side of remote testing: the connection to a ZemTester in
// server mode, its keep-alive, and the exchange that runs one script there.
// Nothing here touches a widget, so it works without a display.
#ifndef ZEM_REMOTECLIENT_H
#define ZEM_REMOTECLIENT_H

#include <string>

#include "RunOutcome.h"

// One connection per viewer, kept in process-wide state like the viewer's.
class RemoteClient {
public:
    // 1 while connected and no exchange runs; 0 otherwise.
    static int m_Connected;
    static int m_Socket;
    // Chooses the next keep-alive: 1 sends "TSTPNG2", 0 "TSTPNG1".
    static int m_Phase;

    // Connects to host and port (the port goes into the address unconverted,
    // as the tester binds it). Returns "connected" or the failure's text:
    // "no socket", "no host" or "no connect".
    static const char* open(const char* host, int port);
    // Returns "disconnected" or "no close"; the flag is 0 either way.
    static const char* close();
    // Sends the next keep-alive; false (and the flag 0) when it fell short.
    static bool keepAlive();
    // Marks the connection lost without closing it (a failed send).
    static void lost();

    // Runs the script at path on the tester. content is the script's text;
    // it travels only when sendContent is set (else the tester keeps its
    // copy). The selector "-" stores the script without a run. Returns true
    // when the request went out whole, so that the tester holds content.
    static bool exchange(const char* path, const std::string& content, bool sendContent,
                         const std::string& selector, RunOutcome& out);

    // A tester silent this long in the middle of a reply is given up.
    static const int kSilenceMs = 10000;
    // Tests shorten the limit; 0 restores it.
    static void setSilenceLimit(int ms);
};

#endif
