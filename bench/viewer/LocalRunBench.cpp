// What the run worker adds to a local Run: the same script run by the
// worker and, as the viewer ran it before, in the viewer's own process; both
// with the script set aside and restored, timed alternately. Also the first
// run, which starts the worker.
//
// Usage: zem_localrun_bench [RUNS]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../common/BenchTiming.h"
#include "GrcBase.h"
#include "LocalRun.h"
#include "Parse.h"
#include "ParseOut.h"
#include "ScriptAside.h"
#include "ZemCall.h"

namespace {

using zembench::median;

using zembench::Clock;
using zembench::micros;

struct Case {
    const char* name;
    const char* script;
    bool edited;  // the editor's text differs from the file: it is set aside
};

const Case kCases[] = {
    {"edited script, one test", "resultfile \"r.txt\"\nbuttonpress { x = 1 y = 2 button = 0 }\n", true},
    {"click, 1,000-command picture", "buttonpress{x=5 y=6 button=0}", false},
};

bool inProcess(const Case& c)
{
    ScriptAside aside;
    std::string message;
    if (c.edited && !aside.put("s.txt", c.script, message))
        return false;
    GrcBase::clearList();
    Parse::parseLoop("s.txt", "", testStartsHere);
    return aside.restore(message);
}

bool inWorker(LocalRun& run, const Case& c)
{
    ScriptAside aside;
    std::string message;
    if (c.edited && !aside.put("s.txt", c.script, message))
        return false;
    GrcBase::clearList();
    PollWaiter waiter;
    LocalResult result;
    bool ok = run.run("s.txt", "", 0, "", waiter, result, message) && result.broken.empty();
    return aside.restore(message) && ok && GrcBase::m_Start;
}

}

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    char dir[] = "/tmp/zem_localrun_bench_XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0)
        return 1;
    GrcBase::m_Exec = 1;
    ParseOut::setTraceDepth(0);
    LocalRun run;
    std::printf(
        "local run in the run worker against the same run in the viewer's process, median of %d runs (us)\n",
        runs);
    std::printf("%-30s %10s %12s %10s\n", "case", "worker", "in process", "added");
    for (const Case& c : kCases) {
        std::FILE* f = std::fopen("s.txt", "w");
        std::fputs(c.edited ? "// on disk\n" : c.script, f);
        std::fclose(f);
        std::vector<double> worker, local;
        for (int i = 0; i < runs; ++i) {
            auto a = Clock::now();
            bool ok = inWorker(run, c);
            auto b = Clock::now();
            ok = inProcess(c) && ok;
            auto d = Clock::now();
            if (!ok)
                return 1;
            worker.push_back(micros(a, b));
            local.push_back(micros(b, d));
        }
        double w = median(worker), p = median(local);
        std::printf("%-30s %10.1f %12.1f %10.1f\n", c.name, w, p, w - p);
    }
    run.release();
    auto a = Clock::now();
    if (!inWorker(run, kCases[0]))
        return 1;
    std::printf("first run, which starts the worker: %.1f us\n", micros(a, Clock::now()));
    std::string rm = std::string("rm -rf ") + dir;
    return std::system(rm.c_str()) == 0 ? 0 : 1;
}
