// The pause gate of the workers' loops: while the user is asked whether to stop, the item, folder and
// document loops wait at their next boundary instead of working on under the question.
#pragma once

#include <afx.h>

#include <atomic>

// One gate serves every worker that uses the Notes store (it lives beside the store's stop flag).
//
// The user-interface thread holds the gate while its stop question is open and releases it once the
// question is answered (after raising the stop flags on Yes). A worker passes the gate at each item or
// folder boundary: held, it waits on the gate's event there; it is never suspended.
//
// A worker's run is counted from BeginRun (called on the user-interface thread just before the worker
// starts, so that a Stop pressed at once finds it) to EndRun (called by the worker once its loops are
// done). EndRun waits like a boundary and only then stops counting the run, so nothing the run does at
// its end (its final message) happens while a question is open; a Hold that comes after EndRun fails,
// and a finished run is never asked about.
//
// Holds nest: the gate opens when each Hold has had its Release. ReleaseAll opens it whatever the
// count, for a thread that must wait for a worker to end (the worker would otherwise wait forever).
class CPauseGate {
 public:
  CPauseGate();
  ~CPauseGate();
  CPauseGate(const CPauseGate&) = delete;
  CPauseGate& operator=(const CPauseGate&) = delete;

  // ---- Workers ----
  void BeginRun();
  // At an item or folder boundary: returns at once while the gate is open, else once it opens.
  void Pass();
  // Waits like Pass, then the run no longer counts. Paired with BeginRun.
  void EndRun();

  // ---- The user-interface thread ----
  // Holds every counted run at its next boundary. FALSE, with nothing held, when no run is counted.
  BOOL Hold();
  void Release();
  void ReleaseAll();
  // TRUE while at least one Hold has not been released.
  BOOL IsHeld() const;
  // How many workers wait at the gate now: a held worker shows here once it has reached its boundary.
  int GetWaitingCount() const { return m_nWaiting.load(); }

 private:
  // Sets or resets the event by the hold count; called with the lock taken.
  void UpdateEvent();

  mutable CRITICAL_SECTION m_lock;
  // Manual-reset, signalled while the gate is open.
  HANDLE m_hOpen;
  int m_nRuns;
  // Changed under the lock; read without it by Pass, so that an open gate costs no wait.
  std::atomic<int> m_nHolds;
  std::atomic<int> m_nWaiting;
};
