// Fuzz target for the interpreter: any bytes as a script must end in a
// status code, never in a crash, overflow or hang. Each input is written to
// a script file in the file jail and run with a start function that echoes
// inputs; the files the script names stay in the jail.
#include "FileJail.h"
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

// The script file, in the jail like every file a script may name.
const char* const kScript = "script.txt";

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FileJail jail;
    FILE* f = std::fopen(kScript, "wb");
    if (!f)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    int status = Parse::parseLoop(kScript, "", echoStart);
    if (status < -4)
        std::abort();
    return 0;
}
