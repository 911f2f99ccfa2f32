// The Trace Settings and Remote Settings dialogs of the Settings menu.
#ifndef ZEM_SETTINGSDIALOGS_H
#define ZEM_SETTINGSDIALOGS_H

#include <X11/Intrinsic.h>

// Menu callbacks: each builds its dialog unless one is already up.
void openTraceSettings(Widget, XtPointer, XtPointer);
void openRemoteSettings(Widget, XtPointer, XtPointer);

// The dialogs while they are up, null otherwise: the Trace Settings shell
// and the Remote Settings status field "remstatus".
extern Widget traceDialog;
extern Widget remoteStatus;

#endif
