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
// double, for inputs that a script may write as 3 or as 3.0, and
// in["list"].count() is the number of items list[0], list[1], ... there.
//
// After the function returns, the tester names on stderr every input it
// never read ("demo.txt:12: add: input X never read"), the usual sign of a
// misspelt input. A handle's read, getData or getType by name, and a copy
// of the bank or of a structure or array out of it read what they touch;
// a walk from getData(nullptr) reads the whole bank.
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
