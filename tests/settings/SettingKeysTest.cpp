#include "settings/SettingKeys.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "FileText.h"

namespace {
// A key with a value, and what reading it must change in a default-built struct.
template <class S>
struct TKeyCase {
  const char* section;
  const char* key;
  const char* value;
  std::function<void(S&)> expect;
};

// Reads a file that holds only the one key.
template <class S, std::size_t N>
S ReadOnly(const std::string& path, const std::array<TSettingKey<S>, N>& keys, const std::string& section,
           const std::string& line) {
  Spit(path, "[" + section + "]\r\n" + line + "\r\n");
  S settings;
  ReadKeys(tIniFileHandler(path), keys, settings);
  return settings;
}

template <class S, std::size_t N>
void CheckEachKey(const std::array<TSettingKey<S>, N>& keys, const std::vector<TKeyCase<S>>& cases) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Quillmere.Ini").toStdString();
  for (const TKeyCase<S>& c : cases) {
    SCOPED_TRACE(c.key);
    S expected;
    c.expect(expected);
    ASSERT_NE(expected, S{}) << "the case must change a member";
    EXPECT_EQ(ReadOnly(path, keys, c.section, std::string(c.key) + "=" + c.value), expected);
  }
  // Every key of the table is one of the cases, so none reads into a member
  // the cases do not name.
  EXPECT_EQ(cases.size(), N);
}
}  // namespace

// A key tied to the wrong member reads and writes back unnoticed, yet the
// window gets another setting than the learner chose.
TEST(SettingKeysTest, EachPresentationKeyReadsIntoItsOwnMember) {
  CheckEachKey<TPresentSettings>(
      kPresentSettingKeys,
      {
          {"GeneralProperty", "AutoPresent", "True", [](TPresentSettings& s) { s.AutoPresent = true; }},
          {"GeneralProperty", "DelayPresent", "3", [](TPresentSettings& s) { s.DelayPresent = 3; }},
          {"GeneralProperty", "VoiceAnswer", "False", [](TPresentSettings& s) { s.VoiceAnswer = false; }},
          {"GeneralProperty", "LetterAnswer", "True", [](TPresentSettings& s) { s.LetterAnswer = true; }},
          {"GeneralProperty", "DelayAnswer", "7", [](TPresentSettings& s) { s.DelayAnswer = 7; }},
          {"GeneralProperty", "VoicePresent", "2", [](TPresentSettings& s) { s.VoicePresent = 2; }},
          {"GeneralProperty", "ShowTable", "False", [](TPresentSettings& s) { s.ShowTable = false; }},
      });
}

TEST(SettingKeysTest, EachDrillKeyReadsIntoItsOwnMember) {
  CheckEachKey<TPresentSettings>(
      kDrillSettingKeys,
      {
          {"GeneralProperty", "TypedAnswer", "True", [](TPresentSettings& s) { s.TypedAnswer = true; }},
          {"GeneralProperty", "IgnoreCase", "True", [](TPresentSettings& s) { s.IgnoreCase = true; }},
          {"GeneralProperty", "IgnoreAccents", "True", [](TPresentSettings& s) { s.IgnoreAccents = true; }},
          {"GeneralProperty", "IgnorePunctuation", "True", [](TPresentSettings& s) { s.IgnorePunctuation = true; }},
          {"GeneralProperty", "SpeakMissing", "True", [](TPresentSettings& s) { s.SpeakMissing = true; }},
          {"GeneralProperty", "CardPace", "1", [](TPresentSettings& s) { s.CardPace = 1; }},
          {"GeneralProperty", "LetterPace", "2", [](TPresentSettings& s) { s.LetterPace = 2; }},
      });
}

TEST(SettingKeysTest, EachLanguageFileKeyReadsIntoItsOwnMember) {
  CheckEachKey<TLangFileChoice>(
      kLangFileChoiceKeys,
      {
          {"Exercise", "LangFileName", "a.lang", [](TLangFileChoice& s) { s.LangFileName = "a.lang"; }},
          {"Exercise", "Lang1", "English", [](TLangFileChoice& s) { s.Lang1 = "English"; }},
          {"Exercise", "Lang2", "Deutsch", [](TLangFileChoice& s) { s.Lang2 = "Deutsch"; }},
          {"Exercise", "FirstLang", "False", [](TLangFileChoice& s) { s.FirstLang = false; }},
          {"Exercise", "MaxWords", "20", [](TLangFileChoice& s) { s.MaxWords = 20; }},
      });
}

// A value that does not read, or the key under another section, leaves the
// default: the table does not fall back on a zero or on the other section.
TEST(SettingKeysTest, MalformedOrMisplacedValuesGiveTheDefaults) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("Quillmere.Ini").toStdString();
  for (const char* line : {"DelayPresent=ten", "DelayAnswer=", "VoicePresent=1.5", "AutoPresent=yes",
                           "VoiceAnswer=0", "ShowTable=no"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ReadOnly(path, kPresentSettingKeys, "GeneralProperty", line), TPresentSettings{});
  }
  EXPECT_EQ(ReadOnly(path, kPresentSettingKeys, "Exercise", "DelayPresent=3"), TPresentSettings{});
  for (const char* line : {"MaxWords=3OO", "MaxWords=", "FirstLang=1"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(ReadOnly(path, kLangFileChoiceKeys, "Exercise", line), TLangFileChoice{});
  }
  EXPECT_EQ(ReadOnly(path, kLangFileChoiceKeys, "GeneralProperty", "MaxWords=20"), TLangFileChoice{});
}
