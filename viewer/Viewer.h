// ZemViewer's shared state and the entry points of its parts: start-up,
// main window, script file, search, splitter and Run.
#ifndef ZEM_VIEWER_H
#define ZEM_VIEWER_H

#include <Xm/Xm.h>

#include "PickBox.h"

// The one viewer of the process. Texts hold at most 8191 characters.
struct ViewerState {
    char host[8192];
    int port;
    int traceDepth;
    char traceRoot[8192];
    // Raised by every edit and every load; the remote client lowers it.
    int scriptChanged;
    // 1 while the log pane shows the picture.
    int graphicMode;
    // The log text put aside while the picture is shown; owned.
    char* savedLog;
    // Set to the script's path while a script the viewer wrote runs.
    const char* generatedScript;
    // Search works in the pane that last had the keyboard focus.
    Widget focused;
    Widget other;
    PickBox openBox;
    PickBox saveBox;
    XmString remoteOn;
    XmString remoteOff;
    XmString showTextlog;
    XmString showGraphic;

    Widget shell;
    Widget form;
    Widget intext;
    Widget outtext;
    Widget inname;
    Widget outname;
    Widget search;
    Widget scale;
    Widget showCascade;
};

extern ViewerState viewer;

// The program: one argument runs that script in batch mode and returns the
// exit status; otherwise opens the main window and never returns.
int zemViewer(int argc, char** argv);
// Batch mode: runs the script, prints the tester's verdict texts and returns
// the exit status (script errors past line 251 give 251).
int runBatch(const char* script);
// Starts the toolkit, builds and realises the main window and fills the
// drawing context; returns the application shell. Tests stop here.
Widget openViewer(int* argc, char** argv);

void buildMainWindow(Widget shell);
void clearLog();

// The callback of both file dialogs and of ReRead, Save and Run: mode 0
// loads path into the editor, mode 1 saves the editor's text to it.
void loadOrSave(char* path, int mode);
// Writes text to path with a final newline; 1 when the file was written.
int writeScript(const char* path, const char* text);

// Searches the focused pane for the search field's text.
void searchPane(int forward);
// The match of pattern in text at or before from (backwards) or at or
// after it (forwards); -1 when there is none or pattern is empty.
int findText(const char* text, const char* pattern, int from, int forward);

// The splitter: the editor's right edge and the log pane's left edge, in
// thousandths of the form, for a scale value and the scale's pixel width.
void splitterEdges(int value, int width, int* editorRight, int* logLeft);
void splitterMoved(Widget scale, XtPointer client, XtPointer call);

// Run: runs the script of the script-name field (or the generated script)
// and shows its result log, result file name and error position.
void runScript();

#endif
