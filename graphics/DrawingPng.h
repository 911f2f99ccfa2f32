// Drawings as pictures: rendered with cairo as ZemViewer's graphic pane
// shows them, written as PNG, and the overlay of two drawings that differ.
#ifndef ZEM_DRAWINGPNG_H
#define ZEM_DRAWINGPNG_H

#include "Drawing.h"
#include "DrawingCompare.h"

#include <cstdint>
#include <string>
#include <vector>

// Pixels row by row from the top left, each 0xRRGGBB (no alpha).
struct DrawingPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    // 0 (black) outside the picture.
    std::uint32_t at(int x, int y) const
    {
        const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
        return x >= 0 && y >= 0 && x < width && y < height && i < rgb.size() ? rgb[i] : 0;
    }
};

// Pictures are at most this many pixels wide and high.
const int kDrawingMaxSide = 8192;

// The viewer's picture of the drawing on a pane of width x height: grey
// (210, 210, 215) and black to start, the commands, the pane's bevel.
bool renderDrawing(const std::vector<DrawCommand>& drawing, int width, int height, DrawingPixels& out,
                   std::string& error);
// The same picture as a PNG file, replacing path whole.
bool writeDrawingPng(const std::vector<DrawCommand>& drawing, int width, int height, const std::string& path,
                     std::string& error);

// Expected in translucent blue over white, actual in translucent red over
// it (purple where they agree), the first difference boxed in green and
// caption (the difference line) written along the bottom.
bool writeDifferencePng(const std::vector<DrawCommand>& expected, const std::vector<DrawCommand>& actual,
                        const DrawingDifference& difference, const std::string& caption, int width,
                        int height, const std::string& path, std::string& error);

// Which drawings an overlay shows.
enum class OverlayShows { Both, Expected, Actual };

// The overlay's pixels, without a caption, showing both drawings or one of
// them (in its overlay colour), with the first difference boxed.
bool renderDifference(const std::vector<DrawCommand>& expected, const std::vector<DrawCommand>& actual,
                      const DrawingDifference& difference, OverlayShows shows, int width, int height,
                      DrawingPixels& out, std::string& error);

// A PNG file's pixels, alpha dropped; at most kDrawingMaxSide each way.
bool readPngPixels(const std::string& path, DrawingPixels& out, std::string& error);

#endif
