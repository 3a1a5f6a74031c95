#include "LessonRows.h"

#include <algorithm>

#include "core/CodePage.h"
#include "core/Word_Pear.h"
#include "storage/LangFHandler.h"
#include "core/StrUtil.h"

int32_t NextRowNumber(const TLessonRows& rows) {
  TBoolVector taken;
  for (const TLessonRow& row : rows) taken.Put(row.Number, true);
  int32_t n = 0;
  while (taken.Get(n)) ++n;
  return n;
}

int RowAfterDelete(int r, int count) {
  if (count <= 0) return -1;
  if (r == 0) return 0;
  if (r < count - 1) return r;
  return r - 1;
}

void SortRows(TLessonRows& rows, bool secondLang) {
  // A stable sort gives the order of a bubble sort that swaps only strictly
  // greater neighbours (equal phrases keep their order), without its square
  // time on a long lesson.
  std::stable_sort(rows.begin(), rows.end(), [secondLang](const TLessonRow& a, const TLessonRow& b) {
    return CompareTexts(secondLang ? a.Word2 : a.Word1, secondLang ? b.Word2 : b.Word1, true) < 0;
  });
}

namespace {
bool SameText(std::string_view a, std::string_view b) { return CompareFromNoCase(a, b, 0, 0) == -1; }

// The pair a row was loaded from. After a save the pairs carry new numbers
// while they stay in their slots, so the slot alone may not find it.
std::shared_ptr<TWordPear> PearOfRow(const TLesson& lesson, int32_t number) {
  const auto inSlot = lesson.GetPear(number);
  if (inSlot && inSlot->PearNbr == number) return inSlot;
  for (int32_t i = 0; i < lesson.SlotCount(); ++i) {
    const auto pear = lesson.GetPear(i);
    if (pear && pear->PearNbr == number) return pear;
  }
  return inSlot;
}
}  // namespace

bool IsLessonChanged(const TLesson& lesson, const TLessonRows& rows, int32_t lessonNbr) {
  if (lesson.PearCount() != static_cast<int32_t>(rows.size()) || lesson.LessonNbr != lessonNbr) return true;
  for (const TLessonRow& row : rows) {
    const auto pear = PearOfRow(lesson, row.Number);
    if (!pear) return true;
    if (row.Ticked != pear->InUse) return true;
    if (!SameText(row.Word1, pear->Word1) || !SameText(row.Word2, pear->Word2) ||
        !SameText(row.WavFile1, pear->WavFile1) || !SameText(row.WavFile2, pear->WavFile2))
      return true;
  }
  return false;
}

bool StoringAltersLesson(const TLesson& lesson, const TLessonRows& rows, int32_t lessonNbr) {
  if (IsLessonChanged(lesson, rows, lessonNbr)) return true;
  auto same = [](std::string_view row, std::string_view pear) { return row == pear; };
  auto wav = [](const std::string& name) { return name.empty() ? std::string_view(" ") : std::string_view(name); };
  for (const TLessonRow& row : rows) {
    const auto pear = PearOfRow(lesson, row.Number);
    if (!pear || !same(row.Word1, pear->Word1) || !same(row.Word2, pear->Word2) ||
        !same(wav(row.WavFile1), pear->WavFile1) || !same(wav(row.WavFile2), pear->WavFile2))
      return true;
  }
  return false;
}

void StoreRows(TLesson& lesson, const TLessonRows& rows, int32_t lessonNbr) {
  lesson.LessonNbr = lessonNbr;
  lesson.ClearPears();
  for (const TLessonRow& row : rows) {
    if (row.Word1.empty() || row.Word2.empty()) continue;
    const auto pear = lesson.NewPear(row.Number);
    if (!pear) continue;
    pear->Word1 = row.Word1;
    pear->Word2 = row.Word2;
    pear->WavFile1 = row.WavFile1.empty() ? " " : row.WavFile1;
    pear->WavFile2 = row.WavFile2.empty() ? " " : row.WavFile2;
    pear->InUse = row.Ticked;
    pear->Drawn = false;
  }
}

namespace {
bool IsSeparator(char c) { return c == '\\' || c == '/'; }
}  // namespace

std::string RelativeWavPath(const std::string& appDir, const std::string& path) {
  const std::size_t n = appDir.size();
  // The program directory must end at a folder boundary of the path, or a
  // file in a neighbouring folder ("bin2" beside "bin") would be cut wrongly.
  // Letter case counts, as it does for the file system here.
  if (n == 0 || path.size() <= n || path.compare(0, n, appDir) != 0 || !IsSeparator(path[n])) return path;
  std::string rest = path.substr(n);
  std::replace(rest.begin(), rest.end(), '/', '\\');
  return rest;
}

std::string SearchDoubles(const TLangFHandler& langFile, int32_t editedNbr, const std::string& phrase,
                          bool secondLang) {
  std::string found;
  if (phrase.empty()) return found;
  // The learner's collation, letter case aside: "Я" is "я", "Σ" is "σ" and "ς".
  auto holds = [&phrase, secondLang](const TLesson& lesson) {
    for (int32_t p = 0; p < lesson.SlotCount(); ++p) {
      const auto pear = lesson.GetPear(p);
      if (!pear) continue;
      const std::string_view stored = secondLang ? pear->Word2 : pear->Word1;
      if (CompareTexts(phrase, std::string(stored), true) == 0) return true;
    }
    return false;
  };
  for (int32_t i = 0; i < langFile.LessonSlotCount(); ++i) {
    const auto lesson = langFile.GetLesson(i);
    if (!lesson || lesson->LessonNbr == editedNbr) continue;
    if (!holds(*lesson)) continue;
    if (!found.empty()) found += '-';
    found += std::to_string(lesson->LessonNbr);
  }
  return found;
}

TIntVector FreeLessonNumbers(const TBoolVector& used, int32_t highest) {
  TIntVector free;
  for (int32_t n = 1; n <= highest; ++n)
    if (!used.Get(n)) free.Add(n);
  return free;
}

int32_t PositionOf(const TIntVector& list, int32_t number) {
  for (uint32_t i = 0; i < list.Count(); ++i)
    if (list.Get(static_cast<int32_t>(i)) == number) return static_cast<int32_t>(i);
  return -1;
}

std::string PairDirName(const std::string& lang1, const std::string& lang2) {
  std::string dir = Utf8Left(lang1, 3) + "_" + Utf8Left(lang2, 3);
  for (char& c : dir)
    if (IsSeparator(c)) c = '_';
  return dir;
}

std::string_view RefusedSeparator(TStoredField field, const std::string& text) {
  constexpr std::string_view kAt = "@", kHash = "#", kStar = "*", kDrawn = kDrawnMarker;
  std::vector<std::string_view> refused;
  switch (field) {
    case TStoredField::Word1: refused = {kAt, kHash, kStar, kDrawn}; break;
    case TStoredField::Word2: refused = {kHash, kStar, kDrawn}; break;
    case TStoredField::WavFile1: refused = {kAt, kStar, kDrawn}; break;
    case TStoredField::WavFile2: refused = {kStar, kDrawn}; break;
    case TStoredField::Lang1Name: refused = {kAt}; break;
    case TStoredField::Lang2Name: break;
  }
  // The first in the text; the drawn marker's UTF-8 bytes never occur inside another character.
  std::size_t first = std::string::npos;
  std::string_view found;
  for (std::string_view sep : refused) {
    const std::size_t at = text.find(sep);
    if (at < first) {
      first = at;
      found = sep;
    }
  }
  return found;
}
