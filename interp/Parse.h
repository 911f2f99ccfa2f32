// The interpreter's public face: one interpreter per process, so every
// member is static. parseLoop runs a script; the getters give the tester,
// the test-function dispatch and the viewer the banks and the last error.
#ifndef ZEM_PARSE_H
#define ZEM_PARSE_H

class FileGate;
class VarBank;

class Parse {
public:
    // Runs one script. Status: 0 clean, N > 0 error on line N, -1 busy or
    // null argument, -2 script unreadable, -3 result file unwritable,
    // -4 a verification failed earlier in this process.
    static int parseLoop(const char* scriptPath, const char* selector, int (*start)());

    // The process-wide file adapter: reads the script, appends to the result file.
    static FileGate& getIO();

    static VarBank& getInStore();
    static VarBank& getVerStore();
    static VarBank& getOutStore();
    static VarBank& getDefStore();
    static VarBank& getTestStore();
    static void clearInStore();
    static void clearVerStore();

    static int getErrLine();
    static int getErrPos();
    static char* getErrString();
    static char* getLastOutFile();
    static void setErrLine(int line);
    static void setErrPos(int pos);
    static void setErrString(const char* text);
    static void setLastOutFile(const char* name);
    static char* getSelector();
    // The one hook for parse errors: records "<message> in line N" with the
    // current token as context, the line and the token's offset.
    static void reportError(const char* message);

    // Test execution: the grammar calls finishBlock at every closing brace.
    static int hasStartFunc();
    static int callStartFunc();
    static int verifyTest(int status, VarBank& actual);
    static int finishBlock();

    // Catalogue operations for processes that run the test function themselves.
    static int loadTest(const char* catalogueFile, const char* testName);
    static int checkResults();

    // Output-bank entries named "(name)" become definitions in defs.
    static void exportOutputs(VarBank& defs);
};

#endif
