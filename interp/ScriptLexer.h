// The script lexer: turns a script read through the interpreter's FileGate
// into tokens for the grammar, counting lines and character offsets and
// capturing the comment lines that open a test body.
#ifndef ZEM_SCRIPTLEXER_H
#define ZEM_SCRIPTLEXER_H

class FileGate;

class ScriptLexer {
public:
    enum { ValueSize = 500, MaxValue = ValueSize - 1 };

    // Starts reading a new script from gate's open input; the reading
    // buffer is created on first use.
    static void restart(FileGate& gate);
    // The next token kind (the grammar's token codes); 0 at the end of input,
    // and again on every later call.
    static int nextToken();
    // The lexeme of the current token; empty at the end of input or after
    // clearTokenText.
    static const char* tokenText();
    // Zero-based offset in the script of the current token's first character.
    static int tokenOffset();
    static int lineNumber();
    static void setLineNumber(int line);
    // Suppresses the token context of the next error message.
    static void clearTokenText();
    // Value of the last STRING, INTEGER, REAL or NAME token.
    static const char* tokenValue();
    static int tokenLength();
    // 1 for the token kinds that carry a value.
    static int hasValue(int token);
    // Message of a limit the current token broke, or null. The token was
    // returned as OVERLONG, which no rule accepts.
    static const char* pendingError();
    // Zeroes the character counts; the grammar's start step calls it.
    static void resetCounts();
    // Frees the reading buffer after a parse.
    static void release();

    // On from a test body's "{" until the first name in it has been read:
    // line comments read meanwhile go into the output bank.
    static int captureComments;

    // Called by the generated scanner only.
    static int fill(char* buf, int maxSize);
    static void newLine();
    static void lineComment(const char* text);
    static int keepValue(int token, const char* text, int length);
    // A number as read, without a leading "+": REAL when it has a "." or
    // an exponent, else INTEGER.
    static int number(const char* text, int length);
    // The number's characters before its "e", and up to its exponent's end.
    static int mantissaLength(const char* text);
    static int exponentLength(const char* text);
    static int hexValue(const char* text, int length);
    // For a name followed by an unfinished "[digits": where the "[" is,
    // and the token the name alone makes.
    static int openSuffix(const char* text, int length);
    static int shortName(const char* text, int length);
    static int endOfInput();
};

#endif
