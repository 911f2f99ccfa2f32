// Cairo painting of drawing commands, unantialiased so that a pixel is in
// or out as on screen. Thin lines are stepped pixel by pixel as the X
// server steps them; outlines of boxes and arcs are stroked half a pixel
// in, and polygon and arc fills sampled half a pixel off, which is where
// Xvfb's pixels and cairo's agree.
#include "DrawingPainter.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Font sizes of DejaVu Sans Mono whose advance matches 6x10, 9x15 and the
// 10-pixel advance of the large font.
const double kFontSizes[] = {10.0, 15.0, 17.0};
const double kPi = 3.14159265358979323846;
// Where polygon fills are sampled against X's: half a pixel, and on y one
// step of cairo's 24.8 fixed point less, so that a vertex row or an edge
// through a pixel's sample point falls on the side X puts it.
const double kPolyShiftX = 0.5;
const double kPolyShiftY = 0.5 - 1.0 / 256;

struct Box {
    int x, y, width, height;
};

// Two opposite corners in any order, as PlotSink's boxOf takes them.
Box boxOf(const int* v)
{
    Box b;
    b.x = v[0] < v[2] ? v[0] : v[2];
    b.y = v[1] < v[3] ? v[1] : v[3];
    b.width = (v[0] < v[2] ? v[2] : v[0]) - b.x;
    b.height = (v[1] < v[3] ? v[3] : v[1]) - b.y;
    return b;
}

// X takes a text's bytes as Latin-1; cairo wants UTF-8, and refuses the
// whole context for an invalid sequence.
std::string utf8Of(const std::string& latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b == 0)
            break;
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

double radians(int hundredths) { return hundredths / 100.0 * kPi / 180.0; }

}  // namespace

DrawingPainter::DrawingPainter(cairo_t* cr, int width, int height, bool overlay)
    : m_Cr(cr), m_Width(width), m_Height(height), m_Overlay(overlay)
{
    cairo_set_antialias(m_Cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(m_Cr, 1.0);
    cairo_set_line_cap(m_Cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_fill_rule(m_Cr, CAIRO_FILL_RULE_WINDING);
    cairo_select_font_face(m_Cr, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

void DrawingPainter::start()
{
    colour(210, 210, 215);
    cairo_paint(m_Cr);
    colour(0, 0, 0);
}

void DrawingPainter::paint(const DrawCommand& c)
{
    if (!drawWellFormed(c))
        return;
    const int* v = c.numbers.data();
    switch (c.kind) {
    case DrawCommand::Color:
        if (!m_Overlay)
            colour(v[0], v[1], v[2]);
        return;
    case DrawCommand::Clear:
        if (!m_Overlay) {
            colour(v[0], v[1], v[2]);
            cairo_paint(m_Cr);
        }
        return;
    case DrawCommand::Point: point(v[0], v[1]); return;
    case DrawCommand::Line: line(v[0], v[1], v[2], v[3]); return;
    case DrawCommand::Rect: rect(v); return;
    case DrawCommand::Arc: arc(v); return;
    case DrawCommand::Poly: poly(c); return;
    case DrawCommand::Text: text(c); return;
    }
}

// Light right and bottom edges, dark top and left ones, like _finalize.
void DrawingPainter::frame()
{
    const int w = m_Width - 1, h = m_Height - 1;
    colour(250, 250, 250);
    line(w, 0, w, h);
    line(0, h, w, h);
    colour(100, 100, 100);
    line(0, 0, w, 0);
    line(0, 0, 0, h);
}

void DrawingPainter::colour(int red, int green, int blue)
{
    cairo_set_source_rgb(m_Cr, red / 255.0, green / 255.0, blue / 255.0);
}

void DrawingPainter::point(int x, int y)
{
    cairo_rectangle(m_Cr, x, y, 1, 1);
    cairo_fill(m_Cr);
}

void DrawingPainter::line(int x1, int y1, int x2, int y2)
{
    lineRuns(x1, y1, x2, y2);
    cairo_fill(m_Cr);
}

// Step i along the major axis is i * minor / major off on the minor axis,
// rounded with halves away from the start: what the X server draws in
// every octant. Each run of pixels on one row or column becomes one
// rectangle, so a long line costs its minor length, not its pixels.
void DrawingPainter::lineRuns(int x1, int y1, int x2, int y2)
{
    const long long dx = std::llabs(static_cast<long long>(x2) - x1);
    const long long dy = std::llabs(static_cast<long long>(y2) - y1);
    const int sx = x2 < x1 ? -1 : 1, sy = y2 < y1 ? -1 : 1;
    const bool xMajor = dx > dy;
    const long long major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    for (long long from = 0, m = 0; from <= major; ++m) {
        long long to = minor == 0 ? major : ((2 * m + 1) * major - 1) / (2 * minor);
        to = to < major ? to : major;
        if (to < from)
            continue;
        const double a = xMajor ? x1 + sx * from : x1 + sx * m;
        const double b = xMajor ? y1 + sy * m : y1 + sy * from;
        const double run = static_cast<double>(to - from + 1);
        const double back = run - 1;
        if (xMajor)
            cairo_rectangle(m_Cr, sx < 0 ? a - back : a, b, run, 1);
        else
            cairo_rectangle(m_Cr, a, sy < 0 ? b - back : b, 1, run);
        from = to + 1;
    }
}

// An X outline covers width + 1 by height + 1 pixels, a fill width by
// height; a flat outline is one row or column of pixels.
void DrawingPainter::rect(const int* v)
{
    const Box b = boxOf(v);
    if (v[4] != 0) {
        cairo_rectangle(m_Cr, b.x, b.y, b.width, b.height);
        cairo_fill(m_Cr);
    } else if (b.width == 0 || b.height == 0) {
        cairo_rectangle(m_Cr, b.x, b.y, b.width + 1, b.height + 1);
        cairo_fill(m_Cr);
    } else {
        cairo_rectangle(m_Cr, b.x + 0.5, b.y + 0.5, b.width, b.height);
        cairo_stroke(m_Cr);
    }
}

// Angles count counter-clockwise from three o'clock with y up; cairo's run
// clockwise with y down, hence the negated angles. An extent of 0 is the
// whole ellipse, as PlotSink's arcAngles has it.
void DrawingPainter::arc(const int* v)
{
    const Box b = boxOf(v);
    const bool filled = v[6] != 0;
    int start = v[4], extent = v[5];
    if (extent == 0)
        start = 0, extent = 36000;
    if (b.width == 0 || b.height == 0) {
        if (!filled)
            rect(v);
        return;
    }
    const double inset = 0.5;
    cairo_save(m_Cr);
    cairo_translate(m_Cr, b.x + b.width / 2.0 + inset, b.y + b.height / 2.0 + inset);
    cairo_scale(m_Cr, b.width / 2.0, b.height / 2.0);
    cairo_new_sub_path(m_Cr);
    const bool slice = filled && extent < 36000;
    if (slice)
        cairo_move_to(m_Cr, 0, 0);
    cairo_arc_negative(m_Cr, 0, 0, 1, -radians(start), -radians(start + extent));
    if (slice)
        cairo_close_path(m_Cr);
    cairo_restore(m_Cr);
    if (filled)
        cairo_fill(m_Cr);
    else
        cairo_stroke(m_Cr);
}

// An outline is its sides drawn as separate lines, as _DrawPolygon does;
// a fill is one even-odd polygon, X's default fill rule.
void DrawingPainter::poly(const DrawCommand& c)
{
    const int n = c.numbers[0];
    const int* p = c.numbers.data() + 1;
    if (c.numbers.back() == 0) {
        for (int i = 0; i < n; ++i) {
            const int j = (i + 1) % n;
            lineRuns(p[2 * i], p[2 * i + 1], p[2 * j], p[2 * j + 1]);
        }
        cairo_fill(m_Cr);
        return;
    }
    for (int i = 0; i < n; ++i)
        cairo_line_to(m_Cr, p[2 * i] + kPolyShiftX, p[2 * i + 1] + kPolyShiftY);
    cairo_close_path(m_Cr);
    cairo_set_fill_rule(m_Cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(m_Cr);
    cairo_set_fill_rule(m_Cr, CAIRO_FILL_RULE_WINDING);
}

void DrawingPainter::useFont(int font)
{
    cairo_set_font_size(m_Cr, kFontSizes[font >= 0 && font <= 2 ? font : 2]);
}

void DrawingPainter::text(const DrawCommand& c)
{
    useFont(c.numbers[2]);
    cairo_move_to(m_Cr, c.numbers[0], c.numbers[1]);
    cairo_show_text(m_Cr, utf8Of(c.text).c_str());
    cairo_new_path(m_Cr);
}

bool DrawingPainter::bounds(const DrawCommand& c, PaintBox& box)
{
    if (!drawWellFormed(c) || c.kind == DrawCommand::Color || c.kind == DrawCommand::Clear)
        return false;
    const std::vector<int>& v = c.numbers;
    if (c.kind == DrawCommand::Text) {
        useFont(v[2]);
        cairo_text_extents_t e;
        cairo_text_extents(m_Cr, utf8Of(c.text).c_str(), &e);
        box = {v[0] + e.x_bearing,
               v[1] + e.y_bearing,
               v[0] + e.x_bearing + e.width,
               v[1] + e.y_bearing + e.height};
        return true;
    }
    // Every other kind: the corners it names, each one pixel wide.
    const std::size_t first = c.kind == DrawCommand::Poly ? 1 : 0;
    const std::size_t end =
        c.kind == DrawCommand::Poly ? v.size() - 1 : (c.kind == DrawCommand::Point ? 2 : 4);
    box = {double(v[first]), double(v[first + 1]), double(v[first]), double(v[first + 1])};
    for (std::size_t i = first; i + 1 < end; i += 2) {
        box.x1 = std::fmin(box.x1, v[i]);
        box.y1 = std::fmin(box.y1, v[i + 1]);
        box.x2 = std::fmax(box.x2, v[i]);
        box.y2 = std::fmax(box.y2, v[i + 1]);
    }
    box.x2 += 1;
    box.y2 += 1;
    return true;
}
