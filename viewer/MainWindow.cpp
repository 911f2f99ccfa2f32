// The main window: the form with its menus, buttons, fields, splitter and
// the two panes, and the small callbacks of New, Exit, ReRead, Save and
// Clear Log.
#include "MainWindow.h"

#include <Xm/CascadeB.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/Text.h>

#include <cstdlib>

#include "GraphicPane.h"
#include "GrcBase.h"
#include "PaneSearch.h"
#include "Parse.h"
#include "PickBox.h"
#include "RecordItem.h"
#include "PlotSink.h"
#include "RemoteSession.h"
#include "RunCommand.h"
#include "ScriptFile.h"
#include "SettingsDialogs.h"
#include "Splitter.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

PickBox fileBox(int mode)
{
    PickBox box = {};
    box.mode = mode;
    box.callback = loadOrSave;
    return box;
}

// The two file dialogs of the File menu; both call load-or-save.
PickBox openBox = fileBox(0);
PickBox saveBox = fileBox(1);

// Attachment of one edge to a thousandth of the form.
void atPosition(Widget widget, const char* attachment, const char* position, int value)
{
    XtVaSetValues(widget, attachment, XmATTACH_POSITION, position, value, nullptr);
}

void leftRight(Widget widget, int left, int right)
{
    atPosition(widget, XmNleftAttachment, XmNleftPosition, left);
    atPosition(widget, XmNrightAttachment, XmNrightPosition, right);
}

void topOfForm(Widget widget, int offset)
{
    XtVaSetValues(widget, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, offset, nullptr);
}

Widget pushButton(Widget parent, const char* name, XtCallbackProc activate)
{
    Widget button =
        XtVaCreateManagedWidget(name, xmPushButtonWidgetClass, parent, XmNhighlightThickness, 0, nullptr);
    if (activate)
        XtAddCallback(button, XmNactivateCallback, activate, nullptr);
    return button;
}

void newScript(Widget, XtPointer, XtPointer)
{
    const ViewerWidgets& w = widgets();
    setTextOf(w.inname, "in.txt");
    setTextOf(w.intext, "");
    setTextOf(w.outname, "");
    setTextOf(w.outtext, "");
}

void exitViewer(Widget, XtPointer, XtPointer)
{
    GrcBase::clearList();
    std::exit(0);
}

void reRead(Widget, XtPointer, XtPointer)
{
    char* path = XmTextGetString(widgets().inname);
    if (!path)
        return;
    clearLog();
    loadOrSave(path, 0);
    XtFree(path);
}

void save(Widget, XtPointer, XtPointer)
{
    char* path = XmTextGetString(widgets().inname);
    if (!path)
        return;
    loadOrSave(path, 1);
    XtFree(path);
}

void clearLogPressed(Widget, XtPointer, XtPointer) { clearLog(); }

void runPressed(Widget, XtPointer, XtPointer) { runScript(nullptr); }

void acceptPressed(Widget, XtPointer, XtPointer) { acceptLastRun(); }

// The picture is painted over the pane after the button's own redisplay.
void runDisarmed(Widget, XtPointer, XtPointer) { redrawPane(); }

void searchBack(Widget, XtPointer, XtPointer) { searchPane(0); }

void searchForward(Widget, XtPointer, XtPointer) { searchPane(1); }

void logFocused(Widget, XtPointer, XtPointer)
{
    ViewerWidgets& w = widgetsToBuild();
    w.focused = w.outtext;
    w.other = w.intext;
}

void editorFocused(Widget, XtPointer, XtPointer)
{
    ViewerWidgets& w = widgetsToBuild();
    w.focused = w.intext;
    w.other = w.outtext;
    installPaneHandlers(w.outtext);
}

void scriptModified(Widget, XtPointer, XtPointer) { session().scriptEdited(); }

Widget scrolledText(Widget form, const char* name, int editable, int left, int right)
{
    Widget text = XmCreateScrolledText(form, const_cast<char*>(name), nullptr, 0);
    // clang-format off
    XtVaSetValues(text,
                  XmNeditMode, XmMULTI_LINE_EDIT,
                  XmNeditable, editable,
                  XmNhighlightThickness, 0,
                  nullptr);
    // clang-format on
    Widget window = XtParent(text);
    topOfForm(window, 85);
    XtVaSetValues(window, XmNbottomAttachment, XmATTACH_FORM, XmNbottomOffset, 35, nullptr);
    leftRight(window, left, right);
    XtManageChild(text);
    return text;
}

// A one-line message field: multi-line mode, but neither editable nor
// showing a cursor.
Widget messageField(Widget form, const char* name, int left, int right)
{
    // clang-format off
    Widget text = XtVaCreateManagedWidget(name, xmTextWidgetClass, form,
                                          XmNeditMode, XmMULTI_LINE_EDIT,
                                          XmNeditable, False,
                                          XmNcursorPositionVisible, False,
                                          XmNhighlightThickness, 0,
                                          nullptr);
    // clang-format on
    topOfForm(text, 35);
    leftRight(text, left, right);
    return text;
}

// <<, >> and the search field sit level with the menu bar.
Widget besideMenu(Widget widget, Widget menu, int left, int right)
{
    topOfForm(widget, 0);
    leftRight(widget, left, right);
    XtVaSetValues(widget, XmNbottomAttachment, XmATTACH_OPPOSITE_WIDGET, XmNbottomWidget, menu, nullptr);
    return widget;
}

Widget menuBar(Widget form)
{
    Widget bar = XmCreateMenuBar(form, const_cast<char*>("rootmenu"), nullptr, 0);
    XtVaSetValues(bar, XmNhighlightThickness, 0, nullptr);
    topOfForm(bar, 0);
    leftRight(bar, 10, 490);
    XtManageChild(bar);
    besideMenu(pushButton(form, "<<", searchBack), bar, 510, 550);
    besideMenu(pushButton(form, ">>", searchForward), bar, 550, 590);
    Widget search =
        XtVaCreateManagedWidget("search", xmTextWidgetClass, form, XmNhighlightThickness, 0, nullptr);
    besideMenu(search, bar, 600, 990);
    widgetsToBuild().search = search;
    return bar;
}

Widget pulldown(Widget parent, const char* name)
{
    Widget menu = XmCreatePulldownMenu(parent, const_cast<char*>(name), nullptr, 0);
    XtVaSetValues(menu, XmNhighlightThickness, 0, nullptr);
    return menu;
}

Widget cascade(Widget parent, const char* name, Widget menu)
{
    // clang-format off
    return XtVaCreateManagedWidget(name, xmCascadeButtonWidgetClass, parent,
                                   XmNsubMenuId, menu,
                                   XmNhighlightThickness, 0,
                                   nullptr);
    // clang-format on
}

void buildMenus(Widget bar)
{
    Widget file = pulldown(bar, "filemenu");
    pushButton(file, "New", newScript);
    XtAddCallback(pushButton(file, "Open", nullptr), XmNactivateCallback, PickBox::fdfunc, &openBox);
    XtAddCallback(pushButton(file, "SaveAs", nullptr), XmNactivateCallback, PickBox::fdfunc, &saveBox);
    pushButton(file, "Accept", acceptPressed);
    pushButton(file, "Exit", exitViewer);
    Widget settings = pulldown(bar, "editmenu");
    pushButton(settings, "Trace  ...", openTraceSettings);
    Widget remote = pushButton(settings, "Remote ...", nullptr);
    XtAddCallback(remote, XmNactivateCallback, openRemoteSettings, reinterpret_cast<XtPointer>(applyRemote));
    Widget output = pulldown(settings, "output");
    pushButton(output, "TextLog", textLogItem);
    pushButton(output, "Graphic", graphicItem);
    // After a failing picture check: expected and actual, or one of them.
    const struct {
        const char* name;
        long shows;
    } overlays[] = {{"Both", ViewerSession::kOverlay},
                    {"Expected", ViewerSession::kExpected},
                    {"Actual", ViewerSession::kActual}};
    for (const auto& o : overlays)
        XtAddCallback(pushButton(output, o.name, nullptr),
                      XmNactivateCallback,
                      overlayItem,
                      reinterpret_cast<XtPointer>(o.shows));
    widgetsToBuild().showCascade = cascade(settings, "Show (Textlog)", output);
    buildRecordItem(settings);
    cascade(bar, "File  ", file);
    cascade(bar, "Settings ", settings);
}

Widget bottomButton(Widget form, const char* name, XtCallbackProc activate, int left, int right)
{
    Widget button = pushButton(form, name, activate);
    atPosition(button, XmNbottomAttachment, XmNbottomPosition, 990);
    leftRight(button, left, right);
    return button;
}

void buildSplitter(Widget form)
{
    // clang-format off
    Widget scale = XtVaCreateManagedWidget("Scale", xmScaleWidgetClass, form,
                                           XmNorientation, XmHORIZONTAL,
                                           XmNprocessingDirection, XmMAX_ON_RIGHT,
                                           XmNminimum, 0,
                                           XmNmaximum, 1000,
                                           XmNvalue, 500,
                                           XmNhighlightThickness, 0,
                                           nullptr);
    // clang-format on
    topOfForm(scale, 65);
    leftRight(scale, 10, 990);
    XtAddCallback(scale, XmNvalueChangedCallback, splitterMoved, nullptr);
    widgetsToBuild().scale = scale;
}

}

void buildMainWindow(Widget shell)
{
    ViewerWidgets& w = widgetsToBuild();
    Widget form = XtVaCreateManagedWidget("form", xmFormWidgetClass, shell, XmNfractionBase, 1000, nullptr);
    w.shell = shell;
    w.form = form;
    openBox.parent = saveBox.parent = form;
    w.outtext = scrolledText(form, "outtext", False, 510, 990);
    buildMenus(menuBar(form));
    bottomButton(form, "ReRead", reRead, 10, 240);
    bottomButton(form, "Save", save, 260, 490);
    w.run = bottomButton(form, "Run", runPressed, 510, 740);
    XtAddCallback(w.run, XmNdisarmCallback, runDisarmed, nullptr);
    bottomButton(form, "Clear Log", clearLogPressed, 760, 990);
    w.inname = messageField(form, "inname", 10, 490);
    setTextOf(w.inname, "in.txt");
    w.outname = messageField(form, "outname", 510, 990);
    buildSplitter(form);
    w.intext = scrolledText(form, "intext", True, 10, 490);
    XtVaSetValues(XtParent(w.intext), XmNscrollBarPlacement, XmBOTTOM_LEFT, nullptr);
    XtAddCallback(w.outtext, XmNfocusCallback, logFocused, nullptr);
    XtAddCallback(w.intext, XmNfocusCallback, editorFocused, nullptr);
    XtAddCallback(w.intext, XmNmodifyVerifyCallback, scriptModified, nullptr);
    w.focused = w.intext;
    w.other = w.outtext;
    installPaneHandlers(w.outtext);
}

void clearLog()
{
    const ViewerWidgets& w = widgets();
    session().dropSavedLog();
    Parse::setLastOutFile("");
    setTextOf(w.outtext, "");
    setTextOf(w.outname, "");
    GrcBase::clearList();
    if (session().graphicMode()) {
        GrcBase::execList();
        _finalize();
    }
}
