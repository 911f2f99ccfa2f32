// The main of every tester: everything happens in zemloop. Its status is the
// process's exit status, so the shell sees its low eight bits (-4 is 252).
#include "Tester.h"

int main(int argc, char** argv) { return zemloop(argc, argv, 0); }
