// The foundation tests' new and delete, with two watches a test can turn on. The allocation cap:
// while g_capActive is set, every allocation is measured (the largest goes to g_largestAllocation) and
// one beyond 8 MB fails as a real one would. The guarded heap: while a GuardedHeapScope lives, every
// object the test's thread makes gets pages of its own, ending where its memory ends, and delete makes
// those pages inaccessible instead of freeing them, so that a loop that uses an object after a message
// destroyed it faults at that use (and the test program fails), where the ordinary heap would let it
// read or write freed memory unnoticed. Otherwise new and delete are malloc and free.
#pragma once

#include <atomic>
#include <cstddef>

extern std::atomic<bool> g_capActive;
extern std::atomic<size_t> g_largestAllocation;

class GuardedHeapScope {
 public:
  GuardedHeapScope();
  ~GuardedHeapScope();
  GuardedHeapScope(const GuardedHeapScope&) = delete;
  GuardedHeapScope& operator=(const GuardedHeapScope&) = delete;

  // How many objects were made in guarded pages, and how many of them were deleted since.
  static int MadeCount();
  static int DeletedCount();
};
