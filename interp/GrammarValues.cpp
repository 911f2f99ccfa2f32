// Statement actions: assignment targets with their operator codes, plain
// assignments, references into the variable bank, names and string values.
#include "Grammar.h"

#include "Parse.h"
#include "ScriptLexer.h"
#include "StoreCv.h"
#include "VarBank.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Element-name prefixes of the verification bank, indexed by Grammar::Op.
const char* const opCodes[] = {"==", "==", "!=", "> ", "< ", ">=", "<="};
// The code of a tolerance, which no name can hold: the check it belongs
// to is stored as every check is.
const char toleranceCode[] = "+-";
// The code of a picture check, before the drawing file's name: no name a
// script writes begins with it.
const char pictureCode[] = "@@";

// The group a reference names, cut out of the variable bank.
VarBank& refGroup()
{
    static VarBank group;
    return group;
}

}  // namespace

int Grammar::nameTarget(SymValue& out, const SymValue& name, int op)
{
    const char* code = opCodes[op];
    if (!m_VerifyMode) {
        if (op == OpAssign)
            return 1;
        char message[32];
        std::snprintf(message, sizeof message, "%s (%s)", "illegal operation", code);
        return limitError(message);
    }
    if (!fitsName(2 + static_cast<std::size_t>(name.len)))
        return 0;
    std::memmove(out.text + 2, name.text, static_cast<std::size_t>(name.len) + 1);
    std::memcpy(out.text, code, 2);
    out.len = name.len + 2;
    return 1;
}

// The lexer's INTEGER texts are "-" signs and digits only, so the general
// conversion (locale, white space, bases) is not needed on this hot path.
int Grammar::integerOf(const char* text)
{
    const unsigned long long limit = static_cast<unsigned long long>(LONG_MAX) + 1u;
    int negative = *text == '-';
    if (negative)
        ++text;
    unsigned long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        // Past limit / 10 another digit leaves the range for good.
        magnitude =
            magnitude <= limit / 10u ? magnitude * 10u + static_cast<unsigned>(*text - '0') : limit + 1u;
    }
    long value;
    if (negative)
        value = magnitude >= limit ? LONG_MIN : -static_cast<long>(magnitude);
    else
        value =
            magnitude > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX : static_cast<long>(magnitude);
    return static_cast<int>(value);
}

// REAL texts are "-" signs, digits and dots, or a number with an exponent,
// nan, inf or -inf. Up to 15 digits and 22 after the dot, digits / 10^k is
// one correctly rounded division of two exact doubles, which is what
// strtod returns; every other text goes to strtod.
double Grammar::realOf(const char* text)
{
    static const double tens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = text;
    int negative = *p == '-';
    p += negative;
    unsigned long long digits = 0;
    int count = 0, after = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++count)
        digits = digits * 10u + static_cast<unsigned>(*p - '0');
    if (*p == '.') {
        for (++p; *p >= '0' && *p <= '9'; ++p, ++count, ++after)
            digits = digits * 10u + static_cast<unsigned>(*p - '0');
    }
    if (count == 0 || count > 15 || after > 22 || (*p | 0x20) == 'e')
        return std::strtod(text, nullptr);
    double value = static_cast<double>(digits) / tens[after];
    return negative ? -value : value;
}

int Grammar::assignInteger(const char* target, const char* text)
{
    statementBank()[target] = integerOf(text);
    return 1;
}

int Grammar::assignReal(const char* target, const char* text)
{
    statementBank()[target] = realOf(text);
    return 1;
}

// A tolerance belongs to a number checked with "==" (or "=") after
// verify: only then does the statement's target carry that code and name a
// number in the bank. Its element follows the check's, as the report
// expects it.
// A picture check's tolerance keeps the check's whole name behind "+-".
int Grammar::pictureTolerance(const char* check, const char* tolerance, int isReal)
{
    char name[TextSize];
    std::snprintf(name, sizeof name, "%s%s", toleranceCode, check);
    VarBank& bank = statementBank();
    if (isReal)
        bank[name] = realOf(tolerance);
    else
        bank[name] = integerOf(tolerance);
    return 1;
}

int Grammar::pictureCheck(SymValue& out, const char* name, const char* file)
{
    // Only "picture" with a file name, among a test's checks, is new.
    if (std::strcmp(name, "picture") != 0 || !m_VerifyMode || &statementBank() != &Parse::getVerStore() ||
        !file[0])
        return oldParseError();
    char stored[TextSize];
    int n = std::snprintf(stored, sizeof stored, "%s%s", pictureCode, file);
    if (n >= static_cast<int>(sizeof stored) - 2)
        return limitError("value too long");
    statementBank()[stored] = file;
    out.take(stored, n);
    return 1;
}

int Grammar::assignTolerance(const char* check, const char* tolerance, int isReal)
{
    if (m_VerifyMode && std::strncmp(check, pictureCode, 2) == 0)
        return pictureTolerance(check, tolerance, isReal);
    if (!m_VerifyMode || std::strncmp(check, opCodes[OpEq], 2) != 0)
        return limitError("illegal operation (+-)");
    VarBank& bank = statementBank();
    int type = bank.getType(check);
    if (type != StoreEl::TypeInt && type != StoreEl::TypeDouble)
        return notNumericCheck(type);
    char name[TextSize];
    std::size_t n = strnlen(check, MaxText);
    std::memcpy(name, check, n + 1);
    std::memcpy(name, toleranceCode, 2);
    if (isReal)
        bank[name] = realOf(tolerance);
    else
        bank[name] = integerOf(tolerance);
    return 1;
}

// A reference skipped in a test that is not selected left no value to
// check; as the reference itself, the tolerance is then skipped too.
int Grammar::notNumericCheck(int type)
{
    const char* selector = Parse::getSelector();
    if (type == StoreEl::TypeNone && selector[0] != '\0' && std::strcmp(selector, m_Names[0]) != 0)
        return 1;
    return limitError("illegal operation (+-)");
}

int Grammar::assignString(const char* target, const char* text)
{
    statementBank()[target] = text;
    return 1;
}

int Grammar::assignReference(const char* target, const char* name)
{
    int type = lookUp(name);
    if (type == StoreEl::TypeNone)
        return undefinedReference(name);
    VarBank& bank = statementBank();
    if (&bank == &Parse::getDefStore() && type != GroupRef && std::strcmp(target, name) == 0)
        return 1;  // a definition assigned to itself keeps its value
    return assignFound(bank[target], name, type);
}

// The type code of a value of the variable bank, GroupRef when the
// name gathers a structure (left in refGroup), TypeNone when it is undefined.
int Grammar::lookUp(const char* name)
{
    VarBank& defs = Parse::getDefStore();
    int type = defs.getType(name);
    if (type != StoreEl::TypeNone)
        return type;
    refGroup() = defs[name];
    if (!refGroup().getData(nullptr))
        return StoreEl::TypeNone;
    return GroupRef;
}

int Grammar::assignFound(StoreCv target, const char* name, int type)
{
    StoreCv found = Parse::getDefStore()[name];
    switch (type) {
    case StoreEl::TypeInt:
    case StoreEl::TypeDouble:
    case StoreEl::TypeString: target = found; return 1;
    case GroupRef:
        if (!fitsGroup(refGroup(), std::strlen(target.getName())))
            return 0;
        target = refGroup();
        return 1;
    default: return 1;
    }
}

// An undefined reference ends the parse when every test runs or when the
// selected test is the one being read; otherwise it is skipped (returns 1).
int Grammar::undefinedReference(const char* name)
{
    const char* selector = Parse::getSelector();
    if (selector[0] != '\0' && std::strcmp(selector, m_Names[0]) != 0)
        return 1;
    char message[TextSize + 16];
    std::snprintf(message, sizeof message, "%s (%s)", "undefined", name);
    return limitError(message);
}

// The value arrives as the NAME text; the first name in a test body ends
// the capture of its comment lines.
void Grammar::plainName() { ScriptLexer::captureComments = 0; }

// out already holds the first name (a rule's value starts as its first
// symbol's).
int Grammar::dottedName(SymValue& out, const SymValue& rest)
{
    if (!fitsName(static_cast<std::size_t>(out.len) + 1 + static_cast<std::size_t>(rest.len)))
        return 0;
    out.text[out.len] = '.';
    std::memcpy(out.text + out.len + 1, rest.text, static_cast<std::size_t>(rest.len) + 1);
    out.len += 1 + rest.len;
    return 1;
}

int Grammar::appendLiteral(SymValue& value, const char* literal, std::size_t length)
{
    if (!fitsValue(static_cast<std::size_t>(value.len) + length))
        return 0;
    std::memcpy(value.text + value.len, literal, length + 1);
    value.len += static_cast<int>(length);
    return 1;
}

// "(name)" inside a string value takes only strings. A skipped reference
// leaves the value as it was: for a first part, the text of the last value
// token read before it.
int Grammar::stringReference(SymValue& value, const char* name, int append)
{
    VarBank& defs = Parse::getDefStore();
    if (defs.getType(name) != StoreEl::TypeString)
        return undefinedReference(name);
    const char* text = static_cast<char*>(defs[name]);
    std::size_t n = std::strlen(text);
    if (append)
        return appendLiteral(value, text, n);
    if (!fitsValue(n))
        return 0;
    value.set(text, static_cast<int>(n));
    return 1;
}
