// The fast number conversions of the parse path must agree with the
// library's: INTEGER texts with strtol (then narrowed to int), REAL texts
// with strtod, item indices with "%d".
#include "DecimalText.h"
#include "Grammar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(IntegerOf, AgreesWithStrtolOnLexerTexts)
{
    const char* texts[] = {"0",
                           "7",
                           "007",
                           "-",
                           "--5",
                           "-5",
                           "-0",
                           "2147483647",
                           "2147483648",
                           "-2147483648",
                           "-2147483649",
                           "4294967295",
                           "4294967296",
                           "9223372036854775807",
                           "9223372036854775808",
                           "-9223372036854775808",
                           "-9223372036854775809",
                           "99999999999999999999999",
                           "---",
                           ""};
    for (const char* t : texts)
        EXPECT_EQ(Grammar::integerOf(t), static_cast<int>(std::strtol(t, nullptr, 10))) << '"' << t << '"';
}

TEST(IntegerOf, AgreesWithStrtolOnRandomTexts)
{
    std::mt19937 rng(1234);
    for (int i = 0; i < 20000; ++i) {
        std::string t(rng() % 3 == 0 ? rng() % 3 : 0, '-');
        int digits = rng() % 25;
        for (int d = 0; d < digits; ++d)
            t += static_cast<char>('0' + rng() % 10);
        ASSERT_EQ(Grammar::integerOf(t.c_str()), static_cast<int>(std::strtol(t.c_str(), nullptr, 10))) << t;
    }
}

// Texts of the REAL token's shape: signs, digits and dots, around the
// limits of the quick conversion.
TEST(RealOf, AgreesWithStrtodBitForBit)
{
    std::mt19937 rng(4321);
    const char* fixed[] = {"0.0",
                           "-0.0",
                           ".5",
                           "-.5",
                           "1.",
                           "..",
                           "-.",
                           "--1.5",
                           "1.2.3",
                           "0.1",
                           "2.675",
                           "999999999999999.9",
                           "9999999999999999.",
                           "0.0000000000000000000001",
                           "0.00000000000000000000001",
                           "123456789012345.",
                           "1234567890123456."};
    std::vector<std::string> texts(std::begin(fixed), std::end(fixed));
    for (int i = 0; i < 50000; ++i) {
        std::string t(rng() % 5 == 0 ? 1 + rng() % 2 : 0, '-');
        for (int d = rng() % 18; d > 0; --d)
            t += static_cast<char>('0' + rng() % 10);
        t += '.';
        for (int d = rng() % 25; d > 0; --d)
            t += rng() % 40 ? static_cast<char>('0' + rng() % 10) : '.';
        texts.push_back(t);
    }
    for (const std::string& t : texts) {
        double mine = Grammar::realOf(t.c_str()), lib = std::strtod(t.c_str(), nullptr);
        ASSERT_EQ(0, std::memcmp(&mine, &lib, sizeof mine)) << t;
    }
}

TEST(DecimalText, WritesAsPercentD)
{
    const int values[] = {0, 1, -1, 9, 10, -10, 486, 2147483647, INT_MIN, INT_MIN + 1, 1000000000};
    for (int v : values) {
        char mine[12], lib[12];
        int n = decimalText(mine, v);
        std::snprintf(lib, sizeof lib, "%d", v);
        EXPECT_STREQ(mine, lib);
        EXPECT_EQ(n, static_cast<int>(std::string(lib).size()));
    }
}

}
