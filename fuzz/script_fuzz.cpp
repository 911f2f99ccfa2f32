// Fuzz target for the interpreter: any bytes as a script must end in a
// status code, never in a crash, overflow or hang. Each input is written to
// a scratch script file and run with a start function that echoes inputs.
#include "FileGate.h"
#include "Parse.h"
#include "StoreCv.h"
#include "VarBank.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

int echoStart()
{
    Parse::getOutStore() = Parse::getInStore();
    return 1;
}

const std::string& scratchPath()
{
    static const std::string path = "/tmp/zem_script_fuzz_" + std::to_string(getpid()) + ".txt";
    return path;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(scratchPath().c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    int status = Parse::parseLoop(scratchPath().c_str(), "", echoStart);
    if (status < -4)
        std::abort();
    // Whatever the script named as its result file stays where it is: only
    // files in the scratch directory are removed.
    std::remove(scratchPath().c_str());
    return 0;
}
