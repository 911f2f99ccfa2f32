// Shared helpers of the interpreter tests: a scratch directory per test,
// scripts written to files, and banks rendered as text for comparison.
#ifndef ZEM_INTERPTESTUTIL_H
#define ZEM_INTERPTESTUTIL_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "Parse.h"
#include "StoreCv.h"
#include "VarBank.h"

namespace interptest {

// "name=value" for each element in walk order, separated by spaces; strings
// in double quotes, doubles by "%g".
inline std::string dump(VarBank& bank)
{
    std::string text;
    char number[64];
    for (StoreEl* el = bank.getData(nullptr); el; el = el->getNext()) {
        StoreCv cv = bank[el->getName()];
        if (!text.empty())
            text += ' ';
        text += el->getName();
        text += '=';
        switch (el->getType()) {
        case StoreEl::TypeInt: std::snprintf(number, sizeof number, "%d", (int)cv); text += number; break;
        case StoreEl::TypeDouble: std::snprintf(number, sizeof number, "%g", (double)cv); text += number; break;
        case StoreEl::TypeString: text += '"'; text += (char*)cv; text += '"'; break;
        default: text += '?'; break;
        }
    }
    return text;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Every test runs in a directory of its own, so that relative result file
// names land there.
class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zeminterpXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldDir = cwd;
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(oldDir.c_str()), 0);
        std::string cmd = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    // Writes text as script.txt and returns its path.
    std::string script(const std::string& text)
    {
        writeFile("script.txt", text);
        return "script.txt";
    }

    std::string dir;
    std::string oldDir;
};

}  // namespace interptest

#endif
