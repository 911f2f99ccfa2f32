// The search of <<, >> in the focused pane, and the splitter's effect on
// the two panes.
#include "ViewerFixture.h"
#include "XvfbServer.h"

#include <Xm/Scale.h>

#include "TextSearch.h"

namespace {

const int xvfb = (useXvfbForAllTests(), 0);

// "abc abc abc": matches at 0, 4 and 8. A search starts one character away
// from the insertion point; without a match it ends at the pane's edge.
TEST_F(ViewerTest, SearchMovesFromMatchToMatchAndStopsAtTheEdges)
{
    struct Case {
        const char* pattern;
        int start;
        const char* button;
        int selected;  // -1: nothing selected
        int cursor;
    } cases[] = {
        {"abc", 0, "form.>>", 4, 4},
        {"abc", 4, "form.>>", 8, 8},
        {"abc", 8, "form.>>", -1, 11},
        {"abc", 8, "form.<<", 4, 4},
        {"abc", 4, "form.<<", 0, 0},
        {"abc", 0, "form.<<", -1, 0},
        {"ABC", 0, "form.>>", -1, 11},
        {"", 4, "form.<<", -1, 0},
        {"c a", 11, "form.<<", 6, 6},
    };
    Widget editor = find("*intext");
    XtCallCallbacks(editor, XmNfocusCallback, nullptr);
    setText(editor, "abc abc abc");
    for (const Case& c : cases) {
        setText(find("form.search"), c.pattern);
        XmTextSetInsertionPosition(editor, c.start);
        press(c.button);
        XmTextPosition left = -1, right = -1;
        bool selected = XmTextGetSelectionPosition(editor, &left, &right);
        EXPECT_EQ(selected ? int(left) : -1, c.selected) << c.pattern << " from " << c.start << c.button;
        EXPECT_EQ(XmTextGetInsertionPosition(editor), c.cursor) << c.pattern << " from " << c.start;
    }
}

TEST_F(ViewerTest, SearchWorksInThePaneThatHadTheFocusLast)
{
    Widget editor = find("*intext"), log = find("*outtext");
    setText(editor, "needle");
    setText(log, "hay needle");
    XmTextSetInsertionPosition(log, 0);
    XtCallCallbacks(log, XmNfocusCallback, nullptr);
    setText(find("form.search"), "needle");
    press("form.>>");
    XmTextPosition left, right;
    ASSERT_TRUE(XmTextGetSelectionPosition(log, &left, &right));
    EXPECT_EQ(left, 4);
    EXPECT_FALSE(XmTextGetSelectionPosition(editor, &left, &right));
}

TEST_F(ViewerTest, MovingTheScaleMovesBothPanes)
{
    Widget scale = find("form.Scale");
    Dimension width = 0;
    XtVaGetValues(scale, XmNwidth, &width, nullptr);
    XmScaleSetValue(scale, 600);
    XmScaleCallbackStruct data = {};
    data.reason = XmCR_VALUE_CHANGED;
    data.value = 600;
    XtCallCallbacks(scale, XmNvalueChangedCallback, &data);
    int expectRight, expectLeft;
    splitterEdges(600, width, &expectRight, &expectLeft);
    int right = 0, left = 0;
    XtVaGetValues(XtParent(find("*intext")), XmNrightPosition, &right, nullptr);
    XtVaGetValues(XtParent(find("*outtext")), XmNleftPosition, &left, nullptr);
    EXPECT_EQ(right, expectRight);
    EXPECT_EQ(left, expectLeft);
    EXPECT_EQ(left - right, 20);
}

}

namespace {

// Pointer and key events made here and handed to the widgets' own actions,
// as their translations do for events from the server.
void sendButton(Widget widget)
{
    XEvent event = {};
    event.xbutton.display = XtDisplay(widget);
    event.xbutton.window = XtWindow(widget);
    event.xbutton.button = Button1;
    event.xbutton.x = event.xbutton.y = 5;
    event.xbutton.same_screen = True;
    event.type = ButtonPress;
    XtCallActionProc(widget, "ArmAndActivate", &event, nullptr, 0);
}

void sendKeys(Widget widget, const char* keys)
{
    Display* display = XtDisplay(widget);
    XEvent event = {};
    event.type = KeyPress;
    event.xkey.display = display;
    event.xkey.window = XtWindow(widget);
    event.xkey.same_screen = True;
    for (const char* k = keys; *k; ++k) {
        char name[2] = {*k, 0};
        event.xkey.keycode = XKeysymToKeycode(display, XStringToKeysym(name));
        XtCallActionProc(widget, "self-insert", &event, nullptr, 0);
    }
}

// Typed into the search field and pressed with the pointer, through the
// widgets' own actions.
TEST_F(ViewerTest, TypedSearchAndPressedButtonSelectTheMatch)
{
    Widget editor = find("*intext");
    XtCallCallbacks(editor, XmNfocusCallback, nullptr);
    setText(editor, "one two one");
    XmTextSetInsertionPosition(editor, 0);
    setText(find("form.search"), "");
    sendKeys(find("form.search"), "one");
    settle();
    EXPECT_EQ(text(find("form.search")), "one");
    sendButton(find("form.>>"));
    settle();
    XmTextPosition left = -1, right = -1;
    ASSERT_TRUE(XmTextGetSelectionPosition(editor, &left, &right));
    EXPECT_EQ(left, 8);
    EXPECT_EQ(right, 11);
}

}
