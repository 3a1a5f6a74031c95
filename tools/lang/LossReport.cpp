#include "LossReport.h"

#include <string>

namespace {
const char* KindText(TLossKind kind) {
  switch (kind) {
    case TLossKind::LinesBeforeGeneral:
      return "lines before \"[General]\", ignored";
    case TLossKind::NamesReplaced:
      return "language names lines replaced by a later one";
    case TLossKind::NegativeLesson:
      return "lessons with a negative number, not kept";
    case TLossKind::LessonReplaced:
      return "lessons replaced by a later one of the same number";
    case TLossKind::PairReplaced:
      return "pairs replaced by a later one of the same number, or with a negative number";
    case TLossKind::TextCutAtNul:
      return "lines whose text ends at a zero byte (the rest is dropped)";
    case TLossKind::BrokenLineEnd:
      return "lines ending in a lone CR or LF (the byte beside it is dropped)";
    case TLossKind::ReadStopped:
      return "reads stopped by a malformed number (the rest is not read)";
  }
  return "";
}
}  // namespace

void WriteLossReport(const TLoadLosses& losses, std::ostream& out) {
  if (!losses.Any()) return;
  out << "\n"
      << "Dropped when read (the program keeps a backup of the file before it saves it):\n";
  for (std::size_t k = 0; k < kLossKinds; ++k) {
    const auto kind = static_cast<TLossKind>(k);
    if (losses.Count(kind) != 0) out << "  " << losses.Count(kind) << " " << KindText(kind) << "\n";
  }
  for (const TLossPlace& place : losses.Places) {
    out << "  line " << place.LineNbr;
    if (place.LessonNbr >= 0 || place.Kind == TLossKind::NegativeLesson) out << ", lesson " << place.LessonNbr;
    out << ": " << KindText(place.Kind) << "\n";
  }
  if (losses.Total() > static_cast<int64_t>(losses.Places.size()))
    out << "  ... and " << losses.Total() - static_cast<int64_t>(losses.Places.size()) << " more\n";
}
