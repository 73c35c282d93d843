#pragma once

struct QuizState;
class RandomSource;

// Seeds `random` from the clock and fills problems 1 to 20 of `state` with 20
// different ordered pairs of factors from 2 to 9. Uses `currentNumber` as its
// slot counter; the caller resets it afterwards.
void generateProblemSet(QuizState &state, RandomSource &random);
