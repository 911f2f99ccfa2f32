// Server mode in-process on a socketpair: peers that go silent are dropped,
// and the reply gathered in memory carries exactly the bytes of the fields
// written one after another.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "ScratchDir.h"
#include "WireFields.h"
#include "GrcBase.h"
#include "GrcDraw.h"
#include "Parse.h"
#include "PeerStream.h"
#include "Tester.h"
#include "TesterServer.h"

namespace {

using zemtest::command;
using zemtest::number;
using zemtest::text;

int noStart() { return 0; }

// Both ends of a local stream connection; the test speaks as the viewer.
struct Pair {
    int viewer = -1;
    int tester = -1;
    Pair()
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) == 0) {
            viewer = fds[0];
            tester = fds[1];
        }
    }
    ~Pair()
    {
        close(viewer);
        close(tester);
    }
    void send(const std::string& bytes) const
    {
        ASSERT_EQ(write(viewer, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    }
    // Everything the tester sends until it closes its end.
    std::string drain() const
    {
        std::string got;
        char buf[1 << 14];
        ssize_t n;
        while ((n = read(viewer, buf, sizeof buf)) > 0)
            got.append(buf, n);
        return got;
    }
};

class ServerReply : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.path().empty());
        ASSERT_EQ(getcwd(home, sizeof home), home);
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
        PeerStream::setLimits(100, 200);
    }
    void TearDown() override
    {
        PeerStream::setLimits(0, 0);
        GrcBase::m_Exec = 0;
        GrcBase::clearList();
        rsock = -1;
        ASSERT_EQ(chdir(home), 0);
    }
    zemtest::ScratchDir dir{"zem_reply"};
    char home[4096];
};

// Whatever the peer sent before it went silent, the connection is given up
// and serveConnection returns to the listener.
TEST_F(ServerReply, SilentPeerIsDropped)
{
    const std::string cases[] = {
        "",                                                   // idle between commands
        "TSTE",                                               // inside a command
        "TSTEXEC" + std::string(1, '\0') + number(0) + "00",  // inside a request
        "TSTEXEC" + std::string(1, '\0') + number(0) + number(1) + text("") + text("s.txt") + number(50) +
            "resultfile",
    };
    for (const std::string& bytes : cases) {
        Pair pair;
        pair.send(bytes);
        serveConnection(pair.tester);
        SCOPED_TRACE(bytes);
        EXPECT_FALSE(std::ifstream(dir.file("r.txt")).good());
    }
    // The next viewer is served as usual.
    Pair next;
    const std::string script = "resultfile \"r.txt\"\n";
    next.send("TSTEXEC" + std::string(1, '\0') + number(0) + number(1) + text("") + text("s.txt") +
              number(static_cast<int>(script.size())) + script + number(0));
    shutdown(next.viewer, SHUT_WR);
    rsock = next.tester;  // where finalize replies
    serveConnection(next.tester);
    shutdown(next.tester, SHUT_WR);
    EXPECT_EQ(next.drain().substr(0, 14), number(6) + std::string("r.txt\0", 6));
}

// The reply crosses the output buffer's size several times over: a result
// file larger than the buffer and 20,000 drawing commands.
TEST_F(ServerReply, GatheredReplyEqualsFieldsInOrder)
{
    zemtest::writeFile(dir.file("s.txt"), "resultfile \"r.txt\"\n{ a = 1 }\n*\n");
    char script[] = "s.txt";
    char all[] = "";
    int r = Parse::parseLoop(script, all, noStart);
    ASSERT_EQ(r, 3);
    std::string content = zemtest::readFile(dir.file("r.txt")) + std::string(300000, 'x');
    ASSERT_EQ(zemtest::writeFile(dir.file("r.txt"), content), 1);
    GrcBase::m_Exec = 1;
    for (int i = 0; i < 20000; ++i)
        DrawLine(i % 800, i % 600, (i * 7) % 800, (i * 3) % 600);

    std::string expected =
        number(6) + std::string("r.txt\0", 6) + number(static_cast<int>(content.size())) + content;
    GrcBase* cursor = GrcBase::m_Start;
    for (int n; (n = GrcBase::encodeList(cursor)) > 0;)
        expected += number(n) + std::string(GrcBase::m_BuffHead, n);
    std::string error = Parse::getErrString();
    expected += number(0) + number(3) + number(Parse::getErrPos()) +
                number(static_cast<int>(error.size()) + 1) + error + std::string(1, '\0');

    Pair pair;
    std::string got;
    std::thread reader([&] { got = pair.drain(); });
    rsock = pair.tester;
    finalize(r);
    shutdown(pair.tester, SHUT_WR);
    reader.join();
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    EXPECT_EQ(GrcBase::m_Start, nullptr);
}

}
