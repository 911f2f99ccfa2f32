// Example test functions. Each reads its inputs from the input bank, writes
// its results into the output bank, and is made known to scripts by a
// global ZemCall object. demo.txt calls every one of them.
#include <zem/zem.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Arithmetic on plain inputs. "(total)" hands the sum back to the script as
// a definition that later tests read as (total).
void add()
{
    VarBank& in = Parse::getInStore();
    VarBank& out = Parse::getOutStore();
    int sum = int(in["a"]) + int(in["b"]);
    out["sum"] = sum;
    out["(total)"] = sum;
}

bool isNumber(const StoreCv& value)
{
    return value.getType() == StoreEl::TypeDouble || value.getType() == StoreEl::TypeInt;
}

// An array of numbers: values[0], values[1], ... until an item is missing.
// real() reads an item written as 2 as well as one written as 2.0; a plain
// double conversion would read 2 as 0.0.
void stats()
{
    VarBank& in = Parse::getInStore();
    VarBank& out = Parse::getOutStore();
    int count = 0;
    double sum = 0.0, low = 0.0, high = 0.0;
    // Note: assigning one handle to another copies the value, so every item
    // gets a handle of its own.
    while (isNumber(in["values"][count])) {
        double v = in["values"][count].real();
        low = count == 0 || v < low ? v : low;
        high = count == 0 || v > high ? v : high;
        sum += v;
        ++count;
    }
    out["count"] = count;
    out["mean"] = count ? sum / count : 0.0;
    out["min"] = low;
    out["max"] = high;
}

// A structure with a nested structure: rect { origin { x y } w h }.
void rectangle()
{
    StoreCv rect = Parse::getInStore()["rect"];
    int x = rect["origin"]["x"], y = rect["origin"]["y"];
    int w = rect["w"], h = rect["h"];
    VarBank& out = Parse::getOutStore();
    out["area"] = w * h;
    out["corner"]["x"] = x + w;
    out["corner"]["y"] = y + h;
    out["label"] = static_cast<char*>(rect["name"]);
}

// A traced call chain: every call of fib leaves a node in the result file
// with its argument and result, nested as the calls were.
int fib(int n)
{
    ParseOut trace("fib");
    if (trace.m_Node)
        (*trace.m_Node)["n"] = n;
    int r = n < 2 ? n : fib(n - 1) + fib(n - 2);
    if (trace.m_Node)
        (*trace.m_Node)["result"] = r;
    return r;
}

void fibonacci() { Parse::getOutStore()["value"] = fib(int(Parse::getInStore()["n"])); }

// Text in, text out, with a hexadecimal view of the length.
void shout()
{
    const char* text = Parse::getInStore()["text"];
    char loud[500];
    size_t n = std::strlen(text);
    for (size_t i = 0; i < n && i < sizeof loud - 1; ++i)
        loud[i] = (text[i] >= 'a' && text[i] <= 'z') ? char(text[i] - 32) : text[i];
    loud[n < sizeof loud ? n : sizeof loud - 1] = '\0';
    Parse::getOutStore()["loud"] = loud;
    Parse::getOutStore()["0xlength"] = int(n);
}

// Drawing calls: recorded when a viewer runs the script, ignored otherwise.
void drawHouse()
{
    ClearBackground(240, 240, 230);
    SetForeground(150, 40, 30);
    FillRect(60, 120, 220, 260);
    SetForeground(90, 90, 90);
    int xs[] = {40, 140, 240};
    int ys[] = {120, 40, 120};
    FillPolygon(3, xs, ys);
    SetForeground(250, 220, 80);
    FillArc(250, 20, 300, 70, 0, 36000);
    SetForeground(0, 0, 0);
    DrawRect(120, 190, 160, 260);
    DrawLine(0, 260, 320, 260);
    DrawMediumString(60, 290, "home");
    Parse::getOutStore()["drawn"] = 1;
}

// The interactive trio that the viewer drives: the pane asks for the picture
// (ongraphic), reports clicks (buttonpress) and keys (keypress). The clicks
// are kept between calls, so every redraw shows all of them.
struct Mark {
    int x, y, button;
    char key[16];
};
Mark g_marks[64];
int g_markCount = 0;

void remember(int x, int y, int button, const char* key)
{
    if (g_markCount == 64)
        g_markCount = 0;
    Mark& m = g_marks[g_markCount++];
    m.x = x;
    m.y = y;
    m.button = button;
    std::snprintf(m.key, sizeof m.key, "%s", key ? key : "");
}

void drawMarks()
{
    ClearBackground(255, 255, 255);
    SetForeground(0, 0, 160);
    DrawTinyString(5, 12, "click or type in the pane");
    for (int i = 0; i < g_markCount; ++i) {
        const Mark& m = g_marks[i];
        if (m.key[0]) {
            DrawLargeString(m.x, m.y, m.key);
        } else {
            // The record counts buttons from 0: left blue, middle red,
            // right green, the wheel black.
            SetForeground(m.button == 1 ? 200 : 0, m.button == 2 ? 160 : 0, m.button == 0 ? 200 : 0);
            FillArc(m.x - 4, m.y - 4, m.x + 4, m.y + 4, 0, 36000);
        }
    }
    Parse::getOutStore()["marks"] = g_markCount;
}

void ongraphic() { drawMarks(); }

void buttonpress()
{
    VarBank& in = Parse::getInStore();
    remember(in["x"], in["y"], in["button"], nullptr);
    drawMarks();
}

void keypress()
{
    VarBank& in = Parse::getInStore();
    remember(in["x"], in["y"], 0, in["key"]);
    drawMarks();
}

ZemCall addCall("add", add);
ZemCall statsCall("stats", stats);
ZemCall rectangleCall("rectangle", rectangle);
ZemCall fibonacciCall("fibonacci", fibonacci);
ZemCall shoutCall("shout", shout);
ZemCall drawHouseCall("drawHouse", drawHouse);
ZemCall ongraphicCall("ongraphic", ongraphic);
ZemCall buttonpressCall("buttonpress", buttonpress);
ZemCall keypressCall("keypress", keypress);

}
