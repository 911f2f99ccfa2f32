// The drawing calls: clamp, then record a graphic command in the
// process-wide list. A command that cannot be allocated is left out.
#include "GrcDraw.h"

#include "GrcCommands.h"

#include <new>

namespace {

int clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

int colour(int c) { return clamp(c, 0, 255); }
int coord(int c) { return clamp(c, -999, 9999); }
int angle(int a) { return clamp(a, 0, 36000); }

bool recording() { return GrcBase::m_Exec != 0; }

void record(GrcBase* command)
{
    if (command)
        GrcBase::appendList(command);
}

int recordColor(int red, int green, int blue, int mode)
{
    if (recording())
        record(new (std::nothrow) GrcColor(colour(red), colour(green), colour(blue), mode));
    return 1;
}

int recordRect(int x, int y, int a, int b, int fill)
{
    if (recording())
        record(new (std::nothrow) GrcRect(coord(x), coord(y), coord(a), coord(b), fill));
    return 1;
}

int recordArc(int x, int y, int a, int b, int angle1, int angle2, int fill)
{
    if (recording())
        record(new (std::nothrow)
                   GrcArc(coord(x), coord(y), coord(a), coord(b), angle(angle1), angle(angle2), fill));
    return 1;
}

// Points are clamped in the command's own copy, so the caller's arrays stay
// untouched.
int recordPoly(int count, const int* xs, const int* ys, int fill)
{
    if (!recording() || count <= 0 || !xs || !ys)
        return 1;
    GrcPoly* poly = new (std::nothrow) GrcPoly;
    if (!poly)
        return 1;
    if (!poly->setPoints(count, xs, ys)) {
        delete poly;
        return 1;
    }
    for (long i = 0; i < 2L * count; ++i)
        poly->m_Points[i] = clamp(poly->m_Points[i], 0, 9999);
    poly->m_Fill = fill;
    record(poly);
    return 1;
}

int recordText(int x, int y, const char* text, int font)
{
    if (!recording() || !text || !*text)
        return 1;
    GrcText* command = new (std::nothrow) GrcText;
    if (!command)
        return 1;
    if (!command->setText(text)) {
        delete command;
        return 1;
    }
    command->m_X = coord(x);
    command->m_Y = coord(y);
    command->m_Font = font;
    record(command);
    return 1;
}

}  // namespace

int SetForeground(int red, int green, int blue) { return recordColor(red, green, blue, 1); }

int ClearBackground(int red, int green, int blue)
{
    if (recording())
        GrcBase::clearList();
    return recordColor(red, green, blue, 0);
}

int DrawPoint(int x, int y)
{
    if (recording())
        record(new (std::nothrow) GrcPoint(coord(x), coord(y)));
    return 1;
}

int DrawLine(int x1, int y1, int x2, int y2)
{
    if (recording())
        record(new (std::nothrow) GrcLine(coord(x1), coord(y1), coord(x2), coord(y2)));
    return 1;
}

int DrawRect(int x, int y, int a, int b) { return recordRect(x, y, a, b, 0); }
int FillRect(int x, int y, int a, int b) { return recordRect(x, y, a, b, 1); }

int DrawArc(int x, int y, int a, int b, int angle1, int angle2)
{
    return recordArc(x, y, a, b, angle1, angle2, 0);
}

int FillArc(int x, int y, int a, int b, int angle1, int angle2)
{
    return recordArc(x, y, a, b, angle1, angle2, 1);
}

int DrawPolygon(int count, const int* xs, const int* ys) { return recordPoly(count, xs, ys, 0); }
int FillPolygon(int count, const int* xs, const int* ys) { return recordPoly(count, xs, ys, 1); }

int DrawTinyString(int x, int y, const char* text) { return recordText(x, y, text, 0); }
int DrawMediumString(int x, int y, const char* text) { return recordText(x, y, text, 1); }
int DrawLargeString(int x, int y, const char* text) { return recordText(x, y, text, 2); }
