#include "SpinStepping.h"

void TSpinStepping::Init(int32_t lowest, int32_t highest, int32_t start, uint8_t step, const TIntVector* values) {
  Step = step;
  Position = start;
  Values = values;
  if (Values != nullptr) {
    MinPos = 0;
    MaxPos = static_cast<int64_t>(Values->Count()) - 1;
  } else {
    MinPos = lowest;
    MaxPos = highest;
  }
}

int32_t TSpinStepping::GetValue() const {
  if (Values == nullptr) return static_cast<int32_t>(Position);
  if (Position < 0 || Position > INT32_MAX) return 0;
  return Values->Get(static_cast<int32_t>(Position));
}

bool TSpinStepping::HasValue() const { return Values == nullptr || Values->Count() > 0; }

int32_t TSpinStepping::Advance() {
  if (!CanSpin()) return GetValue();
  Position += Down ? -static_cast<int64_t>(Step) : static_cast<int64_t>(Step);
  // A step that overshoots an end goes on from the other end by what is left,
  // so one step past MaxPos is MinPos and one below MinPos is MaxPos.
  const int64_t span = MaxPos - MinPos + 1;
  int64_t offset = (Position - MinPos) % span;
  if (offset < 0) offset += span;
  Position = MinPos + offset;
  return GetValue();
}
