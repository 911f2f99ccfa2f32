// Driving the interpreter's lexer over a whole script, outside a run.
#include "ScriptTokens.h"

#include <cstring>
#include <cstdlib>
#include <unistd.h>

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

// The lexer reads files, so the text goes through one.
std::vector<ScriptToken> scriptTokensOfText(const std::string& text)
{
    char path[] = "/tmp/zem_tokens_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return {};
    bool whole = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    std::vector<ScriptToken> tokens;
    if (whole)
        scriptTokens(path, tokens);
    unlink(path);
    return tokens;
}

std::vector<std::string> definitionBlocksOf(const std::string& text)
{
    std::vector<ScriptToken> tokens = scriptTokensOfText(text);
    std::vector<std::string> blocks;
    int depth = 0;
    size_t start = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        int kind = tokens[i].kind;
        if (kind == TK_LBRACE && depth++ == 0 && (i == 0 || tokens[i - 1].kind != TK_NAME)) {
            start = i + 1;
        } else if (kind == TK_RBRACE && depth > 0 && --depth == 0 && start) {
            int from = tokens[start - 1].offset;
            blocks.push_back(text.substr(from, tokens[i].offset + 1 - from));
            start = 0;
        }
    }
    return blocks;
}
