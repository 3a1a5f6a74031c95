#include "SoundCheck.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "FileUtil.h"

namespace {
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// Enough for speed, small enough that no file costs memory.
constexpr std::size_t kBlockBytes = 64 * 1024;

using TFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

uint32_t Le32(const unsigned char* b) {
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
uint16_t Le16(const unsigned char* b) { return static_cast<uint16_t>(b[0] | b[1] << 8); }

struct TWaveFormat {
  uint16_t Tag = 0;
  uint16_t Channels = 0;
  uint32_t Rate = 0;
  uint16_t BlockAlign = 0;
  uint16_t Bits = 0;
};

bool Readable(const TWaveFormat& f) {
  if (f.Channels < 1 || f.Channels > 2 || f.Rate == 0) return false;
  const bool pcm = f.Tag == kFormatPcm && (f.Bits == 8 || f.Bits == 16 || f.Bits == 24 || f.Bits == 32);
  const bool flt = f.Tag == kFormatFloat && f.Bits == 32;
  return (pcm || flt) && f.BlockAlign == f.Channels * f.Bits / 8;
}

// One sample as a fraction of full scale, and whether it is at full scale.
double Sample(const unsigned char* b, const TWaveFormat& f, bool& full) {
  switch (f.Bits) {
    case 8: {
      full = b[0] == 0 || b[0] == 255;
      return (static_cast<int>(b[0]) - 128) / 128.0;
    }
    case 16: {
      const int v = static_cast<int16_t>(Le16(b));
      full = v == 32767 || v == -32768;
      return v / 32768.0;
    }
    case 24: {
      int32_t v = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16);
      if (v & 0x800000) v -= 0x1000000;
      full = v == 0x7FFFFF || v == -0x800000;
      return v / 8388608.0;
    }
    default: {
      const uint32_t raw = Le32(b);
      if (f.Tag == kFormatFloat) {
        float x;
        std::memcpy(&x, &raw, sizeof x);
        if (!std::isfinite(x)) {
          full = true;
          return 1.0;
        }
        full = std::fabs(x) >= 1.0f;
        return std::clamp(static_cast<double>(x), -1.0, 1.0);
      }
      const int32_t v = static_cast<int32_t>(raw);
      full = v == std::numeric_limits<int32_t>::max() || v == std::numeric_limits<int32_t>::min();
      return v / 2147483648.0;
    }
  }
}

double Dbfs(double amplitude) {
  return amplitude > 0 ? 20 * std::log10(amplitude) : -std::numeric_limits<double>::infinity();
}

std::string Figure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}
}  // namespace

TSoundMeasure MeasureWaveFile(const std::string& path) {
  TSoundMeasure m;
  const std::filesystem::path native = NativePath(path);
  std::error_code ec;
  if (path.empty() || !std::filesystem::exists(native, ec)) {
    m.State = TSoundState::Missing;
    return m;
  }
  if (!std::filesystem::is_regular_file(native, ec)) {
    m.State = TSoundState::Unreadable;
    return m;
  }
  TFile file(std::fopen(native.c_str(), "rb"), &std::fclose);
  if (!file) {
    m.State = TSoundState::Unreadable;
    return m;
  }
  const auto fileSize = static_cast<int64_t>(std::filesystem::file_size(native, ec));
  if (ec) {
    m.State = TSoundState::Unreadable;
    return m;
  }
  m.State = TSoundState::NotWave;

  unsigned char head[12];
  if (std::fread(head, 1, 12, file.get()) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0)
    return m;

  // Walks the chunks by seeking: only "fmt " is read, and only its start.
  TWaveFormat format;
  bool haveFormat = false;
  int64_t at = 12;
  int64_t dataSize = -1;
  while (at + 8 <= fileSize) {
    unsigned char chunk[8];
    if (std::fseek(file.get(), static_cast<long>(at), SEEK_SET) != 0 || std::fread(chunk, 1, 8, file.get()) != 8)
      return m;
    const uint32_t size = Le32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      unsigned char fmt[40] = {};
      const std::size_t want = std::min<std::size_t>(size, sizeof fmt);
      if (size < 16 || std::fread(fmt, 1, want, file.get()) != want) return m;
      format = {Le16(fmt), Le16(fmt + 2), Le32(fmt + 4), Le16(fmt + 12), Le16(fmt + 14)};
      // The extensible form keeps the real format in its sub-format's first bytes.
      if (format.Tag == kFormatExtensible) format.Tag = size >= 26 ? Le16(fmt + 24) : 0;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return m;
      // A streamed file may leave the size open; the file's end bounds it.
      const int64_t rest = fileSize - (at + 8);
      dataSize = size;
      if (dataSize == 0 || dataSize > rest) dataSize = rest;
      at += 8;
      break;
    }
    at += 8 + static_cast<int64_t>(size) + (size & 1);
  }
  if (dataSize < 0 || !Readable(format)) return m;

  const std::size_t frameBytes = format.BlockAlign;
  const std::size_t sampleBytes = format.Bits / 8u;
  std::vector<unsigned char> block(kBlockBytes - kBlockBytes % frameBytes);
  int64_t left = dataSize - dataSize % static_cast<int64_t>(frameBytes);
  double peak = 0;
  double squares = 0;
  int64_t samples = 0;
  std::array<int, 2> run{0, 0};
  if (std::fseek(file.get(), static_cast<long>(at), SEEK_SET) != 0) {
    m.State = TSoundState::Unreadable;
    return m;
  }
  while (left > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<int64_t>(left, static_cast<int64_t>(block.size())));
    const std::size_t got = std::fread(block.data(), 1, want, file.get());
    if (got != want) {
      m.State = TSoundState::Unreadable;
      return m;
    }
    left -= static_cast<int64_t>(got);
    for (std::size_t i = 0; i + frameBytes <= got; i += frameBytes)
      for (std::size_t c = 0; c < format.Channels; ++c) {
        bool full = false;
        const double x = Sample(block.data() + i + c * sampleBytes, format, full);
        peak = std::max(peak, std::fabs(x));
        squares += x * x;
        if (!full) {
          run[c] = 0;
        } else if (++run[c] == kClipRun) {
          ++m.ClippedRuns;
        }
      }
    samples += static_cast<int64_t>(got / sampleBytes);
  }
  m.State = TSoundState::Measured;
  m.PeakDbfs = Dbfs(peak);
  m.LoudnessDbfs = samples > 0 ? Dbfs(std::sqrt(squares / static_cast<double>(samples))) : Dbfs(0);
  m.DurationMs = samples / format.Channels * 1000 / format.Rate;
  return m;
}

double MedianLoudness(const std::vector<TSoundMeasure>& measures) {
  std::vector<double> levels;
  for (const TSoundMeasure& m : measures)
    if (m.State == TSoundState::Measured && m.PeakDbfs >= kSilentPeakDbfs) levels.push_back(m.LoudnessDbfs);
  if (levels.empty()) return std::numeric_limits<double>::quiet_NaN();
  std::sort(levels.begin(), levels.end());
  const std::size_t mid = levels.size() / 2;
  return levels.size() % 2 == 1 ? levels[mid] : (levels[mid - 1] + levels[mid]) / 2;
}

std::vector<TSoundFault> JudgeSound(const TSoundMeasure& m, double medianDbfs) {
  switch (m.State) {
    case TSoundState::Missing:
      return {TSoundFault::Missing};
    case TSoundState::Unreadable:
    case TSoundState::NotWave:
      return {TSoundFault::NotWave};
    case TSoundState::Measured:
      break;
  }
  std::vector<TSoundFault> faults;
  const bool silent = m.PeakDbfs < kSilentPeakDbfs;
  if (silent) faults.push_back(TSoundFault::Silent);
  if (m.ClippedRuns > 0) faults.push_back(TSoundFault::Clipped);
  if (m.DurationMs > kLongestMs) faults.push_back(TSoundFault::TooLong);
  if (m.DurationMs < kShortestMs) faults.push_back(TSoundFault::TooShort);
  // A silent sound is named as such; its loudness says nothing more.
  if (!silent && !std::isnan(medianDbfs)) {
    if (m.LoudnessDbfs > medianDbfs + kLoudnessSpreadDb) faults.push_back(TSoundFault::TooLoud);
    if (m.LoudnessDbfs < medianDbfs - kLoudnessSpreadDb) faults.push_back(TSoundFault::TooQuiet);
  }
  return faults;
}

std::string DescribeFault(TSoundFault fault, const TSoundMeasure& m, double medianDbfs) {
  switch (fault) {
    case TSoundFault::Missing:
      return "missing: no such file";
    case TSoundFault::NotWave:
      return m.State == TSoundState::Unreadable ? "unreadable: the file cannot be read"
                                                : "not a WAV file this can read (PCM or float, mono or stereo)";
    case TSoundFault::Silent:
      return "silent: peak " + (std::isinf(m.PeakDbfs) ? std::string("-inf") : Figure(m.PeakDbfs)) + " dBFS";
    case TSoundFault::Clipped:
      return "clipped: " + std::to_string(m.ClippedRuns) + (m.ClippedRuns == 1 ? " run" : " runs") +
             " of full-scale samples";
    case TSoundFault::TooLong:
      return "very long: " + Figure(static_cast<double>(m.DurationMs) / 1000) + " s";
    case TSoundFault::TooShort:
      return "very short: " + Figure(static_cast<double>(m.DurationMs) / 1000) + " s";
    case TSoundFault::TooLoud:
      return "much louder than the others: " + Figure(m.LoudnessDbfs - medianDbfs) + " dB above the median";
    case TSoundFault::TooQuiet:
      return "much quieter than the others: " + Figure(medianDbfs - m.LoudnessDbfs) + " dB below the median";
  }
  return {};
}

const TSoundMeasure& TSoundMeasureCache::Measure(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path native = NativePath(path);
  const auto size = std::filesystem::file_size(native, ec);
  const int64_t knownSize = ec ? -1 : static_cast<int64_t>(size);
  const auto time = std::filesystem::last_write_time(native, ec);
  const int64_t knownTime = ec ? 0 : static_cast<int64_t>(time.time_since_epoch().count());
  TEntry& entry = entries_[path];
  if (entry.Size != knownSize || entry.Time != knownTime || knownSize < 0) {
    entry.Size = knownSize;
    entry.Time = knownTime;
    entry.Measure = MeasureWaveFile(path);
  }
  return entry.Measure;
}
