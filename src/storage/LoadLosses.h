#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// What the reading rules of a language file dropped in one load. A file the
// program wrote never has any of these; a hand-edited or damaged one may,
// and rewriting it would lose those parts for good.
enum class TLossKind : uint8_t {
  LinesBeforeGeneral,  // lines ignored before the first "[General]"
  NamesReplaced,       // a names line replaced by a later one
  NegativeLesson,      // a lesson with a negative number, never stored
  LessonReplaced,      // a lesson replaced by a later one of the same number
  PairReplaced,        // a pair replaced by a later one of the same number, or a negative pair number
  TextCutAtNul,        // a line whose text ends at a NUL byte
  BrokenLineEnd,       // a lone CR or LF: the byte beside it is dropped
  ReadStopped,         // a malformed number stopped the read: the rest is not read
};
constexpr std::size_t kLossKinds = 8;

// Where one loss is: the lesson being read (-1 before any lesson) and the
// 1-based line number.
struct TLossPlace {
  TLossKind Kind = TLossKind::LinesBeforeGeneral;
  int32_t LessonNbr = -1;
  int64_t LineNbr = 0;
};

struct TLoadLosses {
  // A damaged file may hold millions of them: the places of the first few
  // are kept, every one is counted.
  static constexpr std::size_t kPlacesKept = 20;

  std::array<int64_t, kLossKinds> Counts{};
  std::vector<TLossPlace> Places;

  bool Any() const {
    for (const int64_t n : Counts)
      if (n != 0) return true;
    return false;
  }
  int64_t Count(TLossKind kind) const { return Counts[static_cast<std::size_t>(kind)]; }
  int64_t Total() const {
    int64_t total = 0;
    for (const int64_t n : Counts) total += n;
    return total;
  }
  void Add(TLossKind kind, int32_t lessonNbr, int64_t lineNbr) {
    ++Counts[static_cast<std::size_t>(kind)];
    if (Places.size() < kPlacesKept) Places.push_back({kind, lessonNbr, lineNbr});
  }
  void Clear() { *this = TLoadLosses(); }
};
