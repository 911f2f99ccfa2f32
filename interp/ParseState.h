// The driver's state, shared by the units that implement Parse: the start
// function, the busy flag, the last error and the texts of fixed size.
#ifndef ZEM_PARSESTATE_H
#define ZEM_PARSESTATE_H

#include <cstddef>
#include <ctime>

struct ParseState {
    enum { TextSize = 512, MaxText = TextSize - 1, MaxLoadName = 256 };

    static int (*m_Start)();
    static int m_Busy;
    static int m_ErrLine;
    static int m_ErrPos;
    static int m_Failed;  // a verification failed; never cleared
    static char m_ErrString[TextSize];
    static char m_Selector[TextSize];
    static char m_LastOutFile[TextSize];
    static char m_CatalogueName[TextSize];
    static std::time_t m_LoadTime;

    // Copies at most max characters of text (an empty text for null) into
    // field, always terminated; longer texts are cut.
    static void copyText(char* field, const char* text, std::size_t max);
    // Builds "<message> in line <line>", the token context when there is
    // one, and a newline into field, cut to MaxText characters.
    static void formatError(char* field, const char* message, int line, const char* context);
    // Parses the open script with the lexer restarted, appending the error
    // text to the result file when asked; returns the grammar's result
    // (0 read through, 1 ended early, 2 stack overflow).
    static int runParse(int appendError);
};

#endif
