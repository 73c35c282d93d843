// How long the quiz's own work takes: drawing the twenty problems when the
// quiz starts, its parts, and a whole quiz played through a bare view.

#include "parse_answer.h"
#include "problem_generation.h"
#include "quiz_commands.h"
#include "quiz_fakes.h"
#include "quiz_state.h"
#include "quiz_view.h"
#include "random_source.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

// The real source, seeded once up front instead of at each generation, to
// tell the drawing apart from the seeding.
class SeededOnce final : public RandomSource {
  public:
    SeededOnce() { inner_.seedFromClock(); }
    void seedFromClock() override {}
    double next() override { return inner_.next(); }

  private:
    ClockSeededRandom inner_;
};

// With the real source, seeding included as in the program; with SeededOnce,
// the drawing alone.
template <typename Random> void GenerateProblemSet(benchmark::State &state)
{
    Random random;
    for (auto _ : state) {
        QuizState quiz;
        generateProblemSet(quiz, random);
        benchmark::DoNotOptimize(quiz);
    }
}
BENCHMARK(GenerateProblemSet<ClockSeededRandom>)->Name("GenerateProblemSet");
BENCHMARK(GenerateProblemSet<SeededOnce>)->Name("GenerateProblemSetWithoutSeeding");

void SeedFromClock(benchmark::State &state)
{
    ClockSeededRandom random;
    for (auto _ : state) {
        random.seedFromClock();
        benchmark::DoNotOptimize(random);
    }
}
BENCHMARK(SeedFromClock);

void ReadClock(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(std::chrono::high_resolution_clock::now());
}
BENCHMARK(ReadClock);

// Twenty problems, each answered right and checked, then the closing message.
void WholeQuiz(benchmark::State &state)
{
    ClockSeededRandom random;
    for (auto _ : state) {
        QuizState quiz;
        FakeQuizView view;
        view.keepLog = false;
        for (int n = 0; n < ProblemCount; ++n) {
            onNextExample(quiz, view, random);
            view.answer = std::to_string(quiz.expectedProduct);
            onCheckAnswer(quiz, view);
        }
        onNextExample(quiz, view, random);
        benchmark::DoNotOptimize(view.messages.size());
    }
}
BENCHMARK(WholeQuiz);

void ParseAnswer(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(parseAnswer(" 56 кошек"));
}
BENCHMARK(ParseAnswer);

} // namespace

BENCHMARK_MAIN();
