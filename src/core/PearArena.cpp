#include "PearArena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {
constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kAlign = alignof(std::max_align_t);
constexpr std::size_t kHeaderBytes = (sizeof(TPearArena::TBlock) + kAlign - 1) / kAlign * kAlign;
// More than a pair and the shared_ptr control block around it take.
constexpr std::size_t kMaxNode = 2 * sizeof(TWordPear) + 128;

// Blocks whose pairs are all gone, kept for the next load: reading a file
// again (the editor, the end of an exercise) then finds its memory ready
// instead of faulting in fresh pages, which costs more than the parsing.
// At most kCachedBlocks (32 MB); never freed, like the heap's own free lists.
constexpr std::size_t kCachedBlocks = 512;
struct TBlockCache {
  std::mutex lock;
  std::array<void*, kCachedBlocks> blocks{};
  std::size_t count = 0;
};
TBlockCache& Cache() {
  static TBlockCache cache;  // trivially destroyed: pairs may end after it
  return cache;
}

// Fresh memory arrives a page at a time, one fault each, and on a virtual
// machine a fault costs more than filling the page. One call brings in the
// whole block where the system can; elsewhere the pages fault as usual.
void PrefaultPages(void* memory, std::size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto from = (reinterpret_cast<uintptr_t>(memory) + page - 1) / page * page;
  const auto to = (reinterpret_cast<uintptr_t>(memory) + bytes) / page * page;
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)bytes;
#endif
}

void* NewBlockMemory() {
  {
    TBlockCache& cache = Cache();
    const std::lock_guard<std::mutex> hold(cache.lock);
    if (cache.count > 0) return cache.blocks[--cache.count];
  }
  void* memory = std::malloc(kHeaderBytes + kBlockBytes);
  if (!memory) throw std::bad_alloc();
  PrefaultPages(memory, kHeaderBytes + kBlockBytes);
  return memory;
}

void FreeBlockMemory(void* memory) {
  {
    TBlockCache& cache = Cache();
    const std::lock_guard<std::mutex> hold(cache.lock);
    if (cache.count < kCachedBlocks) {
      cache.blocks[cache.count++] = memory;
      return;
    }
  }
  std::free(memory);
}

// Hands out the memory of one shared pair from the arena's current block.
template <typename T>
struct TBlockAllocator {
  using value_type = T;
  TPearArena::TBlock* block;

  explicit TBlockAllocator(TPearArena::TBlock* b) : block(b) {}
  template <typename U>
  TBlockAllocator(const TBlockAllocator<U>& other) : block(other.block) {}  // NOLINT: rebinding

  T* allocate(std::size_t n) { return static_cast<T*>(block->Take(n * sizeof(T))); }
  void deallocate(T*, std::size_t) { block->Release(1); }

  template <typename U>
  bool operator==(const TBlockAllocator<U>& other) const { return block == other.block; }
};
}  // namespace

unsigned char* TPearArena::TBlock::Data() { return reinterpret_cast<unsigned char*>(this) + kHeaderBytes; }

void* TPearArena::TBlock::Take(std::size_t bytes) {
  const std::size_t rounded = (bytes + kAlign - 1) / kAlign * kAlign;
  if (rounded > kBlockBytes - used) throw std::bad_alloc();  // the arena made room; never happens
  void* at = Data() + used;
  used += rounded;
  ++taken;
  return at;
}

void TPearArena::TBlock::Release(std::size_t count) {
  if (refs.fetch_sub(count, std::memory_order_acq_rel) == count) {
    this->~TBlock();
    FreeBlockMemory(this);
  }
}

TPearArena::~TPearArena() {
  if (block_) block_->Release(TBlock::kHeld - block_->taken);
}

void TPearArena::MakeRoom() {
  if (block_ && kBlockBytes - block_->used >= kMaxNode) return;
  if (block_) block_->Release(TBlock::kHeld - block_->taken);
  block_ = nullptr;  // NewBlockMemory may throw
  block_ = ::new (NewBlockMemory()) TBlock;
}

std::shared_ptr<TWordPear> TPearArena::Make(std::string_view line) {
  MakeRoom();
  return std::allocate_shared<TWordPear>(TBlockAllocator<TWordPear>(block_), line);
}
