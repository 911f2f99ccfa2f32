// The verdict of a command-line run, and the driver's status mapped onto
// what an exit status can carry.
#include "ExitStatus.h"

#include <cstdio>

#include "FailedChecks.h"
#include "Parse.h"

namespace {

// The highest line number an exit status shows as itself; 252..255 are
// the negative statuses -4..-1 and 256 is 0.
const int kLastPlainLine = 251;

// On stderr, after the verdict: stdout stays what it always was.
void printFailedChecks(const char* script)
{
    for (int i = 0; i < FailedChecks::kept(); ++i)
        std::fprintf(stderr, "%s:%d: %s\n", script, FailedChecks::lineOf(i), FailedChecks::textOf(i));
    int more = FailedChecks::count() - FailedChecks::kept();
    if (more > 0)
        std::fprintf(stderr, "... and %d more\n", more);
}

}

int zemExitStatus(int result) { return result > kLastPlainLine ? kLastPlainLine : result; }

void printVerdict(int result, const char* script)
{
    if (result == -2)
        std::printf("invalid input file: %s\n", script);
    if (result == -3)
        std::printf("no outputfile defined\n");
    if (result == -4)
        std::printf("test with failed verifications\n");
    if (Parse::getErrLine() != 0)
        std::printf("%s\n", Parse::getErrString());
    else
        std::printf("ready\n");
    std::fflush(stdout);
    printFailedChecks(script);
}
