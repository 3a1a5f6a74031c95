// The history as the statistics window reads it: a year of heavy use
// (100,000 pairs practised) across two language files; and the append after
// a pass of 50 pairs.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>

#include "storage/HistoryFile.h"

namespace {
const std::string kFile = "/home/learner/.local/share/quillmere/LangFiles/Eng_Ger/english_german.lang";
const std::string kOther = "/home/learner/.local/share/quillmere/LangFiles/Ger_Rus/german_russian.lang";

struct TYearOfHistory {
  QTemporaryDir Dir;
  std::string Path;
  TYearOfHistory() {
    if (!Dir.isValid()) std::abort();
    Path = Dir.filePath("Quillmere.History").toStdString();
    std::ofstream out(Path, std::ios::binary);
    const std::time_t start = std::time(nullptr) - 364L * 24 * 3600;
    std::vector<TPractisedPair> pass;
    for (int i = 0; i < 100000; ++i) {
      pass.push_back({start + i * 300L, 1 + i % 12, i % 50, i % 10, static_cast<TTypedVerdict>(i % 3)});
      if (pass.size() == 50) {
        out << HistoryLines(i % 4 == 0 ? kOther : kFile, pass);
        pass.clear();
      }
    }
  }
};

TYearOfHistory& Year() {
  static TYearOfHistory year;
  return year;
}

void BM_ReadAYearOfHistory(benchmark::State& state) {
  const std::string& path = Year().Path;
  for (auto _ : state) {
    const THistorySummary summary = ReadHistory(path, kFile);
    benchmark::DoNotOptimize(summary.Days.size());
  }
  state.counters["lines"] = 100000;
}
BENCHMARK(BM_ReadAYearOfHistory)->Unit(benchmark::kMillisecond);

void BM_AppendAPass(benchmark::State& state) {
  QTemporaryDir dir;
  THistoryFile file(dir.filePath("Quillmere.History").toStdString());
  const std::vector<TPractisedPair> pass(50, TPractisedPair{std::time(nullptr), 1, 2, 3, TTypedVerdict::Right});
  for (auto _ : state) {
    const TSaveResult result = file.Append(kFile, pass, std::time(nullptr));
    if (!result.Ok()) state.SkipWithError(result.Reason.c_str());
  }
}
BENCHMARK(BM_AppendAPass)->Unit(benchmark::kMillisecond);
}  // namespace
