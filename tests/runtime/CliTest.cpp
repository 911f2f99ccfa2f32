// ZemTester's long options, run as a user runs them: what each prints on
// stdout and stderr, its exit status and the result file it leaves. The
// options of old and their texts are the script cases' business.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "ScratchDir.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

const char* const kScript = "resultfile \"r.txt\"\n"
                            "// two tests of one name\n"
                            "ipEcho { v = 1 verify: v == 1 }\n"
                            "{ d = 2 }\n"
                            "extern ipEcho { v = 9 }\n"
                            "other { s { n = 1 } }\n"
                            "ipEcho { v = 3 verify: v == 3 }\n";

struct Outcome {
    std::string out, err;
    int status;
};

// Runs the tester as "ZemTester" in the current directory.
Outcome tester(const std::string& args)
{
    std::string command = "exec -a ZemTester '" ZEM_SCRIPT_TESTER "' " + args + " 2>err.txt";
    Outcome run{"", "", -1};
    FILE* pipe = popen(("bash -c \"" + command + "\"").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[512];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile("err.txt");
    return run;
}

TEST(Cli, LongOptions)
{
    struct Case {
        const char* args;
        const char* out;  // prefix of stdout
        const char* err;  // stderr
        int status;
        const char* result;  // the result file after the run, null: none
    } cases[] = {
        {"--help", "usage: ZemTester testscript\n       ZemTester -p  portId\n", "", 0, nullptr},
        {"--list s.txt",
         "ipEcho  line 3      ZemTester --test ipEcho:3 s.txt\n"
         "other   line 6      ZemTester --test other:6 s.txt\n"
         "ipEcho  line 7      ZemTester --test ipEcho:7 s.txt\n",
         "",
         0,
         nullptr},
        {"--test ipEcho:7 s.txt", "ready\n", "", 0, "ipEcho\n{\n  verified:\n    v == 3\n  logged:\n}\n\n\n"},
        {"--test ipEcho s.txt", "ready\n", "", 0, "ipEcho\n{\n  verified:\n    v == 1\n  logged:\n}\n\n\n"},
        {"--test ipEcho:4 s.txt", "", "ZemTester: no test ipEcho:4 in s.txt\n", 255, nullptr},
        {"--time-limit 0.2 --test sleepy s.txt", "", "ZemTester: no test sleepy in s.txt\n", 255, nullptr},
        {"--time-limit 0.2 t.txt",
         "",
         "ZemTester: sleepy: BROKEN (time limit)\n",
         14,
         "sleepy\n{\n    TEST = \"BROKEN (time limit)\"\n}\n"},
        {"--time-limit 0 s.txt",
         "usage: ZemTester testscript\n",
         "ZemTester: --time-limit needs a number of seconds above 0: 0\n",
         255,
         nullptr},
        {"--list",
         "usage: ZemTester testscript\n",
         "ZemTester: expected one script (or -p portId) after the options\n",
         255,
         nullptr},
        {"--list missing.txt", "invalid input file: missing.txt\n", "", 254, nullptr},
    };
    zemtest::ScratchDir dir("zem_cli");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    writeFile("s.txt", kScript);
    writeFile("t.txt", "resultfile \"r.txt\"\nsleepy { }\n");
    for (const Case& c : cases) {
        std::remove("r.txt");
        Outcome run = tester(c.args);
        EXPECT_EQ(run.out.compare(0, std::string(c.out).size(), c.out), 0) << c.args << ":\n" << run.out;
        EXPECT_EQ(run.err, c.err) << c.args;
        EXPECT_EQ(run.status, c.status) << c.args;
        if (c.result)
            EXPECT_EQ(readFile("r.txt"), c.result) << c.args;
        else
            EXPECT_FALSE(std::ifstream("r.txt").good()) << c.args;
    }
    chdir("/");
}

}

namespace {

// Picture files are named relative to the script's directory; the drawing
// of a failing check lands beside the result file, ready to be accepted.
TEST(Cli, PictureFilesBesideTheScriptActualDrawingBesideTheResult)
{
    zemtest::ScratchDir dir("zem_cli_picture");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    std::filesystem::create_directories("scripts/pics");
    std::filesystem::create_directories("out");
    writeFile("scripts/s.txt",
              "resultfile \"out/r.txt\"\nhouse { shift = 1 verify: picture \"pics/house.zdr\" }\n");
    const std::string house = "# zem drawing\ncolor 200 0 0\nrect 0 0 30 40 fill\nline 10 20 110 20\n"
                              "text 5 7 tiny \"a \\\"b\\\"\"\n";
    writeFile("scripts/pics/house.zdr", house);
    Outcome run = tester("scripts/s.txt");
    EXPECT_EQ(run.status, 252);
    EXPECT_NE(
        readFile("out/r.txt").find("[picture pics/house.zdr: command 3 line x2 = 111, expected 110] ERROR"),
        std::string::npos)
        << readFile("out/r.txt");
    std::string actual = house;
    actual.replace(actual.find("110"), 3, "111");
    EXPECT_EQ(readFile("out/house.actual.zdr"), actual);
    chdir("/");
}

}

namespace {

// Approve gives failing == checks their actual values and failing pictures
// their actual drawings, touching no other byte; the plain run then passes,
// and a second approve changes nothing.
TEST(Cli, ApproveRoundTrip)
{
    zemtest::ScratchDir dir("zem_cli_approve");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const std::string script = "resultfile \"r.txt\"\r\n"
                               "ipEcho {\r\n"
                               "  // integers, reals, texts, members and items\r\n"
                               "  n = 1  r = 2  x = 2.5  s = \"x\"  p { q = 7 }  l[] { 1 {2} }\r\n"
                               "  verify: n == 2  r = 3.5  x == 2.0  s == \"y\"  p.q == 8\r\n"
                               "  l[] { 1 {3} }  n <= 0\r\n"
                               "}\r\n"
                               "house { shift = 1 verify: picture \"house.zdr\" }\r\n";
    writeFile("s.txt", script);
    writeFile("house.zdr", "# zem drawing\nline 0 0 1 1\n");
    Outcome first = tester("--approve s.txt");
    EXPECT_EQ(first.status, 0) << first.out << first.err;
    std::string approved = script;
    for (auto [from, to] : std::vector<std::pair<std::string, std::string>>{{"n == 2", "n == 1"},
                                                                            {"r = 3.5", "r = 2"},
                                                                            {"x == 2.0", "x == 2.5"},
                                                                            {"s == \"y\"", "s == \"x\""},
                                                                            {"p.q == 8", "p.q == 7"},
                                                                            {"{3}", "{2}"}})
        approved.replace(approved.find(from), from.size(), to);
    EXPECT_EQ(readFile("s.txt"), approved);
    EXPECT_NE(first.out.find("-  verify: n == 2  r = 3.5"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("picture written: house.zdr"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("left alone: ipEcho: n <= 0; [int n = 1] ERROR"), std::string::npos)
        << first.out;
    EXPECT_EQ(readFile("house.zdr"), readFile("house.actual.zdr"));
    writeFile("s.txt",
              approved.substr(0, approved.find("  n <= 0")) + "\r\n}\r\n" +
                  approved.substr(approved.find("house {")));
    EXPECT_EQ(tester("s.txt").status, 0);
    std::string settled = readFile("s.txt");
    Outcome second = tester("--approve s.txt");
    EXPECT_EQ(second.status, 0);
    EXPECT_NE(second.out.find("approved 0 values and 0 pictures"), std::string::npos) << second.out;
    EXPECT_EQ(readFile("s.txt"), settled);
    chdir("/");
}

// Nothing is written when the run ends in a script error or when the
// script changes on disk while it runs.
TEST(Cli, ApproveWritesNothingItCannotTrust)
{
    struct Case {
        const char* script;
        int status;
        const char* err;
    } cases[] = {
        {"resultfile \"r.txt\"\nipEcho { v = 1 verify: v == 2 }\nipEcho { v = = }\n",
         3,
         "the run did not end cleanly; nothing written"},
        {"resultfile \"r.txt\"\ntouchScript { verify: v == 1.0 }\n",
         255,
         "changed while it ran; nothing written"},
    };
    zemtest::ScratchDir dir("zem_cli_approve_refused");
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    for (const Case& c : cases) {
        writeFile("s.txt", c.script);
        Outcome run = tester("--approve s.txt");
        EXPECT_EQ(run.status, c.status) << c.script;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        std::string now = readFile("s.txt");
        EXPECT_TRUE(now == c.script || now == std::string(c.script) + "// touched\n") << now;
    }
    chdir("/");
}

}
