// The key texts of the graphic pane's "keypress" records. Keys come as X
// keysyms, plain numbers here: the table needs no display.
#ifndef ZEM_KEYTEXT_H
#define ZEM_KEYTEXT_H

// The key text of a key press: first is the first character the event
// translates to (0 when it gives none), sym its keysym. Returns null when
// the key makes no record. A plain character is written into single, which
// needs room for two bytes.
const char* keyTextOf(int first, unsigned long sym, char* single);

// F1 switches between the text and the graphic view instead of making a
// record.
bool isViewSwitchKey(unsigned long sym);

#endif
