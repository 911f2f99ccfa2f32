// ZemViewer for a program of its own: a main that hands its arguments to
// zemViewer, linked with the functions under test (zem_add_viewer does it).
#ifndef ZEM_VIEWER_H
#define ZEM_VIEWER_H

// One argument runs that script in batch mode and returns the exit status
// (a fatal signal in a function under test ends the process with the
// signal's number, as ZemTester does); otherwise opens the main window and
// never returns.
int zemViewer(int argc, char** argv);

#endif
