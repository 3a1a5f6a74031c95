// Hostile files are refused or read in bounded time and memory.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/Errors.h"
#include "settings/AppIniFile.h"
#include "storage/CodeDecode.h"
#include "storage/KvtmlImport.h"
#include "storage/LangFHandler.h"

namespace {
TBytes Container(const std::string& body) {
  TBytes image;
  image.reserve(body.size() + 2);
  image.push_back(kContainerHeader);
  image.insert(image.end(), body.begin(), body.end());
  image.push_back(0);
  XorCheck(image, true);
  return ScrambleBytes(image);
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

TEST(HostileInput, HundredMegabytesOfGarbageAreRefused) {
  TBytes garbage(100u << 20);
  std::mt19937 engine(7);
  for (auto& b : garbage) b = static_cast<uint8_t>(engine());
  TLangFHandler handler;
  EXPECT_FALSE(handler.LoadLangBytes(garbage, "garbage.lang"));
  EXPECT_EQ(handler.LessonSlotCount(), 0);
}

TEST(HostileInput, TenMegabyteLineIsReadButNeverWrittenCut) {
  const std::string longWord(10u << 20, 'x');
  TLangFHandler handler;
  ASSERT_TRUE(handler.LoadLangBytes(Container("[General]\r\nA@B\r\n[1]\r\n0=" + longWord + "@y# @ *\r\n"), "long.lang"));
  ASSERT_NE(handler.GetLesson(1), nullptr);
  EXPECT_EQ(handler.GetLesson(1)->GetPear(0)->Word1.size(), longWord.size());
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/long.lang";
  EXPECT_FALSE(handler.SaveLangFile(path));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(HostileInput, MillionEmptyLessonsLoadInBoundedTime) {
  std::string body = "[General]\r\nA@B\r\n";
  body.reserve(12u << 20);
  for (int n = 1; n <= 1000000; ++n) body += "[" + std::to_string(n) + "]\r\n";
  TLangFHandler handler;
  const double seconds = Seconds([&] { EXPECT_TRUE(handler.LoadLangBytes(Container(body), "lessons.lang")); });
  EXPECT_EQ(handler.LessonSlotCount(), 1000001);
  EXPECT_LT(seconds, 30.0);  // a generous bound: quadratic work would take hours
}

TEST(HostileInput, HugeNumbersNeverAllocateTheirSlots) {
  const char* bodies[] = {
      "[General]\r\nA@B\r\n[2000000000]\r\n0=a@b# @ *\r\n",
      "[General]\r\nA@B\r\n[1]\r\n2000000000=a@b# @ *\r\n",
  };
  for (const char* body : bodies) {
    SCOPED_TRACE(body);
    TLangFHandler handler;
    try {
      handler.LoadLangBytes(Container(body), "huge.lang");
    } catch (const TConversionError& e) {
      EXPECT_EQ(e.File(), "huge.lang");
      EXPECT_GT(e.LineNbr(), 0);
    }
    EXPECT_LT(handler.LessonSlotCount(), 1000000);
    if (auto lesson = handler.GetLesson(1)) {
      EXPECT_LT(lesson->SlotCount(), 1000000);
    }
  }
}

TEST(HostileInput, SettingsCountOfTwoBillionReadsOnlyWhatIsThere) {
  QTemporaryDir dir;
  {
    std::ofstream out(dir.path().toStdString() + "/Quillmere.Ini", std::ios::binary);
    out << "[exercise]\r\nLangFileName=x.lang\r\nLang1=A\r\nLang2=B\r\nMaxWords=2000000000\r\n"
           "[AvailableUnits]\r\n0=1\r\nNbrUnits=2000000000\r\n"
           "[exerciseWords]\r\n0=1-2-3\r\nNbrWords=2000000000\r\n";
  }
  TAppIniFile ini(dir.path().toStdString(), nullptr);
  ASSERT_TRUE(ini.IniFound);
  const double seconds = Seconds([&] { ini.ReadExercise(); });
  EXPECT_LT(seconds, 5.0);
  EXPECT_LE(ini.ExerciseWords.size(), 2u);
  EXPECT_LE(ini.AvailableUnits.size(), 2u);
  ASSERT_FALSE(ini.ExerciseWords.empty());
  EXPECT_EQ(ini.ExerciseWords[0], (TExerciseWord{1, 2, 3, false}));
}

// Each entry costs more memory than its bytes in the file: a file of tiny
// entries is refused past a count no word list reaches.
TEST(HostileInput, KvtmlOfHalfAMillionTinyEntriesIsRefused) {
  std::string xml = "<kvtml version=\"2.0\"><entries>";
  for (int i = 0; i <= 500000; ++i) xml += "<entry id=\"" + std::to_string(i) + "\"/>";
  xml += "</entries></kvtml>";
  const TImportedLessons result = ImportKvtml(xml, {});
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_NE(result.Errors[0].find("more than 500000 entries"), std::string::npos) << result.Errors[0];
}
