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

Outcome runViewer(const std::string& argument)
{
    std::string command = "env -u DISPLAY '" ZEM_VIEWER "' '" + argument + "' 2>&1";
    Outcome outcome = {"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return outcome;
    char buffer[512];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.out.append(buffer, got);
    int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
        {"fail.txt", "resultfile \"r.txt\"\nzemtst { v = 1 verify: v == 2 }\n",
         "test with failed verifications\nready\n", 252},
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

// A toolkit option is a script name too: no window, the file is missing.
TEST(BatchMode, OneToolkitOptionIsTakenAsAScriptName)
{
    Outcome outcome = runViewer("-iconic");
    EXPECT_EQ(outcome.out, "invalid input file: -iconic\nready\n");
    EXPECT_EQ(outcome.status, 254);
}

}
