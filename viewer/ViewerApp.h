// The viewer's start-up, for its main (zemViewer, Viewer.h) and its tests.
#ifndef ZEM_VIEWERAPP_H
#define ZEM_VIEWERAPP_H

#include <X11/Intrinsic.h>

#include "Viewer.h"

// Batch mode: runs the script, prints the tester's verdict texts and returns
// the exit status (script errors past line 251 give 251).
int runBatch(const char* script);
// Starts the toolkit, builds and realises the main window and fills the
// drawing context; returns the application shell. Tests stop here.
Widget openViewer(int* argc, char** argv);

#endif
