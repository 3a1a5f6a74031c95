#pragma once
#include <memory>

#include "SlotVector.h"

// Slot vector of shared objects; an empty slot holds none. Dropping a slot
// (Put over it, Clear) never ends an object that someone else still holds.
template <typename T>
class TVector : public TSlotVector<std::shared_ptr<T>> {};
