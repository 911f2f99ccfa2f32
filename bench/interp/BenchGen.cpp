// Generates the interpreter benchmark's inputs: a large script of
// definition blocks, a script of many tests, and the GoogleTest program
// that makes the same checks as that script.
//
//   zem_interp_bench_gen defs BYTES FILE
//   zem_interp_bench_gen tests COUNT FILE
//   zem_interp_bench_gen gtest COUNT PARTS DIR
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

int generateDefs(long bytes, const char* file)
{
    FILE* out = std::fopen(file, "w");
    if (!out)
        return 1;
    std::fprintf(out, "resultfile \"result.txt\"\n/* definition blocks only */\n");
    for (int block = 0; std::ftell(out) < bytes; ++block)
        writeBlock(out, block);
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
        BenchInputs in = benchInputs(t);
        BenchSums s = benchSum(in);
        std::fprintf(out,
                     "benchSum {\n  a = %d b = %d c = %d d = %d e = %d f = %d g = %d h = %d\n",
                     in.v[0],
                     in.v[1],
                     in.v[2],
                     in.v[3],
                     in.v[4],
                     in.v[5],
                     in.v[6],
                     in.v[7]);
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
            BenchInputs in = benchInputs(t);
            BenchSums s = benchSum(in);
            std::fprintf(out, "TEST(BenchSum, Case%d)\n{\n", t);
            std::fprintf(out,
                         "    BenchInputs in = {{%d, %d, %d, %d, %d, %d, %d, %d}};\n",
                         in.v[0],
                         in.v[1],
                         in.v[2],
                         in.v[3],
                         in.v[4],
                         in.v[5],
                         in.v[6],
                         in.v[7]);
            std::fprintf(out, "    BenchSums s = benchSum(in);\n");
            for (int k = 0; k < 5; ++k)
                std::fprintf(out, "    EXPECT_EQ(s.v[%d], %d);\n", k, s.v[k]);
            std::fprintf(out, "}\n\n");
        }
        std::fclose(out);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "defs") == 0)
        return generateDefs(std::atol(argv[2]), argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "tests") == 0)
        return generateTests(std::atoi(argv[2]), argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "gtest") == 0)
        return generateGtest(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    std::fprintf(stderr,
                 "usage: zem_interp_bench_gen defs BYTES FILE | tests COUNT FILE | gtest COUNT PARTS DIR\n");
    return 2;
}
