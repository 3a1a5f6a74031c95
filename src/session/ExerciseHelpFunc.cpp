#include "ExerciseHelpFunc.h"

#include <algorithm>
#include <unordered_map>

#include "core/ArrayUtil.h"
#include "storage/LangFHandler.h"

namespace {
std::shared_ptr<TWordPear> PairOf(const TLangFHandler& file, const TExerciseWord& entry) {
  std::shared_ptr<TLesson> lesson = file.GetLesson(entry.LessonNbr);
  return lesson ? lesson->GetPear(entry.PearNbr) : nullptr;
}

template <class Take>
TExerciseWords Collect(const std::vector<int32_t>& lessons, const TLangFHandler& file, bool filler, Take take,
                       std::size_t limit = SIZE_MAX) {
  TExerciseWords list;
  if (limit == SIZE_MAX) {
    // One allocation instead of some twenty for a large file.
    std::size_t slots = 0;
    for (int32_t nbr : lessons)
      if (std::shared_ptr<TLesson> lesson = file.GetLesson(nbr)) slots += lesson->Pears.Items().size();
    list.reserve(slots);
  }
  std::vector<int32_t> seen;
  for (int32_t nbr : lessons) {
    std::shared_ptr<TLesson> lesson = file.GetLesson(nbr);
    if (!lesson || std::find(seen.begin(), seen.end(), nbr) != seen.end()) continue;
    seen.push_back(nbr);
    // The slots by reference: no reference count changes per pair.
    const auto& pairs = lesson->Pears.Items();
    for (std::size_t slot = 0; slot < pairs.size(); ++slot) {
      if (list.size() >= limit) return list;
      if (pairs[slot] && take(*pairs[slot])) list.push_back({nbr, static_cast<int32_t>(slot), 0, filler});
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

TExerciseWords CollectSelectedClearingDrawn(const std::vector<int32_t>& lessons, TLangFHandler& file) {
  TExerciseWords list = Collect(lessons, file, false, [](TWordPear& p) {
    p.Drawn = false;
    return p.InUse;
  });
  // Nothing in use: the only flags touched belong to pairs not in use, which
  // the file does not store, so the handler still matches the file.
  if (list.empty()) return list;
  for (int32_t nbr = 0; nbr < file.LessonSlotCount(); ++nbr) {
    if (std::find(lessons.begin(), lessons.end(), nbr) != lessons.end()) continue;
    if (std::shared_ptr<TLesson> lesson = file.GetLesson(nbr)) lesson->ClearDrawn();
  }
  return list;
}

TExerciseWords CollectUndrawnWords(const std::vector<int32_t>& lessons, const TLangFHandler& file, bool filler,
                                   std::size_t limit) {
  return Collect(lessons, file, filler, [](const TWordPear& p) { return p.InUse && !p.Drawn; }, limit);
}

void ShuffleWords(TExerciseWords& list, std::mt19937& engine) {
  Reorder(list, [&engine](std::vector<int32_t>& index) { Shuffle(index, engine); });
}

void KeepRandomWords(TExerciseWords& list, std::size_t count, std::mt19937& engine) {
  const std::size_t n = list.size();
  count = std::min(count, n);
  for (std::size_t i = 0; i < count; ++i) {
    std::uniform_int_distribution<std::size_t> pick(i, n - 1);
    std::swap(list[i], list[pick(engine)]);
  }
  list.resize(count);
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
  // Entries held back earlier in the run stay held back: a pair the list
  // names again takes its newer state (held back with the new priority, back
  // in the list with 0, retired with 9); every other one stays as it was.
  const auto key = [](const TExerciseWord& e) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(e.LessonNbr)) << 32) | static_cast<uint32_t>(e.PearNbr);
  };
  std::unordered_map<uint64_t, const TExerciseWord*> newer;
  newer.reserve(list.size());
  for (const TExerciseWord& entry : list) newer[key(entry)] = &entry;
  TExerciseWords held;
  held.reserve(deferred.size() + list.size());
  for (const TExerciseWord& entry : deferred)
    if (newer.find(key(entry)) == newer.end()) held.push_back(entry);
  TExerciseWords kept;
  for (const TExerciseWord& entry : list) {
    if (entry.Priority == 0) {
      kept.push_back(entry);
    } else if (entry.Priority < 9) {
      held.push_back(entry);
    }
  }
  list = std::move(kept);
  deferred = std::move(held);
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
