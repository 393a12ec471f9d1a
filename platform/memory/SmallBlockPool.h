// Memory for the many small, short-lived blocks of a module (strings, vectors, property values): size
// classes with a free list each, carved from large chunks. Under Wine the runtime's heap keeps the free
// blocks above 256 bytes on four lists (up to 512 bytes, 1 KiB, 4 KiB, and above) and walks a list
// from its head until a block is large enough: the holes that blocks of varied sizes leave there made
// each allocation slower the longer a conversion ran. The pool hands out a block of a class at once,
// whatever the process did before.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace memory {

// Thread-safe. Blocks above kLargest bytes come from the runtime's heap (malloc) and go back to it;
// smaller ones are kept on their class's free list when freed, and the chunks they were carved from
// live as long as the pool, or until it is retired. So the pool holds, for each class, the most blocks
// that were in use at once: flat as long as the use is.
class SmallBlockPool {
 public:
  static constexpr size_t kLargest = 4096;
  // Every block's data is aligned to kAlignment bytes, as the runtime's own blocks are.
  static constexpr size_t kAlignment = 16;

  SmallBlockPool() = default;
  SmallBlockPool(const SmallBlockPool&) = delete;
  SmallBlockPool& operator=(const SmallBlockPool&) = delete;
  // Gives the chunks back; every block of the pool must have been freed.
  ~SmallBlockPool();

  // For a pool whose owner goes while blocks of it may still be freed (a module that unloads while
  // its last static objects are destroyed): every chunk without a block in use goes back to the
  // runtime's heap now, every other one when its last block is freed, and later requests of any size
  // are served by the runtime's heap. The pool must stay in place (never destroyed) after this.
  void Retire();

  // A block of at least `size` bytes (a zero size gets one too); nullptr when memory is exhausted.
  void* Allocate(size_t size);
  // A block from Allocate of this pool, or nullptr.
  void Free(void* block);
  // The bytes the block can hold: `size` rounded up to its class.
  static size_t UsableSize(const void* block);

  // The class a request of `size` bytes falls in, and a class's block size (data only); kClasses for
  // a request above kLargest.
  static size_t ClassOf(size_t size);
  static size_t ClassSize(size_t cls);
  static constexpr size_t kClasses = 15 + 12 + 12;

  // Bytes of the chunks the pool holds now.
  size_t ChunkBytes() const { return chunkBytes_; }
  // The class a block of the runtime's heap records.
  static constexpr size_t kHeapBlock = kClasses;

 private:
  struct FreeBlock {
    FreeBlock* next;
  };
  struct Chunk {
    Chunk* next;
    size_t live;  // blocks of the chunk in use
  };
  void Lock();
  void Unlock() { busy_.clear(std::memory_order_release); }
  // A new block of the class from the current chunk, or from a new one.
  char* Carve(size_t whole);
  // Takes an unused chunk out of the list and gives it back to the runtime's heap.
  void GiveBack(Chunk* chunk);

  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  FreeBlock* free_[kClasses] = {};
  Chunk* chunks_ = nullptr;
  char* carve_ = nullptr;  // the unused end of the newest chunk
  size_t carveLeft_ = 0;
  size_t chunkBytes_ = 0;
  std::atomic<bool> retired_{false};
};

}  // namespace memory
