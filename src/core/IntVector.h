#pragma once
#include <cstdint>

#include "SlotVector.h"

// Slot vector of 32-bit integers; zero value 0.
class TIntVector : public TSlotVector<int32_t> {};
