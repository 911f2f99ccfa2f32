/* Script grammar: productions with one-line actions. The work of every
   action lives in Grammar (GrammarState.cpp, GrammarValues.cpp,
   GrammarArrays.cpp); an action that returns 0 ends the parse.
   Every list (items, statements, elements, string parts) is left
   recursive: it takes one stack entry however long it grows, so only
   nesting fills the parser stack. A name at the top level starts a test
   or, followed by a string, a setting; firstName is reduced before the
   token after the name is read, so a test is still marked where its name
   stands. Token codes are the parser's own symbol numbers
   (api.token.raw), which saves a translation at every lookahead. */
%{
#include "Grammar.h"
#include "ScriptLexer.h"

/* The parser stack starts with 70 entries, doubles when full and stops at
   500: pushing a 500th entry is "parser stack overflow". */
#define YYINITDEPTH 70
#define YYMAXDEPTH 500
/* Grown stacks start zero-filled, so that every value in them, even one an
   empty rule copies before it was ever set, is an empty, terminated text. */
#include <cstdlib>
#define YYMALLOC(size) std::calloc(1, (size))
#define YYFREE std::free
/* Values are copied one by one so that only their texts move. */
#define YYCOPY(Dst, Src, Count) \
    do { for (YYPTRDIFF_T yyi = 0; yyi < (Count); yyi++) (Dst)[yyi] = (Src)[yyi]; } while (0)
#define CHECK(action) do { if (!(action)) YYABORT; } while (0)

static int zglex();
static void zgerror(const char* message);
%}

%code requires {
#include "SymValue.h"
#define ZGSTYPE_IS_TRIVIAL 1
}

%define api.prefix {zg}
%define api.token.prefix {TK_}
%define api.token.raw
%define api.value.type {SymValue}
%expect 0

%token RESULTFILE "resultfile" DELETEFILE "deletefile" EXTERN "extern" VERIFY "verify:"
%token DOT "." LBRACE "{" RBRACE "}" LPAREN "(" RPAREN ")" ARRAY "[]"
%token ASSIGN "=" EQ "==" NE "!=" GT ">" LT "<" GE ">=" LE "<=" NEAR "+-"
%token NAME STRING INTEGER REAL BADCHAR OVERLONG

%%

script          : items ;
items           : %empty                                        { Grammar::start(); }
                | items item ;
item            : resultFile | deleteFile | setting | test ;
resultFile      : "resultfile" stringValue                      { Grammar::setResultFile($2.text); } ;
deleteFile      : "deletefile" stringValue                      { Grammar::deleteFile($2.text); } ;
setting         : firstName STRING                              { CHECK(Grammar::setting($1.text, $2.text)); } ;
test            : "extern" qname                                { Grammar::beginTest($2.text, 1); }
                  testBody                                      { Grammar::endExternTest(); }
                | testName                                      { Grammar::beginTest($1.text, 0); }
                  testBody                                      { CHECK(Grammar::runBlock()); }
                |                                               { Grammar::markBlockStart(); }
                  definitionBlock                               { CHECK(Grammar::runBlock()); } ;
testName        : firstName                                     { Grammar::plainName(); }
                | firstName "." qname                           { CHECK(Grammar::dottedName($$, $3)); } ;
firstName       : NAME                                          { Grammar::markTestStart(); } ;
testBody        : "{"                                           { CHECK(Grammar::openTestBody()); }
                  inputPart verifyPart                          { Grammar::closeLevel(); }
                  "}" ;
inputPart       : %empty
                |                                               { Grammar::selectTarget(Grammar::InFamily); }
                  statements ;
verifyPart      : %empty
                | "verify:"
                | "verify:"                                     { Grammar::selectTarget(Grammar::VerFamily); }
                  statements                                    { Grammar::endVerification(); } ;
definitionBlock : "{"                                           { CHECK(Grammar::openLevel()); }
                  definitionPart                                { Grammar::closeLevel(); }
                  "}" ;
definitionPart  : %empty
                |                                               { Grammar::selectTarget(Grammar::DefFamily); }
                  statements ;
statements      : statement
                | toleranced
                | statements statement
                | statements toleranced ;
toleranced      : statement "+-" INTEGER                        { CHECK(Grammar::assignTolerance($1.text, $3.text, 0)); }
                | statement "+-" REAL                           { CHECK(Grammar::assignTolerance($1.text, $3.text, 1)); } ;
statement       : qname                                         { Grammar::nameLevel($1.text); }
                  block                                         { CHECK(Grammar::runBlock()); }
                | qname "[]"                                    { Grammar::nameLevel($1.text); }
                  array
                | target INTEGER                                { CHECK(Grammar::assignInteger($1.text, $2.text)); }
                | target REAL                                   { CHECK(Grammar::assignReal($1.text, $2.text)); }
                | target stringValue                            { CHECK(Grammar::assignString($1.text, $2.text)); }
                | target "(" qname                              { CHECK(Grammar::assignReference($1.text, $3.text)); }
                  ")"
                | qname STRING                                  { CHECK(Grammar::pictureCheck($$, $1.text, $2.text)); } ;
block           : "{" "}"
                | "{"                                           { CHECK(Grammar::openLevel()); }
                  statements                                    { Grammar::closeLevel(); }
                  "}" ;
array           : "{" "}"
                | "{"                                           { CHECK(Grammar::openArray()); }
                  elements                                      { Grammar::closeLevel(); }
                  "}" ;
elements        : element
                | elements element ;
element         : INTEGER                                       { CHECK(Grammar::integerElement($1.text)); }
                | "{" INTEGER "}"                               { CHECK(Grammar::integerElement($2.text)); }
                | REAL                                          { CHECK(Grammar::realElement($1.text)); }
                | "{" REAL "}"                                  { CHECK(Grammar::realElement($2.text)); }
                | stringValue                                   { CHECK(Grammar::stringElement($1.text)); }
                | "{" stringValue "}"                           { CHECK(Grammar::stringElement($2.text)); }
                | "(" qname                                     { CHECK(Grammar::referenceElement($2.text)); }
                  ")"
                |                                               { CHECK(Grammar::openElement()); }
                  statement                                     { CHECK(Grammar::closeElement()); }
                | "{"                                           { CHECK(Grammar::openElement()); }
                  statements                                    { CHECK(Grammar::closeElement()); }
                  "}"
                | "{"                                           { CHECK(Grammar::emptyElement()); }
                  "}" ;
target          : qname "="                                     { CHECK(Grammar::nameTarget($$, $1, Grammar::OpAssign)); }
                | qname "=="                                    { CHECK(Grammar::nameTarget($$, $1, Grammar::OpEq)); }
                | qname ">"                                     { CHECK(Grammar::nameTarget($$, $1, Grammar::OpGt)); }
                | qname "<"                                     { CHECK(Grammar::nameTarget($$, $1, Grammar::OpLt)); }
                | qname "!="                                    { CHECK(Grammar::nameTarget($$, $1, Grammar::OpNe)); }
                | qname ">="                                    { CHECK(Grammar::nameTarget($$, $1, Grammar::OpGe)); }
                | qname "<="                                    { CHECK(Grammar::nameTarget($$, $1, Grammar::OpLe)); } ;
qname           : NAME                                          { Grammar::plainName(); }
                | NAME "." qname                                { CHECK(Grammar::dottedName($$, $3)); } ;
stringValue     : STRING
                | "(" stringParts ")"                           { $$ = $2; } ;
stringParts     : STRING
                | stringParts STRING                            { CHECK(Grammar::appendLiteral($$, $2.text, $2.len)); }
                | "(" qname ")"                                 { CHECK(Grammar::stringReference($$, $2.text, 0)); }
                | stringParts "(" qname ")"                     { CHECK(Grammar::stringReference($$, $3.text, 1)); } ;

%%

/* Token values reach the grammar only for the kinds that carry one; every
   other token leaves the previous value in place. */
static int zglex()
{
    int token = ScriptLexer::nextToken();
    if (ScriptLexer::hasValue(token))
        zglval.take(ScriptLexer::tokenValue(), ScriptLexer::tokenLength());
    return token;
}

static void zgerror(const char* message)
{
    Grammar::syntaxError(message);
}

int Grammar::parse()
{
    return zgparse();
}
