// The workers' pause gate: a run count, a hold count, the threads let through, and the condition the
// workers wait on.
#include "PauseGate.h"

#include <algorithm>

const wchar_t CPauseGate::WAITING_THREAD_DESCRIPTION[] = L"Brindle worker waiting at the pause gate";

namespace {

// The thread descriptions exist from Windows 10 on; without them a waiting thread says nothing.
typedef HRESULT(WINAPI* SetThreadDescriptionProc)(HANDLE, PCWSTR);
typedef HRESULT(WINAPI* GetThreadDescriptionProc)(HANDLE, PWSTR*);

template <typename Proc>
Proc KernelEntry(const char* pszName) {
  HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
  return hKernel != nullptr
             ? reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(hKernel, pszName)))
             : nullptr;
}

struct ThreadDescriptionCalls {
  ThreadDescriptionCalls()
      : pfnSet(KernelEntry<SetThreadDescriptionProc>("SetThreadDescription")),
        pfnGet(KernelEntry<GetThreadDescriptionProc>("GetThreadDescription")) {}
  SetThreadDescriptionProc pfnSet;
  GetThreadDescriptionProc pfnGet;
};

const ThreadDescriptionCalls& DescriptionCalls() {
  static const ThreadDescriptionCalls calls;
  return calls;
}

// Describes the calling thread as waiting at the gate while it lives, and as before afterwards.
class CWaitingDescription {
 public:
  CWaitingDescription() : m_pOld(nullptr) {
    const ThreadDescriptionCalls& calls = DescriptionCalls();
    if (calls.pfnSet == nullptr || calls.pfnGet == nullptr) return;
    if (FAILED(calls.pfnGet(::GetCurrentThread(), &m_pOld))) m_pOld = nullptr;
    calls.pfnSet(::GetCurrentThread(), CPauseGate::WAITING_THREAD_DESCRIPTION);
  }
  ~CWaitingDescription() {
    const ThreadDescriptionCalls& calls = DescriptionCalls();
    if (calls.pfnSet == nullptr || calls.pfnGet == nullptr) return;
    calls.pfnSet(::GetCurrentThread(), m_pOld != nullptr ? m_pOld : L"");
    if (m_pOld != nullptr) ::LocalFree(m_pOld);
  }
  CWaitingDescription(const CWaitingDescription&) = delete;
  CWaitingDescription& operator=(const CWaitingDescription&) = delete;

 private:
  PWSTR m_pOld;
};

}  // namespace

CPauseGate::CPauseGate() : m_nRuns(0), m_nDialogs(0), m_nHolds(0), m_nWaiting(0) {
  ::InitializeCriticalSection(&m_lock);
  ::InitializeConditionVariable(&m_changed);
}

CPauseGate::~CPauseGate() { ::DeleteCriticalSection(&m_lock); }

// ---- Runs -------------------------------------------------------------------------------------------
CPauseGate::CRun::CRun(CPauseGate& gate) : m_pGate(&gate) {
  ::EnterCriticalSection(&gate.m_lock);
  ++gate.m_nRuns;
  ::LeaveCriticalSection(&gate.m_lock);
}

CPauseGate::CRun& CPauseGate::CRun::operator=(CRun&& other) noexcept {
  if (this != &other) {
    End();
    m_pGate = other.m_pGate;
    other.m_pGate = nullptr;
  }
  return *this;
}

void CPauseGate::CRun::End() {
  CPauseGate* pGate = m_pGate;
  if (pGate == nullptr) return;
  m_pGate = nullptr;
  // The wait and the count change are one step, so that no Hold slips in between them.
  ::EnterCriticalSection(&pGate->m_lock);
  pGate->WaitWhileHeld();
  if (pGate->m_nRuns > 0) --pGate->m_nRuns;
  ::LeaveCriticalSection(&pGate->m_lock);
}

// ---- Workers' dialogs ----------------------------------------------------------------------------------
CPauseGate::CDialogTurn::CDialogTurn(CPauseGate& gate) : m_gate(gate), m_bEnded(FALSE) {
  // The wait and the count are one step, so that no Hold slips in between them.
  ::EnterCriticalSection(&m_gate.m_lock);
  m_gate.WaitWhileHeld();
  ++m_gate.m_nDialogs;
  ::LeaveCriticalSection(&m_gate.m_lock);
}

void CPauseGate::CDialogTurn::End() {
  ::EnterCriticalSection(&m_gate.m_lock);
  if (!m_bEnded && m_gate.m_nDialogs > 0) --m_gate.m_nDialogs;
  m_bEnded = TRUE;
  ::LeaveCriticalSection(&m_gate.m_lock);
}

// ---- Letting one worker through ------------------------------------------------------------------------
CPauseGate::CLetThrough::CLetThrough(CPauseGate& gate, DWORD nThreadId)
    : m_gate(gate), m_nThreadId(nThreadId) {
  ::EnterCriticalSection(&m_gate.m_lock);
  m_gate.m_letThrough.push_back(nThreadId);
  ::LeaveCriticalSection(&m_gate.m_lock);
  ::WakeAllConditionVariable(&m_gate.m_changed);
}

CPauseGate::CLetThrough::~CLetThrough() {
  ::EnterCriticalSection(&m_gate.m_lock);
  std::vector<DWORD>& threads = m_gate.m_letThrough;
  const auto found = std::find(threads.begin(), threads.end(), m_nThreadId);
  if (found != threads.end()) threads.erase(found);
  ::LeaveCriticalSection(&m_gate.m_lock);
}

// ---- The gate ------------------------------------------------------------------------------------------
BOOL CPauseGate::IsHeldFor(DWORD nThreadId) const {
  return m_nHolds > 0 && std::find(m_letThrough.begin(), m_letThrough.end(), nThreadId) == m_letThrough.end();
}

void CPauseGate::WaitWhileHeld() {
  const DWORD nSelf = ::GetCurrentThreadId();
  if (!IsHeldFor(nSelf)) return;
  // The count is read without the lock: a thread it counts already says that it waits.
  CWaitingDescription described;
  ++m_nWaiting;
  while (IsHeldFor(nSelf)) ::SleepConditionVariableCS(&m_changed, &m_lock, INFINITE);
  --m_nWaiting;
}

void CPauseGate::Pass() {
  // A hold that comes just after this test takes effect at the next boundary, as one that comes just
  // after the wait would.
  if (m_nHolds.load() == 0) return;
  ::EnterCriticalSection(&m_lock);
  WaitWhileHeld();
  ::LeaveCriticalSection(&m_lock);
}

BOOL CPauseGate::Hold(BOOL* pbDialogTurn) { return HoldIf(FALSE, pbDialogTurn); }

BOOL CPauseGate::HoldAll(BOOL* pbDialogTurn) { return HoldIf(TRUE, pbDialogTurn); }

BOOL CPauseGate::HoldIf(BOOL bWithoutRuns, BOOL* pbDialogTurn) {
  ::EnterCriticalSection(&m_lock);
  const BOOL bAsked = bWithoutRuns || m_nRuns > 0;
  const BOOL bHeld = bAsked && m_nDialogs == 0;
  if (bHeld) ++m_nHolds;
  if (pbDialogTurn != nullptr) *pbDialogTurn = bAsked && m_nDialogs > 0;
  ::LeaveCriticalSection(&m_lock);
  return bHeld;
}

void CPauseGate::Release() {
  ::EnterCriticalSection(&m_lock);
  if (m_nHolds > 0) --m_nHolds;
  ::LeaveCriticalSection(&m_lock);
  ::WakeAllConditionVariable(&m_changed);
}

BOOL CPauseGate::IsHeld() const {
  ::EnterCriticalSection(&m_lock);
  const BOOL bHeld = m_nHolds > 0;
  ::LeaveCriticalSection(&m_lock);
  return bHeld;
}
