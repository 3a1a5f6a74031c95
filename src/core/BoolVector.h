#pragma once
#include "SlotVector.h"

// Slot vector of booleans; zero value false. Stored as bytes, not bits, so a
// slot can be handed out by reference.
class TBoolVector : public TSlotVector<uint8_t> {
 public:
  bool Put(int32_t index, bool value) { return TSlotVector<uint8_t>::Put(index, value ? 1 : 0); }
  bool Add(bool value) { return TSlotVector<uint8_t>::Add(value ? 1 : 0); }
  bool Get(int32_t index) const { return TSlotVector<uint8_t>::Get(index) != 0; }
};
