// PlotSink drawn on a real 400 x 300 window of a private Xvfb and read back
// pixel by pixel with XGetImage.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

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
        Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 400, 300, 0, 0,
                                            WhitePixel(display, screen));
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
        Rgb c = {int((p & image->red_mask) >> 16), int((p & image->green_mask) >> 8),
                 int(p & image->blue_mask)};
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

TEST_F(PlotSinkTest, RectangleCornersInEitherOrderDrawTheSameOutline)
{
    struct Case {
        int x1, y1, x2, y2;
    } cases[] = {{10, 20, 0, 0}, {0, 0, 10, 20}, {10, 0, 0, 20}};
    for (const Case& c : cases) {
        _ClearBackground(255, 255, 255);
        _SetForeground(0, 0, 0);
        _DrawRect(c.x1, c.y1, c.x2, c.y2);
        EXPECT_TRUE(drawn(0, 0) && drawn(10, 0) && drawn(0, 20) && drawn(10, 20)) << c.x1 << "," << c.y1;
        EXPECT_FALSE(drawn(11, 0) || drawn(0, 21) || drawn(5, 10)) << c.x1 << "," << c.y1;
    }
}

TEST_F(PlotSinkTest, FilledRectangleCoversWidthByHeight)
{
    _FillRect(30, 40, 20, 20);
    EXPECT_TRUE(drawn(20, 20) && drawn(29, 39) && drawn(25, 30));
    EXPECT_FALSE(drawn(30, 30) || drawn(25, 40));
}

// The four extreme points of a 100 x 60 ellipse, one per quadrant.
TEST_F(PlotSinkTest, ArcExtentZeroOrOutOfRangeIsTheWholeEllipse)
{
    struct Case {
        int angle1, angle2;
        bool left, top, right, bottom;
    } cases[] = {
        {4500, 0, true, true, true, true},
        {-100, 50000, true, true, true, true},
        {0, 9000, false, true, true, false},
        {18000, 9000, true, false, false, true},
    };
    for (const Case& c : cases) {
        _ClearBackground(255, 255, 255);
        _SetForeground(0, 0, 0);
        _DrawArc(200, 160, 100, 100, c.angle1, c.angle2);
        EXPECT_EQ(drawn(100, 130), c.left) << c.angle1 << " " << c.angle2;
        EXPECT_EQ(drawn(150, 100), c.top) << c.angle1 << " " << c.angle2;
        EXPECT_EQ(drawn(200, 130), c.right) << c.angle1 << " " << c.angle2;
        EXPECT_EQ(drawn(150, 160), c.bottom) << c.angle1 << " " << c.angle2;
    }
}

TEST_F(PlotSinkTest, FilledArcIsAPieSlice)
{
    _FillArc(100, 100, 200, 200, 0, 9000);
    EXPECT_TRUE(drawn(170, 130));
    EXPECT_FALSE(drawn(130, 170));
}

TEST_F(PlotSinkTest, PolygonOutlineClosesOnItsFirstPoint)
{
    int xs[] = {50, 150, 100};
    int ys[] = {50, 50, 120};
    _DrawPolygon(3, xs, ys);
    EXPECT_TRUE(drawn(100, 50));   // first edge
    EXPECT_TRUE(drawn(125, 85));   // second edge
    EXPECT_TRUE(drawn(75, 85));    // closing edge, back to the first point
    EXPECT_FALSE(drawn(100, 70));  // inside stays empty
}

TEST_F(PlotSinkTest, FilledPolygonCoversItsInside)
{
    int xs[] = {50, 150, 100};
    int ys[] = {50, 50, 120};
    _FillPolygon(3, xs, ys);
    EXPECT_TRUE(drawn(100, 70));
    EXPECT_FALSE(drawn(60, 110));
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
