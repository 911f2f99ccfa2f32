// Recording and Accept, without a display, on the example functions:
// - clicks recorded through the viewer's session, then replayed by the
//   example tester (all should pass) and by a tester with a planted change
//   (the marks drawn one pixel wider: nearly all should fail);
// - what recording adds to a click's own run (median against clicks not
//   recorded, same worker);
// - Accept on a 1,000-test script, from the action to the new text.
//
// Usage: zem_record_bench TESTER PLANTED_TESTER [CLICKS]
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../common/BenchTiming.h"
#include "GrcBase.h"
#include "ViewerSession.h"

namespace {

using zembench::median;

using zembench::Clock;
using zembench::micros;

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

RunOutcome runScript(ViewerSession& session, const std::string& path, const std::string& text)
{
    RunRequest request;
    request.scriptPath = path;
    request.editorText = text;
    PollWaiter waiter;
    return session.run(request, waiter);
}

// One click as the pane makes it; the time of its run.
double click(ViewerSession& session, int i)
{
    char record[96];
    std::snprintf(record,
                  sizeof record,
                  "buttonpress{x=%d y=%d button=%d}",
                  10 + (i * 37) % 300,
                  20 + (i * 53) % 200,
                  i % 3);
    writeAll("xin.txt", session.generatedScript(record));
    RunRequest request;
    request.scriptPath = "xin.txt";
    request.generated = true;
    PollWaiter waiter;
    Clock::time_point a = Clock::now();
    session.run(request, waiter);
    return micros(a, Clock::now());
}

// The tests of the replay's result file, and how many of them failed.
void replay(const std::string& tester, int& tests, int& failed)
{
    std::string command = "\"" + tester + "\" rec.txt >/dev/null 2>&1";
    tests = failed = 0;
    if (std::system(command.c_str()) == -1)
        return;
    std::istringstream result(readAll("rec_result.txt"));
    bool failing = false;
    for (std::string line; std::getline(result, line);) {
        if (line == "buttonpress") {
            ++tests;
            failing = false;
        } else if (!failing && line.find(" ERROR") != std::string::npos) {
            failing = true;
            ++failed;
        }
    }
}

}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: zem_record_bench TESTER PLANTED_TESTER [CLICKS]\n");
        return 2;
    }
    int clicks = argc > 3 ? std::atoi(argv[3]) : 100;
    char* planted = realpath(argv[2], nullptr);
    char* tester = realpath(argv[1], nullptr);
    // In the current directory: the file system scripts are kept on.
    char dir[] = "zem_record_bench_XXXXXX";
    if (!tester || !planted || !mkdtemp(dir) || chdir(dir) != 0)
        return 1;
    GrcBase::m_Exec = 1;
    ViewerSession session;
    const std::string script = "resultfile \"r.txt\"\n{ k = 1 }\nongraphic { }\n";
    writeAll("s.txt", script);
    runScript(session, "s.txt", script);

    std::vector<double> alone, recorded;
    for (int i = 0; i < clicks; ++i)
        alone.push_back(click(session, i));
    std::string message;
    if (!session.startRecording("rec.txt", "s.txt", script, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 1;
    }
    for (int i = 0; i < clicks; ++i)
        recorded.push_back(click(session, i));
    session.stopRecording();

    int tests = 0, failed = 0, plantedTests = 0, plantedFailed = 0;
    replay(tester, tests, failed);
    replay(planted, plantedTests, plantedFailed);
    std::printf("clicks recorded: %d, replayed: %d, passed: %d; with the planted change failed: %d\n",
                session.recorder().recorded(),
                tests,
                tests - failed,
                plantedFailed);
    std::printf(
        "replayed recording passes: %d tests vs recorded clicks: %d tests, ratio %.3f (goal >= 1.0)\n",
        tests - failed,
        clicks,
        double(tests - failed) / clicks);
    std::printf("planted change fails: %d tests vs recorded clicks: %d tests, ratio %.3f (goal >= 0.95)\n",
                plantedFailed,
                clicks,
                double(plantedFailed) / clicks);
    double added = median(recorded) - median(alone);
    std::printf("recording adds to a click: %.1f us vs the click's run, not recorded: %.1f us, ratio %.3f "
                "(goal at most 1000 us)\n",
                added,
                median(alone),
                added / median(alone));

    std::string many = "resultfile \"many.txt\"\n";
    for (int i = 0; i < 1000; ++i)
        many += "add { a = " + std::to_string(i) + " b = 1 verify: sum == 0 }\n";
    writeAll("many.txt.script", many);
    Clock::time_point a = Clock::now();
    runScript(session, "many.txt.script", many);
    double runMs = micros(a, Clock::now()) / 1000;
    std::vector<double> accepts;
    size_t changed = 0;
    for (int i = 0; i < 7; ++i) {
        a = Clock::now();
        ViewerSession::Accepted accepted = session.accept(many, "");
        accepts.push_back(micros(a, Clock::now()) / 1000);
        changed = accepted.script != many ? 1 : 0;
    }
    std::printf("Accept on a 1,000-test script: %.2f ms vs the run it accepts: %.2f ms, ratio %.3f "
                "(goal at most 50 ms)\n",
                median(accepts),
                runMs,
                median(accepts) / runMs);
    if (!changed)
        std::printf("Accept changed nothing: the figure above is not what it claims\n");
    std::string cleanup = std::string("rm -rf ") + dir;
    chdir("..");
    std::free(tester);
    std::free(planted);
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
