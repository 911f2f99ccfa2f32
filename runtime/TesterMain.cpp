// ZemTester's entry: command line, local mode, and the fatal-signal handler.
// Server mode lives in TesterServer.cpp; both share brktrace.
#include "Tester.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "ExitStatus.h"
#include "FatalSignal.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "TesterServer.h"
#include "ZemCall.h"

int rsock = -1;

namespace {

int usage()
{
    std::printf("usage: ZemTester testscript\n");
    std::printf("       ZemTester -p  portId\n");
    std::printf("       ZemTester -v\n");
    return -1;
}

int runLocal(const char* script)
{
    ParseOut::setTraceDepth(ParseOut::NoDepthLimit);
    ParseOut::setTraceRoot("");
    int r = Parse::parseLoop(script, "", testStartsHere);
    printVerdict(r, script);
    return r;
}

}

void brktrace(int sig)
{
    ParseOut::brkTraceExec(fatalReason(sig));
    if (GrcBase::m_Exec == 1)
        finalize(0);
    std::fflush(nullptr);
    // The interrupted code may have left any state behind: skip destructors.
    _exit(sig);
}

int zemloop(int argc, char** argv, int)
{
    if (argc == 2 && (std::strcmp(argv[1], "-v") == 0 || std::strcmp(argv[1], "-V") == 0)) {
        std::printf("ZemTester vers. 1.56B\n");
        return -1;
    }
    if (argc == 2) {
        installFatalSignals(brktrace);
        return zemExitStatus(runLocal(argv[1]));
    }
    if (argc == 3 && std::strcmp(argv[1], "-p") == 0) {
        installFatalSignals(brktrace);
        return serveForever(std::atoi(argv[2]));
    }
    return usage();
}
