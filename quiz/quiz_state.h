#pragma once

#include "problem_set.h"

#include <cstdint>

// Everything the program remembers during one run, which is one quiz.
struct QuizState {
    ProblemSet problems;

    // How many times the problem set was generated: 0 before the first
    // "next problem" command, 1 after it. Only "greater than 0" is ever asked.
    int started = 0;

    int errorCount = 0;

    // 1 while the problem on show may still be checked, 2 once it has been;
    // 0 before the quiz starts. Checking adds one, so each problem is checked
    // at most once.
    int answerState = 0;

    // Working values of the problem-set generation; nothing else reads them.
    int candidateFirstFactor = 0;
    int candidateSecondFactor = 0;
    int scanIndex = 0;

    // Number of the problem on show, 0 to 20. Generation also uses it as its
    // slot counter and leaves it for the caller to reset.
    int currentNumber = 0;

    // The product of the problem on show. 9 x 9 = 81 is the largest, so one
    // unsigned byte holds every product.
    std::uint8_t expectedProduct = 0;
};
