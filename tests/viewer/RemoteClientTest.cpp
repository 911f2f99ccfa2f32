// The viewer's remote exchange against a scripted tester on a socketpair:
// the request's bytes, the reply's fields into the "_" file, the drawing
// list and the error report, and replies that are cut short or stop.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "FileSizeLimit.h"
#include "GrcBase.h"
#include "ParseOut.h"
#include "RemoteClient.h"
#include "ScratchDir.h"
#include "WireFields.h"

namespace {

using zemtest::command;
using zemtest::number;
using zemtest::text;

const std::string kPoint = "0200100020";  // a point at (10, 20)
const std::string kNoError = number(0) + number(-1) + number(1);

int countCommands()
{
    int n = 0;
    for (GrcBase* c = GrcBase::m_Start; c; c = c->m_Next)
        ++n;
    return n;
}

class RemoteExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.path().empty());
        ASSERT_EQ(getcwd(home, sizeof home), home);
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
        connectPair();
        RemoteClient::setSilenceLimit(100);
        ParseOut::setTraceDepth(3);
        ParseOut::setTraceRoot("fib");
        GrcBase::clearList();
    }
    void TearDown() override
    {
        RemoteClient::setSilenceLimit(0);
        close(RemoteClient::m_Socket);
        close(tester);
        GrcBase::clearList();
        ASSERT_EQ(chdir(home), 0);
    }
    // A fresh connection to the scripted tester.
    void connectPair()
    {
        close(RemoteClient::m_Socket);
        close(tester);
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        RemoteClient::m_Socket = fds[0];
        RemoteClient::m_Connected = 1;
        tester = fds[1];
    }
    // Everything the viewer has sent so far.
    std::string sent()
    {
        std::string got;
        char buf[4096];
        ssize_t n;
        while ((n = recv(tester, buf, sizeof buf, MSG_DONTWAIT)) > 0)
            got.append(buf, n);
        return got;
    }
    void reply(const std::string& bytes)
    {
        ASSERT_EQ(write(tester, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    }

    zemtest::ScratchDir dir{"zem_remote"};
    char home[4096];
    int tester = -1;
    RunOutcome out;
};

TEST_F(RemoteExchange, RequestCarriesContentOnlyWhenAsked)
{
    const std::string head = command("TSTEXEC") + number(0) + number(3) + text("fib") + text("s.txt");
    reply(number(0) + number(0) + number(0) + kNoError);
    ASSERT_TRUE(RemoteClient::exchange("s.txt", "t { }\n", true, "t012", out));
    EXPECT_EQ(sent(), head + number(6) + "t { }\n" + text("t012") + command("TSTSTOP"));
    reply(number(0) + number(0) + number(0) + kNoError);
    ASSERT_TRUE(RemoteClient::exchange("s.txt", "t { }\n", false, "", out));
    EXPECT_EQ(sent(), head + number(0) + text("") + command("TSTSTOP"));
    // Store only: the Number -1, no reply to wait for.
    ASSERT_TRUE(RemoteClient::exchange("s.txt", "t { }\n", true, "-", out));
    EXPECT_EQ(sent(), head + number(6) + "t { }\n" + number(-1) + command("TSTSTOP"));
    EXPECT_EQ(RemoteClient::m_Connected, 1);
}

TEST_F(RemoteExchange, WholeReplyLandsInFileListAndOutcome)
{
    zemtest::writeFile(dir.file("r.txt"), "older run\n");
    const std::string content = "t\r\n{\r\n}\n";
    const std::string error = "parse error in line 2 ( *... )\n";
    reply(text("r.txt") + number(static_cast<int>(content.size())) + content + number(20) + kPoint + kPoint +
          number(0) + number(2) + number(17) + text(error));
    ASSERT_TRUE(RemoteClient::exchange("s.txt", "t { }\n", true, "", out));
    EXPECT_EQ(out.resultFile, "r.txt");
    EXPECT_EQ(zemtest::readFile(dir.file("r.txt")), "t \n{ \n}\n");
    EXPECT_FALSE(std::ifstream(dir.file("r.txt_")).good());
    EXPECT_EQ(countCommands(), 2);
    EXPECT_EQ(out.errorLine, 2);
    EXPECT_EQ(out.errorPos, 17);
    EXPECT_EQ(out.errorText, error);
    EXPECT_EQ(RemoteClient::m_Connected, 1);
}

// Replies that end early: closed by the tester, or stopped with the
// connection still open. Either way the viewer reports the broken tester.
TEST_F(RemoteExchange, ReplyCutShortOrSilentSaysBroken)
{
    struct Case {
        std::string bytes;
        bool closes;
        int connectedAfter;
    };
    const Case cases[] = {
        {text("r.txt") + number(4) + "abc\n" + number(0) + number(3), true, 1},
        {number(0) + number(0), true, 1},
        {number(6) + "r.t", true, 1},
        {"", true, 1},                             // the tester died before answering
        {"garbage, not a reply at all", true, 1},  // bytes of no reply
        {text("r.txt") + number(4) + "ab", false, 0},
        {number(0) + number(0) + number(10) + kPoint, false, 0},
    };
    for (const Case& c : cases) {
        connectPair();
        reply(c.bytes);
        if (c.closes)
            shutdown(tester, SHUT_WR);
        ASSERT_TRUE(RemoteClient::exchange("s.txt", "t { }\n", true, "", out));
        EXPECT_EQ(out.errorText, "Testserver broken without answer") << c.bytes;
        EXPECT_EQ(out.errorLine, 1);
        EXPECT_EQ(out.errorPos, -1);
        EXPECT_EQ(RemoteClient::m_Connected, c.connectedAfter) << c.bytes;
        EXPECT_FALSE(std::ifstream(dir.file("r.txt_")).good());
    }
}

// A result file that cannot be stored whole is still read off the
// connection, so the drawing and the error report that follow arrive
// intact; the older file stays, and nothing cut short takes its place.
TEST_F(RemoteExchange, ResultFileThatCannotBeKeptLeavesTheOlderOne)
{
    struct Case {
        const char* name;
        const char* sentAs;
        int sizeLimit;   // 0: none
        bool blockName;  // a directory stands where the file should go
        const char* errorText;
        const char* resultFile;
        const char* notice;
    } cases[] = {
        {"no directory", "no/such/dir/r.txt", 0, false, "cannot write no/such/dir/r.txt_", "", ""},
        {"disk full", "r.txt", 4, false, "cannot write r.txt_", "", ""},
        {"name taken",
         "r.txt",
         0,
         true,
         "",
         "r.txt_",
         "cannot replace r.txt: Is a directory; result in r.txt_"},
    };
    for (const Case& c : cases) {
        connectPair();
        std::filesystem::remove_all(dir.file("r.txt"));
        std::filesystem::remove(dir.file("r.txt_"));
        if (c.blockName)
            std::filesystem::create_directories(dir.file("r.txt/x"));
        else
            zemtest::writeFile(dir.file("r.txt"), "older");
        reply(text(c.sentAs) + number(15) + "the newer text\n" + number(10) + kPoint + number(0) + kNoError);
        {
            zemtest::FileSizeLimit limit(c.sizeLimit ? c.sizeLimit : RLIM_INFINITY);
            ASSERT_TRUE(RemoteClient::exchange("s.txt", "t { }\n", true, "", out));
        }
        EXPECT_EQ(out.resultFile, c.resultFile) << c.name;
        EXPECT_EQ(out.errorText, c.errorText) << c.name;
        EXPECT_EQ(out.notice, c.notice) << c.name;
        EXPECT_EQ(out.errorLine, 0);
        EXPECT_EQ(countCommands(), 1) << c.name;
        GrcBase::clearList();
        if (!c.blockName)
            EXPECT_EQ(zemtest::readFile(dir.file("r.txt")), "older") << c.name;
        if (!*c.resultFile)
            EXPECT_FALSE(std::filesystem::exists(dir.file("r.txt_"))) << c.name;
        std::string request = sent();
        EXPECT_EQ(request.substr(request.size() - 8), command("TSTSTOP"));
    }
}

}
