#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

// The memory of the texts of pairs. While a load makes a pair, its texts go
// into the load's blocks beside the pair itself (see TPearArena), so reading
// a file costs one heap allocation per block instead of one per long phrase;
// texts made anywhere else come from the heap. Each piece records where it
// came from, so a text may be freed, copied or changed anywhere, any time.
void* AllocatePearText(std::size_t bytes);
void FreePearText(void* piece) noexcept;

template <typename T>
struct TPearTextAllocator {
  static_assert(alignof(T) <= alignof(void*), "pieces are aligned for pointers only");
  using value_type = T;
  using is_always_equal = std::true_type;

  TPearTextAllocator() = default;
  template <typename U>
  TPearTextAllocator(const TPearTextAllocator<U>&) {}  // NOLINT: rebinding

  T* allocate(std::size_t n) { return static_cast<T*>(AllocatePearText(n * sizeof(T))); }
  void deallocate(T* p, std::size_t) noexcept { FreePearText(p); }

  template <typename U>
  bool operator==(const TPearTextAllocator<U>&) const { return true; }
  template <typename U>
  bool operator!=(const TPearTextAllocator<U>&) const { return false; }
};

// A phrase or sound file name of a pair: a std::string in all but its memory.
using TPearText = std::basic_string<char, std::char_traits<char>, TPearTextAllocator<char>>;

// Compared with plain strings by content, as two std::strings are.
inline bool operator==(const TPearText& a, const std::string& b) { return std::string_view(a) == std::string_view(b); }
