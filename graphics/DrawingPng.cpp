// Rendering drawings to cairo image surfaces and PNG files. Every cairo
// object is checked through its status, since cairo reports failure by
// handing back an object in an error state rather than a null.
#include "DrawingPng.h"

#include "DrawingPainter.h"
#include "WholeFile.h"

#include <cairo.h>

namespace {

// The overlay's colours: blue and red stay apart for the common kinds of
// colour blindness, and green marks what neither drawing uses.
const double kExpectedRgb[] = {0.0, 0.35, 1.0};
const double kActualRgb[] = {0.9, 0.0, 0.0};
const double kMarkRgb[] = {0.0, 0.65, 0.0};
const double kOverlayAlpha = 0.55;
const double kMarkMargin = 3.0;
const double kCaptionSize = 12.0;

// A surface and its context, released together.
class Canvas {
public:
    Canvas(int width, int height)
        : m_Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
          m_Cr(cairo_create(m_Surface))
    {}
    ~Canvas()
    {
        cairo_destroy(m_Cr);
        cairo_surface_destroy(m_Surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return m_Cr; }
    cairo_surface_t* surface() const { return m_Surface; }
    bool ok(std::string& error) const
    {
        cairo_status_t status = cairo_status(m_Cr);
        if (status == CAIRO_STATUS_SUCCESS)
            status = cairo_surface_status(m_Surface);
        if (status == CAIRO_STATUS_SUCCESS)
            return true;
        error = std::string("cannot draw the picture (cairo: ") + cairo_status_to_string(status) + ")";
        return false;
    }

private:
    cairo_surface_t* m_Surface;
    cairo_t* m_Cr;
};

bool sizeOk(int width, int height, std::string& error)
{
    if (width >= 1 && width <= kDrawingMaxSide && height >= 1 && height <= kDrawingMaxSide)
        return true;
    error = "picture size must be 1.." + std::to_string(kDrawingMaxSide) + " by 1.." +
            std::to_string(kDrawingMaxSide);
    return false;
}

void paintDrawing(const Canvas& canvas, const std::vector<DrawCommand>& drawing, int width, int height)
{
    DrawingPainter painter(canvas.cr(), width, height, false);
    painter.start();
    for (const DrawCommand& c : drawing)
        painter.paint(c);
    painter.frame();
}

// RGB24 leaves the top byte of each word undefined: masked off here.
bool pixelsOf(cairo_surface_t* surface, DrawingPixels& out, std::string& error)
{
    cairo_surface_flush(surface);
    const cairo_format_t format = cairo_image_surface_get_format(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)) {
        error = "the picture's pixel format is not supported";
        return false;
    }
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    if (width > kDrawingMaxSide || height > kDrawingMaxSide) {
        error = "the picture is larger than " + std::to_string(kDrawingMaxSide) + " pixels each way";
        return false;
    }
    out.width = width;
    out.height = height;
    const int stride = cairo_image_surface_get_stride(surface);
    out.rgb.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
        const std::uint32_t* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        std::uint32_t* to = out.rgb.data() + static_cast<std::size_t>(y) * out.width;
        for (int x = 0; x < out.width; ++x)
            to[x] = row[x] & 0xFFFFFFu;
    }
    return true;
}

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

bool savePng(const Canvas& canvas, const std::string& path, std::string& error)
{
    if (!canvas.ok(error)) {
        error = path + ": " + error;
        return false;
    }
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(canvas.surface(), appendBytes, &bytes);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot encode the picture (cairo: " + cairo_status_to_string(status) + ")";
        return false;
    }
    return replaceWholeFile(path, bytes, error);
}

// One drawing in one colour, made translucent as a whole so that its own
// overlapping shapes do not darken each other.
void paintOverlay(const Canvas& canvas, const std::vector<DrawCommand>& drawing, const double* rgb, int w,
                  int h)
{
    cairo_t* cr = canvas.cr();
    cairo_push_group(cr);
    DrawingPainter painter(cr, w, h, true);
    cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
    for (const DrawCommand& c : drawing)
        painter.paint(c);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, kOverlayAlpha);
}

void widen(PaintBox& box, const PaintBox& more)
{
    box.x1 = more.x1 < box.x1 ? more.x1 : box.x1;
    box.y1 = more.y1 < box.y1 ? more.y1 : box.y1;
    box.x2 = more.x2 > box.x2 ? more.x2 : box.x2;
    box.y2 = more.y2 > box.y2 ? more.y2 : box.y2;
}

// Boxes the differing command as either drawing has it; a difference of
// colour alone has no place to box.
void markDifference(const Canvas& canvas, const std::vector<DrawCommand>& expected,
                    const std::vector<DrawCommand>& actual, const DrawingDifference& difference, int w, int h)
{
    if (difference.same || difference.index == 0)
        return;
    const std::size_t at = difference.index - 1;
    DrawingPainter painter(canvas.cr(), w, h, true);
    PaintBox box, one;
    bool found = false;
    for (const std::vector<DrawCommand>* drawing : {&expected, &actual})
        if (at < drawing->size() && painter.bounds((*drawing)[at], one)) {
            if (found)
                widen(box, one);
            else
                box = one;
            found = true;
        }
    if (!found)
        return;
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, kMarkRgb[0], kMarkRgb[1], kMarkRgb[2]);
    cairo_set_line_width(cr, 2.0);
    cairo_rectangle(cr,
                    box.x1 - kMarkMargin,
                    box.y1 - kMarkMargin,
                    box.x2 - box.x1 + 2 * kMarkMargin,
                    box.y2 - box.y1 + 2 * kMarkMargin);
    cairo_stroke(cr);
}

// Bytes a file name may bring that are not printable ASCII would make
// cairo refuse the string: shown as '?'.
std::string printable(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            c = '?';
    return out;
}

// Adds the text's lines: broken at the last space that fits, else cut.
void wrapInto(const std::string& text, std::size_t perLine, std::vector<std::string>& lines)
{
    std::string rest = printable(text);
    while (rest.size() > perLine) {
        const std::size_t space = rest.rfind(' ', perLine);
        const std::size_t cut = space == std::string::npos || space == 0 ? perLine : space;
        lines.push_back(rest.substr(0, cut));
        rest.erase(0, cut == space ? cut + 1 : cut);
    }
    lines.push_back(rest);
}

void writeCaption(const Canvas& canvas, const std::string& caption, int width, int height)
{
    cairo_t* cr = canvas.cr();
    cairo_select_font_face(cr, "monospace", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kCaptionSize);
    cairo_text_extents_t digit;
    cairo_text_extents(cr, "0", &digit);
    const double advance = digit.x_advance > 1 ? digit.x_advance : 1;
    const double room = (width - 8) / advance;
    const std::size_t perLine = room >= 10 ? std::size_t(room) : 10;
    std::vector<std::string> lines;
    wrapInto(caption, perLine, lines);
    wrapInto("blue: expected, red: actual, green box: first difference", perLine, lines);
    const double lineHeight = kCaptionSize + 3;
    const double band = lines.size() * lineHeight + 6;
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_rectangle(cr, 0, height - band, width, band);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        cairo_move_to(cr, 4, height - band + (i + 1) * lineHeight);
        cairo_show_text(cr, lines[i].c_str());
    }
    cairo_new_path(cr);
}

void paintDifference(const Canvas& canvas, const std::vector<DrawCommand>& expected,
                     const std::vector<DrawCommand>& actual, const DrawingDifference& difference,
                     OverlayShows shows, int width, int height)
{
    cairo_set_source_rgb(canvas.cr(), 1, 1, 1);
    cairo_paint(canvas.cr());
    if (shows != OverlayShows::Actual)
        paintOverlay(canvas, expected, kExpectedRgb, width, height);
    if (shows != OverlayShows::Expected)
        paintOverlay(canvas, actual, kActualRgb, width, height);
    markDifference(canvas, expected, actual, difference, width, height);
}

}  // namespace

bool renderDrawing(const std::vector<DrawCommand>& drawing, int width, int height, DrawingPixels& out,
                   std::string& error)
{
    if (!sizeOk(width, height, error))
        return false;
    Canvas canvas(width, height);
    paintDrawing(canvas, drawing, width, height);
    return canvas.ok(error) && pixelsOf(canvas.surface(), out, error);
}

bool writeDrawingPng(const std::vector<DrawCommand>& drawing, int width, int height, const std::string& path,
                     std::string& error)
{
    if (!sizeOk(width, height, error))
        return false;
    Canvas canvas(width, height);
    paintDrawing(canvas, drawing, width, height);
    return savePng(canvas, path, error);
}

bool writeDifferencePng(const std::vector<DrawCommand>& expected, const std::vector<DrawCommand>& actual,
                        const DrawingDifference& difference, const std::string& caption, int width,
                        int height, const std::string& path, std::string& error)
{
    if (!sizeOk(width, height, error))
        return false;
    Canvas canvas(width, height);
    paintDifference(canvas, expected, actual, difference, OverlayShows::Both, width, height);
    writeCaption(canvas, caption, width, height);
    return savePng(canvas, path, error);
}

bool renderDifference(const std::vector<DrawCommand>& expected, const std::vector<DrawCommand>& actual,
                      const DrawingDifference& difference, OverlayShows shows, int width, int height,
                      DrawingPixels& out, std::string& error)
{
    if (!sizeOk(width, height, error))
        return false;
    Canvas canvas(width, height);
    paintDifference(canvas, expected, actual, difference, shows, width, height);
    return canvas.ok(error) && pixelsOf(canvas.surface(), out, error);
}

bool readPngPixels(const std::string& path, DrawingPixels& out, std::string& error)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    const cairo_status_t status = cairo_surface_status(surface);
    bool ok = status == CAIRO_STATUS_SUCCESS;
    if (!ok)
        error = path + ": cannot be read as PNG (cairo: " + cairo_status_to_string(status) + ")";
    else if (!pixelsOf(surface, out, error))
        error = path + ": " + error, ok = false;
    cairo_surface_destroy(surface);
    return ok;
}
