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
// The lists of the language files other than the current one: section
// "ExerciseLists" names the files ("0", "1", ..., "NbrLists"), section
// "ExerciseList<i>" holds the list of file i in the form of "ExerciseWords".
// A program that does not know them keeps them untouched.
constexpr const char* kExerciseLists = "ExerciseLists";
constexpr const char* kExerciseListPrefix = "ExerciseList";

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

  // Stored relative to the program directory when below it; in memory the
  // full name, the one the lock, the editors and the kept lists know.
  LangFileName = AppDirFileName(AppDir, ini.ReadString("exercise", "LangFileName", ""));
  ReadFileLists();
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

bool TAppIniFile::ParseListLine(const std::string& line, TExerciseWord& word) {
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

TExerciseWords TAppIniFile::StoredList() const {
  TExerciseWords list;
  list.reserve(ExerciseWords.size() + DeferredWords.size());
  for (const TExerciseWord& word : ExerciseWords)
    if (word.Priority < 9 && !word.Filler && ReadsBack(word)) list.push_back(word);
  for (const TExerciseWord& word : DeferredWords)
    if (ReadsBack(word)) list.push_back({word.LessonNbr, word.PearNbr, word.Priority, false});
  return list;
}

void TAppIniFile::WriteExercise() {
  if (!ExerciseLoaded || !IniHandler) return;
  tIniFileHandler& ini = *IniHandler;
  ini.WriteString(kExercise, "LangFileName", AppRelativeName(AppDir, LangFileName));
  ini.WriteString(kExercise, "Lang1", Lang1);
  ini.WriteString(kExercise, "Lang2", Lang2);
  ini.WriteBoolStr(kExercise, "FirstLang", FirstLang);
  ini.WriteInteger(kExercise, "MaxWords", MaxWords);

  std::vector<std::string> lines;
  const TExerciseWords stored = StoredList();
  lines.reserve(stored.size());
  for (const TExerciseWord& word : stored) lines.push_back(ExerciseWordLine(word));

  std::vector<std::string> units;
  units.reserve(AvailableUnits.size());
  for (const int32_t unit : AvailableUnits) units.push_back(IntToStr(unit));
  // Each list is rewritten where it stands, so that an unchanged list gives
  // the same bytes as before.
  ini.ReplaceList(kAvailableUnits, "NbrUnits", units);
  if (StoredWordsRefused == 0 || !lines.empty()) ini.ReplaceList(kExerciseWords, "NbrWords", lines);
  WriteFileLists();
}

void TAppIniFile::ReadFileLists() {
  const tIniFileHandler& ini = *IniHandler;
  const std::vector<std::string> files = ini.ReadStrList(kExerciseLists, "NbrLists");
  fileListSections_ = files.size();
  FileLists.clear();
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty()) continue;
    const std::vector<std::string> lines = ini.ReadStrList(kExerciseListPrefix + std::to_string(i), "NbrWords");
    const std::size_t keep = std::min(lines.size(), static_cast<std::size_t>(std::max(MaxWords, 0)));
    // Read as the main list is, up to the first line that does not read.
    TExerciseWords list;
    TExerciseWord word;
    for (std::size_t n = 0; n < keep && ParseListLine(lines[n], word); ++n) list.push_back(word);
    FileLists[AppDirFileName(AppDir, files[i])] = std::move(list);
  }
  // A program that keeps no such lists may have written the current file's
  // list into "ExerciseWords" since: that one is newer.
  FileLists.erase(LangFileName);
}

void TAppIniFile::WriteFileLists() {
  tIniFileHandler& ini = *IniHandler;
  std::vector<std::string> files;
  std::vector<const TExerciseWords*> lists;
  for (const auto& [file, list] : FileLists) {
    if (file == LangFileName || file.empty() || list.empty()) continue;
    files.push_back(AppRelativeName(AppDir, file));
    lists.push_back(&list);
  }
  // Lists are rewritten where they stand; only those no longer needed go.
  for (std::size_t i = files.size(); i < fileListSections_; ++i) ini.EraseSection(kExerciseListPrefix + std::to_string(i));
  fileListSections_ = files.size();
  if (files.empty()) {
    ini.EraseSection(kExerciseLists);
    return;
  }
  ini.ReplaceList(kExerciseLists, "NbrLists", files);
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::vector<std::string> lines;
    lines.reserve(lists[i]->size());
    for (const TExerciseWord& word : *lists[i]) lines.push_back(ExerciseWordLine(word));
    ini.ReplaceList(kExerciseListPrefix + std::to_string(i), "NbrWords", lines);
  }
}

bool TAppIniFile::SwitchExerciseList(const std::string& fromFile) {
  if (fromFile == LangFileName) return false;
  if (!fromFile.empty()) {
    TExerciseWords kept = StoredList();
    if (kept.empty())
      FileLists.erase(fromFile);
    else
      FileLists[fromFile] = std::move(kept);
  }
  ExerciseWords.clear();
  DeferredWords.clear();
  const auto found = FileLists.find(LangFileName);
  if (found == FileLists.end()) return false;
  for (const TExerciseWord& word : found->second)
    if (IsAvailableUnit(word.LessonNbr)) ExerciseWords.push_back(word);
  FileLists.erase(found);
  return !ExerciseWords.empty();
}

void TAppIniFile::WriteLanguage() {
  if (IniHandler) IniHandler->WriteString(kApplication, "Language", Language);
}

bool TAppIniFile::IsAvailableUnit(int32_t lessonNbr) const {
  return std::find(AvailableUnits.begin(), AvailableUnits.end(), lessonNbr) != AvailableUnits.end();
}

bool TAppIniFile::UpdateFile(TSaveResult* result) { return !IniHandler || IniHandler->UpdateFile(result); }
