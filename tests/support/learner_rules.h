#pragma once

// The rules by which a learner can tell that the quiz is right, whichever
// front end shows it, in the words of learner_sees.tsv.

#include "learner_sees.h"
#include "problem_set.h"

#include <string>
#include <string_view>
#include <utility>

namespace learner {

// The closing message for a quiz that ends with `errors` errors.
constexpr std::string_view closingText(int errors)
{
    return errors == 0 ? ClosingNone : errors <= ClosingFewMost ? ClosingFew : ClosingMany;
}

// What «Пример» costs: an error for a problem left with an empty field, but
// never for problem 20, after which the closing message comes instead.
constexpr int penaltyForNext(int problemOnShow, bool fieldEmpty)
{
    return problemOnShow >= 1 && problemOnShow < ProblemCount && fieldEmpty ? 1 : 0;
}

// Whether «Да» judges the answer: only for a problem on show, only once, and
// never an empty field.
constexpr bool checkJudges(int problemOnShow, bool checkedBefore, bool fieldEmpty)
{
    return problemOnShow >= 1 && !checkedBefore && !fieldEmpty;
}

// A phrase with the numbers on show in place of {first}, {second}, {errors}.
inline std::string said(std::string_view phrase, int first, int second, int errors = 0)
{
    std::string text(phrase);
    for (const auto &[marker, value] : {std::pair<std::string_view, int>{"{first}", first},
                                        {"{second}", second},
                                        {"{errors}", errors}})
        for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at))
            text.replace(at, marker.size(), std::to_string(value));
    return text;
}

} // namespace learner
