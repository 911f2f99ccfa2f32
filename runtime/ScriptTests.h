// The named tests of a script as the command line lists and selects them:
// found by the lexer alone, so nothing runs and no file is written.
#ifndef ZEM_SCRIPTTESTS_H
#define ZEM_SCRIPTTESTS_H

#include <string>
#include <vector>

struct ScriptTest {
    std::string name;
    int line;
    // Of the name's first character, as the interpreter's selectors count.
    int offset;
};

// The tests at the script's top level, in script order; "extern" tests,
// which never run, are left out. False when the script cannot be read.
bool listScriptTests(const char* path, std::vector<ScriptTest>& tests);

// The first test that "name" or "name:line" picks, or null.
const ScriptTest* pickTest(const std::vector<ScriptTest>& tests, const std::string& choice);

// The interpreter's selector for one test: its name, "0" and its offset.
std::string selectorOf(const ScriptTest& test);

#endif
