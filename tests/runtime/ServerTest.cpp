// ZemTester's server mode, spoken to over loopback as a viewer would: the
// run request, the reply's fields in order, and the command loop's rules.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <string>
#include <utility>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ScratchDir.h"
#include "WireFields.h"

namespace {

using zemtest::command;
using zemtest::number;
using zemtest::text;

class Server : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch_.path().empty());
        dir_ = scratch_.path().string();
        for (int attempt = 0; attempt < 20 && sock_ < 0; ++attempt)
            start(20000 + (getpid() * 7 + attempt * 131) % 20000);
        ASSERT_GE(sock_, 0) << "tester did not come up";
    }
    void TearDown() override
    {
        if (sock_ >= 0)
            close(sock_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    // A tester started with --time-limit: the seconds, as text.
    virtual const char* timeLimit() { return nullptr; }

    void start(int port)
    {
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(dir_.c_str()) != 0)
                _exit(99);
            FILE* out = std::freopen("console.txt", "w", stdout);
            (void)out;
            std::string portText = std::to_string(port);
            if (timeLimit())
                execl(ZEM_SCRIPT_TESTER,
                      ZEM_SCRIPT_TESTER,
                      "--time-limit",
                      timeLimit(),
                      "-p",
                      portText.c_str(),
                      (char*)nullptr);
            execl(ZEM_SCRIPT_TESTER, ZEM_SCRIPT_TESTER, "-p", portText.c_str(), (char*)nullptr);
            _exit(98);
        }
        for (int i = 0; i < 100; ++i) {
            int s = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr;
            std::memset(&addr, 0, sizeof addr);
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addr.sin_port = static_cast<in_port_t>(port);  // unconverted, as the tester binds it
            if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
                sock_ = s;
                port_ = port;
                return;
            }
            close(s);
            int status;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {  // bind failed: try another port
                pid_ = -1;
                return;
            }
            usleep(20000);
        }
    }

    void send(const std::string& bytes)
    {
        ASSERT_EQ(::send(sock_, bytes.data(), bytes.size(), 0), (ssize_t)bytes.size());
    }
    // Reads exactly n bytes; fewer when the tester closes the connection.
    std::string read(size_t n)
    {
        std::string got;
        char buf[512];
        while (got.size() < n) {
            ssize_t r = recv(sock_, buf, std::min(sizeof buf, n - got.size()), 0);
            if (r <= 0)
                break;
            got.append(buf, r);
        }
        return got;
    }
    int readNumber() { return std::atoi(read(8).c_str()); }
    bool closedByPeer()
    {
        char c;
        return recv(sock_, &c, 1, 0) == 0;
    }
    std::string file(const std::string& name) { return zemtest::readFile(scratch_.file(name)); }

    std::string request(const std::string& path, const std::string& script, const std::string& selectorField)
    {
        return command("TSTEXEC") + number(0) + number(100) + text("") + text(path) +
               number((int)script.size()) + script + selectorField;
    }

    // A new connection to the running tester, once it listens again.
    bool reconnect()
    {
        close(sock_);
        for (int i = 0; i < 100; ++i) {
            sock_ = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr;
            std::memset(&addr, 0, sizeof addr);
            addr.sin_family = AF_INET;
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addr.sin_port = static_cast<in_port_t>(port_);
            if (connect(sock_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
                return true;
            close(sock_);
            usleep(20000);
        }
        sock_ = -1;
        return false;
    }
    // A run that the tester answers in full.
    void expectServed()
    {
        send(request("ok.txt", "resultfile \"r.txt\"\n", number(0)));
        EXPECT_EQ(readNumber(), 6);
        EXPECT_EQ(read(6), std::string("r.txt\0", 6));
    }

    zemtest::ScratchDir scratch_{"zem_server"};
    int port_ = 0;
    std::string dir_;
    pid_t pid_ = -1;
    int sock_ = -1;
};

TEST_F(Server, RunReplyCarriesResultFileChunksAndErrorReport)
{
    const std::string script = "resultfile \"r.txt\"\ntraceChain { depth = 1 verify: done == 1 }\n";
    send(request("s.txt", script, number(0)));
    EXPECT_EQ(readNumber(), 6);
    EXPECT_EQ(read(6), std::string("r.txt\0", 6));
    int size = readNumber();
    std::string content = read(size);
    EXPECT_EQ(content,
              "chain()\n{\n    n = 1\n}\n\ntraceChain\n{\n  verified:\n    done == 1\n  logged:\n}\n\n\n");
    EXPECT_EQ(readNumber(), 0);  // no drawing: one empty chunk
    EXPECT_EQ(readNumber(), 0);  // error line
    readNumber();                // error position: meaningless without a line
    EXPECT_EQ(readNumber(), 1);  // empty error text, NUL only; not sent
    send(command("TSTSTOP"));
    // A second run on the same connection reports a script error.
    send(request("s.txt", "resultfile \"r.txt\"\n*\n", number(0)));
    EXPECT_EQ(readNumber(), 6);
    read(6);
    read(readNumber());
    EXPECT_EQ(readNumber(), 0);
    EXPECT_EQ(readNumber(), 2);
    EXPECT_EQ(readNumber(), 19);
    int len = readNumber();
    EXPECT_EQ(read(len), std::string("parse error in line 2 ( *... )\n\0", len));
}

TEST_F(Server, UnreadableScriptSendsNoStaleResultFile)
{
    send(request("s.txt", "resultfile \"r.txt\"\nt { }\n", number(0)));
    ASSERT_EQ(readNumber(), 6);
    read(6);
    read(readNumber());
    read(8 * 4);  // one empty chunk, the error report without text
    send(command("TSTSTOP"));
    // Content length 0 keeps the file at the path, and there is none.
    send(request("missing.txt", "", number(0)));
    EXPECT_EQ(readNumber(), 0);  // no result file name
    EXPECT_EQ(readNumber(), 0);  // no content
    EXPECT_EQ(readNumber(), 0);  // no drawing
}

class FatalServer : public Server, public ::testing::WithParamInterface<std::pair<const char*, int>> {};

// A crash, or an abort (assert, an uncaught exception), still sends the
// run's reply with the record, then ends the tester with the signal.
TEST_P(FatalServer, StillRepliesThenExitsWithTheSignal)
{
    const char* function = GetParam().first;
    int sig = GetParam().second;
    send(request("s.txt", std::string("resultfile \"r.txt\"\n") + function + " { }\n", number(0)));
    ASSERT_EQ(readNumber(), 6);
    read(6);
    std::string reason = sig == SIGSEGV ? "segm violation" : "abort";
    EXPECT_EQ(read(readNumber()), std::string(function) + "\n{\n    TEST = \"BROKEN (" + reason + ")\"\n}\n");
    EXPECT_EQ(readNumber(), 0);  // no drawing
    EXPECT_EQ(read(24).size(), 24u);
    int status = -1;
    ASSERT_EQ(waitpid(pid_, &status, 0), pid_);
    pid_ = -1;
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), sig);
}

INSTANTIATE_TEST_SUITE_P(Signals, FatalServer,
                         ::testing::Values(std::make_pair("writeThroughNull", SIGSEGV),
                                           std::make_pair("abortNow", SIGABRT)));

class TimedServer : public Server {
protected:
    const char* timeLimit() override { return "0.2"; }
};

// A test past its limit ends like a crash: the record with the reason, the
// reply, and the alarm signal's number as exit status.
TEST_F(TimedServer, TestPastItsLimitRepliesThenExitsWithFourteen)
{
    send(request("s.txt", "resultfile \"r.txt\"\nsleepy { }\n", number(0)));
    ASSERT_EQ(readNumber(), 6);
    read(6);
    EXPECT_EQ(read(readNumber()), "sleepy\n{\n    TEST = \"BROKEN (time limit)\"\n}\n");
    int status = -1;
    ASSERT_EQ(waitpid(pid_, &status, 0), pid_);
    pid_ = -1;
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 14);
}

TEST_F(Server, SelectorMinusOneStoresTheScriptWithoutReply)
{
    send(request("kept.txt", "t { }\n", number(-1)));
    send(command("TSTSTOP"));
    send(command("TSTPNG1"));
    send(command("TSTPNG1"));  // repeated command: the tester drops the connection
    EXPECT_TRUE(closedByPeer());
    EXPECT_EQ(file("kept.txt"), "t { }\n");
}

TEST_F(Server, CommandLoopRules)
{
    send(command("TSTPNG1") + command("TSTPNG2") + command("TSTPNG1") + command("TSTxxxx") +
         command("TSTPNG2"));
    send(command("TSTSTOP") + command("TSTSTOP"));
    EXPECT_TRUE(closedByPeer());
}

TEST_F(Server, NonTstBytesEndTheConnectionAndTheTesterListensAgain)
{
    send("garbage!");
    EXPECT_TRUE(closedByPeer());
    close(sock_);
    sock_ = -1;
    usleep(50000);
    std::string console = file("console.txt");
    EXPECT_NE(console.find("waiting...accepted\nwaiting..."), std::string::npos) << console;
}

// A script path that cannot be written abandons the request; a client that
// goes away before reading its reply costs the tester nothing. Either way
// the next client is served.
TEST_F(Server, FaultsOfOneClientLeaveTheNextOneServed)
{
    send(request("no/such/dir/s.txt", "resultfile \"r.txt\"\n", number(0)));
    EXPECT_TRUE(closedByPeer());
    ASSERT_TRUE(reconnect());
    expectServed();
    std::string big = "resultfile \"big.txt\"\n" + std::string(100000, '\n');
    send(command("TSTSTOP") + request("big.txt", big, number(0)));
    close(sock_);  // gone before the reply
    sock_ = -1;
    ASSERT_TRUE(reconnect());
    expectServed();
}

TEST_F(Server, QuitEndsTheProcessWithStatusZero)
{
    send(command("TSTQUIT"));
    int status = -1;
    ASSERT_EQ(waitpid(pid_, &status, 0), pid_);
    pid_ = -1;
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}
