// Pictures of drawings, without an X server: the pixels the viewer's pane
// would show at the places where X's rules decide them (ends included or
// not, a diagonal's steps, polygon edges, the pane's start and bevel), as
// Xvfb drew them; PNG files that read back the same; the overlay's colours.
#include "DrawingPng.h"
#include "DrawingText.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

namespace {

const char kShapes[] = "color 255 0 0\n"
                       "rect 10 20 30 40 fill\n"
                       "color 0 0 255\n"
                       "rect 110 120 100 100\n"
                       "color 0 255 0\n"
                       "line 200 50 210 50\n"
                       "line 200 60 260 90\n"
                       "arc 500 100 540 140 0 0 fill\n"
                       "poly 3 600 100 700 100 600 200 fill\n"
                       "poly 3 600 300 700 300 600 400\n"
                       "color 0 0 0\n"
                       "point 300 300\n";

std::vector<DrawCommand> read(const std::string& text)
{
    std::vector<DrawCommand> drawing;
    std::string error;
    EXPECT_TRUE(readDrawingText(text, "t.zdr", drawing, error)) << error;
    return drawing;
}

struct Pixel {
    int x, y;
    std::uint32_t rgb;
};

void PrintTo(const Pixel& p, std::ostream* os) { *os << p.x << "," << p.y; }

class DrawingPngPixel : public ::testing::TestWithParam<Pixel> {
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        ASSERT_TRUE(renderDrawing(read(kShapes), 800, 600, s_Pixels, error)) << error;
    }
    static DrawingPixels s_Pixels;
};
DrawingPixels DrawingPngPixel::s_Pixels;

TEST_P(DrawingPngPixel, IsWhatTheViewerShows)
{
    const Pixel& p = GetParam();
    ASSERT_EQ(s_Pixels.width, 800);
    ASSERT_EQ(s_Pixels.height, 600);
    EXPECT_EQ(s_Pixels.at(p.x, p.y), p.rgb) << std::hex << s_Pixels.at(p.x, p.y);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DrawingPngPixel,
    ::testing::Values(Pixel{400, 300, 0xD2D2D7},                         // the pane's grey
                      Pixel{10, 20, 0xFF0000},                           // a fill covers its first corner
                      Pixel{29, 39, 0xFF0000}, Pixel{30, 40, 0xD2D2D7},  // but not its second
                      Pixel{100, 100, 0x0000FF},                         // an outline covers both
                      Pixel{110, 120, 0x0000FF}, Pixel{105, 110, 0xD2D2D7},
                      Pixel{200, 50, 0x00FF00},  // a line both its ends
                      Pixel{210, 50, 0x00FF00}, Pixel{211, 50, 0xD2D2D7},
                      Pixel{201, 61, 0x00FF00},                              // a half step goes on
                      Pixel{201, 60, 0xD2D2D7}, Pixel{520, 120, 0x00FF00},   // extent 0: the whole ellipse
                      Pixel{501, 101, 0xD2D2D7}, Pixel{600, 100, 0x00FF00},  // fills: top and left edges in
                      Pixel{698, 101, 0x00FF00}, Pixel{699, 101, 0xD2D2D7},  // the right one out
                      Pixel{600, 199, 0x00FF00}, Pixel{600, 200, 0xD2D2D7},
                      Pixel{700, 300, 0x00FF00},  // outlines: every side's pixels
                      Pixel{650, 350, 0x00FF00}, Pixel{649, 350, 0xD2D2D7}, Pixel{300, 300, 0x000000},
                      Pixel{0, 300, 0x646464},                             // dark bevel left and top
                      Pixel{400, 0, 0x646464}, Pixel{799, 300, 0xFAFAFA},  // light right and bottom
                      Pixel{400, 599, 0xFAFAFA}));

TEST(DrawingPng, ClearFillsThePaneAndBecomesTheColour)
{
    DrawingPixels pixels;
    std::string error;
    ASSERT_TRUE(renderDrawing(read("clear 1 2 3\npoint 5 5\n"), 20, 10, pixels, error)) << error;
    EXPECT_EQ(pixels.at(10, 5), 0x010203u);
    EXPECT_EQ(pixels.at(5, 5), 0x010203u);
}

TEST(DrawingPng, FileReadsBackAsRendered)
{
    zemtest::ScratchDir dir("zem_png");
    const std::vector<DrawCommand> drawing = read(kShapes);
    DrawingPixels rendered, loaded;
    std::string error;
    ASSERT_TRUE(renderDrawing(drawing, 320, 240, rendered, error)) << error;
    ASSERT_TRUE(writeDrawingPng(drawing, 320, 240, dir.file("a.png"), error)) << error;
    ASSERT_TRUE(readPngPixels(dir.file("a.png"), loaded, error)) << error;
    EXPECT_EQ(loaded.width, 320);
    EXPECT_TRUE(loaded.rgb == rendered.rgb);
}

TEST(DrawingPng, OverlayShowsEachSideInItsColourAndBoxesTheDifference)
{
    zemtest::ScratchDir dir("zem_png");
    const std::vector<DrawCommand> expected = read("rect 10 10 50 50 fill\nrect 100 10 140 50 fill\n");
    const std::vector<DrawCommand> actual = read("rect 10 10 50 50 fill\nrect 100 70 140 110 fill\n");
    const DrawingDifference d = compareDrawings(expected, actual);
    std::string error;
    ASSERT_TRUE(writeDifferencePng(expected, actual, d, "caption", 200, 200, dir.file("d.png"), error))
        << error;
    DrawingPixels p;
    ASSERT_TRUE(readPngPixels(dir.file("d.png"), p, error)) << error;
    auto red = [&p](int x, int y) { return int(p.at(x, y) >> 16 & 255); };
    auto blue = [&p](int x, int y) { return int(p.at(x, y) & 255); };
    EXPECT_GT(blue(120, 30), red(120, 30) + 100);  // expected only
    EXPECT_GT(red(120, 90), blue(120, 90) + 100);  // actual only
    EXPECT_GT(red(30, 30), 100);                   // both: purple
    EXPECT_GT(blue(30, 30), 100);
    EXPECT_EQ(p.at(96, 60) & 0xFF00FF, 0u);  // the green box around both
    EXPECT_GT(int(p.at(96, 60) >> 8 & 255), 100);
}

TEST(DrawingPng, BadSizesAndFilesGiveErrors)
{
    zemtest::ScratchDir dir("zem_png");
    DrawingPixels p;
    std::string error;
    EXPECT_FALSE(renderDrawing({}, 0, 600, p, error));
    EXPECT_EQ(error, "picture size must be 1..8192 by 1..8192");
    EXPECT_FALSE(writeDrawingPng({}, 800, 8193, dir.file("a.png"), error));
    EXPECT_EQ(error, "picture size must be 1..8192 by 1..8192");
    zemtest::writeFile(dir.file("not.png"), "point 1 2\n");
    EXPECT_FALSE(readPngPixels(dir.file("not.png"), p, error));
    EXPECT_EQ(error.rfind(dir.file("not.png") + ": cannot be read as PNG", 0), 0u) << error;
    EXPECT_FALSE(writeDrawingPng({}, 8, 8, dir.file("no/a.png"), error));
    EXPECT_EQ(error.rfind(dir.file("no/a.png") + ": cannot be written", 0), 0u) << error;
}

}  // namespace
