// Run and the connection, decided without a widget. Run clears the picture,
// sets the trace, runs the script (remotely when connected, else in the run
// worker with the user's script set aside) and then decides what the
// message line, the log pane and the editor show.
#include "ViewerSession.h"

#include <csignal>
#include <cstdio>

#include "Approve.h"
#include "FileText.h"
#include "Drawing.h"
#include "DrawingText.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "RemoteClient.h"
#include "ScriptAside.h"
#include "ScriptText.h"
#include "ZemCall.h"

namespace {

std::string cut(const std::string& text) { return text.substr(0, kSettingText); }

// The message line's word on a run that ended its worker.
std::string brokenNotice(const LocalResult& result)
{
    std::string mark = "BROKEN (" + result.broken + ")";
    return result.test.empty() ? mark : result.test + ": " + mark;
}

// The log pane holds no NUL bytes; everything else is shown as written.
bool readLog(const std::string& name, std::string& log)
{
    std::string bytes;
    if (name.empty() || !FileText::read(name, bytes))
        return false;
    log.clear();
    for (char c : bytes)
        if (c != '\0')
            log += c;
    return true;
}

// The picture before a run, kept aside while it runs: a generated run that
// records no drawing command (a program without "ongraphic", a click
// nobody handles) leaves the pane's picture as it was; otherwise the old
// picture goes.
class KeptPicture {
public:
    KeptPicture() : m_Start(GrcBase::m_Start), m_Last(GrcBase::m_Last)
    {
        GrcBase::m_Start = GrcBase::m_Last = nullptr;
    }
    ~KeptPicture()
    {
        if (!m_Start)
            return;
        GrcBase* start = GrcBase::m_Start;
        GrcBase* last = GrcBase::m_Last;
        GrcBase::m_Start = m_Start;
        GrcBase::m_Last = m_Last;
        GrcBase::clearList();
        GrcBase::m_Start = start;
        GrcBase::m_Last = last;
    }
    KeptPicture(const KeptPicture&) = delete;
    KeptPicture& operator=(const KeptPicture&) = delete;
    // Puts the old picture back when the run drew nothing; true then.
    bool restoreIfEmpty()
    {
        if (GrcBase::m_Start)
            return false;
        GrcBase::m_Start = m_Start;
        GrcBase::m_Last = m_Last;
        m_Start = m_Last = nullptr;
        return true;
    }

private:
    GrcBase* m_Start;
    GrcBase* m_Last;
};

// A send on a connection the tester closed. The socket stays open, and the
// dialog learns of it from the keep-alive: nothing else is safe here.
void pipeBroken(int) { RemoteClient::m_Connected = 0; }

}

const char* const ViewerSession::kLostMessage = "tester lost: Run now runs locally";

ViewerSettings::ViewerSettings() : traceDepth(ParseOut::NoDepthLimit) {}

void ViewerSession::setTrace(int depth, const std::string& root)
{
    m_Settings.traceDepth = depth;
    m_Settings.traceRoot = cut(root);
}

void ViewerSession::saveLog(const std::string& text)
{
    m_SavedLog = text;
    m_HasSavedLog = true;
}

void ViewerSession::dropSavedLog()
{
    m_SavedLog.clear();
    m_HasSavedLog = false;
}

RunOutcome ViewerSession::run(const RunRequest& request, RunWaiter& waiter)
{
    RunOutcome outcome;
    if (request.scriptPath.empty())
        return outcome;
    KeptPicture kept;
    std::string lastOut = Parse::getLastOutFile();
    ParseOut::setTraceDepth(m_Settings.traceDepth);
    ParseOut::setTraceRoot(m_Settings.traceRoot.c_str());
    if (connected()) {
        runRemotely(request, outcome);
        if (!m_GraphicMode)
            Parse::setLastOutFile(outcome.resultFile.c_str());
    } else if (!ZemCall::getFunc(nullptr)) {
        outcome.nothingRan = true;
        outcome.setMessage = true;
        outcome.message = "no server connected";
        return outcome;
    } else {
        runLocally(request, waiter, outcome);
        if (m_Lost && outcome.notice.empty())
            outcome.notice = "ran locally: the tester was lost";
        m_Lost = false;
    }
    decideShow(request, !m_GraphicMode, outcome);
    m_Remark.clear();
    if (request.generated && m_Recorder.on())
        // The recording's own report is no result file of the user's.
        Parse::setLastOutFile(lastOut.c_str());
    if (request.generated) {
        noteGenerated(request, outcome);
        m_Remark = outcome.remark;
        kept.restoreIfEmpty();
    } else {
        notePictureFailure(request, outcome);
    }
    return outcome;
}

// A generated run that reached no test function says so (the pane keeps
// its picture), and while recording the run is written down as a test.
// Only a recorded run reports: a generated script names no result file.
void ViewerSession::noteGenerated(const RunRequest& request, RunOutcome& outcome)
{
    std::string script;
    FileText::read(request.scriptPath, script);
    size_t line = script.rfind('\n');
    std::string record = line == std::string::npos ? script : script.substr(line + 1);
    std::string name = record.substr(0, record.find('{'));
    std::string run = outcome.hasLog ? lastRunOfLog(outcome.log) : std::string();
    std::string unknown = unknownFunctionOf(run);
    if (unknown.empty() && !connected() && !name.empty() && !ZemCall::getFunc(name.c_str()))
        unknown = name;
    if (!unknown.empty())
        outcome.remark = "no test function \"" + unknown + "\"";
    if (!m_Recorder.on())
        return;
    RecordedRun recorded;
    recorded.record = record;
    recorded.log = run;
    recorded.drawing = drawingOf(GrcBase::m_Start);
    recorded.cutShort = !outcome.notice.empty() ? outcome.notice
                        : outcome.hasLog        ? ""
                                                : "the run left no report";
    outcome.recordingStopped = m_Recorder.add(recorded, outcome.remark) == Recorder::kFailed;
}

bool ViewerSession::startRecording(const std::string& path, const std::string& scriptPath,
                                   const std::string& editorText, std::string& message)
{
    if (!m_Recorder.start(path, scriptPath, editorText, message))
        return false;
    if (!connected())
        m_Local.release();
    return true;
}

std::string ViewerSession::generatedScript(const std::string& record) const
{
    if (!m_Recorder.on())
        return record;
    std::string report = "\"" + m_Recorder.runReport() + "\"";
    return "deletefile " + report + "\nresultfile " + report + "\n" + record;
}

// The tester keeps its copy of the editor's script until the script
// changes; a generated script always travels, and leaves the flag alone.
void ViewerSession::runRemotely(const RunRequest& request, RunOutcome& outcome)
{
    std::string content = request.editorText;
    if (request.generated && !FileText::read(request.scriptPath, content))
        content.clear();
    bool sendContent = request.generated || m_ScriptChanged;
    if (RemoteClient::exchange(request.scriptPath.c_str(), content, sendContent, request.selector, outcome) &&
        !request.generated)
        m_ScriptChanged = false;
    // A tester silent in mid-reply is given up for good.
    if (!connected())
        m_Lost = true;
}

// The run uses the text being edited: the file on disk steps aside and
// comes back afterwards, and the worker runs the script, so a function
// under test that crashes takes only the worker down.
void ViewerSession::runLocally(const RunRequest& request, RunWaiter& waiter, RunOutcome& outcome)
{
    ScriptAside aside;
    if (!request.generated && !aside.put(request.scriptPath, savedForm(request.editorText), outcome.notice))
        return;
    LocalResult result;
    m_LocalBusy = true;
    bool ran = m_Local.run(request.scriptPath,
                           request.selector,
                           m_Settings.traceDepth,
                           m_Settings.traceRoot,
                           waiter,
                           result,
                           outcome.notice);
    m_LocalBusy = false;
    if (ran) {
        outcome.resultFile = result.reply.resultFile;
        outcome.errorText = result.reply.errorText;
        outcome.errorLine = result.reply.errorLine;
        outcome.errorPos = result.reply.errorPos;
        if (!result.broken.empty())
            outcome.notice = brokenNotice(result);
        Parse::setLastOutFile(outcome.resultFile.c_str());
    }
    std::string restored;
    if (!aside.restore(restored))
        outcome.notice = restored;
}

// The message line: the result file's name (outside the picture view), else
// the error, else a word that there was no result file; a notice last.
void ViewerSession::decideShow(const RunRequest& request, bool showName, RunOutcome& outcome)
{
    if (showName) {
        outcome.setMessage = true;
        outcome.message = outcome.resultFile;
    }
    outcome.hasLog = readLog(outcome.resultFile, outcome.log);
    if (!outcome.hasLog && !outcome.errorText.empty()) {
        outcome.setMessage = true;
        outcome.message = outcome.errorText;
    } else if (!outcome.hasLog && !request.generated) {
        outcome.setMessage = true;
        outcome.message = "no ResultFile specified";
    }
    if (!outcome.notice.empty()) {
        outcome.setMessage = true;
        outcome.message = outcome.notice;
    }
    outcome.selectError = outcome.errorLine != 0 && outcome.errorPos != -1;
    outcome.scrollLogToEnd = request.selector.empty() && !request.generated;
}

// A run the user started that failed a picture check shows the overlay and
// names the first difference, unless something weightier is to be said.
void ViewerSession::notePictureFailure(const RunRequest& request, RunOutcome& outcome)
{
    m_LastScript = request.scriptPath;
    m_LastLog = outcome.hasLog ? outcome.log : std::string();
    m_LastResultFile = outcome.resultFile;
    m_Picture = outcome.hasLog ? lastPictureFailure(outcome.log, request.scriptPath, outcome.resultFile)
                               : PictureFailure();
    m_PictureFailureShows = kOverlay;
    m_LastCutShort = !outcome.notice.empty();
    m_PictureFiles.clear();
    m_LastDrawing.clear();
    if (!m_Picture.file.empty()) {
        m_LastDrawing = drawingOf(GrcBase::m_Start);
        Approval a =
            approveScript(request.editorText, m_LastScript, lastRunOfLog(m_LastLog), m_LastResultFile);
        for (const auto& picture : a.failingPictures)
            for (const std::string& path : {picture.actual, picture.target}) {
                std::string bytes;
                m_PictureFiles.emplace_back(path,
                                            FileText::read(path, bytes) ? bytes : std::string("\0absent", 7));
            }
    }
    if (m_Picture.found && outcome.notice.empty()) {
        outcome.setMessage = true;
        outcome.message = m_Picture.line;
    }
}

ViewerSession::Accepted ViewerSession::accept(const std::string& editorText, const std::string& selected)
{
    Accepted out;
    std::string run = lastRunOfLog(m_LastLog);
    if (!selected.empty())
        run = blocksNamed(run, selected);
    Approval a = approveScript(editorText, m_LastScript, run, m_LastResultFile);
    size_t written = 0;
    std::string error = acceptPictures(a, written);
    out.changed = a.valuesChanged > 0;
    out.script = a.script;
    if (!error.empty())
        out.message = error;
    else if (a.valuesChanged == 0 && written == 0)
        out.message = "nothing to accept";
    else
        out.message = "accepted " + std::to_string(a.valuesChanged) + " values and " +
                      std::to_string(written) + " pictures";
    if (m_LastCutShort && error.empty())
        out.message += " (the run was cut short: only what it reported)";
    return out;
}

// A drawing file that changed on disk since the run (edited, or written by
// another run) is not what the run compared: it is left as it is.
std::string ViewerSession::acceptPictures(const Approval& a, size_t& written)
{
    std::string error;
    for (const PictureToApprove& picture : a.failingPictures) {
        bool changed = false;
        for (const auto& kept : m_PictureFiles) {
            std::string now;
            if ((kept.first == picture.actual || kept.first == picture.target) &&
                (FileText::read(kept.first, now) ? now : std::string("\0absent", 7)) != kept.second)
                changed = true;
        }
        std::vector<DrawCommand> actual;
        std::string saveError;
        if (changed)
            error = "not accepted: " + picture.target + " changed on disk since the run";
        else if (!actualDrawingFor(picture, m_LastDrawing, actual))
            error = "not accepted: the actual drawing of " + picture.file + " is not here";
        else if (saveDrawingFile(picture.target, actual, saveError))
            ++written;
        else
            error = "not accepted: " + saveError;
    }
    return error;
}

void ViewerSession::turnPicture()
{
    if (m_Picture.found)
        m_PictureFailureShows = static_cast<PictureShows>((m_PictureFailureShows + 1) % (kPicture + 1));
}

bool ViewerSession::connected() const { return RemoteClient::m_Connected == 1; }

ApplyOutcome ViewerSession::apply(bool toggleOn, const char* host, const char* port)
{
    if (toggleOn == connected()) {
        ApplyOutcome outcome;
        outcome.status = "ignored";
        return outcome;
    }
    return connected() ? disconnect() : connect(host, port);
}

ApplyOutcome ViewerSession::disconnect()
{
    ApplyOutcome outcome;
    outcome.status = RemoteClient::close();
    if (outcome.status == "disconnected")
        outcome.toggle = 0;
    outcome.runOngraphic = true;
    return outcome;
}

// Both texts must be had; the port is read as a decimal number, 0 when the
// text holds none.
ApplyOutcome ViewerSession::connect(const char* host, const char* port)
{
    ApplyOutcome outcome;
    outcome.status = "no hostname";
    if (host && port) {
        m_Settings.host = cut(host);
        m_Settings.port = 0;
        std::sscanf(port, "%d", &m_Settings.port);
        outcome.status = RemoteClient::open(m_Settings.host.c_str(), m_Settings.port);
    }
    if (!connected()) {
        outcome.toggle = 0;
        return outcome;
    }
    outcome.toggle = 1;
    outcome.clearMessage = true;
    m_Lost = false;
    m_ScriptChanged = true;
    outcome.startKeepAlive = true;
    outcome.runOngraphic = true;
    return outcome;
}

ViewerSession::KeepAlive ViewerSession::keepAlive()
{
    KeepAlive tick = kGoOn;
    if (!connected())
        // Lost without a close (a failed send, a silent tester): say so.
        tick = RemoteClient::m_Socket >= 0 ? kLost : kEnd;
    else if (!RemoteClient::keepAlive())
        tick = kLost;
    if (tick == kLost)
        m_Lost = true;
    return tick;
}

void ViewerSession::installPipeHandler() { std::signal(SIGPIPE, pipeBroken); }
