// The fast number conversions of the parse path must agree with the
// library's: INTEGER texts with strtol (then narrowed to int), item indices
// with "%d".
#include "DecimalText.h"
#include "Grammar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

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
