// The viewer connected to a real ZemTester in server mode on 127.0.0.1:
// connecting through Remote Settings, Run sending the script only when it
// changed, the remote result in the log pane, a click answered by a picture
// drawn on the tester's side, a killed tester, and a reply cut short.
// Screenshots of what a user sees are left in the build tree.
#include "ViewerFixture.h"
#include "XvfbServer.h"

#include <Xm/ToggleB.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>

#include "GraphicPane.h"
#include "GrcBase.h"
#include "RemoteClient.h"
#include "RemoteSession.h"
#include "SettingsDialogs.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

const int xvfb = (useXvfbForAllTests(), 0);

const std::string kScript = "resultfile \"r.txt\"\nadd { a = 1 b = 2 verify: sum == 3 }\n";

class RemoteViewer : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        for (int attempt = 0; attempt < 20 && m_Tester < 0; ++attempt)
            startTester(20000 + (getpid() * 13 + attempt * 271) % 20000);
        ASSERT_GT(m_Tester, 0) << "tester did not come up";
    }
    void TearDown() override
    {
        if (RemoteClient::m_Connected)
            RemoteClient::close();
        if (remoteStatusField())
            XtCallCallbacks(
                XtNameToWidget(XtParent(remoteStatusField()), "Close"), XmNactivateCallback, nullptr);
        showTextView(widgets().showCascade);
        settle();
        stopTester();
        ViewerTest::TearDown();
    }

    // The tester runs in a directory of its own, so the files each side
    // writes can be told apart.
    void startTester(int port)
    {
        m_Tester = fork();
        if (m_Tester == 0) {
            if (chdir(m_TesterDir.path().c_str()) != 0 || !std::freopen("console.txt", "w", stdout))
                _exit(99);
            std::string text = std::to_string(port);
            execl(ZEM_EXAMPLE_TESTER, ZEM_EXAMPLE_TESTER, "-p", text.c_str(), static_cast<char*>(nullptr));
            _exit(98);
        }
        m_Port = port;
        for (int i = 0; i < 100; ++i) {
            if (readFile(m_TesterDir.file("console.txt")).find("waiting...") != std::string::npos)
                return;
            int status;
            if (waitpid(m_Tester, &status, WNOHANG) == m_Tester)
                break;  // the port was taken
            usleep(20000);
        }
        m_Tester = -1;
    }
    void stopTester()
    {
        if (m_Tester > 0) {
            kill(m_Tester, SIGKILL);
            waitpid(m_Tester, nullptr, 0);
        }
        m_Tester = -1;
    }
    // A left click in the pane, as the toolkit delivers it.
    static void leftClick(int x, int y)
    {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        event.xbutton.type = ButtonPress;
        event.xbutton.display = XtDisplay(shell());
        event.xbutton.window = XtWindow(widgets().outtext);
        event.xbutton.x = x;
        event.xbutton.y = y;
        event.xbutton.button = 1;
        XtDispatchEvent(&event);
    }
    Widget dialog(const char* name) { return XtNameToWidget(XtParent(remoteStatusField()), name); }
    std::string status() { return text(remoteStatusField()); }
    void connectTo(int port)
    {
        openRemoteSettings(nullptr, reinterpret_cast<XtPointer>(applyRemote), nullptr);
        ASSERT_NE(remoteStatusField(), nullptr);
        setText(dialog("remhost"), "127.0.0.1");
        setText(dialog("remport"), std::to_string(port));
        XmToggleButtonSetState(dialog("OFF"), True, True);
        XtCallCallbacks(dialog("subform.Apply"), XmNactivateCallback, nullptr);
    }
    void editScript(const std::string& script)
    {
        setText(widgets().inname, "s.txt");
        setText(widgets().intext, script);
    }
    // Runs the toolkit's loop until done() holds or the time is up.
    bool pumpUntil(const std::function<bool()>& done, int ms)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        XtAppContext app = XtWidgetToApplicationContext(shell());
        while (!done() && std::chrono::steady_clock::now() < end) {
            while (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            usleep(10000);
        }
        return done();
    }
    unsigned long pixelAt(int x, int y)
    {
        XImage* image =
            XGetImage(XtDisplay(shell()), XtWindow(widgets().outtext), x, y, 1, 1, AllPlanes, ZPixmap);
        unsigned long pixel = image ? XGetPixel(image, 0, 0) : ~0ul;
        if (image)
            XDestroyImage(image);
        return pixel;
    }
    void screenshot(Window window, const char* name)
    {
        settle();
        std::string command =
            std::string(ZEM_XSHOT) + " " + std::to_string(window) + " " + ZEM_SHOT_DIR + "/" + name;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }

    zemtest::ScratchDir m_TesterDir{"zem_remote_tester"};
    pid_t m_Tester = -1;
    int m_Port = 0;
};

TEST_F(RemoteViewer, RunSendsTheScriptOnlyWhenItChanged)
{
    connectTo(m_Port);
    ASSERT_EQ(status(), "connected");
    EXPECT_EQ(readFile(m_TesterDir.file("xin.txt")), "ongraphic{}");
    editScript(kScript);
    press("form.Run");
    EXPECT_EQ(readFile(m_TesterDir.file("s.txt")), kScript);
    EXPECT_NE(text(widgets().outtext).find("sum == 3"), std::string::npos) << text(widgets().outtext);
    EXPECT_EQ(text(widgets().outname), "r.txt");
    EXPECT_EQ(readFile(m_Dir.file("r.txt")), readFile(m_TesterDir.file("r.txt")));
    // The whole screen: without a window manager the dialog sits over the
    // main window, and a shot of the main window alone shows it as a hole.
    screenshot(DefaultRootWindow(XtDisplay(shell())), "viewer-remote-text.png");
    screenshot(XtWindow(XtParent(XtParent(remoteStatusField()))), "viewer-remote-settings.png");
    openTraceSettings(nullptr, nullptr, nullptr);
    ASSERT_NE(traceDialogShell(), nullptr);
    screenshot(XtWindow(traceDialogShell()), "viewer-trace-settings.png");
    XtCallCallbacks(XtNameToWidget(traceDialogShell(), "*Close"), XmNactivateCallback, nullptr);

    // No edit: the tester keeps its copy, even one changed behind its back.
    writeFile(m_TesterDir.file("s.txt"), kScript + "// kept\n");
    press("form.Run");
    EXPECT_EQ(readFile(m_TesterDir.file("s.txt")), kScript + "// kept\n");
    editScript(kScript + "// edited\n");
    press("form.Run");
    EXPECT_EQ(readFile(m_TesterDir.file("s.txt")), kScript + "// edited\n");
}

TEST_F(RemoteViewer, ClickIsAnsweredWithThePictureFromTheTester)
{
    connectTo(m_Port);
    ASSERT_EQ(status(), "connected");
    XtCallCallbacks(dialog("Close"), XmNactivateCallback, nullptr);
    settle();
    showGraphicView(widgets().showCascade);
    settle();
    redrawPane();
    unsigned long white = pixelAt(100, 100);
    leftClick(100, 100);
    EXPECT_EQ(readFile(m_TesterDir.file("xin.txt")), "buttonpress{x=100 y=100 button=0}");
    EXPECT_NE(GrcBase::m_Start, nullptr);
    EXPECT_NE(pixelAt(100, 100), white) << "no mark where the pane was clicked";
    // The example marks a left click in blue.
    XColor mark;
    mark.pixel = pixelAt(100, 100);
    XQueryColor(XtDisplay(shell()), DefaultColormap(XtDisplay(shell()), 0), &mark);
    EXPECT_EQ(mark.red >> 8, 0);
    EXPECT_EQ(mark.blue >> 8, 200);
    screenshot(XtWindow(widgets().shell), "viewer-remote-graphic.png");
}

// Accept after a remote run: the actual drawing stayed with the tester, so
// the one that came back with the run takes the place of the expected one
// beside the viewer's script, byte for byte what the tester kept.
TEST_F(RemoteViewer, AcceptTakesTheDrawingThatCameBack)
{
    const std::string expected = "# zem drawing\nclear 240 240 230\n";
    writeFile(m_Dir.file("house.zdr"), expected);
    writeFile(m_TesterDir.file("house.zdr"), expected);
    // Another test's drawing before it, which Accept must not take.
    editScript("resultfile \"r.txt\"\nbuttonpress { x = 5 y = 5 button = 0 }\n"
               "drawHouse { verify: picture \"house.zdr\" }\n");
    connectTo(m_Port);
    ASSERT_EQ(status(), "connected");
    XtCallCallbacks(dialog("Close"), XmNactivateCallback, nullptr);
    press("form.Run");
    EXPECT_EQ(text(widgets().outname).rfind("picture house.zdr: ", 0), 0u) << text(widgets().outname);
    press("*filemenu.Accept");
    EXPECT_EQ(text(widgets().outname), "accepted 0 values and 1 pictures");
    EXPECT_EQ(readFile(m_Dir.file("house.zdr")), readFile(m_TesterDir.file("house.actual.zdr")));
}

// Record against a remote tester: the run's report comes back with the
// reply, so a click is recorded as against the functions linked in.
TEST_F(RemoteViewer, RecordWritesARemoteClick)
{
    connectTo(m_Port);
    ASSERT_EQ(status(), "connected");
    XtCallCallbacks(dialog("Close"), XmNactivateCallback, nullptr);
    setText(widgets().inname, "s.txt");
    showGraphicView(widgets().showCascade);
    Widget toggle = recordInto("rec.txt");
    leftClick(30, 40);
    XmToggleButtonSetState(toggle, False, True);
    std::string recorded = readFile(m_Dir.file("rec.txt"));
    EXPECT_NE(recorded.find("buttonpress {\n  x=30 y=40 button=0\n  verify:\n  marks == "), std::string::npos)
        << recorded;
    EXPECT_NE(recorded.find("picture \"rec_2.zdr\""), std::string::npos) << recorded;
    EXPECT_NE(readFile(m_Dir.file("rec_2.zdr")).find("\narc 26 36 34 44 0 36000 fill\n"), std::string::npos);
}

TEST_F(RemoteViewer, KilledTesterShowsDisconnected)
{
    connectTo(m_Port);
    ASSERT_EQ(status(), "connected");
    stopTester();
    EXPECT_TRUE(pumpUntil([&] { return status() == "disconnected"; }, 2500)) << status();
    EXPECT_EQ(RemoteClient::m_Connected, 0);
    EXPECT_EQ(text(widgets().outname), ViewerSession::kLostMessage);
    EXPECT_FALSE(XmToggleButtonGetState(dialog("OFF")));
}

// A peer that answers the connect's own run, then closes in mid-reply of
// the next one.
void cutShortPeer(int listener)
{
    int sock = accept(listener, nullptr, nullptr);
    char buf[4096];
    auto drain = [&] {
        pollfd p{sock, POLLIN, 0};
        while (poll(&p, 1, 300) > 0 && recv(sock, buf, sizeof buf, 0) > 0) {
        }
    };
    drain();
    const char reply[] = "0000000\0000000000\0000000000\0000000000\0-000001\0000000001";
    send(sock, reply, sizeof reply, MSG_NOSIGNAL);
    drain();
    send(sock, "0000006\0r.t", 11, MSG_NOSIGNAL);
    close(sock);
}

TEST_F(RemoteViewer, ReplyCutShortSaysTheTesterBroke)
{
    stopTester();
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = static_cast<in_port_t>(m_Port);
    int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    std::thread peer(cutShortPeer, listener);
    connectTo(m_Port);
    EXPECT_EQ(status(), "connected");
    editScript(kScript);
    press("form.Run");
    peer.join();
    close(listener);
    EXPECT_EQ(text(widgets().outname), "Testserver broken without answer");
}

}
