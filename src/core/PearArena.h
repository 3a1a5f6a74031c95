#pragma once
#include <atomic>
#include <cstddef>
#include <memory>
#include <string_view>

#include "Word_Pear.h"

// Makes the pairs of one file load, with their texts, many to a block of
// memory, instead of one heap allocation each: a million-pair file is read
// several times faster. A block is freed when the arena is done with it and the last pair
// in it is gone, so pairs outlive the arena and their lessons as usual.
class TPearArena {
 public:
  TPearArena() = default;
  TPearArena(const TPearArena&) = delete;
  TPearArena& operator=(const TPearArena&) = delete;
  ~TPearArena();

  // A pair parsed from a pair line (see TWordPear); the line's errors pass.
  std::shared_ptr<TWordPear> Make(std::string_view line);

  struct TBlock;

 private:
  // Retires the current block when fewer than bytes are left in it.
  void MakeRoom(std::size_t bytes);
  TBlock* block_ = nullptr;
};

// Blocks whose pairs are all gone are kept (up to 32 MB) for the next load.
// This frees them; for when the program has nothing to load for a while.
// Returns the bytes freed.
std::size_t ReleaseKeptPearBlocks();
// The bytes of the blocks kept just now.
std::size_t KeptPearBlockBytes();

// The block header; the pairs follow it.
struct TPearArena::TBlock {
  // Starts at kHeld while the arena fills the block, so that pairs ending
  // early never bring it to 0; the arena gives back what it did not hand out.
  static constexpr std::size_t kHeld = std::size_t{1} << 40;
  std::atomic<std::size_t> refs{kHeld};
  std::size_t taken = 0;  // allocations, counted by the filling arena only
  std::size_t used = 0;   // bytes handed out after the header

  unsigned char* Data();
  void* Take(std::size_t bytes, std::size_t align);
  // One reference less; frees the block at 0.
  void Release(std::size_t count);
};
