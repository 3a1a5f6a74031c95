#include "StoredExerciseList.h"

#include <algorithm>

#include "IniFileHandler.h"
#include "core/Convert.h"
#include "storage/FileUtil.h"

namespace {
constexpr const char* kExerciseWords = "ExerciseWords";
constexpr const char* kWordCount = "NbrWords";
constexpr const char* kExerciseLists = "ExerciseLists";
constexpr const char* kListCount = "NbrLists";
constexpr const char* kExerciseListPrefix = "ExerciseList";

// A line that would not read back (the -1 marker of an unreadable stored line,
// a priority of more than one digit) would make the reader drop every line
// after it at the next start, so such an entry is not stored.
bool ReadsBack(const TExerciseWord& word) { return word.LessonNbr >= 0 && word.Priority >= 0 && word.Priority <= 9; }

std::size_t Keep(std::size_t lines, int32_t maxWords) {
  return std::min(lines, static_cast<std::size_t>(std::max(maxWords, 0)));
}

std::vector<std::string> Lines(const TExerciseWords& list) {
  std::vector<std::string> lines;
  lines.reserve(list.size());
  for (const TExerciseWord& word : list) lines.push_back(ExerciseWordLine(word));
  return lines;
}

std::string ListSection(std::size_t index) { return kExerciseListPrefix + std::to_string(index); }
}  // namespace

bool ParseListLine(const std::string& line, TExerciseWord& word) {
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

std::string ExerciseWordLine(const TExerciseWord& word) {
  return IntToStr(word.LessonNbr) + "-" + IntToStr(word.PearNbr) + "-" + IntToStr(word.Priority);
}

TExerciseWords StoredList(const TExerciseWords& exercise, const TExerciseWords& deferred) {
  TExerciseWords list;
  list.reserve(exercise.size() + deferred.size());
  for (const TExerciseWord& word : exercise)
    if (word.Priority < 9 && !word.Filler && ReadsBack(word)) list.push_back(word);
  for (const TExerciseWord& word : deferred)
    if (ReadsBack(word)) list.push_back({word.LessonNbr, word.PearNbr, word.Priority, false});
  return list;
}

TReadExerciseWords ReadExerciseWords(const tIniFileHandler& ini, int32_t maxWords, std::size_t maxStored) {
  TReadExerciseWords read;
  // A list beyond any exercise is not read at all: it would only cost time
  // and memory. It stays in the file until a new list replaces it.
  read.Refused = ini.ListLength(kExerciseWords, kWordCount);
  if (read.Refused <= maxStored) read.Refused = 0;
  if (read.Refused > 0) return read;
  const std::vector<std::string> lines = ini.ReadStrList(kExerciseWords, kWordCount);
  // Entries beyond maxWords are cut off, so they are not parsed.
  read.Words.assign(Keep(lines.size(), maxWords), TExerciseWord{});
  for (std::size_t i = 0; i < read.Words.size(); ++i)
    if (!ParseListLine(lines[i], read.Words[i])) break;
  return read;
}

void WriteExerciseWords(tIniFileHandler& ini, const TExerciseWords& stored, bool keepRefused) {
  // Rewritten where it stands, so that an unchanged list gives the same
  // bytes as before.
  if (!keepRefused || !stored.empty()) ini.ReplaceList(kExerciseWords, kWordCount, Lines(stored));
}

std::size_t ReadFileLists(const tIniFileHandler& ini, const std::string& appDir, int32_t maxWords,
                          const std::string& currentFile, TFileLists& lists) {
  const std::vector<std::string> files = ini.ReadStrList(kExerciseLists, kListCount);
  lists.clear();
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty()) continue;
    const std::vector<std::string> lines = ini.ReadStrList(ListSection(i), kWordCount);
    const std::size_t keep = Keep(lines.size(), maxWords);
    // Read as the main list is, up to the first line that does not read.
    TExerciseWords list;
    TExerciseWord word;
    for (std::size_t n = 0; n < keep && ParseListLine(lines[n], word); ++n) list.push_back(word);
    lists[AppDirFileName(appDir, files[i])] = std::move(list);
  }
  lists.erase(currentFile);
  return files.size();
}

void WriteFileLists(tIniFileHandler& ini, const std::string& appDir, const std::string& currentFile,
                    const TFileLists& lists, std::size_t& sections) {
  std::vector<std::string> files;
  std::vector<const TExerciseWords*> kept;
  for (const auto& [file, list] : lists) {
    if (file == currentFile || file.empty() || list.empty()) continue;
    files.push_back(AppRelativeName(appDir, file));
    kept.push_back(&list);
  }
  // Lists are rewritten where they stand; only those no longer needed go.
  for (std::size_t i = files.size(); i < sections; ++i) ini.EraseSection(ListSection(i));
  sections = files.size();
  if (files.empty()) {
    ini.EraseSection(kExerciseLists);
    return;
  }
  ini.ReplaceList(kExerciseLists, kListCount, files);
  for (std::size_t i = 0; i < files.size(); ++i) ini.ReplaceList(ListSection(i), kWordCount, Lines(*kept[i]));
}

TExerciseWords SwitchFileList(TFileLists& lists, const std::string& fromFile, TExerciseWords fromStored,
                              const std::string& toFile, const std::vector<int32_t>& availableUnits) {
  if (!fromFile.empty()) {
    if (fromStored.empty())
      lists.erase(fromFile);
    else
      lists[fromFile] = std::move(fromStored);
  }
  TExerciseWords words;
  const auto found = lists.find(toFile);
  if (found == lists.end()) return words;
  for (const TExerciseWord& word : found->second)
    if (std::find(availableUnits.begin(), availableUnits.end(), word.LessonNbr) != availableUnits.end())
      words.push_back(word);
  lists.erase(found);
  return words;
}
