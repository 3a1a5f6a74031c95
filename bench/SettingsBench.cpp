// Writing and reading the settings file with a long stored exercise list.
// Both must stay linear: a list of 60,000 entries once took seconds to write.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <fstream>

#include "settings/AppIniFile.h"
#include "settings/IniFileHandler.h"

namespace {
void WriteBareSettings(const std::string& dir) {
  std::ofstream out(dir + "/Quillmere.Ini", std::ios::binary);
  out << "[Application]\r\nLanguage=EN\r\n\r\n[Exercise]\r\nLangFileName=/a/words.lang\r\nLang1=English\r\n"
         "Lang2=German\r\nFirstLang=True\r\nMaxWords=500\r\n";
}

TExerciseWords Entries(int64_t n) {
  TExerciseWords words;
  for (int64_t i = 0; i < n; ++i) words.push_back(TExerciseWord{static_cast<int32_t>(i % 50 + 1),
                                                                static_cast<int32_t>(i), static_cast<int32_t>(i % 9), false});
  return words;
}

// What closing does: the lists go into the file and the file is replaced.
void BM_SaveStoredList(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string appDir = dir.path().toStdString();
  const TExerciseWords words = Entries(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    WriteBareSettings(appDir);
    TAppIniFile ini(appDir, nullptr);
    ini.ReadExercise();
    ini.ReadProperties();
    ini.ExerciseWords = words;
    state.ResumeTiming();
    ini.WriteProperties();
    ini.WriteExercise();
    ini.WriteLanguage();
    if (!ini.UpdateFile()) state.SkipWithError("settings not written");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveStoredList)->Arg(6000)->Arg(60000)->Unit(benchmark::kMillisecond);

// What the start does: the file is parsed and the list read.
void BM_ReadStoredList(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string appDir = dir.path().toStdString();
  WriteBareSettings(appDir);
  {
    TAppIniFile ini(appDir, nullptr);
    ini.ReadExercise();
    ini.ExerciseWords = Entries(state.range(0));
    ini.WriteExercise();
    if (!ini.UpdateFile()) state.SkipWithError("settings not written");
  }
  for (auto _ : state) {
    TAppIniFile ini(appDir, nullptr);
    ini.ReadExercise();
    benchmark::DoNotOptimize(ini.ExerciseWords.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadStoredList)->Arg(6000)->Arg(60000)->Unit(benchmark::kMillisecond);
}  // namespace
