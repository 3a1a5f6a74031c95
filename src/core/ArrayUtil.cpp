#include "ArrayUtil.h"

#include <chrono>

std::mt19937& RandomEngine() {
  static std::mt19937 engine(static_cast<std::mt19937::result_type>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  return engine;
}

void Shuffle(std::vector<int32_t>& values) { Shuffle(values, RandomEngine()); }

void Shuffle(std::vector<int32_t>& values, std::mt19937& engine) {
  for (std::size_t i = values.size(); i > 1; --i) {
    std::uniform_int_distribution<std::size_t> pick(0, i - 1);
    std::swap(values[i - 1], values[pick(engine)]);
  }
}

TBytes DeleteRange(const TBytes& bytes, int64_t start, int64_t length) {
  const auto size = static_cast<int64_t>(bytes.size());
  if (length > size) return {};
  if (start < 0 || length <= 0 || start >= size) return bytes;
  const int64_t end = std::min(start + length, size);
  TBytes result;
  result.reserve(static_cast<std::size_t>(size - (end - start)));
  result.insert(result.end(), bytes.begin(), bytes.begin() + start);
  result.insert(result.end(), bytes.begin() + end, bytes.end());
  return result;
}

bool IntArraysEqual(const std::vector<int32_t>& a, const std::vector<int32_t>& b) { return a == b; }
