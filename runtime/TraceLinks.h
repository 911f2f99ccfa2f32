// Trace nodes refer to each other through integer elements, but addresses do
// not fit the bank's 32-bit integers. The links hold small handles instead,
// issued by this table; handle 0 means "no node".
#ifndef ZEM_TRACELINKS_H
#define ZEM_TRACELINKS_H

class VarBank;

namespace TraceLinks {
// Registers a node and returns its handle (> 0), or 0 when the table is full.
int add(VarBank* node);
// The node behind a handle, or null for 0, an unknown or a released handle.
VarBank* get(int handle);
// Forgets a node's handle; the node itself is not touched.
void release(int handle);
// Forgets every handle (after a whole tree was freed).
void reset();
}

#endif
