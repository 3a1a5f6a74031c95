#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Measures a WAV file's samples and names what is wrong with it as a sound
// of a lesson: missing, not readable, silent, clipped, too long or short,
// or far louder or quieter than the other sounds of its file.

enum class TSoundState { Measured, Missing, Unreadable, NotWave };

struct TSoundMeasure {
  TSoundState State = TSoundState::NotWave;
  double PeakDbfs = 0;      // -infinity for a file of zero samples only
  double LoudnessDbfs = 0;  // RMS over every sample of every channel
  int64_t ClippedRuns = 0;  // runs of kClipRun or more full-scale samples in a row
  int64_t DurationMs = 0;
};

enum class TSoundFault { Missing, NotWave, Silent, Clipped, TooLong, TooShort, TooLoud, TooQuiet };

constexpr double kSilentPeakDbfs = -50;
constexpr int kClipRun = 3;
constexpr int64_t kLongestMs = 10000;
constexpr int64_t kShortestMs = 200;
constexpr double kLoudnessSpreadDb = 10;

// Reads the file in bounded blocks: a huge or hostile header costs no
// memory beyond one block. PCM of 8, 16, 24 or 32 bits and 32-bit float,
// mono or stereo; anything else is NotWave.
TSoundMeasure MeasureWaveFile(const std::string& path);

// The median loudness of the measured sounds that are not silent; NaN when
// there is none.
double MedianLoudness(const std::vector<TSoundMeasure>& measures);

// The faults of one sound; medianDbfs NaN leaves loudness out.
std::vector<TSoundFault> JudgeSound(const TSoundMeasure& measure, double medianDbfs);

// A short English description for the command line, with the figure that
// shows the fault.
std::string DescribeFault(TSoundFault fault, const TSoundMeasure& measure, double medianDbfs);

// Measures kept while a file is unchanged (same size and time), so an
// editor can judge its sounds on every keystroke.
class TSoundMeasureCache {
 public:
  const TSoundMeasure& Measure(const std::string& path);

 private:
  struct TEntry {
    int64_t Size = -1;
    int64_t Time = 0;
    TSoundMeasure Measure;
  };
  std::map<std::string, TEntry> entries_;
};
