// Shared fixture for the graphic stream tests: every test starts and ends
// with an empty command list and recording switched on.
#ifndef ZEM_TESTS_GRCLISTFIXTURE_H
#define ZEM_TESTS_GRCLISTFIXTURE_H

#include "GrcCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

class GrcList : public ::testing::Test {
protected:
    void SetUp() override
    {
        GrcBase::clearList();
        GrcBase::m_Exec = 1;
    }
    void TearDown() override
    {
        GrcBase::clearList();
        GrcBase::m_Exec = 0;
    }

    static int listSize()
    {
        int n = 0;
        for (GrcBase* c = GrcBase::m_Start; c; c = c->m_Next)
            ++n;
        return n;
    }

    // The bytes of one chunk, encoded from cursor.
    static std::string chunk(GrcBase*& cursor)
    {
        const int n = GrcBase::encodeList(cursor);
        return std::string(GrcBase::m_BuffHead, static_cast<std::size_t>(n));
    }

    // One command encoded on its own, through a large buffer.
    static std::string encodeOne(GrcBase& command)
    {
        char buffer[8192];
        char* p = buffer;
        if (!command.encode(p, buffer + sizeof buffer))
            return "";
        return std::string(buffer, static_cast<std::size_t>(p - buffer));
    }

    // Places bytes at the head of the chunk buffer, the rest filled with
    // digits so that reading past count would find plausible fields.
    static int load(const std::string& bytes)
    {
        std::fill(GrcBase::m_BuffHead, GrcBase::m_BuffHead + 502, '0');
        const std::size_t n = std::min<std::size_t>(bytes.size(), 501);
        std::copy(bytes.begin(), bytes.begin() + static_cast<long>(n), GrcBase::m_BuffHead);
        return static_cast<int>(n);
    }
};

#endif
