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

void useXvfbForAllTests() { ::testing::AddGlobalTestEnvironment(new XvfbEnvironment); }
