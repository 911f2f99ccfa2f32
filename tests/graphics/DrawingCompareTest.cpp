// Comparing drawings: each outcome as the one line a failing check prints,
// for drawings written in the file format.
#include "DrawingCompare.h"
#include "DrawingText.h"

#include <gtest/gtest.h>

namespace {

struct CompareCase {
    const char* name;
    const char* expected;
    const char* actual;
    int tolerance;
    const char* line;
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

const char kHouse[] = "clear 240 240 230\ncolor 150 40 30\nrect 60 120 220 260 fill\n"
                      "poly 3 40 120 140 40 240 120 fill\ntext 60 290 medium \"home\"\n";

std::vector<DrawCommand> read(const std::string& text)
{
    std::vector<DrawCommand> drawing;
    std::string error;
    EXPECT_TRUE(readDrawingText(text, "t.zdr", drawing, error)) << error;
    return drawing;
}

class DrawingCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(DrawingCompare, GivesTheFirstDifference)
{
    const CompareCase& c = GetParam();
    const DrawingDifference d = compareDrawings(read(c.expected), read(c.actual), c.tolerance);
    EXPECT_EQ(differenceLine("house.zdr", d), c.line);
    EXPECT_EQ(d.same, std::string(c.line).find("as expected") != std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, DrawingCompare,
    ::testing::Values(CompareCase{"Equal", kHouse, kHouse, 0, "picture house.zdr: 5 commands, as expected"},
                      CompareCase{"OneFieldOff",
                                  "point 1 2\nline 10 20 30 40\n",
                                  "point 1 2\nline 10 20 31 40\n",
                                  0,
                                  "picture house.zdr: command 2 line x2 = 31, expected 30"},
                      CompareCase{"WithinTolerance",
                                  "line 10 20 30 40\ncolor 9 9 9\n",
                                  "line 12 18 30 40\ncolor 10 8 9\n",
                                  2,
                                  "picture house.zdr: 2 commands, as expected"},
                      CompareCase{"PastTolerance",
                                  "arc 0 0 9 9 100 200\n",
                                  "arc 0 0 9 9 100 203\n",
                                  2,
                                  "picture house.zdr: command 1 arc angle2 = 203, expected 200"},
                      CompareCase{"FillIsExact",
                                  "rect 0 0 5 5\n",
                                  "rect 0 0 5 5 fill\n",
                                  5,
                                  "picture house.zdr: command 1 rect fill = 1, expected 0"},
                      CompareCase{"FontByName",
                                  "text 1 2 tiny \"a\"\n",
                                  "text 1 2 large \"a\"\n",
                                  5,
                                  "picture house.zdr: command 1 text font = large, expected tiny"},
                      CompareCase{"TextQuoted",
                                  "text 1 2 tiny \"a\\\"b\"\n",
                                  "text 1 2 tiny \"a\\xE9\"\n",
                                  0,
                                  "picture house.zdr: command 1 text text = \"a\\xE9\", expected \"a\\\"b\""},
                      CompareCase{"PolygonCountFirst",
                                  "poly 2 1 2 3 4\n",
                                  "poly 3 1 2 3 4 5 6\n",
                                  5,
                                  "picture house.zdr: command 1 poly count = 3, expected 2"},
                      CompareCase{"PolygonPoint",
                                  "poly 2 1 2 3 4 fill\n",
                                  "poly 2 1 2 3 7 fill\n",
                                  0,
                                  "picture house.zdr: command 1 poly y2 = 7, expected 4"},
                      CompareCase{"DifferentKinds",
                                  "point 1 2\nline 1 2 3 4\n",
                                  "point 1 2\nrect 1 2 3 4\n",
                                  0,
                                  "picture house.zdr: command 2 is rect, expected line"},
                      CompareCase{"ExtraCommand",
                                  "point 1 2\n",
                                  "point 1 2\ntext 1 2 tiny \"x\"\n",
                                  0,
                                  "picture house.zdr: 2 commands, expected 1; command 2 text is extra"},
                      CompareCase{"MissingCommand",
                                  "point 1 2\nline 1 2 3 4\nline 5 6 7 8\n",
                                  "point 1 2\n",
                                  0,
                                  "picture house.zdr: 1 command, expected 3; command 2 line is missing"},
                      CompareCase{
                          "LengthsAndAnEarlierField",
                          "point 1 2\nline 1 2 3 4\n",
                          "point 1 3\n",
                          0,
                          "picture house.zdr: 1 command, expected 2; command 1 point y = 3, expected 2"}));

TEST(DrawingCompareFields, MissingCommandCarriesItsLine)
{
    const DrawingDifference d = compareDrawings(read("point 1 2\nrect 1 2 3 4 fill\n"), read("point 1 2\n"));
    EXPECT_EQ(d.index, 2u);
    EXPECT_EQ(d.expected, "rect 1 2 3 4 fill");
    EXPECT_EQ(d.actual, "missing");
    EXPECT_EQ(d.expectedLength, 2u);
    EXPECT_EQ(d.actualLength, 1u);
}

TEST(DrawingCompareFields, MalformedCommandsCompareWithoutCrashing)
{
    DrawCommand shortLine, line;
    shortLine.kind = line.kind = DrawCommand::Line;
    shortLine.numbers = {1, 2};
    line.numbers = {1, 2, 3, 4};
    const DrawingDifference d = compareDrawings({line}, {shortLine});
    EXPECT_EQ(differenceLine("p", d), "picture p: command 1 line x2 = missing, expected 3");
}

}  // namespace
