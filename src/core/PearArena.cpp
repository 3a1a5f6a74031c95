#include "PearArena.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

// Bringing a block's pages in at once needs the system's memory calls; where
// they are missing the pages fault in as they are first written.
#if __has_include(<sys/mman.h>) && __has_include(<unistd.h>)
#include <sys/mman.h>
#include <unistd.h>
#endif
// Handing freed heap pages back to the system at once.
#if defined(__GLIBC__) && __has_include(<malloc.h>)
#include <malloc.h>
#define QM_HAVE_MALLOC_TRIM 1
#endif

#include "PearText.h"

namespace {
constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kAlign = alignof(std::max_align_t);
constexpr std::size_t kHeaderBytes = (sizeof(TPearArena::TBlock) + kAlign - 1) / kAlign * kAlign;
// More than a pair and the shared_ptr control block around it take.
constexpr std::size_t kMaxNode = 2 * sizeof(TWordPear) + 128;
// The texts of a pair line of up to kMaxTextLine characters go into the
// block with the pair; they take at most the line's length plus kTextSlack
// (four pieces, each with its terminator, header and rounding).
constexpr std::size_t kMaxTextLine = 4096;
constexpr std::size_t kTextAlign = alignof(TPearArena::TBlock*);
constexpr std::size_t kTextHeader = sizeof(TPearArena::TBlock*);
constexpr std::size_t kTextSlack = 4 * (1 + kTextHeader + kTextAlign);

// The block the texts of the pair being made go into; none outside a load.
thread_local TPearArena::TBlock* textBlock = nullptr;

class TTextScope {
 public:
  explicit TTextScope(TPearArena::TBlock* block) : saved_(textBlock) { textBlock = block; }
  TTextScope(const TTextScope&) = delete;
  TTextScope& operator=(const TTextScope&) = delete;
  ~TTextScope() { textBlock = saved_; }

 private:
  TPearArena::TBlock* saved_;
};

// Blocks whose pairs are all gone, kept for the next load: reading a file
// again (the editor, the end of an exercise) then finds its memory ready
// instead of faulting in fresh pages, which costs more than the parsing.
// At most kCachedBlocks (32 MB); ReleaseKeptPearBlocks frees them when the
// program has nothing to load for a while.
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

}  // namespace

std::size_t ReleaseKeptPearBlocks() {
  std::array<void*, kCachedBlocks> blocks{};
  std::size_t count = 0;
  {
    TBlockCache& cache = Cache();
    const std::lock_guard<std::mutex> hold(cache.lock);
    count = cache.count;
    std::copy_n(cache.blocks.begin(), count, blocks.begin());
    cache.count = 0;
  }
  for (std::size_t i = 0; i < count; ++i) std::free(blocks[i]);
#if defined(QM_HAVE_MALLOC_TRIM)
  // The blocks lie inside the heap, which keeps freed pages for itself.
  if (count > 0) malloc_trim(0);
#endif
  return count * (kHeaderBytes + kBlockBytes);
}

std::size_t KeptPearBlockBytes() {
  TBlockCache& cache = Cache();
  const std::lock_guard<std::mutex> hold(cache.lock);
  return cache.count * (kHeaderBytes + kBlockBytes);
}

namespace {
// Hands out the memory of one shared pair from the arena's current block.
template <typename T>
struct TBlockAllocator {
  using value_type = T;
  TPearArena::TBlock* block;

  explicit TBlockAllocator(TPearArena::TBlock* b) : block(b) {}
  template <typename U>
  TBlockAllocator(const TBlockAllocator<U>& other) : block(other.block) {}  // NOLINT: rebinding

  T* allocate(std::size_t n) { return static_cast<T*>(block->Take(n * sizeof(T), kAlign)); }
  void deallocate(T*, std::size_t) { block->Release(1); }

  template <typename U>
  bool operator==(const TBlockAllocator<U>& other) const { return block == other.block; }
};
}  // namespace

inline unsigned char* TPearArena::TBlock::Data() { return reinterpret_cast<unsigned char*>(this) + kHeaderBytes; }

inline void* TPearArena::TBlock::Take(std::size_t bytes, std::size_t align) {
  const std::size_t from = (used + align - 1) / align * align;
  if (from > kBlockBytes || bytes > kBlockBytes - from) throw std::bad_alloc();  // the arena made room; never happens
  used = from + bytes;
  ++taken;
  return Data() + from;
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

inline void TPearArena::MakeRoom(std::size_t bytes) {
  if (block_ && kBlockBytes - block_->used >= bytes) return;
  if (block_) block_->Release(TBlock::kHeld - block_->taken);
  block_ = nullptr;  // NewBlockMemory may throw
  block_ = ::new (NewBlockMemory()) TBlock;
}

std::shared_ptr<TWordPear> TPearArena::Make(std::string_view line) {
  const bool textsHere = line.size() <= kMaxTextLine;
  MakeRoom(kMaxNode + (textsHere ? line.size() + kTextSlack : 0));
  const TTextScope scope(textsHere ? block_ : nullptr);
  return std::allocate_shared<TWordPear>(TBlockAllocator<TWordPear>(block_), line);
}

// A piece starts with the block it lies in, or none for the heap.
void* AllocatePearText(std::size_t bytes) {
  unsigned char* piece = nullptr;
  TPearArena::TBlock* block = textBlock;
  if (block) {
    piece = static_cast<unsigned char*>(block->Take(kTextHeader + bytes, kTextAlign));
  } else {
    piece = static_cast<unsigned char*>(std::malloc(kTextHeader + bytes));
    if (!piece) throw std::bad_alloc();
  }
  std::memcpy(piece, &block, kTextHeader);
  return piece + kTextHeader;
}

void FreePearText(void* text) noexcept {
  unsigned char* piece = static_cast<unsigned char*>(text) - kTextHeader;
  TPearArena::TBlock* block = nullptr;
  std::memcpy(&block, piece, kTextHeader);
  if (block)
    block->Release(1);
  else
    std::free(piece);
}
