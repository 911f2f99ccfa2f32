// File adapter: appending output, byte input including 0xFF, closed sides,
// and file names beyond the 255-character limit.
#include <gtest/gtest.h>

#include <string>

#include "StoreTestUtil.h"

TEST(FileGate, AppendsToExistingFile) {
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

TEST(FileGate, ReadsEveryByteValue) {
    TempFile f("bytes");
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    f.write(all + "\xFF");
    FileGate g;
    ASSERT_EQ(1, g.openIn(f.path()));
    EXPECT_STREQ(f.path(), g.getInFileName());
    for (int i = 0; i < 256; ++i) ASSERT_EQ(i, g.getChar());
    EXPECT_EQ(255, g.getChar());
    EXPECT_EQ(-1, g.getChar());
    EXPECT_EQ(-1, g.getChar());
}

TEST(FileGate, ClosedSidesAreHarmless) {
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

TEST(FileGate, FailedOpensLeaveSideClosed) {
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

TEST(FileGate, NameLengthLimit) {
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

TEST(FileGate, ReopenClosesPrevious) {
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

TEST(FileGate, InterpreterAdapterIsOneInstance) {
    FileGate* first = &Parse::getIO();
    EXPECT_EQ(first, &Parse::getIO());
}
