// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/eng_value.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace kelvor {
namespace {

struct EngCase {
    const char* text;
    long double expected;
};

// The scale factors are long double constants, so the product must match the same product
// computed here to the last bit.
TEST(EngValue, ScaleLettersAndPlainNumbers) {
    const EngCase cases[] = {
        {"3k", 3.0L * 1e3L},
        {"200u", 200.0L * 1e-6L},
        {"2.5m", 2.5L * 1e-3L},
        {"1e-6", 1e-6L},
        {"-4.7k", -4.7L * 1e3L},
        {"0.5", 0.5L},
        {"1.5G", 1.5L * 1e9L},
        {"10M", 10.0L * 1e6L},
        {"47n", 47.0L * 1e-9L},
        {"33p", 33.0L * 1e-12L},
        {"+12", 12.0L},
        {".", 0.0L},
        {".5", 0.5L},
        {"5.", 5.0L},
        {"1.5E+3", 1500.0L},
        {"2e3k", 2e3L * 1e3L},
        {"  \t 3k \r\n", 3.0L * 1e3L},
        {"1e-5000", 0.0L},
    };
    for (const auto& c : cases) {
        bool ok = true;
        const long double value = ParseEngValue(c.text, ok);
        EXPECT_TRUE(ok) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
    }
}

TEST(EngValue, FailuresClearTheFlag) {
    const char* failures[] = {
        "5K",   // upper-case K is not a scale letter
        "10 M", // the space before the letter is left in the number
        "",
        "   ",
        "abc",
        "k",
        "-",
        "+",
        "e5",
        "1e",
        "1e+",
        "1.2.3",
        "1,5",
        "0x10",
        "inf",
        "nan",
        "infinity",
        "1T",
        "1f",
        "--1",
        "1 2",
        "1e5000",
        "1e4930G",
        "\xb5"
        "5",
    };
    for (const char* text : failures) {
        bool ok = true;
        ParseEngValue(text, ok);
        EXPECT_FALSE(ok) << '"' << text << '"';
    }
}

TEST(EngValue, FlagIsOnlyEverCleared) {
    bool ok = false;
    EXPECT_EQ(ParseEngValue("3k", ok), 3000.0L);
    EXPECT_FALSE(ok);
}

TEST(EngValue, OnlyTheFirstThirtyCharactersCount) {
    const std::string thirty(30, '1');
    bool ok = true;
    // The 31st character would make it fail if it were read.
    const long double value = ParseEngValue(thirty + "x", ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, std::stold(thirty));
    ok = true;
    // A scale letter beyond the cut is not seen, so the number is taken unscaled.
    EXPECT_EQ(ParseEngValue(std::string(29, '0') + "2k", ok), 2.0L);
    EXPECT_TRUE(ok);
}

TEST(EngValue, IgnoresTheProcessLocale) {
    // The user's locale may use a decimal comma; numbers in Datafiles never do.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    bool ok = true;
    const long double value = ParseEngValue("2.5k", ok);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_TRUE(ok);
    EXPECT_EQ(value, 2500.0L);
}

TEST(ConvertDecimalReal, ReportsTheFirstPositionThatDoesNotFit) {
    struct Case {
        const char* text;
        std::size_t position;
        long double value;
    } cases[] = {
        {"   1.25", 0, 1.25L}, {"  -3", 0, -3.0L}, {"1.5x", 4, 0.0L},  {"", 1, 0.0L},
        {"1e", 3, 0.0L},       {"12 ", 3, 0.0L},   {"  abc", 3, 0.0L},
    };
    for (const auto& c : cases) {
        long double value = 99.0L;
        EXPECT_EQ(ConvertDecimalReal(c.text, value), c.position) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(NumericPrefix, StopsAtSignsExponentsAndAfterOneScaleLetter) {
    const struct {
        const char* word;
        const char* prefix;
    } cases[] = {
        {"4k7", "4k"},     {"1e3", "1"},        {"-5", ""},     {"10Meg", "10M"}, {"10m", "10m"},
        {"2.5mH", "2.5m"}, {"50uF", "50u"},     {"8.0", "8.0"}, {"k5", "k"},      {"Z", ""},
        {"", ""},          {"1.2.3x", "1.2.3"}, {"5K", "5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumericPrefix(c.word), c.prefix) << c.word;
    }
    EXPECT_EQ(NumericPrefix(std::string(30, '1') + "k"), std::string(30, '1'));
}

TEST(NumericPrefix, FeedsParseEngValue) {
    bool ok = true;
    EXPECT_EQ(ParseEngValue(NumericPrefix("4k7"), ok), 4000.0L);
    EXPECT_EQ(ParseEngValue(NumericPrefix("1e3"), ok), 1.0L);
    EXPECT_TRUE(ok);
    ParseEngValue(NumericPrefix("-5"), ok);
    EXPECT_FALSE(ok);
}

TEST(IntField, DecimalHexAndFailures) {
    const struct {
        const char* text;
        int32_t value;
    } good[] = {
        {"42", 42},
        {" 42 ", 42},
        {"\t-17\r\n", -17},
        {"+8", 8},
        {"$1F", 31},
        {"x10", 16},
        {"X10", 16},
        {"0x7fffffff", 2147483647},
        {"0XFF", 255},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"-0x80000000", INT32_MIN},
        {"007", 7},
    };
    for (const auto& c : good) {
        bool ok = true;
        EXPECT_EQ(ParseIntField(c.text, ok), c.value) << c.text;
        EXPECT_TRUE(ok) << c.text;
    }
    const char* bad[] = {"4.2",        "",    "  ",  "2147483648", "-2147483649",
                         "0x80000000", "$",   "0x",  "x",          "abc",
                         "1 2",        "--1", "12a", "$1G",        "99999999999999999999999",
                         "1e3",        "\xb1"};
    for (const char* text : bad) {
        bool ok = true;
        EXPECT_EQ(ParseIntField(text, ok), 0) << text;
        EXPECT_FALSE(ok) << text;
    }
}

TEST(IntField, CutsAtThirtyCharacters) {
    bool ok = true;
    // 28 spaces then "12" fits; a junk character beyond the cut is never seen.
    EXPECT_EQ(ParseIntField(std::string(28, ' ') + "12junk", ok), 12);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ParseIntField(std::string(29, ' ') + "12", ok), 1);
    EXPECT_TRUE(ok);
}

} // namespace
} // namespace kelvor
