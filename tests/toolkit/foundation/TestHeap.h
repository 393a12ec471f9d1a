// The foundation tests' new and delete, with two watches a test can turn on. The allocation cap:
// while g_capActive is set, every allocation is measured (the largest goes to g_largestAllocation) and
// one beyond 8 MB fails as a real one would. The guarded heap: while a GuardedHeapScope lives, every
// object the test's thread makes gets pages of its own, ending where its memory ends, and delete makes
// those pages inaccessible instead of freeing them, so that a loop that uses an object after a message
// destroyed it faults at that use (and the test program fails), where the ordinary heap would let it
// read or write freed memory unnoticed. Otherwise new and delete are malloc and free.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>

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

// What the tests that destroy a window inside one of its loops use with the guarded heap.

// A window of class TWnd that deletes itself with its window, as one that its owner made on the heap
// does; *pDeleted says when it went.
template <class TWnd>
class SelfDeletingWnd : public TWnd {
 public:
  explicit SelfDeletingWnd(bool* pDeleted) : m_pDeleted(pDeleted) {}
  ~SelfDeletingWnd() override { *m_pDeleted = true; }

 protected:
  void PostNcDestroy() override { delete this; }

 private:
  bool* m_pDeleted;
};

// Presses the left button (real input) and destroys hWnd from inside the modal loop that the press
// starts: a thread timer, whose messages that loop dispatches, destroys it once a window of this thread
// holds the mouse capture. The button goes up once the window is gone (or after 10 s, when no loop took
// the capture). Dispatches messages until ended() holds, at most 10 s.
void PressAndDestroyInsideTheLoop(HWND hWnd, const std::function<bool()>& ended);
