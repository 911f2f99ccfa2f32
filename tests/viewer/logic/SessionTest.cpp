// The viewer's decisions without a display: what Run shows for each kind of
// outcome, what Apply does in each state, and the search and splitter
// arithmetic.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include "GrcBase.h"
#include "GrcDraw.h"
#include "Parse.h"
#include "RemoteClient.h"
#include "ScratchDir.h"
#include "StoreCv.h"
#include "TextSearch.h"
#include "VarBank.h"
#include "ViewerSession.h"
#include "ZemCall.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

void echo() { Parse::getOutStore() = Parse::getInStore(); }
ZemCall echoCall("echo", echo);

// What the message line, the log and the editor get from a local run.
TEST(Session, RunDecidesWhatTheWindowShows)
{
    struct Case {
        const char* name;
        const char* script;
        const char* selector;
        bool generated;
        bool graphic;
        bool setMessage;
        const char* message;  // prefix
        bool hasLog, selectError, scrollLogToEnd;
    } cases[] = {
        {"whole script",
         "resultfile \"r.txt\"\necho { v = 1 }\n",
         "",
         false,
         false,
         true,
         "r.txt",
         true,
         false,
         true},
        {"selected test",
         "resultfile \"r.txt\"\necho { v = 1 }\n",
         "echo020",
         false,
         false,
         true,
         "r.txt",
         true,
         false,
         false},
        {"picture view",
         "resultfile \"r.txt\"\necho { v = 1 }\n",
         "",
         false,
         true,
         false,
         "",
         true,
         false,
         true},
        {"no result file",
         "echo { v = 1 }\n",
         "",
         false,
         false,
         true,
         "no ResultFile specified",
         false,
         false,
         true},
        {"error, no result file",
         "echo { v = = }\n",
         "",
         false,
         false,
         true,
         "parse error in line 1",
         false,
         true,
         true},
        {"generated, no result file", "echo { v = 1 }", "", true, false, true, "", false, false, false},
    };
    zemtest::ScratchDir dir("zem_session");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    ViewerSession session;
    for (const Case& c : cases) {
        std::remove("r.txt");
        writeFile("s.txt", c.script);
        RunRequest request;
        request.scriptPath = "s.txt";
        request.editorText = c.script;
        request.selector = c.selector;
        request.generated = c.generated;
        session.setGraphicMode(c.graphic);
        PollWaiter waiter(50);
        RunOutcome outcome = session.run(request, waiter);
        EXPECT_EQ(outcome.setMessage, c.setMessage) << c.name;
        EXPECT_EQ(outcome.message.rfind(c.message, 0), 0u) << c.name << ": " << outcome.message;
        EXPECT_EQ(outcome.hasLog, c.hasLog) << c.name;
        EXPECT_EQ(outcome.selectError, c.selectError) << c.name;
        EXPECT_EQ(outcome.scrollLogToEnd, c.scrollLogToEnd) << c.name;
        if (c.hasLog)
            EXPECT_EQ(outcome.log, readFile("r.txt")) << c.name;
        EXPECT_EQ(readFile("s.txt"), c.script) << c.name;
    }
    chdir("/");
}

// Apply in each state of the connection; port 1 on the loopback has no
// listener.
TEST(Session, ApplyConnectsOnlyWhenItCan)
{
    struct Case {
        bool toggleOn;
        const char* host;
        const char* port;
        const char* status;
        int toggle;
    } cases[] = {
        {false, "localhost", "6500", "ignored", -1},
        {true, nullptr, nullptr, "no hostname", 0},
        {true, "", "6500", "no host", 0},
        {true, "127.0.0.1", "1", "no connect", 0},
    };
    ViewerSession session;
    for (const Case& c : cases) {
        ApplyOutcome outcome = session.apply(c.toggleOn, c.host, c.port);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.toggle, c.toggle) << c.status;
        EXPECT_FALSE(outcome.runOngraphic) << c.status;
        EXPECT_FALSE(session.connected());
    }
    EXPECT_EQ(session.settings().host, "127.0.0.1");
    EXPECT_EQ(session.settings().port, 1);
}

// A tester that went away is noticed by the keep-alive, and the first Run
// after it, which runs locally, says so; the one after that does not.
TEST(Session, FirstRunAfterALostTesterSaysItRanLocally)
{
    zemtest::ScratchDir dir("zem_session_lost");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    RemoteClient::m_Socket = fds[0];
    RemoteClient::m_Connected = 1;
    close(fds[1]);
    ViewerSession session;
    EXPECT_EQ(session.keepAlive(), ViewerSession::kLost);
    EXPECT_FALSE(session.connected());
    RunRequest request;
    request.scriptPath = "s.txt";
    request.editorText = "resultfile \"r.txt\"\necho { v = 1 }\n";
    PollWaiter waiter(50);
    EXPECT_EQ(session.run(request, waiter).message, "ran locally: the tester was lost");
    EXPECT_EQ(session.run(request, waiter).message, "r.txt");
    close(fds[0]);
    RemoteClient::m_Socket = -1;
    chdir("/");
}

// A generated run whose record no function answers draws nothing: the
// picture stays. A run the user starts clears it, as always.
TEST(Session, ARunThatDrawsNothingKeepsThePicture)
{
    zemtest::ScratchDir dir("zem_session_keep");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    ViewerSession session;
    PollWaiter waiter(50);
    RunRequest script;
    script.scriptPath = "s.txt";
    script.editorText = "resultfile \"r.txt\"\necho { v = 1 }\n";
    session.run(script, waiter);
    GrcBase::m_Exec = 1;
    DrawLine(1, 2, 3, 4);
    writeFile("xin.txt", "ongraphic{}");
    RunRequest click;
    click.scriptPath = "xin.txt";
    click.generated = true;
    session.run(click, waiter);
    ASSERT_NE(GrcBase::m_Start, nullptr);
    EXPECT_EQ(GrcBase::m_Start->m_Next, nullptr);
    session.run(script, waiter);
    EXPECT_EQ(GrcBase::m_Start, nullptr);
    GrcBase::m_Exec = 0;
    chdir("/");
}

// Accept gives the last run's failing == checks their actual values in the
// editor's text, for a selected test or for all; twice is once.
TEST(Session, AcceptTakesTheActualValuesOfTheLastRun)
{
    zemtest::ScratchDir dir("zem_session_accept");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const std::string script = "resultfile \"r.txt\"\n"
                               "echo { v = 1  x = 2.5  verify: v == 5  x == 1.0 }\n"
                               "echo { s = \"a\"  verify: s == \"b\"  s != \"a\" }\n";
    ViewerSession session;
    PollWaiter waiter(50);
    RunRequest run;
    run.scriptPath = "s.txt";
    run.editorText = script;
    session.run(run, waiter);
    EXPECT_EQ(session.accept(script, "other").message, "nothing to accept");
    ViewerSession::Accepted accepted = session.accept(script, "");
    EXPECT_TRUE(accepted.changed);
    EXPECT_EQ(accepted.message, "accepted 3 values and 0 pictures");
    EXPECT_EQ(accepted.script,
              "resultfile \"r.txt\"\n"
              "echo { v = 1  x = 2.5  verify: v == 1  x == 2.5 }\n"
              "echo { s = \"a\"  verify: s == \"a\"  s != \"a\" }\n");
    ViewerSession::Accepted again = session.accept(accepted.script, "");
    EXPECT_FALSE(again.changed);
    EXPECT_EQ(again.message, "nothing to accept");
    chdir("/");
}

TEST(TextSearch, FindsFromOneSideOfTheCursor)
{
    struct Case {
        const char* pattern;
        int from, forward, at;
    } cases[] = {
        {"abc", 1, 1, 4},
        {"abc", 9, 1, -1},
        {"abc", 7, 0, 4},
        {"abc", 99, 0, 8},
        {"abc", -1, 0, -1},
        {"", 0, 1, -1},
        {"abc abc abc!", 0, 1, -1},
        {"c a", 10, 0, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findText("abc abc abc", c.pattern, c.from, c.forward), c.at)
            << c.pattern << " from " << c.from;
}

TEST(Splitter, EdgesOnAnEightHundredPixelScale)
{
    struct Case {
        int value, right, left;
    } cases[] = {{600, 584, 604}, {1000, 940, 960}, {0, 40, 10}, {500, 490, 510}, {20, 40, 60}, {19, 40, 10}};
    for (const Case& c : cases) {
        int right = -1, left = -1;
        splitterEdges(c.value, 800, &right, &left);
        EXPECT_EQ(right, c.right) << c.value;
        EXPECT_EQ(left, c.left) << c.value;
    }
}

}
