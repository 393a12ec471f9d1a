// The foundation tests' global new and delete: the allocation cap, and the guarded heap, which hands out
// pages of its own while a GuardedHeapScope lives and keeps what it hands out in a table, so that delete
// knows a guarded block at any time (objects made in a scope may go after it).
#include "TestHeap.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <thread>

#include "RealInput.h"
#include "WindowTest.h"

// The replacement operators below pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

std::atomic<bool> g_capActive{false};
std::atomic<size_t> g_largestAllocation{0};

namespace {

const size_t kAllocationCap = 8 * 1024 * 1024;
const size_t kPage = 4096;
// Guarded blocks, by address, in a table of their own that needs no allocation.
const size_t kTableSize = size_t(1) << 18;
void* g_table[kTableSize];
// The thread whose allocations a scope guards; the others keep the ordinary heap.
int g_nScopes = 0;
DWORD g_dwScopeThread = 0;
int g_nMade = 0;
int g_nDeleted = 0;

size_t Slot(void* p) { return (reinterpret_cast<uintptr_t>(p) >> 4) * 0x9E3779B97F4A7C15ull >> 46; }

void Remember(void* p) {
  for (size_t i = Slot(p);; i = (i + 1) % kTableSize) {
    if (g_table[i] == nullptr) {
      g_table[i] = p;
      return;
    }
  }
}

bool IsGuarded(void* p) {
  if (g_nMade == 0) return false;
  for (size_t i = Slot(p); g_table[i] != nullptr; i = (i + 1) % kTableSize) {
    if (g_table[i] == p) return true;
  }
  return false;
}

// A block that ends where its pages end, so that running past it faults too.
void* GuardedNew(size_t nSize) {
  const size_t nBlock = (nSize + 15) & ~size_t(15);
  const size_t nPages = (nBlock + kPage - 1) / kPage * kPage;
  BYTE* pBase = static_cast<BYTE*>(::VirtualAlloc(nullptr, nPages, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (pBase == nullptr) return nullptr;
  void* p = pBase + nPages - (nBlock == 0 ? 16 : nBlock);
  Remember(p);
  ++g_nMade;
  return p;
}

void GuardedDelete(void* p) {
  MEMORY_BASIC_INFORMATION info = {};
  ::VirtualQuery(p, &info, sizeof(info));
  DWORD dwOld = 0;
  // A second delete of the same block faults here, on pages that are already inaccessible.
  *static_cast<volatile BYTE*>(p) = 0;
  ::VirtualProtect(
      info.AllocationBase,
      static_cast<BYTE*>(info.BaseAddress) + info.RegionSize - static_cast<BYTE*>(info.AllocationBase),
      PAGE_NOACCESS, &dwOld);
  ++g_nDeleted;
}

void* New(size_t nSize) {
  if (g_capActive.load(std::memory_order_relaxed)) {
    size_t nLargest = g_largestAllocation.load(std::memory_order_relaxed);
    while (nSize > nLargest && !g_largestAllocation.compare_exchange_weak(nLargest, nSize)) {
    }
    if (nSize > kAllocationCap) return nullptr;
  }
  if (g_nScopes > 0 && ::GetCurrentThreadId() == g_dwScopeThread) {
    if (void* p = GuardedNew(nSize)) return p;
  }
  return std::malloc(nSize != 0 ? nSize : 1);
}

void Delete(void* p) {
  if (p == nullptr) return;
  if (IsGuarded(p)) {
    GuardedDelete(p);
  } else {
    std::free(p);
  }
}

}  // namespace

GuardedHeapScope::GuardedHeapScope() {
  if (g_nScopes++ == 0) g_dwScopeThread = ::GetCurrentThreadId();
}
GuardedHeapScope::~GuardedHeapScope() { --g_nScopes; }
int GuardedHeapScope::MadeCount() { return g_nMade; }
int GuardedHeapScope::DeletedCount() { return g_nDeleted; }

void* operator new(size_t nSize) {
  if (void* p = New(nSize)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t nSize) {
  if (void* p = New(nSize)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t nSize, const std::nothrow_t&) noexcept { return New(nSize); }
void* operator new[](size_t nSize, const std::nothrow_t&) noexcept { return New(nSize); }
void operator delete(void* p) noexcept { Delete(p); }
void operator delete[](void* p) noexcept { Delete(p); }
void operator delete(void* p, size_t) noexcept { Delete(p); }
void operator delete[](void* p, size_t) noexcept { Delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Delete(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Delete(p); }

namespace {
const DWORD LOOP_LIMIT_MS = 10000;
HWND g_hWndToDestroy = nullptr;
HANDLE g_hDestroyed = nullptr;
void CALLBACK DestroyOnceCaptured(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
  if (::GetCapture() == nullptr) return;
  ::KillTimer(nullptr, nIDEvent);
  if (::IsWindow(g_hWndToDestroy)) ::DestroyWindow(g_hWndToDestroy);
  ::SetEvent(g_hDestroyed);
}
}  // namespace

void PressAndDestroyInsideTheLoop(HWND hWnd, const std::function<bool()>& ended) {
  g_hWndToDestroy = hWnd;
  g_hDestroyed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 10, DestroyOnceCaptured);
  std::thread release([] {
    ::WaitForSingleObject(g_hDestroyed, LOOP_LIMIT_MS);
    testsupport::MouseButton(false);
  });
  testsupport::MouseButton(true);
  testsupport::PumpUntil(ended, LOOP_LIMIT_MS);
  release.join();
  ::KillTimer(nullptr, nTimer);
  ::CloseHandle(g_hDestroyed);
  g_hDestroyed = nullptr;
}
