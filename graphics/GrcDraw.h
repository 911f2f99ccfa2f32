// The drawing calls offered to functions under test. Each clamps its
// arguments to what the encoding carries and, while GrcBase::m_Exec is not
// 0, records one graphic command; each returns 1 whatever happens.
#ifndef ZEM_GRCDRAW_H
#define ZEM_GRCDRAW_H

// Colour components are clamped to 0..255.
int SetForeground(int red, int green, int blue);
// Discards every recorded command, then records the clear.
int ClearBackground(int red, int green, int blue);

// Coordinates are clamped to -999..9999, angles to 0..36000.
int DrawPoint(int x, int y);
int DrawLine(int x1, int y1, int x2, int y2);
int DrawRect(int x, int y, int a, int b);
int FillRect(int x, int y, int a, int b);
int DrawArc(int x, int y, int a, int b, int angle1, int angle2);
int FillArc(int x, int y, int a, int b, int angle1, int angle2);

// Nothing is recorded unless count > 0; the coordinates are copied and
// clamped to 0..9999.
int DrawPolygon(int count, const int* xs, const int* ys);
int FillPolygon(int count, const int* xs, const int* ys);

// Nothing is recorded for a null or empty text; the text is copied.
int DrawTinyString(int x, int y, const char* text);
int DrawMediumString(int x, int y, const char* text);
int DrawLargeString(int x, int y, const char* text);

#endif
