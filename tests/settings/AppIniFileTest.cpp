#include "settings/AppIniFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QTemporaryDir>

#include "FileText.h"
#include "settings/IniFileHandler.h"
#include "storage/FileUtil.h"
#include "SaveCallFault.h"

namespace {
const int kOwner = 0;

class AppIniFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string appDir = dir.path().toStdString();
  std::string iniPath = appDir + "/Quillmere.Ini";

  std::unique_ptr<TAppIniFile> Open(const std::string& content) {
    Spit(iniPath, content);
    return std::make_unique<TAppIniFile>(appDir, &kOwner);
  }
  // What the main window does at closing.
  static bool Close(TAppIniFile& ini) {
    ini.WriteProperties();
    ini.WriteExercise();
    ini.WriteLanguage();
    return ini.UpdateFile();
  }
  void TearDown() override {
    SetFileWarnHook(nullptr);
  }
};

std::string ListSection(const std::string& name, const std::string& countKey, const std::vector<std::string>& lines) {
  std::string text = "[" + name + "]\r\n";
  for (std::size_t i = 0; i < lines.size(); ++i) text += std::to_string(i) + "=" + lines[i] + "\r\n";
  return text + countKey + "=" + std::to_string(lines.size()) + "\r\n";
}

const std::string kCompleteExercise =
    "[exercise]\r\nLangFileName=/home/a/English_German.lang\r\nLang1=English\r\nLang2=Deutsch\r\n"
    "FirstLang=False\r\nMaxWords=20\r\n"
    "[AvailableUnits]\r\n0=3\r\n1=5\r\nNbrUnits=2\r\n";
}  // namespace

TEST_F(AppIniFileTest, EmptyFileGivesTheDefaultsAndWritesThemAtClosing) {
  auto ini = Open("");
  ASSERT_TRUE(ini->IniFound);
  EXPECT_EQ(ini->Language, "EN");
  EXPECT_FALSE(ini->ReadExercise());
  ini->ReadProperties();
  EXPECT_TRUE(ini->FirstLang);
  EXPECT_EQ(ini->MaxWords, 300);
  EXPECT_EQ(ini->DelayPresent, 10);
  EXPECT_EQ(ini->DelayAnswer, 10);
  EXPECT_TRUE(ini->VoiceAnswer);
  EXPECT_TRUE(ini->ShowTable);
  EXPECT_FALSE(ini->AutoPresent);
  EXPECT_FALSE(ini->LetterAnswer);
  EXPECT_EQ(ini->VoicePresent, 0);
  EXPECT_TRUE(ini->ExerciseWords.empty());
  EXPECT_TRUE(ini->AvailableUnits.empty());
  EXPECT_TRUE(ini->LangFileName.empty());

  ASSERT_TRUE(Close(*ini));
  EXPECT_EQ(Slurp(iniPath),
            "[GeneralProperty]\r\nAutoPresent=False\r\nVoiceAnswer=True\r\nLetterAnswer=False\r\n"
            "DelayPresent=10\r\nDelayAnswer=10\r\nVoicePresent=0\r\nShowTable=True\r\n\r\n"
            "[Exercise]\r\nLangFileName=\r\nLang1=\r\nLang2=\r\nFirstLang=True\r\nMaxWords=300\r\n\r\n"
            "[AvailableUnits]\r\nNbrUnits=0\r\n\r\n"
            "[ExerciseWords]\r\nNbrWords=0\r\n\r\n"
            "[Application]\r\nLanguage=EN\r\n");
}

TEST_F(AppIniFileTest, StoredWordsAreReadWithoutLetterCase) {
  struct Case {
    const char* stored;
    bool firstLang;
  } cases[] = {{"true", true}, {"FALSE", false}, {"False", false}, {"TrUe", true},
               {"yes", true},  {"0", true},      {"", true},       {"False!", true}};
  for (const Case& c : cases) {
    auto ini = Open(std::string("[Application]\r\nLanguage=de\r\n[EXERCISE]\r\nFirstLang=") + c.stored +
                    "\r\n[generalproperty]\r\nShowTable=0\r\nAutoPresent=TRUE\r\n");
    EXPECT_EQ(ini->Language, "DE");
    ini->ReadExercise();
    ini->ReadProperties();
    EXPECT_EQ(ini->FirstLang, c.firstLang) << c.stored;
    EXPECT_TRUE(ini->ShowTable);
    EXPECT_TRUE(ini->AutoPresent);
  }
}

TEST_F(AppIniFileTest, UnreadableIntegersGiveTheDefaults) {
  auto ini = Open(
      "[exercise]\r\nMaxWords=3OO\r\n"
      "[GeneralProperty]\r\nDelayPresent=\r\nDelayAnswer=ten\r\nVoicePresent=1.5\r\n");
  ini->ReadExercise();
  ini->ReadProperties();
  EXPECT_EQ(ini->MaxWords, 300);
  EXPECT_EQ(ini->DelayPresent, 10);
  EXPECT_EQ(ini->DelayAnswer, 10);
  EXPECT_EQ(ini->VoicePresent, 0);
}

// A negative delay never advanced the automatic mode; one whose
// milliseconds overflow 32 bits did the same.
TEST_F(AppIniFileTest, StoredDelaysAreClampedToTheDialogsRange) {
  const struct {
    const char* stored;
    int32_t delay;
  } cases[] = {{"-5", 1}, {"0", 1}, {"1", 1}, {"20", 20}, {"21", 20}, {"2147483", 20}, {"2147483647", 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    auto ini = Open(std::string("[GeneralProperty]\r\nDelayPresent=") + c.stored + "\r\nDelayAnswer=" + c.stored +
                    "\r\nVoicePresent=7\r\n");
    ini->ReadProperties();
    EXPECT_EQ(ini->DelayPresent, c.delay);
    EXPECT_EQ(ini->DelayAnswer, c.delay);
    EXPECT_EQ(ini->VoicePresent, 7);  // the dialog shows no item for it and keeps it
  }
}

// The settings file grew by one blank line at every run.
TEST_F(AppIniFileTest, UnchangedSettingsAreSavedByteForByte) {
  const std::string files[] = {
      "[Application]\r\nLanguage=EN\r\n\r\n[Exercise]\r\nLangFileName=/a/words.lang\r\nLang1=English\r\n"
      "Lang2=German\r\nFirstLang=True\r\nMaxWords=20\r\n\r\n[AvailableUnits]\r\n0=1\r\n1=2\r\nNbrUnits=2\r\n\r\n"
      "[ExerciseWords]\r\nNbrWords=0\r\n",
      // Lists in the middle, with comments, and LF line ends.
      "[ExerciseWords]\n0=1-2-0\n1=1-3-4\nNbrWords=2\n; held back\n\n[AvailableUnits]\n0=1\nNbrUnits=1\n\n"
      "[Exercise]\nLangFileName=/a/words.lang\nLang1=English\nLang2=German\nFirstLang=False\nMaxWords=20\n\n"
      "[GeneralProperty]\nAutoPresent=False\nVoiceAnswer=True\nLetterAnswer=False\nDelayPresent=10\n"
      "DelayAnswer=10\nVoicePresent=0\nShowTable=True\n\n[Application]\nLanguage=DE\n",
  };
  for (const std::string& content : files) {
    SCOPED_TRACE(content);
    Spit(iniPath, content);
    // The first file lacks the general settings: its first run adds them.
    const bool complete = content.find("GeneralProperty") != std::string::npos;
    std::string first;
    for (int run = 0; run < 4; ++run) {
      TAppIniFile ini(appDir, &kOwner);
      ini.ReadExercise();
      ini.ReadProperties();
      ini.WriteProperties();
      ini.WriteExercise();
      ini.WriteLanguage();
      if (run > 0 || complete) {
        EXPECT_FALSE(ini.IniHandler->Modified()) << "run " << run;
      }
      ASSERT_TRUE(ini.UpdateFile());
      if (run == 0) first = Slurp(iniPath);
    }
    EXPECT_EQ(Slurp(iniPath), complete ? content : first);
  }
}

// The drill options are written once chosen and then kept, also when set
// back; a file that never had them is left without them.
TEST_F(AppIniFileTest, DrillOptionsAreWrittenOnlyOnceChosen) {
  const std::string general =
      "[GeneralProperty]\r\nAutoPresent=False\r\nVoiceAnswer=True\r\nLetterAnswer=False\r\nDelayPresent=10\r\n"
      "DelayAnswer=10\r\nVoicePresent=0\r\nShowTable=True\r\n";
  {
    auto ini = Open(general);
    ini->ReadProperties();
    ini->TypedAnswer = true;
    ini->CardPace = TPresentSettings::kCardPaceNone;
    ini->WriteProperties();
    ASSERT_TRUE(ini->UpdateFile());
    EXPECT_EQ(Slurp(iniPath), general + "TypedAnswer=True\r\nCardPace=2\r\n");
  }
  {
    TAppIniFile ini(appDir, &kOwner);
    ini.ReadProperties();
    EXPECT_TRUE(ini.TypedAnswer);
    EXPECT_EQ(ini.CardPace, TPresentSettings::kCardPaceNone);
    ini.TypedAnswer = false;
    ini.WriteProperties();
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(Slurp(iniPath), general + "TypedAnswer=False\r\nCardPace=2\r\n");
  }
}

// A pace no dialog offers (a hand edit, a later version) drills as usual.
TEST_F(AppIniFileTest, UnknownPacesGiveTheUsualPace) {
  for (const char* value : {"-1", "3", "99"}) {
    SCOPED_TRACE(value);
    auto ini = Open(std::string("[GeneralProperty]\r\nCardPace=") + value + "\r\nLetterPace=" + value + "\r\n");
    ini->ReadProperties();
    EXPECT_EQ(ini->CardPace, TPresentSettings::kCardPaceNormal);
    EXPECT_EQ(ini->LetterPace, TPresentSettings::kLetterPaceNormal);
  }
}

// A hand-made list of millions of entries ran for hours at closing.
TEST_F(AppIniFileTest, StoredListLongerThanAnyExerciseIsRefusedAndKept) {
  std::string content = kCompleteExercise + "[ExerciseWords]\r\n";
  const std::size_t n = TAppIniFile::kMaxStoredWords + 1;
  for (std::size_t i = 0; i < n; ++i) content += std::to_string(i) + "=1-" + std::to_string(i) + "-0\r\n";
  content += "NbrWords=" + std::to_string(n) + "\r\n";
  {
    auto ini = Open(content);
    ini->ReadExercise();
    ini->ReadProperties();
    EXPECT_EQ(ini->StoredWordsRefused, n);
    EXPECT_TRUE(ini->ExerciseWords.empty());
    ini->MaxWords = 21;
    ASSERT_TRUE(Close(*ini));
    const std::string after = Slurp(iniPath);
    EXPECT_NE(after.find("MaxWords=21"), std::string::npos);
    EXPECT_NE(after.find("NbrWords=" + std::to_string(n)), std::string::npos);
  }
  // A list of this session replaces it.
  auto ini = std::make_unique<TAppIniFile>(appDir, &kOwner);
  ini->ReadExercise();
  ini->ReadProperties();
  ini->ExerciseWords = {TExerciseWord{1, 4, 0, false}};
  ASSERT_TRUE(Close(*ini));
  EXPECT_NE(Slurp(iniPath).find("[ExerciseWords]\r\n0=1-4-0\r\nNbrWords=1\r\n"), std::string::npos);
}

TEST_F(AppIniFileTest, ListAtTheLimitIsRead) {
  std::string content = "[exercise]\r\nMaxWords=500\r\n[ExerciseWords]\r\n";
  for (int i = 0; i < 600; ++i) content += std::to_string(i) + "=1-" + std::to_string(i) + "-0\r\n";
  auto ini = Open(content + "NbrWords=600\r\n");
  ini->ReadExercise();
  EXPECT_EQ(ini->StoredWordsRefused, 0u);
  EXPECT_EQ(ini->ExerciseWords.size(), 500u);
}

TEST_F(AppIniFileTest, ParseExerciseWordFollowsTheLineRules) {
  struct Case {
    const char* line;
    bool ok;
    TExerciseWord word;
  } cases[] = {
      {"12-345-7", true, {12, 345, 7, false}},
      {"3-12-0", true, {3, 12, 0, false}},
      {"3-12x0", true, {3, 12, 0, false}},  // the character before the priority is not checked
      {"12-345-10", false, {-1, -1, -1, false}},
      {"-1--1--1", false, {-1, -1, -1, false}},
      {"12345", false, {-1, -1, -1, false}},
      {"", false, {-1, -1, -1, false}},
      {"1-2", false, {-1, -1, -1, false}},
      {"1--5", false, {-1, -1, -1, false}},
      {"a-2-3", false, {-1, -1, -1, false}},
      {"1-2-x", false, {-1, -1, -1, false}},
      {"1- 2-3", false, {-1, -1, -1, false}},
  };
  auto ini = Open("");
  for (const Case& c : cases) {
    ini->ExerciseWords.assign(1, TExerciseWord{5, 5, 5, true});
    EXPECT_EQ(ini->ParseExerciseWord(c.line, 0), c.ok) << c.line;
    EXPECT_EQ(ini->ExerciseWords[0], c.word) << c.line;
  }
  ini->ExerciseWords.clear();
  EXPECT_FALSE(ini->ParseExerciseWord("1-2-3", 0));
  EXPECT_FALSE(ini->ParseExerciseWord("1-2-3", -1));
  EXPECT_TRUE(ini->ExerciseWords.empty());
}

TEST_F(AppIniFileTest, ReadingTheListStopsAtTheFirstUnreadableLine) {
  auto ini = Open(kCompleteExercise + ListSection("exerciseWords", "NbrWords", {"1-2-3", "4-5-x", "6-7-8", "9-9-0"}));
  EXPECT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->ExerciseWords, (TExerciseWords{{1, 2, 3, false}, {-1, -1, -1, false}, {}, {}}));
  EXPECT_EQ(ini->LangFileName, "/home/a/English_German.lang");
  EXPECT_EQ(ini->Lang1, "English");
  EXPECT_EQ(ini->Lang2, "Deutsch");
  EXPECT_FALSE(ini->FirstLang);
  EXPECT_EQ(ini->AvailableUnits, (std::vector<int32_t>{3, 5}));
  EXPECT_TRUE(ini->IsAvailableUnit(5));
  EXPECT_FALSE(ini->IsAvailableUnit(4));
}

TEST_F(AppIniFileTest, ListIsCutToMaxWords) {
  std::vector<std::string> lines;
  for (int i = 0; i < 400; ++i) lines.push_back("1-" + std::to_string(i) + "-0");
  auto ini = Open("[exercise]\r\nMaxWords=300\r\n" + ListSection("exerciseWords", "NbrWords", lines));
  ini->ReadExercise();
  ASSERT_EQ(ini->ExerciseWords.size(), 300u);
  EXPECT_EQ(ini->ExerciseWords.back(), (TExerciseWord{1, 299, 0, false}));
}

TEST_F(AppIniFileTest, CountKeyLargerThanTheStoredLines) {
  auto ini = Open(
      "[exercise]\r\nLangFileName=x.lang\r\nLang1=A\r\nLang2=B\r\n"
      "[AvailableUnits]\r\n0=4\r\nNbrUnits=2\r\n"
      "[exerciseWords]\r\n0=1-2-3\r\n1=1-3-0\r\nNbrWords=3\r\n");
  EXPECT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->ExerciseWords, (TExerciseWords{{1, 2, 3, false}, {1, 3, 0, false}, {-1, -1, -1, false}}));
  EXPECT_EQ(ini->AvailableUnits, (std::vector<int32_t>{4, -1}));
}

TEST_F(AppIniFileTest, HostileCountKeysStayWithinTheFile) {
  auto ini = Open(
      "[exercise]\r\nLangFileName=x.lang\r\nLang1=A\r\nLang2=B\r\nMaxWords=2147483647\r\n"
      "[AvailableUnits]\r\n0=4\r\nNbrUnits=2000000000\r\n"
      "[exerciseWords]\r\n0=1-2-3\r\nNbrWords=2000000000\r\n");
  EXPECT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->ExerciseWords, (TExerciseWords{{1, 2, 3, false}, {-1, -1, -1, false}}));
  EXPECT_EQ(ini->AvailableUnits, (std::vector<int32_t>{4, -1}));
}

TEST_F(AppIniFileTest, IncompleteExercisePartStopsReadingAtTheGap) {
  struct Case {
    const char* exercise;
    bool hasLangs;
  } cases[] = {
      {"Lang1=A\r\nLang2=B\r\n", false},
      {"LangFileName=x.lang\r\nLang1=A\r\n", true},
      {"LangFileName=x.lang\r\nLang1=\r\nLang2=B\r\n", true},
  };
  for (const Case& c : cases) {
    auto ini = Open(std::string("[exercise]\r\n") + c.exercise + "[AvailableUnits]\r\n0=3\r\nNbrUnits=1\r\n");
    EXPECT_FALSE(ini->ReadExercise()) << c.exercise;
    EXPECT_TRUE(ini->ExerciseLoaded);
    EXPECT_TRUE(ini->AvailableUnits.empty()) << c.exercise;
    if (!c.hasLangs) {
      EXPECT_TRUE(ini->Lang1.empty());
    }
  }
  auto noUnits = Open(kCompleteExercise.substr(0, kCompleteExercise.find("[Avail")));
  EXPECT_FALSE(noUnits->ReadExercise());
  EXPECT_EQ(noUnits->Lang2, "Deutsch");
}

TEST_F(AppIniFileTest, WrittenListLeavesOutRetiredAndFillerEntriesAndAppendsDeferredOnes) {
  auto ini = Open(kCompleteExercise + ListSection("exerciseWords", "NbrWords", {"1-1-0", "1-2-0", "1-3-0", "1-4-0"}));
  ASSERT_TRUE(ini->ReadExercise());
  ini->ExerciseWords = {{1, 1, 0, false}, {1, 2, 9, false}, {1, 3, 4, true}, {2, 7, 1, false}};
  ini->DeferredWords = {{3, 1, 5, false}, {3, 2, 8, false}};
  ini->AvailableUnits = {7};
  ini->WriteExercise();
  ASSERT_TRUE(ini->UpdateFile());
  const tIniFileHandler file(iniPath);
  EXPECT_EQ(file.ReadStrList("ExerciseWords", "NbrWords"),
            (std::vector<std::string>{"1-1-0", "2-7-1", "3-1-5", "3-2-8"}));
  EXPECT_EQ(file.ReadString("ExerciseWords", "4", "none"), "none");
  EXPECT_EQ(file.ReadIntList("AvailableUnits", "NbrUnits"), (std::vector<int32_t>{7}));
  EXPECT_EQ(file.ReadString("AvailableUnits", "1", "none"), "none");

  TAppIniFile again(appDir, &kOwner);
  ASSERT_TRUE(again.ReadExercise());
  EXPECT_EQ(again.ExerciseWords, (TExerciseWords{{1, 1, 0, false}, {2, 7, 1, false}, {3, 1, 5, false}, {3, 2, 8, false}}));
}

TEST_F(AppIniFileTest, UnreadableEntryIsNotStoredSoTheLinesAfterItSurvive) {
  auto ini = Open(kCompleteExercise);
  ASSERT_TRUE(ini->ReadExercise());
  ini->ExerciseWords = {{1, 1, 0, false}, {-1, -1, -1, false}, {1, 2, 0, false}, {1, 3, 12, false}};
  ini->DeferredWords = {{-1, 4, 2, false}, {2, 2, 3, false}};
  ini->WriteExercise();
  ASSERT_TRUE(ini->UpdateFile());
  TAppIniFile again(appDir, &kOwner);
  ASSERT_TRUE(again.ReadExercise());
  EXPECT_EQ(again.ExerciseWords, (TExerciseWords{{1, 1, 0, false}, {1, 2, 0, false}, {2, 2, 3, false}}));
}

TEST_F(AppIniFileTest, SettingsRoundTripThroughTheFile) {
  auto ini = Open("");
  ini->ReadExercise();
  ini->ReadProperties();
  ini->LangFileName = "/home/łukasz/Français/Русский.lang";
  ini->Lang1 = " Русский";
  ini->Lang2 = "Deutsch";
  ini->FirstLang = false;
  ini->MaxWords = 25;
  ini->AvailableUnits = {1, 2};
  ini->ExerciseWords = {{1, 4, 0, false}};
  ini->AutoPresent = true;
  ini->DelayPresent = 3;
  ini->VoiceAnswer = false;
  ini->LetterAnswer = true;
  ini->DelayAnswer = 7;
  ini->VoicePresent = 2;
  ini->ShowTable = false;
  ini->Language = "DE";
  ASSERT_TRUE(Close(*ini));

  TAppIniFile again(appDir, &kOwner);
  EXPECT_EQ(again.Language, "DE");
  ASSERT_TRUE(again.ReadExercise());
  again.ReadProperties();
  EXPECT_EQ(again.LangFileName, ini->LangFileName);
  EXPECT_EQ(again.Lang1, ini->Lang1);
  EXPECT_EQ(again.Lang2, "Deutsch");
  EXPECT_FALSE(again.FirstLang);
  EXPECT_EQ(again.MaxWords, 25);
  EXPECT_EQ(again.AvailableUnits, ini->AvailableUnits);
  EXPECT_EQ(again.ExerciseWords, ini->ExerciseWords);
  EXPECT_TRUE(again.AutoPresent);
  EXPECT_EQ(again.DelayPresent, 3);
  EXPECT_FALSE(again.VoiceAnswer);
  EXPECT_TRUE(again.LetterAnswer);
  EXPECT_EQ(again.DelayAnswer, 7);
  EXPECT_EQ(again.VoicePresent, 2);
  EXPECT_FALSE(again.ShowTable);
}

TEST_F(AppIniFileTest, OtherSectionsAndCommentsSurviveTheClosingWrite) {
  const std::string own = "; written by hand\r\n[Window]\r\nLeft=10\r\n; keep me\r\nTop=20\r\n\r\n";
  auto ini = Open(own + "[Application]\r\nLanguage=EN\r\n[Extra]\r\nx=\"quoted\"\r\n");
  ini->ReadExercise();
  ini->ReadProperties();
  ASSERT_TRUE(Close(*ini));
  const std::string after = Slurp(iniPath);
  const std::string kept = own + "[Application]\r\nLanguage=EN\r\n";
  EXPECT_EQ(after.substr(0, kept.size()), kept);
  EXPECT_NE(after.find("[Extra]\r\nx=\"quoted\"\r\n"), std::string::npos);
}

TEST_F(AppIniFileTest, NothingIsWrittenForPartsThatWereNotRead) {
  const std::string before = "[Application]\r\nLanguage=DE\r\n[exercise]\r\nMaxWords=12\r\n";
  auto ini = Open(before);
  ini->MaxWords = 99;
  ini->ShowTable = false;
  ASSERT_TRUE(Close(*ini));
  EXPECT_EQ(Slurp(iniPath), before);
}

TEST_F(AppIniFileTest, MissingFileWarnsAndIsNeverCreated) {
  std::vector<std::string> warnings;
  SetFileWarnHook([&](const std::string& caption, const std::string& text, const void* owner) {
    EXPECT_EQ(owner, &kOwner);
    warnings.push_back(caption + "|" + text);
  });
  TAppIniFile ini(appDir, &kOwner);
  EXPECT_FALSE(ini.IniFound);
  EXPECT_TRUE(ini.LoadError.empty());
  EXPECT_EQ(warnings, (std::vector<std::string>{"Quillmere V1.02|quillmere.ini - Dosn't exists  "}));
  EXPECT_FALSE(ini.ReadExercise());
  ini.ReadProperties();
  EXPECT_EQ(ini.Language, "EN");
  EXPECT_TRUE(Close(ini));
  EXPECT_FALSE(std::filesystem::exists(iniPath));
}

TEST_F(AppIniFileTest, FailedClosingWriteKeepsTheOldFile) {
  const std::string before = "[Application]\r\nLanguage=EN\r\n";
  auto ini = Open(before);
  ini->Language = "DE";
  ini->WriteLanguage();
  {
    const TSaveCallFailure failing({TSaveCall::Write, ENOSPC});
    TSaveResult result;
    EXPECT_FALSE(ini->UpdateFile(&result));
    EXPECT_EQ(result.Reason, "No space left on device");
  }
  EXPECT_EQ(Slurp(iniPath), before);
  EXPECT_TRUE(ini->UpdateFile());
  EXPECT_EQ(TAppIniFile(appDir, &kOwner).Language, "DE");
}

// Switching language files used to start the list of the file chosen again
// from scratch, so a pair held back there came back at once.
TEST_F(AppIniFileTest, EachLanguageFileKeepsItsListThroughTheSettingsFile) {
  const std::string fileA = "/home/a/English_German.lang";
  const std::string fileB = "/home/a/French_German.lang";
  auto ini = Open(kCompleteExercise + ListSection("ExerciseWords", "NbrWords", {"3-0-0", "3-1-0"}));
  ASSERT_TRUE(ini->ReadExercise());
  EXPECT_TRUE(ini->FileLists.empty());
  ini->ExerciseWords = {{3, 0, 0, false}, {5, 9, 0, true}, {3, 2, 9, false}};
  ini->DeferredWords = {{3, 1, 2, false}};

  // B becomes current: A's list is kept as it would be stored.
  ini->LangFileName = fileB;
  ini->AvailableUnits = {1};
  EXPECT_FALSE(ini->SwitchExerciseList(fileA));
  EXPECT_TRUE(ini->ExerciseWords.empty());
  EXPECT_TRUE(ini->DeferredWords.empty());
  const TExerciseWords keptA = {{3, 0, 0, false}, {3, 1, 2, false}};
  EXPECT_EQ(ini->FileLists.at(fileA), keptA);
  ini->ExerciseWords = {{1, 4, 0, false}};
  ASSERT_TRUE(Close(*ini));

  // The file keeps both: B's in the old sections, A's in the new ones.
  ini = std::make_unique<TAppIniFile>(appDir, &kOwner);
  ASSERT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->LangFileName, fileB);
  EXPECT_EQ(ini->ExerciseWords, (TExerciseWords{{1, 4, 0, false}}));
  EXPECT_EQ(ini->FileLists.at(fileA), keptA);
  tIniFileHandler file(iniPath);
  EXPECT_EQ(file.ReadStrList("ExerciseLists", "NbrLists"), std::vector<std::string>{fileA});
  EXPECT_EQ(file.ReadStrList("ExerciseList0", "NbrWords"), (std::vector<std::string>{"3-0-0", "3-1-2"}));

  // A again: its list comes back with the held-back entry, B's is kept.
  ini->LangFileName = fileA;
  ini->AvailableUnits = {3, 5};
  EXPECT_TRUE(ini->SwitchExerciseList(fileB));
  EXPECT_EQ(ini->ExerciseWords, keptA);
  EXPECT_EQ(ini->FileLists.count(fileA), 0u);
  EXPECT_EQ(ini->FileLists.at(fileB), (TExerciseWords{{1, 4, 0, false}}));
  // Only entries of the chosen lessons come back.
  ini->LangFileName = fileB;
  ini->AvailableUnits = {2};
  EXPECT_FALSE(ini->SwitchExerciseList(fileA));
  EXPECT_TRUE(ini->ExerciseWords.empty());
}

// The per-file lists are an addition: a settings file of the old form reads
// and writes exactly as before, and the current list stays where an older
// program looks for it.
TEST_F(AppIniFileTest, SettingsWithoutPerFileListsAreWrittenAsBefore) {
  const std::string content = "[Application]\r\nLanguage=EN\r\n" + kCompleteExercise +
                              ListSection("ExerciseWords", "NbrWords", {"3-0-0", "3-1-4"});
  auto ini = Open(content);
  ASSERT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->ExerciseWords, (TExerciseWords{{3, 0, 0, false}, {3, 1, 4, false}}));
  ASSERT_TRUE(Close(*ini));
  tIniFileHandler file(iniPath);
  EXPECT_FALSE(file.SectionExists("ExerciseLists"));
  EXPECT_FALSE(file.SectionExists("ExerciseList0"));

  // A stored list of the current file (left by an older program that
  // switched files) gives way to the list in "ExerciseWords".
  Spit(iniPath, content + "[ExerciseLists]\r\n0=/home/a/English_German.lang\r\n1=/x.lang\r\nNbrLists=2\r\n" +
                    ListSection("ExerciseList0", "NbrWords", {"9-9-9"}) +
                    ListSection("ExerciseList1", "NbrWords", {"1-1-1"}));
  ini = std::make_unique<TAppIniFile>(appDir, &kOwner);
  ASSERT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->FileLists.size(), 1u);
  EXPECT_EQ(ini->FileLists.at("/x.lang"), (TExerciseWords{{1, 1, 1, false}}));
  ASSERT_TRUE(Close(*ini));
  tIniFileHandler again(iniPath);
  EXPECT_EQ(again.ReadStrList("ExerciseLists", "NbrLists"), std::vector<std::string>{"/x.lang"});
  EXPECT_EQ(again.ReadStrList("ExerciseList0", "NbrWords"), std::vector<std::string>{"1-1-1"});
  EXPECT_FALSE(again.SectionExists("ExerciseList1"));
}

// A copied or moved program used to keep reading the old folder's language
// file: names below the program directory are stored relative to it.
TEST_F(AppIniFileTest, LanguageFileBelowTheProgramIsStoredRelativeAndFollowsAMove) {
  const std::string below = appDir + "/LangFiles/Eng_Ger/english_german.lang";
  const std::string kept = appDir + "/LangFiles/Fra_Ger/french_german.lang";
  const std::string elsewhere = "/home/a/Spanish_German.lang";
  // Old settings with full names still read.
  auto ini = Open("[exercise]\r\nLangFileName=" + below +
                  "\r\nLang1=English\r\nLang2=German\r\nMaxWords=20\r\n[AvailableUnits]\r\n0=1\r\nNbrUnits=1\r\n"
                  "[ExerciseLists]\r\n0=" + kept + "\r\n1=" + elsewhere + "\r\nNbrLists=2\r\n" +
                  ListSection("ExerciseList0", "NbrWords", {"2-3-0"}) +
                  ListSection("ExerciseList1", "NbrWords", {"4-5-0"}));
  ASSERT_TRUE(ini->ReadExercise());
  EXPECT_EQ(ini->LangFileName, below);
  ASSERT_TRUE(Close(*ini));
  tIniFileHandler file(iniPath);
  EXPECT_EQ(file.ReadString("Exercise", "LangFileName", ""), "\\LangFiles\\Eng_Ger\\english_german.lang");
  std::vector<std::string> lists = file.ReadStrList("ExerciseLists", "NbrLists");
  std::sort(lists.begin(), lists.end());
  EXPECT_EQ(lists, (std::vector<std::string>{"/home/a/Spanish_German.lang", "\\LangFiles\\Fra_Ger\\french_german.lang"}));

  // The settings in another program directory name that directory's files;
  // the kept lists are found under the same names the editors give.
  QTemporaryDir moved;
  const std::string movedDir = moved.path().toStdString();
  Spit(movedDir + "/Quillmere.Ini", Slurp(iniPath));
  TAppIniFile there(movedDir, &kOwner);
  ASSERT_TRUE(there.ReadExercise());
  EXPECT_EQ(there.LangFileName, movedDir + "/LangFiles/Eng_Ger/english_german.lang");
  EXPECT_EQ(there.FileLists.at(movedDir + "/LangFiles/Fra_Ger/french_german.lang"),
            (TExerciseWords{{2, 3, 0, false}}));
  EXPECT_EQ(there.FileLists.at(elsewhere), (TExerciseWords{{4, 5, 0, false}}));
  there.LangFileName = movedDir + "/LangFiles/Fra_Ger/french_german.lang";
  there.AvailableUnits = {2};
  EXPECT_TRUE(there.SwitchExerciseList(movedDir + "/LangFiles/Eng_Ger/english_german.lang"));
  EXPECT_EQ(there.ExerciseWords, (TExerciseWords{{2, 3, 0, false}}));
}
