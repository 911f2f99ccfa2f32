// The user's files around Save and Run, without a display: every failure,
// also on a full disk (a file size limit stands in for one, as it holds for
// root too), leaves the user's bytes on disk and says where.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "FileSizeLimit.h"
#include "FileText.h"
#include "ScratchDir.h"
#include "ScriptAside.h"
#include "ScriptText.h"

namespace {

using zemtest::readFile;
using zemtest::writeFile;
namespace fs = std::filesystem;

class FileSafety : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(chdir(m_Dir.path().c_str()), 0); }
    void TearDown() override { chdir("/"); }
    // The names in the directory, sorted, with each file's bytes.
    static std::string listing()
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator("."))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string all;
        for (const std::string& n : names) {
            std::string bytes = fs::is_regular_file(n) ? readFile(n) : "<dir>";
            all += n.rfind("s.txt_", 0) == 0 && n.size() > 6 ? "s.txt_<own>=" + bytes : n + "=" + bytes;
            all += ";";
        }
        return all;
    }

    zemtest::ScratchDir m_Dir{"zem_filesafety"};
};

// What the directory holds while the run lasts and after it.
TEST_F(FileSafety, ScriptStepsAsideAndComesBack)
{
    struct Case {
        const char* name;
        const char* onDisk;  // null: no script on disk
        const char* ownAside;
        const char* during;
    } cases[] = {
        {"unchanged", "b\n", nullptr, "s.txt=b\n;"},
        {"edited", "a\n", nullptr, "s.txt=b\n;s.txt_=a\n;"},
        {"own aside kept", "a\n", "mine", "s.txt=b\n;s.txt_=mine;s.txt_<own>=a\n;"},
        {"new script", nullptr, nullptr, "s.txt=b\n;"},
    };
    for (const Case& c : cases) {
        for (const auto& e : fs::directory_iterator("."))
            fs::remove_all(e.path());
        if (c.onDisk)
            writeFile("s.txt", c.onDisk);
        if (c.ownAside)
            writeFile("s.txt_", c.ownAside);
        std::string before = listing(), message;
        ScriptAside aside;
        ASSERT_TRUE(aside.put("s.txt", savedForm("b"), message)) << c.name << ": " << message;
        EXPECT_EQ(listing(), c.during) << c.name;
        ASSERT_TRUE(aside.restore(message)) << c.name << ": " << message;
        EXPECT_EQ(listing(), before) << c.name;
    }
}

TEST_F(FileSafety, FullDiskRunsNothingAndKeepsTheScript)
{
    writeFile("s.txt", "a\n");
    std::string message;
    ScriptAside aside;
    {
        zemtest::FileSizeLimit limit(4);
        EXPECT_FALSE(aside.put("s.txt", std::string(100, 'x'), message));
    }
    EXPECT_EQ(message.rfind("not run: cannot write s.txt: File too large", 0), 0u) << message;
    EXPECT_EQ(listing(), "s.txt=a\n;");
}

TEST_F(FileSafety, ScriptThatCannotComeBackIsNamed)
{
    writeFile("s.txt", "a\n");
    std::string message;
    ScriptAside aside;
    ASSERT_TRUE(aside.put("s.txt", "b\n", message));
    fs::remove("s.txt");
    fs::create_directories("s.txt/in the way");
    EXPECT_FALSE(aside.restore(message));
    EXPECT_EQ(message.rfind("script left as s.txt_, not back at s.txt: ", 0), 0u) << message;
    EXPECT_EQ(readFile("s.txt_"), "a\n");
}

TEST_F(FileSafety, NoPlainFileIsNeverTouched)
{
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    fs::create_directory("dir");
    std::string message;
    ScriptAside aside;
    EXPECT_FALSE(aside.put("pipe", "b\n", message));
    EXPECT_EQ(message.rfind("not run: no plain file at pipe", 0), 0u) << message;
    EXPECT_FALSE(FileText::replace("pipe", "b\n"));
    EXPECT_FALSE(FileText::replace("dir", "b\n"));
    EXPECT_TRUE(fs::is_fifo("pipe"));
    EXPECT_TRUE(fs::is_directory("dir"));
}

// A save replaces the file whole or not at all, keeps its permissions and
// writes through a link to its target.
TEST_F(FileSafety, ReplaceIsWholeOrNothing)
{
    writeFile("s.txt", "old\n");
    chmod("s.txt", 0640);
    ASSERT_TRUE(FileText::replace("s.txt", "new\n"));
    EXPECT_EQ(readFile("s.txt"), "new\n");
    struct stat info;
    ASSERT_EQ(stat("s.txt", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    fs::create_symlink("s.txt", "link.txt");
    ASSERT_TRUE(FileText::replace("link.txt", "via link\n"));
    EXPECT_TRUE(fs::is_symlink("link.txt"));
    EXPECT_EQ(readFile("s.txt"), "via link\n");
    {
        zemtest::FileSizeLimit limit(4);
        EXPECT_FALSE(FileText::replace("s.txt", std::string(100, 'x')));
        EXPECT_EQ(errno, EFBIG);
    }
    EXPECT_FALSE(FileText::replace("no/such/dir/s.txt", "x"));
    EXPECT_EQ(listing(), "link.txt=via link\n;s.txt=via link\n;");
    EXPECT_FALSE(FileText::write("/dev/full", "x"));
    EXPECT_EQ(errno, ENOSPC);
}

}
