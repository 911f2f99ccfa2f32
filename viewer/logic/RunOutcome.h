// What Run takes from the window and what it gives back: the request, and
// the outcome with everything the message line, the log pane and the
// editor are to show.
#ifndef ZEM_RUNOUTCOME_H
#define ZEM_RUNOUTCOME_H

#include <string>

struct RunRequest {
    // The script-name field, or the path of a script the viewer wrote.
    std::string scriptPath;
    // The text being edited; a generated run takes its script from its file.
    std::string editorText;
    // The selected test ("%s0%d"), or empty for the whole script.
    std::string selector;
    // A script the viewer wrote itself (the graphic pane's records and the
    // connection's "ongraphic{}"): no selector, no set-aside, no saved log.
    bool generated = false;
};

struct RunOutcome {
    // What the run left: the driver's outputs.
    std::string resultFile;
    std::string errorText;
    int errorLine = 0;
    int errorPos = -1;
    // A text the message line shows last, over everything else: a run that
    // broke, or a file the run could not keep safe.
    std::string notice;

    // What the window shows, decided from the above. Nothing ran when no
    // tester is connected and no test function is linked in: the window
    // then shows the message and nothing else.
    bool nothingRan = false;
    bool setMessage = false;
    std::string message;
    // The result file's text for the log pane, when it could be read.
    bool hasLog = false;
    std::string log;
    // Select the one character at errorPos in the editor.
    bool selectError = false;
    // Show the end of the log (a whole script's run started by the user).
    bool scrollLogToEnd = false;
    // A generated run's word, which the message line adds after the
    // pointer's position: a test function the program lacks, what
    // recording did with the run.
    std::string remark;
    // Recording could not write its script and has turned itself off.
    bool recordingStopped = false;
};

#endif
