// Driving the interpreter's lexer over a whole script, outside a run.
#include "ScriptTokens.h"

#include <cstring>

#include "FileGate.h"
#include "Parse.h"
#include "ScriptGrammar.hpp"
#include "ScriptLexer.h"

bool scriptTokens(const std::string& path, std::vector<ScriptToken>& tokens)
{
    tokens.clear();
    FileGate& io = Parse::getIO();
    if (!io.openIn(path.c_str()))
        return false;
    ScriptLexer::captureComments = 0;
    ScriptLexer::restart(io);
    ScriptLexer::resetCounts();
    for (int kind = ScriptLexer::nextToken(); kind != 0; kind = ScriptLexer::nextToken()) {
        ScriptToken t{kind,
                      ScriptLexer::tokenOffset(),
                      static_cast<int>(std::strlen(ScriptLexer::tokenText())),
                      ScriptLexer::lineNumber(),
                      ""};
        if (kind == TK_NAME)
            t.name = ScriptLexer::tokenValue();
        tokens.push_back(t);
    }
    ScriptLexer::release();
    io.closeIn();
    return true;
}
