// Finding the picture to show after a run: a result file grows run after
// run, and each run ends with one more empty line than a block does, so
// the last run's blocks are those after the previous run's end.
#include "PictureView.h"

#include "DrawingText.h"
#include "GrcBase.h"

namespace {

const char* const kRunEnd = "}\n\n\n";

}

std::string lastRunOfLog(const std::string& log)
{
    size_t end = log.rfind(kRunEnd);
    if (end == std::string::npos || end == 0)
        return log;
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

// The file of the last failing picture check: `    picture "NAME"...] ERROR`.
bool lastFailingPicture(const std::string& run, std::string& file)
{
    const std::string head = "\n    picture \"";
    bool found = false;
    for (size_t at = run.find(head); at != std::string::npos; at = run.find(head, at + 1)) {
        size_t close = run.find('"', at + head.size());
        size_t lineEnd = run.find('\n', at + 1);
        if (close == std::string::npos || lineEnd == std::string::npos || close > lineEnd)
            continue;
        if (run.compare(lineEnd - 6, 6, " ERROR") != 0)
            continue;
        file = run.substr(at + head.size(), close - at - head.size());
        found = true;
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
