// The X drawing back end: the underscore drawing functions and the pane's
// bevelled frame, all drawn through the process-wide record `central`.
#include "PlotSink.h"

#include <cstring>
#include <new>

namespace {

int clampTo(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

// Channels are component * 256, so 255 gives 65280. Returns 0 when the
// colormap has no cell for it, so callers keep the colour they had.
int allocPixel(int red, int green, int blue, unsigned long* pixel)
{
    XColor color;
    color.red = static_cast<unsigned short>(clampTo(red, 0, 255) * 256);
    color.green = static_cast<unsigned short>(clampTo(green, 0, 255) * 256);
    color.blue = static_cast<unsigned short>(clampTo(blue, 0, 255) * 256);
    color.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(central.display, central.colormap, &color))
        return 0;
    *pixel = color.pixel;
    return 1;
}

// The box spanned by two opposite corners, whatever their order.
struct Box {
    int x, y;
    unsigned int width, height;
};

Box boxOf(int x1, int y1, int x2, int y2)
{
    Box box;
    box.x = x1 < x2 ? x1 : x2;
    box.y = y1 < y2 ? y1 : y2;
    box.width = static_cast<unsigned int>((x1 < x2 ? x2 : x1) - box.x);
    box.height = static_cast<unsigned int>((y1 < y2 ? y2 : y1) - box.y);
    return box;
}

// Hundredths of a degree to X's 64ths; an extent of 0 means the whole
// ellipse, whatever the start angle was.
void arcAngles(int angle1, int angle2, int* xAngle1, int* xAngle2)
{
    if (angle2 == 0) {
        angle1 = 0;
        angle2 = 36000;
    }
    angle2 = clampTo(angle2, 0, 36000);
    angle1 = clampTo(angle1, 0, 36000);
    *xAngle1 = angle1 * 64 / 100;
    *xAngle2 = angle2 * 64 / 100;
}

int drawText(XFontStruct* font, int x, int y, const char* text)
{
    if (!text || !*text || !font)
        return 1;
    XSetFont(central.display, central.drawGC, font->fid);
    XDrawString(
        central.display, central.window, central.drawGC, x, y, text, static_cast<int>(std::strlen(text)));
    return 1;
}

short toShort(int value) { return static_cast<short>(clampTo(value, -32768, 32767)); }

}

int _SetForeground(int red, int green, int blue)
{
    unsigned long pixel;
    if (allocPixel(red, green, blue, &pixel))
        XSetForeground(central.display, central.drawGC, pixel);
    return 1;
}

// Without a new cell the pane is filled with the clear colour it had, and
// the drawing colour stays as it was.
int _ClearBackground(int red, int green, int blue)
{
    unsigned long pixel;
    int allocated = allocPixel(red, green, blue, &pixel);
    if (allocated)
        XSetForeground(central.display, central.clearGC, pixel);
    XWindowAttributes attr;
    if (XGetWindowAttributes(central.display, central.window, &attr))
        XFillRectangle(central.display,
                       central.window,
                       central.clearGC,
                       0,
                       0,
                       static_cast<unsigned int>(attr.width),
                       static_cast<unsigned int>(attr.height));
    if (allocated)
        XSetForeground(central.display, central.drawGC, pixel);
    return 1;
}

int _DrawPoint(int x, int y)
{
    XDrawPoint(central.display, central.window, central.drawGC, x, y);
    return 1;
}

int _DrawLine(int x1, int y1, int x2, int y2)
{
    XDrawLine(central.display, central.window, central.drawGC, x1, y1, x2, y2);
    return 1;
}

int _DrawRect(int x1, int y1, int x2, int y2)
{
    Box box = boxOf(x1, y1, x2, y2);
    XDrawRectangle(central.display, central.window, central.drawGC, box.x, box.y, box.width, box.height);
    return 1;
}

int _FillRect(int x1, int y1, int x2, int y2)
{
    Box box = boxOf(x1, y1, x2, y2);
    XFillRectangle(central.display, central.window, central.drawGC, box.x, box.y, box.width, box.height);
    return 1;
}

int _DrawArc(int x1, int y1, int x2, int y2, int angle1, int angle2)
{
    Box box = boxOf(x1, y1, x2, y2);
    int a1, a2;
    arcAngles(angle1, angle2, &a1, &a2);
    XDrawArc(central.display, central.window, central.drawGC, box.x, box.y, box.width, box.height, a1, a2);
    return 1;
}

int _FillArc(int x1, int y1, int x2, int y2, int angle1, int angle2)
{
    Box box = boxOf(x1, y1, x2, y2);
    int a1, a2;
    arcAngles(angle1, angle2, &a1, &a2);
    XFillArc(central.display, central.window, central.drawGC, box.x, box.y, box.width, box.height, a1, a2);
    return 1;
}

int _DrawPolygon(int count, const int* xs, const int* ys)
{
    if (count <= 0 || !xs || !ys)
        return 1;
    int i = 0;
    for (; i < count - 1; ++i)
        _DrawLine(xs[i], ys[i], xs[i + 1], ys[i + 1]);
    _DrawLine(xs[i], ys[i], xs[0], ys[0]);
    return 1;
}

// X points carry 16-bit coordinates; the array lives only for the call.
int _FillPolygon(int count, const int* xs, const int* ys)
{
    if (count <= 0 || !xs || !ys)
        return 1;
    XPoint* points = new (std::nothrow) XPoint[count];
    if (!points)
        return 1;
    for (int i = 0; i < count; ++i) {
        points[i].x = toShort(xs[i]);
        points[i].y = toShort(ys[i]);
    }
    XFillPolygon(central.display, central.window, central.drawGC, points, count, Complex, CoordModeOrigin);
    delete[] points;
    return 1;
}

int _DrawTinyString(int x, int y, const char* text) { return drawText(central.tinyFont, x, y, text); }

int _DrawMediumString(int x, int y, const char* text) { return drawText(central.mediumFont, x, y, text); }

int _DrawLargeString(int x, int y, const char* text) { return drawText(central.largeFont, x, y, text); }

// The frame colours are allocated once per process; the size is read on
// every call so that a resized pane gets its frame on its new edges.
void _finalize()
{
    static int finit = 0;
    static XColor light;
    static XColor dark;
    static int lightOk = 0;
    static int darkOk = 0;
    static XWindowAttributes attr;
    if (!finit) {
        finit = 1;
        light.red = light.green = light.blue = 64000;
        light.flags = dark.flags = DoRed | DoGreen | DoBlue;
        dark.red = dark.green = dark.blue = 25600;
        lightOk = XAllocColor(central.display, central.colormap, &light) != 0;
        darkOk = XAllocColor(central.display, central.colormap, &dark) != 0;
    }
    if (!XGetWindowAttributes(central.display, central.window, &attr))
        return;
    int w = attr.width - 1;
    int h = attr.height - 1;
    if (lightOk)
        XSetForeground(central.display, central.drawGC, light.pixel);
    _DrawLine(w, 0, w, h);
    _DrawLine(0, h, w, h);
    if (darkOk)
        XSetForeground(central.display, central.drawGC, dark.pixel);
    _DrawLine(0, 0, w, 0);
    _DrawLine(0, 0, 0, h);
}
