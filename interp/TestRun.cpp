// Test execution: at the closing brace of a test or definition block at the
// top level, decide whether it runs, run it through the start function and
// append its verification report to the result file.
#include "Parse.h"

#include "FailedChecks.h"
#include "FileGate.h"
#include "Grammar.h"
#include "ParseState.h"
#include "StoreCv.h"
#include "VarBank.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int numberIs(const char* digits, int offset)
{
    return std::strtol(digits, nullptr, 10) == static_cast<long>(offset);
}

// "{", one character not looked at, and the offset of the block's brace.
int selectsBlock(const char* selector, int offset)
{
    if (selector[0] != '{')
        return 0;
    return numberIs(selector[1] ? selector + 2 : selector + 1, offset);
}

// The test's name as a prefix, then the offset of the name in the script.
int selectsTest(const char* selector, const char* name, int offset)
{
    std::size_t n = std::strlen(name);
    return std::strncmp(selector, name, n) == 0 && numberIs(selector + n, offset);
}

int finishDefinitionBlock()
{
    if (!selectsBlock(Parse::getSelector(), Grammar::startOffset()))
        return 0;
    Parse::verifyTest(1, Parse::getDefStore());
    return 1;
}

// Without a start function extern tests are kept for loadTest: item 0 the
// inputs, item 1 the expected values, item 2 the result file name.
void fileExternTest(const char* name)
{
    StoreCv entry = Parse::getTestStore()[name];
    entry[0] = Parse::getInStore();
    entry[1] = Parse::getVerStore();
    entry[2] = static_cast<const char*>(Parse::getLastOutFile());
}

// A misspelt input (X for x) is never read, and its test passes on the
// function's default; naming the inputs the function left unread shows
// it. On stderr, in the form of the failed checks, so that the result
// file and the console stay as they were.
// A line names this many inputs at most; a test of a million unread items
// must not write a megabyte of names.
const int kUnreadNamed = 20;

void tellUnread(const VarBank& in, const char* test)
{
    const StoreEl* el = in.nextUnread(nullptr);
    if (!el)
        return;
    const StoreEl* next = in.nextUnread(el);
    std::fprintf(stderr,
                 "%s:%d: %s: input%s %s",
                 Parse::getIO().getInFileName(),
                 FailedChecks::testLine(),
                 test,
                 next ? "s" : "",
                 el->getName());
    int named = 1, more = 0;
    for (el = next; el; el = in.nextUnread(el)) {
        if (named < kUnreadNamed)
            std::fprintf(stderr, ", %s", el->getName());
        else
            ++more;
        ++named;
    }
    if (more)
        std::fprintf(stderr, " and %d more", more);
    std::fputs(" never read\n", stderr);
}

int finishTest(const char* name)
{
    VarBank& in = Parse::getInStore();
    in.setName(name);
    Parse::getVerStore().setName(name);
    if (!Parse::hasStartFunc()) {
        if (Grammar::isExtern())
            fileExternTest(name);
        return 0;
    }
    const char* selector = Parse::getSelector();
    if (Grammar::isExtern() || (selector[0] && !selectsTest(selector, name, Grammar::startOffset())))
        return 0;
    int r = Parse::callStartFunc();
    if (r > 0)
        tellUnread(in, name);
    Parse::exportOutputs(Parse::getDefStore());
    if (r >= 0)
        Parse::verifyTest(r, Parse::getOutStore());
    return r >= -1 && selector[0] ? 1 : 0;
}

}  // namespace

int Parse::finishBlock()
{
    if (Grammar::level() >= 1)
        return Grammar::storeNested();
    if (Grammar::testName()[0] == '\0')
        return finishDefinitionBlock();
    return finishTest(Grammar::testName());
}

// Within a parse the result file is held between reports instead of being
// closed (FileGate::holdOut): to every writer it is closed all the same, but
// the next report reopens it without the cost of a fresh open.
int Parse::verifyTest(int status, VarBank& actual)
{
    FileGate& io = getIO();
    int r = 1;
    if (io.openOut(getLastOutFile())) {
        r = getVerStore().differ(io, actual, status);
        if (ParseState::m_Busy)
            io.holdOut();
        else
            io.closeOut();
    }
    if (r)
        ParseState::m_Failed = 1;
    return r;
}

int Parse::hasStartFunc() { return ParseState::m_Start != nullptr; }

int Parse::callStartFunc() { return ParseState::m_Start ? ParseState::m_Start() : 0; }
