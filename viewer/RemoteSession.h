// The window's side of the connection to a ZemTester: Apply in Remote
// Settings and the keep-alive timer (the decisions are ViewerSession's).
#ifndef ZEM_REMOTESESSION_H
#define ZEM_REMOTESESSION_H

#include <X11/Intrinsic.h>

// Remote Settings' Apply: connects or disconnects by the "OFF" toggle and
// shows the outcome in "remstatus".
void applyRemote(Widget, XtPointer, XtPointer);

#endif
