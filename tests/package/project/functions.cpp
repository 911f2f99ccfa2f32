#include <zem/zem.h>

namespace {
// Uses every piece the umbrella header promises: banks, handles, a trace,
// a drawing call and the registry.
void twice()
{
    ParseOut trace("twice");
    int n = Parse::getInStore()["n"];
    if (trace.m_Node)
        (*trace.m_Node)["n"] = n;
    DrawLine(0, 0, n, n);
    Parse::getOutStore()["double"] = 2 * n;
}
ZemCall twiceCall("twice", twice);
}
