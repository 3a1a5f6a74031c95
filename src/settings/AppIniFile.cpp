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
constexpr const char* kExerciseWords = "ExerciseWords";
constexpr const char* kAvailableUnits = "AvailableUnits";
constexpr const char* kGeneralProperty = "GeneralProperty";

// A line that would not read back (the -1 marker of an unreadable stored line,
// a priority of more than one digit) would make the reader drop every line
// after it at the next start, so such an entry is not stored.
bool ReadsBack(const TExerciseWord& word) { return word.LessonNbr >= 0 && word.Priority >= 0 && word.Priority <= 9; }

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

  // A list beyond any exercise is not read at all: it would only cost time
  // and memory. It stays in the file until a new list replaces it.
  StoredWordsRefused = ini.ListLength(kExerciseWords, "NbrWords");
  if (StoredWordsRefused <= kMaxStoredWords) StoredWordsRefused = 0;
  const std::vector<std::string> lines =
      StoredWordsRefused > 0 ? std::vector<std::string>() : ini.ReadStrList(kExerciseWords, "NbrWords");
  // Entries beyond MaxWords are cut off below, so they are not parsed.
  const std::size_t keep = std::min(lines.size(), static_cast<std::size_t>(std::max(MaxWords, 0)));
  ExerciseWords.assign(keep, TExerciseWord{});
  for (std::size_t i = 0; i < keep; ++i)
    if (!ParseExerciseWord(lines[i], static_cast<int>(i))) break;

  LangFileName = ini.ReadString("exercise", "LangFileName", "");
  if (LangFileName.empty()) return false;
  Lang1 = ini.ReadString("exercise", "Lang1", "");
  Lang2 = ini.ReadString("exercise", "Lang2", "");
  if (Lang1.empty() || Lang2.empty()) return false;
  AvailableUnits = ini.ReadIntList(kAvailableUnits, "NbrUnits");
  return !AvailableUnits.empty();
}

bool TAppIniFile::ParseExerciseWord(const std::string& line, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= ExerciseWords.size()) return false;
  TExerciseWord& word = ExerciseWords[static_cast<std::size_t>(index)];
  word = TExerciseWord{-1, -1, -1, false};
  const std::size_t dash = line.find('-');
  if (dash == std::string::npos || dash == 0) return false;
  // The pair number ends two characters before the end; the priority is the
  // last character alone.
  const std::size_t pairEnd = line.size() >= 2 ? line.size() - 2 : 0;
  const std::string pairText = pairEnd > dash + 1 ? line.substr(dash + 1, pairEnd - dash - 1) : std::string();
  int32_t lesson = 0;
  int32_t pair = 0;
  int32_t priority = 0;
  if (!TryStrToInt(line.substr(0, dash), lesson) || !TryStrToInt(pairText, pair) ||
      !TryStrToInt(line.substr(line.size() - 1), priority))
    return false;
  word.LessonNbr = lesson;
  word.PearNbr = pair;
  word.Priority = priority;
  return true;
}

std::string TAppIniFile::ExerciseWordLine(const TExerciseWord& word) {
  return IntToStr(word.LessonNbr) + "-" + IntToStr(word.PearNbr) + "-" + IntToStr(word.Priority);
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
  ini.WriteString(kExercise, "LangFileName", LangFileName);
  ini.WriteString(kExercise, "Lang1", Lang1);
  ini.WriteString(kExercise, "Lang2", Lang2);
  ini.WriteBoolStr(kExercise, "FirstLang", FirstLang);
  ini.WriteInteger(kExercise, "MaxWords", MaxWords);

  std::vector<std::string> lines;
  lines.reserve(ExerciseWords.size() + DeferredWords.size());
  for (const TExerciseWord& word : ExerciseWords)
    if (word.Priority < 9 && !word.Filler && ReadsBack(word)) lines.push_back(ExerciseWordLine(word));
  for (const TExerciseWord& word : DeferredWords)
    if (ReadsBack(word)) lines.push_back(ExerciseWordLine(word));

  std::vector<std::string> units;
  units.reserve(AvailableUnits.size());
  for (const int32_t unit : AvailableUnits) units.push_back(IntToStr(unit));
  // Each list is rewritten where it stands, so that an unchanged list gives
  // the same bytes as before.
  ini.ReplaceList(kAvailableUnits, "NbrUnits", units);
  if (StoredWordsRefused == 0 || !lines.empty()) ini.ReplaceList(kExerciseWords, "NbrWords", lines);
}

void TAppIniFile::WriteLanguage() {
  if (IniHandler) IniHandler->WriteString(kApplication, "Language", Language);
}

bool TAppIniFile::IsAvailableUnit(int32_t lessonNbr) const {
  return std::find(AvailableUnits.begin(), AvailableUnits.end(), lessonNbr) != AvailableUnits.end();
}

bool TAppIniFile::UpdateFile(TSaveResult* result) { return !IniHandler || IniHandler->UpdateFile(result); }
