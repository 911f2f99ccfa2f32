// Server mode's pieces below zemloop, for the tester's own modules and its
// tests; not part of the installed interface.
#ifndef ZEM_TESTERSERVER_H
#define ZEM_TESTERSERVER_H

// Listens on port and serves one viewer after another; never returns.
int serveForever(int port);

// Serves commands on one accepted connection until the peer closes, breaks
// a rule of the command loop, or stays silent past its limit.
void serveConnection(int sock);

#endif
