// PlotSink drawn on a real 400 x 300 window of a private Xvfb and read back
// pixel by pixel with XGetImage.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <utility>
#include <vector>

#include "GrcBase.h"
#include "GrcCommands.h"
#include "PlotSink.h"
#include "XvfbServer.h"

PlotCentral central;

namespace {

const int xvfb = (useXvfbForAllTests(), 0);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

const Rgb kWhite = {255, 255, 255};
const Rgb kBlack = {0, 0, 0};

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

class PlotSinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Display* display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        int screen = DefaultScreen(display);
        Window window = XCreateSimpleWindow(
            display, RootWindow(display, screen), 0, 0, 400, 300, 0, 0, WhitePixel(display, screen));
        XSelectInput(display, window, ExposureMask);
        XMapWindow(display, window);
        XEvent event;
        XWindowEvent(display, window, ExposureMask, &event);
        central = PlotCentral();
        central.display = display;
        central.window = window;
        central.colormap = DefaultColormap(display, screen);
        central.drawGC = XCreateGC(display, window, 0, nullptr);
        central.clearGC = XCreateGC(display, window, 0, nullptr);
        central.tinyFont = XLoadQueryFont(display, "6x10");
        central.mediumFont = XLoadQueryFont(display, "9x15");
        central.largeFont = XLoadQueryFont(display, "10x20");
        _ClearBackground(255, 255, 255);
        _SetForeground(0, 0, 0);
    }
    void TearDown() override
    {
        GrcBase::clearList();
        if (central.display)
            XCloseDisplay(central.display);
    }

    Rgb at(int x, int y)
    {
        XSync(central.display, False);
        XImage* image = XGetImage(central.display, central.window, x, y, 1, 1, AllPlanes, ZPixmap);
        unsigned long p = XGetPixel(image, 0, 0);
        Rgb c = {
            int((p & image->red_mask) >> 16), int((p & image->green_mask) >> 8), int(p & image->blue_mask)};
        XDestroyImage(image);
        return c;
    }
    bool drawn(int x, int y) { return at(x, y) == kBlack; }
    // Columns in the band [top, bottom] that hold a drawn pixel, rightmost.
    int rightmostDrawn(int top, int bottom)
    {
        for (int x = 399; x >= 0; --x)
            for (int y = top; y <= bottom; ++y)
                if (drawn(x, y))
                    return x;
        return -1;
    }
};

const int triangleXs[] = {50, 150, 100};
const int triangleYs[] = {50, 50, 120};

// Each shape on a white pane: pixels it must cover and pixels it must leave.
// The arcs use the box (100, 100)-(200, 160): left, top, right and bottom
// extremes at (100, 130), (150, 100), (200, 130) and (150, 160).
struct ShapeCase {
    const char* name;
    void (*draw)();
    std::vector<std::pair<int, int>> covered, empty;
} shapeCases[] = {
    {"rect from bottom right",
     [] { _DrawRect(10, 20, 0, 0); },
     {{0, 0}, {10, 0}, {0, 20}, {10, 20}},
     {{11, 0}, {0, 21}, {5, 10}}},
    {"rect mixed corners", [] { _DrawRect(10, 0, 0, 20); }, {{0, 0}, {10, 20}}, {{11, 0}, {5, 10}}},
    {"filled rect is width by height",
     [] { _FillRect(30, 40, 20, 20); },
     {{20, 20}, {29, 39}},
     {{30, 30}, {25, 40}}},
    {"arc extent 0 is the whole ellipse",
     [] { _DrawArc(200, 160, 100, 100, 4500, 0); },
     {{100, 130}, {150, 100}, {200, 130}, {150, 160}},
     {{150, 130}}},
    {"arc angles clamped",
     [] { _DrawArc(100, 100, 200, 160, -100, 50000); },
     {{100, 130}, {150, 100}, {200, 130}, {150, 160}},
     {}},
    {"arc first quadrant",
     [] { _DrawArc(100, 100, 200, 160, 0, 9000); },
     {{150, 100}, {200, 130}},
     {{100, 130}, {150, 160}}},
    {"arc extent from 180 degrees",
     [] { _DrawArc(100, 100, 200, 160, 18000, 9000); },
     {{100, 130}, {150, 160}},
     {{150, 100}, {200, 130}}},
    {"filled arc is a pie slice", [] { _FillArc(100, 100, 200, 200, 0, 9000); }, {{170, 130}}, {{130, 170}}},
    {"polygon outline closes on its first point",
     [] { _DrawPolygon(3, triangleXs, triangleYs); },
     {{100, 50}, {125, 85}, {75, 85}},
     {{100, 70}}},
    {"filled polygon", [] { _FillPolygon(3, triangleXs, triangleYs); }, {{100, 70}}, {{60, 110}}},
};

TEST_F(PlotSinkTest, ShapesCoverTheirPixels)
{
    for (const ShapeCase& c : shapeCases) {
        _ClearBackground(255, 255, 255);
        _SetForeground(0, 0, 0);
        c.draw();
        for (auto [x, y] : c.covered)
            EXPECT_TRUE(drawn(x, y)) << c.name << " at " << x << "," << y;
        for (auto [x, y] : c.empty)
            EXPECT_FALSE(drawn(x, y)) << c.name << " at " << x << "," << y;
    }
}

TEST_F(PlotSinkTest, TextIsDrawnInItsFontAndEmptyTextIsNot)
{
    _DrawTinyString(10, 50, "");
    _DrawTinyString(10, 50, nullptr);
    EXPECT_EQ(rightmostDrawn(35, 55), -1);
    _DrawTinyString(10, 50, "WWWW");
    int tiny = rightmostDrawn(35, 55);
    EXPECT_GT(tiny, 10);
    EXPECT_LE(tiny, 10 + XTextWidth(central.tinyFont, "WWWW", 4));
    // Any font number past 1 is the large font.
    GrcText text;
    text.m_X = 10, text.m_Y = 150, text.m_Font = 5;
    text.setText("WWWW");
    text.exec();
    EXPECT_GT(rightmostDrawn(130, 155), 10 + XTextWidth(central.mediumFont, "WWWW", 4));
}

TEST_F(PlotSinkTest, MissingFontSkipsTheText)
{
    central.tinyFont = nullptr;
    EXPECT_EQ(_DrawTinyString(10, 50, "WWWW"), 1);
    EXPECT_EQ(rightmostDrawn(35, 55), -1);
}

TEST_F(PlotSinkTest, BevelIsLightOnRightAndBottomDarkOnTopAndLeft)
{
    _finalize();
    const Rgb light = {250, 250, 250}, dark = {100, 100, 100};
    EXPECT_EQ(at(399, 150), light);
    EXPECT_EQ(at(200, 299), light);
    EXPECT_EQ(at(200, 0), dark);
    EXPECT_EQ(at(0, 150), dark);
    EXPECT_EQ(at(200, 150), kWhite);
}

TEST_F(PlotSinkTest, ClearFillsThePaneAndDrawsInTheSameColour)
{
    _ClearBackground(0, 0, 255);
    _DrawLine(10, 10, 100, 10);
    const Rgb blue = {0, 0, 255};
    EXPECT_EQ(at(399, 299), blue);
    EXPECT_EQ(at(50, 10), blue);
}

TEST_F(PlotSinkTest, ForegroundIsClampedPerComponent)
{
    _SetForeground(300, -5, 128);
    _DrawPoint(5, 5);
    EXPECT_EQ(at(5, 5), (Rgb{255, 0, 128}));
}

// A colormap that refuses every cell: the drawing colour stays black.
TEST_F(PlotSinkTest, ColourThatCannotBeAllocatedKeepsThePreviousOne)
{
    XSetErrorHandler(ignoreErrors);
    Colormap good = central.colormap;
    central.colormap = 0x7fffffff;
    _SetForeground(255, 0, 0);
    central.colormap = good;
    _DrawPoint(5, 5);
    EXPECT_EQ(at(5, 5), kBlack);
}

TEST_F(PlotSinkTest, ReplayClearsToGreyAndDrawsEachCommand)
{
    GrcBase::appendList(new GrcColor(255, 0, 0, 1));
    GrcBase::appendList(new GrcRect(10, 10, 30, 30, 1));
    GrcBase::appendList(new GrcLine(50, 50, 90, 50));
    GrcBase::execList();
    EXPECT_EQ(at(300, 200), (Rgb{210, 210, 215}));
    EXPECT_EQ(at(20, 20), (Rgb{255, 0, 0}));
    EXPECT_EQ(at(70, 50), (Rgb{255, 0, 0}));
}

}
