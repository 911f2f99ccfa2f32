// Maps the driver's status onto what an exit status can carry.
#include "ExitStatus.h"

namespace {

// The highest line number an exit status shows as itself; 252..255 are
// the negative statuses -4..-1 and 256 is 0.
const int kLastPlainLine = 251;

}

int zemExitStatus(int result)
{
    return result > kLastPlainLine ? kLastPlainLine : result;
}
