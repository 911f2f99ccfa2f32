// Run: runs the script of the script-name field on the functions linked
// into the viewer, shows the result file in the log pane, and selects the
// character at which a script error was found.
#include "Viewer.h"

#include <Xm/Text.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "RemoteSession.h"
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

// The whole file, byte for byte; 0 when it cannot be read.
int readWhole(const char* path, std::string& bytes)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return 0;
    char block[kBlock];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.append(block, got);
    std::fclose(file);
    return 1;
}

void writeWhole(const char* path, const std::string& bytes)
{
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

void saveEditorText(const char* path)
{
    char* text = XmTextGetString(viewer.intext);
    if (text)
        writeScript(path, text);
    XtFree(text);
}

// The run uses the text being edited: the file on disk steps aside as
// "<script>_" and comes back afterwards, so the disk copy is unchanged. A
// script that was not on disk leaves no file behind. When a "<script>_" of
// the user's own is there, it is not overwritten: the disk copy is kept in
// memory instead and written back.
void runEditedScript(const char* path, const char* selector)
{
    std::string aside = std::string(path) + "_";
    std::string original;
    int existed = access(path, F_OK) == 0;
    int asideTaken = access(aside.c_str(), F_OK) == 0;
    int kept = existed && asideTaken && readWhole(path, original);
    int movedAside = existed && !asideTaken && std::rename(path, aside.c_str()) == 0;
    saveEditorText(path);
    Parse::parseLoop(path, selector, testStartsHere);
    if (movedAside)
        std::rename(aside.c_str(), path);
    else if (kept)
        writeWhole(path, original);
    else if (!existed)
        std::remove(path);
}

const char* textOf(const char* text) { return text ? text : ""; }

RunOutcome runLocally(const char* path, const char* selector)
{
    if (viewer.generatedScript)
        Parse::parseLoop(path, selector, testStartsHere);
    else
        runEditedScript(path, selector);
    RunOutcome outcome;
    outcome.resultFile = textOf(Parse::getLastOutFile());
    outcome.errorText = textOf(Parse::getErrString());
    outcome.errorLine = Parse::getErrLine();
    outcome.errorPos = Parse::getErrPos();
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
