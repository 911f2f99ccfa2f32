// The drawing side of the graphic commands: Xlib drawing on one window
// through the process-wide record `central`, which the linking program owns.
#ifndef ZEM_PLOTSINK_H
#define ZEM_PLOTSINK_H

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

// The shared drawing context. PlotSink only reads it; the program that links
// PlotSink defines `central` and fills it before the first drawing call.
// A font left null (it could not be loaded) makes text of that size skipped.
struct PlotCentral {
    XtAppContext appContext;
    XtIntervalId keepAliveTimer;
    Colormap colormap;
    Display* display;
    GC drawGC;
    GC clearGC;
    XFontStruct* tinyFont;
    XFontStruct* mediumFont;
    XFontStruct* largeFont;
    Window window;
};

extern PlotCentral central;

// Every function draws at once on central.window with central.drawGC and
// returns 1 whatever happens. Colour components are clamped to 0..255; a
// colour that cannot be allocated leaves the drawing colour as it was.
int _SetForeground(int red, int green, int blue);
// Fills the whole window; the drawing colour becomes the same colour.
int _ClearBackground(int red, int green, int blue);
int _DrawPoint(int x, int y);
int _DrawLine(int x1, int y1, int x2, int y2);
// Two opposite corners, in any order.
int _DrawRect(int x1, int y1, int x2, int y2);
int _FillRect(int x1, int y1, int x2, int y2);
// Bounding-box corners in any order; angles in hundredths of a degree, the
// second the extent. An extent of 0 draws the whole ellipse.
int _DrawArc(int x1, int y1, int x2, int y2, int angle1, int angle2);
int _FillArc(int x1, int y1, int x2, int y2, int angle1, int angle2);
// A closed outline drawn as count lines / one filled complex polygon.
int _DrawPolygon(int count, const int* xs, const int* ys);
int _FillPolygon(int count, const int* xs, const int* ys);
// (x, y) is the left end of the baseline; a null or empty text draws nothing.
int _DrawTinyString(int x, int y, const char* text);
int _DrawMediumString(int x, int y, const char* text);
int _DrawLargeString(int x, int y, const char* text);
// The one-pixel sunken bevel around the window: light right and bottom
// edges, dark top and left edges.
void _finalize();

#endif
