// Finding a script's tests with the interpreter's own lexer: a name at the
// top level followed by "{" opens a test; braces count the nesting, and
// comments and strings are the lexer's business.
#include "ScriptTests.h"

#include <cstdlib>

#include "FileGate.h"
#include "Parse.h"
#include "ScriptGrammar.hpp"
#include "ScriptLexer.h"

namespace {

// Walks the tokens; a name seen at depth 0 becomes a test when "{" follows.
void scan(std::vector<ScriptTest>& tests)
{
    int depth = 0;
    bool afterExtern = false;
    ScriptTest pending{"", 0, -1};
    for (int token = ScriptLexer::nextToken(); token != 0; token = ScriptLexer::nextToken()) {
        if (token == TK_LBRACE) {
            if (depth == 0 && pending.offset >= 0)
                tests.push_back(pending);
            ++depth;
        } else if (token == TK_RBRACE && depth > 0) {
            --depth;
        }
        pending.offset = -1;
        if (depth == 0 && token == TK_NAME && !afterExtern)
            pending =
                ScriptTest{ScriptLexer::tokenValue(), ScriptLexer::lineNumber(), ScriptLexer::tokenOffset()};
        afterExtern = depth == 0 && token == TK_EXTERN;
    }
}

}

bool listScriptTests(const char* path, std::vector<ScriptTest>& tests)
{
    tests.clear();
    FileGate& io = Parse::getIO();
    if (!io.openIn(path))
        return false;
    ScriptLexer::captureComments = 0;
    ScriptLexer::restart(io);
    ScriptLexer::resetCounts();
    scan(tests);
    ScriptLexer::release();
    io.closeIn();
    return true;
}

const ScriptTest* pickTest(const std::vector<ScriptTest>& tests, const std::string& choice)
{
    size_t colon = choice.rfind(':');
    bool withLine = colon != std::string::npos;
    std::string name = withLine ? choice.substr(0, colon) : choice;
    int line = withLine ? std::atoi(choice.c_str() + colon + 1) : 0;
    for (const ScriptTest& t : tests)
        if (t.name == name && (!withLine || t.line == line))
            return &t;
    return nullptr;
}

std::string selectorOf(const ScriptTest& test) { return test.name + "0" + std::to_string(test.offset); }
