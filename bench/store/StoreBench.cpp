// Data-store throughput: inserting names shaped like "v123.x[4]" through
// StoreCv, looking them all up and walking the bank, against std::map and
// std::unordered_map of string to variant; plus heap bytes per element.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <malloc.h>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "StoreCv.h"
#include "VarBank.h"

namespace {
typedef std::variant<int, double, std::string> Value;
typedef std::map<std::string, Value> OrderedMap;
typedef std::unordered_map<std::string, Value> HashMap;

struct Keys {
    std::vector<std::string> names;     // insertion order
    std::vector<std::string> shuffled;  // lookup order
    std::vector<std::string> texts;
};

const Keys& keys(int n)
{
    static std::map<int, Keys> cache;
    Keys& k = cache[n];
    if (k.names.empty()) {
        for (int i = 0; i < n; ++i) {
            k.names.push_back("v" + std::to_string(i / 10) + ".x[" + std::to_string(i % 10) + "]");
            k.texts.push_back("s" + std::to_string(i));
        }
        k.shuffled = k.names;
        std::shuffle(k.shuffled.begin(), k.shuffled.end(), std::mt19937(42));
    }
    return k;
}

// Every third value an int, a double and a short string.
void fillBank(VarBank& b, const Keys& k)
{
    for (size_t i = 0; i < k.names.size(); ++i) {
        StoreCv cv(&b, k.names[i].c_str());
        switch (i % 3) {
        case 0: cv = static_cast<int>(i); break;
        case 1: cv = i * 0.5; break;
        default: cv = k.texts[i].c_str(); break;
        }
    }
}

template <typename Map>
void fillMap(Map& m, const Keys& k)
{
    for (size_t i = 0; i < k.names.size(); ++i) {
        switch (i % 3) {
        case 0: m[k.names[i]] = static_cast<int>(i); break;
        case 1: m[k.names[i]] = i * 0.5; break;
        default: m[k.names[i]] = k.texts[i]; break;
        }
    }
}

size_t heapInUse() { return mallinfo2().uordblks; }

// The harness always has process-wide banks alive, so the record pool is
// not emptied between tests; this bank plays that part.
void keepPoolAlive()
{
    static VarBank resident;
    resident["resident"] = 1;
}

void BM_VarBankInsert(benchmark::State& state)
{
    keepPoolAlive();
    const Keys& k = keys(state.range(0));
    for (auto _ : state) {
        VarBank b;
        fillBank(b, k);
        benchmark::DoNotOptimize(b.getData(nullptr));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <typename Map>
void BM_MapInsert(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    for (auto _ : state) {
        Map m;
        fillMap(m, k);
        benchmark::DoNotOptimize(m.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_VarBankLookup(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    VarBank b;
    fillBank(b, k);
    for (auto _ : state) {
        long sum = 0;
        for (const std::string& n : k.shuffled)
            sum += StoreCv(&b, n.c_str()).getType();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <typename Map>
void BM_MapLookup(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    Map m;
    fillMap(m, k);
    for (auto _ : state) {
        long sum = 0;
        for (const std::string& n : k.shuffled)
            sum += static_cast<long>(m.find(n)->second.index()) + 1;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_VarBankWalk(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    VarBank b;
    fillBank(b, k);
    for (auto _ : state) {
        long sum = 0;
        for (StoreEl* e = b.getData(nullptr); e; e = e->getNext())
            sum += e->getType();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <typename Map>
void BM_MapWalk(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    Map m;
    fillMap(m, k);
    for (auto _ : state) {
        long sum = 0;
        for (const auto& kv : m)
            sum += static_cast<long>(kv.second.index()) + 1;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Heap growth per element, chunk overhead included (malloc's own count).
void BM_VarBankHeap(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    double perElem = 0;
    for (auto _ : state) {
        size_t before = heapInUse();
        VarBank* b = new VarBank;
        fillBank(*b, k);
        perElem = double(heapInUse() - before) / k.names.size();
        delete b;
    }
    state.counters["heap_bytes_per_elem"] = perElem;
}

template <typename Map>
void BM_MapHeap(benchmark::State& state)
{
    const Keys& k = keys(state.range(0));
    double perElem = 0;
    for (auto _ : state) {
        size_t before = heapInUse();
        Map* m = new Map;
        fillMap(*m, k);
        perElem = double(heapInUse() - before) / k.names.size();
        delete m;
    }
    state.counters["heap_bytes_per_elem"] = perElem;
}
}

#define SIZES ->Arg(1000)->Arg(100000)
// Heap first: it needs the record pool empty, before the resident bank.
BENCHMARK(BM_VarBankHeap) SIZES->Iterations(3);
BENCHMARK_TEMPLATE(BM_MapHeap, OrderedMap) SIZES->Iterations(3);
BENCHMARK_TEMPLATE(BM_MapHeap, HashMap) SIZES->Iterations(3);
BENCHMARK(BM_VarBankInsert) SIZES;
BENCHMARK_TEMPLATE(BM_MapInsert, OrderedMap) SIZES;
BENCHMARK_TEMPLATE(BM_MapInsert, HashMap) SIZES;
BENCHMARK(BM_VarBankLookup) SIZES;
BENCHMARK_TEMPLATE(BM_MapLookup, OrderedMap) SIZES;
BENCHMARK_TEMPLATE(BM_MapLookup, HashMap) SIZES;
BENCHMARK(BM_VarBankWalk) SIZES;
BENCHMARK_TEMPLATE(BM_MapWalk, OrderedMap) SIZES;
BENCHMARK_TEMPLATE(BM_MapWalk, HashMap) SIZES;

BENCHMARK_MAIN();
