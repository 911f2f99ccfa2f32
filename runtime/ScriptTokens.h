// A script's tokens as the interpreter's lexer reads them, for the tools
// that look at a script without running it (--list, --test, approve).
#ifndef ZEM_SCRIPTTOKENS_H
#define ZEM_SCRIPTTOKENS_H

#include <string>
#include <vector>

struct ScriptToken {
    // The grammar's token code (TK_NAME, TK_LBRACE, ...).
    int kind;
    // Of the token's first character, and the length of its text.
    int offset;
    int length;
    int line;
    // A name's text; empty for other tokens.
    std::string name;
};

// Every token of the script at path; false when it cannot be read. Nothing
// runs and no file is written.
bool scriptTokens(const std::string& path, std::vector<ScriptToken>& tokens);

// The same for a text that need not be on disk (an editor's text); the
// offsets are those of the text. Empty when it cannot be lexed.
std::vector<ScriptToken> scriptTokensOfText(const std::string& text);

// The text of every definition block of a script's text (a "{" between
// tests, not after a test's name), from its "{" to its "}".
std::vector<std::string> definitionBlocksOf(const std::string& text);

#endif
