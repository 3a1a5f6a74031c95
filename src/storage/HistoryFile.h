#pragma once
#include <cstddef>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "DurableFile.h"

// The learner's history: one text line per pair practised, appended after
// every pass, in the learner's data folder. Lines a year old are folded
// into one line per day and language file, so the file stays small.
//
//   2026-12-11 10:15:02 <tab> lesson <tab> pair <tab> priority <tab> typed <tab> language file
//   2025-11-30 <tab> day <tab> pairs <tab> right <tab> wrong <tab> language file
//
// typed is "right", "wrong" or "-" (no typed answer). The file name comes
// last, with "\", tab and line breaks written as \\, \t, \n, \r. Reading is
// tolerant: a line that does not read (the one a crash cut) is skipped.

inline constexpr const char* kHistoryFileName = "Quillmere.History";

enum class TTypedVerdict { None, Right, Wrong };

// One pair whose answer was shown.
struct TPractisedPair {
  std::time_t Time = 0;
  int Lesson = 0;
  int Pair = 0;
  int Priority = 0;  // the priority it had when the pass ended
  TTypedVerdict Typed = TTypedVerdict::None;
};

struct THistoryDay {
  long Pairs = 0;
  long Right = 0;
  long Wrong = 0;
};

// What the history says about one language file.
struct THistorySummary {
  // Pairs practised by local date ("2026-12-11").
  std::map<std::string, THistoryDay> Days;
  long Right = 0;
  long Wrong = 0;
  // Lines that did not read (a line cut by a crash, a damaged file).
  std::size_t Skipped = 0;
  // Why an existing history could not be read; empty when it was (or is missing).
  std::string Error;
};

// The name a language file goes by in the history: absolute, links resolved.
std::string HistoryFileKey(const std::string& langFile);

// Local date and time as the history writes them.
std::string HistoryDate(std::time_t time);
std::string HistoryDateTime(std::time_t time);

// The lines for pairs practised in langFile (a history key).
std::string HistoryLines(const std::string& langFile, const std::vector<TPractisedPair>& pairs);

// The summary for langFile (a history key); a missing file is an empty history.
THistorySummary ReadHistory(const std::filesystem::path& history, const std::string& langFile);

// Folds pair lines dated before keepFrom ("2025-12-11") into day lines, and
// drops lines that do not read; the file is replaced whole. folded tells
// whether anything changed (nothing is written otherwise).
TSaveResult FoldHistory(const std::filesystem::path& history, const std::string& keepFrom, bool* folded = nullptr);

// The history of one learner, appended to after each pass.
class THistoryFile {
 public:
  explicit THistoryFile(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& Path() const { return path_; }
  // Appends the pairs; the first append of a program run folds the lines
  // older than a year first (a failed fold does not stop the append).
  TSaveResult Append(const std::string& langFile, const std::vector<TPractisedPair>& pairs, std::time_t now);

 private:
  std::filesystem::path path_;
  bool foldTried_ = false;
};
