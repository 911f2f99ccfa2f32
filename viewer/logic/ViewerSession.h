// The viewer's decisions, apart from its widgets: the settings, the
// script-changed flag, the view and the log kept aside, Run (a request in,
// an outcome out, local or remote), and connecting, disconnecting and
// keeping the connection alive. The Motif files turn widgets into requests
// and outcomes into widgets; nothing here calls back into them.
#ifndef ZEM_VIEWERSESSION_H
#define ZEM_VIEWERSESSION_H

#include <string>
#include <utility>
#include <vector>

#include "Approve.h"
#include "LocalRun.h"
#include "PictureView.h"
#include "Recorder.h"
#include "RunOutcome.h"

// Texts of the settings hold at most this many characters.
const int kSettingText = 8191;

struct ViewerSettings {
    // The local machine's loopback name.
    std::string host = "localhost";
    int port = 6500;
    int traceDepth;
    std::string traceRoot;
    ViewerSettings();
};

// What Apply in Remote Settings leads to.
struct ApplyOutcome {
    std::string status;
    // The toggle afterwards: 1 on, 0 off, -1 as it is.
    int toggle = -1;
    bool clearMessage = false;
    bool startKeepAlive = false;
    // Every connect and disconnect ends with one generated "ongraphic{}"
    // run, so that the pane shows the new side's picture.
    bool runOngraphic = false;
};

class ViewerSession {
public:
    enum KeepAlive { kGoOn, kEnd, kLost };

    const ViewerSettings& settings() const { return m_Settings; }
    // Trace Settings' Apply; the root is cut to the settings' length.
    void setTrace(int depth, const std::string& root);

    // Raised by every edit and every load; a completed remote run of the
    // editor's script lowers it.
    void scriptEdited() { m_ScriptChanged = true; }
    bool scriptChanged() const { return m_ScriptChanged; }

    // 1 while the log pane shows the picture.
    void setGraphicMode(bool on) { m_GraphicMode = on; }
    bool graphicMode() const { return m_GraphicMode; }
    // The log text put aside while the picture is shown.
    bool hasSavedLog() const { return m_HasSavedLog; }
    const std::string& savedLog() const { return m_SavedLog; }
    void saveLog(const std::string& text);
    void dropSavedLog();

    // Runs the request remotely when connected, else on the functions linked
    // in, through the run worker; the waiter serves the window meanwhile.
    // The command list is cleared first and holds the run's drawing after.
    RunOutcome run(const RunRequest& request, RunWaiter& waiter);
    // True while a local run is going on.
    bool localBusy() const { return m_LocalBusy; }

    // The last run's failing picture check, when it had one; the pane then
    // shows the overlay of expected and actual, or one of them, or the
    // picture as always, in this order on each turn.
    enum PictureShows { kOverlay, kExpected, kActual, kPicture };
    const PictureFailure& pictureFailure() const { return m_Picture; }
    PictureShows pictureShows() const { return m_PictureFailureShows; }
    void showPicture(PictureShows shows) { m_PictureFailureShows = shows; }
    void turnPicture();

    // Accept: the last run's failing == checks take their actual values in
    // the editor's text, and its failing pictures their actual drawings
    // (written at once), for the test named selected or, when that is
    // empty, for every test of the run. The values are those the log shows.
    struct Accepted {
        bool changed = false;
        std::string script;
        std::string message;
    };
    Accepted accept(const std::string& editorText, const std::string& selected);

    // Recording generated runs as tests of the script at path. The run
    // worker starts afresh, so that the recording starts from the state a
    // replay starts from; a remote tester keeps its state.
    bool startRecording(const std::string& path, const std::string& scriptPath, const std::string& editorText,
                        std::string& message);
    void stopRecording() { m_Recorder.stop(); }
    const Recorder& recorder() const { return m_Recorder; }
    // The last generated run's remark (RunOutcome::remark), which the
    // message line keeps after the pointer's position until the next run.
    const std::string& remark() const { return m_Remark; }
    // What a generated run's script holds: the record, and while recording
    // a fresh result file of the recording's own before it, since a script
    // without one reports nowhere and an unreported run cannot be recorded.
    std::string generatedScript(const std::string& record) const;

    // Apply of Remote Settings, from the toggle's state and the host and
    // port fields (null when a field's text cannot be had).
    ApplyOutcome apply(bool toggleOn, const char* host, const char* port);
    // The keep-alive timer's tick: go on, end quietly, or show the loss.
    KeepAlive keepAlive();
    // The main window's word on a lost tester.
    static const char* const kLostMessage;
    bool connected() const;
    // A send on a connection the tester closed marks it lost.
    static void installPipeHandler();

private:
    void runRemotely(const RunRequest& request, RunOutcome& outcome);
    void runLocally(const RunRequest& request, RunWaiter& waiter, RunOutcome& outcome);
    void decideShow(const RunRequest& request, bool showName, RunOutcome& outcome);
    void notePictureFailure(const RunRequest& request, RunOutcome& outcome);
    void noteGenerated(const RunRequest& request, RunOutcome& outcome);
    std::string acceptPictures(const Approval& a, size_t& written);
    ApplyOutcome connect(const char* host, const char* port);
    ApplyOutcome disconnect();

    ViewerSettings m_Settings;
    bool m_ScriptChanged = true;
    bool m_GraphicMode = false;
    bool m_HasSavedLog = false;
    std::string m_SavedLog;
    bool m_LocalBusy = false;
    // The tester went away without a disconnect: the next Run, which runs
    // locally, says so.
    bool m_Lost = false;
    PictureFailure m_Picture;
    // The last run the user started: its script, log and result file.
    std::string m_LastScript;
    std::string m_LastLog;
    std::string m_LastResultFile;
    // The drawing files a failing picture check of the last run would
    // change, and the actual drawings, as they were after it: Accept
    // leaves alone a file that changed on disk since.
    std::vector<std::pair<std::string, std::string>> m_PictureFiles;
    bool m_LastCutShort = false;
    // The last run's drawing, for the pictures of a run whose actual
    // drawings stayed with a remote tester.
    std::vector<DrawCommand> m_LastDrawing;
    PictureShows m_PictureFailureShows = kOverlay;
    Recorder m_Recorder;
    std::string m_Remark;
    LocalRun m_Local;
};

#endif
