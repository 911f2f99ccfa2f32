// The search of the <<, >> buttons: plain, case-sensitive text search in the
// pane that last had the keyboard focus, starting one character away from
// the insertion point so that repeated presses step from match to match.
#include "PaneSearch.h"

#include <Xm/Text.h>

#include <cstring>

#include "TextSearch.h"
#include "ViewerWidgets.h"

namespace {

// Selects the match and brings it into view.
void showMatch(Widget pane, int at, int length, Time time)
{
    XmTextSetSelection(pane, at, at + length, time);
    XmTextSetInsertionPosition(pane, at);
    XmTextShowPosition(pane, at);
}

// Nothing found: backwards ends at the start, forwards at the end.
void showEdge(Widget pane, int forward)
{
    XmTextPosition edge = forward ? XmTextGetLastPosition(pane) : 0;
    XmTextSetInsertionPosition(pane, edge);
    XmTextShowPosition(pane, edge);
}

// The pane keeps its keyboard focus after the button took it away.
void refocus(Widget pane, Widget other)
{
    Display* display = XtDisplay(pane);
    if (XtIsRealized(other))
        XSetInputFocus(display, XtWindow(other), RevertToNone, CurrentTime);
    if (XtIsRealized(pane))
        XSetInputFocus(display, XtWindow(pane), RevertToNone, CurrentTime);
}

}

void searchPane(int forward)
{
    const ViewerWidgets& w = widgets();
    Widget pane = w.focused;
    char* pattern = XmTextGetString(w.search);
    char* text = XmTextGetString(pane);
    Time time = XtLastTimestampProcessed(XtDisplay(pane));
    XmTextClearSelection(pane, time);
    int p = static_cast<int>(XmTextGetInsertionPosition(pane));
    int at = -1;
    if (pattern && text)
        at = findText(text, pattern, forward ? p + 1 : p - 1, forward);
    if (at >= 0)
        showMatch(pane, at, static_cast<int>(std::strlen(pattern)), time);
    else
        showEdge(pane, forward);
    XtFree(pattern);
    XtFree(text);
    refocus(pane, w.other);
}
