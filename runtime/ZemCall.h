// The registry of test functions: a global ZemCall object pairs a name with
// a function, so that scripts can call it by name; testStartsHere is the
// start function that dispatches each test of a script.
#ifndef ZEM_ZEMCALL_H
#define ZEM_ZEMCALL_H

class VarBank;

class ZemCall {
public:
    typedef void (*Function)();

    // Registers function under name; a later registration of the same name
    // replaces it.
    ZemCall(const char* name, Function function);
    // The last object to go takes the whole registry with it.
    ~ZemCall();
    ZemCall(const ZemCall&) = delete;
    ZemCall& operator=(const ZemCall&) = delete;

    // The function registered under name, or null. For a null name: non-null
    // exactly when the registry exists (some function was registered).
    static Function getFunc(const char* name);

    // One integer element per name: the function's slot in the table + 1.
    static VarBank* m_Registry;
    static int m_Count;
};

// Runs the test function named by the input bank's name: 1 when it ran, 0
// (with the failure recorded in the banks) when no such function exists.
int testStartsHere();

// The viewer's loop-back test function, which it registers as "zemtst":
// every input value comes back as an output value.
void zemtst();

#endif
