// Run's Motif side: the request from the script-name field, the editor and
// its selection; the window served while a local run lasts; the outcome
// into the log pane, the message line and the editor's selection.
#include "RunCommand.h"

#include <X11/keysym.h>
#include <Xm/Text.h>

#include <chrono>
#include <poll.h>
#include <string>

#include "RecordItem.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

// The log pane is filled in blocks, so that the widget never copies a
// large result file twice.
const size_t kBlock = 5000;
// A run that lasts longer than this shows that it can be stopped.
const int kNoticeMs = 300;

// Set by Run and Esc while a local run lasts: the user wants it ended.
bool stopAsked = false;

// The selected test, as the text of the selection, "0" and the selection's
// start; empty when nothing is selected.
std::string selectorOf()
{
    std::string selector;
    XmTextPosition left, right;
    Widget editor = widgets().intext;
    if (!XmTextGetSelectionPosition(editor, &left, &right))
        return selector;
    char* text = XmTextGetSelection(editor);
    if (text && *text)
        selector = std::string(text) + "0" + std::to_string(static_cast<long>(left));
    XtFree(text);
    return selector;
}

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

void setLabel(Widget button, const char* text)
{
    XmString label = XmStringCreateLocalized(const_cast<char*>(text));
    XtVaSetValues(button, XmNlabelString, label, nullptr);
    XmStringFree(label);
}

// The window while the worker runs a script: it repaints, says after a
// moment that Run (now "Stop") or Esc ends the run, and takes the stop.
class WindowWaiter : public RunWaiter {
public:
    WindowWaiter() : m_Display(XtDisplay(widgets().form)), m_Started(std::chrono::steady_clock::now())
    {
        m_Pick.run = XtWindow(widgets().run);
        m_Pick.escape = XKeysymToKeycode(m_Display, XK_Escape);
        stopAsked = false;
    }
    ~WindowWaiter() override
    {
        if (!m_Noticed)
            return;
        setLabel(widgets().run, "Run");
        setTextOf(widgets().outname, m_Message);
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
    void noticeOnce()
    {
        using namespace std::chrono;
        if (m_Noticed || steady_clock::now() - m_Started < milliseconds(kNoticeMs))
            return;
        m_Noticed = true;
        m_Message = textOf(widgets().outname);
        setLabel(widgets().run, "Stop");
        setTextOf(widgets().outname, "running: Stop or Esc ends the run");
    }

    Display* m_Display;
    EventPick m_Pick;
    std::chrono::steady_clock::time_point m_Started;
    bool m_Noticed = false;
    std::string m_Message;
};

void appendLog(const std::string& log)
{
    Widget pane = widgets().outtext;
    for (size_t at = 0; at < log.size(); at += kBlock) {
        std::string block = log.substr(at, kBlock);
        XmTextInsert(pane, XmTextGetLastPosition(pane), const_cast<char*>(block.c_str()));
    }
}

void showOutcome(const RunOutcome& outcome)
{
    const ViewerWidgets& w = widgets();
    if (outcome.hasLog)
        appendLog(outcome.log);
    if (outcome.setMessage)
        setTextOf(w.outname, outcome.message);
    if (outcome.selectError) {
        XmTextShowPosition(w.intext, outcome.errorPos);
        XmTextSetSelection(
            w.intext, outcome.errorPos, outcome.errorPos + 1, XtLastTimestampProcessed(XtDisplay(w.intext)));
    }
    XmTextSetInsertionPosition(w.outtext, 0);
    if (outcome.scrollLogToEnd)
        XmTextShowPosition(w.outtext, XmTextGetLastPosition(w.outtext));
}

// A run started by the user replaces the log kept aside; in the picture view
// the new log goes aside at once.
void keepLog()
{
    session().dropSavedLog();
    if (session().graphicMode()) {
        session().saveLog(textOf(widgets().outtext));
        setTextOf(widgets().outtext, "");
    }
}

}

bool runScript(const char* generatedPath)
{
    if (session().localBusy()) {
        stopAsked = true;
        return false;
    }
    const ViewerWidgets& w = widgets();
    RunRequest request;
    request.generated = generatedPath != nullptr;
    request.scriptPath = request.generated ? generatedPath : textOf(w.inname);
    if (request.scriptPath.empty())
        return false;
    setTextOf(w.outtext, "");
    if (!request.generated) {
        request.selector = selectorOf();
        request.editorText = textOf(w.intext);
    }
    RunOutcome outcome;
    {
        WindowWaiter waiter;
        outcome = session().run(request, waiter);
    }
    if (outcome.nothingRan) {
        setTextOf(w.outname, outcome.message);
        return true;
    }
    showOutcome(outcome);
    if (outcome.recordingStopped)
        showRecordingOff();
    if (!request.generated)
        keepLog();
    return outcome.setMessage;
}

void acceptLastRun()
{
    const ViewerWidgets& w = widgets();
    XmTextPosition left = 0, right = 0;
    bool selection = XmTextGetSelectionPosition(w.intext, &left, &right);
    std::string selected;
    if (selection) {
        char* text = XmTextGetSelection(w.intext);
        selected = text ? text : "";
        XtFree(text);
    }
    ViewerSession::Accepted accepted = session().accept(textOf(w.intext), selected);
    if (accepted.changed) {
        // The new text keeps the editor's view: what was on top, the cursor
        // and the selection stay where they were.
        XmTextPosition top = XmTextGetTopCharacter(w.intext);
        XmTextPosition cursor = XmTextGetInsertionPosition(w.intext);
        setTextOf(w.intext, accepted.script);
        XmTextSetTopCharacter(w.intext, top);
        XmTextSetInsertionPosition(w.intext, cursor);
        if (selection)
            XmTextSetSelection(w.intext, left, right, XtLastTimestampProcessed(XtDisplay(w.intext)));
    }
    setTextOf(w.outname, accepted.message);
}
