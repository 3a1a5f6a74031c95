#pragma once
#include <cstdint>
#include <vector>

// A 0-based slot container: a value is written to an index, the container
// grows to take it, and reading a slot that holds nothing gives the element's
// zero value. Growth is amortised constant time (std::vector underneath).
template <typename T>
class TSlotVector {
 public:
  // Stores value at index; a negative index is refused (false, no change).
  bool Put(int32_t index, const T& value) { return Put(index, T(value)); }

  bool Put(int32_t index, T&& value) {
    if (index < 0) return false;
    const auto slot = static_cast<std::size_t>(index);
    if (slot == items_.size()) {
      items_.push_back(std::move(value));  // the usual case while a file is read
    } else {
      if (slot > items_.size()) items_.resize(slot + 1);
      items_[slot] = std::move(value);
    }
    return true;
  }

  bool Add(const T& value) { return Put(static_cast<int32_t>(items_.size()), value); }
  bool Add(T&& value) { return Put(static_cast<int32_t>(items_.size()), std::move(value)); }

  // The slot's value for 0 <= index < Count, else the zero value.
  const T& Get(int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return Zero();
    return items_[static_cast<std::size_t>(index)];
  }

  // One past the highest index written since construction or Clear.
  uint32_t Count() const { return static_cast<uint32_t>(items_.size()); }

  void Clear() {
    items_.clear();
    items_.shrink_to_fit();
  }

  const std::vector<T>& Items() const { return items_; }

 protected:
  static const T& Zero() {
    static const T zero{};
    return zero;
  }

  std::vector<T> items_;
};
