// Connecting and disconnecting through Remote Settings, the keep-alive that
// notices a tester gone away, and Run's remote path. Every connect and
// disconnect ends with one generated "ongraphic{}" run, so the picture shows
// the new side's view.
#include "RemoteSession.h"

#include <Xm/Text.h>
#include <Xm/ToggleB.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "GraphicPane.h"
#include "PlotSink.h"
#include "SettingsDialogs.h"
#include "Viewer.h"

namespace {

const unsigned long kKeepAliveMs = 2000;

Widget remoteToggle() { return remoteStatus ? XtNameToWidget(XtParent(remoteStatus), "OFF") : nullptr; }

void setStatus(const char* text)
{
    if (remoteStatus)
        XmTextSetString(remoteStatus, const_cast<char*>(text));
}

void setToggle(bool on)
{
    Widget toggle = remoteToggle();
    if (!toggle)
        return;
    XmToggleButtonSetState(toggle, on, False);
    XtVaSetValues(toggle, XmNlabelString, on ? viewer.remoteOn : viewer.remoteOff, nullptr);
}

void keepAliveTick(XtPointer, XtIntervalId*)
{
    central.keepAliveTimer = 0;
    if (!RemoteClient::m_Connected) {
        // Lost without a close (a failed send, a silent tester): say so.
        if (RemoteClient::m_Socket >= 0)
            showDisconnected();
        return;
    }
    if (!RemoteClient::keepAlive()) {
        showDisconnected();
        return;
    }
    central.keepAliveTimer = XtAppAddTimeOut(central.appContext, kKeepAliveMs, keepAliveTick, nullptr);
}

void startKeepAlive()
{
    if (central.appContext && !central.keepAliveTimer)
        central.keepAliveTimer = XtAppAddTimeOut(central.appContext, kKeepAliveMs, keepAliveTick, nullptr);
}

// A send on a connection the tester closed. The socket stays open, and the
// dialog learns of it from the keep-alive: no toolkit call is safe here.
void pipeBroken(int) { RemoteClient::m_Connected = 0; }

void disconnect()
{
    const char* message = RemoteClient::close();
    setStatus(message);
    if (std::string(message) == "disconnected")
        setToggle(false);
    runGenerated("ongraphic{}");
}

// Both texts must be had; the port is read as a decimal number, 0 when the
// text holds none.
void connect()
{
    Widget form = XtParent(remoteStatus);
    char* host = XmTextGetString(XtNameToWidget(form, "remhost"));
    char* port = XmTextGetString(XtNameToWidget(form, "remport"));
    const char* message = "no hostname";
    if (host && port) {
        std::snprintf(viewer.host, sizeof viewer.host, "%s", host);
        viewer.port = 0;
        std::sscanf(port, "%d", &viewer.port);
        message = RemoteClient::open(viewer.host, viewer.port);
    }
    XtFree(host);
    XtFree(port);
    setStatus(message);
    if (RemoteClient::m_Connected != 1) {
        setToggle(false);
        return;
    }
    setToggle(true);
    XmTextSetString(viewer.outname, const_cast<char*>(""));
    viewer.scriptChanged = 1;
    startKeepAlive();
    runGenerated("ongraphic{}");
}

// The script to send: a generated script's whole file, else the editor's text.
std::string contentOf()
{
    if (viewer.generatedScript) {
        std::ifstream in(viewer.generatedScript, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    char* text = XmTextGetString(viewer.intext);
    std::string content = text ? text : "";
    XtFree(text);
    return content;
}

}

void applyRemote(Widget, XtPointer, XtPointer)
{
    Widget toggle = remoteToggle();
    if (!toggle)
        return;
    bool on = XmToggleButtonGetState(toggle);
    bool connected = RemoteClient::m_Connected == 1;
    if (on == connected)
        setStatus("ignored");
    else if (connected)
        disconnect();
    else
        connect();
}

void showDisconnected()
{
    setToggle(false);
    setStatus("disconnected");
}

void installPipeHandler() { std::signal(SIGPIPE, pipeBroken); }

void runRemotely(const char* path, const std::string& selector, RunOutcome& outcome)
{
    bool generated = viewer.generatedScript != nullptr;
    bool sendContent = generated || viewer.scriptChanged;
    // Only the editor's own script makes the tester's copy current: a
    // generated script's run leaves the flag alone.
    if (RemoteClient::exchange(path, contentOf(), sendContent, selector, outcome) && !generated)
        viewer.scriptChanged = 0;
}
