// Named-variable bank and value handles: lookups, strict reads, in-place
// assignment, name limits, and group cut, paste and copy.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StoreCv.h"
#include "StoreTestUtil.h"
#include "VarBank.h"

namespace {
std::vector<std::string> names(const VarBank& b)
{
    std::vector<std::string> out;
    for (StoreEl* e = b.getData(nullptr); e; e = e->getNext())
        out.push_back(e->getName());
    return out;
}
typedef std::vector<std::string> Names;
}

TEST(VarBank, NewBank)
{
    VarBank b;
    EXPECT_STREQ("VarBank", b.getName());
    EXPECT_EQ(nullptr, b.getData(nullptr));
    EXPECT_EQ(nullptr, b.getData("x"));
    EXPECT_EQ(0, b.getType("x"));
    EXPECT_EQ(0, b.getType(nullptr));
    EXPECT_EQ(0, b.hasPrefix("x"));
}

TEST(VarBank, AssignmentOverwritesInPlace)
{
    VarBank b;
    StoreCv x = b["x"];
    x = 5;
    x = "abc";
    EXPECT_EQ(Names{"x"}, names(b));
    EXPECT_EQ(3, b.getType("x"));
    EXPECT_STREQ("abc", static_cast<char*>(x));
    EXPECT_EQ(0, static_cast<int>(x));
    x = 2.5;
    EXPECT_EQ(2, x.getType());
    EXPECT_EQ(2.5, static_cast<double>(x));
    EXPECT_EQ(0, static_cast<int>(x));
    EXPECT_STREQ("", static_cast<char*>(x));
    x = 7;
    EXPECT_EQ(0.0, static_cast<double>(x));
    EXPECT_EQ(7, static_cast<int>(x));
    EXPECT_EQ(Names{"x"}, names(b));
}

// real() takes an integer as well as a double; double() stays strict.
TEST(VarBank, RealReadsIntegersAndDoubles)
{
    VarBank b;
    b["i"] = 3;
    b["d"] = 2.5;
    b["s"] = "4.5";
    EXPECT_EQ(3.0, b["i"].real() + static_cast<double>(b["i"]));
    EXPECT_EQ(2.5, b["d"].real());
    EXPECT_EQ(0.0, b["s"].real() + b["missing"].real());
}

TEST(VarBank, ReadsOfMissingNames)
{
    VarBank b;
    StoreCv m = b["missing"];
    EXPECT_EQ(0, m.getType());
    EXPECT_EQ(0, static_cast<int>(m));
    EXPECT_EQ(0.0, static_cast<double>(m));
    EXPECT_STREQ("", static_cast<char*>(m));
}

TEST(VarBank, MemberAndItemNames)
{
    VarBank b;
    struct {
        StoreCv cv;
        const char* name;
    } cases[] = {{b["p"]["q"], "p.q"},
                 {b["a"][2], "a[2]"},
                 {b["a"][-1], "a[-1]"},
                 {b["t"][0]["x"], "t[0].x"},
                 {b["p"][static_cast<const char*>(nullptr)], "p"}};
    for (auto& c : cases) {
        EXPECT_STREQ(c.name, c.cv.getName());
        EXPECT_EQ(&b, c.cv.getData());
    }
}

TEST(VarBank, InsertionOrderAndLookup)
{
    VarBank b;
    const char* ns[] = {"zeta", "alpha", "m[10]", "m[2]", "m", "\xC3\xA9t\xC3\xA9"};
    int i = 0;
    for (const char* n : ns)
        b[n] = i++;
    EXPECT_EQ(Names(std::begin(ns), std::end(ns)), names(b));
    i = 0;
    for (const char* n : ns)
        EXPECT_EQ(i++, static_cast<int>(b[n])) << n;
}

TEST(VarBank, LongStringsStoredWhole)
{
    VarBank b;
    std::string big(600, 'L');
    b["s"] = big.c_str();  // new element
    EXPECT_EQ(big, static_cast<char*>(b["s"]));
    b["t"] = "short";
    b["t"] = big.c_str();  // overwrite an existing element
    EXPECT_EQ(big, static_cast<char*>(b["t"]));
    b["t"] = 3;
    b["t"] = "back";
    EXPECT_STREQ("back", static_cast<char*>(b["t"]));

    VarBank group;
    group["g.s"] = big.c_str();
    group["g.n"] = 1;
    VarBank cut(group["g"]);
    EXPECT_EQ(big, static_cast<char*>(cut["s"]));
    VarBank target;
    target["h.s"] = "old";
    target["h"] = cut;  // paste over the existing element
    EXPECT_EQ(big, static_cast<char*>(target["h.s"]));
    EXPECT_EQ(1, static_cast<int>(target["h.n"]));
    VarBank copy;
    copy = target;
    EXPECT_EQ(big, static_cast<char*>(copy["h.s"]));
}

TEST(VarBank, CutGroups)
{
    VarBank b;
    b["t[0].x"] = 1;
    b["t[0].y"] = 2;
    b["t[1].x"] = 3;
    b["u"] = 4;
    VarBank t0(b["t"][0]);
    EXPECT_EQ(Names({"x", "y"}), names(t0));
    EXPECT_EQ(2, static_cast<int>(t0["y"]));
    VarBank t(b["t"]);
    EXPECT_EQ(Names({"0].x", "0].y", "1].x"}), names(t));
    EXPECT_STREQ("VarBank", t.getName());

    VarBank out;
    out["u"] = t;
    EXPECT_EQ(Names({"u[0].x", "u[0].y", "u[1].x"}), names(out));
    EXPECT_EQ(3, static_cast<int>(out["u[1].x"]));
}

TEST(VarBank, GroupPrefixBoundaries)
{
    VarBank b;
    b["t."] = 1;
    b["t["] = 2;
    b["t.a"] = 3;
    b["ta"] = 4;
    VarBank g(b["t"]);
    EXPECT_EQ(Names({"", "a"}), names(g));
    EXPECT_EQ(2, static_cast<int>(g[""]));
    EXPECT_EQ(1, b.hasPrefix("t["));
    EXPECT_EQ(1, b.hasPrefix("t"));
    EXPECT_EQ(0, b.hasPrefix("s"));
    EXPECT_EQ(0, b.hasPrefix("tb"));
    EXPECT_EQ(0, b.hasPrefix(""));
    EXPECT_EQ(0, b.hasPrefix(nullptr));
}

TEST(VarBank, PasteSeparators)
{
    VarBank src;
    src["3]"] = 1;
    src["3].y"] = 2;
    src["x"] = 3;
    src["0x1f"] = 4;
    src["0X2"] = 5;
    VarBank dst;
    dst["a"] = src;
    EXPECT_EQ(Names({"a[3]", "a[3].y", "a.x", "a.0x1f", "a.0X2"}), names(dst));
}

TEST(VarBank, PasteOverwritesOnlyWhenPrefixExisted)
{
    VarBank dst;
    dst["a.x"] = 1;
    VarBank src;
    src["x"] = "new";
    src["y"] = 2.5;
    dst["a"] = src;
    EXPECT_EQ(Names({"a.x", "a.y"}), names(dst));
    EXPECT_STREQ("new", static_cast<char*>(dst["a.x"]));
    EXPECT_EQ(2.5, static_cast<double>(dst["a.y"]));
}

TEST(VarBank, PasteIntoOwnBankTerminates)
{
    VarBank b;
    b["x"] = 1;
    b["y"] = 2;
    b["a"] = b;
    EXPECT_EQ(Names({"x", "y", "a.x", "a.y"}), names(b));
}

TEST(VarBank, HandleCopiesValueOrGroup)
{
    VarBank b;
    b["n"] = 4;
    b["d"] = 1.25;
    b["s"] = "text";
    b["g.k"] = 9;
    b["g[1]"] = "i";
    b["m"] = b["n"];
    b["e"] = b["d"];
    b["r"] = b["s"];
    b["h"] = b["g"];
    EXPECT_EQ(4, static_cast<int>(b["m"]));
    EXPECT_EQ(1.25, static_cast<double>(b["e"]));
    EXPECT_STREQ("text", static_cast<char*>(b["r"]));
    EXPECT_EQ(9, static_cast<int>(b["h.k"]));
    EXPECT_STREQ("i", static_cast<char*>(b["h[1]"]));
    b["s"] = b["s"];  // self-assignment keeps the value
    EXPECT_STREQ("text", static_cast<char*>(b["s"]));
    size_t before = names(b).size();
    StoreCv(nullptr, "x") = b["n"];
    b["q"] = StoreCv(nullptr, "n");
    EXPECT_EQ(before, names(b).size());
}

TEST(VarBank, BankCopy)
{
    VarBank a;
    a.setName("src");
    a["z"] = 1;
    a["b"] = "two";
    a["m"] = 3.0;
    VarBank c;
    c["old"] = 0;
    c = a;
    EXPECT_STREQ("src", c.getName());
    EXPECT_EQ(Names({"z", "b", "m"}), names(c));
    EXPECT_STREQ("two", static_cast<char*>(c["b"]));
    c = c;
    EXPECT_EQ(Names({"z", "b", "m"}), names(c));
    c.clear();
    EXPECT_EQ(Names{}, names(c));
    EXPECT_STREQ("src", c.getName());
}

TEST(VarBank, SixteenBitStrings)
{
    VarBank b;
    const unsigned short hi[] = {'h', 0x169, 'i', 0x0100, 'x', 0};
    b["w"] = hi;
    EXPECT_STREQ("hii", static_cast<char*>(b["w"]));
    b["n"] = static_cast<const unsigned short*>(nullptr);
    EXPECT_STREQ("", static_cast<char*>(b["n"]));
    std::vector<unsigned short> longText(700, 'w');
    longText.push_back(0);
    b["l"] = longText.data();
    EXPECT_EQ(std::string(499, 'w'), static_cast<char*>(b["l"]));
}

TEST(VarBank, NameTruncation)
{
    CaptureIO io;
    VarBank b;
    std::string n600(600, 'n');
    StoreCv h(&b, n600.c_str());
    EXPECT_EQ(std::string(499, 'n'), h.getName());
    EXPECT_EQ("\nname truncated: " + n600 + "\n", io.text());

    std::string n498(498, 'a');
    StoreCv ok(&b, n498.c_str());
    EXPECT_EQ("", io.text());
    std::string n499(499, 'a');
    StoreCv edge(&b, n499.c_str());
    EXPECT_EQ(n499, edge.getName());
    EXPECT_EQ("\nname truncated: " + n499 + "\n", io.text());

    // Composed names are held to the same limit.
    StoreCv member = ok["member"];
    EXPECT_EQ((n498 + ".member").substr(0, 499), member.getName());
    EXPECT_EQ("\nname truncated: " + n498 + ".member\n", io.text());
    StoreCv item = ok[12];
    EXPECT_EQ((n498 + "[12]").substr(0, 499), item.getName());
    EXPECT_EQ("\nname truncated: " + n498 + "[12]\n", io.text());
}

TEST(VarBank, PastedNamesAreTruncated)
{
    CaptureIO io;
    VarBank src;
    std::string n490(490, 'p');
    src["abcdefghijklmnop"] = 1;
    VarBank dst;
    StoreCv(&dst, n490.c_str()) = src;
    EXPECT_EQ(Names{(n490 + ".abcdefghijklmnop").substr(0, 499)}, names(dst));
    EXPECT_EQ("\nname truncated: " + n490 + ".abcdefghijklmnop\n", io.text());
}

TEST(VarBank, UnknownTypesAreReported)
{
    CaptureIO io;
    VarBank src;
    src["g.a"] = 1;
    src["g.b"] = 2;
    src.getData("g.a")->setType(7);
    VarBank cut(src["g"]);
    EXPECT_EQ(Names{"b"}, names(cut));
    EXPECT_EQ("\nVarBank::operator= unknown type\n", io.text());
    VarBank copy;
    copy = src;
    EXPECT_EQ(Names{"g.b"}, names(copy));
    EXPECT_EQ("\nVarBank::operator= unknown type\n", io.text());
    cut.getData("b")->setType(9);
    VarBank dst;
    dst["h"] = cut;
    EXPECT_EQ(Names{}, names(dst));
    EXPECT_EQ("\nStoreCv::operator= unknown type\n", io.text());
}

TEST(VarBank, ManyNamesThroughHandlesAndAppElem)
{
    // Handles insert at the spot their lookup found; appElem descends again.
    // Both must leave one consistent index.
    VarBank b;
    for (int i = 0; i < 3000; ++i) {
        int k = (i * 7919) % 3000;
        std::string n = "v" + std::to_string(k / 10) + ".x[" + std::to_string(k % 10) + "]";
        if (i % 2)
            b[n.c_str()] = k;
        else
            b.appElem(new StoreEl(n.c_str(), k));
    }
    for (int k = 0; k < 3000; ++k) {
        std::string n = "v" + std::to_string(k / 10) + ".x[" + std::to_string(k % 10) + "]";
        ASSERT_EQ(k, static_cast<int>(b[n.c_str()])) << n;
    }
    EXPECT_EQ(3000u, names(b).size());
    EXPECT_EQ(1, b.hasPrefix("v299.x[9"));
    EXPECT_EQ(0, b.hasPrefix("v300"));
}

namespace {
// Fills separated by clear(): each fill is a list of names, assigned in
// order (a name may repeat); "+g" pastes a two-element group under g.
struct RecycleCase {
    const char* title;
    std::vector<Names> fills;
};

const RecycleCase recycleCases[] = {
    {"same order", {{"a", "b", "c"}, {"a", "b", "c"}, {"a", "b", "c"}}},
    {"fewer, then again", {{"a", "b", "c"}, {"a", "b"}, {"a", "b", "c"}, {"a", "b", "c"}}},
    {"more", {{"a", "b"}, {"a", "b", "c", "d"}, {"a", "b", "c", "d"}}},
    {"other order", {{"a", "b", "c"}, {"c", "a", "b"}, {"b"}, {"a", "b", "c"}}},
    {"kept name out of turn", {{"a", "b", "c"}, {"b", "a"}, {"a", "b", "c"}}},
    {"repeated names", {{"a", "a", "b"}, {"a", "b", "b", "a"}, {"b", "a"}}},
    {"empty fills", {{"a"}, {}, {}, {"a"}, {"b"}}},
    {"paste", {{"g.x", "a"}, {"a", "+g"}, {"+g", "a"}, {"g.x", "a"}}},
};

void fill(VarBank& bank, const Names& fill, int round)
{
    VarBank group;
    group["x"] = 1;
    group["y"] = "two";
    int value = round * 100;
    for (const std::string& n : fill) {
        if (n[0] == '+')
            bank[n.c_str() + 1] = group;
        else
            bank[n.c_str()] = ++value;
    }
}

std::string dump(VarBank& bank)
{
    std::string out;
    for (const char* n : {"a", "b", "c", "d", "g.x", "g.y", "x"})
        out += std::string(n) + ":" + std::to_string(bank.getType(n)) + "=" +
               std::to_string(static_cast<int>(bank[n])) + " ";
    for (const char* p : {"a", "g", "g.", "z"})
        out += std::string(p) + (bank.hasPrefix(p) ? "+ " : "- ");
    for (const std::string& n : names(bank))
        out += n + ",";
    return out;
}
}  // namespace

// A recycling bank must read, walk and compare exactly as a plain one,
// whatever order its fills come in.
TEST(VarBank, RecyclingBankBehavesAsAPlainOne)
{
    for (const RecycleCase& c : recycleCases) {
        VarBank plain;
        RecyclingBank recycling;
        for (std::size_t i = 0; i < c.fills.size(); ++i) {
            plain.clear();
            recycling.clear();
            fill(plain, c.fills[i], static_cast<int>(i));
            fill(recycling, c.fills[i], static_cast<int>(i));
            EXPECT_EQ(dump(plain), dump(recycling)) << c.title << ", fill " << i;
        }
    }
}

TEST(VarBank, RecyclingTakesRecordsBackAndReleasesThemWhenOff)
{
    int before = StoreEl::ctr;
    RecyclingBank bank;
    bank["a"] = "a long text that needs a block of its own, longer than forty";
    bank["b"] = 2;
    StoreEl* a = bank.getData("a");
    bank.clear();
    EXPECT_EQ(nullptr, bank.getData("a"));
    EXPECT_EQ(before + 2, StoreEl::ctr);
    bank["a"] = 5;
    EXPECT_EQ(a, bank.getData("a"));
    EXPECT_EQ(1, bank.getType("a"));
    EXPECT_EQ(5, static_cast<int>(bank["a"]));
    EXPECT_EQ(nullptr, bank.getData("b"));
    bank.clear();
    bank.setRecycling(0);
    EXPECT_EQ(before, StoreEl::ctr);
}

// A group is found through the index but keeps the list order, and a
// recycling bank's kept records never join it.
TEST(VarBank, CutFollowsListOrder)
{
    const Names inserted = {"g.b", "g[1]", "x", "g.a", "g[0]", "gg", "g.c"};
    for (int recycling = 0; recycling < 2; ++recycling) {
        VarBank b;
        b.setRecycling(recycling);
        for (const std::string& n : inserted)
            b[n.c_str()] = 1;
        VarBank g(b["g"]);
        EXPECT_EQ(Names({"b", "1]", "a", "0]", "c"}), names(g)) << recycling;
        b.clear();
        b["g.b"] = 2;
        b["g.z"] = 3;
        VarBank again(b["g"]);
        EXPECT_EQ(Names({"b", "z"}), names(again)) << recycling;
    }
}

// What counts as reading an input; the next fill, of recycled records,
// starts unread.
TEST(VarBank, ReadsAreNoted)
{
    const Names all = {"x", "s", "p.a", "p.b", "l[0]", "l[1]"}, none;
    struct {
        void (*read)(VarBank&);
        Names left;
    } cases[] = {
        {[](VarBank&) {}, all},
        {[](VarBank& b) { (void)int(b["x"]); }, {"s", "p.a", "p.b", "l[0]", "l[1]"}},
        {[](VarBank& b) { (void)double(b["s"]); }, {"x", "p.a", "p.b", "l[0]", "l[1]"}},
        {[](VarBank& b) { (void)static_cast<char*>(b["p"]["a"]); }, {"x", "s", "p.b", "l[0]", "l[1]"}},
        {[](VarBank& b) { b["l"][1].getType(); }, {"x", "s", "p.a", "p.b", "l[0]"}},
        {[](VarBank& b) { (void)int(b["X"]), b.getType("p"), b["l"].count(); }, all},
        {[](VarBank& b) { VarBank g(b["p"]); }, {"x", "s", "l[0]", "l[1]"}},
        {[](VarBank& b) { VarBank()["c"] = b["l"]; }, {"x", "s", "p.a", "p.b"}},
        {[](VarBank& b) { VarBank()["c"] = b["s"]; }, {"x", "p.a", "p.b", "l[0]", "l[1]"}},
        {[](VarBank& b) { VarBank() = b; }, none},
        {[](VarBank& b) { VarBank()["c"] = b; }, none},
        {[](VarBank& b) { b.getData(nullptr); }, none},
    };
    for (const auto& c : cases) {
        RecyclingBank b;
        for (int fill = 0; fill < 2; ++fill) {
            b.clear();
            for (const std::string& n : all)
                b[n.c_str()] = 1;
            if (fill == 0)
                c.read(b);
            Names left;
            for (const StoreEl* e = b.nextUnread(nullptr); e; e = b.nextUnread(e))
                left.push_back(e->getName());
            EXPECT_EQ(fill ? all : c.left, left) << &c - cases << " " << fill;
        }
    }
}

TEST(VarBank, CountItems)
{
    struct {
        Names present;
        const char* name;
        int count;
    } cases[] = {
        {{}, "a", 0},
        {{"a", "a[1]", "a[2]"}, "a", 0},
        {{"a[0]", "a[1]", "a[3]"}, "a", 2},
        {{"a[0].x", "a[1]", "a[2][0]", "a[2][1]"}, "a", 3},
        {{"a[0]", "a[01]", "a[-1]", "a[1x]", "a[]", "ab[1]", "a.b[1]"}, "a", 1},
        {{"a[2]", "a[0]", "a[1]", "a[3]", "a[4]", "a[5]", "a[6]", "a[7]", "a[8]", "a[9]", "a[10]"}, "a", 11},
        {{"p.a[0]", "p.a[1]", "a[0]"}, "p.a", 2},
        {{"a[0][0]", "a[0][1]", "a[1]"}, "a[0]", 2},
    };
    for (const auto& c : cases) {
        RecyclingBank b;
        b["a[0]"] = b["a[1]"] = b["a[2]"] = 0;  // kept records are no items
        b.clear();
        for (const std::string& n : c.present)
            b[n.c_str()] = 1;
        EXPECT_EQ(c.count, b[c.name].count()) << &c - cases;
    }
    EXPECT_EQ(0, StoreCv(nullptr, "a").count());
}
