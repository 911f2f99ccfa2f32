// Reading a result file back: the blocks the tester appends, told apart by
// their shape, turned into the test cases a CI server shows.
#ifndef ZEM_RESULTSCAN_H
#define ZEM_RESULTSCAN_H

#include <string>
#include <vector>

namespace zemjunit {

// Outcome of one test case.
// NotRun: a test of the script that a run which died never reached, or the
// run itself when it never reached its end.
enum class Verdict { Passed, Failed, Broken, ScriptError, UnknownFunction, NotRun };

// One test case: a report block, a broken-test record, a trace cut short by
// a fatal signal, or a script error. text is the block as the tester wrote
// it; traces holds the call traces written for the test before its block.
// name is what a CI server shows: the test's head comment, or its function
// and script line (0: not known), made unique within the file.
struct TestCase {
    std::string name;
    int line = 0;
    Verdict verdict = Verdict::Passed;
    std::string message;  // one line for the failure's or error's message
    std::string text;
    std::string traces;
    // Absolute paths of files that a CI server shows beside the case.
    std::vector<std::string> attachments;
};

struct ScanResult {
    std::vector<TestCase> cases;
    std::string stray;  // lines that fit no block: the suite's system-out
};

// A test the tester runs from a script: its function's name, the line
// (from 1) that name is on, and the head comment its report block would
// start with (empty: none), which names it when it never ran.
struct ScriptTest {
    std::string name;
    int line = 0;
    std::string comment;
};

// Splits the result file's bytes into test cases. scriptTests lists the
// tests of the script in their order (may be empty); it gives the lines
// in the names, and names a test whose trace was cut short, which never
// gets a report block of its own. A file that does not end as a run ends
// gets NotRun cases: one per test of the script after the last one the run
// reported, or else one for the run itself, unless the script is given and
// its last test broke.
ScanResult scanResult(const std::string& bytes, const std::vector<ScriptTest>& scriptTests);

// The tests that the tester runs from a script, in script order: top-level
// names followed by a braced body, without definition blocks and "extern"
// tests.
std::vector<ScriptTest> scriptTests(const std::string& script);

}  // namespace zemjunit

#endif
