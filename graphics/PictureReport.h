// A failing picture check's line in a result file, as every reader of one
// (approve, the viewer's Accept and overlay, zem2junit) takes it apart.
#ifndef ZEM_PICTUREREPORT_H
#define ZEM_PICTUREREPORT_H

#include <string>

struct FailedPictureLine {
    // The drawing file as the script quotes it.
    std::string file;
    // Written after "+-"; 0 without one.
    int tolerance = 0;
    // The outcome between the brackets: "picture FILE: command 7 ...".
    std::string outcome;
};

// line without its indent: `picture "FILE"[ +- T]; [picture FILE: ...] ERROR`.
// False for any other line, a passing check's included.
bool readFailedPicture(const std::string& line, FailedPictureLine& out);

#endif
