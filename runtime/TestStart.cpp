// The start function the tester and the viewer hand to Parse::parseLoop:
// one call per test, dispatched by the input bank's name; and the viewer's
// loop-back test function.
#include "ZemCall.h"

#include "Parse.h"
#include "PictureCheck.h"
#include "StoreCv.h"
#include "VarBank.h"

int testStartsHere()
{
    const char* name = Parse::getInStore().getName();
    ZemCall::Function function = ZemCall::getFunc(name);
    if (function) {
        PictureCheck::Recording recording;
        PictureCheck::begin(Parse::getVerStore(), recording);
        function();
        PictureCheck::end(Parse::getVerStore(), Parse::getOutStore(), recording);
        return 1;
    }
    // The report then shows the test's name, no verified lines and the
    // failure under "logged:".
    Parse::clearVerStore();
    Parse::getVerStore().setName(name);
    Parse::getOutStore()[name] = "unknown testfunction";
    return 0;
}

void zemtst() { Parse::getOutStore() = Parse::getInStore(); }
