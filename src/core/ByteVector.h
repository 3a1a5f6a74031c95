#pragma once
#include "Bytes.h"
#include "SlotVector.h"

// Slot vector of bytes; used to build the image of a container.
class TByteVector : public TSlotVector<uint8_t> {
 public:
  // Slots 0 to Count - 1 as a new array.
  TBytes ToBytes() const;
};
