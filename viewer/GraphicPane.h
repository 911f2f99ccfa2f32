// The log pane's second view: the recorded picture, and the pane as an
// input device that turns clicks and key presses into generated scripts.
#ifndef ZEM_GRAPHICPANE_H
#define ZEM_GRAPHICPANE_H

#include <X11/Intrinsic.h>

#include <string>

// The two views; cascade is the "Show (...)" menu whose label names the
// view, or null. Switching to the view already shown does nothing.
void showGraphicView(Widget cascade);
void showTextView(Widget cascade);
// Menu callbacks of "Graphic" and "TextLog".
void graphicItem(Widget, XtPointer, XtPointer);
void textLogItem(Widget, XtPointer, XtPointer);

// Replays the picture and its frame while the graphic view is shown; after
// a run with a failing picture check, the overlay of expected and actual.
void redrawPane();
// F2 in the graphic view: overlay, expected, actual, plain picture, again.
void turnPicture();
// Menu callbacks of "Both", "Expected" and "Actual": client data is the
// ViewerSession::PictureShows to show.
void overlayItem(Widget, XtPointer shows, XtPointer);
// Watches the log pane for input and for the changes that need a redraw.
void installPaneHandlers(Widget pane);

// Writes record into "xin.txt" and runs it at once as a generated script,
// then redraws; 0 when the file cannot be written (nothing runs). x and y
// are the pointer's position, which the message line shows with the
// run's remark.
int runGenerated(const std::string& record, int x = 0, int y = 0);

#endif
