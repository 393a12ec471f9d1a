// The workers' pause gate: a run count, a hold count and the event the workers wait on.
#include "PauseGate.h"

CPauseGate::CPauseGate() : m_hOpen(::CreateEventW(nullptr, TRUE, TRUE, nullptr)), m_nRuns(0), m_nHolds(0), m_nWaiting(0) {
  ::InitializeCriticalSection(&m_lock);
}

CPauseGate::~CPauseGate() {
  if (m_hOpen != nullptr) ::CloseHandle(m_hOpen);
  ::DeleteCriticalSection(&m_lock);
}

void CPauseGate::UpdateEvent() {
  if (m_hOpen == nullptr) return;
  if (m_nHolds > 0) {
    ::ResetEvent(m_hOpen);
  } else {
    ::SetEvent(m_hOpen);
  }
}

void CPauseGate::BeginRun() {
  ::EnterCriticalSection(&m_lock);
  ++m_nRuns;
  ::LeaveCriticalSection(&m_lock);
}

void CPauseGate::Pass() {
  // A hold that comes just after this test takes effect at the next boundary, as one that comes just
  // after the wait would. Without its event the gate holds nobody.
  if (m_nHolds.load() == 0 || m_hOpen == nullptr) return;
  ++m_nWaiting;
  ::WaitForSingleObject(m_hOpen, INFINITE);
  --m_nWaiting;
}

void CPauseGate::EndRun() {
  for (;;) {
    // The test and the count change are one step, so that no Hold slips in between them.
    ::EnterCriticalSection(&m_lock);
    if (m_nHolds == 0 || m_hOpen == nullptr) {
      if (m_nRuns > 0) --m_nRuns;
      ::LeaveCriticalSection(&m_lock);
      return;
    }
    ::LeaveCriticalSection(&m_lock);
    Pass();
  }
}

BOOL CPauseGate::Hold() {
  ::EnterCriticalSection(&m_lock);
  const BOOL bHeld = m_nRuns > 0;
  if (bHeld) {
    ++m_nHolds;
    UpdateEvent();
  }
  ::LeaveCriticalSection(&m_lock);
  return bHeld;
}

void CPauseGate::Release() {
  ::EnterCriticalSection(&m_lock);
  if (m_nHolds > 0) --m_nHolds;
  UpdateEvent();
  ::LeaveCriticalSection(&m_lock);
}

void CPauseGate::ReleaseAll() {
  ::EnterCriticalSection(&m_lock);
  m_nHolds = 0;
  UpdateEvent();
  ::LeaveCriticalSection(&m_lock);
}

BOOL CPauseGate::IsHeld() const {
  ::EnterCriticalSection(&m_lock);
  const BOOL bHeld = m_nHolds > 0;
  ::LeaveCriticalSection(&m_lock);
  return bHeld;
}
