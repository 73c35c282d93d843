#include "phrases.h"

#include "layout_table.h"

std::string questionFor(Problem problem)
{
    std::string_view heading = controlNamed("Label6").text; // "Сколько будет?"
    heading.remove_suffix(1);
    return std::string(heading) + " " + std::to_string(problem.firstFactor) + " " +
           std::string(controlNamed("Label3").text) + " " + std::to_string(problem.secondFactor) + "?";
}

std::string errorCountPhrase(std::string_view count)
{
    return std::string(controlNamed("Label8").text) + " " + std::string(count);
}

std::string joinedPhrases(std::span<const std::string> phrases)
{
    std::string joined;
    for (const std::string &phrase : phrases)
        joined += (joined.empty() ? "" : ". ") + phrase;
    return joined;
}
