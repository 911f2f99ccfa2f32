// The main of every viewer: everything happens in zemViewer (ViewerApp.cpp,
// which opens with the viewer's design), whose status is the process's exit
// status in batch mode.
#include "Viewer.h"

int main(int argc, char** argv) { return zemViewer(argc, argv); }
