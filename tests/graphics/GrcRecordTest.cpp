// Recording by the drawing calls: clamping at entry, the exact text each
// call's command encodes to, and when nothing is recorded.
#include "GrcDraw.h"
#include "GrcListFixture.h"

#include <functional>
#include <type_traits>

namespace {

struct DrawCase {
    const char* name;
    std::function<int()> call;
    std::string encoded;
};

void PrintTo(const DrawCase& c, std::ostream* os) { *os << c.name; }

const int kXs[] = {1, 2};
const int kYs[] = {3, 4};
const int kWideXs[] = {-5, 10000, 7};
const int kWideYs[] = {0, 9999, -1};

std::vector<DrawCase> drawCases()
{
    using std::string;
    return {
        {"ForegroundClamped", [] { return SetForeground(300, -5, 128); }, "0125500012801"},
        {"ClearIsModeZero", [] { return ClearBackground(1, 2, 3); }, "0100100200300"},
        {"PointClamped", [] { return DrawPoint(-5000, 12000); }, "02-9999999"},
        {"PointNegativePadded", [] { return DrawPoint(-7, 42); }, "02-0070042"},
        {"Line", [] { return DrawLine(1, -2, 9999, -999); }, "030001-0029999-999"},
        {"RectOutline", [] { return DrawRect(10, 20, 30, 40); }, "0400100020003000400"},
        {"RectFilled", [] { return FillRect(10, 20, 30, 40); }, "0400100020003000401"},
        {"ArcAnglesClamped",
         [] { return DrawArc(0, 0, 50, 60, -1, 40000); },
         "05000000000050006000000360000"},
        {"ArcFilled", [] { return FillArc(1, 2, 3, 4, 4500, 9000); }, "05000100020003000404500090001"},
        {"PolygonFilled", [] { return FillPolygon(2, kXs, kYs); }, "06000200010002000300041"},
        {"PolygonClampedToZero",
         [] { return DrawPolygon(3, kWideXs, kWideYs); },
         string("0600030000999900070000999900000")},
        {"TinyText",
         [] { return DrawTinyString(5, 7, "ab"); },
         string("07000300050007"
                "0"
                "ab\0",
                18)},
        {"MediumText", [] { return DrawMediumString(-1000, 0, "x"); }, string("070002-99900001x\0", 17)},
        {"LargeText",
         [] { return DrawLargeString(0, 0, "hi"); },
         string("07000300000000"
                "2"
                "hi\0",
                18)},
    };
}

}  // namespace

class GrcRecord : public GrcList, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(GrcRecord, RecordsOneCommandWithExactEncoding)
{
    EXPECT_EQ(GetParam().call(), 1);
    ASSERT_EQ(listSize(), 1);
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(chunk(cursor), GetParam().encoded);
    EXPECT_EQ(cursor, nullptr);
}

TEST_P(GrcRecord, RecordsNothingWhileExecIsZero)
{
    GrcBase::m_Exec = 0;
    EXPECT_EQ(GetParam().call(), 1);
    EXPECT_EQ(GrcBase::m_Start, nullptr);
    EXPECT_EQ(GrcBase::m_Last, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Calls, GrcRecord, ::testing::ValuesIn(drawCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GrcList, ClearBackgroundLeavesOnlyTheClear)
{
    DrawPoint(1, 1);
    DrawLine(0, 0, 5, 5);
    DrawTinyString(1, 1, "gone");
    ClearBackground(0, 0, 255);
    ASSERT_EQ(listSize(), 1);
    EXPECT_EQ(GrcBase::m_Start, GrcBase::m_Last);
    DrawPoint(2, 2);
    EXPECT_EQ(listSize(), 2);
}

TEST_F(GrcList, EmptyOrNullInputsRecordNothing)
{
    DrawTinyString(0, 0, "");
    DrawMediumString(0, 0, nullptr);
    DrawPolygon(0, kXs, kYs);
    FillPolygon(-3, kXs, kYs);
    DrawPolygon(2, nullptr, kYs);
    EXPECT_EQ(listSize(), 0);
}

TEST_F(GrcList, CallsCopyTheirArguments)
{
    int xs[] = {10, 20};
    int ys[] = {30, 40};
    char text[] = "abc";
    DrawPolygon(2, xs, ys);
    DrawTinyString(0, 0, text);
    xs[0] = 99;
    text[0] = 'z';
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(chunk(cursor),
              std::string("06000200100020003000400"
                          "07000400000000"
                          "0"
                          "abc\0",
                          42));
}

TEST_F(GrcList, CommandsOwningMemoryCannotBeCopied)
{
    static_assert(!std::is_copy_constructible_v<GrcPoly>);
    static_assert(!std::is_copy_assignable_v<GrcText>);
    GrcText text;
    EXPECT_EQ(text.setText("one"), 1);
    EXPECT_EQ(text.setText("two"), 1);  // replaces; the first copy is freed
    EXPECT_STREQ(text.m_Text, "two");
}
