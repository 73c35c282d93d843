#include "parse_answer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct Case {
    std::string text;
    double expected;
};

constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(ParseAnswer, ReadsTheNumberAtTheStartOfTheText)
{
    using namespace std::string_literals;
    const Case cases[] = {
        // Plain whole numbers, as a child types them.
        {"56", 56},
        {"4", 4},
        {"81", 81},
        {"0", 0},
        {"081", 81},
        {"0000000000000000000000042", 42},
        // Blanks around and inside the number; Russian groups thousands with a space.
        {"  56", 56},
        {"\t56", 56},
        {"56  ", 56},
        {"5 6", 56},
        {"1 000", 1000},
        {"\u00A056", 56},
        {"1\u00A0000", 1000},
        {"1\u202F000", 1000},
        // Signs.
        {"+56", 56},
        {"-56", -56},
        {"- 5", -5},
        {"-", 0},
        {"+", 0},
        {"+-5", 0},
        {"--5", 0},
        // Decimal separators: the Russian comma and the point, once.
        {"56,0", 56},
        {"56.0", 56},
        {"56,5", 56.5},
        {"5.", 5},
        {",5", 0.5},
        {".5", 0.5},
        {"1.2.3", 1.2},
        {"1,2,3", 1.2},
        {".", 0},
        {",", 0},
        {"-.", 0},
        // The number ends at the first other character.
        {"56 кошек", 56},
        {"56abc", 56},
        {"12x", 12},
        {"5e1", 5},
        {"1e999", 1},
        {"0x51", 0},
        {"7\n8", 7},
        {"3\0"
         "5"s,
         3},
        {"\0"
         "56"s,
         0},
        // Text that does not begin with a number.
        {"", 0},
        {"abc", 0},
        {"inf", 0},
        {"nan", 0},
        {"NaN", 0},
        {"x56", 0},
        {"пять", 0},
        {"\xFF\xFE", 0},
        {"\xC2", 0},
        {"\xE2\x80", 0},
        {"\u0665\u0666", 0},
        {"\uFF15\uFF16", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(parseAnswer(c.text), c.expected) << "text: \"" << c.text << "\"";
}

TEST(ParseAnswer, HugeAndTinyNumbersSaturateWithoutHarm)
{
    const std::string manyDigits(4'000'000, '9');
    EXPECT_EQ(parseAnswer(manyDigits), Inf);
    EXPECT_EQ(parseAnswer("-" + manyDigits), -Inf);

    const std::string manyZeros = std::string(2'000'000, '0') + "56";
    EXPECT_EQ(parseAnswer(manyZeros), 56);

    const std::string tiny = "0," + std::string(1'000'000, '0') + "1";
    EXPECT_EQ(parseAnswer(tiny), 0);

    const std::string longFraction = "56," + std::string(1'000'000, '0');
    EXPECT_EQ(parseAnswer(longFraction), 56);

    const std::string blanks = std::string(1'000'000, ' ') + "12";
    EXPECT_EQ(parseAnswer(blanks), 12);
}

} // namespace
