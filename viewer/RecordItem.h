// The Record toggle of the Settings menu: while it is on, every run that a
// click or key in the graphic view generates is written down as a test of
// the script named when it was turned on.
#ifndef ZEM_RECORDITEM_H
#define ZEM_RECORDITEM_H

#include <X11/Intrinsic.h>

// Adds the "Record" toggle to the menu.
void buildRecordItem(Widget menu);

// Recording turned itself off (its script could not be written): the
// toggle shows it; the message line already says why.
void showRecordingOff();

#endif
