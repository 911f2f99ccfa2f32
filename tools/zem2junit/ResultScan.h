// Reading a result file back: the blocks the tester appends, told apart by
// their shape, turned into the test cases a CI server shows.
#ifndef ZEM_RESULTSCAN_H
#define ZEM_RESULTSCAN_H

#include <string>
#include <vector>

namespace zemjunit {

// Outcome of one test case.
enum class Verdict { Passed, Failed, Broken, ScriptError };

// One test case: a report block, a broken-test record, a trace cut short by
// a fatal signal, or a script error. text is the block as the tester wrote
// it; traces holds the call traces written for the test before its block.
struct TestCase {
    std::string name;
    Verdict verdict = Verdict::Passed;
    std::string message;  // one line for the failure's or error's message
    std::string text;
    std::string traces;
};

struct ScanResult {
    std::vector<TestCase> cases;
    std::string stray;  // lines that fit no block: the suite's system-out
};

// Splits the result file's bytes into test cases. scriptTests names the
// tests of the script in their order (may be empty); it names a test whose
// trace was cut short, which never gets a report block of its own.
ScanResult scanResult(const std::string& bytes, const std::vector<std::string>& scriptTests);

// The names of the tests that the tester runs from a script, in script
// order: top-level names followed by a braced body, without definition
// blocks and "extern" tests.
std::vector<std::string> scriptTestNames(const std::string& script);

}  // namespace zemjunit

#endif
