#pragma once

#include <string_view>

// Reads the number at the start of the learner's answer (UTF-8 text).
//
// The rules are those of a number written by hand, in the Russian manner:
//  - Blanks before the number are skipped: spaces, tabs and the no-break
//    spaces U+00A0 and U+202F.
//  - One optional sign, "+" or "-", may come first; blanks may follow it.
//  - Then decimal digits. Blanks between digits are skipped, since Russian
//    groups thousands with a space ("1 000" is 1000).
//  - One decimal separator, "," (the Russian one) or ".", with more digits
//    after it; "56,0" is 56. Digits are needed on at least one side of it.
//  - The number ends at the first other character; the rest is ignored, so
//    "56 кошек" is 56. Leading zeros change nothing ("081" is 81).
//  - There are no exponents, radix prefixes or words: "5e1" is 5, "0x51" is 0,
//    "inf" and "nan" are not numbers.
//  - Text that does not begin with a number gives 0.
//  - A number too large for a double gives plus or minus infinity, one too
//    small gives zero; neither equals any product.
//
// It never throws, whatever the text holds (any length, any bytes).
double parseAnswer(std::string_view text);
