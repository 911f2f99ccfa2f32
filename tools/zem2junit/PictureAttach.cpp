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

namespace zemjunit {
namespace {

const char kCheck[] = "    picture \"";
const char kFailed[] = "] ERROR";
const char kTolerance[] = " +- ";
// zem2png's size, so that an attachment looks as the same drawing does
// when rendered by hand.
const int kWidth = 800;
const int kHeight = 600;
// Beyond any coordinate a drawing holds: a larger tolerance changes nothing.
const double kToleranceMax = 1e6;

bool startsWith(const std::string& s, size_t at, const std::string& prefix)
{
    return s.compare(at, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& s, const char* suffix)
{
    size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// The tester writes a name between quotes without escaping it, so the
// closing quote is the one after which the line goes on as a picture
// check's does, naming the same file again in its outcome.
bool readCheck(const std::string& line, FailedPicture& out)
{
    const size_t start = sizeof kCheck - 1;
    if (!startsWith(line, 0, kCheck) || !endsWith(line, kFailed))
        return false;
    for (size_t q = line.find('"', start); q != std::string::npos; q = line.find('"', q + 1)) {
        std::string file = line.substr(start, q - start);
        size_t rest = q + 1;
        double tolerance = 0;
        if (startsWith(line, rest, kTolerance)) {
            const char* number = line.c_str() + rest + sizeof kTolerance - 1;
            char* end = nullptr;
            tolerance = std::strtod(number, &end);
            if (end == number)
                continue;
            rest = static_cast<size_t>(end - line.c_str());
        }
        if (file.empty() || !startsWith(line, rest, "; [picture " + file + ": "))
            continue;
        out.file = file;
        // NaN fails both comparisons and counts as no tolerance.
        out.tolerance = tolerance > kToleranceMax ? static_cast<int>(kToleranceMax)
                        : tolerance > 0           ? static_cast<int>(tolerance)
                                                  : 0;
        return true;
    }
    return false;
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
