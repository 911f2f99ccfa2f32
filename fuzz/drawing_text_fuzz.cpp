// Fuzz target for the drawing file reader, which reads files people edit
// by hand: any bytes must be read or refused with a "FILE:LINE: " error,
// never a crash. What is read must write, read back and replay to the same
// drawing, and compare equal to itself.
#include "Drawing.h"
#include "DrawingCompare.h"
#include "DrawingText.h"
#include "GrcBase.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<DrawCommand> drawing;
    std::string error;
    if (!readDrawingText(bytes, "in.zdr", drawing, error)) {
        if (error.compare(0, 7, "in.zdr:") != 0 || !drawing.empty())
            std::abort();
        return 0;
    }
    const std::string text = drawingText(drawing);
    std::vector<DrawCommand> again;
    if (!readDrawingText(text, "out.zdr", again, error) || again != drawing || drawingText(again) != text)
        std::abort();
    if (!compareDrawings(drawing, again).same)
        std::abort();

    GrcBase::clearList();
    if (replayInto(drawing) != drawing.size() || drawingOf(GrcBase::m_Start) != drawing)
        std::abort();
    GrcBase::clearList();
    return 0;
}
