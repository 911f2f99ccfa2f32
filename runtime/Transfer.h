// The two plain transfers of the remote test protocol, shared by the
// tester and the viewer.
#ifndef ZEM_TRANSFER_H
#define ZEM_TRANSFER_H

// Exact-count socket transfers; count on success, else the failing call's
// result (0 when the peer closed, negative on error). Both block.
int deliver(int socket, const char* data, int count);
int receive(int socket, char* buffer, int count);

#endif
