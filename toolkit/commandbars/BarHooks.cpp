// The thread's tracking state and the registries of hook sinks. The hook procedures themselves (the
// click test, the key hook, the shared window procedure) come with the hooks.
#include "BarHooks.h"

#include "CommandBar.h"

namespace {

// Per-thread objects without thread_local destructors (MinGW's static runtime runs them unreliably at
// thread exit); they are freed with the process.
DWORD g_dwTrackerSlot = TLS_OUT_OF_INDEXES;
DWORD g_dwKeyboardSlot = TLS_OUT_OF_INDEXES;

template <class T>
T* ThreadObject(DWORD& dwSlot) {
  static CRITICAL_SECTION* pLock = [] {
    auto* p = new CRITICAL_SECTION;
    ::InitializeCriticalSection(p);
    return p;
  }();
  if (dwSlot == TLS_OUT_OF_INDEXES) {
    ::EnterCriticalSection(pLock);
    if (dwSlot == TLS_OUT_OF_INDEXES) dwSlot = ::TlsAlloc();
    ::LeaveCriticalSection(pLock);
  }
  T* pObject = static_cast<T*>(::TlsGetValue(dwSlot));
  if (pObject == nullptr) {
    pObject = new T;
    ::TlsSetValue(dwSlot, pObject);
  }
  return pObject;
}

}  // namespace

// ---- Tracking state ----------------------------------------------------------------------------------

CXTPBarMouseTracker::CXTPBarMouseTracker() = default;

CXTPBarMouseTracker::~CXTPBarMouseTracker() { SetMouseHook(FALSE); }

CXTPBarMouseTracker* PASCAL CXTPBarMouseTracker::GetThreadState() {
  return ThreadObject<CXTPBarMouseTracker>(g_dwTrackerSlot);
}

void CXTPBarMouseTracker::TrackBar(CXTPCommandBar* pBar) {
  if (m_arrTracked.GetSize() == 0 && m_pHotBar != nullptr && m_pHotBar != pBar) {
    CXTPCommandBar* pHotBar = m_pHotBar;
    m_pHotBar = nullptr;
    if (pHotBar->GetSafeHwnd() != nullptr) pHotBar->SetSelected(-1);
  }
  if (!IsTracked(pBar)) m_arrTracked.Add(pBar);
}

void CXTPBarMouseTracker::UntrackBar(CXTPCommandBar* pBar) {
  for (INT_PTR i = m_arrTracked.GetSize() - 1; i >= 0; --i) {
    if (m_arrTracked[i] == pBar) m_arrTracked.RemoveAt(i);
  }
  if (m_arrTracked.GetSize() == 0) {
    CPoint pt;
    if (::GetCursorPos(&pt)) ::SetCursorPos(pt.x, pt.y);
    m_bSwallowNextButtonUp = FALSE;
  }
}

void CXTPBarMouseTracker::CloseAllTracked() {
  while (m_arrTracked.GetSize() > 0) {
    CXTPCommandBar* pBar = m_arrTracked[0];
    const INT_PTR nBefore = m_arrTracked.GetSize();
    pBar->InternalAddRef();
    pBar->EnterTracking(0);
    if (m_arrTracked.GetSize() == nBefore && m_arrTracked[0] == pBar) m_arrTracked.RemoveAt(0);
    pBar->InternalRelease();
  }
}

void CXTPBarMouseTracker::CloseUnlocked() {
  if (m_arrTracked.GetSize() == 0 || !m_arrTracked[0]->IsMouseLocked()) return;
  CArray<CXTPCommandBar*, CXTPCommandBar*> arrBars;
  arrBars.Copy(m_arrTracked);
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) {
    if (IsTracked(arrBars[i]) && !arrBars[i]->IsMouseLocked()) arrBars[i]->EnterTracking(0);
  }
}

void CXTPBarMouseTracker::LockTracked(BOOL bLock) {
  for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i) m_arrTracked[i]->LockRecurse(bLock);
}

BOOL CXTPBarMouseTracker::IsTracked(const CXTPCommandBar* pBar) const {
  for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i) {
    if (m_arrTracked[i] == pBar) return TRUE;
  }
  return FALSE;
}

BOOL CXTPBarMouseTracker::IsTrackingOther(const CXTPCommandBar* pBar) const {
  if (m_arrTracked.GetSize() == 0) return FALSE;
  return pBar == nullptr || pBar->IsMouseLocked() || !IsTracked(pBar);
}

void CXTPBarMouseTracker::AddExtraWindow(HWND hWnd) {
  for (INT_PTR i = 0; i < m_arrExtraWindows.GetSize(); ++i) {
    if (m_arrExtraWindows[i] == hWnd) return;
  }
  m_arrExtraWindows.Add(hWnd);
}

void CXTPBarMouseTracker::RemoveExtraWindow(HWND hWnd) {
  for (INT_PTR i = m_arrExtraWindows.GetSize() - 1; i >= 0; --i) {
    if (m_arrExtraWindows[i] == hWnd) m_arrExtraWindows.RemoveAt(i);
  }
}

void CXTPBarMouseTracker::TrackMouseLeave(HWND hWnd) {
  if (hWnd == m_hwndHover) return;
  if (m_hwndHover != nullptr && ::IsWindow(m_hwndHover)) ::SendMessage(m_hwndHover, WM_MOUSELEAVE, 0, 0);
  m_hwndHover = hWnd;
  if (hWnd != nullptr) {
    TRACKMOUSEEVENT tme = {};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hWnd;
    ::TrackMouseEvent(&tme);
  }
}

void CXTPBarMouseTracker::SetMouseHook(BOOL bSet) {
  if (!bSet && m_hHookMouse != nullptr) {
    ::UnhookWindowsHookEx(m_hHookMouse);
    m_hHookMouse = nullptr;
  }
}

void CXTPBarMouseTracker::OnBarDestroyed(CXTPCommandBar* pBar) {
  UntrackBar(pBar);
  if (m_pHotBar == pBar) m_pHotBar = nullptr;
}

BOOL CXTPBarMouseTracker::OnMouseWheel(MSG*) { return FALSE; }

// ---- Keyboard hook -----------------------------------------------------------------------------------

CXTPBarKeyboardHook* PASCAL CXTPBarKeyboardHook::GetThreadState() {
  return ThreadObject<CXTPBarKeyboardHook>(g_dwKeyboardSlot);
}

void CXTPBarKeyboardHook::AddSink(CXTPHookSink* pSink) {
  for (INT_PTR i = 0; i < m_arrSinks.GetSize(); ++i) {
    if (m_arrSinks[i] == pSink) return;
  }
  m_arrSinks.Add(pSink);
}

void CXTPBarKeyboardHook::RemoveSink(CXTPHookSink* pSink) {
  for (INT_PTR i = m_arrSinks.GetSize() - 1; i >= 0; --i) {
    if (m_arrSinks[i] == pSink) m_arrSinks.RemoveAt(i);
  }
}

// ---- Window subclassing ------------------------------------------------------------------------------

CXTPWindowSubclassHooks* PASCAL CXTPWindowSubclassHooks::GetInstance() {
  static CXTPWindowSubclassHooks hooks;
  return &hooks;
}

void CXTPWindowSubclassHooks::AddSink(HWND, CXTPHookSink*) {}
void CXTPWindowSubclassHooks::RemoveSink(HWND, CXTPHookSink*) {}
void CXTPWindowSubclassHooks::RemoveSinkEverywhere(CXTPHookSink*) {}
