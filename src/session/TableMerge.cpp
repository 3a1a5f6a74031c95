#include "TableMerge.h"

namespace {
void CopyPear(const TWordPear& from, TWordPear& to) {
  to.Word1 = from.Word1;
  to.Word2 = from.Word2;
  to.WavFile1 = from.WavFile1;
  to.WavFile2 = from.WavFile2;
  to.InUse = from.InUse;
  to.Drawn = from.Drawn;
}
}  // namespace

TTableMerge MergeTableLessons(TLessonList& list, const std::vector<std::shared_ptr<TLesson>>& lessons) {
  TTableMerge merged;
  for (const std::shared_ptr<TLesson>& table : lessons) {
    if (!table) continue;
    const int position = list.PositionOf(table->LessonNbr);
    std::shared_ptr<TLesson> target = position >= 0 ? list.LessonAt(position) : std::make_shared<TLesson>();
    if (position < 0) target->LessonNbr = table->LessonNbr;
    // After the last slot, so no pair of the lesson is renumbered.
    int32_t next = target->SlotCount();
    for (int32_t slot = 0; slot < table->SlotCount(); ++slot) {
      const std::shared_ptr<TWordPear> pear = table->GetPear(slot);
      if (!pear) continue;
      CopyPear(*pear, *target->NewPear(next++));
      ++merged.PairCount;
    }
    if (position < 0) {
      list.Add(target);
      merged.NewLessons.push_back(table->LessonNbr);
    } else {
      merged.ExtendedLessons.push_back(table->LessonNbr);
    }
  }
  return merged;
}
