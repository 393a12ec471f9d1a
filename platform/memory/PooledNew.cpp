// The operators new and delete of a module that takes its small blocks from one small-block pool.
// Linked only into a DLL whose C++ objects never cross its boundary (COM servers, a library with a
// C++ interface of its own classes): a block must be freed by the module that allocated it.
#include <cstddef>
#include <new>

#include "SmallBlockPool.h"

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
// Frees the runtime's reserve for exceptions thrown when memory is exhausted (allocated with the
// module's own copy of the runtime when it loads).
void __freeres() noexcept;
}  // namespace __gnu_cxx
#endif

namespace {

// Never destroyed: blocks may still be freed by the destructors of other static objects while the
// module unloads.
memory::SmallBlockPool& Pool() {
  alignas(memory::SmallBlockPool) static unsigned char storage[sizeof(memory::SmallBlockPool)];
  static memory::SmallBlockPool* pool = new (storage) memory::SmallBlockPool;
  return *pool;
}

// A module can be unloaded while the process goes on (COM unloads a server once the apartment that
// used it ends): its chunks must then go back to the heap, or every load and unload keeps the most the
// module ever used. Made before the module's other static objects, so destroyed after them.
struct PoolRetirement {
  PoolRetirement() { Pool(); }
  ~PoolRetirement() {
    Pool().Retire();
#if defined(__GLIBCXX__)
    __gnu_cxx::__freeres();
#endif
  }
};
PoolRetirement g_retirement __attribute__((init_priority(101)));

void* AllocateOrThrow(std::size_t size) {
  for (;;) {
    if (void* block = Pool().Allocate(size)) return block;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Pool().Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Pool().Allocate(size); }
void operator delete(void* block) noexcept { Pool().Free(block); }
void operator delete[](void* block) noexcept { Pool().Free(block); }
void operator delete(void* block, std::size_t) noexcept { Pool().Free(block); }
void operator delete[](void* block, std::size_t) noexcept { Pool().Free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Pool().Free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Pool().Free(block); }
