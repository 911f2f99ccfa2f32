// The time limit per test of ZemTester's --time-limit: a test function past
// it is ended like a crash, with the reason "time limit" and exit status 14
// (the alarm signal's number).
#ifndef ZEM_TIMELIMIT_H
#define ZEM_TIMELIMIT_H

namespace TimeLimit {

// Seconds a test function may run; 0 (the default) for no limit.
void set(double seconds);
double get();
// The start function that runs the test function under the limit.
int start();

}

#endif
