#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <chrono>
#include <ctime>

#include "BenchFiles.h"
#include "session/ExerciseComposer.h"
#include "settings/AppIniFile.h"
#include "storage/LangFHandler.h"

// ComposeNew and ComposeContinue with MaxWords 500 on a 1,000,000-pair file
// (all 100 lessons chosen). Both empty the handler and load the file again,
// ComposeNew also saves it; each iteration also does these alone (clear_ms,
// load_ms, save_ms), and compose_ms is the rest: the composing itself. Target: compose_ms at most 1/10 of load_ms.
// Times are processor time, which the other work on the machine disturbs less.

namespace {
constexpr int kPairs = 1000000;
constexpr int32_t kMaxWords = 500;

double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct TSetup {
  QTemporaryDir dir;
  TAppIniFile ini{dir.path().toStdString(), nullptr};
  TLangFHandler handler;
  std::mt19937 engine{std::random_device{}()};
  TExerciseComposer composer{ini, handler, engine};
  std::string copy = dir.filePath("copy.lang").toStdString();

  TSetup() {
    ini.LangFileName = copy;
    ini.MaxWords = kMaxWords;
    for (int32_t l = 1; l <= 100; ++l) ini.AvailableUnits.push_back(l);
    TLangFHandler original;
    original.LoadLangFile(FileOf(kPairs));
    original.SaveLangFile(copy);
  }

  // The file alone: what a composition spends on loading and saving it.
  void TimeLoadAndSave(double& clearMs, double& loadMs, double& saveMs) {
    const double start = CpuMs();
    handler.ClearLessons();
    const double t0 = CpuMs();
    clearMs += t0 - start;
    handler.LoadLangFile(copy);
    const double t1 = CpuMs();
    handler.SaveLangFile(copy);
    loadMs += t1 - t0;
    saveMs += CpuMs() - t1;
  }
};

void Report(benchmark::State& state, double totalMs, double clearMs, double loadMs, double saveMs) {
  const auto n = static_cast<double>(state.iterations());
  totalMs -= clearMs;
  state.counters["total_ms"] = totalMs / n;
  state.counters["clear_ms"] = clearMs / n;
  state.counters["load_ms"] = loadMs / n;
  state.counters["save_ms"] = saveMs / n;
  state.counters["compose_ms"] = (totalMs - loadMs - saveMs) / n;
  state.counters["compose_per_load"] = (totalMs - loadMs - saveMs) / loadMs;
}
}  // namespace

static void ComposeNew(benchmark::State& state) {
  TSetup s;
  double total = 0, clear = 0, load = 0, save = 0;
  for (auto _ : state) {
    const double t0 = CpuMs();
    s.composer.ComposeNew();
    total += CpuMs() - t0;
    state.PauseTiming();
    if (s.ini.ExerciseWords.size() != kMaxWords) state.SkipWithError("no list");
    s.TimeLoadAndSave(clear, load, save);
    state.ResumeTiming();
  }
  Report(state, total, clear, load, save);
}
BENCHMARK(ComposeNew)->Unit(benchmark::kMillisecond)->Iterations(5);

// A list of 500 after an exercise: a fifth held back, so the continuation
// counts down, splits and fills up with fillers; it loads but does not save.
static void ComposeContinue(benchmark::State& state) {
  TSetup s;
  s.composer.ComposeNew();
  TExerciseWords after = s.ini.ExerciseWords;
  for (std::size_t i = 0; i < after.size(); i += 5) after[i].Priority = 3;
  double total = 0, clear = 0, load = 0, save = 0;
  for (auto _ : state) {
    state.PauseTiming();
    s.ini.ExerciseWords = after;
    s.ini.DeferredWords.clear();
    state.ResumeTiming();
    const double t0 = CpuMs();
    s.composer.ComposeContinue(false);
    total += CpuMs() - t0;
    state.PauseTiming();
    if (s.ini.DeferredWords.size() != 100) state.SkipWithError("no split");
    double unusedSave = 0;
    s.TimeLoadAndSave(clear, load, unusedSave);
    state.ResumeTiming();
  }
  Report(state, total, clear, load, save);
}
BENCHMARK(ComposeContinue)->Unit(benchmark::kMillisecond)->Iterations(5);
