// Drawings: a recorded command list as plain values, which can be written,
// read, compared and replayed without the command classes' wire limits.
#ifndef ZEM_DRAWING_H
#define ZEM_DRAWING_H

#include <cstddef>
#include <string>
#include <vector>

class GrcBase;

// One drawing command. numbers hold the fields in the order a drawing file
// writes them: colour and clear red green blue; point x y; line x1 y1 x2 y2;
// rect x1 y1 x2 y2 fill; arc x1 y1 x2 y2 angle1 angle2 fill; poly count,
// then x1 y1 x2 y2 ..., then fill; text x y font (0 tiny, 1 medium,
// 2 large), its characters in text. Fill is 0 or 1.
struct DrawCommand {
    enum Kind { Color, Clear, Point, Line, Rect, Arc, Poly, Text };
    Kind kind = Color;
    std::vector<int> numbers;
    std::string text;
};

bool operator==(const DrawCommand& a, const DrawCommand& b);
inline bool operator!=(const DrawCommand& a, const DrawCommand& b) { return !(a == b); }

// What a field holds, which fixes its range and whether a tolerance applies.
// Extra is past the fields a command of its kind has.
enum class DrawField { Colour, Coord, PolyCoord, Angle, Fill, Font, Count, Extra };

// The most points one polygon of a drawing may have.
const int kDrawMaxPolyPoints = 100000;

// The keyword of a drawing file for the kind: "color", "clear", ...
const char* drawKindName(DrawCommand::Kind kind);
// The field at index of numbers; Extra past the command's fields.
DrawField drawFieldOf(const DrawCommand& command, std::size_t index);
// "x2", "angle1", "count", ...; "text" for index numbers.size() of a text.
std::string drawFieldName(const DrawCommand& command, std::size_t index);
// The values a field may hold, as the drawing calls clamp them.
void drawFieldRange(DrawField field, int& low, int& high);
// True when numbers has the count the kind (and a polygon's count) asks for.
bool drawWellFormed(const DrawCommand& command);

// The commands of the list from first on, values clamped as the drawing
// calls clamp them. Polygons and texts without points or characters draw
// nothing and are left out.
std::vector<DrawCommand> drawingOf(const GrcBase* first);
// Appends the commands to GrcBase's process list, whatever m_Exec is, so a
// viewer can replay a drawing file; a clear is appended like any other.
// Returns how many were appended: a command that is not well formed, or
// that cannot be allocated, is left out.
std::size_t replayInto(const std::vector<DrawCommand>& drawing);

#endif
