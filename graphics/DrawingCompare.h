// Comparing two drawings command by command, so that a failing check names
// the first command and field that differ instead of a count of pixels.
#ifndef ZEM_DRAWINGCOMPARE_H
#define ZEM_DRAWINGCOMPARE_H

#include "Drawing.h"

#include <cstddef>
#include <string>
#include <vector>

// The outcome of a comparison: same, or the first difference.
struct DrawingDifference {
    bool same = true;
    std::size_t expectedLength = 0;
    std::size_t actualLength = 0;
    // Counted from 1; 0 when same.
    std::size_t index = 0;
    // The expected command's keyword, or the actual one's past the end of
    // the expected drawing.
    std::string kind;
    // The field's name ("x2", "fill", "text"); "kind" when the kinds
    // differ; empty for a command that only one drawing has.
    std::string field;
    // Values as numbers, a font by its name, a text quoted as a drawing
    // file writes it; for a command only one drawing has, its line on that
    // side and "missing" on the other.
    std::string expected;
    std::string actual;
};

// Same kinds in the same order, numbers within tolerance of each other and
// texts equal. The tolerance applies to coordinates, angles and colour
// components; counts, fill and font must be equal. A negative tolerance
// counts as 0.
DrawingDifference compareDrawings(const std::vector<DrawCommand>& expected,
                                  const std::vector<DrawCommand>& actual, int tolerance = 0);

// One line for a report, name being the expected picture's:
//   picture NAME: 12 commands, as expected
//   picture NAME: command 7 line x2 = 41, expected 40
//   picture NAME: command 3 is rect, expected line
//   picture NAME: 12 commands, expected 11; command 12 text is extra
//   picture NAME: 10 commands, expected 11; command 11 line is missing
// Lengths lead the line whenever they differ, also before a field.
std::string differenceLine(const std::string& name, const DrawingDifference& difference);

#endif
