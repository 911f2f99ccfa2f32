// The key texts of the graphic pane's "keypress" records.
#ifndef ZEM_KEYTEXT_H
#define ZEM_KEYTEXT_H

#include <X11/X.h>

// The key text of a key press: first is the first character the event
// translates to (0 when it gives none), sym its keysym. Returns null when
// the key makes no record. A plain character is written into single, which
// needs room for two bytes.
const char* keyTextOf(int first, KeySym sym, char* single);

// F1 switches between the text and the graphic view instead of making a
// record.
bool isViewSwitchKey(KeySym sym);

#endif
