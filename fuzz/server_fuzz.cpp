// Fuzz target for the tester's side of the remote protocol: the bytes are
// what a client sends, served in-process by the command loop over a
// socketpair with short silence limits, so every field reader, the script
// store, the run and the reply are reached. Files stay in the file jail.
#include "FileJail.h"
#include "GrcBase.h"
#include "GrcDraw.h"
#include "Parse.h"
#include "PeerStream.h"
#include "StoreCv.h"
#include "VarBank.h"
#include "Tester.h"
#include "TesterServer.h"
#include "ZemCall.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

// A test function that draws from its inputs, so replies carry pictures.
void drawInputs()
{
    VarBank& in = Parse::getInStore();
    DrawLine(in["x"], in["y"], in["x2"], in["y2"]);
    DrawTinyString(in["x"], in["y"], "fuzz");
    Parse::getOutStore() = in;
}

ZemCall drawInputsCall("draw", drawInputs);

// "TSTQUIT" ends the process by design: the fuzzer must not take that for
// a crash, so the command is spelt differently wherever it appears.
std::string withoutQuit(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (size_t at = 0; (at = bytes.find("TSTQUIT", at)) != std::string::npos; ++at)
        bytes[at + 6] = 'X';
    return bytes;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FileJail jail;
    GrcBase::m_Exec = 1;
    PeerStream::setLimits(20, 20);
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return 0;
    const std::string bytes = withoutQuit(data, size);
    // The client writes everything and reads every reply to its end, on a
    // thread of its own, so that neither side waits for the other.
    std::thread client([&] {
        for (size_t done = 0; done < bytes.size();) {
            ssize_t n = send(fds[0], bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        shutdown(fds[0], SHUT_WR);
        char sink[4096];
        while (recv(fds[0], sink, sizeof sink, 0) > 0) {
        }
    });
    rsock = fds[1];
    serveConnection(fds[1]);
    shutdown(fds[1], SHUT_RDWR);
    client.join();
    close(fds[0]);
    close(fds[1]);
    rsock = -1;
    GrcBase::clearList();
    return 0;
}
