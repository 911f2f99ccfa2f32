// The two plain transfers of the remote test protocol, shared by both ends:
// exact byte counts, blocking, without time-outs.
#include "Transfer.h"

#include <cerrno>
#include <sys/socket.h>

int deliver(int socket, const char* data, int count)
{
    int done = 0;
    while (done < count) {
        // MSG_NOSIGNAL: a peer that went away must not kill the process.
        ssize_t n = send(socket, data + done, count - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return static_cast<int>(n);
        done += static_cast<int>(n);
    }
    return count;
}

int receive(int socket, char* buffer, int count)
{
    int done = 0;
    while (done < count) {
        ssize_t n = recv(socket, buffer + done, count - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return static_cast<int>(n);
        done += static_cast<int>(n);
    }
    return count;
}
