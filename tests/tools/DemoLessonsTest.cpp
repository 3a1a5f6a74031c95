// The demo as it is shipped: packed from its readable lines, every side of
// every lesson names a sound that the demo carries and that is a wave file
// of some length, and the file names the locales of its two languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "ToolRun.h"
#include "storage/LangFHandler.h"
#include "storage/WaveInfo.h"

namespace {

const std::filesystem::path kDemoDir = QM_RESOURCES_DIR "/LangFiles/Eng_Ger";

// The file a stored name "\LangFiles\Eng_Ger\x.wav" means among the resources.
std::filesystem::path ShippedSound(const std::string& stored) {
  const std::string prefix = "\\LangFiles\\Eng_Ger\\";
  if (stored.rfind(prefix, 0) != 0) return {};
  return kDemoDir / stored.substr(prefix.size());
}

int64_t SoundLengthMs(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const TBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return WaveDurationMs(TBytes(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 4096)),
                        static_cast<int64_t>(bytes.size()));
}

}  // namespace

TEST(DemoLessonsTest, EverySideOfEveryLessonIsSpoken) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("demo-lessons-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  const std::string packed = (dir / "english_german.lang").string();
  const TRun run = RunTool({"pack", (kDemoDir / "english_german.lines").string(), packed});
  ASSERT_EQ(run.status, 0) << run.err;
  TLangFHandler demo;
  ASSERT_TRUE(demo.LoadLangFile(packed));
  std::filesystem::remove_all(dir);
  EXPECT_EQ(demo.Lang1Locale, "en");
  EXPECT_EQ(demo.Lang2Locale, "de");
  int sides = 0;
  for (int32_t nbr = 1; nbr <= 3; ++nbr) {
    const auto lesson = demo.GetLesson(nbr);
    ASSERT_TRUE(lesson) << "lesson " << nbr;
    for (const auto& pair : lesson->Pears.Items()) {
      if (!pair) continue;
      for (const std::string& sound : {std::string(pair->WavFile1), std::string(pair->WavFile2)}) {
        ++sides;
        const std::filesystem::path file = ShippedSound(sound);
        ASSERT_FALSE(file.empty()) << "lesson " << nbr << ": " << pair->Word1 << " names \"" << sound << "\"";
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
        EXPECT_GT(SoundLengthMs(file), 200) << file;
      }
    }
  }
  EXPECT_EQ(sides, 80);
}
