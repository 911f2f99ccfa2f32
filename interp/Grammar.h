// Semantic actions of the script grammar and the interpreter state they
// share (nesting level, names and counters per level, the target family).
// Every action that can fail returns 1 to go on and 0 to end the parse.
#ifndef ZEM_GRAMMAR_H
#define ZEM_GRAMMAR_H

#include <cstddef>

#include "SymValue.h"

class VarBank;
class StoreCv;

class Grammar {
public:
    enum { Levels = 20, Counters = Levels - 1, TextSize = 500, MaxText = TextSize - 1 };
    // The three families of banks; member 0 of each is the bank the rest of
    // the system sees, members 1 to 19 collect nested structures.
    enum Family { InFamily, VerFamily, DefFamily, Families };
    // Assignment operators in the order of the operator-code table.
    enum Op { OpAssign, OpEq, OpNe, OpGt, OpLt, OpGe, OpLe };

    static VarBank& member(int family, int index);
    // The banks recycle their records while a parse runs (tests of one
    // shape, nested groups); turned off, they delete the records they kept,
    // so that between parses every bank holds no more than it shows.
    static void setRecycling(int on);
    static int parse();

    static int level() { return m_Level; }
    static const char* testName() { return m_Names[0]; }
    static int startOffset() { return m_StartOffset; }
    static int isExtern() { return m_Extern; }

    // Items of the script.
    static void start();
    static void setResultFile(const char* name);
    static void deleteFile(const char* name);
    static void markTestStart();
    static void markBlockStart();
    static void beginTest(const char* name, int isExtern);
    static int runBlock();
    static void endExternTest();
    // A setting between items: precision "full" or precision "six", the way
    // reports and traces write doubles from here on.
    static int setting(const char* name, const char* text);

    // Levels and targets.
    static int openTestBody();
    static int openLevel();
    static void closeLevel();
    static void selectTarget(int family);
    static void endVerification();
    static void nameLevel(const char* name);
    static int storeNested();

    // Statements.
    static int nameTarget(SymValue& out, const SymValue& name, int op);
    static int assignInteger(const char* target, const char* text);
    static int assignReal(const char* target, const char* text);
    static int assignString(const char* target, const char* text);
    static int assignReference(const char* target, const char* name);
    // "check +- tolerance": a number checked with "==" takes a tolerance,
    // stored right after the check under the code "+-".
    static int assignTolerance(const char* check, const char* tolerance, int isReal);
    // "picture "file"" after verify: the test's drawing must match the file;
    // stored as "@@" and the file's name. out becomes that stored name.
    static int pictureCheck(SymValue& out, const char* name, const char* file);
    static int oldParseError();
    static int pictureTolerance(const char* check, const char* tolerance, int isReal);

    // Arrays and their elements.
    static int openArray();
    static int integerElement(const char* text);
    static int realElement(const char* text);
    static int stringElement(const char* text);
    static int referenceElement(const char* name);
    static int openElement();
    static int closeElement();
    static int emptyElement();

    // Names and string values.
    static void plainName();
    static int dottedName(SymValue& out, const SymValue& rest);
    static int appendLiteral(SymValue& value, const char* literal, std::size_t length);
    static int stringReference(SymValue& value, const char* name, int append);

    // The single hook for the parser's own errors.
    static void syntaxError(const char* parserMessage);

    // An INTEGER token's text converted as strtol(text, nullptr, 10) does
    // (one optional "-", digits, out-of-range values clamped to the long
    // range), then narrowed to int.
    static int integerOf(const char* text);
    // A REAL token's text converted as strtod(text, nullptr) does in the C
    // locale, bit for bit.
    static double realOf(const char* text);

private:
    enum { GroupRef = 4 };

    // One helper per limit; each reports its error when the limit is broken.
    static int fitsValue(std::size_t length);
    static int fitsName(std::size_t length);
    static int fitsNesting(int newLevel);
    static int fitsGroup(const VarBank& group, std::size_t prefixLength);
    static int limitError(const char* message);

    static void clearScratch();
    static int undefinedReference(const char* name);
    static int lookUp(const char* name);
    static int assignFound(StoreCv target, const char* name, int type);
    static StoreCv currentItem();
    static void clearElementScratch();
    static int storeElementGroup(VarBank& group);
    template <typename Value>
    static int plainElement(Value value);
    static int notNumericCheck(int type);
    static VarBank& statementBank();

    static int m_Level;
    static char m_Names[Levels][TextSize];
    static int m_Counters[Counters];
    static int m_Family;
    static int m_VerifyMode;
    static int m_StartOffset;
    static int m_Extern;
};

#endif
