// Finding the picture to show after a run: a result file grows run after
// run, and each run ends with one more empty line than a block does, so
// the last run's blocks are those after the previous run's end.
#include "PictureView.h"

#include "DrawingText.h"
#include "GrcBase.h"
#include "PictureReport.h"

namespace {

const char* const kRunEnd = "}\n\n\n";

}

std::string lastRunOfLog(const std::string& log)
{
    size_t end = log.rfind(kRunEnd);
    if (end == std::string::npos || end == 0)
        return log;
    // A run cut short (a broken test) never wrote its end: it is what
    // follows the last run that did.
    if (end + 4 < log.size())
        return log.substr(end + 4);
    size_t before = log.rfind(kRunEnd, end - 1);
    return before == std::string::npos ? log : log.substr(before + 4);
}

std::string blocksNamed(const std::string& run, const std::string& name)
{
    std::string kept;
    const std::string head = name + "\n{\n";
    for (size_t at = 0; at < run.size();) {
        size_t next = run.find("\n}", at);
        size_t end = next == std::string::npos ? run.size() : run.find('\n', next + 2);
        end = end == std::string::npos ? run.size() : end + 1;
        if (run.compare(at, head.size(), head) == 0)
            kept += run.substr(at, end - at) + "\n";
        at = end;
        while (at < run.size() && run[at] == '\n')
            ++at;
    }
    return kept;
}

namespace {

// The file of the last failing picture check among the verified lines.
bool lastFailingPicture(const std::string& run, std::string& file)
{
    const std::string head = "\n    picture \"";
    bool found = false;
    for (size_t at = run.find(head); at != std::string::npos; at = run.find(head, at + 1)) {
        size_t lineEnd = run.find('\n', at + 1);
        FailedPictureLine line;
        if (readFailedPicture(
                run.substr(at + 5, lineEnd == std::string::npos ? std::string::npos : lineEnd - at - 5),
                line)) {
            file = line.file;
            found = true;
        }
    }
    return found;
}

}

PictureFailure lastPictureFailure(const std::string& log, const std::string& scriptPath,
                                  const std::string& resultFile)
{
    PictureFailure f;
    if (!lastFailingPicture(lastRunOfLog(log), f.file))
        return f;
    std::string error;
    if (!loadDrawingFile(drawingBesideScript(scriptPath, f.file), f.expected, error))
        f.expected.clear();
    std::string actual = drawingStemBesideResult(resultFile, f.file) + ".actual.zdr";
    if (!loadDrawingFile(actual, f.actual, error))
        f.actual = drawingOf(GrcBase::m_Start);
    f.difference = compareDrawings(f.expected, f.actual);
    f.line = differenceLine(f.file, f.difference);
    f.found = !f.difference.same;
    return f;
}

namespace {

// The report's line is cut at its greatest length: a prefix must match.
bool givesLine(const PictureToApprove& p, const std::vector<DrawCommand>& expected,
               const std::vector<DrawCommand>& candidate, int tolerance, const std::string& reported)
{
    DrawingDifference d = compareDrawings(expected, candidate, tolerance);
    std::string line = differenceLine(p.file, d);
    return !d.same && !reported.empty() && line.compare(0, reported.size(), reported) == 0;
}

}

bool actualDrawingFor(const PictureToApprove& picture, const std::vector<DrawCommand>& runDrawing,
                      std::vector<DrawCommand>& actual)
{
    std::vector<DrawCommand> expected, kept;
    std::string error;
    FailedPictureLine line;
    bool haveKept = loadDrawingFile(picture.actual, kept, error);
    // Without the expected drawing there is no difference to match: the
    // file the run left is taken as the tester's --approve takes it.
    if (!loadDrawingFile(picture.target, expected, error) || !readFailedPicture(picture.line, line)) {
        actual = kept;
        return haveKept;
    }
    int tolerance = line.tolerance;
    const std::string& reported = line.outcome;
    if (haveKept && givesLine(picture, expected, kept, tolerance, reported)) {
        actual = kept;
        return true;
    }
    for (size_t from = 0; from < runDrawing.size(); ++from) {
        if (from > 0 && runDrawing[from].kind != DrawCommand::Clear)
            continue;
        std::vector<DrawCommand> part(runDrawing.begin() + static_cast<long>(from), runDrawing.end());
        if (givesLine(picture, expected, part, tolerance, reported)) {
            actual = part;
            return true;
        }
    }
    return false;
}
