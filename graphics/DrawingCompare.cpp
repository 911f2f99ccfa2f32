// Command-by-command comparison of drawings and its one-line report. Equal
// commands are recognised by comparing their arrays whole, so that two
// equal drawings cost little more than a memory compare.
#include "DrawingCompare.h"

#include "DrawingText.h"

namespace {

const char kMissing[] = "missing";
const char* const kFontNames[] = {"tiny", "medium", "large"};

// Counts, fill and font say what is drawn, not where: no tolerance.
bool exact(DrawField field)
{
    return field == DrawField::Count || field == DrawField::Fill || field == DrawField::Font ||
           field == DrawField::Extra;
}

bool within(int expected, int actual, DrawField field, int tolerance)
{
    const long long gap = static_cast<long long>(expected) - actual;
    const long long distance = gap < 0 ? -gap : gap;
    return distance == 0 || (!exact(field) && distance <= tolerance);
}

std::string valueText(const DrawCommand& c, std::size_t index)
{
    if (index >= c.numbers.size())
        return kMissing;
    const int value = c.numbers[index];
    if (drawFieldOf(c, index) == DrawField::Font && value >= 0 && value <= 2)
        return kFontNames[value];
    return std::to_string(value);
}

void setField(const DrawCommand& e, const DrawCommand& a, std::size_t index, DrawingDifference& d)
{
    d.field = drawFieldName(index < e.numbers.size() ? e : a, index);
    d.expected = valueText(e, index);
    d.actual = valueText(a, index);
}

// Fills d and returns true when the two commands differ.
bool firstDifference(const DrawCommand& e, const DrawCommand& a, int tolerance, DrawingDifference& d)
{
    d.kind = drawKindName(e.kind);
    if (e.kind != a.kind) {
        d.field = "kind";
        d.expected = drawKindName(e.kind);
        d.actual = drawKindName(a.kind);
        return true;
    }
    if (e.numbers == a.numbers && e.text == a.text)
        return false;
    const std::size_t n = e.numbers.size() < a.numbers.size() ? e.numbers.size() : a.numbers.size();
    for (std::size_t i = 0; i < n; ++i)
        if (!within(e.numbers[i], a.numbers[i], drawFieldOf(e, i), tolerance)) {
            setField(e, a, i, d);
            return true;
        }
    if (e.numbers.size() != a.numbers.size()) {
        setField(e, a, n, d);
        return true;
    }
    if (e.text == a.text)
        return false;
    d.field = "text";
    d.expected = quotedDrawingText(e.text);
    d.actual = quotedDrawingText(a.text);
    return true;
}

void setOnlyOne(const std::vector<DrawCommand>& e, const std::vector<DrawCommand>& a, DrawingDifference& d)
{
    const std::size_t at = d.index - 1;
    const bool expectedHasIt = at < e.size();
    const DrawCommand& c = expectedHasIt ? e[at] : a[at];
    d.kind = drawKindName(c.kind);
    d.expected = expectedHasIt ? drawingLine(c) : kMissing;
    d.actual = expectedHasIt ? kMissing : drawingLine(c);
}

std::string commands(std::size_t n) { return std::to_string(n) + (n == 1 ? " command" : " commands"); }

}  // namespace

DrawingDifference compareDrawings(const std::vector<DrawCommand>& expected,
                                  const std::vector<DrawCommand>& actual, int tolerance)
{
    DrawingDifference d;
    d.expectedLength = expected.size();
    d.actualLength = actual.size();
    const int slack = tolerance > 0 ? tolerance : 0;
    const std::size_t n = expected.size() < actual.size() ? expected.size() : actual.size();
    for (std::size_t i = 0; i < n; ++i)
        if (firstDifference(expected[i], actual[i], slack, d)) {
            d.same = false;
            d.index = i + 1;
            return d;
        }
    d.kind.clear();
    if (expected.size() == actual.size())
        return d;
    d.same = false;
    d.index = n + 1;
    setOnlyOne(expected, actual, d);
    return d;
}

std::string differenceLine(const std::string& name, const DrawingDifference& d)
{
    std::string line = "picture " + name + ": ";
    if (d.same)
        return line + commands(d.expectedLength) + ", as expected";
    if (d.expectedLength != d.actualLength)
        line += commands(d.actualLength) + ", expected " + std::to_string(d.expectedLength) + "; ";
    line += "command " + std::to_string(d.index) + " ";
    if (d.field == "kind")
        return line + "is " + d.actual + ", expected " + d.expected;
    if (d.field.empty())
        return line + d.kind + (d.actual == kMissing ? " is missing" : " is extra");
    return line + d.kind + " " + d.field + " = " + d.actual + ", expected " + d.expected;
}
