// A typed answer of 200 characters against the pair's, with a few letters
// wrong, missing and extra: the check runs when Return is pressed and must
// not be felt (target: under 1 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "session/AnswerDiff.h"

namespace {
std::string Phrase(const char* piece, int characters) {
  std::string text;
  for (int i = 0; i < characters / 10; ++i) text += piece;
  return text;
}
}  // namespace

static void CheckAnswer200(benchmark::State& state) {
  const bool cyrillic = state.range(0) != 0;
  const std::string expected = Phrase(cyrillic ? "Ёлка и я, " : "Haus, Tal ", 200);
  std::string typed = expected;
  typed.erase(7, cyrillic ? 2 : 1);
  typed.insert(50, cyrillic ? "ж" : "x");
  typed.replace(120, 1, "q");
  const TAnswerLeniency leniency{true, true, false};
  for (auto _ : state) benchmark::DoNotOptimize(CheckAnswer(expected, typed, leniency));
}
BENCHMARK(CheckAnswer200)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
