// Painting drawing commands with cairo the way PlotSink draws them with
// Xlib: same pixels for lines, boxes and arcs, monospace text at the sizes
// of the viewer's fonts. Private to ZemDrawingPng.
#ifndef ZEM_DRAWINGPAINTER_H
#define ZEM_DRAWINGPAINTER_H

#include "Drawing.h"

#include <cairo.h>

// A box in pixels: x1, y1 inclusive, x2, y2 exclusive.
struct PaintBox {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class DrawingPainter {
public:
    // With overlay set, colours and clears are passed over, so that a whole
    // drawing comes out in the source the caller set.
    DrawingPainter(cairo_t* cr, int width, int height, bool overlay);

    // The viewer's start: light grey pane, black drawing colour.
    void start();
    // Commands that are not well formed are passed over.
    void paint(const DrawCommand& command);
    // The pane's sunken bevel, as the viewer draws it after the picture.
    void frame();
    // What the command covers; false for one that covers no place.
    bool bounds(const DrawCommand& command, PaintBox& box);

private:
    void colour(int red, int green, int blue);
    void point(int x, int y);
    void line(int x1, int y1, int x2, int y2);
    // Adds a thin line's pixels to the path, to be filled nonzero.
    void lineRuns(int x1, int y1, int x2, int y2);
    void rect(const int* v);
    void arc(const int* v);
    void poly(const DrawCommand& command);
    void text(const DrawCommand& command);
    void useFont(int font);

    cairo_t* m_Cr;
    int m_Width;
    int m_Height;
    bool m_Overlay;
};

#endif
