// The thread's tracking state with its mouse hook and click test, the keyboard and
// call-window-procedure hooks that feed keys to the tracking bars, and the shared window procedure of
// the subclass registry.
#include "BarHooks.h"

#include "CommandBar.h"
#include "PopupBar.h"

#include <DrawHelpers.h>

#include <memory>

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

// The thread's object when it exists, without making one (hook procedures run on its thread).
template <class T>
T* ExistingThreadObject(DWORD dwSlot) {
  return dwSlot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<T*>(::TlsGetValue(dwSlot));
}

BOOL IsButtonDown(UINT nMessage) {
  switch (nMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

// ---- Tracking state ----------------------------------------------------------------------------------

CXTPBarMouseTracker::CXTPBarMouseTracker() { SetMouseHook(TRUE); }

CXTPBarMouseTracker::~CXTPBarMouseTracker() { SetMouseHook(FALSE); }

CXTPBarMouseTracker* PASCAL CXTPBarMouseTracker::GetThreadState() {
  return ThreadObject<CXTPBarMouseTracker>(g_dwTrackerSlot);
}

void CXTPBarMouseTracker::SetMouseHook(BOOL bSet) {
  if (bSet && m_hHookMouse == nullptr) {
    m_hHookMouse = ::SetWindowsHookEx(WH_MOUSE, MouseProc, nullptr, ::GetCurrentThreadId());
  } else if (!bSet && m_hHookMouse != nullptr) {
    ::UnhookWindowsHookEx(m_hHookMouse);
    m_hHookMouse = nullptr;
  }
}

LRESULT CALLBACK CXTPBarMouseTracker::MouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPBarMouseTracker* pState = ExistingThreadObject<CXTPBarMouseTracker>(g_dwTrackerSlot);
  if (nCode == HC_ACTION && pState != nullptr) {
    const MOUSEHOOKSTRUCT* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (pState->OnMouseHook(static_cast<UINT>(wParam), pInfo->pt)) return 1;
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

BOOL CXTPBarMouseTracker::OnMouseHook(UINT nMessage, CPoint point) {
  if (nMessage == WM_LBUTTONDOWN || nMessage == WM_RBUTTONDOWN) m_bSwallowNextButtonUp = FALSE;
  if ((nMessage == WM_LBUTTONUP || nMessage == WM_NCLBUTTONUP) && m_bSwallowNextButtonUp) {
    m_bSwallowNextButtonUp = FALSE;
    return TRUE;
  }
  const BOOL bTracking = m_arrTracked.GetSize() > 0;
  if (bTracking && (nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE) && point == m_ptLastHook)
    return TRUE;
  m_ptLastHook = point;
  if (bTracking) ClickTest(nMessage, point);
  return FALSE;
}

void CXTPBarMouseTracker::ClickTest(UINT nMessage, CPoint point) {
  HWND hWndPoint = ::WindowFromPoint(point);
  // Copies: closing a bar changes the list, and a bar must outlive the test.
  CArray<CXTPCommandBar*, CXTPCommandBar*> arrBars;
  arrBars.Copy(m_arrTracked);
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) arrBars[i]->InternalAddRef();
  BOOL bInside = FALSE;
  for (INT_PTR i = arrBars.GetSize() - 1; i >= 0 && !bInside; --i) {
    CXTPCommandBar* pBar = arrBars[i];
    if (pBar->GetSafeHwnd() == nullptr) continue;
    const int nHit = pBar->IsPointInBar(point, hWndPoint);
    if (nHit == -2) continue;
    if (nHit == 1 || (hWndPoint != nullptr && ::IsChild(pBar->GetSafeHwnd(), hWndPoint))) {
      bInside = TRUE;
      if (pBar->IsMouseLocked() && nMessage != WM_MOUSEMOVE && nMessage != WM_NCMOUSEMOVE &&
          !m_bSwallowNextButtonUp) {
        CloseUnlocked();
        m_ptLastHook = CPoint(0, 0);
      }
    }
  }
  if (!bInside) {
    for (INT_PTR i = 0; i < m_arrExtraWindows.GetSize() && !bInside; ++i) {
      HWND hWnd = m_arrExtraWindows[i];
      if (::IsWindow(hWnd) && ::IsWindowVisible(hWnd) && GetSafeWindowRectFromHandle(hWnd).PtInRect(point))
        bInside = TRUE;
    }
  }
  if (!bInside) {
    if (nMessage == WM_MOUSEMOVE || nMessage == WM_NCMOUSEMOVE) {
      for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) {
        CXTPCommandBar* pBar = arrBars[i];
        if (pBar->GetSafeHwnd() == nullptr || pBar->IsMouseLocked() || !IsTracked(pBar)) continue;
        CPoint ptClient = point;
        pBar->ScreenToClient(&ptClient);
        pBar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
      }
    } else if (nMessage == WM_LBUTTONUP || nMessage == WM_NCLBUTTONUP) {
      if (m_nModalCounter <= 0) CloseAllTracked();
    } else if (IsButtonDown(nMessage)) {
      CloseAllTracked();
    }
  }
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) arrBars[i]->InternalRelease();
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
  BOOL bFound = FALSE;
  for (INT_PTR i = m_arrTracked.GetSize() - 1; i >= 0; --i) {
    if (m_arrTracked[i] == pBar) {
      m_arrTracked.RemoveAt(i);
      bFound = TRUE;
    }
  }
  if (bFound && m_arrTracked.GetSize() == 0) {
    // The window under the cursor gets a fresh mouse move.
    CPoint pt;
    if (::GetCursorPos(&pt)) ::SetCursorPos(pt.x, pt.y);
    m_bSwallowNextButtonUp = FALSE;
    // Menus opened in a later tracking start collapsed again.
    m_bFullMenus = FALSE;
  }
}

void CXTPBarMouseTracker::CloseAllTracked() {
  // Each pass removes the first bar, whether or not it left tracking, so the loop ends.
  for (int nGuard = 0; m_arrTracked.GetSize() > 0 && nGuard < 1000; ++nGuard) {
    CXTPCommandBar* pBar = m_arrTracked[0];
    pBar->InternalAddRef();
    if (pBar->GetSafeHwnd() != nullptr || pBar->IsTrackingMode()) pBar->EnterTracking(0);
    if (m_arrTracked.GetSize() > 0 && m_arrTracked[0] == pBar) m_arrTracked.RemoveAt(0);
    pBar->InternalRelease();
  }
}

void CXTPBarMouseTracker::CloseUnlocked() {
  if (m_arrTracked.GetSize() == 0 || !m_arrTracked[0]->IsMouseLocked()) return;
  CArray<CXTPCommandBar*, CXTPCommandBar*> arrBars;
  arrBars.Copy(m_arrTracked);
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) arrBars[i]->InternalAddRef();
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) {
    if (IsTracked(arrBars[i]) && !arrBars[i]->IsMouseLocked()) arrBars[i]->EnterTracking(0);
  }
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) arrBars[i]->InternalRelease();
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
  HWND hWndOld = m_hwndHover;
  m_hwndHover = hWnd;
  if (hWndOld != nullptr && ::IsWindow(hWndOld)) {
    ::KillTimer(hWndOld, TID_MOUSELEAVE);
    ::SendMessage(hWndOld, WM_MOUSELEAVE, 0, 0);
  }
  if (hWnd != nullptr) ::SetTimer(hWnd, TID_MOUSELEAVE, 50, MouseLeaveTimerProc);
}

void CALLBACK CXTPBarMouseTracker::MouseLeaveTimerProc(HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD) {
  CXTPBarMouseTracker* pState = ExistingThreadObject<CXTPBarMouseTracker>(g_dwTrackerSlot);
  if (pState == nullptr || pState->m_hwndHover != hWnd) {
    ::KillTimer(hWnd, nIDEvent);
    return;
  }
  if (!::IsWindow(hWnd)) {
    ::KillTimer(hWnd, nIDEvent);
    pState->m_hwndHover = nullptr;
    return;
  }
  CPoint pt;
  ::GetCursorPos(&pt);
  const BOOL bInside = GetSafeWindowRectFromHandle(hWnd).PtInRect(pt);
  // A bar of a window left behind or disabled by a modal dialog gets no more mouse moves: its hot
  // control goes as the mouse would leave it.
  const BOOL bActive = ::GetParent(hWnd) == nullptr || (::GetWindowLong(hWnd, GWL_STYLE) & WS_POPUP) != 0 ||
                       (IsTopParentActive(hWnd) && ::IsWindowEnabled(::GetAncestor(hWnd, GA_ROOT)));
  if (bInside && bActive) return;
  ::KillTimer(hWnd, nIDEvent);
  pState->m_hwndHover = nullptr;
  ::PostMessage(hWnd, WM_MOUSELEAVE, 0, 0);
}

BOOL CXTPBarMouseTracker::ConsumeAltCloseRelease() {
  const BOOL bNoted = m_bAltCloseNoted;
  m_bAltCloseNoted = FALSE;
  return bNoted && ::GetTickCount() - m_dwAltCloseTick < 500;
}

void CXTPBarMouseTracker::OnBarDestroyed(CXTPCommandBar* pBar) {
  UntrackBar(pBar);
  if (m_pHotBar == pBar) m_pHotBar = nullptr;
}

BOOL CXTPBarMouseTracker::IsTrackedWindow(HWND hWnd) const {
  for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i) {
    if (m_arrTracked[i]->GetSafeHwnd() == hWnd) return TRUE;
  }
  for (INT_PTR i = 0; i < m_arrExtraWindows.GetSize(); ++i) {
    if (m_arrExtraWindows[i] == hWnd) return TRUE;
  }
  return FALSE;
}

BOOL CXTPBarMouseTracker::IsHostOfTracked(HWND hWnd) const {
  if (hWnd == nullptr || IsTrackedWindow(hWnd)) return FALSE;
  for (INT_PTR i = 0; i < m_arrTracked.GetSize(); ++i) {
    HWND hWndBar = m_arrTracked[i]->GetSafeHwnd();
    if (hWndBar == nullptr) continue;
    for (HWND h = ::GetAncestor(hWndBar, GA_ROOT); h != nullptr; h = ::GetWindow(h, GW_OWNER)) {
      if (h == hWnd) return TRUE;
    }
  }
  return FALSE;
}

void CXTPBarMouseTracker::OnSentMessage(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  if (m_arrTracked.GetSize() == 0) return;
  switch (nMessage) {
    case WM_ACTIVATEAPP:
      if (!wParam) CloseAllTracked();
      return;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE && IsHostOfTracked(hWnd)) CloseAllTracked();
      return;
    case WM_CANCELMODE:
      if (IsHostOfTracked(hWnd)) CloseAllTracked();
      return;
    case WM_WINDOWPOSCHANGED: {
      // Stacking alone leaves the menus where they belong; a move or a new size does not.
      const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(lParam);
      const UINT kNoMoveOrSize = SWP_NOMOVE | SWP_NOSIZE;
      if (pPos != nullptr && (pPos->flags & kNoMoveOrSize) != kNoMoveOrSize && IsHostOfTracked(hWnd))
        CloseAllTracked();
      return;
    }
    case WM_MOUSEACTIVATE: {
      // The click itself went or goes through the mouse hook as well; the test is the same.
      const UINT nButton = HIWORD(lParam);
      CPoint point;
      if (IsButtonDown(nButton) && IsHostOfTracked(hWnd) && ::GetCursorPos(&point)) ClickTest(nButton, point);
      return;
    }
    default:
      return;
  }
}

BOOL CXTPBarMouseTracker::OnMouseWheel(MSG* pMsg) {
  if (m_arrTracked.GetSize() == 0) return FALSE;
  CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, m_arrTracked[m_arrTracked.GetSize() - 1]);
  if (pPopup != nullptr) pPopup->ScrollByWheel(GET_WHEEL_DELTA_WPARAM(pMsg->wParam));
  return TRUE;
}

// ---- Keyboard hook -----------------------------------------------------------------------------------

CXTPBarKeyboardHook* PASCAL CXTPBarKeyboardHook::GetThreadState() {
  return ThreadObject<CXTPBarKeyboardHook>(g_dwKeyboardSlot);
}

BOOL CXTPBarKeyboardHook::HasSink(const CXTPHookSink* pSink) const {
  for (INT_PTR i = 0; i < m_arrSinks.GetSize(); ++i) {
    if (m_arrSinks[i] == pSink) return TRUE;
  }
  return FALSE;
}

void CXTPBarKeyboardHook::AddSink(CXTPHookSink* pSink) {
  SetHooks(TRUE);
  if (!HasSink(pSink)) m_arrSinks.Add(pSink);
}

void CXTPBarKeyboardHook::RemoveSink(CXTPHookSink* pSink) {
  for (INT_PTR i = m_arrSinks.GetSize() - 1; i >= 0; --i) {
    if (m_arrSinks[i] == pSink) m_arrSinks.RemoveAt(i);
  }
  if (m_arrSinks.GetSize() == 0 && !m_bAltReleasePending) SetHooks(FALSE);
}

void CXTPBarKeyboardHook::SetHooks(BOOL bSet) {
  const DWORD dwThread = ::GetCurrentThreadId();
  if (bSet) {
    if (m_hHookKeyboard == nullptr)
      m_hHookKeyboard = ::SetWindowsHookEx(WH_KEYBOARD, KeyboardProc, nullptr, dwThread);
    if (m_hHookCallWndProc == nullptr)
      m_hHookCallWndProc = ::SetWindowsHookEx(WH_CALLWNDPROC, CallWndProc, nullptr, dwThread);
    return;
  }
  if (m_hHookKeyboard != nullptr) ::UnhookWindowsHookEx(m_hHookKeyboard);
  if (m_hHookCallWndProc != nullptr) ::UnhookWindowsHookEx(m_hHookCallWndProc);
  m_hHookKeyboard = m_hHookCallWndProc = nullptr;
}

LRESULT CALLBACK CXTPBarKeyboardHook::KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPBarKeyboardHook* pHook = ExistingThreadObject<CXTPBarKeyboardHook>(g_dwKeyboardSlot);
  const BOOL bKeyDown = (lParam & (1UL << 31)) == 0;
  if (nCode == HC_ACTION && pHook != nullptr && pHook->m_bAltReleasePending && !bKeyDown &&
      wParam == VK_MENU) {
    // The release of the Alt that closed the menus: noted, and the hooks go when nothing else needs them.
    pHook->m_bAltReleasePending = FALSE;
    CXTPBarMouseTracker::GetThreadState()->NoteAltCloseRelease();
    const LRESULT lResult = ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    if (!pHook->IsActive()) pHook->SetHooks(FALSE);
    return lResult;
  }
  if (nCode != HC_ACTION || pHook == nullptr || !pHook->IsActive() || !bKeyDown)
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);

  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  if (wParam == VK_MENU && (lParam & (1 << 29)) && pState->m_nModalCounter <= 0) {
    // Alt closes the menus; holding it down opens nothing again.
    if (lParam & (1 << 30)) return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    pHook->m_bAltReleasePending = TRUE;
    pState->CloseAllTracked();
    return 1;
  }
  // Newest sink first, over a copy: a sink may close bars (and so unregister sinks) while it works.
  CArray<CXTPHookSink*, CXTPHookSink*> arrSinks;
  arrSinks.Copy(pHook->m_arrSinks);
  int nAnswer = 0;
  pHook->m_nHandlingKey++;
  for (INT_PTR i = arrSinks.GetSize() - 1; i >= 0 && nAnswer == 0; --i) {
    if (!pHook->HasSink(arrSinks[i])) continue;
    WPARAM wKey = wParam;
    LPARAM lKey = lParam;
    LRESULT lResult = 0;
    nAnswer = arrSinks[i]->OnHookMessage(nullptr, WM_KEYDOWN, wKey, lKey, lResult);
  }
  pHook->m_nHandlingKey--;
  if (nAnswer == 2) return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  return 1;
}

namespace {

const TCHAR AFTER_KEY_CLASS[] = _T("XTPBarKeyboardHookAfterKey");
// Posted to the message-only window; lParam: the work, which the window runs and frees.
const UINT WM_RUN_AFTER_KEY = WM_APP + 1;

}  // namespace

void CXTPBarKeyboardHook::RunAfterKey(std::function<void()> fnWork) {
  if (m_nHandlingKey <= 0) {
    fnWork();
    return;
  }
  if (m_hWndAfterKey == nullptr || !::IsWindow(m_hWndAfterKey)) {
    static const ATOM atomClass = [] {
      WNDCLASS wndClass = {};
      wndClass.lpfnWndProc = AfterKeyWndProc;
      wndClass.hInstance = ::GetModuleHandle(nullptr);
      wndClass.lpszClassName = AFTER_KEY_CLASS;
      return ::RegisterClass(&wndClass);
    }();
    m_hWndAfterKey = atomClass != 0
                         ? ::CreateWindowEx(0, AFTER_KEY_CLASS, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            ::GetModuleHandle(nullptr), nullptr)
                         : nullptr;
  }
  auto* pWork = new std::function<void()>(std::move(fnWork));
  if (m_hWndAfterKey == nullptr ||
      !::PostMessage(m_hWndAfterKey, WM_RUN_AFTER_KEY, 0, reinterpret_cast<LPARAM>(pWork))) {
    (*pWork)();
    delete pWork;
  }
}

LRESULT CALLBACK CXTPBarKeyboardHook::AfterKeyWndProc(HWND hWnd, UINT nMessage, WPARAM wParam,
                                                      LPARAM lParam) {
  if (nMessage != WM_RUN_AFTER_KEY) return ::DefWindowProc(hWnd, nMessage, wParam, lParam);
  std::unique_ptr<std::function<void()>> pWork(reinterpret_cast<std::function<void()>*>(lParam));
  (*pWork)();
  return 0;
}

LRESULT CALLBACK CXTPBarKeyboardHook::CallWndProc(int nCode, WPARAM wParam, LPARAM lParam) {
  CXTPBarMouseTracker* pState = ExistingThreadObject<CXTPBarMouseTracker>(g_dwTrackerSlot);
  if (nCode == HC_ACTION && pState != nullptr) {
    const CWPSTRUCT* pInfo = reinterpret_cast<const CWPSTRUCT*>(lParam);
    pState->OnSentMessage(pInfo->hwnd, pInfo->message, pInfo->wParam, pInfo->lParam);
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// ---- Window subclassing ------------------------------------------------------------------------------

CXTPWindowSubclassHooks* PASCAL CXTPWindowSubclassHooks::GetInstance() {
  static CXTPWindowSubclassHooks hooks;
  return &hooks;
}

CXTPWindowSubclassHooks::~CXTPWindowSubclassHooks() {
  // At exit: windows that still exist keep working through their own procedures.
  POSITION pos = m_mapRecords.GetStartPosition();
  while (pos != nullptr) {
    HWND hWnd = nullptr;
    Record* pRecord = nullptr;
    m_mapRecords.GetNextAssoc(pos, hWnd, pRecord);
    if (::IsWindow(hWnd) &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC)) == HookWndProc) {
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pRecord->pfnOldWndProc));
    }
    if (pRecord->nDispatch == 0) delete pRecord;
  }
  m_mapRecords.RemoveAll();
}

BOOL CXTPWindowSubclassHooks::HasSink(const Record* pRecord, const CXTPHookSink* pSink) {
  for (INT_PTR i = 0; i < pRecord->arrSinks.GetSize(); ++i) {
    if (pRecord->arrSinks[i] == pSink) return TRUE;
  }
  return FALSE;
}

void CXTPWindowSubclassHooks::AddSink(HWND hWnd, CXTPHookSink* pSink) {
  if (hWnd == nullptr || pSink == nullptr || !::IsWindow(hWnd)) return;
  Record* pRecord = nullptr;
  if (m_mapRecords.Lookup(hWnd, pRecord)) {
    if (!HasSink(pRecord, pSink)) pRecord->arrSinks.Add(pSink);
    return;
  }
  pRecord = new Record;
  pRecord->hWnd = hWnd;
  pRecord->pfnOldWndProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookWndProc)));
  pRecord->arrSinks.Add(pSink);
  m_mapRecords.SetAt(hWnd, pRecord);
}

void CXTPWindowSubclassHooks::RemoveSink(HWND hWnd, CXTPHookSink* pSink) {
  Record* pRecord = nullptr;
  if (!m_mapRecords.Lookup(hWnd, pRecord)) return;
  for (INT_PTR i = pRecord->arrSinks.GetSize() - 1; i >= 0; --i) {
    if (pRecord->arrSinks[i] == pSink) pRecord->arrSinks.RemoveAt(i);
  }
  if (pRecord->arrSinks.GetSize() == 0) Detach(pRecord, FALSE);
}

void CXTPWindowSubclassHooks::RemoveSinkEverywhere(CXTPHookSink* pSink) {
  CArray<HWND, HWND> arrWindows;
  POSITION pos = m_mapRecords.GetStartPosition();
  while (pos != nullptr) {
    HWND hWnd = nullptr;
    Record* pRecord = nullptr;
    m_mapRecords.GetNextAssoc(pos, hWnd, pRecord);
    if (HasSink(pRecord, pSink)) arrWindows.Add(hWnd);
  }
  for (INT_PTR i = 0; i < arrWindows.GetSize(); ++i) RemoveSink(arrWindows[i], pSink);
}

BOOL CXTPWindowSubclassHooks::IsSubclassed(HWND hWnd) const {
  Record* pRecord = nullptr;
  return m_mapRecords.Lookup(hWnd, pRecord);
}

int CXTPWindowSubclassHooks::GetSinkCount(HWND hWnd) const {
  Record* pRecord = nullptr;
  return m_mapRecords.Lookup(hWnd, pRecord) ? static_cast<int>(pRecord->arrSinks.GetSize()) : 0;
}

void CXTPWindowSubclassHooks::Detach(Record* pRecord, BOOL bForce) {
  HWND hWnd = pRecord->hWnd;
  const BOOL bOursInstalled =
      ::IsWindow(hWnd) && reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC)) == HookWndProc;
  if (!bOursInstalled && !bForce && ::IsWindow(hWnd)) return;  // pass through until WM_NCDESTROY
  if (bOursInstalled)
    ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pRecord->pfnOldWndProc));
  Record* pMapped = nullptr;
  if (m_mapRecords.Lookup(hWnd, pMapped) && pMapped == pRecord) m_mapRecords.RemoveKey(hWnd);
  pRecord->arrSinks.RemoveAll();
  if (pRecord->nDispatch > 0) {
    pRecord->bDeletePending = TRUE;
  } else {
    delete pRecord;
  }
}

LRESULT CALLBACK CXTPWindowSubclassHooks::HookWndProc(HWND hWnd, UINT nMessage, WPARAM wParam,
                                                      LPARAM lParam) {
  CXTPWindowSubclassHooks* pHooks = GetInstance();
  Record* pRecord = nullptr;
  if (!pHooks->m_mapRecords.Lookup(hWnd, pRecord)) return ::DefWindowProc(hWnd, nMessage, wParam, lParam);
  AFX_THREAD_STATE* pThreadState = AfxGetThreadState();
  const MSG msgSaved = pThreadState->m_lastSentMsg;
  pThreadState->m_lastSentMsg.hwnd = hWnd;
  pThreadState->m_lastSentMsg.message = nMessage;
  pThreadState->m_lastSentMsg.wParam = wParam;
  pThreadState->m_lastSentMsg.lParam = lParam;
  const LRESULT lResult = pHooks->Dispatch(pRecord, nMessage, wParam, lParam);
  pThreadState->m_lastSentMsg = msgSaved;
  return lResult;
}

LRESULT CXTPWindowSubclassHooks::Dispatch(Record* pRecord, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  HWND hWnd = pRecord->hWnd;
  const WNDPROC pfnOld = pRecord->pfnOldWndProc;
  pRecord->nDispatch++;
  LRESULT lResult = 0;
  BOOL bConsumed = FALSE;
  if (nMessage == WM_NCDESTROY) {
    Detach(pRecord, TRUE);
  } else {
    CArray<CXTPHookSink*, CXTPHookSink*> arrSinks;
    arrSinks.Copy(pRecord->arrSinks);
    for (INT_PTR i = arrSinks.GetSize() - 1; i >= 0 && !bConsumed; --i) {
      // A sink that an earlier one unregistered (or freed) is not asked.
      if (!HasSink(pRecord, arrSinks[i])) continue;
      const int nAnswer = arrSinks[i]->OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
      if (nAnswer == 1) bConsumed = TRUE;
      if (nAnswer == 2) break;
    }
  }
  if (!bConsumed) lResult = ::CallWindowProc(pfnOld, hWnd, nMessage, wParam, lParam);
  pRecord->nDispatch--;
  if (pRecord->bDeletePending && pRecord->nDispatch == 0) delete pRecord;
  return lResult;
}
