// The main window: the form with its menus, buttons, fields, splitter and
// the two panes.
#ifndef ZEM_MAINWINDOW_H
#define ZEM_MAINWINDOW_H

#include <X11/Intrinsic.h>

// Builds the window's widgets under the shell (ViewerWidgets.h).
void buildMainWindow(Widget shell);
// Clear Log: the log, the result file name, the message line and the
// picture become empty.
void clearLog();

#endif
