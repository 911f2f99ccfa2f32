// The worker's side: read a request, run the script, send the reply; and
// on a fatal signal or a stop, the broken-test record and the reply from
// the signal handler, as the tester does in server mode.
#include "RunWorker.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "FatalSignal.h"
#include "GrcBase.h"
#include "Parse.h"
#include "ParseOut.h"
#include "PeerStream.h"
#include "Transfer.h"
#include "VarBank.h"
#include "ZemCall.h"

const char* const RunWorker::kStopped = "stopped";

namespace {

RunNote* g_Note = nullptr;

void copyName(char* field, const char* name)
{
    std::snprintf(field, RunNote::kNameSize, "%s", name ? name : "");
}

// The start function of the worker's runs: notes the test about to run, so
// that the viewer can name it should the worker die without a word.
int noteAndStart()
{
    copyName(g_Note->resultFile, Parse::getLastOutFile());
    copyName(g_Note->test, Parse::getVerStore().getName());
    return testStartsHere();
}

void putText(const char* text)
{
    int n = static_cast<int>(std::strlen(text)) + 1;
    PeerStream::putNumber(n);
    PeerStream::put(text, n);
}

// Allocates nothing: the signal handlers send it too.
void sendReply(int status, int sig)
{
    PeerStream::putNumber(status);
    PeerStream::putNumber(sig);
    putText(Parse::getLastOutFile());
    PeerStream::putNumber(sig ? 0 : Parse::getErrLine());
    PeerStream::putNumber(sig ? -1 : Parse::getErrPos());
    putText(sig ? "" : Parse::getErrString());
    PeerStream::putDrawing();
    PeerStream::flush();
}

void endRun(int sig, const char* reason)
{
    if (!enterFatal())
        _exit(sig);
    if (!g_Note->inRun)
        _exit(0);
    ParseOut::brkTraceExec(reason);
    sendReply(0, sig);
    std::fflush(nullptr);
    _exit(sig);
}

void fatal(int sig) { endRun(sig, fatalReason(sig)); }

void stopped(int sig) { endRun(sig, RunWorker::kStopped); }

void installStop()
{
    installFatalSignal(SIGTERM, stopped);
    signal(SIGPIPE, SIG_IGN);
}

bool readNumber(int sock, int& value)
{
    char field[PeerStream::kNumberBytes + 1];
    if (receive(sock, field, PeerStream::kNumberBytes) != PeerStream::kNumberBytes)
        return false;
    field[PeerStream::kNumberBytes] = '\0';
    value = std::atoi(field);
    return true;
}

bool readText(int sock, std::string& value)
{
    int n;
    if (!readNumber(sock, n) || n < 0)
        return false;
    value.assign(static_cast<size_t>(n), '\0');
    if (n > 0 && receive(sock, value.data(), n) != n)
        return false;
    value.resize(strnlen(value.c_str(), value.size()));
    return true;
}

struct Request {
    int depth = 0;
    std::string root, path, selector, directory;
};

bool readRequest(int sock, Request& r)
{
    return readNumber(sock, r.depth) && readText(sock, r.root) && readText(sock, r.path) &&
           readText(sock, r.selector) && readText(sock, r.directory);
}

void runOne(int sock, const Request& r)
{
    // The viewer's directory, which the file dialog moves: the worker was
    // forked in whatever directory the first run found.
    if (chdir(r.directory.c_str()) != 0)
        std::perror(r.directory.c_str());
    PeerStream::attach(sock);
    ParseOut::setTraceDepth(r.depth);
    ParseOut::setTraceRoot(r.root.c_str());
    GrcBase::clearList();
    g_Note->resultFile[0] = g_Note->test[0] = '\0';
    g_Note->inRun = 1;
    int status = Parse::parseLoop(r.path.c_str(), r.selector.c_str(), noteAndStart);
    // A stop that comes after this finds no run to end: it ends the worker.
    g_Note->inRun = 0;
    std::fflush(nullptr);
    sendReply(status, 0);
    GrcBase::clearList();
}

}

void RunWorker::serve(int sock, RunNote* note)
{
    g_Note = note;
    installFatalSignals(fatal);
    installStop();
    Request request;
    while (readRequest(sock, request))
        runOne(sock, request);
    _exit(0);
}
