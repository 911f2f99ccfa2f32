// Fuzz target for what the viewer reads out of a result file, which a
// remote tester sends: recording a run (the test a report block becomes),
// a test function the program lacks, a failing picture check's line, and
// the last run of a log. Any bytes are read or refused, never a crash; a
// recorded test always has the shape of one.
#include "PictureReport.h"
#include "PictureView.h"
#include "Recorder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The record's name, " {", the inputs, "  verify:", checks and comments,
// the picture check, "}": each line of it indented but the first and last.
void checkTest(const std::string& record, const std::string& test)
{
    std::string name = record.substr(0, record.find('{'));
    if (test.compare(0, name.size() + 3, name + " {\n") != 0 || !endsWith(test, "  picture \"p.zdr\"\n}\n") ||
        test.find("\n  verify:\n") == std::string::npos)
        std::abort();
    size_t body = name.size() + 3, end = test.size() - 2;
    for (size_t at = body; at < end;) {
        if (test.compare(at, 2, "  ") != 0)
            std::abort();
        at = test.find('\n', at) + 1;
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first line is the record, the rest the log.
    size_t nl = bytes.find('\n');
    std::string record = nl == std::string::npos ? bytes : bytes.substr(0, nl);
    std::string log = nl == std::string::npos ? std::string() : bytes.substr(nl + 1);

    std::string run = lastRunOfLog(log);
    if (run.size() > log.size() || log.find(run) == std::string::npos)
        std::abort();
    std::string why;
    std::string test = recordedTest(record, run, "p.zdr", why);
    if (test.empty() == why.empty())
        std::abort();
    if (!test.empty() && record.find('\n') == std::string::npos)
        checkTest(record, test);
    unknownFunctionOf(log);
    blocksNamed(run, record);

    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        std::string line = log.substr(start, end == std::string::npos ? std::string::npos : end - start);
        FailedPictureLine picture;
        if (readFailedPicture(line, picture) &&
            (picture.file.empty() || picture.tolerance < 0 ||
             line.find("; [picture " + picture.file + ": ") == std::string::npos))
            std::abort();
        start = end == std::string::npos ? log.size() : end + 1;
    }
    return 0;
}
