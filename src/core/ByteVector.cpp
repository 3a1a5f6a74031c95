#include "ByteVector.h"

TBytes TByteVector::ToBytes() const { return TBytes(items_.begin(), items_.end()); }

void TByteVector::AddBytes(const uint8_t* data, std::size_t size) { items_.insert(items_.end(), data, data + size); }
