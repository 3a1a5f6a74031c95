#include "ExerciseHelpFunc.h"

#include <algorithm>

#include "core/ArrayUtil.h"
#include "storage/LangFHandler.h"

namespace {
std::shared_ptr<TWordPear> PairOf(const TLangFHandler& file, const TExerciseWord& entry) {
  std::shared_ptr<TLesson> lesson = file.GetLesson(entry.LessonNbr);
  return lesson ? lesson->GetPear(entry.PearNbr) : nullptr;
}

template <class Take>
TExerciseWords Collect(const std::vector<int32_t>& lessons, const TLangFHandler& file, bool filler, Take take) {
  TExerciseWords list;
  for (int32_t nbr : lessons) {
    std::shared_ptr<TLesson> lesson = file.GetLesson(nbr);
    if (!lesson) continue;
    for (int32_t slot = 0; slot < lesson->SlotCount(); ++slot) {
      std::shared_ptr<TWordPear> pair = lesson->GetPear(slot);
      if (pair && take(*pair)) list.push_back({nbr, slot, 0, filler});
    }
  }
  return list;
}

template <class Permute>
void Reorder(TExerciseWords& list, Permute permute) {
  std::vector<int32_t> index(list.size());
  for (std::size_t i = 0; i < index.size(); ++i) index[i] = static_cast<int32_t>(i);
  permute(index);
  TExerciseWords shuffled;
  shuffled.reserve(list.size());
  for (int32_t i : index) shuffled.push_back(list[static_cast<std::size_t>(i)]);
  list = std::move(shuffled);
}
}  // namespace

TExerciseWords CollectSelectedWords(const std::vector<int32_t>& lessons, const TLangFHandler& file) {
  return Collect(lessons, file, false, [](const TWordPear& p) { return p.InUse; });
}

TExerciseWords CollectUndrawnWords(const std::vector<int32_t>& lessons, const TLangFHandler& file, bool filler) {
  return Collect(lessons, file, filler, [](const TWordPear& p) { return p.InUse && !p.Drawn; });
}

void ShuffleWords(TExerciseWords& list) {
  Reorder(list, [](std::vector<int32_t>& index) { Shuffle(index); });
}

void ShuffleWords(TExerciseWords& list, std::mt19937& engine) {
  Reorder(list, [&engine](std::vector<int32_t>& index) { Shuffle(index, engine); });
}

void MarkDrawn(TLangFHandler& file, const TExerciseWords& list, bool flag) {
  for (const TExerciseWord& entry : list)
    if (std::shared_ptr<TWordPear> pair = PairOf(file, entry)) pair->Drawn = flag;
}

void ResetPriorities(TExerciseWords& list) {
  for (TExerciseWord& entry : list)
    if (entry.Priority < 9) entry.Priority = 0;
}

void CountDownPriorities(TExerciseWords& list) {
  for (TExerciseWord& entry : list)
    if (entry.Priority >= 1 && entry.Priority <= 8) --entry.Priority;
}

void SplitByPriority(TExerciseWords& list, TExerciseWords& deferred) {
  TExerciseWords kept;
  TExerciseWords moved;
  for (const TExerciseWord& entry : list) {
    if (entry.Priority == 0) {
      kept.push_back(entry);
    } else if (entry.Priority < 9) {
      moved.push_back(entry);
    }
  }
  list = std::move(kept);
  if (!moved.empty()) deferred = std::move(moved);
}

void AppendUpTo(TExerciseWords& target, int32_t limit, const TExerciseWords& source) {
  for (const TExerciseWord& entry : source) {
    if (static_cast<int64_t>(target.size()) >= limit) return;
    target.push_back(entry);
  }
}

bool NamesPair(const TLangFHandler& file, const TExerciseWord& entry) { return PairOf(file, entry) != nullptr; }

void DropMissingPairs(TExerciseWords& list, const TLangFHandler& file) {
  list.erase(std::remove_if(list.begin(), list.end(), [&file](const TExerciseWord& e) { return !NamesPair(file, e); }),
             list.end());
}
