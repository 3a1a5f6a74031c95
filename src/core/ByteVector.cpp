#include "ByteVector.h"

TBytes TByteVector::ToBytes() const { return TBytes(items_.begin(), items_.end()); }

