// The splitter: the scale's value moves the divider between the panes.
#include "Splitter.h"

#include <Xm/Scale.h>

#include "TextSearch.h"
#include "ViewerWidgets.h"

void splitterMoved(Widget scale, XtPointer, XtPointer call)
{
    XmScaleCallbackStruct* data = static_cast<XmScaleCallbackStruct*>(call);
    int value = 500;
    if (data)
        value = data->value;
    else
        XmScaleGetValue(scale, &value);
    Dimension width = 0;
    XtVaGetValues(scale, XmNwidth, &width, nullptr);
    int right, left;
    splitterEdges(value, width, &right, &left);
    XtVaSetValues(XtParent(widgets().intext), XmNrightPosition, right, nullptr);
    XtVaSetValues(XtParent(widgets().outtext), XmNleftPosition, left, nullptr);
}
