// Chunking of the recorded list: whole commands only, at most 501 bytes,
// and the end of transmission at a command that can never fit.
#include "GrcDraw.h"
#include "GrcListFixture.h"

#include <vector>

namespace {

void recordPolygon(int points)
{
    std::vector<int> xs(static_cast<std::size_t>(points), 1);
    std::vector<int> ys(static_cast<std::size_t>(points), 2);
    DrawPolygon(points, xs.data(), ys.data());
}

void recordText(std::size_t length) { DrawTinyString(0, 0, std::string(length, 'x').c_str()); }

}  // namespace

TEST_F(GrcList, NullCursorEncodesNothing)
{
    GrcBase* cursor = nullptr;
    EXPECT_EQ(GrcBase::encodeList(cursor), 0);
    EXPECT_EQ(GrcBase::m_BuffEnd, GrcBase::m_BuffHead + 501);
}

TEST_F(GrcList, ChunksHoldOnlyWholeCommands)
{
    for (int i = 0; i < 60; ++i)
        DrawPoint(i, i);  // 600 bytes: 50 points fit in the first chunk
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(GrcBase::encodeList(cursor), 500);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(dynamic_cast<GrcPoint*>(cursor)->m_X, 50);
    EXPECT_EQ(GrcBase::encodeList(cursor), 100);
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(GrcBase::encodeList(cursor), 0);
}

TEST_F(GrcList, LargestPolygonFitsAndNextNeverDoes)
{
    recordPolygon(61);
    recordPolygon(62);
    DrawPoint(0, 0);
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(GrcBase::encodeList(cursor), 495);
    EXPECT_EQ(cursor, GrcBase::m_Start->m_Next);
    // The 62-point polygon stops the transmission, the point after it too.
    EXPECT_EQ(GrcBase::encodeList(cursor), 0);
    EXPECT_EQ(cursor, GrcBase::m_Start->m_Next);
}

TEST_F(GrcList, LongestTextFillsTheChunkExactly)
{
    recordText(485);
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(GrcBase::encodeList(cursor), 501);
    EXPECT_EQ(cursor, nullptr);
    EXPECT_EQ(GrcBase::m_BuffHead[500], '\0');  // the text's own NUL
    EXPECT_EQ(std::string(GrcBase::m_BuffHead, 15), "070486000000000");
}

TEST_F(GrcList, TooLongTextIsNeverSent)
{
    recordText(486);
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(GrcBase::encodeList(cursor), 0);
    EXPECT_EQ(cursor, GrcBase::m_Start);
}

TEST_F(GrcList, CommandThatDoesNotFitStartsTheNextChunk)
{
    for (int i = 0; i < 49; ++i)
        DrawPoint(0, 0);   // 490 bytes, 11 left
    DrawLine(1, 2, 3, 4);  // 18 bytes
    GrcBase* cursor = GrcBase::m_Start;
    EXPECT_EQ(GrcBase::encodeList(cursor), 490);
    EXPECT_EQ(chunk(cursor), "030001000200030004");
}

TEST_F(GrcList, EncodeRefusesShortSpaceWithoutWriting)
{
    GrcArc arc(1, 2, 3, 4, 5, 6, 1);
    char buffer[29];
    std::fill(buffer, buffer + sizeof buffer, '#');
    char* p = buffer;
    EXPECT_EQ(arc.encode(p, buffer + 28), 0);
    EXPECT_EQ(p, buffer);
    EXPECT_EQ(std::string(buffer, 29), std::string(29, '#'));
    EXPECT_EQ(arc.encode(p, buffer + 29), 1);
    EXPECT_EQ(p, buffer + 29);
}
