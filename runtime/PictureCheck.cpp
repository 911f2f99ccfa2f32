// Recording a test's drawing apart from the list, comparing it with each
// picture the test names, and putting the list back together.
#include "PictureCheck.h"

#include <cstring>
#include <unistd.h>
#include <vector>

#include "Drawing.h"
#include "DrawingCompare.h"
#include "DrawingText.h"
#include "FileGate.h"
#include "GrcBase.h"
#include "Parse.h"
#include "StoreCv.h"
#include "StoreEl.h"
#include "VarBank.h"

namespace PictureCheck {

const char* const kCode = "@@";

}

namespace {

using PictureCheck::kCode;

bool isPictureCheck(const StoreEl* e) { return std::strncmp(e->getName(), kCode, 2) == 0; }

// The tolerance the grammar stored right after the check, or 0.
int toleranceAfter(const StoreEl* check)
{
    const StoreEl* next = check->getNext();
    if (!next || std::strncmp(next->getName(), "+-", 2) != 0 ||
        std::strcmp(next->getName() + 2, check->getName()))
        return 0;
    if (next->getType() == StoreEl::TypeInt)
        return next->getInt();
    return next->getType() == StoreEl::TypeDouble ? static_cast<int>(next->getDouble()) : 0;
}

// A report holds values of at most 499 characters.
const size_t kLineMax = 400;

std::string cut(const std::string& line) { return line.size() > kLineMax ? line.substr(0, kLineMax) : line; }

// Writes the actual drawing beside the result file; its path, or why not.
std::string keepActual(const std::string& file, const std::vector<DrawCommand>& drawing, bool& kept)
{
    std::string actualFile = PictureCheck::actualPath(Parse::getLastOutFile(), file);
    std::string error;
    kept = saveDrawingFile(actualFile, drawing, error);
    return kept ? actualFile : error;
}

// The outcome of one check: "" when the drawing matches.
std::string judge(const std::string& file, int tolerance, const std::vector<DrawCommand>& drawing)
{
    const char* script = Parse::getIO().getInFileName();
    std::string path = PictureCheck::beside(script ? script : "", file);
    std::vector<DrawCommand> expected;
    std::string error;
    bool exists = loadDrawingFile(path, expected, error);
    DrawingDifference difference;
    if (exists) {
        difference = compareDrawings(expected, drawing, tolerance);
        if (difference.same)
            return "";
    }
    bool kept = false;
    std::string actual = keepActual(file, drawing, kept);
    if (exists)
        return cut(differenceLine(file, difference));
    if (access(path.c_str(), F_OK) == 0)
        return cut("picture " + file + ": " + error);
    if (!kept)
        return cut("picture " + file + ": " + error + "; the actual drawing was not kept: " + actual);
    return cut("picture " + file + ": no file " + path + "; copy " + actual + " there to accept the drawing");
}

// The list without what it held before the test: the test's drawing.
void detach(PictureCheck::Recording& r)
{
    r.start = GrcBase::m_Start;
    r.last = GrcBase::m_Last;
    GrcBase::m_Start = GrcBase::m_Last = nullptr;
}

// What the list held before goes back in front of the test's drawing,
// unless the test cleared the picture, which drops everything before.
void reattach(PictureCheck::Recording& r, bool cleared)
{
    if (!r.start)
        return;
    GrcBase* mine = GrcBase::m_Start;
    GrcBase* myLast = GrcBase::m_Last;
    GrcBase::m_Start = r.start;
    GrcBase::m_Last = r.last;
    if (cleared) {
        GrcBase::clearList();
        GrcBase::m_Start = mine;
        GrcBase::m_Last = myLast;
        return;
    }
    if (mine) {
        r.last->m_Next = mine;
        GrcBase::m_Last = myLast;
    }
}

}

namespace PictureCheck {

void begin(VarBank& expected, Recording& recording)
{
    recording = Recording();
    if (!expected.hasPrefix(kCode))
        return;
    recording.active = true;
    recording.exec = GrcBase::m_Exec;
    detach(recording);
    GrcBase::m_Exec = 1;
}

void end(VarBank& expected, VarBank& actual, Recording& recording)
{
    if (!recording.active)
        return;
    std::vector<DrawCommand> drawing = drawingOf(GrcBase::m_Start);
    for (const StoreEl* e = expected.getData(nullptr); e; e = e->getNext())
        if (isPictureCheck(e))
            actual[e->getName()] = judge(e->getName() + 2, toleranceAfter(e), drawing).c_str();
    bool cleared = !drawing.empty() && drawing.front().kind == DrawCommand::Clear;
    GrcBase::m_Exec = recording.exec;
    if (!recording.exec)
        GrcBase::clearList();
    reattach(recording, cleared && recording.exec);
}

std::string actualPath(const std::string& resultFile, const std::string& pictureFile)
{
    return drawingStemBesideResult(resultFile, pictureFile) + ".actual.zdr";
}

std::string beside(const std::string& scriptPath, const std::string& pictureFile)
{
    return drawingBesideScript(scriptPath, pictureFile);
}

}
