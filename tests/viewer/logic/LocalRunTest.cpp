// Local runs through the run worker, without a display: results and
// drawings come back, functions keep their state between runs, and every
// way a run can end the worker leaves the broken-test record and a worker
// that the next run replaces.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <unistd.h>

#include "GrcBase.h"
#include "GrcDraw.h"
#include "LocalRun.h"
#include "Parse.h"
#include "ScratchDir.h"
#include "VarBank.h"
#include "StoreCv.h"
#include "ZemCall.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

int g_count = 0;

void counter() { Parse::getOutStore()["count"] = ++g_count; }
void draws()
{
    DrawLine(1, 2, 3, 4);
    FillRect(5, 6, 7, 8);
}
void segv() { std::raise(SIGSEGV); }
void forever()
{
    for (;;)
        pause();
}
void deaf()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    for (;;)
        pause();
}
void quits() { _exit(3); }
void aborts() { std::abort(); }

ZemCall counterCall("counter", counter);
ZemCall drawsCall("draws", draws);
ZemCall segvCall("segv", segv);
ZemCall foreverCall("forever", forever);
ZemCall deafCall("deaf", deaf);
ZemCall quitsCall("quits", quits);
ZemCall abortsCall("aborts", aborts);

// Waits plainly; asks for a stop once stopAfterMs have passed (-1: never).
class TestWaiter : public RunWaiter {
public:
    explicit TestWaiter(int stopAfterMs = -1) : m_StopAfter(stopAfterMs) {}
    bool wait(int fd) override
    {
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 20);
        auto spent = std::chrono::steady_clock::now() - m_Start;
        return m_StopAfter < 0 || spent < std::chrono::milliseconds(m_StopAfter);
    }

private:
    int m_StopAfter;
    std::chrono::steady_clock::time_point m_Start = std::chrono::steady_clock::now();
};

class LocalRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(chdir(m_Dir.path().c_str()), 0);
        GrcBase::m_Exec = 1;
        GrcBase::clearList();
    }
    void TearDown() override
    {
        GrcBase::clearList();
        GrcBase::m_Exec = 0;
        chdir("/");
    }
    // Runs one test of the given function; the result file is r.txt.
    LocalResult run(const std::string& function, int stopAfterMs = -1)
    {
        writeFile("s.txt", "resultfile \"r.txt\"\n" + function + " { }\n");
        TestWaiter waiter(stopAfterMs);
        LocalResult result;
        std::string message;
        EXPECT_TRUE(m_Run.run("s.txt", "", 0, "", waiter, result, message)) << message;
        return result;
    }
    static int commands()
    {
        int n = 0;
        for (GrcBase* c = GrcBase::m_Start; c; c = c->m_Next)
            ++n;
        return n;
    }

    zemtest::ScratchDir m_Dir{"zem_localrun"};
    LocalRun m_Run;
};

TEST_F(LocalRunTest, ResultDrawingAndStateComeBackFromOneWorker)
{
    LocalResult first = run("counter");
    pid_t worker = m_Run.worker();
    EXPECT_GT(worker, 0);
    EXPECT_EQ(first.reply.resultFile, "r.txt");
    EXPECT_TRUE(first.broken.empty());
    LocalResult second = run("counter");
    EXPECT_EQ(m_Run.worker(), worker);
    EXPECT_NE(readFile("r.txt").find("count = 2"), std::string::npos) << readFile("r.txt");
    EXPECT_EQ(g_count, 0) << "the viewer's own copy ran the function";
    run("draws");
    EXPECT_EQ(commands(), 2);
}

// The file dialog moves the viewer to another directory; the worker, forked
// before, runs there all the same.
TEST_F(LocalRunTest, WorkerFollowsTheViewersDirectory)
{
    run("counter");
    zemtest::ScratchDir other("zem_localrun_other");
    ASSERT_EQ(chdir(other.path().c_str()), 0);
    LocalResult moved = run("counter");
    EXPECT_EQ(moved.reply.resultFile, "r.txt");
    EXPECT_NE(readFile(other.file("r.txt")).find("count"), std::string::npos);
}

TEST_F(LocalRunTest, ScriptErrorComesBackWithItsPosition)
{
    writeFile("s.txt", "resultfile \"r.txt\"\ncounter { a = = }\n");
    TestWaiter waiter;
    LocalResult result;
    std::string message;
    ASSERT_TRUE(m_Run.run("s.txt", "", 0, "", waiter, result, message));
    EXPECT_EQ(result.reply.errorLine, 2);
    EXPECT_GT(result.reply.errorPos, 19);
    EXPECT_NE(result.reply.errorText.find("line 2"), std::string::npos);
}

// Each way a run ends its worker: the record in the result file, the
// reason, and a fresh worker for the next run.
TEST_F(LocalRunTest, EveryEndOfTheWorkerIsOnRecord)
{
    struct Case {
        const char* function;
        int stopAfterMs;
        const char* reason;
    } cases[] = {
        {"segv", -1, "segm violation"},
        {"forever", 200, "stopped"},
        {"deaf", 200, "stopped"},
        {"quits", -1, "exit 3"},
        {"aborts", -1, "abort"},
    };
    for (const Case& c : cases) {
        std::remove("r.txt");
        LocalResult result = run(c.function, c.stopAfterMs);
        EXPECT_EQ(result.broken, c.reason) << c.function;
        EXPECT_EQ(result.test, c.function);
        EXPECT_EQ(result.reply.resultFile, "r.txt") << c.function;
        std::string record = std::string(c.function) + "\n{\n    TEST = \"BROKEN (" + c.reason + ")\"\n}\n";
        EXPECT_EQ(readFile("r.txt"), record) << c.function;
        EXPECT_EQ(m_Run.worker(), 0) << c.function;
        LocalResult next = run("counter");
        EXPECT_TRUE(next.broken.empty()) << "after " << c.function;
        EXPECT_NE(readFile("r.txt").find("count = 1"), std::string::npos) << "after " << c.function;
    }
}

}
