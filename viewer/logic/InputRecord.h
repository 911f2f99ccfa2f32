// The one-line scripts the graphic pane writes for the functions under
// test: the view asked for, a click, a key; and the pointer's position as
// the message line shows it.
#ifndef ZEM_INPUTRECORD_H
#define ZEM_INPUTRECORD_H

#include <string>

namespace InputRecord {

// The file each record is written to, in the current directory.
extern const char* const kScript;

std::string ongraphic();
// xButton is the X button number (1 the left one); the record counts from 0.
std::string button(int x, int y, unsigned xButton);
std::string key(int x, int y, const char* keyText);
// "X=%04d Y=%04d".
std::string position(int x, int y);

// Replaces kScript by the record, with no line end; false when it could
// not be written whole, and then nothing may run.
bool write(const std::string& record);

}

#endif
