// Drawing files: what the drawing calls record comes back whole through
// the text, the text is the one documented, every malformed line is named
// with its file and line, and files are replaced whole.
#include "Drawing.h"
#include "DrawingText.h"
#include "GrcDraw.h"
#include "GrcListFixture.h"
#include "ScratchDir.h"

#include <filesystem>

namespace {

// One call of each kind, with values at the edges of their ranges.
void drawEveryKind()
{
    const int xs[] = {0, 9999, 5}, ys[] = {9999, 0, 5};
    ClearBackground(1, 2, 3);
    SetForeground(255, 0, 128);
    DrawPoint(-999, 9999);
    DrawLine(1, 2, 3, 4);
    DrawRect(10, 20, 30, 40);
    FillRect(0, 0, 30, 40);
    DrawArc(0, 0, 50, 50, 0, 9000);
    FillArc(5, 6, 7, 8, 36000, 1);
    DrawPolygon(3, xs, ys);
    FillPolygon(3, xs, ys);
    DrawTinyString(5, 7, "a \"b\" \\ \t\xe9");
    DrawMediumString(-1, -2, "m");
    DrawLargeString(3, 4, "L");
}

const char kEveryKindText[] = "# zem drawing\n"
                              "clear 1 2 3\n"
                              "color 255 0 128\n"
                              "point -999 9999\n"
                              "line 1 2 3 4\n"
                              "rect 10 20 30 40\n"
                              "rect 0 0 30 40 fill\n"
                              "arc 0 0 50 50 0 9000\n"
                              "arc 5 6 7 8 36000 1 fill\n"
                              "poly 3 0 9999 9999 0 5 5\n"
                              "poly 3 0 9999 9999 0 5 5 fill\n"
                              "text 5 7 tiny \"a \\\"b\\\" \\\\ \\x09\\xE9\"\n"
                              "text -1 -2 medium \"m\"\n"
                              "text 3 4 large \"L\"\n";

using DrawingText = GrcList;

TEST_F(DrawingText, RecordedListWritesTheDocumentedText)
{
    drawEveryKind();
    EXPECT_EQ(drawingText(drawingOf(GrcBase::m_Start)), kEveryKindText);
}

TEST_F(DrawingText, TextReadsBackAndReplaysToTheSameList)
{
    drawEveryKind();
    const std::vector<DrawCommand> recorded = drawingOf(GrcBase::m_Start);
    std::vector<DrawCommand> read;
    std::string error;
    ASSERT_TRUE(readDrawingText(drawingText(recorded), "a.zdr", read, error)) << error;
    EXPECT_EQ(read, recorded);

    GrcBase::clearList();
    EXPECT_EQ(replayInto(read), read.size());
    EXPECT_EQ(drawingOf(GrcBase::m_Start), recorded);
}

TEST_F(DrawingText, CommentsBlankLinesAndLineEndsAreSkipped)
{
    std::vector<DrawCommand> read;
    std::string error;
    ASSERT_TRUE(readDrawingText("\n  # note\r\n\tpoint\t1  2 \r\n\npoint 3 4", "a.zdr", read, error))
        << error;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].numbers, (std::vector<int>{3, 4}));
}

TEST_F(DrawingText, ReplayLeavesOutWhatIsNotWellFormed)
{
    DrawCommand shortLine;
    shortLine.kind = DrawCommand::Line;
    shortLine.numbers = {1, 2, 3};
    DrawCommand emptyText;
    emptyText.kind = DrawCommand::Text;
    emptyText.numbers = {1, 2, 0};
    DrawCommand point;
    point.kind = DrawCommand::Point;
    point.numbers = {1, 2};
    EXPECT_EQ(replayInto({shortLine, emptyText, point}), 1u);
    EXPECT_EQ(listSize(), 1);
}

struct BadLine {
    const char* text;
    const char* error;
};

void PrintTo(const BadLine& c, std::ostream* os) { *os << c.text; }

class DrawingTextBadLine : public ::testing::TestWithParam<BadLine> {};

TEST_P(DrawingTextBadLine, IsNamedWithFileAndLine)
{
    std::vector<DrawCommand> read;
    std::string error;
    EXPECT_FALSE(
        readDrawingText(std::string("# zem drawing\npoint 1 2\n") + GetParam().text, "h.zdr", read, error));
    EXPECT_EQ(error, GetParam().error);
    EXPECT_TRUE(read.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DrawingTextBadLine,
    ::testing::Values(
        BadLine{"circle 1 2",
                "h.zdr:3: unknown command (expected color, clear, point, line, rect, arc, poly or text)"},
        BadLine{"color 1 2", "h.zdr:3: color: blue is missing"},
        BadLine{"color 1 2 256", "h.zdr:3: color: blue is out of range 0..255"},
        BadLine{"clear -1 0 0", "h.zdr:3: clear: red is out of range 0..255"},
        BadLine{"point 1.5 2", "h.zdr:3: point: x is not a whole number"},
        BadLine{"point - 2", "h.zdr:3: point: x is not a whole number"},
        BadLine{"point 1 2 3", "h.zdr:3: point: too many fields"},
        BadLine{"line 1 2 3 99999999999", "h.zdr:3: line: y2 is out of range -999..9999"},
        BadLine{"line 1 2 -1000 4", "h.zdr:3: line: x2 is out of range -999..9999"},
        BadLine{"rect 0 0 30 40 full", "h.zdr:3: rect: expected fill or the end of the line"},
        BadLine{"rect 0 0 30 40 fill fill", "h.zdr:3: rect: too many fields"},
        BadLine{"arc 0 0 9 9 0 36001", "h.zdr:3: arc: angle2 is out of range 0..36000"},
        BadLine{"poly 0", "h.zdr:3: poly: count is out of range 1..100000"},
        BadLine{"poly 100001", "h.zdr:3: poly: count is out of range 1..100000"},
        BadLine{"poly 2 1 2 3", "h.zdr:3: poly: y2 is missing"},
        BadLine{"poly 2 1 2 -3 4", "h.zdr:3: poly: x2 is out of range 0..9999"},
        BadLine{"poly 1 1 2 3", "h.zdr:3: poly: expected fill or the end of the line"},
        BadLine{"text 1 2", "h.zdr:3: text: font is missing"},
        BadLine{"text 1 2 huge \"a\"", "h.zdr:3: text: font must be tiny, medium or large"},
        BadLine{"text 1 2 tiny", "h.zdr:3: text: text is missing"},
        BadLine{"text 1 2 tiny a", "h.zdr:3: text: the text must be in double quotes"},
        BadLine{"text 1 2 tiny \"a", "h.zdr:3: text: the text has no closing quote"},
        BadLine{"text 1 2 tiny \"a\\\"", "h.zdr:3: text: the text has no closing quote"},
        BadLine{"text 1 2 tiny \"\"", "h.zdr:3: text: the text is empty"},
        BadLine{"text 1 2 tiny \"a\\n\"", "h.zdr:3: text: unknown escape (write \\\", \\\\ or \\xHH)"},
        BadLine{"text 1 2 tiny \"\\x4\"", "h.zdr:3: text: \\x must be followed by two hex digits"},
        BadLine{"text 1 2 tiny \"\\x00\"", "h.zdr:3: text: the text holds a NUL byte"},
        BadLine{"text 1 2 tiny \"a\tb\"", "h.zdr:3: text: control byte in the text (write it as \\xHH)"},
        BadLine{"text 1 2 tiny \"a\" b", "h.zdr:3: text: too many fields"}));

TEST(DrawingFile, SavedFileLoadsBackAndLeavesNoTemporary)
{
    zemtest::ScratchDir dir("zem_drawing");
    DrawCommand line;
    line.kind = DrawCommand::Line;
    line.numbers = {1, 2, 3, 4};
    std::string error;
    ASSERT_TRUE(saveDrawingFile(dir.file("a.zdr"), {line}, error)) << error;
    ASSERT_TRUE(saveDrawingFile(dir.file("a.zdr"), {line, line}, error)) << error;
    std::vector<DrawCommand> read;
    ASSERT_TRUE(loadDrawingFile(dir.file("a.zdr"), read, error)) << error;
    EXPECT_EQ(read, (std::vector<DrawCommand>{line, line}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(DrawingFile, FilesThatCannotBeHadAreNamed)
{
    zemtest::ScratchDir dir("zem_drawing");
    std::vector<DrawCommand> read;
    std::string error;
    EXPECT_FALSE(loadDrawingFile(dir.file("none.zdr"), read, error));
    EXPECT_EQ(error.rfind(dir.file("none.zdr") + ": cannot be opened", 0), 0u) << error;
    EXPECT_FALSE(loadDrawingFile(dir.path().string(), read, error));
    EXPECT_EQ(error, dir.path().string() + ": is not a plain file");
    EXPECT_FALSE(saveDrawingFile(dir.file("no/a.zdr"), {}, error));
    EXPECT_EQ(error.rfind(dir.file("no/a.zdr") + ": cannot be written", 0), 0u) << error;
    zemtest::writeFile(dir.file("bad.zdr"), "point 1\n");
    EXPECT_FALSE(loadDrawingFile(dir.file("bad.zdr"), read, error));
    EXPECT_EQ(error, dir.file("bad.zdr") + ":1: point: y is missing");
}

}  // namespace
