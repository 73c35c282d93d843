// Feeds arbitrary bytes to parseAnswer and checks what its rules promise of
// every text, not only that it survives: a broken rule stops the fuzzer.

#include "parse_answer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

void require(bool holds, const char *rule)
{
    if (holds)
        return;
    std::fprintf(stderr, "parseAnswer broke a rule: %s\n", rule);
    std::abort();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view skipLeadingBlanks(std::string_view text)
{
    for (;;) {
        if (text.starts_with(' ') || text.starts_with('\t'))
            text.remove_prefix(1);
        else if (text.starts_with("\u00A0"))
            text.remove_prefix(2);
        else if (text.starts_with("\u202F"))
            text.remove_prefix(3);
        else
            return text;
    }
}

// Characters that can neither continue a number nor start a blank.
constexpr std::string_view Enders[] = {"x", "e", "\n", std::string_view("\0", 1), "к"};

void checkAnyText(std::string_view text)
{
    const double value = parseAnswer(text);
    require(!std::isnan(value), "never NaN");

    const std::string input(text);
    for (std::string_view ender : Enders) {
        // The number ends at the first other character; whatever follows,
        // even the same text again, is ignored.
        require(parseAnswer(input + std::string(ender) + input) == value, "text after the number is ignored");
    }

    if (input.find_first_of("0123456789") == std::string::npos)
        require(value == 0, "text without a digit is 0");
    if (input.find_first_of(",.") == std::string::npos)
        require(std::isinf(value) || value == std::trunc(value), "no separator, no fraction");

    std::string withPoints = input;
    for (char &c : withPoints)
        if (c == ',')
            c = '.';
    require(parseAnswer(withPoints) == value, "a comma and a point are the same separator");

    const std::string_view afterBlanks = skipLeadingBlanks(text);
    if (!afterBlanks.starts_with('+') && !afterBlanks.starts_with('-')) {
        require(parseAnswer("-" + input) == -value, "a minus sign negates");
        require(parseAnswer("+" + input) == value, "a plus sign changes nothing");
    }
}

// The digits of the input, at most 15 of them, always parse to exactly their
// value: no double rounds a whole number below 2^53.
void checkDigitsOnly(std::string_view text)
{
    std::string digits;
    std::uint64_t exact = 0;
    for (char c : text) {
        if (isDigit(c) && digits.size() < 15) {
            digits += c;
            exact = exact * 10 + static_cast<std::uint64_t>(c - '0');
        }
    }
    if (digits.empty())
        return;
    const double value = static_cast<double>(exact);
    require(parseAnswer(digits) == value, "digits give exactly their number");
    require(parseAnswer("000" + digits) == value, "leading zeros change nothing");
    require(parseAnswer(digits + ",5") == value + 0.5, "a comma starts the fraction");
    require(parseAnswer(" \t\u00A0" + digits + "  ") == value, "blanks around the number are skipped");
    for (std::size_t cut = 1; cut < digits.size(); ++cut) {
        // Russian groups thousands with a space, or a narrow no-break one.
        const std::string grouped = digits.substr(0, cut) + (cut % 2 ? " " : "\u202F") + digits.substr(cut);
        require(parseAnswer(grouped) == value, "blanks between digits are skipped");
    }
}

// All the digits of the input, however many: the larger a number is written,
// the larger it reads, up to infinity, and the smaller a fraction, down to 0.
void checkMagnitudes(std::string_view text)
{
    std::string digits;
    for (char c : text)
        if (isDigit(c))
            digits += c;
    if (digits.empty())
        return;
    const double value = parseAnswer(digits);
    require(parseAnswer(digits + "0") >= value, "another digit never makes a number smaller");

    const std::size_t significant = digits.size() - std::min(digits.find_first_not_of('0'), digits.size());
    // The largest double is about 1.8e308: 309 digits may go either way.
    if (significant >= 310)
        require(value == std::numeric_limits<double>::infinity(), "a number beyond any double is infinite");
    if (significant <= 308)
        require(std::isfinite(value), "a number within a double is finite");
    require(parseAnswer("0," + std::string(330, '0') + digits) == 0, "a fraction below any double is 0");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    checkAnyText(text);
    checkDigitsOnly(text);
    checkMagnitudes(text);
    return 0;
}
