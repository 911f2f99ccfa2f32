// The real main window, built once per test process on a private Xvfb, and
// the helpers tests use to find its widgets by name and drive them.
#ifndef ZEM_TESTS_VIEWERFIXTURE_H
#define ZEM_TESTS_VIEWERFIXTURE_H

#include <gtest/gtest.h>

#include <Xm/SelectioB.h>
#include <Xm/Text.h>
#include <Xm/ToggleB.h>

#include <string>
#include <unistd.h>

#include "ScratchDir.h"
#include "PickBox.h"
#include "ViewerApp.h"
#include "ViewerSession.h"
#include "ViewerWidgets.h"

class ViewerTest : public ::testing::Test {
protected:
    static Widget shell()
    {
        static Widget built = nullptr;
        if (!built) {
            static char name[] = "viewer_tests";
            static char* argv[] = {name, nullptr};
            int argc = 1;
            built = openViewer(&argc, argv);
        }
        return built;
    }
    void SetUp() override
    {
        ASSERT_NE(shell(), nullptr);
        ASSERT_FALSE(m_Dir.path().empty());
        ASSERT_EQ(chdir(m_Dir.path().c_str()), 0);
    }
    void TearDown() override { chdir("/"); }

    static Widget find(const char* name)
    {
        Widget widget = XtNameToWidget(shell(), name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static void press(const char* name) { XtCallCallbacks(find(name), XmNactivateCallback, nullptr); }
    static void settle()
    {
        XtAppContext app = XtWidgetToApplicationContext(shell());
        XSync(XtDisplay(shell()), False);
        while (XtAppPending(app))
            XtAppProcessEvent(app, XtIMAll);
    }
    static std::string text(Widget widget)
    {
        char* value = XmTextGetString(widget);
        std::string copy = value ? value : "";
        XtFree(value);
        return copy;
    }
    static void setText(Widget widget, const std::string& value)
    {
        XmTextSetString(widget, const_cast<char*>(value.c_str()));
    }
    // Settings > Record, the script's name typed and OK pressed; the toggle.
    static Widget recordInto(const std::string& file)
    {
        Widget toggle = find("*editmenu.Record");
        XmToggleButtonSetState(toggle, True, True);
        Widget prompt = find("*recordfile");
        setText(XmSelectionBoxGetChild(prompt, XmDIALOG_TEXT), file);
        XtCallCallbacks(prompt, XmNokCallback, nullptr);
        XtUnmanageChild(prompt);
        return toggle;
    }

    zemtest::ScratchDir m_Dir{"zem_viewer"};
};

#endif
