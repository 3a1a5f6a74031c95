#include "Lesson.h"

#include "StrUtil.h"

void TLesson::AddPearLine(const std::string& line) {
  auto pear = std::make_shared<TWordPear>(line);
  const int32_t slot = pear->PearNbr;
  Pears.Put(slot, std::move(pear));
}

std::shared_ptr<TWordPear> TLesson::NewPear(int32_t pearNbr) {
  if (pearNbr == -1) pearNbr = FirstFreeSlot();
  auto pear = std::make_shared<TWordPear>();
  pear->PearNbr = pearNbr;
  Pears.Put(pearNbr, pear);
  return pear;
}

int32_t TLesson::PearCount() const {
  int32_t count = 0;
  for (const auto& pear : Pears.Items())
    if (pear) ++count;
  return count;
}

int32_t TLesson::UsedPearCount() const {
  int32_t count = 0;
  for (const auto& pear : Pears.Items())
    if (pear && pear->InUse) ++count;
  return count;
}

int32_t TLesson::FindWord(const std::string& text, bool secondLang) const {
  for (const auto& pear : Pears.Items()) {
    if (!pear) continue;
    if (CompareFromNoCase(text, secondLang ? pear->Word2 : pear->Word1, 0, 0) == -1) return LessonNbr;
  }
  return -1;
}

void TLesson::ClearDrawn() {
  for (const auto& pear : Pears.Items())
    if (pear) pear->ClearDrawn();
}

int32_t TLesson::FirstFreeSlot() const {
  const int32_t slots = SlotCount();
  for (int32_t i = 0; i < slots; ++i)
    if (!Pears.Get(i)) return i;
  return slots;
}
