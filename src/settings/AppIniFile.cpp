#include "AppIniFile.h"

#include <algorithm>

#include "IniFileHandler.h"
#include "SettingKeys.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "storage/FileUtil.h"
#include "core/StrUtil.h"

namespace {
constexpr const char* kApplication = "Application";
constexpr const char* kLanguage = "Language";
constexpr const char* kAvailableUnits = "AvailableUnits";

// The delays the settings dialog offers; a stored value outside them (by
// hand, or from a damaged file) would stop or overflow the timers.
int32_t ClampDelay(int32_t seconds) { return std::clamp(seconds, TAppIniFile::kMinDelay, TAppIniFile::kMaxDelay); }

// Until they are read the settings are blank (false, 0), not the defaults a
// file without the keys gives: windows built on unread settings see what
// they always saw.
TLangFileChoice UnreadChoice() {
  TLangFileChoice choice;
  choice.FirstLang = false;
  choice.MaxWords = 0;
  return choice;
}
TPresentSettings UnreadPresent() {
  return TPresentSettings{.AutoPresent = false,
                          .DelayPresent = 0,
                          .VoiceAnswer = false,
                          .LetterAnswer = false,
                          .DelayAnswer = 0,
                          .VoicePresent = 0,
                          .ShowTable = false};
}
}  // namespace

TAppIniFile::TAppIniFile(const std::string& appDir, const void* owner, const std::string& settingsDir,
                         const std::string& fileName)
    : TLangFileChoice(UnreadChoice()),
      TPresentSettings(UnreadPresent()),
      AppDir(appDir),
      SettingsDir(settingsDir.empty() ? appDir : settingsDir),
      fileName_(fileName) {
  IniFound = FileExistsWarn(FileName(), AppTitle, owner);
  if (!IniFound) return;
  try {
    IniHandler = std::make_unique<tIniFileHandler>(FileName());
  } catch (const TFileIoError& error) {
    // Unreadable counts as missing: the program must not run on settings it
    // could not read, nor overwrite them at closing.
    IniFound = false;
    LoadError = error.File() + ": " + error.Reason();
    return;
  }
  Language = UpperCase(IniHandler->ReadString(kApplication, kLanguage, Language));
}

TAppIniFile::~TAppIniFile() = default;

std::string TAppIniFile::FileName() const { return SettingsDir + "/" + fileName_; }

bool TAppIniFile::ReadExercise() {
  ExerciseLoaded = true;
  TLangFileChoice stored;
  if (IniHandler) ReadKeys(*IniHandler, kLangFileChoiceKeys, stored);
  FirstLang = stored.FirstLang;
  MaxWords = stored.MaxWords;
  if (!IniHandler) return false;
  const tIniFileHandler& ini = *IniHandler;

  TReadExerciseWords words = ReadExerciseWords(ini, MaxWords, kMaxStoredWords);
  ExerciseWords = std::move(words.Words);
  StoredWordsRefused = words.Refused;

  // Stored relative to the program directory when below it; in memory the
  // full name, the one the lock, the editors and the kept lists know.
  LangFileName = AppDirFileName(AppDir, stored.LangFileName);
  fileListSections_ = ReadFileLists(ini, AppDir, MaxWords, LangFileName, FileLists);
  // Reading stops at the first gap: what follows it is not taken.
  if (LangFileName.empty()) return false;
  Lang1 = stored.Lang1;
  Lang2 = stored.Lang2;
  if (Lang1.empty() || Lang2.empty()) return false;
  AvailableUnits = ini.ReadIntList(kAvailableUnits, "NbrUnits");
  return !AvailableUnits.empty();
}

bool TAppIniFile::ParseExerciseWord(const std::string& line, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ExerciseWords.size()) return false;
  return ParseListLine(line, ExerciseWords[static_cast<std::size_t>(index)]);
}

void TAppIniFile::ReadProperties() {
  TPresentSettings stored;
  if (IniHandler) {
    ReadKeys(*IniHandler, kPresentSettingKeys, stored);
    ReadKeys(*IniHandler, kDrillSettingKeys, stored);
  }
  // A pace the dialog does not offer is the usual one.
  if (stored.CardPace < TPresentSettings::kCardPaceNormal || stored.CardPace > TPresentSettings::kCardPaceNone)
    stored.CardPace = TPresentSettings::kCardPaceNormal;
  if (stored.LetterPace < TPresentSettings::kLetterPaceNormal || stored.LetterPace > TPresentSettings::kLetterPaceVoice)
    stored.LetterPace = TPresentSettings::kLetterPaceNormal;
  stored.DelayPresent = ClampDelay(stored.DelayPresent);
  stored.DelayAnswer = ClampDelay(stored.DelayAnswer);
  static_cast<TPresentSettings&>(*this) = stored;
  PropertyLoaded = true;
}

void TAppIniFile::WriteProperties() {
  if (!PropertyLoaded || !IniHandler) return;
  WriteKeys(*IniHandler, kPresentSettingKeys, static_cast<const TPresentSettings&>(*this));
  WriteKeysWhereNeeded(*IniHandler, kDrillSettingKeys, static_cast<const TPresentSettings&>(*this));
}

void TAppIniFile::WriteExercise() {
  if (!ExerciseLoaded || !IniHandler) return;
  tIniFileHandler& ini = *IniHandler;
  TLangFileChoice stored = *this;
  stored.LangFileName = AppRelativeName(AppDir, LangFileName);
  WriteKeys(ini, kLangFileChoiceKeys, stored);

  std::vector<std::string> units;
  units.reserve(AvailableUnits.size());
  for (const int32_t unit : AvailableUnits) units.push_back(IntToStr(unit));
  // Each list is rewritten where it stands, so that an unchanged list gives
  // the same bytes as before.
  ini.ReplaceList(kAvailableUnits, "NbrUnits", units);
  WriteExerciseWords(ini, StoredList(ExerciseWords, DeferredWords), StoredWordsRefused > 0);
  WriteFileLists(ini, AppDir, LangFileName, FileLists, fileListSections_);
}

bool TAppIniFile::SwitchExerciseList(const std::string& fromFile) {
  if (fromFile == LangFileName) return false;
  ExerciseWords =
      SwitchFileList(FileLists, fromFile, StoredList(ExerciseWords, DeferredWords), LangFileName, AvailableUnits);
  DeferredWords.clear();
  return !ExerciseWords.empty();
}

void TAppIniFile::WriteLanguage() {
  if (IniHandler) IniHandler->WriteString(kApplication, kLanguage, Language);
}

bool TAppIniFile::UpdateFile(TSaveResult* result) { return !IniHandler || IniHandler->UpdateFile(result); }
