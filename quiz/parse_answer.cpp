#include "parse_answer.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

// Some standard libraries (the one WebAssembly builds use among them) convert
// only integers with std::from_chars; there strtod does the same job. The
// digits are plain ASCII with a point, and such a build has only the "C"
// locale, so strtod reads them exactly as from_chars would.
#if !defined(__cpp_lib_to_chars)
#include <cerrno>
#include <cstdlib>
#endif

namespace {

// Byte length of the blank that starts at `pos`, or 0 if there is none.
std::size_t blankLength(std::string_view text, std::size_t pos)
{
    const std::string_view rest = text.substr(pos);
    if (rest.starts_with(' ') || rest.starts_with('\t'))
        return 1;
    if (rest.starts_with("\u00A0"))
        return 2;
    if (rest.starts_with("\u202F"))
        return 3;
    return 0;
}

std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size()) {
        const std::size_t length = blankLength(text, pos);
        if (length == 0)
            break;
        pos += length;
    }
    return pos;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isSeparator(char c)
{
    return c == ',' || c == '.';
}

// The number as plain ASCII ("123.45"), blanks dropped and the separator made
// a point, ready for std::from_chars.
struct Normalised {
    std::string digits;
    bool negative = false;
    bool hasNonZeroIntegerDigit = false;
};

Normalised normalise(std::string_view text)
{
    Normalised number;
    std::size_t pos = skipBlanks(text, 0);
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos] == '-';
        pos = skipBlanks(text, pos + 1);
    }

    bool seenSeparator = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (isDigit(c)) {
            number.digits += c;
            if (!seenSeparator && c != '0')
                number.hasNonZeroIntegerDigit = true;
            ++pos;
        } else if (isSeparator(c) && !seenSeparator) {
            seenSeparator = true;
            number.digits += '.';
            ++pos;
        } else if (!number.digits.empty() && blankLength(text, pos) > 0) {
            pos += blankLength(text, pos);
        } else {
            break;
        }
    }
    return number;
}

// Converts plain ASCII digits with at most one point; out of range when the
// value does not fit a double, as std::from_chars reports it.
std::errc toDouble(const std::string &digits, double &value)
{
#if defined(__cpp_lib_to_chars)
    return std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed).ec;
#else
    errno = 0;
    value = std::strtod(digits.c_str(), nullptr);
    return errno == ERANGE ? std::errc::result_out_of_range : std::errc{};
#endif
}

} // namespace

double parseAnswer(std::string_view text)
{
    const Normalised number = normalise(text);
    const std::string &digits = number.digits;
    if (digits.empty() || digits == ".")
        return 0.0;

    double value = 0.0;
    const std::errc error = toDouble(digits, value);
    if (error == std::errc::result_out_of_range)
        value = number.hasNonZeroIntegerDigit ? std::numeric_limits<double>::infinity() : 0.0;
    else if (error != std::errc{})
        return 0.0;
    return number.negative ? -value : value;
}
