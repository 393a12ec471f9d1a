// Size classes, free lists and chunks of the small-block pool.
#include "SmallBlockPool.h"

#include <cstdint>
#include <cstdlib>
#include <thread>

namespace memory {
namespace {

// Each block starts with a header: its class, and its size for a block of the runtime's heap or its
// chunk for a block of the pool. The header's size keeps the data aligned as the header is.
struct Header {
  uint64_t cls;
  uint64_t sizeOrChunk;
};
static_assert(sizeof(Header) == SmallBlockPool::kAlignment, "the header keeps the data aligned");
constexpr size_t kHeader = sizeof(Header);
// Classes are 16 bytes apart up to 256 bytes, 64 apart up to 1 KiB and 256 apart up to 4 KiB: above 256
// bytes a block wastes at most a fifth of itself, and the few classes stay busy enough to be reused at once.
// A chunk stays below the size from which the runtime's heap maps each block apart.
constexpr size_t kChunkBytes = 256 * 1024;

Header* HeaderOf(void* data) { return reinterpret_cast<Header*>(static_cast<char*>(data) - kHeader); }
const Header* HeaderOf(const void* data) {
  return reinterpret_cast<const Header*>(static_cast<const char*>(data) - kHeader);
}

}  // namespace

size_t SmallBlockPool::ClassOf(size_t size) {
  if (size <= 256) return size <= 32 ? 0 : (size - 32 + 15) / 16;  // 32, 48, ... 256
  if (size <= 1024) return 14 + (size - 256 + 63) / 64;            // 320, ... 1024
  if (size <= kLargest) return 26 + (size - 1024 + 255) / 256;     // 1280, ... 4096
  return kClasses;
}

size_t SmallBlockPool::ClassSize(size_t cls) {
  if (cls < 15) return 32 + cls * 16;
  if (cls < 27) return 256 + (cls - 14) * 64;
  return 1024 + (cls - 26) * 256;
}

SmallBlockPool::~SmallBlockPool() {
  while (chunks_) {
    Chunk* next = chunks_->next;
    std::free(chunks_);
    chunks_ = next;
  }
}

void SmallBlockPool::Lock() {
  while (busy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
}

char* SmallBlockPool::Carve(size_t whole) {
  static_assert(sizeof(Chunk) <= kHeader, "a chunk's link and count fit before its first block");
  if (carveLeft_ < whole) {
    // The rest of the old chunk stays unused: less than one block of the largest class.
    Chunk* chunk = static_cast<Chunk*>(std::malloc(kChunkBytes));
    if (!chunk) return nullptr;
    chunk->next = chunks_;
    chunk->live = 0;
    chunks_ = chunk;
    chunkBytes_ += kChunkBytes;
    carve_ = reinterpret_cast<char*>(chunk) + kHeader;  // past the chunk's link, keeping the alignment
    carveLeft_ = kChunkBytes - kHeader;
  }
  char* block = carve_;
  carve_ += whole;
  carveLeft_ -= whole;
  reinterpret_cast<Header*>(block)->sizeOrChunk = reinterpret_cast<uintptr_t>(chunks_);
  return block;
}

void SmallBlockPool::GiveBack(Chunk* chunk) {
  for (Chunk** link = &chunks_; *link; link = &(*link)->next) {
    if (*link != chunk) continue;
    *link = chunk->next;
    chunkBytes_ -= kChunkBytes;
    std::free(chunk);
    return;
  }
}

void SmallBlockPool::Retire() {
  Lock();
  retired_ = true;
  for (FreeBlock*& list : free_) list = nullptr;
  carve_ = nullptr;
  carveLeft_ = 0;
  for (Chunk* chunk = chunks_; chunk;) {
    Chunk* next = chunk->next;
    if (chunk->live == 0) GiveBack(chunk);
    chunk = next;
  }
  Unlock();
}

void* SmallBlockPool::Allocate(size_t size) {
  const size_t cls = retired_ ? kClasses : ClassOf(size);
  if (cls == kClasses) {
    if (size > SIZE_MAX - kHeader) return nullptr;
    char* base = static_cast<char*>(std::malloc(size + kHeader));
    if (!base) return nullptr;
    Header* header = reinterpret_cast<Header*>(base);
    header->cls = kHeapBlock;
    header->sizeOrChunk = size;
    return base + kHeader;
  }
  char* data;
  Lock();
  if (retired_) {
    // Retired between the test above and the lock: the heap serves it.
    Unlock();
    return Allocate(size);
  }
  if (FreeBlock* block = free_[cls]) {
    free_[cls] = block->next;
    data = reinterpret_cast<char*>(block);
  } else {
    char* base = Carve(kHeader + ClassSize(cls));
    data = base ? base + kHeader : nullptr;
  }
  if (data) {
    HeaderOf(data)->cls = cls;
    ++reinterpret_cast<Chunk*>(HeaderOf(data)->sizeOrChunk)->live;
  }
  Unlock();
  return data;
}

void SmallBlockPool::Free(void* block) {
  if (!block) return;
  const uint64_t cls = HeaderOf(block)->cls;
  if (cls == kHeapBlock) {
    std::free(static_cast<char*>(block) - kHeader);
    return;
  }
  Chunk* chunk = reinterpret_cast<Chunk*>(HeaderOf(block)->sizeOrChunk);
  Lock();
  --chunk->live;
  if (retired_) {
    if (chunk->live == 0) GiveBack(chunk);
  } else {
    FreeBlock* entry = static_cast<FreeBlock*>(block);
    entry->next = free_[cls];
    free_[cls] = entry;
  }
  Unlock();
}

size_t SmallBlockPool::UsableSize(const void* block) {
  const Header* header = HeaderOf(block);
  return header->cls == kHeapBlock ? static_cast<size_t>(header->sizeOrChunk) : ClassSize(header->cls);
}

}  // namespace memory
