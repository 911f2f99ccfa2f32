// ZemViewer's start-up: batch mode, the toolkit with its fallback resources
// and shell arguments, and the drawing context the graphic pane draws with.
//
// Design. The viewer is one Motif main window over a process-wide state
// (`viewer`, Viewer.h) and the drawing context `central` (PlotSink.h).
// Start reading at zemViewer below: one argument runs a script in batch mode
// and never touches X; otherwise openViewer builds the window (MainWindow.cpp)
// and the toolkit's loop takes over. Every user action is a short callback:
// loading and saving in ScriptFile.cpp, search in PaneSearch.cpp, the
// splitter in Splitter.cpp, Run in RunCommand.cpp, the file dialog in
// PickBox.cpp. Scripts run in this process through Parse::parseLoop on the
// functions linked in, among them the built-in loop-back "zemtst"; drawing
// calls made by them are recorded and replayed through PlotSink.
#include "Viewer.h"

#include <cstdio>
#include <cstring>

#include "ExitStatus.h"
#include "FatalSignal.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "PlotSink.h"
#include "RemoteSession.h"
#include "ZemCall.h"

namespace {

String fallbackResources[] = {
    const_cast<char*>("ZemViewer*fontList:7x14"),
    const_cast<char*>("ZemViewer*tabValue:1.0"),
    const_cast<char*>("ZemViewer*background:grey75"),
    const_cast<char*>("ZemViewer*foreground:midnightblue"),
    const_cast<char*>("ZemViewer*savefile*background:grey90"),
    const_cast<char*>("ZemViewer*trfunc*background:grey90"),
    const_cast<char*>("ZemViewer*remhost*background:grey90"),
    const_cast<char*>("ZemViewer*remport*background:grey90"),
    const_cast<char*>("ZemViewer*search*background:grey90"),
    const_cast<char*>("ZemViewer*intext*background:grey90"),
    const_cast<char*>("ZemViewer*outtext*background:grey90"),
    const_cast<char*>("ZemViewer*listdir*background:grey90"),
    const_cast<char*>("ZemViewer*listfile*background:grey90"),
    const_cast<char*>("ZemViewer*doubleClickInterval:1"),
    nullptr,
};

// The viewer's own test function: scripts can always run locally.
ZemCall zemtstCall("zemtst", zemtst);

// Motif's text widgets bind this name themselves; the application's own
// entry only has to exist.
void deleteNextCharacter(Widget, XEvent*, String*, Cardinal*) {}

XtActionsRec actions[] = {
    {const_cast<char*>("delete-next-character"), deleteNextCharacter},
};

void resetState(ViewerState& state)
{
    std::memset(&state, 0, sizeof state);
    std::snprintf(state.host, sizeof state.host, "%s", "localhost");
    state.port = 6500;
    state.traceDepth = 100;
    state.scriptChanged = 1;
    state.openBox.mode = 0;
    state.openBox.callback = loadOrSave;
    state.saveBox.mode = 1;
    state.saveBox.callback = loadOrSave;
}

void makeLabels(ViewerState& state)
{
    state.remoteOn = XmStringCreateLocalized(const_cast<char*>("Remote ON "));
    state.remoteOff = XmStringCreateLocalized(const_cast<char*>("Remote OFF"));
    state.showTextlog = XmStringCreateLocalized(const_cast<char*>("Show (Textlog)"));
    state.showGraphic = XmStringCreateLocalized(const_cast<char*>("Show (Graphic)"));
}

// A font that is not there never reaches an X call: "fixed" stands in, and
// when even that is missing the text of that size is skipped.
XFontStruct* loadFont(Display* display, const char* name, const char* second)
{
    XFontStruct* font = XLoadQueryFont(display, name);
    if (!font && second)
        font = XLoadQueryFont(display, second);
    if (!font)
        font = XLoadQueryFont(display, "fixed");
    return font;
}

void fillCentral(XtAppContext app, Widget shell)
{
    Display* display = XtDisplay(shell);
    central.appContext = app;
    central.display = display;
    central.window = XtWindow(viewer.outtext);
    central.drawGC = XCreateGC(display, central.window, 0, nullptr);
    central.clearGC = XCreateGC(display, central.window, 0, nullptr);
    central.colormap = DefaultColormap(display, DefaultScreen(display));
    central.tinyFont = loadFont(display, "6x10", nullptr);
    central.mediumFont = loadFont(display, "9x15", nullptr);
    central.largeFont = loadFont(display, "lucidasans-12", "10x20");
}

}

ViewerState viewer;
PlotCentral central;

int runBatch(const char* script)
{
    ParseOut::setTraceDepth(viewer.traceDepth);
    ParseOut::setTraceRoot(viewer.traceRoot);
    installFatalSignals(recordFatalSignal);
    int r = Parse::parseLoop(script, "", testStartsHere);
    printVerdict(r, script);
    return zemExitStatus(r);
}

Widget openViewer(int* argc, char** argv)
{
    resetState(viewer);
    GrcBase::m_Exec = 1;
    makeLabels(viewer);
    Arg args[7];
    int n = 0;
    XtSetArg(args[n], XmNmwmDecorations, 110), n++;
    XtSetArg(args[n], XmNmwmFunctions, 30), n++;
    XtSetArg(args[n], XmNminWidth, 600), n++;
    XtSetArg(args[n], XmNminHeight, 400), n++;
    XtSetArg(args[n], XmNwidth, 800), n++;
    XtSetArg(args[n], XmNheight, 600), n++;
    XtSetArg(args[n], XmNtitle, "ZemViewer 1.56B"), n++;
    XtAppContext app;
    Widget shell = XtOpenApplication(
        &app, "ZemViewer", nullptr, 0, argc, argv, fallbackResources, applicationShellWidgetClass, args, n);
    XtAppAddActions(app, actions, XtNumber(actions));
    installPipeHandler();
    buildMainWindow(shell);
    XtRealizeWidget(shell);
    fillCentral(app, shell);
    return shell;
}

int zemViewer(int argc, char** argv)
{
    resetState(viewer);
    if (argc == 2)
        return runBatch(argv[1]);
    Widget shell = openViewer(&argc, argv);
    XtAppMainLoop(XtWidgetToApplicationContext(shell));
    return 0;
}
