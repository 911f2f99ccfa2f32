// The interpreter's one file adapter: built on first use, its destructor
// registered at that moment to run at process exit.
#include "FileGate.h"
#include "Parse.h"

FileGate& Parse::getIO()
{
    static FileGate gate;
    return gate;
}
