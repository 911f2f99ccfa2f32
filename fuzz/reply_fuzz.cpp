// Fuzz target for the viewer's side of a reply: the bytes are what a tester
// answers, read by the viewer's remote exchange over a socketpair. It must
// end without a crash, leave the connection flag and outcome consistent,
// and write files only through its "_" file (the jail refuses the rest).
#include "FileJail.h"
#include "GrcBase.h"
#include "RemoteClient.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FileJail jail;
    RemoteClient::setSilenceLimit(20);
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return 0;
    // The tester's end: the reply goes out whole, the request is read and
    // dropped, then the tester is gone.
    std::thread tester([&] {
        for (size_t done = 0; done < size;) {
            ssize_t n = send(fds[1], data + done, size - done, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        shutdown(fds[1], SHUT_WR);
        char sink[4096];
        while (recv(fds[1], sink, sizeof sink, 0) > 0) {
        }
    });
    RemoteClient::m_Socket = fds[0];
    RemoteClient::m_Connected = 1;
    RunOutcome out;
    RemoteClient::exchange("s.txt", "t { }\n", true, "", out);
    shutdown(fds[0], SHUT_RDWR);
    tester.join();
    if (RemoteClient::m_Connected != 0 && RemoteClient::m_Connected != 1)
        std::abort();
    if (out.errorText == "Testserver broken without answer" && (out.errorLine != 1 || out.errorPos != -1))
        std::abort();
    close(fds[0]);
    close(fds[1]);
    RemoteClient::m_Socket = -1;
    RemoteClient::m_Connected = 0;
    GrcBase::clearList();
    return 0;
}
