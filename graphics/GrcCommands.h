// The seven graphic commands: colour, point, line, rectangle, arc, polygon
// and text, with their text encoding. Their exec lives in PlotSink/PlotFeed.
#ifndef ZEM_GRCCOMMANDS_H
#define ZEM_GRCCOMMANDS_H

#include "GrcBase.h"

// Code 01, 13 bytes. Mode 1 sets the drawing colour, mode 0 clears the
// picture to the colour.
class GrcColor : public GrcBase {
public:
    GrcColor() = default;
    GrcColor(int red, int green, int blue, int mode);
    ~GrcColor() override;
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    int m_Red = 0;
    int m_Green = 0;
    int m_Blue = 0;
    int m_Mode = 0;
};

// Code 02, 10 bytes; also the corner type of lines, rectangles and arcs.
class GrcPoint : public GrcBase {
public:
    GrcPoint() = default;
    GrcPoint(int x, int y);
    ~GrcPoint() override;
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    int m_X = 0;
    int m_Y = 0;
};

// Code 03, 18 bytes.
class GrcLine : public GrcBase {
public:
    GrcLine() = default;
    GrcLine(int x1, int y1, int x2, int y2);
    ~GrcLine() override;
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    GrcPoint m_First;
    GrcPoint m_Second;
};

// Code 04, 19 bytes. The points are the four call arguments in order.
class GrcRect : public GrcBase {
public:
    GrcRect() = default;
    GrcRect(int x1, int y1, int x2, int y2, int fill);
    ~GrcRect() override;
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    GrcPoint m_First;
    GrcPoint m_Second;
    int m_Fill = 0;
};

// Code 05, 29 bytes. Angles are carried as given (0..36000 when recorded).
class GrcArc : public GrcBase {
public:
    GrcArc() = default;
    GrcArc(int x1, int y1, int x2, int y2, int angle1, int angle2, int fill);
    ~GrcArc() override;
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    GrcPoint m_First;
    GrcPoint m_Second;
    int m_Angle1 = 0;
    int m_Angle2 = 0;
    int m_Fill = 0;
};

// Code 06, 8 * count + 7 bytes. m_Points owns 2 * m_Count ints, all x
// values then all y values; a polygon whose array could not be had has
// count 0 and no points.
class GrcPoly : public GrcBase {
public:
    GrcPoly() = default;
    ~GrcPoly() override;
    // Copies count points; returns 0 (and holds none) if the array cannot
    // be had or count is not positive.
    int setPoints(int count, const int* xs, const int* ys);
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    int m_Count = 0;
    int* m_Points = nullptr;
    int m_Fill = 0;
};

// Code 07, 15 + n bytes where n = text length + 1: the command ends with
// the text's NUL. m_Text is an owned copy, null when it could not be had.
class GrcText : public GrcBase {
public:
    GrcText() = default;
    ~GrcText() override;
    // Copies text; returns 0 (and holds none) if it cannot be had.
    int setText(const char* text);
    int encode(char*& cursor, char* end) override;
    int decode(char*& cursor, char* end) override;
    void exec() override;

    int m_X = 0;
    int m_Y = 0;
    int m_Font = 0;
    char* m_Text = nullptr;
};

#endif
