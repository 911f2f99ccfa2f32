// Call traces of the functions under test. A traced function opens a
// ParseOut handle on entry and stores values into its node; handles nest
// into a tree that is appended to the result file when the outermost traced
// call returns. Also holds the trace settings and the broken-test record.
#ifndef ZEM_PARSEOUT_H
#define ZEM_PARSEOUT_H

class FileGate;
class VarBank;

class ParseOut {
public:
    // Opens a trace node for the calling function when the depth limit and
    // the root name allow it; otherwise the handle stays inert (m_Node null).
    explicit ParseOut(const char* functionName);
    // Closes the node; closing the root writes and frees the whole tree.
    ~ParseOut();
    ParseOut(const ParseOut&) = delete;
    ParseOut& operator=(const ParseOut&) = delete;

    // This call's trace node, or null when the call is not traced.
    VarBank* m_Node;

    // The largest trace depth, which also means "no limit": a depth of
    // NoDepthLimit traces calls nested to any level.
    enum { NoDepthLimit = 100 };

    // Depths above NoDepthLimit are kept as it, below 1 as 0 (no trace).
    static void setTraceDepth(int depth);
    static void setTraceRoot(const char* name);
    static int getTraceDepth();
    static char* getTraceRoot();

    // Leaves the broken-test mark after a fatal signal: inside the open
    // trace, or as a verification-like block of its own.
    static void brkTraceExec(const char* reason);

    static void writeNode(FileGate& out, VarBank* node, int level);
    static void freeNode(VarBank* node);

    // Process-wide trace state: the settings and the trace in progress.
    static int m_Depth;
    static char m_RootName[512];
    static VarBank* m_Root;
    static VarBank* m_Current;

private:
    // Handle of m_Node in the link table; lets a late close notice that its
    // node went with a tree already written.
    int m_Handle;

    static int m_RootHandle;
    static int m_CurrentHandle;
};

#endif
