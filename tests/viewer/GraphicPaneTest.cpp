// The graphic view and the settings dialogs on a private Xvfb: input
// records from synthesised key and button events, the view switch and the
// saved log, the picture by its pixels, and what the dialogs show and keep.
#include "ViewerFixture.h"
#include "XvfbServer.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <Xm/ScrollBar.h>
#include <Xm/ToggleB.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "GrcDraw.h"
#include "GraphicPane.h"
#include "Parse.h"
#include "RemoteSession.h"
#include "RunCommand.h"
#include "StoreCv.h"
#include "VarBank.h"
#include "SettingsDialogs.h"
#include "ZemCall.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

const int xvfb = (useXvfbForAllTests(), 0);

// Local runs happen in the viewer's run worker, so each call leaves its
// name in calls.txt of the current directory for the test to count.
void called(const char* name) { std::ofstream("calls.txt", std::ios::app) << name << "\n"; }
int calls(const std::string& name)
{
    std::string all = readFile("calls.txt");
    int n = 0;
    for (size_t at = all.find(name + "\n"); at != std::string::npos; at = all.find(name + "\n", at + 1))
        ++n;
    return n;
}

// The picture the pane asks for: a red square at (20, 20)..(60, 60).
void ongraphic()
{
    called("ongraphic");
    SetForeground(255, 0, 0);
    FillRect(20, 20, 60, 60);
}
void first() { called("first"); }
// A click leaves a blue square where it fell.
void buttonpress()
{
    called("buttonpress");
    int x = Parse::getInStore()["x"], y = Parse::getInStore()["y"];
    Parse::getOutStore()["button"] = int(Parse::getInStore()["button"]);
    SetForeground(0, 0, 200);
    FillRect(x - 3, y - 3, x + 3, y + 3);
    Parse::getOutStore()["at"] = x * 1000 + y;
}
void second() { called("second"); }

// A black box from (20, 20) to (80, 60).
void box()
{
    SetForeground(0, 0, 0);
    FillRect(20, 20, 80, 60);
}

ZemCall ongraphicCall("ongraphic", ongraphic);
ZemCall boxCall("box", box);
ZemCall firstCall("first", first);
ZemCall buttonpressCall("buttonpress", buttonpress);
ZemCall secondCall("second", second);

class PaneTest : public ViewerTest {
protected:
    void TearDown() override
    {
        showTextView(widgets().showCascade);
        ViewerTest::TearDown();
    }
    static XEvent eventAt(int type, int x, int y)
    {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        Display* display = XtDisplay(shell());
        event.xany.type = type;
        event.xany.display = display;
        event.xany.window = XtWindow(widgets().outtext);
        event.xkey.root = DefaultRootWindow(display);
        event.xkey.x = x;
        event.xkey.y = y;
        event.xkey.same_screen = True;
        return event;
    }
    // A key as the keyboard gives it, shifted where the keysym needs it.
    static void key(KeySym sym, int x = 5, int y = 6)
    {
        XEvent event = eventAt(KeyPress, x, y);
        Display* display = XtDisplay(shell());
        event.xkey.keycode = XKeysymToKeycode(display, sym);
        if (XkbKeycodeToKeysym(display, event.xkey.keycode, 0, 0) != sym)
            event.xkey.state = ShiftMask;
        XtDispatchEvent(&event);
    }
    static void click(int x, int y, unsigned button)
    {
        XEvent event = eventAt(ButtonPress, x, y);
        event.xbutton.button = button;
        XtDispatchEvent(&event);
    }
    std::string record() { return readFile(m_Dir.file("xin.txt")); }
    bool noRecord() { return !std::ifstream(m_Dir.file("xin.txt")).good(); }
    static std::string label(Widget w)
    {
        XmString value = nullptr;
        XtVaGetValues(w, XmNlabelString, &value, nullptr);
        char* text = nullptr;
        XmStringGetLtoR(value, XmFONTLIST_DEFAULT_TAG, &text);
        std::string copy = text ? text : "";
        XtFree(text);
        XmStringFree(value);
        return copy;
    }
};

TEST_F(PaneTest, KeysMakeTheirRecordsOnlyInTheGraphicView)
{
    struct Case {
        KeySym sym;
        const char* key;  // null: no record
    };
    const Case cases[] = {
        {XK_a, "a"},
        {XK_quotedbl, "apostrophe"},
        {XK_apostrophe, "'"},
        {XK_grave, nullptr},
        {XK_BackSpace, "backspace"},
        {XK_Tab, "tab"},
        {XK_Return, "return"},
        {XK_Escape, "esc"},
        {XK_Delete, "delete"},
        {XK_Up, "up"},
        {XK_Down, "down"},
        {XK_Left, "left"},
        {XK_Right, "right"},
        {XK_Prior, "pageup"},
        {XK_Next, "pagedown"},
        {XK_Home, "home"},
        {XK_End, "end"},
        {XK_Insert, "insert"},
        {XK_F2, nullptr},
        {XK_Shift_L, nullptr},
    };
    key(XK_a);
    EXPECT_TRUE(noRecord()) << "a key in the text view wrote " << record();
    showGraphicView(widgets().showCascade);
    for (const Case& c : cases) {
        std::remove(m_Dir.file("xin.txt").c_str());
        key(c.sym);
        if (c.key)
            EXPECT_EQ(record(), std::string("keypress{x=5 y=6 key=\"") + c.key + "\"}") << c.key;
        else
            EXPECT_TRUE(noRecord()) << XKeysymToString(c.sym) << " wrote " << record();
    }
    // This program has no "keypress": the message line says so.
    EXPECT_EQ(text(widgets().outname), "X=0005 Y=0006  no test function \"keypress\"");
}

TEST_F(PaneTest, ClicksMakeButtonRecordsAndShowThePosition)
{
    showGraphicView(widgets().showCascade);
    click(12, 345, 1);
    EXPECT_EQ(record(), "buttonpress{x=12 y=345 button=0}");
    EXPECT_EQ(text(widgets().outname), "X=0012 Y=0345");
    click(7, 8, 3);
    EXPECT_EQ(record(), "buttonpress{x=7 y=8 button=2}");
}

TEST_F(PaneTest, F1SwitchesViewsAndGraphicRunsOngraphicOnce)
{
    int before = calls("ongraphic");
    key(XK_F1);
    EXPECT_EQ(int(session().graphicMode()), 1);
    EXPECT_EQ(label(widgets().showCascade), "Show (Graphic)");
    showGraphicView(widgets().showCascade);
    EXPECT_EQ(calls("ongraphic"), before + 1);
    EXPECT_EQ(record(), "ongraphic{}");
    std::remove(m_Dir.file("xin.txt").c_str());
    key(XK_F1);
    EXPECT_EQ(int(session().graphicMode()), 0);
    EXPECT_EQ(label(widgets().showCascade), "Show (Textlog)");
    EXPECT_TRUE(noRecord());
}

TEST_F(PaneTest, PictureIsPaintedOnThePane)
{
    showGraphicView(widgets().showCascade);
    settle();
    redrawPane();
    XImage* image =
        XGetImage(XtDisplay(shell()), XtWindow(widgets().outtext), 40, 40, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    XColor color;
    color.pixel = pixel;
    XQueryColor(XtDisplay(shell()), DefaultColormap(XtDisplay(shell()), 0), &color);
    EXPECT_EQ(color.red >> 8, 255);
    EXPECT_EQ(color.green >> 8, 0);
}

// The log of a Run started in the graphic view goes aside; the text view
// brings it back, and the generated runs leave it alone.
TEST_F(PaneTest, RunInGraphicViewKeepsItsLogAside)
{
    setText(widgets().inname, "s.txt");
    setText(widgets().intext, "resultfile \"r.txt\"\nfirst { }\n");
    press("form.Run");
    std::string log = text(widgets().outtext);
    ASSERT_NE(log.find("first"), std::string::npos);
    showGraphicView(widgets().showCascade);
    EXPECT_EQ(text(widgets().outtext), "");
    press("form.Run");
    EXPECT_EQ(text(widgets().outtext), "");
    click(1, 1, 1);
    showTextView(widgets().showCascade);
    EXPECT_EQ(text(widgets().outtext).find("first"), 0u);
}

// A selection in the editor runs only the test it names.
TEST_F(PaneTest, SelectionRunsTheSelectedTest)
{
    const std::string script = "resultfile \"r.txt\"\nfirst { }\nsecond { }\n";
    writeFile(m_Dir.file("s.txt"), script);
    setText(widgets().inname, "s.txt");
    setText(widgets().intext, script);
    XmTextSetSelection(widgets().intext, script.find("second"), script.find("second") + 6, CurrentTime);
    int firstBefore = calls("first"), secondBefore = calls("second");
    press("form.Run");
    EXPECT_EQ(calls("first"), firstBefore);
    EXPECT_EQ(calls("second"), secondBefore + 1);
    XmTextClearSelection(widgets().intext, CurrentTime);
}

// A PNG of the main window in the build tree, to be looked at.
void screenshot(const char* name)
{
    XSync(XtDisplay(widgets().shell), False);
    std::string command = std::string(ZEM_XSHOT) + " " + std::to_string(XtWindow(widgets().shell)) + " " +
                          ZEM_SHOT_DIR + "/" + name;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

// The pane's colour at (x, y) as 0xRRGGBB.
unsigned long colourAt(int x, int y)
{
    Display* display = XtDisplay(widgets().outtext);
    XImage* image = XGetImage(display, XtWindow(widgets().outtext), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    XColor c;
    c.pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    XQueryColor(display, DefaultColormap(display, 0), &c);
    return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
}

// A failing picture check: the message line names the difference, and the
// graphic view shows expected and actual overlaid, then (F2) expected
// alone, actual alone and the plain picture again.
TEST_F(PaneTest, FailingPictureCheckShowsTheOverlay)
{
    writeFile(m_Dir.file("box.zdr"), "# zem drawing\ncolor 0 0 0\nrect 20 20 60 60 fill\n");
    setText(widgets().inname, "s.txt");
    setText(widgets().intext, "resultfile \"r.txt\"\nbox { verify: picture \"box.zdr\" }\n");
    press("form.Run");
    EXPECT_EQ(text(widgets().outname), "picture box.zdr: command 2 rect x2 = 80, expected 60");
    showGraphicView(widgets().showCascade);
    // Keys go to the widget with the keyboard focus, as a click gives it.
    XmProcessTraversal(widgets().outtext, XmTRAVERSE_CURRENT);
    settle();
    redrawPane();
    struct Step {
        unsigned long outside, both, actualOnly;
    } steps[] = {
        {0xffffff, 0, 0},                // both: white ground, the shared part and the actual part coloured
        {0xffffff, 0, 0xffffff},         // expected alone: nothing where only actual drew
        {0xffffff, 0, 0},                // actual alone
        {0xd2d2d7, 0xff0000, 0xd2d2d7},  // the plain picture: ongraphic's red square on grey
    };
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        unsigned long outside = colourAt(200, 200), both = colourAt(40, 40), actualOnly = colourAt(70, 40);
        EXPECT_EQ(outside, steps[i].outside) << "step " << i;
        if (steps[i].both)
            EXPECT_EQ(both, steps[i].both) << "step " << i;
        else
            EXPECT_NE(both, outside) << "step " << i;
        if (steps[i].actualOnly)
            EXPECT_EQ(actualOnly, steps[i].actualOnly) << "step " << i;
        else
            EXPECT_NE(actualOnly, outside) << "step " << i;
        if (i == 0)
            screenshot("viewer-picture-overlay.png");
        key(XK_F2);
        settle();
    }
}

// Accept from the File menu: the failing picture takes the actual drawing,
// the message line says so, and the next Run passes.
TEST_F(PaneTest, AcceptTakesTheActualPicture)
{
    writeFile(m_Dir.file("box.zdr"), "# zem drawing\ncolor 0 0 0\nrect 20 20 60 60 fill\n");
    setText(widgets().inname, "s.txt");
    const std::string script = "resultfile \"r.txt\"\nbox { verify: picture \"box.zdr\" }\n";
    setText(widgets().intext, script);
    press("form.Run");
    press("*filemenu.Accept");
    EXPECT_EQ(text(widgets().outname), "accepted 0 values and 1 pictures");
    EXPECT_EQ(readFile(m_Dir.file("box.zdr")), readFile(m_Dir.file("box.actual.zdr")));
    EXPECT_EQ(text(widgets().intext), script);
    press("form.Run");
    EXPECT_EQ(text(widgets().outname), "r.txt");
    press("*filemenu.Accept");
    EXPECT_EQ(text(widgets().outname), "nothing to accept");
    screenshot("viewer-accept.png");
}

// Record: the toggle asks for a script, every click in the graphic view
// is written into it as a test, and that script, run, passes.
TEST_F(PaneTest, RecordWritesClicksAsATestScriptThatPasses)
{
    setText(widgets().inname, "s.txt");
    setText(widgets().intext, "resultfile \"r.txt\"\n{ k = 2 }\n");
    showGraphicView(widgets().showCascade);
    Widget toggle = recordInto("rec.txt");
    click(40, 50, 1);
    click(90, 60, 1);
    EXPECT_EQ(text(widgets().outname), "X=0090 Y=0060  recorded 3 into rec.txt");
    settle();
    redrawPane();
    screenshot("viewer-record.png");
    XmToggleButtonSetState(toggle, False, True);
    EXPECT_EQ(text(widgets().outname), "recorded 3 tests into rec.txt");
    std::string recorded = readFile(m_Dir.file("rec.txt"));
    EXPECT_NE(recorded.find("{ k = 2 }\n"), std::string::npos);
    EXPECT_NE(recorded.find("buttonpress {\n  x=90 y=60 button=0\n  verify:\n  button == 0\n"
                            "  at == 90060\n  picture \"rec_3.zdr\"\n}\n"),
              std::string::npos)
        << recorded;
    showTextView(widgets().showCascade);
    setText(widgets().inname, "rec.txt");
    setText(widgets().intext, recorded);
    press("form.Run");
    EXPECT_EQ(text(widgets().outname), "rec_result.txt");
    std::string log = text(widgets().outtext);
    EXPECT_NE(log.find("buttonpress\n{"), std::string::npos);
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
    screenshot("viewer-record-replayed.png");
}

class DialogTest : public PaneTest {
protected:
    static Widget in(const char* name) { return XtNameToWidget(shell(), name); }
};

TEST_F(DialogTest, TraceSettingsShowAndKeepTheDepth)
{
    session().setTrace(0, "");
    openTraceSettings(nullptr, nullptr, nullptr);
    Widget dialog = traceDialogShell();
    ASSERT_NE(dialog, nullptr);
    openTraceSettings(nullptr, nullptr, nullptr);
    EXPECT_EQ(traceDialogShell(), dialog) << "a second instance";
    Widget bar = in("*trdepth");
    EXPECT_EQ(text(in("*dtext")), "None");
    XmScrollBarSetValues(bar, 37, 10, 1, 10, True);
    EXPECT_EQ(text(in("*dtext")), "37");
    XmScrollBarSetValues(bar, 100, 10, 1, 10, True);
    EXPECT_EQ(text(in("*dtext")), "Max");
    setText(in("*trfunc"), "fib");
    XtCallCallbacks(XtNameToWidget(XtParent(bar), "Apply"), XmNactivateCallback, nullptr);
    settle();
    EXPECT_EQ(traceDialogShell(), nullptr);
    EXPECT_EQ(session().settings().traceDepth, 100);
    EXPECT_EQ(session().settings().traceRoot, "fib");
    openTraceSettings(nullptr, nullptr, nullptr);
    ASSERT_NE(traceDialogShell(), nullptr);
    bar = in("*trdepth");
    EXPECT_EQ(text(in("*dtext")), "Max");
    EXPECT_EQ(text(in("*trfunc")), "fib");
    XmScrollBarSetValues(bar, 37, 10, 1, 10, True);
    XtCallCallbacks(XtNameToWidget(XtParent(bar), "Close"), XmNactivateCallback, nullptr);
    settle();
    EXPECT_EQ(traceDialogShell(), nullptr);
    EXPECT_EQ(session().settings().traceDepth, 100);
}

TEST_F(DialogTest, RemoteSettingsStatusTextsAndApply)
{
    openRemoteSettings(nullptr, reinterpret_cast<XtPointer>(applyRemote), nullptr);
    ASSERT_NE(remoteStatusField(), nullptr);
    Widget form = XtParent(remoteStatusField());
    Widget toggle = XtNameToWidget(form, "OFF");
    EXPECT_EQ(text(XtNameToWidget(form, "remhost")), session().settings().host);
    EXPECT_EQ(text(XtNameToWidget(form, "remport")), "6500");
    EXPECT_EQ(text(remoteStatusField()), "disconnected");
    EXPECT_EQ(label(toggle), "Remote OFF");
    Widget apply = XtNameToWidget(form, "subform.Apply");
    XtCallCallbacks(apply, XmNactivateCallback, nullptr);
    EXPECT_EQ(text(remoteStatusField()), "ignored");
    struct Case {
        const char* host;
        const char* port;
        const char* status;
    };
    // Port 1 on the loopback has no listener. The logic's tests cover the
    // other outcomes of Apply; this one shows one reaching the dialog.
    const Case cases[] = {{"127.0.0.1", "1", "no connect"}};
    for (const Case& c : cases) {
        setText(XtNameToWidget(form, "remhost"), c.host);
        setText(XtNameToWidget(form, "remport"), c.port);
        XmToggleButtonSetState(toggle, True, True);
        EXPECT_EQ(label(toggle), "Remote ON ");
        XtCallCallbacks(apply, XmNactivateCallback, nullptr);
        EXPECT_EQ(text(remoteStatusField()), c.status);
        EXPECT_FALSE(XmToggleButtonGetState(toggle));
        EXPECT_EQ(label(toggle), "Remote OFF");
    }
    settle();
    ASSERT_NE(remoteStatusField(), nullptr) << "Apply took the dialog down";
    XtCallCallbacks(XtNameToWidget(form, "Close"), XmNactivateCallback, nullptr);
    settle();
    EXPECT_EQ(remoteStatusField(), nullptr);
    openRemoteSettings(nullptr, reinterpret_cast<XtPointer>(applyRemote), nullptr);
    ASSERT_NE(remoteStatusField(), nullptr);
    EXPECT_EQ(text(XtNameToWidget(XtParent(remoteStatusField()), "remhost")), "127.0.0.1");
    EXPECT_EQ(text(XtNameToWidget(XtParent(remoteStatusField()), "remport")), "1");
}

}
