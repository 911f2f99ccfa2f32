// The splitter between the editor and the log pane: the scale's value moves
// the divider, corrected for the slider's own travel on the scale's width.
#include "Viewer.h"

#include <Xm/Scale.h>

void splitterEdges(int value, int width, int* editorRight, int* logLeft)
{
    // A scale not yet laid out counts as the window's default width.
    double w = width > 0 ? width : 800;
    int shift = static_cast<int>((800.0 / w) * ((value - 500) * 0.0625));
    int b = value - shift;
    if (b < 50) {
        *editorRight = 40;
        *logLeft = 10;
    } else if (b > 950) {
        *editorRight = 940;
        *logLeft = 960;
    } else {
        *editorRight = b - 10;
        *logLeft = b + 10;
    }
}

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
    XtVaSetValues(XtParent(viewer.intext), XmNrightPosition, right, nullptr);
    XtVaSetValues(XtParent(viewer.outtext), XmNleftPosition, left, nullptr);
}
