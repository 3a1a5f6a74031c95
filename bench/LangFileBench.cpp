#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QSaveFile>
#include <algorithm>

#include <chrono>
#include <fstream>
#include <string>

#include "BenchFiles.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

// Loading and saving language files of 10,000, 100,000 and 1,000,000 pairs
// (100 lessons, phrases of everyday length, a quarter with sound files),
// side by side with the unavoidable work: reading the file and unscrambling
// it, and scrambling and writing the same bytes. Targets: load and save each
// within 5x of that work, ten times the pairs within twelve times the time,
// peak resident memory of a 1,000,000-pair load within 5x the file size.

namespace {
// Both sides run in a warm heap: freed memory is kept and reused, not given
// back to the kernel and faulted in again. Otherwise the kernel's cost of
// fresh pages (high on virtual machines) decides the figures, and it depends
// on the heap's history: the same read of a 10,000-pair file took 0.3 ms or
// 1.1 ms depending on whether glibc had mapped its buffer afresh.
const bool kWarmHeap = [] {
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  return true;
}();

long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(status, line))
    if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
  return -1;
}

// The references: the unavoidable work of a load and of a save.
void ReadAndUnscrambleOnce(const std::string& file) {
  TBytes plain = ScrambleBytes(ReadFileBytes(file));
  benchmark::DoNotOptimize(plain.data());
}
bool ScrambleAndWriteOnce(const TBytes& plain, const std::string& out) { return WriteFileBytes(out, ScrambleBytes(plain), true); }

void SetFileCounters(benchmark::State& state, const std::string& file) {
  const double bytes = static_cast<double>(ReadFileBytes(file).size());
  state.counters["file_MB"] = bytes / 1e6;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
}  // namespace

// Runs first, in a heap that has seen nothing bigger than one line: the peak
// resident memory of the whole process while the handler loads the file.
static void LoadPeakMemory(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  const double fileMb = static_cast<double>(ReadFileBytes(file).size()) / 1e6;
  double peakMb = 0;
  double heldMb = 0;
  double baseMb = 0;
  for (auto _ : state) {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";  // peak := current
    baseMb = static_cast<double>(StatusKb("VmRSS")) / 1e3;
    TLangFHandler h;
    benchmark::DoNotOptimize(h.LoadLangFile(file));
    peakMb = static_cast<double>(StatusKb("VmHWM")) / 1e3;
    heldMb = static_cast<double>(StatusKb("VmRSS")) / 1e3;
  }
  state.counters["file_MB"] = fileMb;
  state.counters["base_MB"] = baseMb;
  state.counters["peak_MB"] = peakMb;
  state.counters["held_MB"] = heldMb;
  state.counters["peak_per_file"] = peakMb / fileMb;
}
BENCHMARK(LoadPeakMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

static void ReadAndUnscramble(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) ReadAndUnscrambleOnce(file);
  SetFileCounters(state, file);
}

static void LoadLangFile(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  TLangFHandler h;
  for (auto _ : state) {
    state.PauseTiming();
    h.ClearLessons();
    state.ResumeTiming();
    if (!h.LoadLangFile(file)) state.SkipWithError("load failed");
  }
  SetFileCounters(state, file);
}

static void ScrambleAndWrite(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  const TBytes plain = ScrambleBytes(ReadFileBytes(file));
  const std::string out = file + ".out";
  for (auto _ : state)
    if (!ScrambleAndWriteOnce(plain, out)) state.SkipWithError("write failed");
  SetFileCounters(state, file);
}

static void SaveLangFile(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  TLangFHandler h;
  h.LoadLangFile(file);
  const std::string out = file + ".out";
  for (auto _ : state)
    if (!h.SaveLangFile(out)) state.SkipWithError("save failed");
  SetFileCounters(state, file);
}

#define QM_SIZES ->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(ReadAndUnscramble) QM_SIZES;
BENCHMARK(LoadLangFile) QM_SIZES;
BENCHMARK(ScrambleAndWrite) QM_SIZES;
BENCHMARK(SaveLangFile) QM_SIZES;

// The targets as ratios, each side measured in turn with the other inside
// the same iteration, so that both see the same machine: on a shared virtual
// machine the speed drifts by a quarter within seconds, more than separate
// benchmarks run one after the other can tell apart from the code. Run with
// --benchmark_repetitions to see the spread; "ratio" is the figure to judge.
namespace {
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

template <typename F>
Clock::duration Timed(F&& f) {
  const auto start = Clock::now();
  f();
  return Clock::now() - start;
}

// The mean time of one work and of one reference, and their ratio, given
// the sums and how many of each an iteration ran.
void SetRatio(benchmark::State& state, Clock::duration work, Clock::duration reference, int referencesPerIteration = 1) {
  const double n = static_cast<double>(state.iterations());
  const double workMs = Ms(work) / n;
  const double referenceMs = Ms(reference) / n / referencesPerIteration;
  state.counters["work_ms"] = workMs;
  state.counters["reference_ms"] = referenceMs;
  state.counters["ratio"] = workMs / referenceMs;
}
}  // namespace

// Load against reading and unscrambling the same file; target at most 5.
static void LoadRatio(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  TLangFHandler h;
  Clock::duration load{}, reference{};
  for (auto _ : state) {
    reference += Timed([&] { ReadAndUnscrambleOnce(file); });
    h.ClearLessons();
    load += Timed([&] { benchmark::DoNotOptimize(h.LoadLangFile(file)); });
  }
  SetRatio(state, load, reference);
}

// Save against scrambling and writing the same bytes; target at most 5.
static void SaveRatio(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  const TBytes plain = ScrambleBytes(ReadFileBytes(file));
  TLangFHandler h;
  h.LoadLangFile(file);
  const std::string out = file + ".out";
  Clock::duration save{}, reference{};
  for (auto _ : state) {
    reference += Timed([&] { benchmark::DoNotOptimize(ScrambleAndWriteOnce(plain, out)); });
    save += Timed([&] { benchmark::DoNotOptimize(h.SaveLangFile(out)); });
  }
  SetRatio(state, save, reference);
}

// Ten times the pairs against ten loads of the smaller file; target at most 12.
static void LoadScaling(benchmark::State& state) {
  const int pairs = static_cast<int>(state.range(0));
  const std::string& small = FileOf(pairs);
  const std::string& large = FileOf(pairs * 10);
  TLangFHandler h;
  Clock::duration smallLoads{}, largeLoad{};
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) {
      h.ClearLessons();
      smallLoads += Timed([&] { benchmark::DoNotOptimize(h.LoadLangFile(small)); });
    }
    h.ClearLessons();
    largeLoad += Timed([&] { benchmark::DoNotOptimize(h.LoadLangFile(large)); });
  }
  SetRatio(state, largeLoad, smallLoads, 10);
}

static void SaveScaling(benchmark::State& state) {
  const int pairs = static_cast<int>(state.range(0));
  TLangFHandler small, large;
  small.LoadLangFile(FileOf(pairs));
  large.LoadLangFile(FileOf(pairs * 10));
  const std::string out = FileOf(pairs) + ".out";
  Clock::duration smallSaves{}, largeSave{};
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) smallSaves += Timed([&] { benchmark::DoNotOptimize(small.SaveLangFile(out)); });
    largeSave += Timed([&] { benchmark::DoNotOptimize(large.SaveLangFile(out)); });
  }
  SetRatio(state, largeSave, smallSaves, 10);
}

// The save as it was before saves became durable: QSaveFile in pieces of
// 327,676 bytes, no sync. Kept here only as the reference for the cost of
// durability.
namespace {
bool PreviousWriteFileBytes(const std::string& path, const TBytes& bytes) {
  QSaveFile file(QString::fromLocal8Bit(NativePath(path).native()));
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (std::size_t written = 0; written < bytes.size();) {
    const std::size_t piece = std::min<std::size_t>(327676, bytes.size() - written);
    if (file.write(reinterpret_cast<const char*>(bytes.data() + written), static_cast<qint64>(piece)) !=
        static_cast<qint64>(piece)) {
      file.cancelWriting();
      return false;
    }
    written += piece;
  }
  return file.commit();
}
}  // namespace

// The durable save against the previous one; target at most 1.2. Each
// iteration saves the file durably (work), and writes its bytes once durably
// and once the previous way; the previous save is the work with the durable
// write swapped for the previous one (the rest of a save is the same code).
// write_ratio is the write alone. Run with TMPDIR on a real disk: on tmpfs a
// sync costs nothing.
static void DurableSaveRatio(benchmark::State& state) {
  const std::string& file = FileOf(static_cast<int>(state.range(0)));
  TLangFHandler h;
  h.LoadLangFile(file);
  const std::string out = file + ".out";
  const std::string raw = file + ".raw";
  if (!h.SaveLangFile(out)) state.SkipWithError("save failed");
  const TBytes bytes = ReadFileBytes(out);
  Clock::duration save{}, durableWrite{}, previousWrite{};
  for (auto _ : state) {
    previousWrite += Timed([&] { benchmark::DoNotOptimize(PreviousWriteFileBytes(raw, bytes)); });
    durableWrite += Timed([&] { benchmark::DoNotOptimize(WriteFileBytes(raw, bytes, true)); });
    save += Timed([&] { benchmark::DoNotOptimize(h.SaveLangFile(out)); });
  }
  SetRatio(state, save, save - durableWrite + previousWrite);
  const double n = static_cast<double>(state.iterations());
  state.counters["durable_write_ms"] = Ms(durableWrite) / n;
  state.counters["previous_write_ms"] = Ms(previousWrite) / n;
  state.counters["write_ratio"] = Ms(durableWrite) / Ms(previousWrite);
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

BENCHMARK(DurableSaveRatio)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadRatio) QM_SIZES;
BENCHMARK(SaveRatio) QM_SIZES;
BENCHMARK(LoadScaling)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveScaling)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
