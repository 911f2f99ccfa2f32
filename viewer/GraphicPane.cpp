// The graphic view of the log pane: switching views, replaying the picture,
// and the input records "buttonpress" and "keypress" that a click or a key
// in the picture writes into "xin.txt" and runs at once.
#include "GraphicPane.h"

#include <Xm/Text.h>

#include <cstdio>

#include "GrcBase.h"
#include "KeyText.h"
#include "Parse.h"
#include "PlotSink.h"
#include "Viewer.h"

namespace {

const char* const kInputScript = "xin.txt";
// The event's translation is looked at only for its first character.
const int kTranslation = 20;

void setLabel(Widget cascade, XmString label)
{
    if (cascade)
        XtVaSetValues(cascade, XmNlabelString, label, nullptr);
}

// Lays the pane out and exposes it afresh.
void remanage(Widget pane)
{
    XtUnmanageChild(pane);
    XtManageChild(pane);
}

void showPosition(int x, int y)
{
    char text[32];
    std::snprintf(text, sizeof text, "X=%04d Y=%04d", x, y);
    XmTextSetString(viewer.outname, text);
}

void keyPressed(XKeyEvent* event)
{
    char translated[kTranslation + 1] = "";
    KeySym sym = NoSymbol;
    int n = XLookupString(event, translated, kTranslation, &sym, nullptr);
    if (isViewSwitchKey(sym)) {
        if (viewer.graphicMode)
            showTextView(viewer.showCascade);
        else
            showGraphicView(viewer.showCascade);
        return;
    }
    char single[2];
    const char* key = keyTextOf(n > 0 ? translated[0] : 0, sym, single);
    if (!viewer.graphicMode || !key)
        return;
    char record[64];
    std::snprintf(record, sizeof record, "keypress{x=%d y=%d key=\"%s\"}", event->x, event->y, key);
    runGenerated(record);
}

void buttonPressed(XButtonEvent* event)
{
    char record[96];
    std::snprintf(record,
                  sizeof record,
                  "buttonpress{x=%d y=%d button=%d}",
                  event->x,
                  event->y,
                  static_cast<int>(event->button) - 1);
    runGenerated(record);
}

void paneInput(Widget, XtPointer, XEvent* event, Boolean*)
{
    switch (event->type) {
    case MotionNotify:
        if (viewer.graphicMode)
            showPosition(event->xmotion.x, event->xmotion.y);
        break;
    case ButtonPress:
        if (viewer.graphicMode) {
            showPosition(event->xbutton.x, event->xbutton.y);
            buttonPressed(&event->xbutton);
        }
        break;
    case KeyPress:
        if (viewer.graphicMode)
            showPosition(event->xkey.x, event->xkey.y);
        keyPressed(&event->xkey);
        break;
    }
}

// Mapping, resizing, moving and visibility changes repaint the picture.
void paneChanged(Widget, XtPointer, XEvent* event, Boolean*)
{
    if (event->type == ConfigureNotify || event->type == MapNotify || event->type == VisibilityNotify)
        redrawPane();
}

}

int runGenerated(const char* record)
{
    FILE* file = std::fopen(kInputScript, "w");
    if (!file)
        return 0;
    std::fputs(record, file);
    std::fclose(file);
    viewer.generatedScript = kInputScript;
    runScript();
    viewer.generatedScript = nullptr;
    redrawPane();
    return 1;
}

void redrawPane()
{
    if (!viewer.graphicMode || !central.display)
        return;
    GrcBase::execList();
    _finalize();
    XFlush(central.display);
}

void showGraphicView(Widget cascade)
{
    if (viewer.graphicMode)
        return;
    setLabel(cascade, viewer.showGraphic);
    XtVaSetValues(viewer.outtext, XmNcursorPositionVisible, False, XmNeditable, True, nullptr);
    if (!viewer.savedLog)
        viewer.savedLog = XmTextGetString(viewer.outtext);
    XmTextSetString(viewer.outtext, const_cast<char*>(""));
    XmTextSetString(viewer.outname, const_cast<char*>("X=0000 Y=0000"));
    XmTextDisableRedisplay(viewer.outtext);
    remanage(viewer.outtext);
    viewer.graphicMode = 1;
    runGenerated("ongraphic{}");
}

void showTextView(Widget cascade)
{
    if (!viewer.graphicMode)
        return;
    setLabel(cascade, viewer.showTextlog);
    XtVaSetValues(viewer.outtext, XmNcursorPositionVisible, True, XmNeditable, False, nullptr);
    if (viewer.savedLog)
        XmTextSetString(viewer.outtext, viewer.savedLog);
    XmTextSetString(viewer.outname, Parse::getLastOutFile());
    XmTextEnableRedisplay(viewer.outtext);
    remanage(viewer.outtext);
    viewer.graphicMode = 0;
}

void graphicItem(Widget, XtPointer, XtPointer) { showGraphicView(viewer.showCascade); }

void textLogItem(Widget, XtPointer, XtPointer) { showTextView(viewer.showCascade); }

void installPaneHandlers(Widget pane)
{
    XtAddEventHandler(pane, PointerMotionMask | KeyPressMask | ButtonPressMask, False, paneInput, nullptr);
    XtAddEventHandler(pane, StructureNotifyMask | VisibilityChangeMask, False, paneChanged, nullptr);
}
