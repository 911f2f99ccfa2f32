// The lexer against the token table: token kinds and values, the block
// comment filter, line numbers and offsets, comment capture and limits.
#include "InterpTestUtil.h"

#include <cstring>

#include "FileGate.h"
#include "ScriptGrammar.hpp"
#include "ScriptLexer.h"

namespace {

using interptest::InScratchDir;

class LexerTest : public InScratchDir {
protected:
    void open(const std::string& text)
    {
        interptest::writeFile("lex.txt", text);
        ASSERT_EQ(Parse::getIO().openIn("lex.txt"), 1);
        ScriptLexer::restart(Parse::getIO());
    }
    void TearDown() override
    {
        ScriptLexer::release();
        Parse::getIO().closeIn();
        InScratchDir::TearDown();
    }

    // Value tokens as KIND:value, stray characters as BAD:lexeme, every
    // other token as its lexeme.
    std::string tokens(const std::string& text)
    {
        open(text);
        std::string out;
        for (int t = ScriptLexer::nextToken(); t != 0; t = ScriptLexer::nextToken()) {
            if (!out.empty())
                out += ' ';
            out += render(t);
        }
        return out;
    }

    static std::string render(int t)
    {
        switch (t) {
        case TK_NAME: return std::string("NAME:") + ScriptLexer::tokenValue();
        case TK_STRING: return std::string("STRING:") + ScriptLexer::tokenValue();
        case TK_INTEGER: return std::string("INTEGER:") + ScriptLexer::tokenValue();
        case TK_REAL: return std::string("REAL:") + ScriptLexer::tokenValue();
        case TK_BADCHAR: return std::string("BAD:") + ScriptLexer::tokenText();
        case TK_OVERLONG: return "OVERLONG";
        default: return ScriptLexer::tokenText();
        }
    }
};

struct TokenCase {
    const char* script;
    const char* tokens;
};

const TokenCase tokenCases[] = {
    {"x==1;y!=2", "NAME:x == INTEGER:1 NAME:y != INTEGER:2"},
    {"resultfile \"a.txt\"", "resultfile STRING:a.txt"},
    {"deletefile extern verify: x", "deletefile extern verify: NAME:x"},
    {"= == != > < >= <= { } ( ) . []", "= == != > < >= <= { } ( ) . []"},
    {"a==1+-.5 +- -2 +--1 + - ++-",
     "NAME:a == INTEGER:1 +- REAL:.5 +- INTEGER:-2 +- INTEGER:-1 BAD:+ INTEGER:- BAD:+ +-"},
    {"/* a */ b", "NAME:b"},
    {"/* a /* b */", "BAD:*"},
    {"*/ x", "BAD:* BAD:/ NAME:x"},
    {"//*x\n y", "NAME:y"},
    {"\"/*\" x */ y", "BAD:\" NAME:y"},
    {"[ ]", "BAD:[ BAD:]"},
    {"0x10 0x80000000 0xFFFFFFFF 0xff 0x", "INTEGER:16 INTEGER:-2147483648 INTEGER:-1 INTEGER:255 INTEGER:0"},
    {"0x1G 0xA1G 0xG 0x0xab", "INTEGER:1 NAME:G NAME:0xA1G NAME:0xG NAME:0x0xab"},
    {"0x100000001", "INTEGER:1"},
    {"resultfiles externx verify:x", "NAME:resultfiles NAME:externx NAME:verify:x"},
    {". .5 1. .. -.5 1.2.3", ". REAL:.5 REAL:1. REAL:.. REAL:-.5 REAL:1.2.3"},
    {"- --5 007 -12", "INTEGER:- INTEGER:--5 INTEGER:007 INTEGER:-12"},
    {"a[1][2] :a a:b a[1]b _x9", "NAME:a[1][2] NAME::a NAME:a:b NAME:a[1] NAME:b NAME:_x9"},
    {"a[]", "NAME:a []"},
    {"\"a`b\"", "BAD:\" NAME:a BAD:` NAME:b BAD:\""},
    {"\"tab\there\"", "BAD:\" NAME:tab NAME:here BAD:\""},
    {"\"\" \" ~!\"", "STRING: STRING: ~!"},
    {"\"open\nx", "BAD:\" NAME:open NAME:x"},
    {"a\r\nb", "NAME:a NAME:b"},
    {"* ! / `", "BAD:* BAD:! BAD:/ BAD:`"},
    {"x\x80y", "NAME:x BAD:\x80 NAME:y"},
    {"x\xffy", "NAME:x BAD:\xff NAME:y"},
    {"a // c\nb", "NAME:a NAME:b"},
    {"// at end", "BAD:/ BAD:/ NAME:at NAME:end"},
    // Longer reads that yield shorter tokens.
    {"extern[ x verify:[2] 0xab[1 a[",
     "extern BAD:[ NAME:x NAME:verify:[2] INTEGER:171 BAD:[ INTEGER:1 NAME:a BAD:["},
    {"0x0x 0x0x0x0 0x0xq a[1][2 b",
     "INTEGER:0 NAME:x INTEGER:0 NAME:x0x0 NAME:0x0xq NAME:a[1] BAD:[ INTEGER:2 NAME:b"},
    {"x \"ab c", "NAME:x BAD:\" NAME:ab NAME:c"},
    {"", ""},
};

TEST_F(LexerTest, TokenTable)
{
    for (const TokenCase& c : tokenCases) {
        EXPECT_EQ(tokens(c.script), c.tokens) << "script: " << c.script;
        ScriptLexer::release();
    }
}

// The script arrives in blocks of ReadBlock bytes. Shifting every script of
// the table so that each of its characters in turn is the first of a block
// must leave the tokens as they were: the comment filter carries its state
// from one block to the next.
TEST_F(LexerTest, TokenTableAcrossReadBlocks)
{
    const std::size_t readBlock = 8192;
    for (const TokenCase& c : tokenCases) {
        std::size_t n = std::strlen(c.script);
        for (std::size_t at = 0; at <= n; ++at) {
            EXPECT_EQ(tokens(std::string(readBlock - at, ' ') + c.script), c.tokens)
                << "script: " << c.script << ", block starts at " << at;
            ScriptLexer::release();
        }
    }
}

TEST_F(LexerTest, NulByteIsStray)
{
    EXPECT_EQ(tokens(std::string("a\0b", 3)), std::string("NAME:a BAD:") + " NAME:b");
}

TEST_F(LexerTest, ValueTokensKeepThePreviousValue)
{
    open("abc { ( \"s\" }");
    EXPECT_EQ(ScriptLexer::nextToken(), TK_NAME);
    EXPECT_EQ(ScriptLexer::nextToken(), TK_LBRACE);
    EXPECT_EQ(ScriptLexer::nextToken(), TK_LPAREN);
    EXPECT_STREQ(ScriptLexer::tokenValue(), "abc");
    EXPECT_EQ(ScriptLexer::nextToken(), TK_STRING);
    EXPECT_EQ(ScriptLexer::nextToken(), TK_RBRACE);
    EXPECT_STREQ(ScriptLexer::tokenValue(), "s");
}

TEST_F(LexerTest, EndOfInputRepeats)
{
    open("a");
    EXPECT_EQ(ScriptLexer::nextToken(), TK_NAME);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ScriptLexer::nextToken(), 0);
        EXPECT_STREQ(ScriptLexer::tokenText(), "");
        EXPECT_EQ(ScriptLexer::tokenOffset(), 1);
    }
}

struct PositionCase {
    const char* script;
    int index;  // which token, from 0
    int line;
    int offset;
};

const PositionCase positionCases[] = {
    {"a b", 1, 1, 2},
    {"a\n  b", 1, 2, 4},
    {"a /* x\ny */ b", 1, 2, 12},
    {"// one\n// two\nb", 0, 3, 14},
    {"a\r\n\r\nb", 1, 3, 5},
    {"\n\n\"s\" = 5", 1, 3, 6},
};

TEST_F(LexerTest, LinesAndOffsets)
{
    for (const PositionCase& c : positionCases) {
        open(c.script);
        for (int i = 0; i < c.index; ++i)
            ScriptLexer::nextToken();
        EXPECT_NE(ScriptLexer::nextToken(), 0) << c.script;
        EXPECT_EQ(ScriptLexer::lineNumber(), c.line) << c.script;
        EXPECT_EQ(ScriptLexer::tokenOffset(), c.offset) << c.script;
        ScriptLexer::release();
    }
}

TEST_F(LexerTest, LinesAndOffsetsAcrossReadBlocks)
{
    const int readBlock = 8192;
    for (const PositionCase& c : positionCases) {
        int n = static_cast<int>(std::strlen(c.script));
        for (int at = 0; at <= n; ++at) {
            open(std::string(static_cast<std::size_t>(readBlock - at), ' ') + c.script);
            for (int i = 0; i < c.index; ++i)
                ScriptLexer::nextToken();
            EXPECT_NE(ScriptLexer::nextToken(), 0) << c.script << " at " << at;
            EXPECT_EQ(ScriptLexer::lineNumber(), c.line) << c.script << " at " << at;
            EXPECT_EQ(ScriptLexer::tokenOffset(), c.offset + readBlock - at) << c.script << " at " << at;
            ScriptLexer::release();
        }
    }
}

// Offsets keep counting across refills of the reading buffer.
TEST_F(LexerTest, OffsetsAcrossBufferRefills)
{
    std::string text(40000, ' ');
    text += "far";
    open(text);
    EXPECT_EQ(ScriptLexer::nextToken(), TK_NAME);
    EXPECT_EQ(ScriptLexer::tokenOffset(), 40000);
    EXPECT_STREQ(ScriptLexer::tokenValue(), "far");
}

TEST_F(LexerTest, LongTokenGrowsTheBuffer)
{
    std::string text = "\"" + std::string(20000, 'x') + "\" y";
    open(text);
    EXPECT_EQ(ScriptLexer::nextToken(), TK_OVERLONG);
    EXPECT_STREQ(ScriptLexer::pendingError(), "value too long");
    EXPECT_EQ(ScriptLexer::nextToken(), TK_NAME);
    EXPECT_EQ(ScriptLexer::tokenOffset(), 20003);
    EXPECT_EQ(ScriptLexer::pendingError(), nullptr);
}

TEST_F(LexerTest, ValueLimit)
{
    struct {
        std::string script;
        int token;
    } cases[] = {
        {std::string(499, 'n'), TK_NAME},
        {std::string(500, 'n'), TK_OVERLONG},
        {"\"" + std::string(499, 's') + "\"", TK_STRING},
        {"\"" + std::string(500, 's') + "\"", TK_OVERLONG},
        {std::string(500, '7'), TK_OVERLONG},
        {"0x" + std::string(600, 'f'), TK_INTEGER},
    };
    for (const auto& c : cases) {
        open(c.script);
        EXPECT_EQ(ScriptLexer::nextToken(), c.token) << c.script.size();
        ScriptLexer::release();
    }
}

TEST_F(LexerTest, CapturesCommentsWhileSwitchedOn)
{
    Parse::getOutStore().clear();
    open("x\n// one\n  // two\ny\n// three\n");
    EXPECT_EQ(ScriptLexer::nextToken(), TK_NAME);
    ScriptLexer::captureComments = 1;
    EXPECT_EQ(ScriptLexer::nextToken(), TK_NAME);
    ScriptLexer::captureComments = 0;
    EXPECT_EQ(ScriptLexer::nextToken(), 0);
    EXPECT_EQ(interptest::dump(Parse::getOutStore()), "//000002=\"// one\n\" //000003=\"// two\n\"");
    EXPECT_EQ(ScriptLexer::lineNumber(), 6);
}

}  // namespace
