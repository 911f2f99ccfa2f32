// Recording without a display: the test a report block becomes, the
// header, and recording through the session, replayed, broken by a planted
// change and cut off by a full disk.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

#include "DrawingText.h"
#include "FileSizeLimit.h"
#include "GrcBase.h"
#include "GrcDraw.h"
#include "Parse.h"
#include "PictureView.h"
#include "Recorder.h"
#include "ScratchDir.h"
#include "StoreCv.h"
#include "VarBank.h"
#include "ViewerSession.h"
#include "ZemCall.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

// A click leaves a dot; a file "planted" in the current directory stands
// for a change to the function under test: the dot moves one pixel.
int g_dots = 0;
void click()
{
    VarBank& in = Parse::getInStore();
    int x = in["x"], y = in["y"];
    x += access("planted", F_OK) == 0 ? 1 : 0;
    ++g_dots;
    FillArc(x - 2, y - 2, x + 2, y + 2, 0, 36000);
    Parse::getOutStore()["dots"] = g_dots;
    Parse::getOutStore()["half"] = x / 2.0;
}
ZemCall clickCall("click", click);
void breaks() { std::raise(SIGSEGV); }
ZemCall breaksCall("breaks", breaks);

std::string block(const std::string& name, const std::string& logged, const std::string& end = "}")
{
    return name + "\n{\n  verified:\n  logged:\n" + logged + end + "\n\n";
}

TEST(RecordedTest, LoggedValuesBecomeChecks)
{
    struct Case {
        const char* name;
        std::string record, block, test, why;
    } cases[] = {
        {"inputs and an integer",
         "buttonpress{x=1 y=2 button=0}",
         block("buttonpress", "    marks = 1\n"),
         "buttonpress {\n  x=1 y=2 button=0\n  verify:\n  marks == 1\n  picture \"p.zdr\"\n}\n",
         ""},
        {"no inputs, no values",
         "ongraphic{}",
         block("ongraphic", ""),
         "ongraphic {\n  verify:\n  picture \"p.zdr\"\n}\n",
         ""},
        {"six decimals get a tolerance, round-trip reals none",
         "t{}",
         block("t", "    m = 0.333333\n    big = 12345678901.000000\n    r = 2.5\n    e = 1e+300\n"),
         "t {\n  verify:\n  m == 0.333333 +- 0.000001\n  big == 12345678901.000000 +- 1.35e-05\n"
         "  r == 2.5\n  e == 1e+300\n  picture \"p.zdr\"\n}\n",
         ""},
        {"texts, hexadecimal, structures and arrays",
         "t{}",
         block("t", "    s = \"a b\"\n    0xn = 0x1f\n    p.x = -4\n    v[2] = 7\n"),
         "t {\n  verify:\n  s == \"a b\"\n  0xn == 0x1f\n  p.x == -4\n  v[2] == 7\n  picture \"p.zdr\"\n}\n",
         ""},
        {"what a script cannot spell is named, definitions are not values",
         "t{}",
         block("t",
               "    q = \"say \"hi\"\"\n    n = nan\n    (total) = 3\n    m = \"two\nlines\"\n    k = 1\n"),
         "t {\n  verify:\n  // not checked: q\n  // not checked: n\n  // not checked: m\n  k == 1\n"
         "  picture \"p.zdr\"\n}\n",
         ""},
        {"an unknown function",
         "nosuch{a=1}",
         block("nosuch", "    nosuch = \"unknown testfunction\"\n", "} [ERROR]"),
         "",
         "\"nosuch\" is not a test function"},
        {"a failed run", "t{}", block("t", "    k = 1\n", "} [ERROR]"), "", "the run of t failed"},
        {"no report", "t{}", "", "", "the run of t left no report"},
        {"no test call", "t", block("t", ""), "", "the record is no test call"},
    };
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(recordedTest(c.record, c.block, "p.zdr", why), c.test) << c.name;
        EXPECT_EQ(why, c.why) << c.name;
    }
}

TEST(RecordedTest, HeaderCopiesTheDefinitionsOnly)
{
    std::string header = recordingHeader("rec_result.txt",
                                         "resultfile \"a.txt\"\n{ k = 3 }\nadd { a = { 1 } }\n"
                                         "// { not this }\n{ s = \"x{y}\" n { m = 1 } }\n");
    EXPECT_EQ(header.substr(header.find("deletefile")),
              "deletefile \"rec_result.txt\"\nresultfile \"rec_result.txt\"\n"
              "{ k = 3 }\n{ s = \"x{y}\" n { m = 1 } }\n\n");
}

class Recording : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(chdir(m_Dir.path().c_str()), 0);
        GrcBase::m_Exec = 1;
        writeFile("s.txt", m_Script);
        mkdir("sub", 0755);
        run(m_Script, false);
    }
    void TearDown() override
    {
        GrcBase::m_Exec = 0;
        GrcBase::clearList();
        chdir("/");
    }
    RunOutcome run(const std::string& text, bool generated, const std::string& path = "")
    {
        return runIn(m_Session, text, generated, path);
    }
    static RunOutcome runIn(ViewerSession& session, const std::string& text, bool generated,
                            const std::string& path = "")
    {
        RunRequest request;
        request.generated = generated;
        request.scriptPath = path.empty() ? (generated ? "xin.txt" : "s.txt") : path;
        request.editorText = text;
        if (generated)
            writeFile("xin.txt", session.generatedScript(text));
        PollWaiter waiter(50);
        return session.run(request, waiter);
    }
    std::string click(int x, int y)
    {
        return "click{x=" + std::to_string(x) + " y=" + std::to_string(y) + "}";
    }
    // As ZemTester would: in a fresh program.
    bool replayPasses(const std::string& path)
    {
        ViewerSession fresh;
        RunOutcome outcome = runIn(fresh, readFile(path), false, path);
        m_Replay = outcome.log;
        return outcome.hasLog && m_Replay.find("ERROR") == std::string::npos &&
               m_Replay.find("click\n{") != std::string::npos;
    }

    zemtest::ScratchDir m_Dir{"zem_recording"};
    const std::string m_Script = "resultfile \"r.txt\"\n{ k = 1 }\nclick { x = 1 y = 1 }\n";
    ViewerSession m_Session;
    std::string m_Replay;
};

// Recorded clicks replay as passing tests from a fresh program; the
// planted change fails each of them on its value and its picture.
TEST_F(Recording, ClicksReplayAndCatchAChange)
{
    std::string message;
    ASSERT_TRUE(m_Session.startRecording("rec.txt", "s.txt", m_Script, message)) << message;
    EXPECT_EQ(message, "recording into rec.txt");
    for (int i = 0; i < 3; ++i) {
        RunOutcome outcome = run(click(10 * i + 5, 7), true);
        EXPECT_EQ(outcome.remark, "recorded " + std::to_string(i + 1) + " into rec.txt");
    }
    m_Session.stopRecording();
    EXPECT_EQ(run(click(1, 1), true).remark, "");
    std::string recorded = readFile("rec.txt");
    EXPECT_NE(recorded.find("{ k = 1 }\n"), std::string::npos);
    EXPECT_NE(recorded.find("click {\n  x=25 y=7\n  verify:\n  dots == 3\n  half == 12.500000 +- 0.000001\n"
                            "  picture \"rec_3.zdr\"\n}\n"),
              std::string::npos)
        << recorded;
    EXPECT_EQ(readFile("rec_3.zdr"), "# zem drawing\narc 23 5 27 9 0 36000 fill\n");
    EXPECT_TRUE(replayPasses("rec.txt")) << m_Replay;
    writeFile("planted", "");
    EXPECT_FALSE(replayPasses("rec.txt"));
    EXPECT_NE(
        m_Replay.find("picture \"rec_1.zdr\"; [picture rec_1.zdr: command 1 arc x1 = 4, expected 3] ERROR"),
        std::string::npos)
        << m_Replay;
}

// A recording already there is added to, its drawings kept; a full disk
// turns recording off and cuts the half-written test back off.
TEST_F(Recording, AddsToARecordingAndLosesNothingOnAFullDisk)
{
    writeFile("rec.txt", "resultfile \"x.txt\"\n");
    writeFile("rec_1.zdr", "kept");
    std::string message;
    ASSERT_TRUE(m_Session.startRecording("rec.txt", "s.txt", m_Script, message));
    run(click(3, 3), true);
    EXPECT_EQ(readFile("rec_1.zdr"), "kept");
    std::string before = readFile("rec.txt");
    EXPECT_EQ(before.rfind("resultfile \"x.txt\"\nclick {", 0), 0u) << before;
    EXPECT_NE(before.find("picture \"rec_2.zdr\""), std::string::npos);
    RunOutcome outcome;
    {
        zemtest::FileSizeLimit limit(before.size());
        outcome = run(click(4, 4), true);
    }
    EXPECT_TRUE(outcome.recordingStopped);
    EXPECT_EQ(outcome.remark.rfind("record off: cannot write rec.txt: File too large", 0), 0u)
        << outcome.remark;
    EXPECT_FALSE(m_Session.recorder().on());
    EXPECT_EQ(readFile("rec.txt"), before);
    struct stat st;
    EXPECT_NE(stat("rec_3.zdr", &st), 0);
}

TEST_F(Recording, RefusesFilesItCannotRecordInto)
{
    mkdir("dir", 0755);
    struct Case {
        const char* path;
        const char* message;
    } cases[] = {
        {"s.txt", "not recording: record into another file than the script"},
        {"a\"b.txt", "not recording: a script cannot name the file \"a\"b.txt\""},
        {"dir", "not recording: dir is not a plain file"},
        {"", "not recording: a script cannot name the file \"\""},
    };
    for (const Case& c : cases) {
        std::string message;
        EXPECT_FALSE(m_Session.startRecording(c.path, "s.txt", m_Script, message));
        EXPECT_EQ(message, c.message);
        EXPECT_FALSE(m_Session.recorder().on());
    }
}

// A generated script reports nowhere: while recording it gets a result
// file of its own, and the user's stays in force. A record no function
// answers is named.
TEST_F(Recording, GeneratedRunsReportAndNameAMissingFunction)
{
    EXPECT_EQ(m_Session.generatedScript("t{}"), "t{}");
    std::string message;
    ASSERT_TRUE(m_Session.startRecording("sub/rec.txt", "s.txt", m_Script, message)) << message;
    EXPECT_EQ(m_Session.generatedScript("t{}"),
              "deletefile \"rec_run.txt\"\nresultfile \"rec_run.txt\"\nt{}");
    run(click(1, 2), true);
    EXPECT_STREQ(Parse::getLastOutFile(), "r.txt");
    RunOutcome outcome = run("nosuch{}", true);
    EXPECT_EQ(outcome.remark, "not recorded: \"nosuch\" is not a test function");
    m_Session.stopRecording();
    EXPECT_EQ(run("nosuch{}", true).remark, "no test function \"nosuch\"");
    EXPECT_EQ(m_Session.remark(), "no test function \"nosuch\"");
}

// Accept finds the actual drawing that gives the report's difference: the
// file the run left, or the run's drawing from a test's "clear" on, which
// is all a remote run leaves; a stale file or another test's drawing is
// never taken.
TEST(AcceptPicture, TakesOnlyTheDrawingThatGivesTheReport)
{
    zemtest::ScratchDir dir("zem_accept_picture");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const std::string head = "# zem drawing\n";
    const std::string mine = "clear 1 1 1\nrect 0 0 12 10\n";
    const std::string line = "picture \"e.zdr\"; [picture e.zdr: command 2 rect x2 = 12, expected 10] ERROR";
    struct Case {
        const char* name;
        std::string expected, kept, run, line;
        bool found;
        std::string actual;
    } cases[] = {
        {"remote: the test's part of the run",
         "clear 1 1 1\nrect 0 0 10 10\n",
         "",
         "line 1 1 2 2\n" + mine,
         line,
         true,
         mine},
        {"a stale file here",
         "clear 1 1 1\nrect 0 0 10 10\n",
         "clear 1 1 1\nrect 0 0 11 10\n",
         mine,
         line,
         true,
         mine},
        {"the file the run left", "clear 1 1 1\nrect 0 0 10 10\n", mine, "", line, true, mine},
        {"with its tolerance",
         "clear 1 1 1\nrect 0 0 10 10\n",
         "",
         mine,
         "picture \"e.zdr\" +- 1; [picture e.zdr: command 2 rect x2 = 12, expected 10] ERROR",
         true,
         mine},
        {"another test's drawing",
         "clear 1 1 1\nrect 0 0 10 10\n",
         "",
         "clear 1 1 1\nrect 0 0 13 10\n",
         line,
         false,
         ""},
        {"no expected file: the file left",
         "",
         mine,
         "",
         "picture \"e.zdr\"; [picture e.zdr: no file] ERROR",
         true,
         mine},
        {"no expected file, none left",
         "",
         "",
         mine,
         "picture \"e.zdr\"; [picture e.zdr: no file] ERROR",
         false,
         ""},
    };
    for (const Case& c : cases) {
        std::remove("e.zdr");
        std::remove("r.e.actual.zdr");
        if (!c.expected.empty())
            writeFile("e.zdr", head + c.expected);
        if (!c.kept.empty())
            writeFile("r.e.actual.zdr", head + c.kept);
        std::vector<DrawCommand> run, actual, want;
        std::string error;
        writeFile("run.zdr", head + c.run);
        ASSERT_TRUE(loadDrawingFile("run.zdr", run, error)) << error;
        writeFile("want.zdr", head + c.actual);
        ASSERT_TRUE(loadDrawingFile("want.zdr", want, error)) << error;
        PictureToApprove p{"e.zdr", "e.zdr", "r.e.actual.zdr", c.line};
        EXPECT_EQ(actualDrawingFor(p, run, actual), c.found) << c.name;
        if (c.found)
            EXPECT_TRUE(actual == want) << c.name;
    }
    chdir("/");
}

// A run that broke is not recorded, and Accept after it says that it took
// only what the run reported.
TEST_F(Recording, ARunCutShortIsNeitherRecordedNorTakenWhole)
{
    std::string message;
    ASSERT_TRUE(m_Session.startRecording("rec.txt", "s.txt", m_Script, message));
    EXPECT_EQ(run("breaks{}", true).remark, "not recorded: breaks: BROKEN (segm violation)");
    EXPECT_EQ(readFile("rec.txt").find("breaks"), std::string::npos);
    m_Session.stopRecording();
    const std::string script = "resultfile \"r.txt\"\nclick { x = 1 y = 1 verify: dots == 7 }\nbreaks { }\n";
    run(script, false);
    EXPECT_EQ(m_Session.accept(script, "").message,
              "accepted 1 values and 0 pictures (the run was cut short: only what it reported)");
}

// Accept leaves a drawing alone that changed on disk after the run.
TEST_F(Recording, AcceptKeepsADrawingThatChangedOnDisk)
{
    const std::string script = "resultfile \"r.txt\"\nclick { x = 9 y = 9 verify: picture \"c.zdr\" }\n";
    writeFile("c.zdr", "# zem drawing\n");
    run(script, false);
    writeFile("c.zdr", "# zem drawing\npoint 1 1\n");
    EXPECT_EQ(m_Session.accept(script, "").message, "not accepted: c.zdr changed on disk since the run");
    EXPECT_EQ(readFile("c.zdr"), "# zem drawing\npoint 1 1\n");
}

}
