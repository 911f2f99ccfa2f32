// File adapter: appending output, byte input including 0xFF, closed sides,
// and file names beyond the 255-character limit.
#include <gtest/gtest.h>

#include <string>

#include "StoreTestUtil.h"

TEST(FileGate, AppendsToExistingFile)
{
    TempFile f("append");
    f.write("old\n");
    FileGate g;
    ASSERT_EQ(1, g.openOut(f.path()));
    EXPECT_STREQ(f.path(), g.getOutFileName());
    g << 5 << 2.5 << "\n";
    g.putChar('!');
    g.closeOut();
    EXPECT_STREQ("", g.getOutFileName());
    EXPECT_EQ("old\n52.500000\n!", f.read());
}

TEST(FileGate, ReadsEveryByteValue)
{
    TempFile f("bytes");
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    f.write(all + "\xFF");
    FileGate g;
    ASSERT_EQ(1, g.openIn(f.path()));
    EXPECT_STREQ(f.path(), g.getInFileName());
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(i, g.getChar());
    EXPECT_EQ(255, g.getChar());
    EXPECT_EQ(-1, g.getChar());
    EXPECT_EQ(-1, g.getChar());
}

// Block reads hand out the bytes getChar would, whatever the block size.
TEST(FileGate, BlockReadsMatchByteReads)
{
    TempFile f("blocks");
    std::string all;
    for (int i = 0; i < 3000; ++i)
        all.push_back(static_cast<char>(i * 7));
    f.write(all);
    for (int size : {1, 255, 2999, 3000, 8192}) {
        FileGate g;
        ASSERT_EQ(1, g.openIn(f.path()));
        std::string got;
        char buf[8192];
        for (int n = g.read(buf, size); n > 0; n = g.read(buf, size))
            got.append(buf, static_cast<std::size_t>(n));
        EXPECT_EQ(all, got) << size;
        EXPECT_EQ(-1, g.getChar());
    }
    FileGate closed;
    char c;
    EXPECT_EQ(0, closed.read(&c, 1));
}

// Output gathered before it reaches the file keeps its order across pieces
// larger than the gathering buffer and the formatted doubles in between.
TEST(FileGate, LongOutputKeepsItsOrder)
{
    TempFile f("long");
    FileGate g;
    ASSERT_EQ(1, g.openOut(f.path()));
    std::string expect;
    const std::string pieces[] = {
        "a", std::string(5000, 'b'), std::string(9000, 'c'), "d", std::string(4000, 'e')};
    for (const std::string& p : pieces) {
        g << p.c_str() << 0.5;
        g.putChar('|');
        expect += p + "0.500000|";
    }
    g.closeOut();
    EXPECT_EQ(expect, f.read());
}

TEST(FileGate, ClosedSidesAreHarmless)
{
    FileGate g;
    EXPECT_EQ(-1, g.getChar());
    g << "x" << 1 << 1.0;
    g.putChar('c');
    g.closeOut();
    g.closeOut();
    g.closeIn();
    EXPECT_STREQ("", g.getInFileName());
    EXPECT_STREQ("", g.getOutFileName());
}

TEST(FileGate, FailedOpensLeaveSideClosed)
{
    TempFile good("good");
    good.write("a");
    FileGate g;
    ASSERT_EQ(1, g.openIn(good.path()));
    EXPECT_EQ(0, g.openIn("/nonexistent/dir/file"));
    EXPECT_STREQ("", g.getInFileName());
    EXPECT_EQ(-1, g.getChar());
    EXPECT_EQ(0, g.openOut("/nonexistent/dir/file"));
    EXPECT_STREQ("", g.getOutFileName());
    EXPECT_EQ(0, g.openIn(nullptr));
    EXPECT_EQ(0, g.openOut(nullptr));
}

TEST(FileGate, NameLengthLimit)
{
    // 255 characters fit; 256 are refused without opening anything.
    std::string dir = "/tmp/";
    std::string fits = dir + std::string(255 - dir.size(), 'f');
    std::string tooLong = fits + "g";
    FileGate g;
    ASSERT_EQ(1, g.openOut(fits.c_str()));
    EXPECT_EQ(fits, g.getOutFileName());
    g.closeOut();
    EXPECT_EQ(1, g.openIn(fits.c_str()));
    EXPECT_EQ(0, g.openOut(tooLong.c_str()));
    EXPECT_STREQ("", g.getOutFileName());
    EXPECT_EQ(0, g.openIn(tooLong.c_str()));
    EXPECT_STREQ("", g.getInFileName());
    EXPECT_EQ(1, g.deleteFile(fits.c_str()));
    EXPECT_EQ(0, g.deleteFile(fits.c_str()));
    EXPECT_EQ(0, g.deleteFile(nullptr));
    std::string huge(5000, 'h');
    EXPECT_EQ(0, g.openOut(huge.c_str()));
}

TEST(FileGate, ReopenClosesPrevious)
{
    TempFile a("a"), b("b");
    FileGate g;
    g.openOut(a.path());
    g << "one";
    g.openOut(b.path());
    g << "two";
    EXPECT_EQ("one", a.read());  // closed, hence complete
    g.closeOut();
    EXPECT_EQ("two", b.read());
}

// A held output looks closed to every writer, is on disk, and is picked up
// again only while its name still leads to the same file.
TEST(FileGate, HeldOutputLooksClosedAndIsFlushed)
{
    TempFile f("held");
    FileGate g;
    ASSERT_EQ(1, g.openOut(f.path()));
    g << "one\n";
    g.holdOut();
    EXPECT_STREQ("", g.getOutFileName());
    EXPECT_EQ("one\n", f.read());
    g << "dropped";
    g.putChar('!');
    ASSERT_EQ(1, g.openOut(f.path()));
    EXPECT_STREQ(f.path(), g.getOutFileName());
    g << "two\n";
    g.closeOut();
    EXPECT_EQ("one\ntwo\n", f.read());
}

TEST(FileGate, HeldOutputIsReopenedWhenItsFileWasRemoved)
{
    TempFile a("held_a"), b("held_b"), moved("held_moved");
    const struct {
        const char* what;
        void (*change)(const TempFile& a, const TempFile& moved);
        const char* expectA;
        const char* expectMoved;
    } cases[] = {
        {"unchanged", [](const TempFile&, const TempFile&) {}, "early\nlate\n", ""},
        {"removed", [](const TempFile& a, const TempFile&) { std::remove(a.path()); }, "late\n", ""},
        {"replaced",
         [](const TempFile& a, const TempFile&) {
             std::remove(a.path());
             a.write("new\n");
         },
         "new\nlate\n",
         ""},
        // A renamed file is still the open one: the text stays together.
        {"renamed",
         [](const TempFile& a, const TempFile& m) { std::rename(a.path(), m.path()); },
         "",
         "early\nlate\n"},
    };
    for (const auto& c : cases) {
        std::remove(a.path());
        std::remove(moved.path());
        FileGate g;
        ASSERT_EQ(1, g.openOut(a.path()));
        g << "early\n";
        g.holdOut();
        c.change(a, moved);
        ASSERT_EQ(1, g.openOut(a.path())) << c.what;
        g << "late\n";
        g.closeOut();
        EXPECT_EQ(c.expectA, a.read()) << c.what;
        EXPECT_EQ(c.expectMoved, moved.read()) << c.what;
    }
    // Opening another name closes the held stream; its file keeps its text.
    std::remove(a.path());
    FileGate g;
    ASSERT_EQ(1, g.openOut(a.path()));
    g << "x";
    g.holdOut();
    ASSERT_EQ(1, g.openOut(b.path()));
    g << "y";
    g.closeOut();
    EXPECT_EQ("x", a.read());
    EXPECT_EQ("y", b.read());
}

// A failed check's line is written once more into a buffer for the console:
// doubles included, cut to the buffer, terminated when closed.
TEST(FileGate, WritesIntoAText)
{
    char text[16];
    FileGate g;
    ASSERT_EQ(1, g.openOutText(text, sizeof text));
    g << "x=" << 2.5 << ";" << 7;
    g.closeOut();
    EXPECT_STREQ("x=2.500000;7", text);
    ASSERT_EQ(1, g.openOutText(text, sizeof text));
    g << "0123456789abcdefghij";
    g.closeOut();
    EXPECT_STREQ("0123456789abcde", text);
    EXPECT_EQ(0, g.openOutText(text, 1));
    g << "lost";
}
