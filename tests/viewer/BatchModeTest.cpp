// ZemViewer with one argument: the script runs without any X display, the
// tester's verdict texts are printed and the exit status is the tester's.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "ScratchDir.h"

namespace {

struct Outcome {
    std::string out;
    int status;
};

Outcome runViewer(const std::string& argument, const char* viewer = ZEM_VIEWER)
{
    std::string command = std::string("env -u DISPLAY '") + viewer + "' '" + argument + "' 2>&1";
    Outcome outcome = {"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[512];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.out.append(buffer, got);
    int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1 - WTERMSIG(status);
    return outcome;
}

TEST(BatchMode, VerdictTextsAndExitStatus)
{
    zemtest::ScratchDir dir("zem_batch");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    std::string late(299, '\n');
    struct Case {
        const char* name;
        std::string script;
        std::string out;  // prefix for error texts
        int status;
    } cases[] = {
        {"pass.txt", "resultfile \"r.txt\"\nzemtst { v = 1 verify: v == 1 }\n", "ready\n", 0},
        {"fail.txt",
         "resultfile \"r.txt\"\nzemtst { v = 1 verify: v == 2 }\n",
         "test with failed verifications\nready\n",
         252},
        {"nores.txt", "zemtst { v = 1 }\n", "no outputfile defined\n", 253},
        {"syntax.txt", "resultfile \"r.txt\"\n\nzemtst { v = = }\n", "", 3},
        {"late.txt", "resultfile \"r.txt\"\n" + late + "zemtst { v = = }\n", "", 251},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(zemtest::writeFile(c.name, c.script), 1);
        Outcome outcome = runViewer(c.name);
        EXPECT_EQ(outcome.status, c.status) << c.name << ": " << outcome.out;
        EXPECT_EQ(outcome.out.compare(0, c.out.size(), c.out), 0) << c.name << ": " << outcome.out;
        if (c.out.empty())
            EXPECT_NE(outcome.out.find("line"), std::string::npos) << c.name << ": " << outcome.out;
    }
    chdir("/");
}

// A function under test that crashes ends the run as it ends the tester's:
// the broken-test record, no verdict, the signal's number as exit status.
TEST(BatchMode, FatalSignalLeavesTheBrokenTestRecord)
{
    zemtest::ScratchDir dir("zem_batch_crash");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    struct Case {
        const char* function;
        const char* reason;
        int status;
    } cases[] = {
        {"crash", "segm violation", 11}, {"divide", "floating point error", 8}, {"aborts", "abort", 6}};
    for (const Case& c : cases) {
        std::string script = std::string("resultfile \"r.txt\"\n") + c.function + " { }\n";
        ASSERT_EQ(zemtest::writeFile("s.txt", script), 1);
        std::remove("r.txt");
        Outcome outcome = runViewer("s.txt", ZEM_CRASH_VIEWER);
        EXPECT_EQ(outcome.status, c.status) << c.function << ": " << outcome.out;
        EXPECT_EQ(outcome.out, "") << c.function;
        std::string record = std::string(c.function) + "\n{\n    TEST = \"BROKEN (" + c.reason + ")\"\n}\n";
        EXPECT_EQ(zemtest::readFile("r.txt"), record) << c.function;
    }
    chdir("/");
}

TEST(BatchMode, HelpPrintsUsageAndSucceeds)
{
    Outcome outcome = runViewer("--help");
    EXPECT_EQ(outcome.out.rfind("usage: ZemViewer ", 0), 0u) << outcome.out;
    EXPECT_EQ(outcome.status, 0);
}

// A toolkit option is a script name too: no window, the file is missing.
TEST(BatchMode, OneToolkitOptionIsTakenAsAScriptName)
{
    Outcome outcome = runViewer("-iconic");
    EXPECT_EQ(outcome.out, "invalid input file: -iconic\nready\n");
    EXPECT_EQ(outcome.status, 254);
}

}
