// The verification report: expected values against the values a run
// produced, written as one block into the result file.
#include <cstdio>
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

bool isHexName(const char* n) { return std::strncmp(n, "0x", 2) == 0 || std::strncmp(n, "(0x", 3) == 0; }

// Removes the two operator characters from name (at most 499 kept).
Operator takeOperator(const char* full, char* name) {
    std::size_t n = std::strlen(full);
    if (n > VarBank::NameSize - 1) n = VarBank::NameSize - 1;
    std::memcpy(name, full, n);
    name[n] = '\0';
    Operator op{Equal, " == "};
    char* at = std::strpbrk(name, "=!<>");
    if (!at) return op;
    char second = at[1];
    op.shown[1] = at[0];
    op.shown[2] = second ? second : ' ';
    if (at[0] == '!') op.check = NotEqual;
    else if (at[0] == '<') op.check = second == '=' ? AtMost : Below;
    else if (at[0] == '>') op.check = second == '=' ? AtLeast : Above;
    std::size_t cut = second ? 2 : 1;
    std::memmove(at, at + cut, std::strlen(at + cut) + 1);
    return op;
}

template <typename T>
bool passes(Check c, const T& actual, const T& expected) {
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

int intOf(const StoreEl* e) {
    int v;
    std::memcpy(&v, e->getData(), sizeof v);
    return v;
}

double doubleOf(const StoreEl* e) {
    double v;
    std::memcpy(&v, e->getData(), sizeof v);
    return v;
}

const char* textOf(const StoreEl* e) { return static_cast<const char*>(e->getData()); }

void writeInt(FileGate& out, const char* name, int v) {
    if (!isHexName(name)) {
        out << v;
        return;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(v));
    out << hex;
}

void writeValue(FileGate& out, const char* name, const StoreEl* e) {
    switch (e->getType()) {
    case StoreEl::TypeInt: writeInt(out, name, intOf(e)); break;
    case StoreEl::TypeDouble: out << doubleOf(e); break;
    default: out << "\"" << textOf(e) << "\""; break;
    }
}

void writeBracket(FileGate& out, const char* name, const StoreEl* actual, const char* verdict) {
    switch (actual->getType()) {
    case StoreEl::TypeInt: out << "; [" << "int " << name << " = "; break;
    case StoreEl::TypeDouble: out << "; [" << "double " << name << " = "; break;
    case StoreEl::TypeString: out << "; [" << "char* " << name << " = "; break;
    default: out << "; [" << "undefined] ERROR"; return;
    }
    writeValue(out, name, actual);
    out << "] " << verdict;
}

bool checkValue(Check c, const StoreEl* actual, const StoreEl* expected) {
    switch (expected->getType()) {
    case StoreEl::TypeInt: return passes(c, intOf(actual), intOf(expected));
    case StoreEl::TypeDouble: return passes(c, doubleOf(actual), doubleOf(expected));
    default: return passes(c, std::strcmp(textOf(actual), textOf(expected)), 0);
    }
}

bool knownType(const StoreEl* e) {
    return e->getType() >= StoreEl::TypeInt && e->getType() <= StoreEl::TypeString;
}

// One line of the verified section; returns 1 when the line fails.
int verifyOne(FileGate& out, const StoreEl* expected, VarBank& actualBank) {
    char name[VarBank::NameSize];
    Operator op = takeOperator(expected->getName(), name);
    StoreEl* actual = actualBank.getData(name);
    int failed = 0;
    if (!knownType(expected)) {
        out << "unknown type: " << name << "\n";
    } else {
        out << "    " << name << op.shown;
        writeValue(out, name, expected);
        if (!actual) {
            out << "; [" << "undefined] ERROR" << "\n";
            failed = 1;
        } else if (actual->getType() != expected->getType()) {
            writeBracket(out, name, actual, "ERROR");
            out << "\n";
            failed = 1;
        } else {
            bool ok = checkValue(op.check, actual, expected);
            if (!(ok && op.check == Equal)) writeBracket(out, name, actual, ok ? "" : "ERROR");
            out << "\n";
            failed = ok ? 0 : 1;
        }
    }
    if (actual) actual->setMark();
    return failed;
}

void logOne(FileGate& out, StoreEl* e) {
    const char* name = e->getName();
    switch (e->getType()) {
    case StoreEl::TypeInt:
        out << "    " << name << " = ";
        writeInt(out, name, intOf(e));
        out << "\n";
        break;
    case StoreEl::TypeDouble: out << "    " << name << " = " << doubleOf(e) << "\n"; break;
    case StoreEl::TypeString: out << "    " << name << " = \"" << textOf(e) << "\"" << "\n"; break;
    default: out << "unknown type: " << name << "\n"; break;
    }
}

bool isComment(const StoreEl* e) {
    return e->getType() == StoreEl::TypeString && std::strncmp(e->getName(), "//", 2) == 0;
}
}

int VarBank::differ(FileGate& out, VarBank& actual, int status) {
    int result = 0;
    out << getName() << "\n" << "{" << "\n";
    for (StoreEl* e = actual.getData(nullptr); e && isComment(e); e = e->getNext()) {
        e->setMark();
        out << "  " << textOf(e);
    }
    out << "  verified:" << "\n";
    for (const StoreEl* e = first; e; e = e->getNext())
        result |= verifyOne(out, e, actual);
    out << "  logged:" << "\n";
    for (StoreEl* e = actual.getData(nullptr); e; e = e->getNext()) {
        if (e->getMark()) {
            e->clearMark();
            continue;
        }
        logOne(out, e);
    }
    out << "}";
    if (status == 0) {
        result = 1;
        out << " [ERROR]";
    }
    out << "\n" << "\n";
    return result;
}
