// The two plain transfers of the remote test protocol, shared by the
// tester and the viewer.
#ifndef ZEM_TRANSFER_H
#define ZEM_TRANSFER_H

// Exact-count socket transfers; count on success, else the failing call's
// result (0 when the peer closed, negative on error). Both block.
// Nothing in this tree calls them since both ends moved to PeerStream, but
// Tester.h brings them to every tester built on the installed library, and
// a user's own tester or client may still talk through them.
int deliver(int socket, const char* data, int count);
int receive(int socket, char* buffer, int count);

#endif
