// The file dialog on a private Xvfb: its two lists, directory changes, the
// repeated selection that confirms, and what Open and SaveAs hand back.
#include "ViewerFixture.h"
#include "XvfbServer.h"

#include <Xm/List.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

using zemtest::writeFile;

const int xvfb = (useXvfbForAllTests(), 0);

std::vector<std::string> calls;

void record(char* name, int mode) { calls.push_back(std::to_string(mode) + ":" + name); }

class PickBoxTest : public ViewerTest {
protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        calls.clear();
        std::filesystem::create_directory("sub");
        writeFile("b.txt", "");
        writeFile("a.c", "");
        writeFile(".txt", "");
        writeFile("sub/inner.txt", "");
    }
    void open(int mode)
    {
        m_Box = PickBox();
        m_Box.parent = find("form");
        m_Box.mode = mode;
        m_Box.callback = record;
        PickBox::fdfunc(nullptr, &m_Box, nullptr);
        settle();
    }
    static std::vector<std::string> items(Widget list)
    {
        XmStringTable table = nullptr;
        int count = 0;
        XtVaGetValues(list, XmNitems, &table, XmNitemCount, &count, nullptr);
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i) {
            char* t = static_cast<char*>(
                XmStringUnparse(table[i], nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
            texts.push_back(t);
            XtFree(t);
        }
        return texts;
    }
    // Selects the entry as a user's click does, callback included.
    static void select(Widget list, const std::string& entry)
    {
        XmString item = XmStringCreateLocalized(const_cast<char*>(entry.c_str()));
        XmListSelectItem(list, item, True);
        XmStringFree(item);
    }
    static std::string cwd()
    {
        char buffer[4096];
        return getcwd(buffer, sizeof buffer) ? buffer : "";
    }

    PickBox m_Box;
};

TEST_F(PickBoxTest, TxtFilesComeFirstAndDirectoriesIncludeTheParent)
{
    open(0);
    std::vector<std::string> files = items(m_Box.fileList);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.begin() + 2),
              (std::set<std::string>{"b.txt", ".txt"}));
    EXPECT_EQ(files[2], "a.c");
    std::vector<std::string> dirs = items(m_Box.dirList);
    EXPECT_EQ(std::set<std::string>(dirs.begin(), dirs.end()), (std::set<std::string>{"..", "sub"}));
    EXPECT_EQ(text(m_Box.text), cwd() + "/");
}

TEST_F(PickBoxTest, SelectingADirectoryChangesTheProcessDirectory)
{
    std::string start = cwd();
    open(0);
    select(m_Box.dirList, "sub");
    EXPECT_EQ(cwd(), start + "/sub");
    EXPECT_EQ(items(m_Box.fileList), std::vector<std::string>{"inner.txt"});
    select(m_Box.dirList, "..");
    EXPECT_EQ(cwd(), start);
}

// Selecting a file fills the path field; the same entry again confirms
// and takes the dialog away; another file in between only moves the arm.
TEST_F(PickBoxTest, RepeatedSelectionConfirmsWithTheBareName)
{
    open(0);
    Widget shell = m_Box.shell;
    select(m_Box.fileList, "b.txt");
    EXPECT_EQ(text(m_Box.text), cwd() + "/b.txt");
    EXPECT_TRUE(calls.empty());
    select(m_Box.fileList, "a.c");
    EXPECT_TRUE(calls.empty());
    select(m_Box.fileList, "a.c");
    EXPECT_EQ(calls, std::vector<std::string>{"0:a.c"});
    settle();
    EXPECT_EQ(XtNameToWidget(find("form"), "Open"), nullptr);
    (void)shell;
}

TEST_F(PickBoxTest, ButtonsHandBackTheNameOrTheWholePathField)
{
    open(0);
    XtCallCallbacks(XtNameToWidget(m_Box.shell, "*Open"), XmNactivateCallback, nullptr);
    open(0);
    select(m_Box.fileList, "b.txt");
    XtCallCallbacks(XtNameToWidget(m_Box.shell, "*Open"), XmNactivateCallback, nullptr);
    open(1);
    setText(m_Box.text, "/elsewhere/typed.txt");
    XtCallCallbacks(XtNameToWidget(m_Box.shell, "*Save"), XmNactivateCallback, nullptr);
    open(1);
    XtCallCallbacks(XtNameToWidget(m_Box.shell, "*Cancel"), XmNactivateCallback, nullptr);
    EXPECT_EQ(calls, (std::vector<std::string>{"0:", "0:b.txt", "1:/elsewhere/typed.txt"}));
}

TEST_F(PickBoxTest, OverlongPathFieldIsCutToTheNameBuffer)
{
    open(1);
    setText(m_Box.text, std::string(9000, 'x'));
    XtCallCallbacks(XtNameToWidget(m_Box.shell, "*Save"), XmNactivateCallback, nullptr);
    EXPECT_EQ(std::strlen(m_Box.name), 8191u);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].size(), 2u + 8191u);
}

}
