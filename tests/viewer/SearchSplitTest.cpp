// The search of <<, >> in the focused pane, and the splitter's arithmetic
// and its effect on the two panes.
#include "ViewerFixture.h"
#include "XvfbServer.h"

#include <Xm/Scale.h>

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
        {"abc", 0, "form.>>", 4, 4},   {"abc", 4, "form.>>", 8, 8}, {"abc", 8, "form.>>", -1, 11},
        {"abc", 8, "form.<<", 4, 4},   {"abc", 4, "form.<<", 0, 0}, {"abc", 0, "form.<<", -1, 0},
        {"ABC", 0, "form.>>", -1, 11}, {"", 4, "form.<<", -1, 0},   {"c a", 11, "form.<<", 6, 6},
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

TEST(Splitter, EdgesOnAnEightHundredPixelScale)
{
    struct Case {
        int value, right, left;
    } cases[] = {{600, 584, 604}, {1000, 940, 960}, {0, 40, 10}, {500, 490, 510}, {20, 40, 60}, {19, 40, 10}};
    for (const Case& c : cases) {
        int right = -1, left = -1;
        splitterEdges(c.value, 800, &right, &left);
        EXPECT_EQ(right, c.right) << c.value;
        EXPECT_EQ(left, c.left) << c.value;
    }
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
