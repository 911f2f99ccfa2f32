// Approve: the expected values of a script take what a run actually
// produced. Failing "==" checks get the actual value as their literal,
// failing picture checks the actual drawing as their file; every other
// byte of the script stays as it is.
#ifndef ZEM_APPROVE_H
#define ZEM_APPROVE_H

#include <string>
#include <vector>

// A failing picture check as the report shows it.
struct PictureToApprove {
    // As the script names it.
    std::string file;
    // The expected drawing's path, beside the script.
    std::string target;
    // Where the run left the actual drawing, beside the result file; a
    // remote tester leaves it on its own side.
    std::string actual;
    // The report's line: `picture "FILE"; [picture FILE: ...] ERROR`.
    std::string line;
};

struct Approval {
    // The script's new text; equal to the old one when nothing changed.
    std::string script;
    int valuesChanged = 0;
    // Drawing files to accept: the actual drawing, and where it goes.
    std::vector<std::pair<std::string, std::string>> pictures;
    // Every failing picture check, whether or not its actual drawing is
    // at hand (pictures above has those that are).
    std::vector<PictureToApprove> failingPictures;
    // Failing checks left for the user: "test: line of the report".
    std::vector<std::string> leftAlone;
};

// From the script's text and path, and the text and path of the result
// file of one run of it (only that run's blocks). The actual drawings are
// the "<stem>.actual.zdr" files the run left beside the result file.
// Doubles are taken as the report writes them, so the run should have
// used round-trip precision.
Approval approveScript(const std::string& scriptText, const std::string& scriptPath,
                       const std::string& resultText, const std::string& resultPath);

// The name in the script's first "resultfile" statement, found by the
// lexer without running anything; empty when there is none.
std::string resultFileOf(const std::string& scriptPath);

// The changed lines of after against before as a unified diff with three
// lines of context; approval keeps every line in place, so lines pair up.
std::string lineDiff(const std::string& before, const std::string& after, const std::string& name);

#endif
