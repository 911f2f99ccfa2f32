// Pictures of failing picture checks, for CI servers that show the files a
// testcase's system-out names in "[[ATTACHMENT|path]]" lines: a reviewer
// sees what was drawn without fetching the drawing files.
#ifndef ZEM_PICTUREATTACH_H
#define ZEM_PICTUREATTACH_H

#include <string>
#include <vector>

#include "ResultScan.h"

namespace zemjunit {

// A failing picture check as its report line names it: the drawing file
// as the script quotes it, and the tolerance written after "+-".
struct FailedPicture {
    std::string file;
    int tolerance = 0;
};

// The failing picture checks among a report block's verified lines, in
// their order. A check that has no outcome ("[undefined]") left no drawing
// and is not among them.
std::vector<FailedPicture> failedPictures(const std::string& block);

// Where the files of one check are, as the tester names them.
struct PicturePlace {
    std::string expected;  // beside the script; empty without a script
    std::string actual;    // "<stem>.actual.zdr" beside the result file
    std::string overlay;   // "<stem>.diff.png" beside the actual drawing
    std::string alone;     // "<stem>.actual.png" beside the actual drawing
};

// script empty: none was given.
PicturePlace picturePlace(const FailedPicture& check, const std::string& resultFile,
                          const std::string& script);

// Writes the overlay of expected and actual, as zem2png --diff draws it,
// or the actual drawing alone when the expected one cannot be read or is
// not known. png is the path written; error says why nothing was.
bool renderPicture(const FailedPicture& check, const PicturePlace& place, std::string& png,
                   std::string& error);

// path as seen from the directory cwd (itself absolute).
std::string absolutePath(const std::string& path, const std::string& cwd);

// Renders the pictures of the failing picture checks of every testcase
// and attaches their absolute paths to it; each picture that could not be
// made adds a line to notes instead.
void attachPictures(ScanResult& scan, const std::string& resultFile, const std::string& script,
                    std::vector<std::string>& notes);

}  // namespace zemjunit

#endif
