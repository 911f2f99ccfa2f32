// The viewer's replay: 20,000 recorded drawing commands of mixed kinds drawn
// through GrcBase::execList and PlotSink on an 800 x 600 window of a private
// Xvfb, against a plain Xlib loop making the same calls on the same window.
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../common/BenchTiming.h"
#include "GrcBase.h"
#include "GrcDraw.h"
#include "PlotSink.h"
#include "XvfbServer.h"

PlotCentral central;

namespace {

using zembench::median;

const int kCommands = 20000;
const int kRounds = 15;

// One drawing step, as both sides draw it.
struct Step {
    int kind;  // 0 colour, 1 point, 2 line, 3 rect, 4 fill rect, 5 arc, 6 fill arc, 7 poly, 8 fill poly, 9 text
    int v[6];
    int xs[5], ys[5];
    int font;
};

const char* kText = "replay 123";

std::vector<Step> makeSteps()
{
    std::vector<Step> steps(kCommands);
    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(range));
    };
    for (Step& s : steps) {
        s.kind = next(10);
        for (int& v : s.v)
            v = next(s.kind == 0 ? 256 : 800);
        s.v[4] = next(36000), s.v[5] = next(36000);
        for (int i = 0; i < 5; ++i)
            s.xs[i] = next(800), s.ys[i] = next(600);
        s.font = next(3);
    }
    return steps;
}

void record(const std::vector<Step>& steps)
{
    GrcBase::m_Exec = 1;
    GrcBase::clearList();
    for (const Step& s : steps) {
        const int* v = s.v;
        switch (s.kind) {
        case 0: SetForeground(v[0], v[1], v[2]); break;
        case 1: DrawPoint(v[0], v[1]); break;
        case 2: DrawLine(v[0], v[1], v[2], v[3]); break;
        case 3: DrawRect(v[0], v[1], v[2], v[3]); break;
        case 4: FillRect(v[0], v[1], v[2], v[3]); break;
        case 5: DrawArc(v[0], v[1], v[2], v[3], v[4], v[5]); break;
        case 6: FillArc(v[0], v[1], v[2], v[3], v[4], v[5]); break;
        case 7: DrawPolygon(5, s.xs, s.ys); break;
        case 8: FillPolygon(5, s.xs, s.ys); break;
        default:
            if (s.font == 0)
                DrawTinyString(v[0], v[1], kText);
            else if (s.font == 1)
                DrawMediumString(v[0], v[1], kText);
            else
                DrawLargeString(v[0], v[1], kText);
        }
    }
}

// The plain program: the same Xlib requests, written out by hand.
unsigned long plainColour(Display* d, int r, int g, int b)
{
    XColor c;
    c.red = r * 256, c.green = g * 256, c.blue = b * 256;
    c.flags = DoRed | DoGreen | DoBlue;
    XAllocColor(d, central.colormap, &c);
    return c.pixel;
}

void plainBox(const int* v, int* x, int* y, unsigned* w, unsigned* h)
{
    *x = std::min(v[0], v[2]), *y = std::min(v[1], v[3]);
    *w = std::max(v[0], v[2]) - *x, *h = std::max(v[1], v[3]) - *y;
}

void plainStep(Display* d, Window win, GC gc, const Step& s)
{
    const int* v = s.v;
    int x, y;
    unsigned w, h;
    switch (s.kind) {
    case 0: XSetForeground(d, gc, plainColour(d, v[0], v[1], v[2])); break;
    case 1: XDrawPoint(d, win, gc, v[0], v[1]); break;
    case 2: XDrawLine(d, win, gc, v[0], v[1], v[2], v[3]); break;
    case 3: plainBox(v, &x, &y, &w, &h), XDrawRectangle(d, win, gc, x, y, w, h); break;
    case 4: plainBox(v, &x, &y, &w, &h), XFillRectangle(d, win, gc, x, y, w, h); break;
    case 5:
        plainBox(v, &x, &y, &w, &h), XDrawArc(d, win, gc, x, y, w, h, v[4] * 64 / 100, v[5] * 64 / 100);
        break;
    case 6:
        plainBox(v, &x, &y, &w, &h), XFillArc(d, win, gc, x, y, w, h, v[4] * 64 / 100, v[5] * 64 / 100);
        break;
    case 7:
        for (int i = 0; i < 5; ++i)
            XDrawLine(d, win, gc, s.xs[i], s.ys[i], s.xs[(i + 1) % 5], s.ys[(i + 1) % 5]);
        break;
    case 8: {
        XPoint p[5];
        for (int i = 0; i < 5; ++i)
            p[i].x = short(s.xs[i]), p[i].y = short(s.ys[i]);
        XFillPolygon(d, win, gc, p, 5, Complex, CoordModeOrigin);
        break;
    }
    default: {
        XFontStruct* f =
            s.font == 0 ? central.tinyFont : (s.font == 1 ? central.mediumFont : central.largeFont);
        XSetFont(d, gc, f->fid);
        XDrawString(d, win, gc, v[0], v[1], kText, int(std::strlen(kText)));
    }
    }
}

void plainReplay(const std::vector<Step>& steps)
{
    Display* d = central.display;
    XSetForeground(d, central.clearGC, plainColour(d, 210, 210, 215));
    XWindowAttributes attr;
    XGetWindowAttributes(d, central.window, &attr);
    XFillRectangle(d, central.window, central.clearGC, 0, 0, attr.width, attr.height);
    XSetForeground(d, central.drawGC, plainColour(d, 210, 210, 215));
    XSetForeground(d, central.drawGC, plainColour(d, 0, 0, 0));
    for (const Step& s : steps)
        plainStep(d, central.window, central.drawGC, s);
}

template <typename F>
double millis(F draw)
{
    auto start = std::chrono::steady_clock::now();
    draw();
    XSync(central.display, False);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int openWindow()
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 0;
    int screen = DefaultScreen(d);
    Window w = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, 800, 600, 0, 0, WhitePixel(d, screen));
    XSelectInput(d, w, ExposureMask);
    XMapWindow(d, w);
    XEvent e;
    XWindowEvent(d, w, ExposureMask, &e);
    central.display = d;
    central.window = w;
    central.colormap = DefaultColormap(d, screen);
    central.drawGC = XCreateGC(d, w, 0, nullptr);
    central.clearGC = XCreateGC(d, w, 0, nullptr);
    central.tinyFont = XLoadQueryFont(d, "6x10");
    central.mediumFont = XLoadQueryFont(d, "9x15");
    central.largeFont = XLoadQueryFont(d, "10x20");
    return central.tinyFont && central.mediumFont && central.largeFont;
}

}

int main()
{
    XvfbServer server;
    if (!server.start() || !openWindow()) {
        std::fprintf(stderr, "viewer replay: no Xvfb\n");
        return 1;
    }
    std::vector<Step> steps = makeSteps();
    record(steps);
    std::vector<double> zem, plain;
    for (int round = 0; round < kRounds; ++round) {
        zem.push_back(millis([] { GrcBase::execList(); }));
        plain.push_back(millis([&steps] { plainReplay(steps); }));
    }
    double z = median(zem), p = median(plain);
    std::printf("viewer replay, %d commands on 800 x 600 Xvfb (median of %d rounds, ended by XSync)\n",
                kCommands,
                kRounds);
    std::printf("  execList + PlotSink : %8.2f ms\n", z);
    std::printf("  plain Xlib          : %8.2f ms\n", p);
    std::printf("  ratio               : %8.3f (goal <= 1.5, moonshot <= 1.1)\n", z / p);
    XCloseDisplay(central.display);
    return 0;
}
