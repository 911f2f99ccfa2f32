// What only a unit sees of the pictures zem2junit attaches: the report
// lines read, the directories the files are in, and that the PNG is the
// very overlay zem2png --diff draws. check_junit.sh covers the rest.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "DrawingPng.h"
#include "DrawingText.h"
#include "PictureAttach.h"

namespace {

const std::pair<const char*, std::vector<std::pair<std::string, int>>> kBlocks[] = {
    {"    picture \"p/h.zdr\" +- 2; [picture p/h.zdr: x] ERROR\n"
     "    picture \"r.zdr\" +- 2.500000; [picture r.zdr: no file r.zdr] ERROR\n"
     "    picture \"h.zdr\"; [picture h.zdr: x] ERROR\n",
     {{"p/h.zdr", 2}, {"r.zdr", 2}, {"h.zdr", 0}}},
    {"    picture \"h.zdr\" +- 1e9; [picture h.zdr: x] ERROR\n    picture \"h.zdr\" +- nan; [picture h.zdr: "
     "x] ERROR\n",
     {{"h.zdr", 1000000}, {"h.zdr", 0}}},
    {"    picture \"a\"; [b\"; [picture a\"; [b: x] ERROR\n",
     {{"a\"; [b", 0}}},  // the outcome tells the name
    {"    picture \"h.zdr\" +- 1\n    picture \"h.zdr\"; [no outcome] ERROR\n    y == 1; [int y = 2] ERROR\n",
     {}},
};

TEST(PictureAttach, FailedChecksOfAReport)
{
    for (const auto& c : kBlocks) {
        std::vector<std::pair<std::string, int>> got;
        for (const zemjunit::FailedPicture& p :
             zemjunit::failedPictures("t\n{\n  verified:\n" + std::string(c.first)))
            got.emplace_back(p.file, p.tolerance);
        EXPECT_EQ(got, c.second) << c.first;
    }
}

TEST(PictureAttach, ExpectedBesideTheScriptTheRestBesideTheResult)
{
    const zemjunit::PicturePlace relative = zemjunit::picturePlace({"p/h.v1.zdr", 0}, "out/r.txt", "t/s.txt");
    EXPECT_EQ(relative.expected, "t/p/h.v1.zdr");
    EXPECT_EQ(relative.actual, "out/h.v1.actual.zdr");
    EXPECT_EQ(relative.overlay, "out/h.v1.diff.png");
    EXPECT_EQ(relative.alone, "out/h.v1.actual.png");
    EXPECT_EQ(zemjunit::picturePlace({"/a/h.zdr", 0}, "r.txt", "t/s.txt").expected, "/a/h.zdr");
    EXPECT_EQ(zemjunit::absolutePath(".//./a.png", "/w"), "/w/a.png");
    EXPECT_EQ(zemjunit::absolutePath("/x/a.png", "/w"), "/x/a.png");
}

std::vector<std::uint32_t> pixels(const std::string& path)
{
    DrawingPixels p;
    std::string error;
    EXPECT_TRUE(readPngPixels(path, p, error)) << error;
    return p.rgb;
}

// Within the tolerance the first difference is the point, not the line.
TEST(PictureAttach, OverlayAsZem2pngDrawsIt)
{
    char name[] = "/tmp/zem2junit-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    const std::string dir = name;
    std::vector<DrawCommand> e, a;
    std::string error, png;
    ASSERT_TRUE(readDrawingText("line 10 20 110 20\npoint 5 5\n", "e", e, error) &&
                readDrawingText("line 10 20 111 20\npoint 50 5\n", "a", a, error) &&
                saveDrawingFile(dir + "/h.zdr", e, error) && saveDrawingFile(dir + "/h.actual.zdr", a, error))
        << error;
    const zemjunit::FailedPicture check{"h.zdr", 1};
    ASSERT_TRUE(
        zemjunit::renderPicture(check, zemjunit::picturePlace(check, dir + "/r", dir + "/s"), png, error))
        << error;
    EXPECT_EQ(png, dir + "/h.diff.png");
    std::vector<std::vector<std::uint32_t>> wanted;
    for (int tolerance : {0, 1}) {
        const DrawingDifference d = compareDrawings(e, a, tolerance);
        EXPECT_TRUE(writeDifferencePng(e, a, d, differenceLine("h.zdr", d), 800, 600, dir + "/w.png", error));
        wanted.push_back(pixels(dir + "/w.png"));
    }
    const std::vector<std::uint32_t> got = pixels(png);
    EXPECT_NE(got, wanted[0]);
    EXPECT_EQ(got, wanted[1]);
    std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
