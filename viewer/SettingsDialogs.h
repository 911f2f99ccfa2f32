// The Trace Settings and Remote Settings dialogs of the Settings menu.
#ifndef ZEM_SETTINGSDIALOGS_H
#define ZEM_SETTINGSDIALOGS_H

#include <X11/Intrinsic.h>

#include <string>

// Menu callbacks: each builds its dialog unless one is already up. Remote
// Settings takes its Apply callback (an XtCallbackProc) as client data.
void openTraceSettings(Widget, XtPointer, XtPointer);
void openRemoteSettings(Widget, XtPointer apply, XtPointer);

// Remote Settings while it is up: whether it is, its toggle, the texts of
// its host and port fields (false when either cannot be had), and the
// connection's state shown in it (toggle 1 on, 0 off, -1 as it is). Each
// does nothing, or gives false, while the dialog is down.
bool remoteDialogUp();
bool remoteToggleOn();
bool remoteFields(std::string& host, std::string& port);
void showRemoteState(int toggle, const char* status);

// The dialogs while they are up, null otherwise: the Trace Settings shell
// and the Remote Settings status field "remstatus".
Widget traceDialogShell();
Widget remoteStatusField();

#endif
