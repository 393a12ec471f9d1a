// SQLite's memory for the Notes database files: the C runtime's heap, except that blocks SQLite gives
// back are kept for reuse by size class.
#include "SqliteMemory.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace lnstore {
namespace {

// Each block starts with a header holding its usable size; 16 bytes keep the data as aligned as the
// runtime's own blocks.
constexpr size_t kHeader = 16;
// Blocks up to kLargest bytes (header included) are rounded up to a class size and kept on the free
// list of their class when given back, so that SQLite's steady traffic (cursors, records, the bit maps
// of every savepoint, the statement journal's pieces, the b-tree balancing space) stops reaching the
// runtime's heap once the first items are written. Under Wine that heap keeps its free blocks above
// 256 bytes on four lists by size and walks a list from its head until a block is large enough, so
// every hole left on a list slows later requests down. Classes are kSmallStep apart up to kSmallLimit,
// kStep apart above.
constexpr size_t kSmallStep = 64;
constexpr size_t kSmallLimit = 2048;
constexpr size_t kLargest = 96 * 1024;
constexpr size_t kStep = 1024;
constexpr size_t kSmallClasses = kSmallLimit / kSmallStep + 1;
constexpr size_t kClasses = kSmallClasses + kLargest / kStep + 1;
// At most this many bytes are kept unused; a block beyond it goes back to the runtime.
constexpr size_t kKeptBytesLimit = 8u << 20;

struct FreeBlock {
  FreeBlock* next;
};

std::mutex g_mutex;
FreeBlock* g_free[kClasses];
size_t g_keptBytes = 0;

size_t& UsableSize(void* block) { return *static_cast<size_t*>(block); }

// The whole size (header included) of the class that takes a block of `whole` bytes; `whole` itself
// above kLargest.
size_t ClassSize(size_t whole) {
  if (whole <= kSmallLimit) return (whole + kSmallStep - 1) / kSmallStep * kSmallStep;
  if (whole <= kLargest) return (whole + kStep - 1) / kStep * kStep;
  return whole;
}

// The size handed out for a request of n bytes (header excluded).
size_t Rounded(size_t n) {
  n = (n + 7) & ~size_t(7);
  return ClassSize(n + kHeader) - kHeader;
}

// The free list of a block of this usable size; kClasses for a block that is not kept.
size_t ClassOf(size_t usable) {
  const size_t whole = usable + kHeader;
  if (whole <= kSmallLimit) return whole % kSmallStep == 0 ? whole / kSmallStep : kClasses;
  if (whole <= kLargest) return whole % kStep == 0 ? kSmallClasses + whole / kStep : kClasses;
  return kClasses;
}

void* Malloc(int bytes) {
  if (bytes <= 0) return nullptr;
  const size_t usable = Rounded(static_cast<size_t>(bytes));
  const size_t cls = ClassOf(usable);
  if (cls < kClasses) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (FreeBlock* block = g_free[cls]) {
      g_free[cls] = block->next;
      g_keptBytes -= usable + kHeader;
      char* base = reinterpret_cast<char*>(block);
      UsableSize(base) = usable;
      return base + kHeader;
    }
  }
  char* base = static_cast<char*>(std::malloc(usable + kHeader));
  if (!base) return nullptr;
  UsableSize(base) = usable;
  return base + kHeader;
}

void Free(void* data) {
  if (!data) return;
  char* base = static_cast<char*>(data) - kHeader;
  const size_t usable = UsableSize(base);
  const size_t cls = ClassOf(usable);
  if (cls < kClasses) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_keptBytes + usable + kHeader <= kKeptBytesLimit) {
      FreeBlock* block = reinterpret_cast<FreeBlock*>(base);
      block->next = g_free[cls];
      g_free[cls] = block;
      g_keptBytes += usable + kHeader;
      return;
    }
  }
  std::free(base);
}

int Size(void* data) { return data ? static_cast<int>(UsableSize(static_cast<char*>(data) - kHeader)) : 0; }

void* Realloc(void* data, int bytes) {
  if (!data) return Malloc(bytes);
  const size_t usable = UsableSize(static_cast<char*>(data) - kHeader);
  if (bytes > 0 && static_cast<size_t>(bytes) <= usable) return data;
  void* moved = Malloc(bytes);
  if (!moved) return nullptr;
  std::memcpy(moved, data, usable);
  Free(data);
  return moved;
}

int Roundup(int bytes) { return static_cast<int>(Rounded(static_cast<size_t>(bytes))); }

int Init(void*) { return SQLITE_OK; }
void Shutdown(void*) {}

}  // namespace

void UseOwnSqliteMemory() {
  static std::once_flag once;
  std::call_once(once, [] {
    static const sqlite3_mem_methods methods = {Malloc,  Free, Realloc,  Size,
                                                Roundup, Init, Shutdown, nullptr};
    // Refused only when SQLite was started already; it then keeps the runtime's heap, which works too.
    sqlite3_config(SQLITE_CONFIG_MALLOC, &methods);
    // Nothing reads SQLite's memory statistics, and keeping them takes a lock at every allocation.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  });
}

}  // namespace lnstore
