#pragma once

#include "problem_set.h"

#include <span>
#include <string>
#include <string_view>

// The words a front end says beyond the quiz's own texts, written once so
// that every front end says them alike.

// The closing box's one button, in Russian letters whatever the system's
// language: a toolkit's own "OK" is Latin.
inline constexpr std::string_view MessageOkCaption = "ОК";

// Said where a front end ends the quiz in place instead of closing, with the
// note it shows and the button that starts again.
inline constexpr std::string_view QuizEndedPhrase = "Опрос окончен";
inline constexpr std::string_view QuizEndedNote = "Чтобы решать снова, начните новый опрос.";
inline constexpr std::string_view NewQuizCaption = "Новый опрос";

// "Сколько будет 9 х 2?": the problem as the question the heading asks, with
// the window's own multiplication sign.
std::string questionFor(Problem problem);

// "Ошибок: 2": the new count with its caption, since a bare number says
// nothing of what it counts.
std::string errorCountPhrase(std::string_view count);

// What one command says, as one utterance.
std::string joinedPhrases(std::span<const std::string> phrases);
