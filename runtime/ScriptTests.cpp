// Finding a script's tests with the interpreter's own lexer: a name at the
// top level followed by "{" opens a test; braces count the nesting, and
// comments and strings are the lexer's business.
#include "ScriptTests.h"

#include <cstdlib>

#include "ScriptGrammar.hpp"
#include "ScriptTokens.h"

namespace {

// A name seen at depth 0 becomes a test when "{" follows it.
void scan(const std::vector<ScriptToken>& tokens, std::vector<ScriptTest>& tests)
{
    int depth = 0;
    bool afterExtern = false;
    const ScriptToken* pending = nullptr;
    for (const ScriptToken& t : tokens) {
        if (t.kind == TK_LBRACE) {
            if (depth == 0 && pending)
                tests.push_back(ScriptTest{pending->name, pending->line, pending->offset});
            ++depth;
        } else if (t.kind == TK_RBRACE && depth > 0) {
            --depth;
        }
        pending = depth == 0 && t.kind == TK_NAME && !afterExtern ? &t : nullptr;
        afterExtern = depth == 0 && t.kind == TK_EXTERN;
    }
}

}

bool listScriptTests(const char* path, std::vector<ScriptTest>& tests)
{
    tests.clear();
    std::vector<ScriptToken> tokens;
    if (!scriptTokens(path, tokens))
        return false;
    scan(tokens, tests);
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
