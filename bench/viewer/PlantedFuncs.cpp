// The example functions with a planted change, for the recording
// benchmark: every filled arc (the marks of clicks) one pixel wider. A
// recording made with the real functions must fail against these.
#include <zem/zem.h>

#define FillArc(x1, y1, x2, y2, a1, a2) FillArc(x1, y1, (x2) + 1, y2, a1, a2)
#include "../../examples/functions.cpp"
