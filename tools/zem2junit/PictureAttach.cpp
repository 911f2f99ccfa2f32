// A failing picture check's line names the drawing file as the script
// quotes it; the tester derived every other path from that name, the
// script's directory and the result file's, and so does this file.
#include "PictureAttach.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "DrawingCompare.h"
#include "DrawingPng.h"
#include "DrawingText.h"
#include "PictureReport.h"

namespace zemjunit {
namespace {

// zem2png's size, so that an attachment looks as the same drawing does
// when rendered by hand.
const int kWidth = 800;
const int kHeight = 600;

bool startsWith(const std::string& s, size_t at, const std::string& prefix)
{
    return s.compare(at, prefix.size(), prefix) == 0;
}

// A verified line: four spaces, then the check.
bool readCheck(const std::string& line, FailedPicture& out)
{
    FailedPictureLine read;
    if (!startsWith(line, 0, "    ") || !readFailedPicture(line.substr(4), read))
        return false;
    out.file = read.file;
    out.tolerance = read.tolerance;
    return true;
}

std::string workingDirectory()
{
    std::string buffer(256, '\0');
    while (!getcwd(&buffer[0], buffer.size())) {
        if (errno != ERANGE || buffer.size() > 65536)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.c_str();
}

}  // namespace

std::vector<FailedPicture> failedPictures(const std::string& block)
{
    std::vector<FailedPicture> checks;
    bool verified = false;
    size_t start = 0;
    while (start < block.size()) {
        size_t nl = block.find('\n', start);
        size_t end = nl == std::string::npos ? block.size() : nl;
        std::string line = block.substr(start, end - start);
        start = end + 1;
        // Logged values and traces may hold any text; only checks count.
        if (line == "  verified:" || line == "  logged:") {
            verified = line == "  verified:";
            continue;
        }
        FailedPicture check;
        if (verified && readCheck(line, check))
            checks.push_back(check);
    }
    return checks;
}

PicturePlace picturePlace(const FailedPicture& check, const std::string& resultFile,
                          const std::string& script)
{
    PicturePlace place;
    if (!script.empty())
        place.expected = drawingBesideScript(script, check.file);
    const std::string beside = drawingStemBesideResult(resultFile, check.file);
    place.actual = beside + ".actual.zdr";
    place.overlay = beside + ".diff.png";
    place.alone = beside + ".actual.png";
    return place;
}

bool renderPicture(const FailedPicture& check, const PicturePlace& place, std::string& png,
                   std::string& error)
{
    std::vector<DrawCommand> actual, expected;
    if (!loadDrawingFile(place.actual, actual, error))
        return false;
    std::string ignored;
    if (place.expected.empty() || !loadDrawingFile(place.expected, expected, ignored)) {
        png = place.alone;
        return writeDrawingPng(actual, kWidth, kHeight, png, error);
    }
    const DrawingDifference difference = compareDrawings(expected, actual, check.tolerance);
    png = place.overlay;
    return writeDifferencePng(
        expected, actual, difference, differenceLine(check.file, difference), kWidth, kHeight, png, error);
}

std::string absolutePath(const std::string& path, const std::string& cwd)
{
    if (!path.empty() && path[0] == '/')
        return path;
    size_t at = 0;
    while (startsWith(path, at, "./")) {
        at += 2;
        while (at < path.size() && path[at] == '/')
            ++at;
    }
    const std::string rest = path.substr(at);
    if (cwd.empty() || cwd.back() == '/')
        return cwd + rest;
    return cwd + "/" + rest;
}

void attachPictures(ScanResult& scan, const std::string& resultFile, const std::string& script,
                    std::vector<std::string>& notes)
{
    std::string cwd;
    for (TestCase& tc : scan.cases) {
        for (const FailedPicture& check : failedPictures(tc.text)) {
            std::string png, error;
            if (!renderPicture(check, picturePlace(check, resultFile, script), png, error)) {
                notes.push_back("zem2junit: no picture for " + check.file + " in " + tc.name + ": " + error);
                continue;
            }
            if (png[0] != '/' && cwd.empty() && (cwd = workingDirectory()).empty()) {
                notes.push_back("zem2junit: no picture for " + check.file + " in " + tc.name +
                                ": the working directory is not known");
                continue;
            }
            png = absolutePath(png, cwd);
            bool known = false;
            for (const std::string& attached : tc.attachments)
                known = known || attached == png;
            if (!known)
                tc.attachments.push_back(png);
        }
    }
}

}  // namespace zemjunit
