#include "AppIniFile.h"

#include <algorithm>

#include "IniFileHandler.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "storage/FileUtil.h"
#include "storage/StrUtil.h"

namespace {
constexpr const char* kApplication = "Application";
constexpr const char* kExercise = "Exercise";
constexpr const char* kAvailableUnits = "AvailableUnits";
constexpr const char* kGeneralProperty = "GeneralProperty";

// The delays the settings dialog offers; a stored value outside them (by
// hand, or from a damaged file) would stop or overflow the timers.
int32_t ClampDelay(int32_t seconds) { return std::clamp(seconds, TAppIniFile::kMinDelay, TAppIniFile::kMaxDelay); }
}  // namespace

TAppIniFile::TAppIniFile(const std::string& appDir, const void* owner) : AppDir(appDir) {
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
  Language = UpperCase(IniHandler->ReadString(kApplication, "Language", "EN"));
}

TAppIniFile::~TAppIniFile() = default;

std::string TAppIniFile::FileName() const { return AppDir + "/Quillmere.Ini"; }

bool TAppIniFile::ReadExercise() {
  ExerciseLoaded = true;
  if (!IniHandler) {
    FirstLang = true;
    MaxWords = 300;
    return false;
  }
  const tIniFileHandler& ini = *IniHandler;
  FirstLang = ini.ReadBoolStr("exercise", "FirstLang", true);
  MaxWords = ini.ReadInteger("exercise", "MaxWords", 300);

  TReadExerciseWords stored = ReadExerciseWords(ini, MaxWords, kMaxStoredWords);
  ExerciseWords = std::move(stored.Words);
  StoredWordsRefused = stored.Refused;

  // Stored relative to the program directory when below it; in memory the
  // full name, the one the lock, the editors and the kept lists know.
  LangFileName = AppDirFileName(AppDir, ini.ReadString("exercise", "LangFileName", ""));
  fileListSections_ = ReadFileLists(ini, AppDir, MaxWords, LangFileName, FileLists);
  if (LangFileName.empty()) return false;
  Lang1 = ini.ReadString("exercise", "Lang1", "");
  Lang2 = ini.ReadString("exercise", "Lang2", "");
  if (Lang1.empty() || Lang2.empty()) return false;
  AvailableUnits = ini.ReadIntList(kAvailableUnits, "NbrUnits");
  return !AvailableUnits.empty();
}

bool TAppIniFile::ParseExerciseWord(const std::string& line, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ExerciseWords.size()) return false;
  return ParseListLine(line, ExerciseWords[static_cast<std::size_t>(index)]);
}

void TAppIniFile::ReadProperties() {
  if (IniHandler) {
    const tIniFileHandler& ini = *IniHandler;
    AutoPresent = ini.ReadBoolStr(kGeneralProperty, "AutoPresent", false);
    DelayPresent = ClampDelay(ini.ReadInteger(kGeneralProperty, "DelayPresent", 10));
    VoiceAnswer = ini.ReadBoolStr(kGeneralProperty, "VoiceAnswer", true);
    LetterAnswer = ini.ReadBoolStr(kGeneralProperty, "LetterAnswer", false);
    DelayAnswer = ClampDelay(ini.ReadInteger(kGeneralProperty, "DelayAnswer", 10));
    VoicePresent = ini.ReadInteger(kGeneralProperty, "VoicePresent", 0);
    ShowTable = ini.ReadBoolStr(kGeneralProperty, "ShowTable", true);
  } else {
    AutoPresent = false;
    DelayPresent = 10;
    VoiceAnswer = true;
    LetterAnswer = false;
    DelayAnswer = 10;
    VoicePresent = 0;
    ShowTable = true;
  }
  PropertyLoaded = true;
}

void TAppIniFile::WriteProperties() {
  if (!PropertyLoaded || !IniHandler) return;
  tIniFileHandler& ini = *IniHandler;
  ini.WriteBoolStr(kGeneralProperty, "AutoPresent", AutoPresent);
  ini.WriteBoolStr(kGeneralProperty, "VoiceAnswer", VoiceAnswer);
  ini.WriteBoolStr(kGeneralProperty, "LetterAnswer", LetterAnswer);
  ini.WriteInteger(kGeneralProperty, "DelayPresent", DelayPresent);
  ini.WriteInteger(kGeneralProperty, "DelayAnswer", DelayAnswer);
  ini.WriteInteger(kGeneralProperty, "VoicePresent", VoicePresent);
  ini.WriteBoolStr(kGeneralProperty, "ShowTable", ShowTable);
}

void TAppIniFile::WriteExercise() {
  if (!ExerciseLoaded || !IniHandler) return;
  tIniFileHandler& ini = *IniHandler;
  ini.WriteString(kExercise, "LangFileName", AppRelativeName(AppDir, LangFileName));
  ini.WriteString(kExercise, "Lang1", Lang1);
  ini.WriteString(kExercise, "Lang2", Lang2);
  ini.WriteBoolStr(kExercise, "FirstLang", FirstLang);
  ini.WriteInteger(kExercise, "MaxWords", MaxWords);

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
  if (IniHandler) IniHandler->WriteString(kApplication, "Language", Language);
}

bool TAppIniFile::IsAvailableUnit(int32_t lessonNbr) const {
  return std::find(AvailableUnits.begin(), AvailableUnits.end(), lessonNbr) != AvailableUnits.end();
}

bool TAppIniFile::UpdateFile(TSaveResult* result) { return !IniHandler || IniHandler->UpdateFile(result); }
