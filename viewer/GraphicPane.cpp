// The graphic view of the log pane: switching views, replaying the picture,
// and the input records "buttonpress" and "keypress" that a click or a key
// in the picture writes into "xin.txt" and runs at once.
#include "GraphicPane.h"

#include <X11/keysym.h>
#include <Xm/Text.h>

#include <cstdint>
#include <cstdlib>

#include "DrawingPng.h"
#include "GrcBase.h"
#include "InputRecord.h"
#include "KeyText.h"
#include "Parse.h"
#include "PlotSink.h"
#include "RunCommand.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

// 0xRRGGBB as a pixel of a TrueColor visual, whatever its masks.
unsigned long channel(unsigned value, unsigned long mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    unsigned long top = mask >> shift;
    return ((static_cast<unsigned long>(value) * top / 255) << shift) & mask;
}

unsigned long trueColor(const Visual* v, std::uint32_t rgb)
{
    return channel((rgb >> 16) & 0xff, v->red_mask) | channel((rgb >> 8) & 0xff, v->green_mask) |
           channel(rgb & 0xff, v->blue_mask);
}

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

// Lays the pane out and exposes it afresh. Unmanaging takes the keyboard
// focus away; a pane that had it gets it back, so that F1 switches back.
void remanage(Widget pane)
{
    bool focused = XmGetFocusWidget(pane) == pane;
    XtUnmanageChild(pane);
    XtManageChild(pane);
    if (focused)
        XmProcessTraversal(pane, XmTRAVERSE_CURRENT);
}

// The position, and what the last generated run had to say, if anything.
void showPosition(int x, int y)
{
    const std::string& remark = session().remark();
    setTextOf(widgets().outname, InputRecord::position(x, y) + (remark.empty() ? "" : "  " + remark));
}

void keyPressed(XKeyEvent* event)
{
    char translated[kTranslation + 1] = "";
    KeySym sym = NoSymbol;
    int n = XLookupString(event, translated, kTranslation, &sym, nullptr);
    if (sym == XK_F3) {
        acceptLastRun();
        return;
    }
    if (sym == XK_F2) {
        if (session().graphicMode())
            turnPicture();
        return;
    }
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
        runGenerated(InputRecord::key(event->x, event->y, key), event->x, event->y);
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
            runGenerated(InputRecord::button(event->xbutton.x, event->xbutton.y, event->xbutton.button),
                         event->xbutton.x,
                         event->xbutton.y);
        }
        break;
    case KeyPress:
        if (graphic)
            showPosition(event->xkey.x, event->xkey.y);
        keyPressed(&event->xkey);
        break;
    }
}

// The pane's size, for pictures painted to fit it.
void paneSize(int& width, int& height)
{
    Dimension w = 0, h = 0;
    XtVaGetValues(widgets().outtext, XmNwidth, &w, XmNheight, &h, nullptr);
    width = w > 0 ? w : 1;
    height = h > 0 ? h : 1;
}

// The pixels of the picture as X pixels of a TrueColor visual; false for
// any other visual, which then shows the plain picture.
XImage* imageOf(const DrawingPixels& pixels)
{
    Display* d = central.display;
    Visual* visual = DefaultVisual(d, DefaultScreen(d));
    if (visual->c_class != TrueColor)
        return nullptr;
    int depth = DefaultDepth(d, DefaultScreen(d));
    XImage* image = XCreateImage(d, visual, depth, ZPixmap, 0, nullptr, pixels.width, pixels.height, 32, 0);
    if (!image)
        return nullptr;
    image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * pixels.height));
    if (!image->data) {
        XDestroyImage(image);
        return nullptr;
    }
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            XPutPixel(image, x, y, trueColor(visual, pixels.at(x, y)));
    return image;
}

// A failing picture check of the last run is shown as the overlay of
// expected and actual (or one of them) instead of the plain picture.
bool paintOverlay()
{
    const PictureFailure& failure = session().pictureFailure();
    ViewerSession::PictureShows shows = session().pictureShows();
    if (!failure.found || shows == ViewerSession::kPicture)
        return false;
    int width, height;
    paneSize(width, height);
    OverlayShows which = shows == ViewerSession::kExpected ? OverlayShows::Expected
                         : shows == ViewerSession::kActual ? OverlayShows::Actual
                                                           : OverlayShows::Both;
    DrawingPixels pixels;
    std::string error;
    if (!renderDifference(
            failure.expected, failure.actual, failure.difference, which, width, height, pixels, error))
        return false;
    XImage* image = imageOf(pixels);
    if (!image)
        return false;
    XPutImage(
        central.display, central.window, central.drawGC, image, 0, 0, 0, 0, pixels.width, pixels.height);
    XDestroyImage(image);
    return true;
}

// Mapping, resizing, moving and visibility changes repaint the picture.
void paneChanged(Widget, XtPointer, XEvent* event, Boolean*)
{
    if (event->type == ConfigureNotify || event->type == MapNotify || event->type == VisibilityNotify)
        redrawPane();
}

}

int runGenerated(const std::string& record, int x, int y)
{
    if (!InputRecord::write(session().generatedScript(record)))
        return 0;
    bool said = runScript(InputRecord::kScript);
    if (session().graphicMode() && (!said || !session().remark().empty()))
        showPosition(x, y);
    redrawPane();
    return 1;
}

void redrawPane()
{
    if (!session().graphicMode() || !central.display)
        return;
    if (!paintOverlay())
        GrcBase::execList();
    _finalize();
    XFlush(central.display);
}

void turnPicture()
{
    session().turnPicture();
    redrawPane();
}

void overlayItem(Widget, XtPointer shows, XtPointer)
{
    session().showPicture(static_cast<ViewerSession::PictureShows>(reinterpret_cast<long>(shows)));
    if (session().graphicMode())
        redrawPane();
    else
        showGraphicView(widgets().showCascade);
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
