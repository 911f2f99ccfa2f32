// The script driver: runs one script through the grammar, appends any error
// and the closing newline to the result file, and keeps the banks and the
// last error for the caller.
#include "Parse.h"

#include "FailedChecks.h"
#include "FileGate.h"
#include "Grammar.h"
#include "ParseState.h"
#include "RealFormat.h"
#include "ScriptLexer.h"
#include "VarBank.h"

#include <cstdio>
#include <cstring>

int (*ParseState::m_Start)() = nullptr;
int ParseState::m_Busy = 0;
int ParseState::m_ErrLine = 0;
int ParseState::m_ErrPos = 0;
int ParseState::m_Failed = 0;
char ParseState::m_ErrString[TextSize];
char ParseState::m_Selector[TextSize];
char ParseState::m_LastOutFile[TextSize];
char ParseState::m_CatalogueName[TextSize];
std::time_t ParseState::m_LoadTime = 0;

void ParseState::copyText(char* field, const char* text, std::size_t max)
{
    std::size_t n = text ? strnlen(text, max) : 0;
    if (n)
        std::memmove(field, text, n);
    field[n] = '\0';
}

void ParseState::formatError(char* field, const char* message, int line, const char* context)
{
    int n = context[0] ? std::snprintf(field, TextSize, "%s in line %d ( %s... )\n", message, line, context)
                       : std::snprintf(field, TextSize, "%s in line %d\n", message, line);
    if (n >= TextSize)
        field[MaxText - 1] = '\n';
}

int ParseState::runParse(int appendError)
{
    FileGate& io = Parse::getIO();
    m_ErrLine = 0;
    ScriptLexer::restart(io);
    m_Busy = 1;
    Grammar::setRecycling(1);
    int result = Grammar::parse();
    Grammar::setRecycling(0);
    io.closeOut();
    if (appendError && result != 0 && m_ErrLine > 0 && io.openOut(m_LastOutFile)) {
        io << m_ErrString;
        io.closeOut();
    }
    ScriptLexer::release();
    m_Busy = 0;
    return result;
}

int Parse::parseLoop(const char* scriptPath, const char* selector, int (*start)())
{
    if (ParseState::m_Busy || !scriptPath || !start)
        return -1;
    ParseState::m_Start = start;
    ParseState::copyText(ParseState::m_Selector, selector, ParseState::MaxText);
    FailedChecks::clear();
    // A precision statement lasts until the end of its own run.
    RealFormat::reset();
    FileGate& io = getIO();
    if (!io.openIn(scriptPath))
        return -2;
    ParseState::runParse(1);
    int status = ParseState::m_ErrLine;
    if (io.openOut(ParseState::m_LastOutFile)) {
        io << "\n";
        io.closeOut();
    } else {
        status = -3;
    }
    io.closeIn();
    if (status == 0 && ParseState::m_Failed)
        status = -4;
    return status;
}

// Every error of a parse is reported here, so that all share one form.
void Parse::reportError(const char* message)
{
    int offset = ScriptLexer::tokenOffset();
    int line = ScriptLexer::lineNumber();
    ParseState::formatError(ParseState::m_ErrString, message, line, ScriptLexer::tokenText());
    ParseState::m_ErrLine = line;
    ParseState::m_ErrPos = offset;
}

VarBank& Parse::getInStore() { return Grammar::member(Grammar::InFamily, 0); }
VarBank& Parse::getVerStore() { return Grammar::member(Grammar::VerFamily, 0); }
VarBank& Parse::getDefStore() { return Grammar::member(Grammar::DefFamily, 0); }

VarBank& Parse::getOutStore()
{
    static VarBank bank;
    return bank;
}

VarBank& Parse::getTestStore()
{
    static VarBank bank;
    return bank;
}

// Emptied as by assigning a fresh bank, which also restores the name.
void Parse::clearInStore()
{
    VarBank fresh;
    getInStore() = fresh;
}

void Parse::clearVerStore()
{
    VarBank fresh;
    getVerStore() = fresh;
}

int Parse::getErrLine() { return ParseState::m_ErrLine; }
int Parse::getErrPos() { return ParseState::m_ErrPos; }
char* Parse::getErrString() { return ParseState::m_ErrString; }
char* Parse::getLastOutFile() { return ParseState::m_LastOutFile; }
char* Parse::getSelector() { return ParseState::m_Selector; }
void Parse::setErrLine(int line) { ParseState::m_ErrLine = line; }
void Parse::setErrPos(int pos) { ParseState::m_ErrPos = pos; }

void Parse::setErrString(const char* text)
{
    ParseState::copyText(ParseState::m_ErrString, text, ParseState::MaxText);
}

void Parse::setLastOutFile(const char* name)
{
    ParseState::copyText(ParseState::m_LastOutFile, name, ParseState::MaxText);
}
