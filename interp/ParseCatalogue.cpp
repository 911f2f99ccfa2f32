// Catalogue operations for a process that runs test functions itself:
// loadTest prepares the banks of one extern test from a catalogue script
// (parsed again only when it changed), checkResults reports on them.
#include "Parse.h"

#include "FileGate.h"
#include "ParseState.h"
#include "StoreCv.h"
#include "VarBank.h"

#include <cstring>
#include <sys/stat.h>

namespace {

// The catalogue last parsed is still current when the same file has not
// been modified since.
int catalogueIsCurrent(const char* file)
{
    struct stat info;
    return std::strcmp(file, ParseState::m_CatalogueName) == 0 && stat(file, &info) == 0 &&
           info.st_mtime <= ParseState::m_LoadTime;
}

int parseCatalogue(const char* file)
{
    FileGate& io = Parse::getIO();
    if (!io.openIn(file)) {
        ParseState::m_CatalogueName[0] = '\0';
        return -1;
    }
    ParseState::runParse(0);
    int status = ParseState::m_ErrLine;
    io.closeIn();
    ParseState::m_LoadTime = std::time(nullptr);
    ParseState::copyText(ParseState::m_CatalogueName, file, ParseState::MaxText);
    return status;
}

}  // namespace

int Parse::loadTest(const char* catalogueFile, const char* testName)
{
    if (ParseState::m_Busy || !catalogueFile || !testName)
        return -1;
    ParseState::copyText(ParseState::m_Selector, testName, ParseState::MaxLoadName);
    char file[ParseState::TextSize];
    ParseState::copyText(file, catalogueFile, ParseState::MaxLoadName);
    if (!std::strchr(file, '.'))
        std::strcat(file, ".txt");
    int status;
    if (catalogueIsCurrent(file)) {
        getInStore().clear();
        getVerStore().clear();
        getOutStore().clear();
        status = 0;
    } else {
        status = parseCatalogue(file);
    }
    StoreCv entry = getTestStore()[testName];
    getInStore() = entry[0];
    getInStore().setName(testName);
    getVerStore() = entry[1];
    getVerStore().setName(testName);
    setLastOutFile(static_cast<char*>(entry[2]));
    return status;
}

int Parse::checkResults()
{
    if (ParseState::m_Busy || !getLastOutFile()[0] || !getSelector()[0])
        return 0;
    FileGate& io = getIO();
    io.openOut(getLastOutFile());
    getVerStore().setName(getSelector());
    int r = getVerStore().differ(io, getOutStore(), 1);
    io.closeOut();
    getOutStore().clear();
    getSelector()[0] = '\0';
    return r;
}
