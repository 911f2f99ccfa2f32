// Differential fuzz target for the bank: the bytes are a sequence of
// operations (assignments of each type, reads, member and item handles,
// cutting and pasting a group, copying and clearing a bank) applied both to
// VarBank and to a small model written here; every read and every walk must
// agree. A recycling bank takes every operation of the first bank along
// and must agree with the same model. Names come from a fixed table chosen so that groups, prefixes and
// items meet, and no two names collide once a group is cut out.
#include "StoreCv.h"
#include "StoreEl.h"
#include "VarBank.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {
    "x", "y", "g.a", "g.b", "g[0]", "g[1]", "g.a.c", "g[0].a", "h.a", "h[2]", "gg.a", "0x1f"};
const char* const kGroups[] = {"g", "h", "k"};
const char* const kMembers[] = {"a", "b", "c"};

struct Value {
    std::string name;
    int type = StoreEl::TypeNone;
    int i = 0;
    double d = 0;
    std::string s;
};

// The model: elements in insertion order, names unique.
struct Model {
    std::vector<Value> els;
    Value* find(const std::string& name)
    {
        for (Value& v : els)
            if (v.name == name)
                return &v;
        return nullptr;
    }
    void set(const Value& v)
    {
        if (Value* old = find(v.name)) {
            std::string keep = old->name;
            *old = v;
            old->name = keep;
        } else {
            els.push_back(v);
        }
    }
};

// Reads the fuzz input a byte or a few at a time; zeros once it is spent.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t byte() { return at < size ? data[at++] : 0; }
    int integer()
    {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k)
            v = v << 8 | byte();
        return static_cast<int>(v);
    }
    double real()
    {
        uint64_t bits =
            static_cast<uint64_t>(static_cast<uint32_t>(integer())) << 32 | static_cast<uint32_t>(integer());
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    std::string text()
    {
        size_t length = byte() * 3u;
        std::string s;
        while (s.size() < length && at < size) {
            char c = static_cast<char>(byte());
            if (c)
                s += c;
        }
        return s;
    }
};

bool sameDouble(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void compareRead(VarBank& bank, Model& model, const std::string& name)
{
    StoreCv h(&bank, name.c_str());
    const Value* v = model.find(name);
    check(h.getType() == (v ? v->type : StoreEl::TypeNone));
    check(int(h) == (v && v->type == StoreEl::TypeInt ? v->i : 0));
    check(sameDouble(double(h), v && v->type == StoreEl::TypeDouble ? v->d : 0.0));
    check(std::string(static_cast<char*>(h)) == (v && v->type == StoreEl::TypeString ? v->s : ""));
}

void compareWalk(VarBank& bank, Model& model)
{
    size_t k = 0;
    for (StoreEl* el = bank.getData(nullptr); el; el = el->getNext(), ++k) {
        check(k < model.els.size());
        check(model.els[k].name == el->getName());
        compareRead(bank, model, model.els[k].name);
    }
    check(k == model.els.size());
}

// What a cut-out group holds: its members and items, the group name and its
// separator taken off, in order.
Model cut(const Model& from, const std::string& group)
{
    Model out;
    for (const Value& v : from.els) {
        const std::string& n = v.name;
        bool member = n.compare(0, group.size() + 1, group + ".") == 0 && n.size() > group.size() + 1;
        bool item = n.compare(0, group.size() + 1, group + "[") == 0;
        if (member || item) {
            Value copy = v;
            copy.name = n.substr(group.size() + 1);
            out.els.push_back(copy);
        }
    }
    return out;
}

void paste(Model& into, const Model& src, const std::string& target)
{
    std::vector<Value> snapshot = src.els;
    for (const Value& v : snapshot) {
        bool item =
            std::isdigit(static_cast<unsigned char>(v.name[0])) && v.name[1] != 'x' && v.name[1] != 'X';
        Value copy = v;
        copy.name = target + (item ? "[" : ".") + v.name;
        into.set(copy);
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static VarBank a, b;
    static RecyclingBank r;
    a.clear();
    b.clear();
    r.clear();
    Model ma, mb;
    Input in{data, size};
    // Pastes can double the bank; the model's lookups are linear, so past a
    // few hundred elements an input would only be slow, not any better.
    while (in.at < in.size && ma.els.size() <= 500) {
        Value v;
        v.name = kNames[in.byte() % (sizeof kNames / sizeof kNames[0])];
        std::string group = kGroups[in.byte() % 3];
        const char* n = v.name.c_str();
        switch (in.byte() % 10) {
        case 0:
            v.type = StoreEl::TypeInt, v.i = in.integer(), StoreCv(&a, n) = v.i, StoreCv(&r, n) = v.i;
            break;
        case 1:
            v.type = StoreEl::TypeDouble, v.d = in.real(), StoreCv(&a, n) = v.d, StoreCv(&r, n) = v.d;
            break;
        case 2:
            v.type = StoreEl::TypeString, v.s = in.text();
            StoreCv(&a, n) = v.s.c_str(), StoreCv(&r, n) = v.s.c_str();
            break;
        case 3:
            compareRead(a, ma, v.name);
            compareRead(r, ma, v.name);
            continue;
        case 4: {
            const char* member = kMembers[in.byte() % 3];
            v.name = group + "." + member, v.type = StoreEl::TypeInt, v.i = in.integer();
            a[group.c_str()][member] = v.i;
            r[group.c_str()][member] = v.i;
            break;
        }
        case 5: {
            int index = in.byte() % 4;
            v.name = group + "[" + std::to_string(index) + "]", v.type = StoreEl::TypeInt, v.i = in.integer();
            a[group.c_str()][index] = v.i;
            r[group.c_str()][index] = v.i;
            break;
        }
        case 6: b = a[group.c_str()], mb = cut(ma, group); continue;
        case 7: a[group.c_str()] = b, r[group.c_str()] = b, paste(ma, mb, group); continue;
        case 8: b = a, mb = ma; continue;
        default: a.clear(), r.clear(), ma.els.clear(); continue;
        }
        ma.set(v);
    }
    compareWalk(a, ma);
    compareWalk(r, ma);
    compareWalk(b, mb);
    return 0;
}
