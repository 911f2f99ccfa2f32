// The interactive round trip: a click in the graphic pane of a viewer
// connected to a local ZemTester, from the synthesised button event to the
// redrawn picture (the tester's "buttonpress" draws 1,000 commands), next to
// a plain client sending the same generated script to a second tester.
// Both alternate, so that they see the same machine.
//
// Usage: zem_click_bench TESTER [CLICKS]
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../common/BenchTiming.h"
#include "GraphicPane.h"
#include "GrcBase.h"
#include "RemoteClient.h"
#include "ViewerApp.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"
#include "WireClient.h"
#include "XvfbServer.h"

namespace {

using zembench::median;

using zembench::Clock;
using zembench::micros;

void clickPane(int x, int y)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xbutton.type = ButtonPress;
    event.xbutton.display = XtDisplay(widgets().outtext);
    event.xbutton.window = XtWindow(widgets().outtext);
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.button = 1;
    XtDispatchEvent(&event);
    XSync(XtDisplay(widgets().outtext), False);
}

// Starts a tester on a port of its own; its port, or -1.
int startOn(const char* tester, int first, pid_t& pid)
{
    for (int port = first; port < first + 50; ++port) {
        pid = wire::startTester(tester, port);
        usleep(100000);
        int status;
        if (waitpid(pid, &status, WNOHANG) == 0)
            return port;
    }
    return -1;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zem_click_bench TESTER [CLICKS]\n");
        return 2;
    }
    int clicks = argc > 2 ? std::atoi(argv[2]) : 100;
    char dir[] = "/tmp/zem_click_bench_XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0)
        return 1;
    XvfbServer xvfb;
    if (!xvfb.start())
        return 1;
    pid_t viewersTester, plainTester;
    int base = 30000 + getpid() % 20000;
    int viewerPort = startOn(argv[1], base, viewersTester);
    int plainPort = startOn(argv[1], base + 100, plainTester);
    static char name[] = "zem_click_bench";
    static char* args[] = {name, nullptr};
    int n = 1;
    openViewer(&n, args);
    if (viewerPort < 0 || plainPort < 0 ||
        std::strcmp(RemoteClient::open("127.0.0.1", viewerPort), "connected"))
        return 1;
    showGraphicView(widgets().showCascade);
    int sock = wire::connectTo(plainPort);
    wire::Client plain(sock);
    std::vector<double> viaViewer, viaClient;
    for (int i = 0; i < clicks; ++i) {
        int x = 10 + i % 300, y = 20 + i % 200;
        auto a = Clock::now();
        clickPane(x, y);
        auto b = Clock::now();
        char record[96];
        std::snprintf(record, sizeof record, "buttonpress{x=%d y=%d button=0}", x, y);
        std::string req = wire::request(record, "xin.txt");
        auto c = Clock::now();
        size_t got = plain.exchange(req);
        auto d = Clock::now();
        if (got == 0 || GrcBase::m_Start == nullptr)
            return 1;
        viaViewer.push_back(micros(a, b));
        viaClient.push_back(micros(c, d));
    }
    double v = median(viaViewer), p = median(viaClient);
    std::printf("interactive round trip, 1,000-command picture, median of %d clicks (us)\n", clicks);
    std::printf("%-30s %10s %12s %10s\n", "case", "viewer", "plain client", "added");
    std::printf("%-30s %10.1f %12.1f %10.1f\n", "click to redrawn picture", v, p, v - p);
    RemoteClient::close();
    close(sock);
    wire::stop(viewersTester);
    wire::stop(plainTester);
    std::string rm = std::string("rm -rf ") + dir;
    return std::system(rm.c_str()) == 0 ? 0 : 1;
}
