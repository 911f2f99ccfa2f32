// The picture a failing picture check asks the viewer to show: the run's
// last failing check, its expected and actual drawings, and the line that
// names their first difference.
#ifndef ZEM_PICTUREVIEW_H
#define ZEM_PICTUREVIEW_H

#include <string>
#include <vector>

#include "Approve.h"
#include "Drawing.h"
#include "DrawingCompare.h"

struct PictureFailure {
    bool found = false;
    std::string file;
    std::vector<DrawCommand> expected;
    std::vector<DrawCommand> actual;
    DrawingDifference difference;
    // As the report names it: "picture house.zdr: command 9 ...".
    std::string line;
};

// The log's last run: the blocks after the run before it.
std::string lastRunOfLog(const std::string& log);

// The blocks of a run's log whose test is named name.
std::string blocksNamed(const std::string& run, const std::string& name);

// The log's last run (the blocks after the run before it) and its last
// failing picture check. The expected drawing is the file beside the
// script; the actual one the file the check left beside the result file,
// or, when the run was remote and left none here, the run's drawing.
PictureFailure lastPictureFailure(const std::string& log, const std::string& scriptPath,
                                  const std::string& resultFile);

// The actual drawing of a failing picture check, found again for Accept:
// the file the run left beside the result file, or the run's drawing as it
// came back (all of it, or from one of its "clear" commands on, where a
// test's own drawing starts), which is all a remote run leaves here. The
// one taken gives the report's own difference line against the expected
// drawing, so a stale file or another test's drawing is never taken.
// False when none does.
bool actualDrawingFor(const PictureToApprove& picture, const std::vector<DrawCommand>& runDrawing,
                      std::vector<DrawCommand>& actual);

#endif
