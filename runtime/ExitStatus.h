// The verdict and the process exit status of a script run from the command
// line, shared by the tester and the viewer's batch mode.
#ifndef ZEM_EXITSTATUS_H
#define ZEM_EXITSTATUS_H

// The shell sees only the low eight bits of an exit status. A script error is
// reported by its line number, so a line past 251 would read as success (256)
// or as one of the negative statuses (252..255). Lines 1..251 keep their
// number, later lines give 251; every other status is returned unchanged.
int zemExitStatus(int result);

// Prints the console verdict of the driver's result for script: the notes
// on an unreadable script, a missing result file and failed verifications,
// then the script error or "ready". Then, on stderr, each failed check of
// the run as "script:line: test: report line" (the line of the test's name),
// at most FailedChecks::Kept of them and "... and N more".
void printVerdict(int result, const char* script);

#endif
