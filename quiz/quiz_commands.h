#pragma once

struct QuizState;
class QuizView;
class RandomSource;

// Where the credit line is drawn when the quiz starts, in twips.
inline constexpr int CreditLineX = 5750;
inline constexpr int CreditLineY = 4550;

// "Next problem": the first call starts the quiz and shows problem 1; later
// calls show the next problem, charging an error when the answer field was
// left empty; after problem 20 each call shows the closing message.
void onNextExample(QuizState &state, QuizView &view, RandomSource &random);

// "Check": judges the typed answer to the problem on show, once per problem.
// An empty answer field is ignored, so the problem can still be checked.
void onCheckAnswer(QuizState &state, QuizView &view);
