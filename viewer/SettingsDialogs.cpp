// The two settings dialogs. Each is a dialog shell over one 300 x 150 form
// laid out in percentages; a dialog taken down is destroyed and the next
// opening builds a fresh one that shows the current settings.
#include "SettingsDialogs.h"

#include <Xm/DialogS.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/ScrollBar.h>
#include <Xm/Text.h>
#include <Xm/ToggleB.h>

#include <cstdio>

#include "ParseOut.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

Widget traceDialog = nullptr;
Widget remoteStatus = nullptr;

// The depth slider runs from None (0) to Max (no limit); its thumb takes
// room on the bar, so the bar's maximum lies beyond the largest depth.
const int kDepthSlider = 10;
const int kDepthMax = ParseOut::NoDepthLimit + kDepthSlider;

void setLabel(Widget w, const char* text)
{
    XmString label = XmStringCreateLocalized(const_cast<char*>(text));
    XtVaSetValues(w, XmNlabelString, label, nullptr);
    XmStringFree(label);
}

const char* toggleLabel(bool on) { return on ? "Remote ON " : "Remote OFF"; }

Widget remoteToggle() { return remoteStatus ? XtNameToWidget(XtParent(remoteStatus), "OFF") : nullptr; }

// Edges attached to percentages of the form; -1 leaves an edge alone.
void place(Widget w, int top, int left, int right, int bottom)
{
    if (top >= 0)
        XtVaSetValues(w, XmNtopAttachment, XmATTACH_POSITION, XmNtopPosition, top, nullptr);
    if (left >= 0)
        XtVaSetValues(w, XmNleftAttachment, XmATTACH_POSITION, XmNleftPosition, left, nullptr);
    if (right >= 0)
        XtVaSetValues(w, XmNrightAttachment, XmATTACH_POSITION, XmNrightPosition, right, nullptr);
    if (bottom >= 0)
        XtVaSetValues(w, XmNbottomAttachment, XmATTACH_POSITION, XmNbottomPosition, bottom, nullptr);
}

Widget child(const char* name, WidgetClass type, Widget parent)
{
    return XtVaCreateManagedWidget(name, type, parent, XmNhighlightThickness, 0, nullptr);
}

// A text field that shows a setting: neither editable nor with a cursor.
Widget readOnlyText(const char* name, Widget form)
{
    Widget w = child(name, xmTextWidgetClass, form);
    XtVaSetValues(w, XmNeditable, False, XmNcursorPositionVisible, False, nullptr);
    return w;
}

Widget button(const char* name, Widget parent, XtCallbackProc activate)
{
    Widget w = child(name, xmPushButtonWidgetClass, parent);
    XtAddCallback(w, XmNactivateCallback, activate, nullptr);
    return w;
}

// A dialog that is taken down, by its buttons or by the window manager,
// forgets its reference and goes away; Xt destroys it once the event that
// took it down has been handled.
void shellUnmapped(Widget shell, XtPointer reference, XEvent* event, Boolean*)
{
    if (event->type != UnmapNotify)
        return;
    Widget* ref = static_cast<Widget*>(reference);
    if (*ref == shell || (*ref && XtParent(XtParent(*ref)) == shell))
        *ref = nullptr;
    XtDestroyWidget(shell);
}

Widget dialogForm(const char* title, Widget* reference)
{
    // clang-format off
    Widget shell = XtVaCreatePopupShell(title, xmDialogShellWidgetClass, widgets().form,
                                        XmNtitle, title,
                                        XmNminWidth, 300,
                                        XmNminHeight, 150,
                                        XmNmaxHeight, 150,
                                        nullptr);
    // clang-format on
    XtAddEventHandler(shell, StructureNotifyMask, False, shellUnmapped, reference);
    return XtVaCreateWidget("form", xmFormWidgetClass, shell, XmNwidth, 300, XmNheight, 150, nullptr);
}

void showDepth(Widget bar, XtPointer, XtPointer)
{
    int v = 0;
    XtVaGetValues(bar, XmNvalue, &v, nullptr);
    char text[16];
    if (v >= ParseOut::NoDepthLimit)
        std::snprintf(text, sizeof text, "Max");
    else if (v > 0)
        std::snprintf(text, sizeof text, "%d", v);
    else
        std::snprintf(text, sizeof text, "None");
    Widget dtext = XtNameToWidget(XtParent(bar), "dtext");
    if (dtext)
        XmTextSetString(dtext, text);
}

void traceApply(Widget w, XtPointer, XtPointer)
{
    Widget form = XtParent(w);
    traceDialog = nullptr;
    int v = 0;
    XtVaGetValues(XtNameToWidget(form, "trdepth"), XmNvalue, &v, nullptr);
    char* root = XmTextGetString(XtNameToWidget(form, "trfunc"));
    session().setTrace(v, root ? root : session().settings().traceRoot);
    XtFree(root);
}

void traceClose(Widget, XtPointer, XtPointer) { traceDialog = nullptr; }

void remoteClose(Widget, XtPointer, XtPointer) { remoteStatus = nullptr; }

void toggleChanged(Widget toggle, XtPointer, XtPointer)
{
    setLabel(toggle, toggleLabel(XmToggleButtonGetState(toggle)));
}

void buildTraceWidgets(Widget form)
{
    place(child("Trace depth", xmLabelWidgetClass, form), 4, 3, 50, -1);
    Widget dtext = readOnlyText("dtext", form);
    XtVaSetValues(dtext, XmNshadowThickness, 0, nullptr);
    place(dtext, 1, 60, 80, -1);
    const ViewerSettings& settings = session().settings();
    if (settings.traceDepth == 0)
        XmTextSetString(dtext, const_cast<char*>("None"));
    // clang-format off
    Widget bar = XtVaCreateManagedWidget("trdepth", xmScrollBarWidgetClass, form,
                                         XmNorientation, XmHORIZONTAL,
                                         XmNmaximum, kDepthMax,
                                         XmNsliderSize, kDepthSlider,
                                         XmNhighlightThickness, 0,
                                         nullptr);
    // clang-format on
    place(bar, 20, 3, 97, -1);
    XtAddCallback(bar, XmNvalueChangedCallback, showDepth, nullptr);
    XtAddCallback(bar, XmNdragCallback, showDepth, nullptr);
    XmScrollBarSetValues(bar, settings.traceDepth, kDepthSlider, 1, 10, True);
    place(child("Trace root", xmLabelWidgetClass, form), 40, 3, 50, -1);
    Widget trfunc = child("trfunc", xmTextWidgetClass, form);
    place(trfunc, 55, 3, 97, -1);
    setTextOf(trfunc, settings.traceRoot);
    place(button("Apply", form, traceApply), -1, 3, 48, 97);
    place(button("Close", form, traceClose), -1, 52, 97, 97);
}

void buildRemoteWidgets(Widget form, XtCallbackProc apply)
{
    const ViewerSettings& settings = session().settings();
    place(child("Hostname", xmLabelWidgetClass, form), 4, 3, 50, -1);
    place(child("PortId", xmLabelWidgetClass, form), 4, 70, 97, -1);
    Widget host = child("remhost", xmTextWidgetClass, form);
    place(host, 16, 3, 70, -1);
    setTextOf(host, settings.host);
    Widget port = child("remport", xmTextWidgetClass, form);
    place(port, 16, 72, 97, -1);
    char portText[16];
    std::snprintf(portText, sizeof portText, "%d", settings.port);
    XmTextSetString(port, portText);
    place(child("Status  ", xmLabelWidgetClass, form), 41, 3, 45, -1);
    Widget status = readOnlyText("remstatus", form);
    place(status, 53, 3, 45, -1);
    Widget toggle = child("OFF", xmToggleButtonWidgetClass, form);
    place(toggle, 53, 55, 95, 70);
    Widget subform = child("subform", xmFormWidgetClass, form);
    place(subform, -1, 3, 45, 97);
    place(button("Apply", subform, apply), -1, 0, 100, -1);
    place(button("Close", form, remoteClose), -1, 55, 97, 97);
    remoteStatus = status;
    bool on = session().connected();
    XmToggleButtonSetState(toggle, on, False);
    setLabel(toggle, toggleLabel(on));
    XmTextSetString(status, const_cast<char*>(on ? "connected" : "disconnected"));
    XtAddCallback(toggle, XmNvalueChangedCallback, toggleChanged, nullptr);
}

}

void openTraceSettings(Widget, XtPointer, XtPointer)
{
    if (traceDialog)
        return;
    Widget form = dialogForm("Trace Settings", &traceDialog);
    traceDialog = XtParent(form);
    buildTraceWidgets(form);
    XtManageChild(form);
}

void openRemoteSettings(Widget, XtPointer apply, XtPointer)
{
    if (remoteStatus)
        return;
    Widget form = dialogForm("Remote Settings", &remoteStatus);
    buildRemoteWidgets(form, reinterpret_cast<XtCallbackProc>(apply));
    XtManageChild(form);
}

bool remoteDialogUp() { return remoteStatus != nullptr; }

bool remoteToggleOn()
{
    Widget toggle = remoteToggle();
    return toggle && XmToggleButtonGetState(toggle);
}

bool remoteFields(std::string& host, std::string& port)
{
    if (!remoteStatus)
        return false;
    Widget form = XtParent(remoteStatus);
    char* hostText = XmTextGetString(XtNameToWidget(form, "remhost"));
    char* portText = XmTextGetString(XtNameToWidget(form, "remport"));
    bool had = hostText && portText;
    host = hostText ? hostText : "";
    port = portText ? portText : "";
    XtFree(hostText);
    XtFree(portText);
    return had;
}

void showRemoteState(int toggle, const char* status)
{
    if (!remoteStatus)
        return;
    setTextOf(remoteStatus, status);
    Widget button = remoteToggle();
    if (!button || toggle < 0)
        return;
    XmToggleButtonSetState(button, toggle == 1, False);
    setLabel(button, toggleLabel(toggle == 1));
}

Widget traceDialogShell() { return traceDialog; }

Widget remoteStatusField() { return remoteStatus; }
