// quillmere-lang check: the sounds a language file names, measured.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>

#include "StoredImage.h"
#include "ToneWave.h"
#include "ToolRun.h"
#include "CheckCommand.h"
#include "storage/FileUtil.h"
#include "storage/SoundCheck.h"

namespace fs = std::filesystem;

namespace {
class CheckCommandTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  void Put(const std::string& name, const TBytes& bytes) {
    fs::create_directories(fs::path(Path(name)).parent_path());
    ASSERT_TRUE(WriteFileBytes(Path(name), bytes, false));
  }
  // A language file below LangFiles/Set whose lesson 1 names the sounds on side 1, lesson 2 a good one.
  std::string LangFile(const std::vector<std::string>& sounds) {
    std::vector<std::string> lines = {"Encoding=UTF-8", "[General]", "English@German", "[1]"};
    for (std::size_t i = 0; i < sounds.size(); ++i)
      lines.push_back(std::to_string(i) + "=w" + std::to_string(i) + "@v#" + sounds[i] + "@ *");
    lines.insert(lines.end(), {"[2]", "0=x@y#\\LangFiles\\Set\\good.wav@ *"});
    const std::string file = Path("LangFiles/Set/set.lang");
    Put("LangFiles/Set/set.lang", ContainerOf(lines));
    return file;
  }
  QTemporaryDir dir_;
};

TSoundMeasure Measure(const TBytes& bytes) {
  QTemporaryDir dir;
  const std::string file = dir.path().toStdString() + "/s.wav";
  EXPECT_TRUE(WriteFileBytes(file, bytes, false));
  return MeasureWaveFile(file);
}
}  // namespace

// Every sample format read alike: a one-second tone at -6 dBFS.
TEST(SoundMeasureTest, ReadsEverySampleFormat) {
  struct TCase {
    int bits, channels;
    bool isFloat;
  };
  for (const TCase c : {TCase{8, 1, false}, TCase{16, 1, false}, TCase{16, 2, false}, TCase{24, 1, false},
                        TCase{32, 2, false}, TCase{32, 1, true}, TCase{32, 2, true}}) {
    SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.channels) + " channels");
    std::vector<double> samples;
    for (const double x : ToneSamples(1.0, -6))
      for (int ch = 0; ch < c.channels; ++ch) samples.push_back(x);
    const TSoundMeasure m = Measure(WaveBytes(samples, 16000, c.bits, c.channels, c.isFloat));
    ASSERT_EQ(m.State, TSoundState::Measured);
    EXPECT_NEAR(m.PeakDbfs, -6, 0.2);
    EXPECT_NEAR(m.LoudnessDbfs, -9, 0.2);
    EXPECT_EQ(m.DurationMs, 1000);
    EXPECT_EQ(m.ClippedRuns, 0);
    EXPECT_TRUE(JudgeSound(m, -9).empty());
  }
}

// Damaged and hostile headers are named, never read beyond the file or into
// a buffer their numbers ask for.
TEST(SoundMeasureTest, RejectsWhatItCannotRead) {
  const TBytes good = WaveBytes(ToneSamples(0.5, -6));
  TBytes twelveBits = good;
  twelveBits[34] = 12;
  TBytes threeChannels = good;
  threeChannels[22] = 3;
  TBytes hugeFormat = good;  // "fmt " claims 4 GB
  for (int i = 16; i < 20; ++i) hugeFormat[static_cast<std::size_t>(i)] = 0xFF;
  const TBytes noData(good.begin(), good.begin() + 36);
  struct TCase {
    const char* name;
    TBytes bytes;
  };
  for (const TCase& c : {TCase{"truncated header", TBytes(good.begin(), good.begin() + 20)},
                         TCase{"no WAV at all", TBytes{'h', 'e', 'l', 'l', 'o'}}, TCase{"12-bit samples", twelveBits},
                         TCase{"three channels", threeChannels}, TCase{"format chunk of 4 GB", hugeFormat},
                         TCase{"no data chunk", noData}, TCase{"empty file", TBytes{}}}) {
    SCOPED_TRACE(c.name);
    const TSoundMeasure m = Measure(c.bytes);
    EXPECT_EQ(m.State, TSoundState::NotWave);
    EXPECT_EQ(JudgeSound(m, -9), std::vector<TSoundFault>{TSoundFault::NotWave});
  }
  // A data size beyond the file's end (a cut download, or a hostile 4 GB): the samples there are measured.
  TBytes cut = good;
  for (int i = 40; i < 44; ++i) cut[static_cast<std::size_t>(i)] = 0xFF;
  cut.resize(44 + 3200);
  const TSoundMeasure m = Measure(cut);
  ASSERT_EQ(m.State, TSoundState::Measured);
  EXPECT_EQ(m.DurationMs, 100);
}

TEST(SoundMeasureTest, ClippedRunsOnlyFromThreeFullScaleSamples) {
  const TSoundMeasure two = Measure(WaveBytes({0.1, 1.0, 1.0, 0.1, -1.0, -1.0, 0.0}));
  EXPECT_EQ(two.ClippedRuns, 0);
  const TSoundMeasure three = Measure(WaveBytes({0.1, 1.0, 1.0, 1.0, 1.0, 0.0, -1.0, -1.0, -1.0}));
  EXPECT_EQ(three.ClippedRuns, 2);
  // Stereo: the channels' runs are apart; full scale alternating between them is no run.
  const TSoundMeasure apart = Measure(WaveBytes({1.0, 0.0, 0.0, 1.0, 1.0, 0.0, 0.0, 1.0}, 16000, 16, 2));
  EXPECT_EQ(apart.ClippedRuns, 0);
}

// A fixture of each fault: each is named with its sound, nothing for the good ones.
TEST_F(CheckCommandTest, NamesEachFaultWithItsSound) {
  Put("LangFiles/Set/good.wav", WaveBytes(ToneSamples(1.0, -6)));
  Put("LangFiles/Set/good2.wav", WaveBytes(ToneSamples(1.0, -7)));
  Put("abs/good3.wav", WaveBytes(ToneSamples(1.0, -5)));
  Put("LangFiles/Set/silent.wav", WaveBytes(ToneSamples(1.0, -60)));
  Put("LangFiles/Set/clipped.wav", WaveBytes(ToneSamples(1.0, 6)));
  Put("LangFiles/Set/faint.wav", WaveBytes(ToneSamples(1.0, -36)));
  Put("LangFiles/Set/short.wav", WaveBytes(ToneSamples(0.1, -6)));
  Put("LangFiles/Set/long.wav", WaveBytes(ToneSamples(11.0, -6, 8000), 8000));
  Put("LangFiles/Set/text.wav", TBytes{'n', 'o', ' ', 'w', 'a', 'v', 'e'});
  const TBytes whole = WaveBytes(ToneSamples(1.0, -6));
  Put("LangFiles/Set/cut.wav", TBytes(whole.begin(), whole.begin() + 30));
  const std::string file = LangFile({"\\LangFiles\\Set\\good.wav", "good2.wav", Path("abs/good3.wav"),
                                     "\\LangFiles\\Set\\silent.wav", "\\LangFiles\\Set\\clipped.wav",
                                     "\\LangFiles\\Set\\faint.wav", "\\LangFiles\\Set\\short.wav",
                                     "\\LangFiles\\Set\\long.wav", "\\LangFiles\\Set\\gone.wav",
                                     "\\LangFiles\\Set\\text.wav", "\\LangFiles\\Set\\cut.wav"});
  const TRun run = RunTool({"check", file});
  EXPECT_EQ(run.status, 1) << run.err;
  for (const char* expected :
       {"lesson 1, pair 3, side 1: \\LangFiles\\Set\\silent.wav: silent", "pair 4, side 1: \\LangFiles\\Set\\clipped.wav: clipped",
        "pair 5, side 1: \\LangFiles\\Set\\faint.wav: much quieter", "pair 6, side 1: \\LangFiles\\Set\\short.wav: very short",
        "pair 7, side 1: \\LangFiles\\Set\\long.wav: very long", "pair 8, side 1: \\LangFiles\\Set\\gone.wav: missing",
        "pair 9, side 1: \\LangFiles\\Set\\text.wav: not a WAV", "pair 10, side 1: \\LangFiles\\Set\\cut.wav: not a WAV",
        "Checked 12 sounds, found 8 faults."})
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
  EXPECT_EQ(run.out.find("good"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("short.wav: much"), std::string::npos) << "the short one is as loud as the others";
}

TEST_F(CheckCommandTest, AllWellAndOneLessonExitZero) {
  Put("LangFiles/Set/good.wav", WaveBytes(ToneSamples(1.0, -6)));
  const std::string file = LangFile({"\\LangFiles\\Set\\gone.wav"});
  const TRun all = RunTool({"check", file});
  EXPECT_EQ(all.status, 1);
  const TRun lesson2 = RunTool({"check", file, "--lesson", "2"});
  EXPECT_EQ(lesson2.status, 0) << lesson2.out << lesson2.err;
  EXPECT_EQ(lesson2.out, "Checked 1 sound, found 0 faults.\n");
}

TEST_F(CheckCommandTest, ExitStatusForUsageAndUnreadableFiles) {
  const std::string file = LangFile({});
  Put("broken.lang", TBytes{'x', 'y'});
  struct TCase {
    std::vector<std::string> args;
    int status;
  };
  for (const TCase& c : {TCase{{"check"}, 2}, TCase{{"check", file, file}, 2}, TCase{{"check", file, "--lesson", "x"}, 2},
                         TCase{{"check", file, "--lesson", "7"}, 2}, TCase{{"check", file, "--loud"}, 2},
                         TCase{{"check", Path("none.lang")}, 1}, TCase{{"check", Path("broken.lang")}, 1}}) {
    const TRun run = RunTool(c.args);
    EXPECT_EQ(run.status, c.status) << c.args.back() << "\n" << run.err;
  }
}

// A name relative to the program folder, without a LangFiles folder above
// the language file, lies beside it.
TEST(SoundPathTest, ResolvesNamesAsTheProgramStoresThem) {
  EXPECT_EQ(ResolveSoundPath("\\LangFiles\\A\\x.wav", "/opt/q/LangFiles/A/a.lang"), "/opt/q/LangFiles/A/x.wav");
  EXPECT_EQ(ResolveSoundPath("\\x.wav", "/home/a/a.lang"), "/home/a/x.wav");
  EXPECT_EQ(ResolveSoundPath("s/x.wav", "/home/a/a.lang"), "/home/a/s/x.wav");
  EXPECT_EQ(ResolveSoundPath("/snd/x.wav", "/home/a/a.lang"), "/snd/x.wav");
}
