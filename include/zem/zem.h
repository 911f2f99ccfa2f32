// The one header a test-function author includes: banks and value handles,
// the interpreter's getters, call traces, the test-function registry and the
// drawing calls.
//
//     #include <zem/zem.h>
//     static void add()
//     {
//         VarBank& in = Parse::getInStore();
//         Parse::getOutStore()["sum"] = int(in["a"]) + int(in["b"]);
//     }
//     static ZemCall addCall("add", add);
//
// A handle reads strictly by type: int(in["a"]) is 0 for a real and
// double(in["x"]) is 0.0 for an integer. in["x"].real() reads either as a
// double, for inputs that a script may write as 3 or as 3.0.
#ifndef ZEM_ZEM_H
#define ZEM_ZEM_H

#include "FileGate.h"
#include "StoreEl.h"
#include "VarBank.h"
#include "StoreCv.h"
#include "Parse.h"
#include "ParseOut.h"
#include "ZemCall.h"
#include "GrcBase.h"
#include "GrcDraw.h"

#endif
