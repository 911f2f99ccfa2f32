// Picture checks: a test whose verify: part names a drawing file has its
// function's drawing recorded on its own (in local mode too) and compared
// with the file, command by command. The outcome lands in the output bank
// under the check's own name, where the report finds it.
#ifndef ZEM_PICTURECHECK_H
#define ZEM_PICTURECHECK_H

#include <string>

class GrcBase;
class VarBank;

namespace PictureCheck {

// The code in front of a drawing file's name in the verification bank; no
// name a script writes begins with it.
extern const char* const kCode;

// What the list held before the test, put back after it.
struct Recording {
    GrcBase* start = nullptr;
    GrcBase* last = nullptr;
    int exec = 0;
    bool active = false;
};

// Starts recording the test's own drawing when its verify: part has a
// picture check.
void begin(VarBank& expected, Recording& recording);
// Compares every picture check with the recorded drawing; each check's
// outcome goes into actual under the check's name: "" when the drawing
// matches, else the line naming the first difference. The drawing of a
// failing check is written next to the result file. The list then holds
// what it held before the test, followed by the test's drawing.
void end(VarBank& expected, VarBank& actual, Recording& recording);

// Where the drawing of a failing check of pictureFile goes: beside the
// result file, as "<stem>.actual.zdr".
std::string actualPath(const std::string& resultFile, const std::string& pictureFile);
// A picture file's path as the script names it, relative to the script's
// own directory.
std::string beside(const std::string& scriptPath, const std::string& pictureFile);

}

#endif
