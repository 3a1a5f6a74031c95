// quillmere-lang check over a language file naming 1,000 one-second sounds
// (44.1 kHz 16-bit mono, a spoken phrase's usual kind), made once per run.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <sstream>

#include "LangCommands.h"
#include "ToneWave.h"
#include "core/StrVector.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"

namespace {
constexpr int kSounds = 1000;
constexpr double kSecondsEach = 1.0;

struct TSoundSet {
  QTemporaryDir Dir;
  std::string LangFile;

  TSoundSet() {
    if (!Dir.isValid()) std::abort();
    const std::string folder = Dir.path().toStdString();
    TStrVector lines;
    for (const char* line : {"Encoding=UTF-8", "[General]", "English@German"}) lines.Add(line);
    for (int i = 0; i < kSounds; ++i) {
      // Every sound its own file and level, so none is read twice.
      const std::string name = folder + "/s" + std::to_string(i) + ".wav";
      if (!WriteFileBytes(name, WaveBytes(ToneSamples(kSecondsEach, -6 - (i % 7), 44100), 44100), false)) std::abort();
      if (i % 100 == 0) lines.Add("[" + std::to_string(i / 100 + 1) + "]");
      lines.Add(std::to_string(i % 100) + "=w" + std::to_string(i) + "@v#" + name + "@ *");
    }
    LangFile = folder + "/sounds.lang";
    if (!WriteFileBytes(LangFile, StringsToContainer(lines), true)) std::abort();
  }
};

void BM_CheckThousandSounds(benchmark::State& state) {
  static const TSoundSet set;
  for (auto _ : state) {
    std::ostringstream out, err;
    const int status = RunLangTool({"check", set.LangFile}, out, err);
    if (status != 0) state.SkipWithError(("check found faults: " + out.str() + err.str()).c_str());
    benchmark::DoNotOptimize(out);
  }
  // Seconds of sound checked per second of checking: how many times faster than playing them.
  state.counters["times_faster_than_playing"] =
      benchmark::Counter(kSounds * kSecondsEach * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CheckThousandSounds)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
