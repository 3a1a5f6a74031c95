#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Vector.h"
#include "Word_Pear.h"

// One numbered lesson: its pairs sit in the slot given by their pair number.
// Emptying the lesson never ends a pair that someone else still holds.
class TLesson {
 public:
  int32_t LessonNbr = 0;
  TVector<TWordPear> Pears;

  // Parses the line and stores the pair in its slot, replacing any pair there.
  void AddPearLine(const std::string& line);
  // The pair in the slot; none for an empty slot or an index out of range.
  std::shared_ptr<TWordPear> GetPear(int32_t slot) const { return Pears.Get(slot); }
  // A new empty pair with the given number (-1: the first free slot), stored
  // in that slot. A negative number other than -1 is not stored.
  std::shared_ptr<TWordPear> NewPear(int32_t pearNbr);
  int32_t SlotCount() const { return static_cast<int32_t>(Pears.Count()); }
  int32_t PearCount() const;
  int32_t UsedPearCount() const;
  void ClearPears() { Pears.Clear(); }
  // LessonNbr when some pair's Word1 (or Word2 with secondLang) equals the
  // text ignoring letter case, else -1. An empty text never matches.
  int32_t FindWord(const std::string& text, bool secondLang) const;
  void ClearDrawn();
  int32_t FirstFreeSlot() const;
};
