// Decoding received chunks: round trips of every command class, clears in
// the middle of a chunk, and malformed bytes that must stop decoding.
#include "GrcDraw.h"
#include "GrcListFixture.h"

#include <vector>

namespace {

// Records one command of every class and some edge values.
void recordEveryClass()
{
    const int xs[] = {0, 9999, 17};
    const int ys[] = {5, 0, 9999};
    SetForeground(255, 0, 128);
    DrawPoint(-999, 9999);
    DrawLine(-1, -22, 333, 4444);
    DrawRect(1, 2, 3, 4);
    FillRect(-5, -6, 7, 8);
    DrawArc(10, 20, 30, 40, 0, 36000);
    FillArc(1, 1, 2, 2, 18000, 9000);
    DrawPolygon(3, xs, ys);
    FillPolygon(1, xs, ys);
    DrawTinyString(1, 2, "tiny");
    DrawMediumString(-3, 4, "with spaces and 0123");
    DrawLargeString(9999, -999, "L");
}

// Encodes the whole list, chunk by chunk.
std::vector<std::string> encodeAll()
{
    std::vector<std::string> chunks;
    GrcBase* cursor = GrcBase::m_Start;
    while (cursor) {
        const int n = GrcBase::encodeList(cursor);
        if (n == 0)
            break;
        chunks.emplace_back(GrcBase::m_BuffHead, static_cast<std::size_t>(n));
    }
    return chunks;
}

}  // namespace

TEST_F(GrcList, EveryClassSurvivesARoundTrip)
{
    recordEveryClass();
    for (int i = 0; i < 40; ++i)
        DrawPoint(i, -i);  // forces a second chunk
    const int recorded = listSize();
    const std::vector<std::string> sent = encodeAll();
    ASSERT_EQ(sent.size(), 2u);
    GrcBase::clearList();
    for (const std::string& c : sent)
        EXPECT_EQ(GrcBase::decodeList(load(c)), static_cast<int>(c.size()));
    EXPECT_EQ(listSize(), recorded);
    EXPECT_EQ(encodeAll(), sent);
}

TEST_F(GrcList, DecodedFieldsMatchTheCall)
{
    const int xs[] = {4, 5};
    const int ys[] = {6, 7};
    FillArc(-1, 2, 3, 4, 100, 200);
    FillPolygon(2, xs, ys);
    DrawMediumString(8, 9, "txt");
    GrcBase* cursor = GrcBase::m_Start;
    const std::string sent = chunk(cursor);
    GrcBase::clearList();
    ASSERT_EQ(GrcBase::decodeList(load(sent)), static_cast<int>(sent.size()));

    auto* arc = dynamic_cast<GrcArc*>(GrcBase::m_Start);
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->m_First.m_X, -1);
    EXPECT_EQ(arc->m_Second.m_Y, 4);
    EXPECT_EQ(arc->m_Angle1, 100);
    EXPECT_EQ(arc->m_Angle2, 200);
    EXPECT_EQ(arc->m_Fill, 1);
    auto* poly = dynamic_cast<GrcPoly*>(arc->m_Next);
    ASSERT_NE(poly, nullptr);
    ASSERT_EQ(poly->m_Count, 2);
    EXPECT_EQ(std::vector<int>(poly->m_Points, poly->m_Points + 4), (std::vector<int>{4, 5, 6, 7}));
    auto* text = dynamic_cast<GrcText*>(poly->m_Next);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->m_X, 8);
    EXPECT_EQ(text->m_Font, 1);
    EXPECT_STREQ(text->m_Text, "txt");
    EXPECT_EQ(text, GrcBase::m_Last);
}

TEST_F(GrcList, ClearInTheMiddleOfAChunkKeepsWhatFollows)
{
    const std::string received = "0200010002"
                                 "030001000200030004"
                                 "0100100200300"
                                 "0400010002000300041";
    EXPECT_EQ(GrcBase::decodeList(load(received)), static_cast<int>(received.size()));
    ASSERT_EQ(listSize(), 2);
    auto* clear = dynamic_cast<GrcColor*>(GrcBase::m_Start);
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->m_Mode, 0);
    EXPECT_NE(dynamic_cast<GrcRect*>(GrcBase::m_Last), nullptr);
}

TEST_F(GrcList, ChunksAppendToTheList)
{
    DrawPoint(0, 0);
    EXPECT_EQ(GrcBase::decodeList(load("0200010002")), 10);
    EXPECT_EQ(GrcBase::decodeList(load("0125500012801")), 13);
    EXPECT_EQ(listSize(), 3);
}

namespace {

struct BadChunk {
    const char* name;
    std::string bytes;
    int count;     // bytes offered to decodeList
    int consumed;  // expected result
    int commands;  // expected list length
};

void PrintTo(const BadChunk& c, std::ostream* os) { *os << c.name; }

const std::string kPoint = "0200010002";
const std::string kText = std::string("07000300050007"
                                      "0"
                                      "ab\0",
                                      18);

std::vector<BadChunk> badChunks()
{
    using std::string;
    return {
        {"NothingOffered", kPoint, 0, 0, 0},
        {"NegativeCount", kPoint, -5, 0, 0},
        {"OneByte", "0", 1, 0, 0},
        {"CodeZero", "0000010002", 10, 0, 0},
        {"CodeEight", "0800010002", 10, 0, 0},
        {"CodeNotDigits", "ab00010002", 10, 0, 0},
        {"CodeNegative", "-100010002", 10, 0, 0},
        {"StopsAtUnknownCode", kPoint + "99" + kPoint, 22, 10, 1},
        {"ShortColor", "01255000128", 11, 0, 0},
        {"CountCutsCommand", kPoint + kPoint, 19, 10, 1},
        {"FieldNotDigits", "02000x0002", 10, 0, 0},
        {"MinusInsideField", "0200-10002", 10, 0, 0},
        {"DoubleMinus", "02--990002", 10, 0, 0},
        {"SpaceInField", "02 0010002", 10, 0, 0},
        {"NulInField",
         string("0200\0"
                "10002",
                10),
         10,
         0,
         0},
        {"PolyCountZero", "0600001", 7, 0, 0},
        {"PolyCountNegative", "06-00100010002", 14, 0, 0},
        {"PolyCountHuge", "069999" + string(400, '0'), 406, 0, 0},
        {"PolyCountNotDigits", "06zzzz0", 7, 0, 0},
        {"PolyTruncated", "060002000100020003", 18, 0, 0},
        {"PolyBadCoordinate", "0600010001x0021", 15, 0, 0},
        {"PolyBadFill", "06000100010002-", 15, 0, 0},
        {"PolyNeedsSixBytes", "06000", 5, 0, 0},
        {"TextLengthOne", string("0700010000000000\0", 16), 16, 0, 0},
        {"TextLengthNegative", string("07-0020000000000x\0", 17), 17, 0, 0},
        {"TextLengthHuge", "079999" + string(480, 'a'), 486, 0, 0},
        {"TextWithoutNul", "070003000500070abc", 18, 0, 0},
        {"TextNulTooEarly", string("070003000500070a\0\0", 18), 18, 0, 0},
        {"TextEmpty", string("070003000500070\0\0\0", 18), 18, 0, 0},
        {"TextCutByCount", kText, 17, 0, 0},
        {"TextThenGarbage", kText + "##", 20, 18, 1},
    };
}

}  // namespace

class GrcBadChunk : public GrcList, public ::testing::WithParamInterface<BadChunk> {};

TEST_P(GrcBadChunk, StopsCleanly)
{
    load(GetParam().bytes);
    EXPECT_EQ(GrcBase::decodeList(GetParam().count), GetParam().consumed);
    EXPECT_EQ(listSize(), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(Decode, GrcBadChunk, ::testing::ValuesIn(badChunks()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GrcList, CountBeyondTheBufferReadsOnlyTheBuffer)
{
    std::string points;
    for (int i = 0; i < 50; ++i)
        points += kPoint;
    points += "0";  // byte 501: the start of a command that cannot complete
    load(points);
    EXPECT_EQ(GrcBase::decodeList(1 << 30), 500);
    EXPECT_EQ(listSize(), 50);
}
