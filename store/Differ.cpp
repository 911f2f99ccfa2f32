// The verification report: expected values against the values a run
// produced, written as one block into the result file.
#include <cstring>

#include "FileGate.h"
#include "VarBank.h"

namespace {
enum Check { Equal, NotEqual, AtMost, Below, AtLeast, Above };

// The operator found in a name: its check and its two-character display.
struct Operator {
    Check check;
    char shown[5];
};

// Removes the two operator characters from name (at most 499 kept).
Operator takeOperator(const char* full, char* name)
{
    std::size_t n = std::strlen(full);
    if (n > VarBank::NameSize - 1)
        n = VarBank::NameSize - 1;
    std::memcpy(name, full, n);
    name[n] = '\0';
    Operator op{Equal, " == "};
    char* at = std::strpbrk(name, "=!<>");
    if (!at)
        return op;
    char second = at[1];
    op.shown[1] = at[0];
    op.shown[2] = second ? second : ' ';
    if (at[0] == '!')
        op.check = NotEqual;
    else if (at[0] == '<')
        op.check = second == '=' ? AtMost : Below;
    else if (at[0] == '>')
        op.check = second == '=' ? AtLeast : Above;
    std::size_t cut = second ? 2 : 1;
    std::memmove(at, at + cut, std::strlen(at + cut) + 1);
    return op;
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
    }
    return false;
}

void writeBracket(FileGate& out, const char* name, const StoreEl* actual, const char* verdict)
{
    switch (actual->getType()) {
    case StoreEl::TypeInt: out << "; [int " << name << " = "; break;
    case StoreEl::TypeDouble: out << "; [double " << name << " = "; break;
    case StoreEl::TypeString: out << "; [char* " << name << " = "; break;
    default: out << "; [undefined] ERROR"; return;
    }
    actual->writeValue(out, name, StoreEl::HexBareOrParenthesised);
    out << "] " << verdict;
}

bool checkValue(Check c, const StoreEl* actual, const StoreEl* expected)
{
    switch (expected->getType()) {
    case StoreEl::TypeInt: return passes(c, actual->getInt(), expected->getInt());
    case StoreEl::TypeDouble: return passes(c, actual->getDouble(), expected->getDouble());
    default: return passes(c, std::strcmp(actual->getText(), expected->getText()), 0);
    }
}

// One line of the verified section; returns 1 when the line fails.
int verifyOne(FileGate& out, const StoreEl* expected, VarBank& actualBank)
{
    char name[VarBank::NameSize];
    Operator op = takeOperator(expected->getName(), name);
    StoreEl* actual = actualBank.getData(name);
    int failed = 0;
    if (!expected->hasKnownType()) {
        out << "unknown type: " << name << "\n";
    } else {
        out << "    " << name << op.shown;
        expected->writeValue(out, name, StoreEl::HexBareOrParenthesised);
        if (!actual) {
            out << "; [undefined] ERROR\n";
            failed = 1;
        } else if (actual->getType() != expected->getType()) {
            writeBracket(out, name, actual, "ERROR");
            out << "\n";
            failed = 1;
        } else {
            bool ok = checkValue(op.check, actual, expected);
            if (!(ok && op.check == Equal))
                writeBracket(out, name, actual, ok ? "" : "ERROR");
            out << "\n";
            failed = ok ? 0 : 1;
        }
    }
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
        result |= verifyOne(out, e, actual);
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
    }
    out << "\n\n";
    return result;
}
