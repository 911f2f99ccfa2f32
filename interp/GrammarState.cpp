// The interpreter state of the grammar and the actions that move through a
// script: items, test markers, levels and targets, and the limit helpers.
#include "Grammar.h"

#include "FailedChecks.h"
#include "FileGate.h"
#include "Parse.h"
#include "RealFormat.h"
#include "ScriptLexer.h"
#include "StoreCv.h"
#include "VarBank.h"

#include <cstdio>
#include <cstring>

int Grammar::m_Level = 0;
char Grammar::m_Names[Levels][TextSize];
int Grammar::m_Counters[Counters];
int Grammar::m_Family = InFamily;
int Grammar::m_VerifyMode = 0;
int Grammar::m_StartOffset = 0;
int Grammar::m_Extern = 0;

VarBank& Grammar::member(int family, int index)
{
    static VarBank banks[Families][Levels];
    return banks[family][index];
}

void Grammar::setRecycling(int on)
{
    for (int family = 0; family < Families; ++family) {
        for (int index = 0; index < Levels; ++index)
            member(family, index).setRecycling(on);
    }
    Parse::getOutStore().setRecycling(on);
}

void Grammar::start()
{
    m_Level = 0;
    m_VerifyMode = 0;
    m_StartOffset = 0;
    m_Family = InFamily;
    ScriptLexer::captureComments = 0;
    ScriptLexer::resetCounts();
    ScriptLexer::setLineNumber(1);
    Parse::setErrString("");
    Parse::setLastOutFile("");
    Parse::getTestStore().clear();
    if (Parse::getSelector()[0] == '\0')
        Parse::getDefStore().clear();
    clearScratch();
}

// A parse that ended inside a nested structure leaves parts of it in the
// scratch members; the next parse must not find them there.
void Grammar::clearScratch()
{
    for (int family = 0; family < Families; ++family) {
        for (int index = 1; index < Levels; ++index)
            member(family, index).clear();
    }
}

void Grammar::setResultFile(const char* name) { Parse::setLastOutFile(name); }

// Deleting files is left to runs that can execute tests. Reports keep the
// result file open between tests, so it is closed first: later reports
// must go to a fresh file, not to the removed one.
void Grammar::deleteFile(const char* name)
{
    if (!Parse::hasStartFunc())
        return;
    Parse::getIO().closeOut();
    Parse::getIO().deleteFile(name);
}

// The test's first name token has just been read: its line is the one the
// console names for the test's failed checks. A setting's name is marked
// too, before its string tells it apart; the next item marks itself.
void Grammar::markTestStart()
{
    m_StartOffset = ScriptLexer::tokenOffset();
    FailedChecks::setTestLine(ScriptLexer::lineNumber());
}

// The lookahead is the block's "{".
void Grammar::markBlockStart()
{
    m_Extern = 0;
    FailedChecks::setTestLine(ScriptLexer::lineNumber());
    m_StartOffset = ScriptLexer::tokenOffset();
    m_Names[m_Level][0] = '\0';
    Parse::clearInStore();
    Parse::clearVerStore();
    Parse::getOutStore().clear();
}

void Grammar::beginTest(const char* name, int isExtern)
{
    m_Extern = isExtern;
    nameLevel(name);
    Parse::clearInStore();
    Parse::clearVerStore();
    Parse::getOutStore().clear();
}

// Settings are names, not keywords, so that a test may still be called
// "precision"; a name or a text the grammar does not know ends the parse.
// Any other name or text was, and stays, a parse error at the text.
int Grammar::setting(const char* name, const char* text)
{
    if (std::strcmp(name, "precision") != 0)
        return oldParseError();
    if (std::strcmp(text, "full") == 0 || std::strcmp(text, "six") == 0) {
        RealFormat::set(text[0] == 'f');
        return 1;
    }
    return oldParseError();
}

int Grammar::runBlock() { return Parse::finishBlock() == 0; }

void Grammar::endExternTest()
{
    Parse::finishBlock();
    m_Extern = 0;
}

// Runs before the token after "{" is read, so that comments right after
// the brace are captured.
int Grammar::openTestBody()
{
    if (!openLevel())
        return 0;
    ScriptLexer::captureComments = 1;
    return 1;
}

int Grammar::openLevel()
{
    if (!fitsNesting(m_Level + 1))
        return 0;
    ++m_Level;
    return 1;
}

void Grammar::closeLevel() { --m_Level; }

void Grammar::selectTarget(int family)
{
    m_Family = family;
    if (family == VerFamily)
        m_VerifyMode = 1;
}

void Grammar::endVerification() { m_VerifyMode = 0; }

void Grammar::nameLevel(const char* name)
{
    std::size_t n = strnlen(name, MaxText);
    std::memcpy(m_Names[m_Level], name, n);
    m_Names[m_Level][n] = '\0';
}

// A nested block's statements were collected in the scratch member of its
// level; they move under the block's name into the enclosing member.
int Grammar::storeNested()
{
    VarBank& scratch = member(m_Family, m_Level);
    if (!fitsGroup(scratch, std::strlen(m_Names[m_Level])))
        return 1;
    member(m_Family, m_Level - 1)[m_Names[m_Level]] = scratch;
    scratch.clear();
    return 0;
}

VarBank& Grammar::statementBank() { return member(m_Family, m_Level - 1); }

void Grammar::syntaxError(const char* parserMessage)
{
    static const struct {
        const char* parser;
        const char* ours;
    } texts[] = {
        {"memory exhausted", "parser stack overflow"},
    };
    const char* pending = ScriptLexer::pendingError();
    if (pending) {
        limitError(pending);
        return;
    }
    for (const auto& t : texts) {
        if (std::strcmp(parserMessage, t.parser) == 0) {
            Parse::reportError(t.ours);
            return;
        }
    }
    Parse::reportError("parse error");
}

// A name followed by a text that no form takes was a parse error at the
// text before any such form existed, and reads as one still, byte for byte.
int Grammar::oldParseError()
{
    Parse::reportError("parse error");
    return 0;
}

int Grammar::limitError(const char* message)
{
    ScriptLexer::clearTokenText();
    Parse::reportError(message);
    return 0;
}

int Grammar::fitsValue(std::size_t length) { return length <= MaxText ? 1 : limitError("value too long"); }

int Grammar::fitsName(std::size_t length) { return length <= MaxText ? 1 : limitError("name too long"); }

int Grammar::fitsNesting(int newLevel) { return newLevel < Levels ? 1 : limitError("nesting too deep"); }

// Pasting group under a name of prefixLength characters composes each
// element's name with a one-character separator.
int Grammar::fitsGroup(const VarBank& group, std::size_t prefixLength)
{
    std::size_t longest = 0;
    for (StoreEl* el = group.getData(nullptr); el; el = el->getNext()) {
        std::size_t n = std::strlen(el->getName());
        if (n > longest)
            longest = n;
    }
    if (!group.getData(nullptr))
        return fitsName(prefixLength);
    return fitsName(prefixLength + 1 + longest);
}
