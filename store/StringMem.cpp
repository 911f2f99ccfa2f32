// The process-wide string allocator and its teardown at exit. Banks that
// outlive StringMem must not return blocks to arenas already deleted, so
// StringMem is closed (and emptied) first and later releases are skipped.
#include "BuddySystem.h"

BuddySystem<1, 10> StringMem;

namespace {
// Plain int with constant initialisation: valid for the whole process,
// including every destructor that runs at exit.
int memOpen = 1;

// Defined after StringMem in this file, so destroyed before it.
struct StringMemCloser {
    ~StringMemCloser()
    {
        memOpen = 0;
        StringMem.remove();
    }
} closer;
}

int stringMemOpen() { return memOpen; }
