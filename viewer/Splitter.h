// The splitter between the editor and the log pane.
#ifndef ZEM_SPLITTER_H
#define ZEM_SPLITTER_H

#include <X11/Intrinsic.h>

// The scale's value-changed callback: moves the divider (TextSearch.h has
// the arithmetic).
void splitterMoved(Widget scale, XtPointer client, XtPointer call);

#endif
