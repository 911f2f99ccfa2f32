// The graphic view of the log pane: switching views, replaying the picture,
// and the input records "buttonpress" and "keypress" that a click or a key
// in the picture writes into "xin.txt" and runs at once.
#include "GraphicPane.h"

#include <Xm/Text.h>

#include "GrcBase.h"
#include "InputRecord.h"
#include "KeyText.h"
#include "Parse.h"
#include "PlotSink.h"
#include "RunCommand.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

// The event's translation is looked at only for its first character.
const int kTranslation = 20;

void setLabel(Widget cascade, const char* text)
{
    if (!cascade)
        return;
    XmString label = XmStringCreateLocalized(const_cast<char*>(text));
    XtVaSetValues(cascade, XmNlabelString, label, nullptr);
    XmStringFree(label);
}

// Lays the pane out and exposes it afresh.
void remanage(Widget pane)
{
    XtUnmanageChild(pane);
    XtManageChild(pane);
}

void showPosition(int x, int y) { setTextOf(widgets().outname, InputRecord::position(x, y)); }

void keyPressed(XKeyEvent* event)
{
    char translated[kTranslation + 1] = "";
    KeySym sym = NoSymbol;
    int n = XLookupString(event, translated, kTranslation, &sym, nullptr);
    if (isViewSwitchKey(sym)) {
        if (session().graphicMode())
            showTextView(widgets().showCascade);
        else
            showGraphicView(widgets().showCascade);
        return;
    }
    char single[2];
    const char* key = keyTextOf(n > 0 ? translated[0] : 0, sym, single);
    if (session().graphicMode() && key)
        runGenerated(InputRecord::key(event->x, event->y, key));
}

void paneInput(Widget, XtPointer, XEvent* event, Boolean*)
{
    bool graphic = session().graphicMode();
    switch (event->type) {
    case MotionNotify:
        if (graphic)
            showPosition(event->xmotion.x, event->xmotion.y);
        break;
    case ButtonPress:
        if (graphic) {
            showPosition(event->xbutton.x, event->xbutton.y);
            runGenerated(InputRecord::button(event->xbutton.x, event->xbutton.y, event->xbutton.button));
        }
        break;
    case KeyPress:
        if (graphic)
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

int runGenerated(const std::string& record)
{
    if (!InputRecord::write(record))
        return 0;
    runScript(InputRecord::kScript);
    redrawPane();
    return 1;
}

void redrawPane()
{
    if (!session().graphicMode() || !central.display)
        return;
    GrcBase::execList();
    _finalize();
    XFlush(central.display);
}

void showGraphicView(Widget cascade)
{
    if (session().graphicMode())
        return;
    Widget pane = widgets().outtext;
    setLabel(cascade, "Show (Graphic)");
    XtVaSetValues(pane, XmNcursorPositionVisible, False, XmNeditable, True, nullptr);
    if (!session().hasSavedLog())
        session().saveLog(textOf(pane));
    setTextOf(pane, "");
    setTextOf(widgets().outname, InputRecord::position(0, 0));
    XmTextDisableRedisplay(pane);
    remanage(pane);
    session().setGraphicMode(true);
    runGenerated(InputRecord::ongraphic());
}

void showTextView(Widget cascade)
{
    if (!session().graphicMode())
        return;
    Widget pane = widgets().outtext;
    setLabel(cascade, "Show (Textlog)");
    XtVaSetValues(pane, XmNcursorPositionVisible, True, XmNeditable, False, nullptr);
    if (session().hasSavedLog())
        setTextOf(pane, session().savedLog());
    setTextOf(widgets().outname, Parse::getLastOutFile());
    XmTextEnableRedisplay(pane);
    remanage(pane);
    session().setGraphicMode(false);
}

void graphicItem(Widget, XtPointer, XtPointer) { showGraphicView(widgets().showCascade); }

void textLogItem(Widget, XtPointer, XtPointer) { showTextView(widgets().showCascade); }

void installPaneHandlers(Widget pane)
{
    XtAddEventHandler(pane, PointerMotionMask | KeyPressMask | ButtonPressMask, False, paneInput, nullptr);
    XtAddEventHandler(pane, StructureNotifyMask | VisibilityChangeMask, False, paneChanged, nullptr);
}
