// Shared helpers of the interpreter tests: a scratch directory per test,
// scripts written to files, and banks rendered as text for comparison.
#ifndef ZEM_INTERPTESTUTIL_H
#define ZEM_INTERPTESTUTIL_H

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "ScratchDir.h"

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
        case StoreEl::TypeInt:
            std::snprintf(number, sizeof number, "%d", static_cast<int>(cv));
            text += number;
            break;
        case StoreEl::TypeDouble:
            std::snprintf(number, sizeof number, "%g", static_cast<double>(cv));
            text += number;
            break;
        case StoreEl::TypeString:
            text += '"';
            text += static_cast<char*>(cv);
            text += '"';
            break;
        default: text += '?'; break;
        }
    }
    return text;
}

using zemtest::readFile;
using zemtest::writeFile;

// Every test runs in a directory of its own, so that relative result file
// names land there.
class InScratchDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_Scratch.path().empty());
        std::error_code ec;
        m_OldDir = std::filesystem::current_path(ec);
        ASSERT_FALSE(ec);
        std::filesystem::current_path(m_Scratch.path(), ec);
        ASSERT_FALSE(ec);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::current_path(m_OldDir, ec);
        ASSERT_FALSE(ec);
    }
    // Writes text as script.txt and returns its path.
    std::string script(const std::string& text)
    {
        writeFile("script.txt", text);
        return "script.txt";
    }

    zemtest::ScratchDir m_Scratch{"zeminterp"};
    std::filesystem::path m_OldDir;
};

}  // namespace interptest

#endif
