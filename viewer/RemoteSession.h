// The viewer's remote session around the exchange: connecting and
// disconnecting from Remote Settings, the keep-alive, a lost connection,
// and Run's remote path.
#ifndef ZEM_REMOTESESSION_H
#define ZEM_REMOTESESSION_H

#include <X11/Intrinsic.h>

#include <string>

#include "RemoteClient.h"

// Remote Settings' Apply: connects or disconnects by the "OFF" toggle and
// shows the outcome in "remstatus".
void applyRemote(Widget, XtPointer, XtPointer);
// Shows a lost connection in Remote Settings, if it is up.
void showDisconnected();
// Installs the SIGPIPE handler (a send on a connection the tester closed).
void installPipeHandler();

// Run's remote path: sends the script at path (the editor's text, or the
// generated script's file) with the selector and fills the outcome.
void runRemotely(const char* path, const std::string& selector, RunOutcome& outcome);

#endif
