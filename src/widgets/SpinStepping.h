#pragma once
#include <cstdint>

#include "core/IntVector.h"

// What the spin box steps through: positions from MinPos to MaxPos that wrap
// round at either end, shown as themselves or through a value list.
class TSpinStepping {
 public:
  int64_t MinPos = 0;
  int64_t MaxPos = 0;
  int64_t Position = 0;
  uint8_t Step = 1;
  bool Down = false;
  const TIntVector* Values = nullptr;  // not owned

  // With a value list the positions run over the list (lowest and highest are
  // ignored); without one they run from lowest to highest.
  void Init(int32_t lowest, int32_t highest, int32_t start, uint8_t step, const TIntVector* values);
  // The value at Position (0 when Position lies outside the list).
  int32_t GetValue() const;
  // More than one position to choose from. An empty list has none.
  bool CanSpin() const { return MaxPos > MinPos; }
  // One step in the current direction, wrapping round; returns GetValue.
  int32_t Advance();
  // False when there is nothing to show (an empty value list).
  bool HasValue() const;
};
