// The gtest side of XvfbServer: one private X server per test process.
#include "XvfbServer.h"

#include <gtest/gtest.h>

namespace {

class XvfbEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(m_Server.start(), 1) << "Xvfb could not be started"; }
    void TearDown() override { m_Server.stop(); }

private:
    XvfbServer m_Server;
};

}

// Every test file asks for the server; the process gets one.
void useXvfbForAllTests()
{
    static bool added = false;
    if (!added)
        ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);
    added = true;
}
