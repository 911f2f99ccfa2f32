// The click benchmark's tester: the picture asked for on connect, and a
// click answered with a picture of 1,000 commands around the clicked point.
#include <zem/zem.h>

namespace {

void drawAround(int x, int y)
{
    ClearBackground(255, 255, 255);
    SetForeground(0, 0, 160);
    for (int i = 0; i < 999; ++i)
        DrawLine(x, y, (x + i * 7) % 400, (y + i * 3) % 400);
}

void ongraphic() { drawAround(200, 200); }

void buttonpress()
{
    VarBank& in = Parse::getInStore();
    // Every button draws the same; reading it keeps the tester quiet about it.
    (void)int(in["button"]);
    drawAround(in["x"], in["y"]);
}

ZemCall ongraphicCall("ongraphic", ongraphic);
ZemCall buttonpressCall("buttonpress", buttonpress);

}
