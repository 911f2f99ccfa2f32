// Numbers with an exponent or a leading "+", nan and inf as values (and
// still as names wherever a name could stand), the precision setting, and
// lists far longer than the parser stack.
#include "InterpTestUtil.h"

#include <cstring>
#include <vector>

#include "FileGate.h"
#include "RealFormat.h"
#include "ScriptGrammar.hpp"
#include "ScriptLexer.h"

namespace {

using interptest::dump;

// Value tokens as KIND:value (strings bare), every other token as its text.
std::string tokens(const std::string& text)
{
    interptest::writeFile("lex.txt", text);
    if (Parse::getIO().openIn("lex.txt") != 1)
        return "unreadable";
    ScriptLexer::restart(Parse::getIO());
    std::string out;
    for (int t = ScriptLexer::nextToken(); t != 0; t = ScriptLexer::nextToken()) {
        const char* kind = t == TK_NAME      ? "NAME:"
                           : t == TK_INTEGER ? "INTEGER:"
                           : t == TK_REAL    ? "REAL:"
                                             : "";
        out += (out.empty() ? "" : " ") + std::string(kind);
        out += kind[0] || t == TK_STRING ? ScriptLexer::tokenValue() : ScriptLexer::tokenText();
    }
    ScriptLexer::release();
    Parse::getIO().closeIn();
    return out;
}

const char* const tokenRows[][2] = {
    {"1e5 2.5E3 1.0e+10 1e-5 .5e1 -1.5e2 1.e3 +5 +.5 +1e3 a==1+-+2",
     "REAL:1e5 REAL:2.5E3 REAL:1.0e+10 REAL:1e-5 REAL:.5e1 REAL:-1.5e2 REAL:1.e3 INTEGER:5 REAL:.5 REAL:1e3 "
     "NAME:a == INTEGER:1 +- INTEGER:2"},
    {"nan inf -inf +inf nan {2} -inf {\"s\"}",
     "REAL:nan REAL:inf REAL:-inf REAL:inf REAL:nan { INTEGER:2 } REAL:-inf { s }"},
    // Where a name could go on, the tokens stay those of a name after a number.
    {"1e5=3 1e5 // c\n == 2.5E3x 1e5[2] 1e5 .b 1e5 {a 1e5 /* c */ { 0x1",
     "INTEGER:1 NAME:e5 = INTEGER:3 INTEGER:1 NAME:e5 == REAL:2.5 NAME:E3x INTEGER:1 NAME:e5[2] "
     "INTEGER:1 NAME:e5 . NAME:b INTEGER:1 NAME:e5 { NAME:a INTEGER:1 NAME:e5 { INTEGER:1"},
    {"nan = (inf) nan{ inf[1] nanx -inf= -infx inf:",
     "NAME:nan = ( NAME:inf ) NAME:nan { NAME:inf[1] NAME:nanx INTEGER:- NAME:inf = INTEGER:- NAME:infx "
     "NAME:inf:"},
    {"1e 1ex 2E+ 1e+-5 +x +. +infx +in -i -in",
     "INTEGER:1 NAME:e INTEGER:1 NAME:ex INTEGER:2 NAME:E + INTEGER:1 NAME:e +- INTEGER:5 + NAME:x + . "
     "+ NAME:infx + NAME:in INTEGER:- NAME:i INTEGER:- NAME:in"},
};

class LiteralLexer : public interptest::InScratchDir {};

// Each row with every one of its characters in turn first in a read block:
// the text read past a token and given back may span two blocks.
TEST_F(LiteralLexer, TokensAcrossReadBlocks)
{
    for (const auto& row : tokenRows) {
        for (std::size_t at = 0; at <= std::strlen(row[0]); ++at)
            EXPECT_EQ(tokens(std::string(8192 - at, ' ') + row[0]), row[1]) << row[0] << " at " << at;
    }
}

std::vector<std::string> runs;  // "test:inputs:checks" of every test run

class LiteralRun : public interptest::InScratchDir {
protected:
    int run(const std::string& text)
    {
        runs.clear();
        return Parse::parseLoop(script("resultfile \"r.txt\"\n" + text).c_str(), "", [] {
            VarBank& in = Parse::getInStore();
            runs.push_back(in.getName() + (":" + dump(in)) + ":" + dump(Parse::getVerStore()));
            return -1;
        });
    }
};

// Rows of a script and its first test's banks, or of a script and its error.
const char* const runRows[][2] = {
    {"t { a = 1e5 b = 1.5e3 c = +5 d = +2.5 e = -1.5e-3 f = 1.0e+10 }",
     "t:a=100000 b=1500 c=5 d=2.5 e=-0.0015 f=1e+10:"},
    {"{ g = 1e3 } t { l[] { 1e3 {2e1} +4 nan -inf (g) } }",
     "t:l[0]=1000 l[1]=20 l[2]=4 l[3]=nan l[4]=-inf l[5]=1000:"},
    {"t { verify: x == nan y != inf z == 1e3 +- 1e-3 w == +2 +- +1 }",
     "t::==x=nan !=y=inf ==z=1000 +-z=0.001 ==w=2 +-w=1"},
    {"{ nan = 1 inf { x = 2 } } t { a = (nan) b = (inf.x) c = nan d = inf }", "t:a=1 b=2 c=nan d=inf:"},
    {"t { x = 1e5 = 3 y = 2.5E3x = 4 l[] { 1e5 { a = 1 } } n = -inf = 5 }",
     "t:x=1 e5=3 y=2.5 E3x=4 l[0]=1 l[1].e5.a=1 n=0 inf=5:"},
    {"precision \"fast\"", "parse error in line 2 ( \"fast\"... )\n"},
    {"colour \"red\"", "parse error in line 2 ( \"red\"... )\n"},
    {"a.b \"full\"", "parse error in line 2 ( \"full\"... )\n"},
    {"t { x = 1e5 // c\n = }", "parse error in line 3 ( }... )\n"},
};

TEST_F(LiteralRun, ValuesAndErrors)
{
    for (const auto& row : runRows) {
        int status = run(row[0]);
        EXPECT_EQ(status ? Parse::getErrString() : runs.at(0), row[1]) << row[0];
    }
    EXPECT_EQ(run("nan { a = 1 } precision { b = 2 } precision \"full\""), 0);
    EXPECT_EQ(runs.at(0) + runs.at(1), "nan:a=1:precision:b=2:");
    EXPECT_TRUE(RealFormat::roundTrip());
    EXPECT_EQ(run("precision \"full\" t { } precision \"six\""), 0);
    EXPECT_FALSE(RealFormat::roundTrip());
    run("precision \"full\"");
    EXPECT_EQ(run("t { }"), 0);
    EXPECT_FALSE(RealFormat::roundTrip());  // every run starts from the default
}

// Lists take one parser stack entry however long they are; a dotted name
// is still nested, one level a part.
TEST_F(LiteralRun, ListsOfAnyLength)
{
    std::string items, statements, dotted = "a";
    for (int i = 0; i < 100000; ++i) {
        items += " " + std::to_string(i);
        statements += "a" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    }
    for (int i = 0; i < 300; ++i)
        dotted += ".a";
    EXPECT_EQ(run("t { l[] {" + items + " } }\nt {\n" + statements + "}"), 0) << Parse::getErrString();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].substr(0, 15) + runs[0].substr(runs[0].size() - 16), "t:l[0]=0 l[1]=1 l[99999]=99999:");
    EXPECT_EQ(runs[1].substr(0, 12) + runs[1].substr(runs[1].size() - 13), "t:a0=0 a1=1 a99999=99999:");
    EXPECT_EQ(run("t { " + dotted + " = 1 }"), 2);
    EXPECT_EQ(std::string(Parse::getErrString()).substr(0, 31), "parser stack overflow in line 2");
}

}  // namespace
