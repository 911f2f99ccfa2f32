// ZemViewer's start-up: batch mode, the toolkit with its fallback resources
// and shell arguments, and the drawing context the graphic pane draws with.
//
// Design. The viewer is two layers, joined by one header. logic/ decides
// and knows no X: ViewerSession (settings, Run as a request in and an
// outcome out, the connection), the run worker that runs local scripts in
// a child process (LocalRun, RunWorker), the remote exchange, the key table,
// the search and the splitter's arithmetic; its tests need no display. The
// files here are the Motif front end: they turn widgets into requests and
// outcomes into widgets, and share only ViewerWidgets.h (the main window's
// widgets, read-only but to MainWindow.cpp, and the one session).
// Start reading at zemViewer below: one argument runs a script in batch mode
// and never touches X; otherwise openViewer builds the window (MainWindow.cpp)
// and the toolkit's loop takes over. Every user action is a short callback:
// loading and saving in ScriptFile.cpp, search in PaneSearch.cpp, the
// splitter in Splitter.cpp, Run in RunCommand.cpp, the picture and its input
// in GraphicPane.cpp, the dialogs in SettingsDialogs.cpp and their remote
// side in RemoteSession.cpp, the file dialog in PickBox.cpp. Drawing calls of
// a run come back as the command list and are replayed through PlotSink.
#include "ViewerApp.h"

#include <Xm/Xm.h>

#include <cstdio>
#include <cstring>

#include "ExitStatus.h"
#include "FatalSignal.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "PlotSink.h"
#include "MainWindow.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"
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
    central.window = XtWindow(widgets().outtext);
    central.drawGC = XCreateGC(display, central.window, 0, nullptr);
    central.clearGC = XCreateGC(display, central.window, 0, nullptr);
    central.colormap = DefaultColormap(display, DefaultScreen(display));
    central.tinyFont = loadFont(display, "6x10", nullptr);
    central.mediumFont = loadFont(display, "9x15", nullptr);
    central.largeFont = loadFont(display, "lucidasans-12", "10x20");
}

}

PlotCentral central;

namespace {

const char* const kUsage =
    "usage: ZemViewer                the main window (the X Toolkit's options, such as\n"
    "                                -display and -geometry, apply)\n"
    "       ZemViewer testscript     batch mode: run the script on the functions\n"
    "                                linked in, print the verdict, open no window\n"
    "       ZemViewer --help         this text\n"
    "\n"
    "exit status in batch mode as ZemTester's: 0 every check passed; 1-251 the\n"
    "line of a script error; 252 failed verifications; 253 no result file; 254\n"
    "unreadable script; 6, 7, 8, 11 a fatal signal in a test function.\n";

}

int runBatch(const char* script)
{
    ParseOut::setTraceDepth(session().settings().traceDepth);
    ParseOut::setTraceRoot(session().settings().traceRoot.c_str());
    installFatalSignals(recordFatalSignal);
    int r = Parse::parseLoop(script, "", testStartsHere);
    printVerdict(r, script);
    return zemExitStatus(r);
}

Widget openViewer(int* argc, char** argv)
{
    GrcBase::m_Exec = 1;
    Arg args[9];
    int n = 0;
    XtSetArg(args[n], XmNmwmDecorations, 110), n++;
    XtSetArg(args[n], XmNmwmFunctions, 30), n++;
    XtSetArg(args[n], XmNminWidth, 600), n++;
    XtSetArg(args[n], XmNminHeight, 400), n++;
    // Without a base size the toolkit takes the minimum size as the base
    // and adds a -geometry's size to it: 600x420 gave 1200x820.
    XtSetArg(args[n], XmNbaseWidth, 0), n++;
    XtSetArg(args[n], XmNbaseHeight, 0), n++;
    XtSetArg(args[n], XmNwidth, 800), n++;
    XtSetArg(args[n], XmNheight, 600), n++;
    XtSetArg(args[n], XmNtitle, "ZemViewer 1.56B"), n++;
    XtAppContext app;
    Widget shell = XtOpenApplication(
        &app, "ZemViewer", nullptr, 0, argc, argv, fallbackResources, applicationShellWidgetClass, args, n);
    XtAppAddActions(app, actions, XtNumber(actions));
    ViewerSession::installPipeHandler();
    buildMainWindow(shell);
    XtRealizeWidget(shell);
    fillCentral(app, shell);
    return shell;
}

int zemViewer(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2)
        return runBatch(argv[1]);
    Widget shell = openViewer(&argc, argv);
    XtAppMainLoop(XtWidgetToApplicationContext(shell));
    return 0;
}
