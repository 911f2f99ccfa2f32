// Record's Motif side: the toggle, and the prompt "recordfile" that asks
// for the script to record into (the edited script's name with "_rec"
// as a first guess). Cancel, or a file that cannot be had, leaves the
// toggle off.
#include "RecordItem.h"

#include <Xm/SelectioB.h>
#include <Xm/Text.h>
#include <Xm/ToggleB.h>

#include <string>

#include "GraphicPane.h"
#include "InputRecord.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

namespace {

Widget toggle = nullptr;
Widget prompt = nullptr;

std::string firstGuess()
{
    std::string script = textOf(widgets().inname);
    size_t dot = script.rfind('.');
    if (dot == std::string::npos || script.find('/', dot) != std::string::npos)
        return script + "_rec";
    return script.substr(0, dot) + "_rec" + script.substr(dot);
}

std::string promptText()
{
    Widget field = XmSelectionBoxGetChild(prompt, XmDIALOG_TEXT);
    return field ? textOf(field) : std::string();
}

void setToggle(bool on) { XmToggleButtonSetState(toggle, on ? True : False, False); }

// Recording starts from a fresh program: the pane shows its picture, and
// that first "ongraphic" is the recording's first test.
void promptOk(Widget, XtPointer, XtPointer)
{
    std::string message;
    bool started =
        session().startRecording(promptText(), textOf(widgets().inname), textOf(widgets().intext), message);
    setToggle(started);
    setTextOf(widgets().outname, message);
    if (started && session().graphicMode())
        runGenerated(InputRecord::ongraphic());
}

// Cancel, or the window closed: the toggle shows whether recording is on.
void promptGone(Widget, XtPointer, XtPointer) { setToggle(session().recorder().on()); }

void askForFile()
{
    if (!prompt) {
        prompt = XmCreatePromptDialog(widgets().form, const_cast<char*>("recordfile"), nullptr, 0);
        XmString label = XmStringCreateLocalized(const_cast<char*>("Record into script:"));
        XmString title = XmStringCreateLocalized(const_cast<char*>("Record"));
        XtVaSetValues(prompt, XmNselectionLabelString, label, XmNdialogTitle, title, nullptr);
        XmStringFree(label);
        XmStringFree(title);
        XtUnmanageChild(XmSelectionBoxGetChild(prompt, XmDIALOG_HELP_BUTTON));
        XtAddCallback(prompt, XmNokCallback, promptOk, nullptr);
        XtAddCallback(prompt, XmNcancelCallback, promptGone, nullptr);
        XtAddCallback(prompt, XmNunmapCallback, promptGone, nullptr);
    }
    XtManageChild(prompt);
    // The guess is selected: a name typed replaces it.
    Widget field = XmSelectionBoxGetChild(prompt, XmDIALOG_TEXT);
    if (field) {
        std::string guess = firstGuess();
        setTextOf(field, guess);
        XmTextSetSelection(
            field, 0, static_cast<XmTextPosition>(guess.size()), XtLastTimestampProcessed(XtDisplay(field)));
    }
}

void recordChanged(Widget, XtPointer, XtPointer call)
{
    auto* state = static_cast<XmToggleButtonCallbackStruct*>(call);
    if (state->set) {
        askForFile();
        return;
    }
    if (!session().recorder().on())
        return;
    session().stopRecording();
    setTextOf(widgets().outname,
              "recorded " + std::to_string(session().recorder().recorded()) + " tests into " +
                  session().recorder().path());
}

}

void buildRecordItem(Widget menu)
{
    // The indicator shows also when off: a toggle, not a command.
    toggle =
        XtVaCreateManagedWidget("Record", xmToggleButtonWidgetClass, menu, XmNvisibleWhenOff, True, nullptr);
    XtAddCallback(toggle, XmNvalueChangedCallback, recordChanged, nullptr);
}

void showRecordingOff()
{
    if (toggle)
        setToggle(false);
}
