// The pause gate of the workers' loops: while the user is asked whether to stop, the item, folder and
// document loops wait at their next boundary instead of working on under the question.
#pragma once

#include <afx.h>

#include <atomic>
#include <vector>

// One gate serves every worker that uses the Notes store (it lives beside the store's stop flag).
//
// The user-interface thread holds the gate while a question about the workers is open and releases
// it once the question is answered (after raising the stop flags on Yes). A worker passes the gate at
// each item or folder boundary: held, it waits there; it is never suspended. While it waits, its
// thread's description says so (WAITING_THREAD_DESCRIPTION), for debuggers and for whoever watches
// the program from outside; the description it had comes back when it goes on.
//
// A worker's run is a CRun: made on the user-interface thread just before the worker starts (so that
// a Stop pressed at once finds it), moved to the worker, and ended by the worker once its loops are
// done, or by the run's destruction however the worker leaves. The end waits like a boundary and only
// then stops counting the run, so nothing the run does at its end (its final message) happens while
// a question is open; a Hold that comes after the end fails, and a finished run is never asked about.
//
// A worker's dialog and a question are never open together: a worker about to open a dialog takes a
// CDialogTurn, which waits like a boundary (whether or not the worker's run still counts), and while
// the turn lives no Hold succeeds (the user answers the dialog first).
//
// Holds nest: the gate opens when each Hold has had its Release. A thread that must wait for one
// worker's end while a question may be open (the worker would otherwise wait forever) lets that
// worker through with a CLetThrough; every other worker stays held.
class CPauseGate {
 public:
  // What the thread of a worker that waits at the gate is described as.
  static const wchar_t WAITING_THREAD_DESCRIPTION[];

  // A counted run; one that is moved from, or made by default, counts nothing.
  class CRun {
   public:
    CRun() : m_pGate(nullptr) {}
    explicit CRun(CPauseGate& gate);
    CRun(CRun&& other) noexcept : m_pGate(other.m_pGate) { other.m_pGate = nullptr; }
    CRun& operator=(CRun&& other) noexcept;
    ~CRun() { End(); }
    CRun(const CRun&) = delete;
    CRun& operator=(const CRun&) = delete;

    // Waits like a boundary, then the run no longer counts. Nothing for a run that counts nothing.
    void End();

   private:
    CPauseGate* m_pGate;
  };

  // The turn of one dialog of the calling worker, from just before it opens until it has ended: made
  // once no question holds the gate (or the worker is let through).
  class CDialogTurn {
   public:
    explicit CDialogTurn(CPauseGate& gate);
    ~CDialogTurn() { End(); }
    CDialogTurn(const CDialogTurn&) = delete;
    CDialogTurn& operator=(const CDialogTurn&) = delete;

    // Ends the turn before its destruction, from any thread (the user-interface thread, when the dialog
    // will not open on this turn); once only.
    void End();

   private:
    CPauseGate& m_gate;
    // Under the gate's lock.
    BOOL m_bEnded;
  };

  // While it lives, the worker of thread nThreadId passes the gate and ends its run whatever is held
  // (user-interface thread, around a wait for that worker's end).
  class CLetThrough {
   public:
    CLetThrough(CPauseGate& gate, DWORD nThreadId);
    ~CLetThrough();
    CLetThrough(const CLetThrough&) = delete;
    CLetThrough& operator=(const CLetThrough&) = delete;

   private:
    CPauseGate& m_gate;
    DWORD m_nThreadId;
  };

  CPauseGate();
  ~CPauseGate();
  CPauseGate(const CPauseGate&) = delete;
  CPauseGate& operator=(const CPauseGate&) = delete;

  // ---- Workers ----
  // At an item or folder boundary: returns at once while the gate is open, else once it opens (or
  // the calling worker is let through).
  void Pass();

  // ---- The user-interface thread ----
  // Holds every counted run at its next boundary, and every worker's dialog before it opens. FALSE,
  // with nothing held, when no run is counted (a finished run is not asked about) or a worker's dialog
  // has its turn; *pbDialogTurn (when given) then says whether the dialog's turn alone kept the hold
  // off, so that the question can be asked once the turn is over.
  BOOL Hold(BOOL* pbDialogTurn = nullptr);
  // As Hold, and also when no run is counted, so that a worker's dialog still to come waits for the
  // answer (a question about the whole program, not about a run).
  BOOL HoldAll(BOOL* pbDialogTurn = nullptr);
  void Release();
  // TRUE while at least one Hold has not been released.
  BOOL IsHeld() const;
  // How many workers wait at the gate now: a held worker shows here once it has reached its boundary.
  int GetWaitingCount() const { return m_nWaiting.load(); }

 private:
  // Waits, with the lock taken, until the gate is open for the calling thread.
  void WaitWhileHeld();
  BOOL IsHeldFor(DWORD nThreadId) const;

  BOOL HoldIf(BOOL bWithoutRuns, BOOL* pbDialogTurn);

  mutable CRITICAL_SECTION m_lock;
  // Woken at every release and let-through.
  CONDITION_VARIABLE m_changed;
  int m_nRuns;
  // Workers' dialogs that have their turn.
  int m_nDialogs;
  // Changed under the lock; read without it by Pass, so that an open gate costs no wait.
  std::atomic<int> m_nHolds;
  std::atomic<int> m_nWaiting;
  // The threads let through, once for each CLetThrough that lives.
  std::vector<DWORD> m_letThrough;
};
