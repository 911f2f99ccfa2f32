// Recording: every generated run (a click, a key, the pane's "ongraphic")
// becomes a complete test of a script that ZemTester replays: the record's
// inputs, a check of every value the run produced and a picture check
// against the run's drawing, written beside the script.
#ifndef ZEM_RECORDER_H
#define ZEM_RECORDER_H

#include <string>
#include <vector>

#include "Drawing.h"

// One generated run as recording sees it.
struct RecordedRun {
    // The input record, as written into "xin.txt".
    std::string record;
    // The run's report blocks.
    std::string log;
    std::vector<DrawCommand> drawing;
    // Why the run does not count (it broke, was stopped, left no log).
    std::string cutShort;
};

// The test that replays a record and checks what its report block logged;
// empty, with the reason in why, when the block shows that the run failed.
// Values a script cannot spell are named in a comment instead.
std::string recordedTest(const std::string& record, const std::string& block, const std::string& pictureFile,
                         std::string& why);

// What a recorded script starts with: a fresh result file of its own, and
// the definition blocks of the script being edited, as they stand.
std::string recordingHeader(const std::string& resultFile, const std::string& scriptText);

// The name a test function's report gives when the program has no such
// function, or empty.
std::string unknownFunctionOf(const std::string& log);

class Recorder {
public:
    bool on() const { return m_On; }
    const std::string& path() const { return m_Path; }
    int recorded() const { return m_Count; }
    // The result file of the runs being recorded: "rec_run.txt" in the
    // current directory, which a remote tester has too; the recorded
    // script's own is "rec_result.txt".
    std::string runReport() const { return m_Stem + "_run.txt"; }

    // Starts recording into path. A new or empty file gets the header; a
    // script already there is added to. False, with the reason, when the
    // file cannot be had or is the script itself.
    bool start(const std::string& path, const std::string& scriptPath, const std::string& scriptText,
               std::string& message);
    void stop();

    // Adds the run as a test. A run that failed or was cut short is left
    // out (kSkipped); a file that cannot be written turns recording off
    // (kFailed) and keeps everything recorded before.
    enum Result { kRecorded, kSkipped, kFailed };
    Result add(const RecordedRun& run, std::string& message);

private:
    std::string nextPicture() const;
    bool append(const std::string& text, std::string& error);

    bool m_On = false;
    std::string m_Path;
    std::string m_Stem;
    int m_Count = 0;
};

#endif
