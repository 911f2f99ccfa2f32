// The main window on a private Xvfb: its widgets by name, loading and
// saving scripts, New and Clear Log, and Run on the built-in "zemtst".
#include "ViewerFixture.h"
#include "XvfbServer.h"
#include "FileSizeLimit.h"

#include <Xm/Scale.h>

#include "GrcBase.h"
#include "GrcDraw.h"
#include "ScriptFile.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;

const int xvfb = (useXvfbForAllTests(), 0);

Widget childNamed(Widget parent, const std::string& name)
{
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(parent, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i)
        if (name == XtName(children[i]))
            return children[i];
    return nullptr;
}

TEST_F(ViewerTest, EveryWidgetOfTheMainWindowIsThereByName)
{
    const char* names[] = {"form",
                           "form.rootmenu",
                           "form.<<",
                           "form.>>",
                           "form.search",
                           "form.inname",
                           "form.outname",
                           "form.Scale",
                           "*intext",
                           "*outtext",
                           "form.ReRead",
                           "form.Save",
                           "form.Run",
                           "form.Clear Log",
                           "*filemenu.New",
                           "*filemenu.Open",
                           "*filemenu.SaveAs",
                           "*filemenu.Exit",
                           "*editmenu.Show (Textlog)",
                           "*output.TextLog",
                           "*output.Graphic",
                           "*rootmenu.File  ",
                           "*rootmenu.Settings "};
    for (const char* name : names)
        find(name);
    // Names with dots cannot be written as resource paths.
    for (const char* name : {"Trace  ...", "Remote ..."})
        EXPECT_NE(childNamed(find("*editmenu"), name), nullptr) << name;
    char* title = nullptr;
    XtVaGetValues(shell(), XmNtitle, &title, nullptr);
    EXPECT_STREQ(title, "ZemViewer 1.56B");
    press("*filemenu.New");
    EXPECT_EQ(text(find("form.inname")), "in.txt");
}

// Load drops carriage returns; save writes exactly one final newline.
TEST_F(ViewerTest, LoadAndSaveRoundTrips)
{
    struct Case {
        const char* onDisk;
        const char* inEditor;
        const char* saved;
    } cases[] = {
        {"a = 1\r\nb = 2\r\n", "a = 1\nb = 2\n", "a = 1\nb = 2\n"},
        {"x\ny", "x\ny", "x\ny\n"},
        {"a", "a", "a\n"},
        {"a\n", "a\n", "a\n"},
        {"", "", "\n"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(writeFile("s.txt", c.onDisk), 1);
        setText(find("form.inname"), "s.txt");
        press("form.ReRead");
        EXPECT_EQ(text(find("*intext")), c.inEditor) << c.onDisk;
        EXPECT_EQ(XmTextGetInsertionPosition(find("*intext")), 0);
        press("form.Save");
        EXPECT_EQ(readFile("s.txt"), c.saved) << c.onDisk;
    }
}

// Load shows the whole path, save only the part after the last "/".
TEST_F(ViewerTest, ScriptNameFieldAfterLoadAndSave)
{
    std::filesystem::create_directories("dir/sub");
    ASSERT_EQ(writeFile("dir/sub/x.txt", "t {}\n"), 1);
    char path[] = "dir/sub/x.txt";
    loadOrSave(path, 0);
    EXPECT_EQ(text(find("form.inname")), "dir/sub/x.txt");
    loadOrSave(path, 1);
    EXPECT_EQ(text(find("form.inname")), "x.txt");
    char plain[] = "plain.txt";
    loadOrSave(plain, 1);
    EXPECT_EQ(text(find("form.inname")), "plain.txt");
}

TEST_F(ViewerTest, UnreadableFileEmptiesTheEditor)
{
    setText(find("*intext"), "kept");
    char missing[] = "missing.txt";
    loadOrSave(missing, 0);
    EXPECT_EQ(text(find("*intext")), "");
}

// A save that fails leaves the file and the script-name field as they were
// and says why in the message line.
TEST_F(ViewerTest, FailedSaveKeepsTheFileAndSaysSo)
{
    struct Case {
        const char* path;
        int sizeLimit;
        const char* message;
    } cases[] = {
        {"no/such/dir/x.txt", 0, "not saved: no/such/dir/x.txt: No such file or directory"},
        {"full.txt", 8, "not saved: full.txt: File too large"},
    };
    ASSERT_EQ(writeFile("full.txt", "old\n"), 1);
    for (const Case& c : cases) {
        setText(find("form.inname"), "before.txt");
        setText(find("*intext"), std::string(100, 'x'));
        char path[64];
        std::snprintf(path, sizeof path, "%s", c.path);
        {
            zemtest::FileSizeLimit limit(c.sizeLimit ? c.sizeLimit : RLIM_INFINITY);
            loadOrSave(path, 1);
        }
        EXPECT_EQ(text(find("form.inname")), "before.txt") << c.path;
        EXPECT_EQ(text(find("form.outname")), c.message);
    }
    EXPECT_EQ(readFile("full.txt"), "old\n");
}

TEST_F(ViewerTest, RunShowsTheResultLogAndLeavesTheScriptFileAlone)
{
    const char* script = "resultfile \"r.txt\"\nzemtst { v = 7 verify: v == 7 }\n";
    ASSERT_EQ(writeFile("in.txt", script), 1);
    setText(find("form.inname"), "in.txt");
    press("form.ReRead");
    // The run takes the edited text, not the file on disk.
    setText(find("*intext"), "resultfile \"r.txt\"\nzemtst { v = 8 verify: v == 8 }");
    press("form.Run");
    EXPECT_EQ(text(find("form.outname")), "r.txt");
    EXPECT_NE(text(find("*outtext")).find("v == 8"), std::string::npos) << text(find("*outtext"));
    EXPECT_EQ(readFile("in.txt"), script);
    EXPECT_FALSE(std::filesystem::exists("in.txt_"));
}

// A "<script>_" of the user's own survives the run, and so does the script.
TEST_F(ViewerTest, RunKeepsAnExistingUnderscoreFile)
{
    ASSERT_EQ(writeFile("in.txt", "disk\r\n"), 1);
    ASSERT_EQ(writeFile("in.txt_", "mine"), 1);
    setText(find("form.inname"), "in.txt");
    setText(find("*intext"), "resultfile \"r.txt\"\nzemtst { v = 1 }");
    press("form.Run");
    EXPECT_EQ(text(find("form.outname")), "r.txt");
    EXPECT_EQ(readFile("in.txt_"), "mine");
    EXPECT_EQ(readFile("in.txt"), "disk\r\n");
}

TEST_F(ViewerTest, RunSelectsTheCharacterOfAScriptError)
{
    setText(find("form.inname"), "bad.txt");
    setText(find("*intext"), "resultfile \"r.txt\"\nzemtst { v = = }\n");
    press("form.Run");
    XmTextPosition left = -1, right = -1;
    ASSERT_TRUE(XmTextGetSelectionPosition(find("*intext"), &left, &right));
    EXPECT_EQ(right, left + 1);
    EXPECT_GT(left, 19);
    // A new script that was not on disk leaves none behind.
    EXPECT_FALSE(std::filesystem::exists("bad.txt"));
}

TEST_F(ViewerTest, RunWithEmptyScriptNameDoesNothing)
{
    setText(find("form.outname"), "untouched");
    setText(find("form.inname"), "");
    press("form.Run");
    EXPECT_EQ(text(find("form.outname")), "untouched");
}

TEST_F(ViewerTest, NewAndClearLogEmptyThePanes)
{
    GrcBase::m_Exec = 1;
    DrawLine(1, 2, 3, 4);
    setText(find("*outtext"), "log");
    setText(find("form.outname"), "r.txt");
    press("form.Clear Log");
    EXPECT_EQ(text(find("*outtext")), "");
    EXPECT_EQ(text(find("form.outname")), "");
    EXPECT_EQ(GrcBase::m_Start, nullptr);
    setText(find("*intext"), "script");
    setText(find("form.inname"), "other.txt");
    press("*filemenu.New");
    EXPECT_EQ(text(find("*intext")), "");
    EXPECT_EQ(text(find("form.inname")), "in.txt");
}

}
