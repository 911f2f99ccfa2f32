// Run: runs the script of the script-name field on the functions linked
// into the viewer, shows the result file in the log pane, and selects the
// character at which a script error was found.
#include "Viewer.h"

#include <Xm/Text.h>

#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "GrcBase.h"
#include "LocalRun.h"
#include "Parse.h"
#include "ParseOut.h"
#include "RemoteSession.h"
#include "ScriptAside.h"
#include "ZemCall.h"

namespace {

const int kBlock = 5000;

// The selected test, as the text of the selection, "0" and the selection's
// start; empty when nothing is selected or a generated script runs.
std::string selectorOf()
{
    std::string selector;
    XmTextPosition left, right;
    if (viewer.generatedScript || !XmTextGetSelectionPosition(viewer.intext, &left, &right))
        return selector;
    char* text = XmTextGetSelection(viewer.intext);
    if (text && *text)
        selector = std::string(text) + "0" + std::to_string(static_cast<long>(left));
    XtFree(text);
    return selector;
}

// The one run worker of this viewer; its functions keep their state
// from run to run.
LocalRun localRun;
// Set by Run and Esc while a local run lasts: the user wants it ended.
bool stopAsked = false;
bool localBusy = false;

// A run that lasts longer than this shows that it can be stopped.
const int kNoticeMs = 300;

// The events a local run lets through: repaints, everything on the Run
// button (which now stops the run) and Esc. The rest waits in the queue
// for the run's end, as it did when the run blocked the window.
struct EventPick {
    Window run;
    KeyCode escape;
};

Bool pickDuringRun(Display*, XEvent* event, XPointer arg)
{
    const EventPick* pick = reinterpret_cast<const EventPick*>(arg);
    switch (event->type) {
    case Expose:
    case GraphicsExpose:
    case NoExpose: return True;
    case KeyPress: return event->xkey.keycode == pick->escape;
    case ButtonPress:
    case ButtonRelease:
    case EnterNotify:
    case LeaveNotify: return event->xany.window == pick->run;
    default: return False;
    }
}

// The window while the worker runs a script: it repaints, says after a
// moment that Run (now "Stop") or Esc ends the run, and takes the stop.
class WindowWaiter : public RunWaiter {
public:
    WindowWaiter() : m_Started(std::chrono::steady_clock::now())
    {
        m_Display = XtDisplay(viewer.form);
        m_Run = XtNameToWidget(viewer.form, "Run");
        m_Pick.run = m_Run ? XtWindow(m_Run) : 0;
        m_Pick.escape = XKeysymToKeycode(m_Display, XK_Escape);
    }
    ~WindowWaiter() override
    {
        if (!m_Noticed)
            return;
        setLabel("Run");
        XmTextSetString(viewer.outname, const_cast<char*>(m_Message.c_str()));
    }
    bool wait(int fd) override
    {
        XFlush(m_Display);
        pollfd p[2] = {{fd, POLLIN, 0}, {ConnectionNumber(m_Display), POLLIN, 0}};
        poll(p, 2, kNoticeMs / 3);
        noticeOnce();
        XEvent event;
        while (XCheckIfEvent(m_Display, &event, pickDuringRun, reinterpret_cast<XPointer>(&m_Pick))) {
            if (event.type == KeyPress)
                stopAsked = true;
            else
                XtDispatchEvent(&event);
        }
        return !stopAsked;
    }

private:
    void setLabel(const char* text)
    {
        if (!m_Run)
            return;
        XmString label = XmStringCreateLocalized(const_cast<char*>(text));
        XtVaSetValues(m_Run, XmNlabelString, label, nullptr);
        XmStringFree(label);
    }
    void noticeOnce()
    {
        using namespace std::chrono;
        if (m_Noticed || steady_clock::now() - m_Started < milliseconds(kNoticeMs))
            return;
        m_Noticed = true;
        char* message = XmTextGetString(viewer.outname);
        m_Message = message ? message : "";
        XtFree(message);
        setLabel("Stop");
        XmTextSetString(viewer.outname, const_cast<char*>("running: Stop or Esc ends the run"));
    }

    Display* m_Display;
    Widget m_Run;
    EventPick m_Pick;
    std::chrono::steady_clock::time_point m_Started;
    bool m_Noticed = false;
    std::string m_Message;
};

std::string editorText()
{
    char* text = XmTextGetString(viewer.intext);
    std::string copy = text ? text : "";
    XtFree(text);
    return copy;
}

// The message line's word on a run that ended its worker.
std::string brokenNotice(const LocalResult& result)
{
    std::string mark = "BROKEN (" + result.broken + ")";
    return result.test.empty() ? mark : result.test + ": " + mark;
}

void takeResult(const LocalResult& result, RunOutcome& outcome)
{
    outcome.resultFile = result.reply.resultFile;
    outcome.errorText = result.reply.errorText;
    outcome.errorLine = result.reply.errorLine;
    outcome.errorPos = result.reply.errorPos;
    if (!result.broken.empty())
        outcome.notice = brokenNotice(result);
    Parse::setLastOutFile(outcome.resultFile.c_str());
}

// The run uses the text being edited: the file on disk steps aside and
// comes back afterwards (ScriptAside), and the script runs in the worker,
// so a function under test that crashes takes only the worker down.
RunOutcome runLocally(const char* path, const char* selector)
{
    RunOutcome outcome;
    ScriptAside aside;
    if (!viewer.generatedScript && !aside.put(path, savedForm(editorText()), outcome.notice))
        return outcome;
    LocalResult result;
    localBusy = true;
    stopAsked = false;
    {
        WindowWaiter waiter;
        if (localRun.run(path, selector, viewer.traceDepth, viewer.traceRoot, waiter, result, outcome.notice))
            takeResult(result, outcome);
    }
    localBusy = false;
    std::string restored;
    if (!aside.restore(restored))
        outcome.notice = restored;
    return outcome;
}

// The text widget holds no NUL bytes; everything else is shown as written.
int appendResultFile(const char* name)
{
    FILE* file = std::fopen(name, "r");
    if (!file)
        return 0;
    char block[kBlock + 1];
    size_t got;
    while ((got = std::fread(block, 1, kBlock, file)) > 0) {
        size_t kept = 0;
        for (size_t i = 0; i < got; ++i)
            if (block[i] != '\0')
                block[kept++] = block[i];
        block[kept] = '\0';
        XmTextInsert(viewer.outtext, XmTextGetLastPosition(viewer.outtext), block);
    }
    std::fclose(file);
    return 1;
}

void showOutcome(const RunOutcome& outcome, const std::string& selector)
{
    if (!viewer.graphicMode)
        XmTextSetString(viewer.outname, const_cast<char*>(outcome.resultFile.c_str()));
    if (outcome.resultFile.empty() || !appendResultFile(outcome.resultFile.c_str())) {
        if (!outcome.errorText.empty())
            XmTextSetString(viewer.outname, const_cast<char*>(outcome.errorText.c_str()));
        else if (!viewer.generatedScript)
            XmTextSetString(viewer.outname, const_cast<char*>("no ResultFile specified"));
    }
    if (outcome.errorLine != 0 && outcome.errorPos != -1) {
        XmTextShowPosition(viewer.intext, outcome.errorPos);
        XmTextSetSelection(viewer.intext,
                           outcome.errorPos,
                           outcome.errorPos + 1,
                           XtLastTimestampProcessed(XtDisplay(viewer.intext)));
    }
    XmTextSetInsertionPosition(viewer.outtext, 0);
    if (selector.empty() && !viewer.generatedScript)
        XmTextShowPosition(viewer.outtext, XmTextGetLastPosition(viewer.outtext));
    if (!outcome.notice.empty())
        XmTextSetString(viewer.outname, const_cast<char*>(outcome.notice.c_str()));
}

// A run started by the user replaces the log kept aside; in the picture view
// the new log goes aside at once.
void keepLog()
{
    if (viewer.generatedScript)
        return;
    XtFree(viewer.savedLog);
    viewer.savedLog = nullptr;
    if (viewer.graphicMode) {
        viewer.savedLog = XmTextGetString(viewer.outtext);
        XmTextSetString(viewer.outtext, const_cast<char*>(""));
    }
}

}

void runScript()
{
    // Run pressed again while a local run lasts stops it.
    if (localBusy) {
        stopAsked = true;
        return;
    }
    char* field = viewer.generatedScript ? nullptr : XmTextGetString(viewer.inname);
    std::string path = viewer.generatedScript ? viewer.generatedScript : (field ? field : "");
    XtFree(field);
    if (path.empty())
        return;
    XmTextSetString(viewer.outtext, const_cast<char*>(""));
    GrcBase::clearList();
    std::string selector = selectorOf();
    ParseOut::setTraceDepth(viewer.traceDepth);
    ParseOut::setTraceRoot(viewer.traceRoot);
    RunOutcome outcome;
    if (RemoteClient::m_Connected == 1) {
        runRemotely(path.c_str(), selector, outcome);
        if (!viewer.graphicMode)
            Parse::setLastOutFile(outcome.resultFile.c_str());
    } else if (!ZemCall::getFunc(nullptr)) {
        XmTextSetString(viewer.outname, const_cast<char*>("no server connected"));
        return;
    } else {
        outcome = runLocally(path.c_str(), selector.c_str());
    }
    showOutcome(outcome, selector);
    keepLog();
}
