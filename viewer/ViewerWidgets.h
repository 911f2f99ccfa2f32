// What the viewer's Motif files share: the main window's widgets, built by
// MainWindow.cpp and read by the others, and the viewer's one session,
// whose member functions are the only way to change its state.
#ifndef ZEM_VIEWERWIDGETS_H
#define ZEM_VIEWERWIDGETS_H

#include <X11/Intrinsic.h>

#include <string>

class ViewerSession;

struct ViewerWidgets {
    Widget shell;
    Widget form;
    Widget intext;
    Widget outtext;
    Widget inname;
    Widget outname;
    Widget search;
    Widget scale;
    Widget run;
    // The "Show (Textlog)" cascade, whose label names the view.
    Widget showCascade;
    // Search works in the pane that last had the keyboard focus.
    Widget focused;
    Widget other;
};

const ViewerWidgets& widgets();
// For MainWindow.cpp, which builds the window and follows the focus.
ViewerWidgets& widgetsToBuild();

ViewerSession& session();

// A text widget's text ("" when it cannot be had), and setting it.
std::string textOf(Widget text);
void setTextOf(Widget text, const std::string& value);

#endif
