#include "StatsCommand.h"

#include <iomanip>

#include "session/PractiseStats.h"

namespace {
void WriteLessonRow(const TLessonFigures& f, std::ostream& out) {
  if (f.Lesson < 0)
    out << std::setw(6) << "Total";
  else
    out << std::setw(6) << f.Lesson;
  out << std::setw(7) << f.Pairs << std::setw(8) << f.InUse << std::setw(11) << f.HeldBackTotal();
  for (std::size_t p = 1; p <= 8; ++p) out << std::setw(4) << f.HeldBack[p];
  out << std::setw(9) << f.Retired << "\n";
}
}  // namespace

void WriteStatsTables(const TPractiseStats& stats, std::ostream& out) {
  out << "Lesson  Pairs  In use  Held back   1   2   3   4   5   6   7   8  Retired\n";
  for (const TLessonFigures& f : stats.Lessons) WriteLessonRow(f, out);
  WriteLessonRow(stats.Total, out);
  out << "(Held back: pairs in use that wait for 1 to 8 more exercises; retired: pairs not in use.)\n";

  out << "\nPairs practised per day, last " << stats.LastDays.size() << " days:\n";
  long sum = 0;
  for (const auto& [date, pairs] : stats.LastDays) {
    out << date << std::setw(7) << pairs << "\n";
    sum += pairs;
  }
  out << "Together   " << std::setw(7) << sum << "\n";

  out << "\nTyped answers: ";
  const int percent = stats.SuccessPercent();
  if (percent < 0)
    out << "none.\n";
  else
    out << stats.Right << " right, " << stats.Wrong << " wrong (" << percent << "% right).\n";
  if (stats.SkippedLines > 0)
    out << "History: " << stats.SkippedLines << (stats.SkippedLines == 1 ? " line" : " lines")
        << " could not be read and " << (stats.SkippedLines == 1 ? "was" : "were") << " skipped.\n";
}
