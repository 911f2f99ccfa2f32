// Generates the interpreter benchmark's inputs in the shapes users write:
// definition scripts (flat blocks, deeply nested groups, and arrays,
// strings and references), a script of many small tests with the
// GoogleTest program that makes the same checks, a one-test script, and a
// test whose one array input holds COUNT numbers (with the numbers alone
// for the strtod loop beside it).
//
//   zem_interp_bench_gen defs BYTES FILE
//   zem_interp_bench_gen nested BYTES FILE
//   zem_interp_bench_gen shapes BYTES FILE
//   zem_interp_bench_gen tests COUNT FILE
//   zem_interp_bench_gen gtest COUNT PARTS DIR
//   zem_interp_bench_gen items COUNT FILE
#include "BenchSum.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// One definition block of about 300 statements: numbers, reals, strings,
// nested structures and arrays, with names that repeat from block to block.
void writeBlock(FILE* out, int block)
{
    std::fprintf(out, "{\n");
    for (int i = 0; i < 60; ++i) {
        std::fprintf(out,
                     "  count%d = %d  ratio%d = %d.%d  label%d = \"block %d item %d\"\n",
                     i,
                     block * 7 + i,
                     i,
                     i,
                     block % 100,
                     i,
                     block,
                     i);
        std::fprintf(out, "  limit%d = 0x%x  // plain definitions\n", i, block + i);
        if (i % 6 == 0)
            std::fprintf(
                out, "  shape%d { x = %d y = %d size { w = 3 h = 4.5 } name = \"s\" }\n", i, i, block);
        if (i % 6 == 3)
            std::fprintf(out, "  list%d[] { 1 2 {3} 4.5 \"five\" { k = 6 } }\n", i);
    }
    std::fprintf(out, "}\n");
}

// One block of 100 groups of 100 definitions each, one to a line.
void writeNestedBlock(FILE* out, int block)
{
    std::fprintf(out, "{\n");
    for (int g = 0; g < 100; ++g) {
        std::fprintf(out, "  group%d {\n", g);
        for (int i = 0; i < 100; ++i)
            std::fprintf(out, "    item%d = %d\n", i, block * 10007 + g * 101 + i);
        std::fprintf(out, "  }\n");
    }
    std::fprintf(out, "}\n");
}

// Definitions that lean on strings, arrays and references to earlier values.
void writeShapesBlock(FILE* out, int block)
{
    std::fprintf(out, "{\n");
    for (int i = 0; i < 40; ++i) {
        std::fprintf(out, "  name%d = \"block %d, name %d of the shapes script\"\n", i, block, i);
        std::fprintf(out, "  ints%d[] { %d %d %d %d %d %d %d %d }\n", i, i, block, 3, -4, 55, 666, 0, i * 9);
        std::fprintf(out, "  words%d[] { \"one\" \"two words\" (name%d) {\"four\"} }\n", i, i);
        std::fprintf(out, "  copy%d = (name%d)  total%d = (ints%d[%d])\n", i, i, i, i, i % 8);
        std::fprintf(out, "  joined%d = (\"[\" (name%d) \"]\")\n", i, i);
        if (i % 4 == 0)
            std::fprintf(out, "  rows%d[] { { x = %d y = 2.5 } { x = 3 tag = \"t\" } (words%d) }\n", i, i, i);
    }
    std::fprintf(out, "}\n");
}

int generateBlocks(long bytes, const char* file, void (*writeOne)(FILE*, int))
{
    FILE* out = std::fopen(file, "w");
    if (!out)
        return 1;
    std::fprintf(out, "resultfile \"result.txt\"\n/* definition blocks only */\n");
    for (int block = 0; std::ftell(out) < bytes; ++block)
        writeOne(out, block);
    std::fclose(out);
    return 0;
}

int generateTests(int count, const char* file)
{
    FILE* out = std::fopen(file, "w");
    if (!out)
        return 1;
    std::fprintf(out, "deletefile \"result.txt\"\nresultfile \"result.txt\"\n");
    for (int t = 0; t < count; ++t) {
        char label[32];
        benchLabel(t, label);
        BenchInputs in = benchInputs(t, label);
        BenchSums s = benchSum(in);
        std::fprintf(out,
                     "benchSum {\n  a = %d b = %d c = %d d = %d e = %d f = %d g = %d h = %d\n"
                     "  label = \"%s\"\n",
                     in.v[0],
                     in.v[1],
                     in.v[2],
                     in.v[3],
                     in.v[4],
                     in.v[5],
                     in.v[6],
                     in.v[7],
                     label);
        std::fprintf(out,
                     "  verify:\n  s0 == %d s1 == %d s2 == %d s3 == %d s4 == %d\n}\n",
                     s.v[0],
                     s.v[1],
                     s.v[2],
                     s.v[3],
                     s.v[4]);
    }
    std::fclose(out);
    return 0;
}

// The same checks as GoogleTest cases, spread over PARTS source files.
int generateGtest(int count, int parts, const char* dir)
{
    for (int p = 0; p < parts; ++p) {
        std::string name = std::string(dir) + "/BenchGtest" + std::to_string(p) + ".cpp";
        FILE* out = std::fopen(name.c_str(), "w");
        if (!out)
            return 1;
        std::fprintf(out, "#include <gtest/gtest.h>\n#include \"BenchSum.h\"\n\n");
        for (int t = p; t < count; t += parts) {
            char label[32];
            benchLabel(t, label);
            BenchInputs in = benchInputs(t, label);
            BenchSums s = benchSum(in);
            std::fprintf(out, "TEST(BenchSum, Case%d)\n{\n", t);
            std::fprintf(out,
                         "    BenchInputs in = {{%d, %d, %d, %d, %d, %d, %d, %d}, \"%s\"};\n",
                         in.v[0],
                         in.v[1],
                         in.v[2],
                         in.v[3],
                         in.v[4],
                         in.v[5],
                         in.v[6],
                         in.v[7],
                         label);
            std::fprintf(out, "    BenchSums s = benchSum(in);\n");
            for (int k = 0; k < 5; ++k)
                std::fprintf(out, "    EXPECT_EQ(s.v[%d], %d);\n", k, s.v[k]);
            std::fprintf(out, "}\n\n");
        }
        std::fclose(out);
    }
    return 0;
}

// Item i of the array input: a real in plain digits, or every tenth with
// an exponent, spread over six orders of magnitude.
void itemText(char* text, std::size_t size, long i)
{
    double v = static_cast<double>((i * 7919L) % 2000003L) / 1000.0 - 1000.0;
    std::snprintf(text, size, i % 10 == 9 ? "%.4e" : "%.3f", v * (i % 3 == 0 ? 1000.0 : 1.0));
}

// The script checks the count and the sum, added in the order of the items
// from the same texts: the test function's sum is the same double.
int generateItems(long count, const char* file)
{
    FILE* out = std::fopen(file, "w");
    if (!out || count < 1)
        return 1;
    std::fprintf(out,
                 "deletefile \"result.txt\"\nresultfile \"result.txt\"\nbenchItems {\n  n = %ld\n  list[] {",
                 count);
    double sum = 0.0;
    char text[32];
    for (long i = 0; i < count; ++i) {
        itemText(text, sizeof text, i);
        sum += std::strtod(text, nullptr);
        std::fprintf(out, i % 10 ? " %s" : "\n    %s", text);
    }
    std::fprintf(out, "\n  }\n  verify:\n  n == %ld  sum == %.17g\n}\n", count, sum);
    return std::fclose(out) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "defs") == 0)
        return generateBlocks(std::atol(argv[2]), argv[3], writeBlock);
    if (argc == 4 && std::strcmp(argv[1], "nested") == 0)
        return generateBlocks(std::atol(argv[2]), argv[3], writeNestedBlock);
    if (argc == 4 && std::strcmp(argv[1], "shapes") == 0)
        return generateBlocks(std::atol(argv[2]), argv[3], writeShapesBlock);
    if (argc == 4 && std::strcmp(argv[1], "tests") == 0)
        return generateTests(std::atoi(argv[2]), argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "items") == 0)
        return generateItems(std::atol(argv[2]), argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "gtest") == 0)
        return generateGtest(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    std::fprintf(stderr,
                 "usage: zem_interp_bench_gen defs|nested|shapes BYTES FILE | tests COUNT FILE | "
                 "gtest COUNT PARTS DIR | items COUNT FILE\n");
    return 2;
}
