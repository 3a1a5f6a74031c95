// quillmere-lang speak --missing through the real espeak-ng.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "SaveCallFault.h"
#include "ScratchMount.h"
#include "StoredImage.h"
#include "ToolRun.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"

namespace fs = std::filesystem;

namespace {
// The loudest sample of a 16-bit PCM WAV in dBFS; -1000 when it is none.
double PeakDb(const std::string& file) {
  const TBytes bytes = ReadFileBytes(file);
  std::size_t at = 12;
  while (at + 8 <= bytes.size()) {
    uint32_t size = 0;
    std::memcpy(&size, &bytes[at + 4], 4);
    if (std::memcmp(&bytes[at], "data", 4) == 0) {
      int peak = 0;
      for (std::size_t i = at + 8; i + 1 < bytes.size() && i < at + 8 + size; i += 2) {
        int16_t sample = 0;
        std::memcpy(&sample, &bytes[i], 2);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
      }
      return peak == 0 ? -1000 : 20 * std::log10(peak / 32768.0);
    }
    at += 8 + size + (size & 1);
  }
  return -1000;
}

class SpeakCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v espeak-ng > /dev/null 2>&1") != 0) GTEST_SKIP() << "espeak-ng is not installed";
    ASSERT_TRUE(dir_.isValid());
  }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  // A German-Russian file of two lessons; the second pair of lesson 1 has its German sound.
  std::string MakeFile(const std::string& name, const std::string& knownSound) {
    fs::create_directories(fs::path(Path(name)).parent_path());
    const std::string file = Path(name);
    EXPECT_TRUE(WriteFileBytes(file, ContainerOf({"Encoding=UTF-8", "[General]", "Deutsch@Русский", "[1]",
                                                  "0=Tee@чай# @ *", "1=Haus@дом#" + knownSound + "@ *", "[2]",
                                                  "0=Wasser@вода# @ *"}),
                               true));
    return file;
  }
  QTemporaryDir dir_;
};
}  // namespace

// Below a LangFiles folder: relative names beside the file, sounds that
// are not silent, the locales guessed and stored, only the lesson asked for;
// a second run has nothing left to make.
TEST_F(SpeakCommandTest, SpeaksTheMissingSidesOfALesson) {
  const std::string file = MakeFile("LangFiles/Ger_Rus/de_ru.lang", " ");
  const TRun run = RunTool({"speak", file, "--missing", "--lesson", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Made 4 sounds."), std::string::npos) << run.out;

  TLangFHandler back;
  ASSERT_TRUE(back.LoadLangFile(file));
  EXPECT_EQ(back.Lang1Locale, "de");
  EXPECT_EQ(back.Lang2Locale, "ru");
  for (int p = 0; p < 2; ++p) {
    const auto pear = back.GetLesson(1)->GetPear(p);
    for (const std::string& name : {std::string(pear->WavFile1), std::string(pear->WavFile2)}) {
      SCOPED_TRACE(name);
      ASSERT_EQ(name.rfind("\\LangFiles\\Ger_Rus\\", 0), 0u);
      const std::string wav = Path(name.substr(1));
      EXPECT_GT(PeakDb(NativePath(wav).native()), -50.0);
    }
  }
  EXPECT_EQ(back.GetLesson(2)->GetPear(0)->WavFile1, " ");

  const TRun again = RunTool({"speak", file, "--missing", "--lesson", "1"});
  EXPECT_EQ(again.status, 0);
  EXPECT_NE(again.out.find("Made 0 sounds."), std::string::npos) << again.out;
}

// Elsewhere: the new sounds join the file's other sounds, by full path.
TEST_F(SpeakCommandTest, NewSoundsGoBesideTheOthers) {
  fs::create_directories(Path("sounds"));
  ASSERT_TRUE(WriteFileBytes(Path("sounds/haus.wav"), TBytes{'R', 'I', 'F', 'F'}, true));
  const std::string file = MakeFile("lessons/de_ru.lang", Path("sounds/haus.wav"));
  const TRun run = RunTool({"speak", file, "--missing", "--lesson", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  TLangFHandler back;
  ASSERT_TRUE(back.LoadLangFile(file));
  const auto water = back.GetLesson(2)->GetPear(0);
  EXPECT_EQ(std::string(water->WavFile1).rfind(Path("sounds/de_"), 0), 0u) << water->WavFile1;
  EXPECT_TRUE(fs::exists(std::string(water->WavFile2)));
}

// What cannot be spoken changes nothing.
TEST_F(SpeakCommandTest, UnknownLanguageOrNoEngineChangesNothing) {
  const std::string file = Path("x.lang");
  ASSERT_TRUE(WriteFileBytes(file, ContainerOf({"[General]", "Klingonisch@Deutsch", "[1]", "0=Qapla'@Erfolg# @ *"}), true));
  const TBytes before = ReadFileBytes(file);
  const TRun unknown = RunTool({"speak", file, "--missing"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("--lang1-locale"), std::string::npos) << unknown.err;
  EXPECT_EQ(ReadFileBytes(file), before);

  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", Path("nothing-here").c_str(), 1);
  const TRun noEngine = RunTool({"speak", file, "--missing", "--lang1-locale", "tlh"});
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(noEngine.status, 1);
  EXPECT_NE(noEngine.err.find("cannot be started"), std::string::npos) << noEngine.err;
  EXPECT_EQ(ReadFileBytes(file), before);
}

// A sound that cannot be written (a full disk, a failing write) is named,
// leaves no file behind, and the language file stays as it was.
TEST_F(SpeakCommandTest, FailedSoundWriteChangesNothing) {
  struct TCase {
    const char* name;
    bool fullDisk;
  };
  for (const TCase& c : {TCase{"full disk", true}, TCase{"failing write", false}}) {
    SCOPED_TRACE(c.name);
    TScratchMount disk("size=256k");
    if (c.fullDisk && !disk.Mounted()) GTEST_SKIP() << "no tmpfs here";
    const fs::path folder = (c.fullDisk ? disk.Path() : fs::path(Path(c.name))) / "LangFiles" / "Ger_Rus";
    fs::create_directories(folder);
    const std::string file = (folder / "de_ru.lang").native();
    ASSERT_TRUE(WriteFileBytes(file, ContainerOf({"Encoding=UTF-8", "[General]", "Deutsch@Русский", "[1]",
                                                  "0=Tee@чай# @ *"}),
                               true));
    const TBytes before = ReadFileBytes(file);
    if (c.fullDisk) {
      ASSERT_TRUE(disk.Fill("filler"));
    }
    TRun run;
    {
      std::unique_ptr<TSaveCallFailure> fault;
      if (!c.fullDisk) fault = std::make_unique<TSaveCallFailure>(TSaveCallFault{TSaveCall::Write, ENOSPC});
      run = RunTool({"speak", file, "--missing"});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot be stored"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFileBytes(file), before);
    for (const auto& entry : fs::directory_iterator(folder)) {
      EXPECT_EQ(entry.path().filename(), "de_ru.lang");
    }
  }
}
