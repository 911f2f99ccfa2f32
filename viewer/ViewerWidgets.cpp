// The one main window and the one session of the process, and the text
// helpers every Motif file of the viewer uses.
#include "ViewerWidgets.h"

#include <Xm/Text.h>

#include "ViewerSession.h"

namespace {

ViewerWidgets g_Widgets;
ViewerSession g_Session;

}

const ViewerWidgets& widgets() { return g_Widgets; }

ViewerWidgets& widgetsToBuild() { return g_Widgets; }

ViewerSession& session() { return g_Session; }

std::string textOf(Widget text)
{
    char* value = XmTextGetString(text);
    std::string copy = value ? value : "";
    XtFree(value);
    return copy;
}

void setTextOf(Widget text, const std::string& value)
{
    XmTextSetString(text, const_cast<char*>(value.c_str()));
}
