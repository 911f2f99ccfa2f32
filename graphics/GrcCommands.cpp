// Construction, encoding and decoding of the seven graphic commands. The
// fixed-length commands are described by tables of field widths; polygon
// and text carry a count that gives their length.
#include "GrcCommands.h"

#include "GrcField.h"

#include <cstring>
#include <new>

namespace {

// The widths of the fields after the two code characters, in encoding order.
const int kColorWidths[] = {3, 3, 3, 2};
const int kPointWidths[] = {4, 4};
const int kLineWidths[] = {4, 4, 4, 4};
const int kRectWidths[] = {4, 4, 4, 4, 1};
const int kArcWidths[] = {4, 4, 4, 4, 5, 5, 1};
const int kCodeWidth = 2;
const int kCoordWidth = 4;
const int kFillWidth = 1;        // a polygon's fill flag
const int kFontWidth = 1;        // a text's font number
const int kLargestCount = 9999;  // what a four-character count can carry

// Code and count: what a polygon or a text must hold before its length is known.
const std::size_t kCountedHead = kCodeWidth + kCoordWidth;
// A polygon's bytes besides its points: code, count and fill flag.
const std::size_t kPolyFrame = kCountedHead + kFillWidth;
// The bytes of one polygon point: its x and its y.
const std::size_t kPointLength = 2 * kCoordWidth;
// A text's bytes before its characters: code, count, x, y and font.
const std::size_t kTextHead = kCountedHead + 2 * kCoordWidth + kFontWidth;

template <int N>
int putCommand(char*& cursor, char* end, int code, const int (&values)[N], const int (&widths)[N])
{
    std::size_t length = kCodeWidth;
    for (int w : widths)
        length += static_cast<std::size_t>(w);
    if (!hasRoom(cursor, end, length))
        return 0;
    putField(cursor, code, kCodeWidth);
    for (int i = 0; i < N; ++i)
        putField(cursor, values[i], widths[i]);
    return 1;
}

template <int N>
int takeCommand(char*& cursor, char* end, int (&values)[N], const int (&widths)[N])
{
    std::size_t length = kCodeWidth;
    for (int w : widths)
        length += static_cast<std::size_t>(w);
    if (!hasRoom(cursor, end, length))
        return 0;
    const char* p = cursor + kCodeWidth;
    for (int i = 0; i < N; ++i)
        if (!takeField(p, widths[i], values[i]))
            return 0;
    cursor += length;
    return 1;
}

// Stores the first four decoded values as the two corner points.
void setCorners(GrcPoint& first, GrcPoint& second, const int* v)
{
    first.m_X = v[0];
    first.m_Y = v[1];
    second.m_X = v[2];
    second.m_Y = v[3];
}

}  // namespace

GrcColor::GrcColor(int red, int green, int blue, int mode)
    : m_Red(red), m_Green(green), m_Blue(blue), m_Mode(mode)
{}
GrcColor::~GrcColor() = default;

int GrcColor::encode(char*& cursor, char* end)
{
    const int values[] = {m_Red, m_Green, m_Blue, m_Mode};
    return putCommand(cursor, end, CodeColor, values, kColorWidths);
}

int GrcColor::decode(char*& cursor, char* end)
{
    int v[4];
    if (!takeCommand(cursor, end, v, kColorWidths))
        return 0;
    m_Red = v[0];
    m_Green = v[1];
    m_Blue = v[2];
    m_Mode = v[3];
    return 1;
}

GrcPoint::GrcPoint(int x, int y) : m_X(x), m_Y(y) {}
GrcPoint::~GrcPoint() = default;

int GrcPoint::encode(char*& cursor, char* end)
{
    const int values[] = {m_X, m_Y};
    return putCommand(cursor, end, CodePoint, values, kPointWidths);
}

int GrcPoint::decode(char*& cursor, char* end)
{
    int v[2];
    if (!takeCommand(cursor, end, v, kPointWidths))
        return 0;
    m_X = v[0];
    m_Y = v[1];
    return 1;
}

GrcLine::GrcLine(int x1, int y1, int x2, int y2) : m_First(x1, y1), m_Second(x2, y2) {}
GrcLine::~GrcLine() = default;

int GrcLine::encode(char*& cursor, char* end)
{
    const int values[] = {m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y};
    return putCommand(cursor, end, CodeLine, values, kLineWidths);
}

int GrcLine::decode(char*& cursor, char* end)
{
    int v[4];
    if (!takeCommand(cursor, end, v, kLineWidths))
        return 0;
    setCorners(m_First, m_Second, v);
    return 1;
}

GrcRect::GrcRect(int x1, int y1, int x2, int y2, int fill) : m_First(x1, y1), m_Second(x2, y2), m_Fill(fill)
{}
GrcRect::~GrcRect() = default;

int GrcRect::encode(char*& cursor, char* end)
{
    const int values[] = {m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y, m_Fill};
    return putCommand(cursor, end, CodeRect, values, kRectWidths);
}

int GrcRect::decode(char*& cursor, char* end)
{
    int v[5];
    if (!takeCommand(cursor, end, v, kRectWidths))
        return 0;
    setCorners(m_First, m_Second, v);
    m_Fill = v[4];
    return 1;
}

GrcArc::GrcArc(int x1, int y1, int x2, int y2, int angle1, int angle2, int fill)
    : m_First(x1, y1), m_Second(x2, y2), m_Angle1(angle1), m_Angle2(angle2), m_Fill(fill)
{}
GrcArc::~GrcArc() = default;

int GrcArc::encode(char*& cursor, char* end)
{
    const int values[] = {m_First.m_X, m_First.m_Y, m_Second.m_X, m_Second.m_Y, m_Angle1, m_Angle2, m_Fill};
    return putCommand(cursor, end, CodeArc, values, kArcWidths);
}

int GrcArc::decode(char*& cursor, char* end)
{
    int v[7];
    if (!takeCommand(cursor, end, v, kArcWidths))
        return 0;
    setCorners(m_First, m_Second, v);
    m_Angle1 = v[4];
    m_Angle2 = v[5];
    m_Fill = v[6];
    return 1;
}

GrcPoly::~GrcPoly() { delete[] m_Points; }

int GrcPoly::setPoints(int count, const int* xs, const int* ys)
{
    delete[] m_Points;
    m_Points = nullptr;
    m_Count = 0;
    if (count <= 0 || !xs || !ys)
        return 0;
    const std::size_t n = static_cast<std::size_t>(count);
    m_Points = new (std::nothrow) int[2 * n];
    if (!m_Points)
        return 0;
    std::memcpy(m_Points, xs, n * sizeof(int));
    std::memcpy(m_Points + n, ys, n * sizeof(int));
    m_Count = count;
    return 1;
}

// A polygon without points (its array could not be had when decoded) is
// passed over: it writes nothing and reports success.
int GrcPoly::encode(char*& cursor, char* end)
{
    if (m_Count <= 0 || !m_Points)
        return 1;
    if (m_Count > kLargestCount)
        return 0;
    const std::size_t n = static_cast<std::size_t>(m_Count);
    if (!hasRoom(cursor, end, kPointLength * n + kPolyFrame))
        return 0;
    putField(cursor, CodePoly, kCodeWidth);
    putField(cursor, m_Count, kCoordWidth);
    for (std::size_t i = 0; i < 2 * n; ++i)
        putField(cursor, m_Points[i], kCoordWidth);
    putField(cursor, m_Fill, kFillWidth);
    return 1;
}

// Reads every coordinate even when no array can be had, so that a malformed
// field still stops decoding.
int GrcPoly::decode(char*& cursor, char* end)
{
    const char* p = cursor + kCodeWidth;
    int count = 0;
    if (!hasRoom(cursor, end, kCountedHead) || !takeField(p, kCoordWidth, count) || count <= 0)
        return 0;
    const std::size_t n = static_cast<std::size_t>(count);
    const std::size_t length = kPointLength * n + kPolyFrame;
    if (!hasRoom(cursor, end, length))
        return 0;
    int* points = new (std::nothrow) int[2 * n];
    int fill = 0;
    for (std::size_t i = 0; i < 2 * n; ++i) {
        int value = 0;
        if (!takeField(p, kCoordWidth, value)) {
            delete[] points;
            return 0;
        }
        if (points)
            points[i] = value;
    }
    if (!takeField(p, kFillWidth, fill)) {
        delete[] points;
        return 0;
    }
    delete[] m_Points;
    m_Points = points;
    m_Count = points ? count : 0;
    m_Fill = fill;
    cursor += length;
    return 1;
}

GrcText::~GrcText() { delete[] m_Text; }

int GrcText::setText(const char* text)
{
    delete[] m_Text;
    m_Text = nullptr;
    if (!text)
        return 0;
    const std::size_t n = std::strlen(text) + 1;
    m_Text = new (std::nothrow) char[n];
    if (!m_Text)
        return 0;
    std::memcpy(m_Text, text, n);
    return 1;
}

// A text that could not be had when decoded is passed over like an empty
// polygon.
int GrcText::encode(char*& cursor, char* end)
{
    if (!m_Text)
        return 1;
    const std::size_t n = std::strlen(m_Text) + 1;
    if (n > static_cast<std::size_t>(kLargestCount) || !hasRoom(cursor, end, kTextHead + n))
        return 0;
    putField(cursor, CodeText, kCodeWidth);
    putField(cursor, static_cast<int>(n), kCoordWidth);
    putField(cursor, m_X, kCoordWidth);
    putField(cursor, m_Y, kCoordWidth);
    putField(cursor, m_Font, kFontWidth);
    std::memcpy(cursor, m_Text, n);
    cursor += n;
    return 1;
}

// The n text bytes must end in the command's NUL and hold no other NUL, and
// the text must not be empty (n >= 2).
int GrcText::decode(char*& cursor, char* end)
{
    const char* p = cursor + kCodeWidth;
    int n = 0;
    if (!hasRoom(cursor, end, kCountedHead) || !takeField(p, kCoordWidth, n) || n < 2)
        return 0;
    const std::size_t size = static_cast<std::size_t>(n);
    int x = 0, y = 0, font = 0;
    if (!hasRoom(cursor, end, kTextHead + size) || !takeField(p, kCoordWidth, x) ||
        !takeField(p, kCoordWidth, y) || !takeField(p, kFontWidth, font))
        return 0;
    if (std::memchr(p, '\0', size) != p + size - 1)
        return 0;
    char* text = new (std::nothrow) char[size];
    if (text)
        std::memcpy(text, p, size);
    delete[] m_Text;
    m_Text = text;
    m_X = x;
    m_Y = y;
    m_Font = font;
    cursor += kTextHead + size;
    return 1;
}
