#include "LessonList.h"

#include <algorithm>

#include "LessonSetRules.h"
#include "core/StrUtil.h"

std::shared_ptr<TLesson> TLessonList::LessonAt(int position) const {
  return Inside(position) ? entries_[static_cast<std::size_t>(position)].Lesson : nullptr;
}

bool TLessonList::IsChosen(int position) const {
  return Inside(position) && entries_[static_cast<std::size_t>(position)].Chosen;
}

std::string TLessonList::Caption(int position, const std::string& lessonWord) const {
  const auto lesson = LessonAt(position);
  return lesson ? LessonCaption(lessonWord, lesson->LessonNbr) : std::string();
}

void TLessonList::Add(std::shared_ptr<TLesson> lesson, bool chosen) {
  if (!lesson) return;
  entries_.push_back({std::move(lesson), chosen});
}

void TLessonList::Remove(int position) {
  if (!Inside(position)) return;
  entries_.erase(entries_.begin() + position);
  if (selected_ == position)
    selected_ = -1;
  else if (selected_ > position)
    --selected_;
}

void TLessonList::Clear() {
  entries_.clear();
  selected_ = -1;
}

void TLessonList::Sort(const std::string& lessonWord) {
  const std::shared_ptr<TLesson> selected = LessonAt(selected_);
  std::vector<std::pair<std::string, TEntry>> keyed;
  keyed.reserve(entries_.size());
  for (TEntry& entry : entries_) keyed.emplace_back(LessonCaption(lessonWord, entry.Lesson->LessonNbr), std::move(entry));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return CompareTexts(a.first, b.first, false) < 0; });
  entries_.clear();
  for (auto& [caption, entry] : keyed) entries_.push_back(std::move(entry));
  selected_ = -1;
  for (int p = 0; selected && p < Count(); ++p)
    if (entries_[static_cast<std::size_t>(p)].Lesson == selected) selected_ = p;
}

void TLessonList::SetChosen(int position, bool chosen) {
  if (Inside(position)) entries_[static_cast<std::size_t>(position)].Chosen = chosen;
}

int TLessonList::UnchooseUnused() {
  int unchosen = 0;
  for (TEntry& entry : entries_) {
    if (entry.Chosen && entry.Lesson->UsedPearCount() == 0) {
      entry.Chosen = false;
      ++unchosen;
    }
  }
  return unchosen;
}

std::vector<int32_t> TLessonList::ChosenNumbers() const {
  std::vector<int32_t> chosen;
  for (const TEntry& entry : entries_)
    if (entry.Chosen) chosen.push_back(entry.Lesson->LessonNbr);
  return chosen;
}

int32_t TLessonList::ChosenUsedPearCount() const {
  int32_t total = 0;
  for (const TEntry& entry : entries_)
    if (entry.Chosen) total += entry.Lesson->UsedPearCount();
  return total;
}

void TLessonList::Select(int position) { selected_ = Inside(position) ? position : -1; }

bool TLessonList::SelectNumber(int32_t lessonNbr) {
  Select(PositionOf(lessonNbr));
  return selected_ >= 0;
}

int TLessonList::PositionOf(int32_t lessonNbr) const {
  for (int p = 0; p < Count(); ++p)
    if (entries_[static_cast<std::size_t>(p)].Lesson->LessonNbr == lessonNbr) return p;
  return -1;
}

TBoolVector TLessonList::UsedNumbers(const TLesson* except) const {
  TBoolVector used;
  used.Put(0, true);
  for (const TEntry& entry : entries_)
    if (entry.Lesson.get() != except) used.Put(entry.Lesson->LessonNbr, true);
  return used;
}
