// Connecting and disconnecting through Remote Settings, and the keep-alive
// that notices a tester gone away. Every connect and disconnect ends with
// one generated "ongraphic{}" run, so the picture shows the new side's view.
#include "RemoteSession.h"

#include <string>

#include "GraphicPane.h"
#include "InputRecord.h"
#include "PlotSink.h"
#include "SettingsDialogs.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

const unsigned long kKeepAliveMs = 2000;

void keepAliveTick(XtPointer, XtIntervalId*)
{
    central.keepAliveTimer = 0;
    switch (session().keepAlive()) {
    case ViewerSession::kGoOn:
        central.keepAliveTimer = XtAppAddTimeOut(central.appContext, kKeepAliveMs, keepAliveTick, nullptr);
        break;
    case ViewerSession::kLost:
        showRemoteState(0, "disconnected");
        setTextOf(widgets().outname, ViewerSession::kLostMessage);
        break;
    case ViewerSession::kEnd: break;
    }
}

void startKeepAlive()
{
    if (central.appContext && !central.keepAliveTimer)
        central.keepAliveTimer = XtAppAddTimeOut(central.appContext, kKeepAliveMs, keepAliveTick, nullptr);
}

}

void applyRemote(Widget, XtPointer, XtPointer)
{
    if (!remoteDialogUp())
        return;
    std::string host, port;
    bool had = remoteFields(host, port);
    ApplyOutcome outcome =
        session().apply(remoteToggleOn(), had ? host.c_str() : nullptr, had ? port.c_str() : nullptr);
    showRemoteState(outcome.toggle, outcome.status.c_str());
    if (outcome.clearMessage)
        setTextOf(widgets().outname, "");
    if (outcome.startKeepAlive)
        startKeepAlive();
    if (outcome.runOngraphic)
        runGenerated(InputRecord::ongraphic());
}
