// The failed checks of a run, kept for the console: a run that fails says
// which checks failed and where, not only that something did. Each is kept
// as the script line of its test and "test: report line". Only the first
// Kept are kept, the rest are counted, so that a run where everything
// fails stays small.
#ifndef ZEM_FAILEDCHECKS_H
#define ZEM_FAILEDCHECKS_H

namespace FailedChecks {

enum { Kept = 100, TextSize = 1024 };

// Forgets every failure; a run starts.
void clear();
// The script line of the test whose report is written next.
void setTestLine(int line);
int testLine();
// Keeps "test: text" (cut to TextSize - 1 characters) under the current
// test line. 1 when kept, 0 when only counted.
int add(const char* test, const char* text);
// Failures added since the last clear, kept or not.
int count();
int kept();
// The i-th kept failure, 0 <= i < kept(); line 0 and "" outside.
int lineOf(int i);
const char* textOf(int i);

}

#endif
