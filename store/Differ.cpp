// The verification report: expected values against the values a run
// produced, written as one block into the result file. Its failed lines
// are also kept for the console (FailedChecks).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FailedChecks.h"
#include "FileGate.h"
#include "RealFormat.h"
#include "VarBank.h"

namespace {
// Near is "==" with a tolerance; Tolerance marks the element that holds a
// tolerance, written with its check and never on its own.
enum Check { Equal, NotEqual, AtMost, Below, AtLeast, Above, Near, Tolerance };

// The operator found in a name: its check, its two-character display and
// where its code stood in the name, if there was one.
struct Operator {
    Check check;
    char shown[5];
    bool coded;
    std::size_t at;
};

Check checkOf(char first, char second)
{
    switch (first) {
    case '!': return NotEqual;
    case '<': return second == '=' ? AtMost : Below;
    case '>': return second == '=' ? AtLeast : Above;
    case '+': return Tolerance;
    default: return Equal;
    }
}

// The first operator code in name: one of "=!<>" or the pair "+-", which
// no name read from a script holds; a lone '+' that a test function put
// into a name is part of the name.
char* findCode(char* name)
{
    const char* const codes = "=!<>+";
    char* at = std::strpbrk(name, codes);
    while (at && at[0] == '+' && at[1] != '-')
        at = std::strpbrk(at + 1, codes);
    return at;
}

// Removes the two operator characters from name (at most 499 kept).
Operator takeOperator(const char* full, char* name)
{
    std::size_t n = std::strlen(full);
    if (n > VarBank::NameSize - 1)
        n = VarBank::NameSize - 1;
    std::memcpy(name, full, n);
    name[n] = '\0';
    Operator op{Equal, " == ", false, 0};
    char* at = findCode(name);
    if (!at)
        return op;
    char second = at[1];
    op.check = checkOf(at[0], second);
    op.coded = true;
    op.at = static_cast<std::size_t>(at - name);
    op.shown[1] = at[0];
    op.shown[2] = second ? second : ' ';
    std::size_t cut = second ? 2 : 1;
    std::memmove(at, at + cut, std::strlen(at + cut) + 1);
    return op;
}

// The tolerance of the "==" check e: the element the grammar stores right
// after it, named as e with "+-" for its code. Null for none; most checks
// have none, and learn it from the first byte that differs.
const StoreEl* toleranceAfter(const StoreEl* e, const Operator& op)
{
    const StoreEl* next = e->getNext();
    if (!next || op.check != Equal || !op.coded)
        return nullptr;
    const char* a = e->getName();
    const char* b = next->getName();
    std::size_t at = op.at;
    if (b[0] != (at ? a[0] : '+') || std::strncmp(a, b, at) != 0 || b[at] != '+' || b[at + 1] != '-')
        return nullptr;
    return std::strcmp(a + at + 2, b + at + 2) == 0 ? next : nullptr;
}

template <typename T>
bool passes(Check c, const T& actual, const T& expected)
{
    switch (c) {
    case Equal: return actual == expected;
    case NotEqual: return actual != expected;
    case AtMost: return actual <= expected;
    case Below: return actual < expected;
    case AtLeast: return actual >= expected;
    case Above: return actual > expected;
    default: return false;
    }
}

bool isNumber(const StoreEl* e)
{
    return e && (e->getType() == StoreEl::TypeInt || e->getType() == StoreEl::TypeDouble);
}

double numberOf(const StoreEl* e)
{
    return e->getType() == StoreEl::TypeInt ? static_cast<double>(e->getInt()) : e->getDouble();
}

// A tolerance is about numbers, so ints and doubles meet on either side.
// NaN is near nothing, an infinity only itself, and a negative tolerance
// admits no value at all, so that the mistake shows as a failure.
bool isNear(const StoreEl* actual, const StoreEl* expected, const StoreEl* tolerance)
{
    if (!isNumber(actual) || !isNumber(expected))
        return false;
    double a = numberOf(actual), e = numberOf(expected);
    double t = isNumber(tolerance) ? numberOf(tolerance) : 0.0;
    return t >= 0.0 && (a == e || std::fabs(a - e) <= t);
}

bool checkValue(Check c, const StoreEl* actual, const StoreEl* expected)
{
    switch (expected->getType()) {
    case StoreEl::TypeInt: return passes(c, actual->getInt(), expected->getInt());
    case StoreEl::TypeDouble: return passes(c, actual->getDouble(), expected->getDouble());
    default: return passes(c, std::strcmp(actual->getText(), expected->getText()), 0);
    }
}

// 1 when the check fails. Apart from Near, a value of another type fails.
int judge(Check c, const StoreEl* actual, const StoreEl* expected, const StoreEl* tolerance)
{
    if (!actual)
        return 1;
    if (c == Near)
        return isNear(actual, expected, tolerance) ? 0 : 1;
    if (actual->getType() != expected->getType())
        return 1;
    return checkValue(c, actual, expected) ? 0 : 1;
}

enum { DoubleText = RealFormat::TextSize };

bool readsBack(const char* text, double v) { return std::strtod(text, nullptr) == v; }

// A failed check between two different doubles whose "%lf" texts are the
// same would read as a false alarm: both are then written with the digits
// that tell them apart. (With round-trip precision they always are.)
bool needsDigits(const StoreEl* actual, const StoreEl* expected)
{
    if (!actual || actual->getType() != StoreEl::TypeDouble || expected->getType() != StoreEl::TypeDouble)
        return false;
    double a = actual->getDouble(), e = expected->getDouble();
    if (std::isnan(a) || std::isnan(e) || a == e)
        return false;
    char ta[DoubleText], te[DoubleText];
    std::snprintf(ta, sizeof ta, "%lf", a);
    std::snprintf(te, sizeof te, "%lf", e);
    return std::strcmp(ta, te) == 0;
}

// Doubles are written as the run asks (RealFormat::write), or with the
// shortest digits when they must tell two values apart.
void writeValue(FileGate& out, const StoreEl* value, const char* name, bool digits)
{
    if (!digits) {
        value->writeValue(out, name, StoreEl::HexBareOrParenthesised);
        return;
    }
    char text[DoubleText];
    RealFormat::shortest(text, value->getDouble());
    out << text;
}

// As the run asks when six decimals read back as the tolerance, else with
// the digits it takes: a tolerance below a millionth must not show as
// 0.000000.
void writeTolerance(FileGate& out, const StoreEl* tolerance, const char* name)
{
    char text[DoubleText];
    bool shortest = false;
    if (tolerance->getType() == StoreEl::TypeDouble) {
        std::snprintf(text, sizeof text, "%lf", tolerance->getDouble());
        shortest = !readsBack(text, tolerance->getDouble());
    }
    writeValue(out, tolerance, name, shortest);
}

void writeBracket(FileGate& out, const char* name, const StoreEl* actual, const char* verdict, bool digits)
{
    switch (actual->getType()) {
    case StoreEl::TypeInt: out << "; [int " << name << " = "; break;
    case StoreEl::TypeDouble: out << "; [double " << name << " = "; break;
    case StoreEl::TypeString: out << "; [char* " << name << " = "; break;
    default: out << "; [undefined] ERROR"; return;
    }
    writeValue(out, actual, name, digits);
    out << "] " << verdict;
}

// The line without its indent and newline: the text the console repeats.
// Kept inline in the report's loop, which writes every line through it,
// although keepForConsole calls it too.
[[gnu::always_inline]] inline void writeCheck(FileGate& out, const char* name, const Operator& op,
                                              const StoreEl* expected, const StoreEl* tolerance,
                                              const StoreEl* actual, int failed)
{
    bool digits = failed && needsDigits(actual, expected);
    out << name << op.shown;
    writeValue(out, expected, name, digits);
    if (tolerance) {
        out << " +- ";
        writeTolerance(out, tolerance, name);
    }
    if (!actual)
        out << "; [undefined] ERROR";
    else if (failed || op.check != Equal)
        writeBracket(out, name, actual, failed ? "ERROR" : "", digits);
}

// The failed line once more, as the console shows it after the run. Only
// failures pay for it, so a run without any writes its report as fast as
// ever.
[[gnu::cold]] void keepForConsole(const char* test, const char* name, const Operator& op,
                                  const StoreEl* expected, const StoreEl* tolerance, const StoreEl* actual)
{
    char text[FailedChecks::TextSize];
    text[0] = '\0';
    FileGate line;
    if (line.openOutText(text, sizeof text)) {
        writeCheck(line, name, op, expected, tolerance, actual, 1);
        line.closeOut();
    }
    FailedChecks::add(test, text);
}

// One line of the verified section; returns 1 when the line fails.
int verifyOne(FileGate& out, const StoreEl* expected, const char* test, VarBank& actualBank)
{
    char name[VarBank::NameSize];
    Operator op = takeOperator(expected->getName(), name);
    if (op.check == Tolerance)
        return 0;
    StoreEl* actual = actualBank.getData(name);
    int failed = 0;
    if (!expected->hasKnownType()) {
        out << "unknown type: " << name << "\n";
    } else {
        const StoreEl* tolerance = toleranceAfter(expected, op);
        if (tolerance)
            op.check = Near;
        failed = judge(op.check, actual, expected, tolerance);
        out << "    ";
        writeCheck(out, name, op, expected, tolerance, actual, failed);
        out << "\n";
        if (failed)
            keepForConsole(test, name, op, expected, tolerance, actual);
    }
    if (actual)
        actual->setMark();
    return failed;
}

// A picture check: "@@" and the drawing file's name, its tolerance (if
// any) right after it as "+-@@name", and its outcome in the actual bank
// under the same name: "" when the drawing matched, else the line naming
// the first difference.
const char* const kPictureCode = "@@";

bool isPicture(const StoreEl* e) { return std::strncmp(e->getName(), kPictureCode, 2) == 0; }

const StoreEl* pictureTolerance(const StoreEl* e)
{
    const StoreEl* next = e->getNext();
    if (!next || std::strncmp(next->getName(), "+-", 2) != 0 ||
        std::strcmp(next->getName() + 2, e->getName()))
        return nullptr;
    return next;
}

// The line without its indent; returns 1 when the check fails.
int writePicture(FileGate& out, const StoreEl* expected, const StoreEl* actual)
{
    out << "picture \"" << expected->getName() + 2 << "\"";
    if (const StoreEl* tolerance = pictureTolerance(expected)) {
        out << " +- ";
        writeTolerance(out, tolerance, expected->getName());
    }
    if (!actual) {
        out << "; [undefined] ERROR";
        return 1;
    }
    if (actual->getType() == StoreEl::TypeString && actual->getText()[0] == '\0')
        return 0;
    out << "; [" << (actual->getType() == StoreEl::TypeString ? actual->getText() : "no outcome")
        << "] ERROR";
    return 1;
}

[[gnu::cold]] void keepPictureForConsole(const char* test, const StoreEl* expected, const StoreEl* actual)
{
    char text[FailedChecks::TextSize];
    text[0] = '\0';
    FileGate line;
    if (line.openOutText(text, sizeof text)) {
        writePicture(line, expected, actual);
        line.closeOut();
    }
    FailedChecks::add(test, text);
}

int verifyPicture(FileGate& out, const StoreEl* expected, const char* test, VarBank& actualBank)
{
    StoreEl* actual = actualBank.getData(expected->getName());
    out << "    ";
    int failed = writePicture(out, expected, actual);
    out << "\n";
    if (failed)
        keepPictureForConsole(test, expected, actual);
    if (actual)
        actual->setMark();
    return failed;
}

bool isComment(const StoreEl* e)
{
    return e->getType() == StoreEl::TypeString && std::strncmp(e->getName(), "//", 2) == 0;
}
}

int VarBank::differ(FileGate& out, VarBank& actual, int status)
{
    int result = 0;
    out << getName() << "\n{\n";
    for (StoreEl* e = actual.getData(nullptr); e && isComment(e); e = e->getNext()) {
        e->setMark();
        out << "  " << e->getText();
    }
    out << "  verified:\n";
    for (const StoreEl* e = first; e; e = e->getNext())
        result |=
            isPicture(e) ? verifyPicture(out, e, getName(), actual) : verifyOne(out, e, getName(), actual);
    out << "  logged:\n";
    for (StoreEl* e = actual.getData(nullptr); e; e = e->getNext()) {
        if (e->getMark()) {
            e->clearMark();
            continue;
        }
        e->writeLine(out, 1, StoreEl::HexBareOrParenthesised);
    }
    out << "}";
    if (status == 0) {
        result = 1;
        out << " [ERROR]";
        FailedChecks::add(getName(), "} [ERROR]");
    }
    out << "\n\n";
    return result;
}
