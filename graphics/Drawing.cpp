// Drawings as plain values: the fields of each kind, and the conversion from
// and to GrcBase's process list of command objects.
#include "Drawing.h"

#include "GrcCommands.h"

#include <new>
#include <utility>

namespace {

struct KindFields {
    const char* keyword;
    const char* const* names;
    const DrawField* fields;
    std::size_t count;
};

const char* const kColourNames[] = {"red", "green", "blue"};
const char* const kPointNames[] = {"x", "y"};
const char* const kLineNames[] = {"x1", "y1", "x2", "y2"};
const char* const kRectNames[] = {"x1", "y1", "x2", "y2", "fill"};
const char* const kArcNames[] = {"x1", "y1", "x2", "y2", "angle1", "angle2", "fill"};
const char* const kTextNames[] = {"x", "y", "font"};

using F = DrawField;
const DrawField kColourFields[] = {F::Colour, F::Colour, F::Colour};
const DrawField kPointFields[] = {F::Coord, F::Coord};
const DrawField kLineFields[] = {F::Coord, F::Coord, F::Coord, F::Coord};
const DrawField kRectFields[] = {F::Coord, F::Coord, F::Coord, F::Coord, F::Fill};
const DrawField kArcFields[] = {F::Coord, F::Coord, F::Coord, F::Coord, F::Angle, F::Angle, F::Fill};
const DrawField kTextFields[] = {F::Coord, F::Coord, F::Font};

// Indexed by DrawCommand::Kind. A polygon's fields depend on its count and
// are worked out apart.
const KindFields kKinds[] = {
    {"color", kColourNames, kColourFields, 3},
    {"clear", kColourNames, kColourFields, 3},
    {"point", kPointNames, kPointFields, 2},
    {"line", kLineNames, kLineFields, 4},
    {"rect", kRectNames, kRectFields, 5},
    {"arc", kArcNames, kArcFields, 7},
    {"poly", nullptr, nullptr, 0},
    {"text", kTextNames, kTextFields, 3},
};

const KindFields* kindFields(DrawCommand::Kind kind)
{
    const int k = static_cast<int>(kind);
    return k >= 0 && k < static_cast<int>(sizeof kKinds / sizeof kKinds[0]) ? &kKinds[k] : nullptr;
}

// A polygon's count as its numbers state it, 0 when absent.
std::size_t polyPoints(const DrawCommand& command)
{
    if (command.numbers.empty() || command.numbers[0] < 1)
        return 0;
    return static_cast<std::size_t>(command.numbers[0]);
}

int clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

void clampFields(DrawCommand& command)
{
    for (std::size_t i = 0; i < command.numbers.size(); ++i) {
        int low = 0, high = 0;
        drawFieldRange(drawFieldOf(command, i), low, high);
        command.numbers[i] = clamp(command.numbers[i], low, high);
    }
}

DrawCommand make(DrawCommand::Kind kind, std::vector<int> numbers)
{
    DrawCommand command;
    command.kind = kind;
    command.numbers = std::move(numbers);
    return command;
}

// Flags of the wire carry any digit; only zero means no.
int flag(int value) { return value != 0 ? 1 : 0; }

// The wire's font digit: what GrcText::exec draws for it.
int fontOf(int font) { return font == 0 || font == 1 ? font : 2; }

// A drawing keeps at most kDrawMaxPolyPoints points of a polygon: only a
// list that never reached the wire can hold more.
bool polyOf(const GrcPoly& poly, DrawCommand& out)
{
    if (poly.m_Count <= 0 || !poly.m_Points)
        return false;
    const int n = poly.m_Count < kDrawMaxPolyPoints ? poly.m_Count : kDrawMaxPolyPoints;
    out.kind = DrawCommand::Poly;
    out.numbers.reserve(2 * static_cast<std::size_t>(n) + 2);
    out.numbers.push_back(n);
    for (int i = 0; i < n; ++i) {
        out.numbers.push_back(poly.m_Points[i]);
        out.numbers.push_back(poly.m_Points[poly.m_Count + i]);
    }
    out.numbers.push_back(flag(poly.m_Fill));
    return true;
}

bool textOf(const GrcText& text, DrawCommand& out)
{
    if (!text.m_Text || !*text.m_Text)
        return false;
    out = make(DrawCommand::Text, {text.m_X, text.m_Y, fontOf(text.m_Font)});
    out.text = text.m_Text;
    return true;
}

// The value form of one command object; false for one that draws nothing.
bool commandOf(const GrcBase* c, DrawCommand& out)
{
    if (auto* color = dynamic_cast<const GrcColor*>(c)) {
        DrawCommand::Kind kind = color->m_Mode != 0 ? DrawCommand::Color : DrawCommand::Clear;
        out = make(kind, {color->m_Red, color->m_Green, color->m_Blue});
    } else if (auto* point = dynamic_cast<const GrcPoint*>(c)) {
        out = make(DrawCommand::Point, {point->m_X, point->m_Y});
    } else if (auto* line = dynamic_cast<const GrcLine*>(c)) {
        const GrcPoint &a = line->m_First, &b = line->m_Second;
        out = make(DrawCommand::Line, {a.m_X, a.m_Y, b.m_X, b.m_Y});
    } else if (auto* rect = dynamic_cast<const GrcRect*>(c)) {
        const GrcPoint &a = rect->m_First, &b = rect->m_Second;
        out = make(DrawCommand::Rect, {a.m_X, a.m_Y, b.m_X, b.m_Y, flag(rect->m_Fill)});
    } else if (auto* arc = dynamic_cast<const GrcArc*>(c)) {
        const GrcPoint &a = arc->m_First, &b = arc->m_Second;
        out = make(DrawCommand::Arc,
                   {a.m_X, a.m_Y, b.m_X, b.m_Y, arc->m_Angle1, arc->m_Angle2, flag(arc->m_Fill)});
    } else if (auto* poly = dynamic_cast<const GrcPoly*>(c)) {
        return polyOf(*poly, out);
    } else if (auto* text = dynamic_cast<const GrcText*>(c)) {
        return textOf(*text, out);
    } else {
        return false;
    }
    return true;
}

GrcBase* polyObject(const DrawCommand& c)
{
    const std::size_t n = polyPoints(c);
    std::vector<int> xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = c.numbers[1 + 2 * i];
        ys[i] = c.numbers[2 + 2 * i];
    }
    GrcPoly* poly = new (std::nothrow) GrcPoly;
    if (poly && !poly->setPoints(static_cast<int>(n), xs.data(), ys.data())) {
        delete poly;
        return nullptr;
    }
    if (poly)
        poly->m_Fill = c.numbers.back();
    return poly;
}

GrcBase* textObject(const DrawCommand& c)
{
    GrcText* text = new (std::nothrow) GrcText;
    if (text && !text->setText(c.text.c_str())) {
        delete text;
        return nullptr;
    }
    if (text) {
        text->m_X = c.numbers[0];
        text->m_Y = c.numbers[1];
        text->m_Font = c.numbers[2];
    }
    return text;
}

// A command object for a well-formed, clamped command; null when it cannot
// be allocated.
GrcBase* objectOf(const DrawCommand& c)
{
    const std::vector<int>& v = c.numbers;
    switch (c.kind) {
    case DrawCommand::Color: return new (std::nothrow) GrcColor(v[0], v[1], v[2], 1);
    case DrawCommand::Clear: return new (std::nothrow) GrcColor(v[0], v[1], v[2], 0);
    case DrawCommand::Point: return new (std::nothrow) GrcPoint(v[0], v[1]);
    case DrawCommand::Line: return new (std::nothrow) GrcLine(v[0], v[1], v[2], v[3]);
    case DrawCommand::Rect: return new (std::nothrow) GrcRect(v[0], v[1], v[2], v[3], v[4]);
    case DrawCommand::Arc: return new (std::nothrow) GrcArc(v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    case DrawCommand::Poly: return polyObject(c);
    case DrawCommand::Text: return textObject(c);
    }
    return nullptr;
}

}  // namespace

bool operator==(const DrawCommand& a, const DrawCommand& b)
{
    return a.kind == b.kind && a.numbers == b.numbers && a.text == b.text;
}

const char* drawKindName(DrawCommand::Kind kind)
{
    const KindFields* k = kindFields(kind);
    return k ? k->keyword : "unknown";
}

DrawField drawFieldOf(const DrawCommand& command, std::size_t index)
{
    if (command.kind == DrawCommand::Poly) {
        const std::size_t n = polyPoints(command);
        if (index == 0)
            return DrawField::Count;
        if (index <= 2 * n)
            return DrawField::PolyCoord;
        return index == 2 * n + 1 ? DrawField::Fill : DrawField::Extra;
    }
    const KindFields* k = kindFields(command.kind);
    return k && index < k->count ? k->fields[index] : DrawField::Extra;
}

std::string drawFieldName(const DrawCommand& command, std::size_t index)
{
    if (command.kind == DrawCommand::Text && index == command.numbers.size())
        return "text";
    switch (drawFieldOf(command, index)) {
    case DrawField::Extra: return "field " + std::to_string(index + 1);
    case DrawField::PolyCoord: return (index % 2 ? "x" : "y") + std::to_string((index + 1) / 2);
    case DrawField::Count: return "count";
    case DrawField::Fill: return "fill";
    default: return kindFields(command.kind)->names[index];
    }
}

void drawFieldRange(DrawField field, int& low, int& high)
{
    switch (field) {
    case DrawField::Colour: low = 0, high = 255; return;
    case DrawField::Coord: low = -999, high = 9999; return;
    case DrawField::PolyCoord: low = 0, high = 9999; return;
    case DrawField::Angle: low = 0, high = 36000; return;
    case DrawField::Fill: low = 0, high = 1; return;
    case DrawField::Font: low = 0, high = 2; return;
    case DrawField::Count: low = 1, high = kDrawMaxPolyPoints; return;
    case DrawField::Extra: low = high = 0; return;
    }
}

bool drawWellFormed(const DrawCommand& command)
{
    if (command.kind == DrawCommand::Poly) {
        const std::size_t n = polyPoints(command);
        return n > 0 && n <= static_cast<std::size_t>(kDrawMaxPolyPoints) &&
               command.numbers.size() == 2 * n + 2 && command.text.empty();
    }
    const KindFields* k = kindFields(command.kind);
    if (!k || command.numbers.size() != k->count)
        return false;
    // Only a text has characters, and a text without any draws nothing.
    return command.kind == DrawCommand::Text ? !command.text.empty() : command.text.empty();
}

std::vector<DrawCommand> drawingOf(const GrcBase* first)
{
    std::vector<DrawCommand> drawing;
    for (const GrcBase* c = first; c; c = c->m_Next) {
        DrawCommand command;
        if (!commandOf(c, command))
            continue;
        clampFields(command);
        drawing.push_back(std::move(command));
    }
    return drawing;
}

std::size_t replayInto(const std::vector<DrawCommand>& drawing)
{
    std::size_t appended = 0;
    for (const DrawCommand& c : drawing) {
        if (!drawWellFormed(c))
            continue;
        DrawCommand clamped = c;
        clampFields(clamped);
        if (GrcBase* object = objectOf(clamped)) {
            GrcBase::appendList(object);
            ++appended;
        }
    }
    return appended;
}
