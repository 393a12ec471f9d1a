// CWnd: handle maps, the creation hook, the window procedure and message-map dispatch, reflection,
// pre-translation and modal loops.
#include "afxwin.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#pragma GCC diagnostic ignored "-Wcast-function-type"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

// ---- Thread state and handle maps ------------------------------------------------------------------
namespace {

thread_local AFX_THREAD_STATE t_threadState{};

// Permanent objects are reachable from every thread: workers set texts and positions of windows
// that belong to the user-interface thread. The map lives for the whole process.
SRWLOCK g_permanentLock = SRWLOCK_INIT;
std::unordered_map<HWND, CWnd*>& PermanentMap() {
  static auto* map = new std::unordered_map<HWND, CWnd*>();
  return *map;
}

// Temporary objects of FromHandle belong to the thread that asked; freed at its idle time or exit.
struct TempWndMap {
  std::unordered_map<HWND, CWnd*> map;
  std::vector<CWnd*> retired;  // objects whose window was destroyed while they were in the map
  void Clear() {
    for (auto& entry : map) {
      entry.second->m_hWnd = nullptr;
      delete entry.second;
    }
    map.clear();
    for (CWnd* pWnd : retired) {
      pWnd->m_hWnd = nullptr;
      delete pWnd;
    }
    retired.clear();
  }
  ~TempWndMap() { Clear(); }
};
// A plain pointer: thread-local objects with destructors are not reliably destroyed on the threads
// of this runtime, so the map is freed explicitly (DeleteTempMap at idle time and at thread end).
thread_local TempWndMap* t_pTempMap = nullptr;

TempWndMap& TempMap() {
  if (t_pTempMap == nullptr) t_pTempMap = new TempWndMap();
  return *t_pTempMap;
}

bool IsOnCallingThread(HWND hWnd) {
  return hWnd != nullptr && ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
}

template <class T>
T HandlerAs(AFX_PMSG pfn) {
  return reinterpret_cast<T>(pfn);
}

CPoint PointFromLParam(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

HWND ParentOrOwner(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  return (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

}  // namespace

AFX_THREAD_STATE* AFXAPI AfxGetThreadState() { return &t_threadState; }

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  AcquireSRWLockShared(&g_permanentLock);
  auto& map = PermanentMap();
  auto it = map.find(hWnd);
  CWnd* pWnd = it == map.end() ? nullptr : it->second;
  ReleaseSRWLockShared(&g_permanentLock);
  return pWnd;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
  TempWndMap& temps = TempMap();
  auto it = temps.map.find(hWnd);
  if (it != temps.map.end()) {
    if (it->second->m_hWnd == hWnd) return it->second;
    temps.retired.push_back(it->second);
    temps.map.erase(it);
  }
  CWnd* pWnd = new CWnd;
  pWnd->m_hWnd = hWnd;
  temps.map[hWnd] = pWnd;
  return pWnd;
}

void PASCAL CWnd::DeleteTempMap() {
  delete t_pTempMap;  // its destructor frees the temporary objects
  t_pTempMap = nullptr;
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (hWndNew == nullptr) return FALSE;
  AcquireSRWLockExclusive(&g_permanentLock);
  auto& map = PermanentMap();
  auto it = map.find(hWndNew);
  BOOL bOk = it == map.end() || it->second == this;
  if (bOk) {
    map[hWndNew] = this;
    m_hWnd = hWndNew;
  }
  ReleaseSRWLockExclusive(&g_permanentLock);
  return bOk;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd != nullptr) {
    AcquireSRWLockExclusive(&g_permanentLock);
    auto& map = PermanentMap();
    auto it = map.find(hWnd);
    if (it != map.end() && it->second == this) map.erase(it);
    ReleaseSRWLockExclusive(&g_permanentLock);
  }
  m_hWnd = nullptr;
  return hWnd;
}

// ---- Construction --------------------------------------------------------------------------------
CWnd::CWnd() : m_hWnd(nullptr), m_nFlags(0), m_nModalResult(0), m_hWndOwner(nullptr), m_pfnSuper(nullptr) {}

CWnd::CWnd(HWND hWnd)
    : m_hWnd(hWnd), m_nFlags(0), m_nModalResult(0), m_hWndOwner(nullptr), m_pfnSuper(nullptr) {}

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
    // A window cannot outlive its object; only its own thread can destroy it.
    if (IsOnCallingThread(m_hWnd)) {
      ::DestroyWindow(m_hWnd);
    }
    Detach();
  }
}

// ---- Window procedure ----------------------------------------------------------------------------
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  MSG oldState = pState->m_lastSentMsg;
  pState->m_lastSentMsg.hwnd = hWnd;
  pState->m_lastSentMsg.message = nMsg;
  pState->m_lastSentMsg.wParam = wParam;
  pState->m_lastSentMsg.lParam = lParam;

  LRESULT lResult = 0;
  // Exceptions must not unwind through the system's window-procedure callers.
  try {
    lResult = pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (CException* e) {
    e->Delete();
    lResult = nMsg == WM_CREATE ? -1 : 0;
  } catch (...) {
    lResult = nMsg == WM_CREATE ? -1 : 0;
  }
  pState->m_lastSentMsg = oldState;
  return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr || pWnd->m_hWnd != hWnd) return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

WNDPROC AFXAPI AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProc(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
  return ::DefWindowProc(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage() {
  MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
  pMsg->time = ::GetMessageTime();
  DWORD dwPos = ::GetMessagePos();
  pMsg->pt.x = static_cast<short>(LOWORD(dwPos));
  pMsg->pt.y = static_cast<short>(HIWORD(dwPos));
  return pMsg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (pResult != nullptr) *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR == nullptr || pNMHDR->hwndFrom == nullptr || !OnNotify(wParam, lParam, &lResult)) return FALSE;
    if (pResult != nullptr) *pResult = lResult;
    return TRUE;
  }

  UINT nLookup = message;
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) nLookup = WM_CTLCOLOR;

  const AFX_MSGMAP_ENTRY* lpEntry = nullptr;
  for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr && lpEntry == nullptr;
       pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
    lpEntry = AfxFindMessageEntry(pMap->lpEntries, nLookup, 0, 0);
  }
  if (lpEntry == nullptr) return FALSE;

  AFX_PMSG pfn = lpEntry->pfn;
  switch (lpEntry->nSig) {
    case AfxSig_lwl:
      lResult = (this->*HandlerAs<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
      break;
    case AfxSig_vv:
      (this->*HandlerAs<void (CWnd::*)()>(pfn))();
      break;
    case AfxSig_bv:
      lResult = (this->*HandlerAs<BOOL (CWnd::*)()>(pfn))();
      break;
    case AfxSig_wv:
      lResult = (this->*HandlerAs<UINT (CWnd::*)()>(pfn))();
      break;
    case AfxSig_hv:
      lResult = reinterpret_cast<LRESULT>((this->*HandlerAs<HANDLE (CWnd::*)()>(pfn))());
      break;
    case AfxSig_is:
      lResult =
          (this->*HandlerAs<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case AfxSig_bs:
      lResult =
          (this->*HandlerAs<BOOL (CWnd::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
      break;
    case AfxSig_vwii:
      (this->*HandlerAs<void (CWnd::*)(UINT, int, int)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                              HIWORD(lParam));
      break;
    case AfxSig_vii:
      (this->*HandlerAs<void (CWnd::*)(int, int)>(pfn))(static_cast<short>(LOWORD(lParam)),
                                                        static_cast<short>(HIWORD(lParam)));
      break;
    case AfxSig_bD:
      lResult = (this->*HandlerAs<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
      break;
    case AfxSig_vD:
      (this->*HandlerAs<void (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
      break;
    case AfxSig_vw:
      (this->*HandlerAs<void (CWnd::*)(UINT_PTR)>(pfn))(static_cast<UINT_PTR>(wParam));
      break;
    case AfxSig_vb:
      (this->*HandlerAs<void (CWnd::*)(BOOL)>(pfn))(static_cast<BOOL>(wParam));
      break;
    case AfxSig_bb:
      lResult = (this->*HandlerAs<BOOL (CWnd::*)(BOOL)>(pfn))(static_cast<BOOL>(wParam));
      break;
    case AfxSig_vbw:
      (this->*HandlerAs<void (CWnd::*)(BOOL, UINT)>(pfn))(static_cast<BOOL>(wParam),
                                                          static_cast<UINT>(lParam));
      break;
    case AfxSig_vwp:
      (this->*HandlerAs<void (CWnd::*)(UINT, CPoint)>(pfn))(static_cast<UINT>(wParam),
                                                            PointFromLParam(lParam));
      break;
    case AfxSig_bwsp:
      lResult = (this->*HandlerAs<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(
          LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointFromLParam(lParam));
      break;
    case AfxSig_bWww:
      lResult = (this->*HandlerAs<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
          CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_iWww:
      lResult = (this->*HandlerAs<int (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
          CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_vW: {
      // WM_CAPTURECHANGED names the new capture window in lParam, the focus messages in wParam.
      HWND hWndOther = reinterpret_cast<HWND>(message == WM_CAPTURECHANGED ? lParam : wParam);
      (this->*HandlerAs<void (CWnd::*)(CWnd*)>(pfn))(CWnd::FromHandle(hWndOther));
      break;
    }
    case AfxSig_vWp:
      (this->*HandlerAs<void (CWnd::*)(CWnd*, CPoint)>(pfn))(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),
                                                             PointFromLParam(lParam));
      break;
    case AfxSig_vwww:
      (this->*HandlerAs<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                                HIWORD(lParam));
      break;
    case AfxSig_vwwx:
      (this->*HandlerAs<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(
          LOWORD(wParam), HIWORD(wParam),
          reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))));
      break;
    case AfxSig_vwWb:
      (this->*HandlerAs<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(
          LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
          static_cast<BOOL>(HIWORD(wParam)));
      break;
    case AfxSig_vwl:
    case AfxSig_vwl_PARENT:
      (this->*HandlerAs<void (CWnd::*)(UINT, LPARAM)>(pfn))(static_cast<UINT>(wParam), lParam);
      break;
    case AfxSig_vws:
      (this->*HandlerAs<void (CWnd::*)(UINT, LPCTSTR)>(pfn))(static_cast<UINT>(wParam),
                                                             reinterpret_cast<LPCTSTR>(lParam));
      break;
    case AfxSig_vPOS:
      (this->*HandlerAs<void (CWnd::*)(WINDOWPOS*)>(pfn))(reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case AfxSig_vMwb:
      (this->*HandlerAs<void (CWnd::*)(CMenu*, UINT, BOOL)>(pfn))(
          CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),
          static_cast<BOOL>(HIWORD(lParam)));
      break;
    case AfxSig_vwMw:
      (this->*HandlerAs<void (CWnd::*)(UINT, UINT, HMENU)>(pfn))(LOWORD(wParam), HIWORD(wParam),
                                                                 reinterpret_cast<HMENU>(lParam));
      break;
    case AfxSig_lp:
      lResult = (this->*HandlerAs<LRESULT (CWnd::*)(CPoint)>(pfn))(PointFromLParam(lParam));
      break;
    case AfxSig_vbNCCS:
      (this->*HandlerAs<void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*)>(pfn))(
          static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
      break;
    case AfxSig_hDWw:
      if (message == WM_CTLCOLOR) return FALSE;  // the 16-bit form never arrives as such
      lResult = reinterpret_cast<LRESULT>((this->*HandlerAs<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(pfn))(
          CDC::FromHandle(reinterpret_cast<HDC>(wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
          message - WM_CTLCOLORMSGBOX));
      break;
    case AfxSig_hDw: {
      // Reflected colour message: a NULL brush leaves the choice to the parent.
      const AFX_CTLCOLOR* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
      if (pCtl == nullptr) return FALSE;
      lResult = reinterpret_cast<LRESULT>(
          (this->*HandlerAs<HBRUSH (CWnd::*)(CDC*, UINT)>(pfn))(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType));
      if (lResult == 0) return FALSE;
      break;
    }
    case AfxSig_vOWNER:
      (this->*HandlerAs<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(
          static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
      lResult = TRUE;
      break;
    case AfxSig_vMEASURE:
      (this->*HandlerAs<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(pfn))(
          static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
      lResult = TRUE;
      break;
    case AfxSig_vDELETE:
      (this->*HandlerAs<void (CWnd::*)(int, LPDELETEITEMSTRUCT)>(pfn))(
          static_cast<int>(wParam), reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
      lResult = TRUE;
      break;
    case AfxSig_iCOMPARE:
      lResult = (this->*HandlerAs<int (CWnd::*)(int, LPCOMPAREITEMSTRUCT)>(pfn))(
          static_cast<int>(wParam), reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      break;
    case AfxSig_vHELP:
      lResult = (this->*HandlerAs<BOOL (CWnd::*)(HELPINFO*)>(pfn))(reinterpret_cast<HELPINFO*>(lParam));
      break;
    case AfxSig_vMINMAX:
      (this->*HandlerAs<void (CWnd::*)(MINMAXINFO*)>(pfn))(reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case AfxSig_vwh:
      (this->*HandlerAs<void (CWnd::*)(UINT, HWND)>(pfn))(static_cast<UINT>(wParam),
                                                          reinterpret_cast<HWND>(lParam));
      break;
    default:
      return FALSE;
  }
  if (pResult != nullptr) *pResult = lResult;
  return TRUE;
}

// ---- Commands, notifications, reflection ----------------------------------------------------------
BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);

  if (hWndCtrl == nullptr) {
    // Menu or accelerator: a command disabled since the menu was shown is not carried out.
    if (nID == 0) return FALSE;
    CCmdUI state;
    state.m_nID = nID;
    state.m_bEnableChanged = FALSE;
    struct CTestCmdUI : public CCmdUI {
      BOOL m_bEnabled = TRUE;
      void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
      }
      void SetCheck(int) override {}
      void SetRadio(BOOL) override {}
      void SetText(LPCTSTR) override {}
    } test;
    test.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &test, nullptr);
    if (!test.m_bEnabled) return TRUE;
    nCode = CN_COMMAND;
  } else {
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;  // UpdateData in progress
    // The control gets the first chance (ON_CONTROL_REFLECT).
    if (ReflectLastMsg(hWndCtrl)) return TRUE;
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult) {
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  HWND hWndCtrl = pNMHDR->hwndFrom;
  UINT nID = static_cast<UINT>(pNMHDR->idFrom);
  int nCode = static_cast<int>(pNMHDR->code);

  if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd) return TRUE;
  if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;

  AFX_NOTIFY notify;
  notify.pResult = pResult;
  notify.pNMHDR = pNMHDR;
  return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);

    case WM_COMMAND: {
      int nCode = HIWORD(wParam);
      if (CWnd::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
        if (pResult != nullptr) *pResult = 1;
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
      AFX_NOTIFY notify;
      notify.pResult = pResult;
      notify.pNMHDR = pNMHDR;
      return CWnd::OnCmdMsg(0, MAKELONG(static_cast<int>(pNMHDR->code), WM_REFLECT_BASE + WM_NOTIFY), &notify,
                            nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl;
        ctl.hDC = reinterpret_cast<HDC>(wParam);
        ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
        ctl.hWnd = m_hWnd;
        return CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
      }
      return FALSE;
  }
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  if (pWnd == nullptr || !IsOnCallingThread(hWndChild)) return FALSE;
  return pWnd->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
  return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

HBRUSH CWnd::OnCtlColor(CDC* /*pDC*/, CWnd* pWnd, UINT /*nCtlColor*/) {
  LRESULT lResult = 0;
  if (pWnd != nullptr && IsOnCallingThread(pWnd->m_hWnd) && pWnd->SendChildNotifyLastMsg(&lResult)) {
    return reinterpret_cast<HBRUSH>(lResult);
  }
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int /*nIDCtl*/, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType != ODT_MENU) {
    HWND hWndChild = ::GetDlgItem(m_hWnd, nIDCtl);
    if (hWndChild != nullptr && ReflectLastMsg(hWndChild)) return;
  }
  Default();
}

void CWnd::OnDeleteItem(int /*nIDCtl*/, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

int CWnd::OnCompareItem(int /*nIDCtl*/, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT lResult = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult)) return static_cast<int>(lResult);
  return static_cast<int>(Default());
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->GetSafeHwnd())) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar != nullptr && ReflectLastMsg(pScrollBar->GetSafeHwnd())) return;
  Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
      ReflectLastMsg(reinterpret_cast<HWND>(lParam))) {
    return;
  }
  Default();
}

void CWnd::OnNcDestroy() {
  // The main window going away ends its thread's message loop.
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr) {
    if (pThread->m_pMainWnd == this) {
      AfxPostQuitMessage(0);
      pThread->m_pMainWnd = nullptr;
    }
    if (pThread->m_pActiveWnd == this) pThread->m_pActiveWnd = nullptr;
  }
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr && pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;

  Default();

  HWND hWnd = m_hWnd;
  WNDPROC pfnWndProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC));
  Detach();
  if (pfnWndProc == &AfxWndProc && m_pfnSuper != nullptr) {
    ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  m_pfnSuper = nullptr;
  PostNcDestroy();
}

// The framework's own entries: reflection of owner-draw, colour and scroll messages, and cleanup.
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_DELETEITEM()
ON_WM_COMPAREITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

// ---- Creation ------------------------------------------------------------------------------------
namespace {
LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (code == HCBT_CREATEWND && pState->m_pWndInit != nullptr) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    // The system creates helper windows of its own (input method) on the way; they are not ours.
    WCHAR szClassName[16] = {};
    ::GetClassNameW(hWnd, szClassName, 16);
    if (lstrcmpiW(szClassName, L"IME") != 0) {
      CWnd* pWndInit = pState->m_pWndInit;
      pState->m_pWndInit = nullptr;
      if (pWndInit->Attach(hWnd)) {
        pWndInit->PreSubclassWindow();
        WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        if (pfnOld != &AfxWndProc) pWndInit->m_pfnSuper = pfnOld;
      }
    }
  }
  return ::CallNextHookEx(pState->m_hHookOldCbtFilter, code, wParam, lParam);
}
}  // namespace

void AFXAPI AfxHookWindowCreate(CWnd* pWnd) {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_hHookOldCbtFilter == nullptr) {
    pState->m_hHookOldCbtFilter =
        ::SetWindowsHookEx(WH_CBT, &AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    if (pState->m_hHookOldCbtFilter == nullptr) AfxThrowMemoryException();
  }
  pState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate() {
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pState->m_hHookOldCbtFilter != nullptr) {
    ::UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
    pState->m_hHookOldCbtFilter = nullptr;
  }
  if (pState->m_pWndInit != nullptr) {
    pState->m_pWndInit = nullptr;
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = AfxRegisterDefaultClass(AFX_WND);
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs;
  cs.dwExStyle = dwExStyle;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.style = static_cast<LONG>(dwStyle);
  cs.x = x;
  cs.y = y;
  cs.cx = nWidth;
  cs.cy = nHeight;
  cs.hwndParent = hWndParent;
  cs.hMenu = nIDorHMenu;
  cs.hInstance = AfxGetInstanceHandle();
  cs.lpCreateParams = lpParam;

  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                               cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  // Not caught by the hook: the system refused before the first message; the object gets its
  // PostNcDestroy as if the window had been destroyed.
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  bool bPermanent = FromHandlePermanent(m_hWnd) == this;
  HWND hWnd = m_hWnd;
  BOOL bResult = ::DestroyWindow(hWnd);
  // A permanent object was detached (and may be gone) by WM_NCDESTROY; others never saw it.
  if (!bPermanent && !::IsWindow(hWnd)) m_hWnd = nullptr;
  return bResult;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (hWnd == nullptr || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (pfnOld != &AfxWndProc) m_pfnSuper = pfnOld;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (pParent == nullptr) return FALSE;
  HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
  return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd == nullptr) return nullptr;
  // Someone who subclassed after us keeps our procedure in their chain: leave theirs in place.
  WNDPROC pfnCurrent = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC));
  if (pfnCurrent == &AfxWndProc && m_pfnSuper != nullptr) {
    ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  m_pfnSuper = nullptr;
  return Detach();
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD dwExStyle = GetExStyle();
  if (nAdjustType == 0) dwExStyle &= ~WS_EX_CLIENTEDGE;
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, dwExStyle);
}

// ---- Pre-translation and modal loops ----------------------------------------------------------------
BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_nFlags & (WF_TOOLTIPS | WF_TRACKINGTOOLTIPS)) FilterToolTipMessage(pMsg);
  return FALSE;
}

void AFXAPI AfxRelayToolTipLeave(const MSG* pMsg);

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  AfxRelayToolTipLeave(pMsg);
  for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    // Another thread's windows are not ours to call here.
    if (!IsOnCallingThread(hWnd)) break;
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    PostMessage(WM_NULL);  // wakes the loop
  }
}

int CWnd::RunModalLoop(DWORD dwFlags) {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  HWND hWndParent = ::GetParent(m_hWnd);
  m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  HWND hWndSelf = m_hWnd;

  for (;;) {
    while (bIdle && !::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (bShowIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0) {
        ::SendMessage(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
      }
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
        bIdle = FALSE;
    }

    do {
      if (!AfxPumpMessage()) {
        // WM_QUIT ends the modal loop and must still end the thread's own loop.
        AfxPostQuitMessage(static_cast<int>(pMsg->wParam));
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return -1;
      }
      if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        bShowIdle = FALSE;
      }
      if (!::IsWindow(hWndSelf) || !ContinueModal()) goto ExitModal;
      if (AfxIsIdleMessage(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }

ExitModal:
  m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

// ---- Descendants and command UI -------------------------------------------------------------------
void PASCAL CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                           BOOL bOnlyPerm) {
  for (HWND hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (bOnlyPerm) {
      CWnd* pWnd = FromHandlePermanent(hWndChild);
      if (pWnd != nullptr) {
        if (IsOnCallingThread(hWndChild)) {
          AfxCallWndProc(pWnd, hWndChild, message, wParam, lParam);
        } else {
          ::SendMessage(hWndChild, message, wParam, lParam);
        }
      }
    } else {
      ::SendMessage(hWndChild, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(hWndChild) != nullptr) {
      SendMessageToDescendants(hWndChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
  }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  CWnd wndTemp;
  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
    wndTemp.m_hWnd = hWndChild;
    state.m_pOther = &wndTemp;

    // The window's own handlers first, then the target's.
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;

    // Only push buttons are disabled for lack of a handler: check boxes and radio buttons manage
    // themselves, other controls are not commands.
    BOOL bDisableTemp = bDisableIfNoHndler;
    if (bDisableTemp) {
      if ((::SendMessage(hWndChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) == 0) {
        bDisableTemp = FALSE;
      } else {
        UINT nStyle = static_cast<UINT>(::GetWindowLongPtr(hWndChild, GWL_STYLE) & 0x0F);
        if (nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE || nStyle == BS_GROUPBOX ||
            nStyle == BS_AUTORADIOBUTTON) {
          bDisableTemp = FALSE;
        }
      }
    }
    state.DoUpdate(pTarget, bDisableTemp);
  }
  wndTemp.m_hWnd = nullptr;
}

// ---- Data exchange and tool tips --------------------------------------------------------------------
BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
  pState->m_hLockoutNotifyWindow = m_hWnd;
  BOOL bOK = FALSE;
  try {
    DoDataExchange(&dx);
    bOK = TRUE;
  } catch (CException* e) {
    // Validation failures have told the user already; a missing control is a failed exchange.
    e->Delete();
  }
  pState->m_hLockoutNotifyWindow = hWndOldLockout;
  return bOK;
}

// One tip window per thread serves every window of that thread. The tool under the cursor is
// whatever the owner's OnToolHitTest answers; it is swapped in whenever that answer changes.
namespace {

struct ThreadToolTip {
  HWND hWndTip;
  HWND hWndOwner;  // the window whose OnToolHitTest supplied the current tool
  INT_PTR nLastHit;
  HWND hWndTool;  // TOOLINFO::hwnd and uId of the current tool, to remove it again
  UINT_PTR uToolId;
  BOOL bTracking;
};
thread_local ThreadToolTip t_toolTip{nullptr, nullptr, -1, nullptr, 0, FALSE};

HWND ToolTipWindow() {
  if (t_toolTip.hWndTip != nullptr && ::IsWindow(t_toolTip.hWndTip)) return t_toolTip.hWndTip;
  t_toolTip = ThreadToolTip{nullptr, nullptr, -1, nullptr, 0, FALSE};
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  HWND hWndTip = ::CreateWindowEx(
      WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, AfxGetInstanceHandle(), nullptr);
  if (hWndTip != nullptr) {
    // Multi-line tips: the text's own line breaks decide the width.
    ::SendMessage(hWndTip, TTM_SETMAXTIPWIDTH, 0, SHRT_MAX);
  }
  t_toolTip.hWndTip = hWndTip;
  return hWndTip;
}

void RemoveCurrentTool() {
  HWND hWndTip = t_toolTip.hWndTip;
  if (hWndTip != nullptr && ::IsWindow(hWndTip) && t_toolTip.nLastHit != -1) {
    TOOLINFO ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = t_toolTip.hWndTool;
    ti.uId = t_toolTip.uToolId;
    if (t_toolTip.bTracking) ::SendMessage(hWndTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    ::SendMessage(hWndTip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  }
  t_toolTip.hWndOwner = nullptr;
  t_toolTip.nLastHit = -1;
  t_toolTip.hWndTool = nullptr;
  t_toolTip.uToolId = 0;
  t_toolTip.bTracking = FALSE;
}

bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_NCMOUSEMOVE ||
         (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK);
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (bEnable) {
    m_nFlags |= WF_TOOLTIPS;
  } else {
    m_nFlags &= ~WF_TOOLTIPS;
    if (t_toolTip.hWndOwner == m_hWnd && m_hWnd != nullptr) RemoveCurrentTool();
  }
  return TRUE;
}

BOOL CWnd::EnableTrackingToolTips(BOOL bEnable) {
  if (bEnable) {
    m_nFlags |= WF_TRACKINGTOOLTIPS;
  } else {
    m_nFlags &= ~WF_TRACKINGTOOLTIPS;
  }
  return TRUE;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  HWND hWndChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
  if (hWndChild == nullptr || hWndChild == m_hWnd) return -1;
  if (pTI != nullptr) {
    pTI->hwnd = m_hWnd;
    pTI->uId = reinterpret_cast<UINT_PTR>(hWndChild);
    pTI->uFlags |= TTF_IDISHWND | TTF_CENTERTIP;
    pTI->lpszText = LPSTR_TEXTCALLBACK;
  }
  int nID = ::GetDlgCtrlID(hWndChild);
  return nID == 0xFFFF ? -1 : nID;
}

// A mouse message for a window outside the current tool's owner ends that tool: the owner's
// PreTranslateMessage is not reached for windows that are not its descendants.
void AFXAPI AfxRelayToolTipLeave(const MSG* pMsg) {
  if (t_toolTip.hWndOwner == nullptr || !IsMouseMessage(pMsg->message)) return;
  if (pMsg->hwnd == t_toolTip.hWndTip) return;
  if (pMsg->hwnd != t_toolTip.hWndOwner && !::IsChild(t_toolTip.hWndOwner, pMsg->hwnd)) RemoveCurrentTool();
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
  UINT message = pMsg->message;
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP) {
    if (t_toolTip.hWndOwner == m_hWnd) CancelToolTips(TRUE);
    return;
  }
  if (!IsMouseMessage(message) || m_hWnd == nullptr) return;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return;
  HWND hWndTip = ToolTipWindow();
  if (hWndTip == nullptr) return;

  CPoint point = pMsg->pt;
  ::ScreenToClient(m_hWnd, &point);
  TOOLINFO ti = {};
  ti.cbSize = sizeof(ti);
  INT_PTR nHit = OnToolHitTest(point, &ti);
  if (ti.hwnd == nullptr) ti.hwnd = m_hWnd;
  bool bTracking = (m_nFlags & WF_TRACKINGTOOLTIPS) != 0;

  bool bSameTool = nHit != -1 && nHit == t_toolTip.nLastHit && t_toolTip.hWndOwner == m_hWnd &&
                   ti.hwnd == t_toolTip.hWndTool && ti.uId == t_toolTip.uToolId;
  if (!bSameTool) {
    RemoveCurrentTool();
    if (nHit != -1) {
      if (bTracking) ti.uFlags |= TTF_TRACK | TTF_ABSOLUTE;
      if (::SendMessage(hWndTip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti))) {
        t_toolTip.hWndOwner = m_hWnd;
        t_toolTip.nLastHit = nHit;
        t_toolTip.hWndTool = ti.hwnd;
        t_toolTip.uToolId = ti.uId;
        t_toolTip.bTracking = bTracking;
        ::SendMessage(hWndTip, TTM_ACTIVATE, TRUE, 0);
        if (bTracking) ::SendMessage(hWndTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
      }
    }
  }
  // The tip copies its text; a text other than the call-back marker was allocated for us to free.
  if (ti.lpszText != LPSTR_TEXTCALLBACK) free(ti.lpszText);
  if (t_toolTip.nLastHit == -1) return;

  if (t_toolTip.bTracking) {
    ::SendMessage(hWndTip, TTM_TRACKPOSITION, 0, MAKELPARAM(pMsg->pt.x + 16, pMsg->pt.y + 16));
    return;
  }
  // The tip finds its tool from the message's window and client position, so relay the message
  // as the tool's window would have received it.
  MSG relay = *pMsg;
  HWND hWndRelay = (ti.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(ti.uId) : ti.hwnd;
  CPoint ptRelay = pMsg->pt;
  ::ScreenToClient(hWndRelay, &ptRelay);
  relay.hwnd = hWndRelay;
  if (message == WM_NCMOUSEMOVE) relay.message = WM_MOUSEMOVE;
  relay.lParam = MAKELPARAM(ptRelay.x, ptRelay.y);
  ::SendMessage(hWndTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}

void PASCAL CWnd::CancelToolTips(BOOL bKeys) {
  HWND hWndTip = t_toolTip.hWndTip;
  if (hWndTip == nullptr || !::IsWindow(hWndTip)) return;
  ::SendMessage(hWndTip, TTM_POP, 0, 0);
  if (bKeys || t_toolTip.bTracking) RemoveCurrentTool();
}

// ---- Relatives -------------------------------------------------------------------------------------
CWnd* CWnd::GetTopLevelParent() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND hWndTop = m_hWnd;
  for (HWND hWndNext = ParentOrOwner(hWndTop); hWndNext != nullptr; hWndNext = ParentOrOwner(hWndTop)) {
    hWndTop = hWndNext;
  }
  return CWnd::FromHandle(hWndTop);
}

CWnd* CWnd::GetParentOwner() const {
  if (m_hWnd == nullptr) return nullptr;
  return CWnd::FromHandle(ParentOrOwner(m_hWnd));
}

CWnd* CWnd::GetTopLevelOwner() const {
  if (m_hWnd == nullptr) return nullptr;
  HWND hWndOwner = m_hWnd;
  for (HWND hWndT = ::GetWindow(hWndOwner, GW_OWNER); hWndT != nullptr;
       hWndT = ::GetWindow(hWndOwner, GW_OWNER)) {
    hWndOwner = hWndT;
  }
  return CWnd::FromHandle(hWndOwner);
}

namespace {
HWND FindDescendant(HWND hWnd, int nID, BOOL bOnlyPerm) {
  HWND hWndChild = ::GetDlgItem(hWnd, nID);
  if (hWndChild != nullptr && (!bOnlyPerm || CWnd::FromHandlePermanent(hWndChild) != nullptr))
    return hWndChild;
  for (hWndChild = ::GetTopWindow(hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    if (HWND hWndFound = FindDescendant(hWndChild, nID, bOnlyPerm)) return hWndFound;
  }
  return nullptr;
}
}  // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  return CWnd::FromHandle(FindDescendant(m_hWnd, nID, bOnlyPerm));
}

namespace {

// Hides the calling thread's tips that show. A tip stays above every other window, and the display is
// told of a window's new place only when the window becomes first of the visible ones; a tip goes at a
// click or a change of focus anyway.
void PopShownTips() {
  for (HWND hWnd = ::GetTopWindow(nullptr); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (!(::GetWindowLongPtr(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) break;
    wchar_t szClass[32] = L"";
    if (::IsWindowVisible(hWnd) && IsOnCallingThread(hWnd) && ::GetClassNameW(hWnd, szClass, 32) > 0 &&
        ::lstrcmpiW(szClass, TOOLTIPS_CLASSW) == 0)
      ::SendMessage(hWnd, TTM_POP, 0, 0);
  }
}

}  // namespace

void CWnd::RaiseOnDisplay() {
  if (m_hWnd == nullptr) return;
  if (!(GetExStyle() & WS_EX_TOPMOST)) PopShownTips();
  UINT nFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (!IsOnCallingThread(m_hWnd)) {
    // Moved by its own thread, which may be waiting without reading its messages: the moves are
    // handed to it in their order, not waited for. The display takes each thread's requests when that
    // thread next looks for input: the calling thread's go first, so that these come after them.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    nFlags |= SWP_ASYNCWINDOWPOS;
  }
  // An owned window that steps down stays above its owner.
  if (::GetWindow(m_hWnd, GW_HWNDFIRST) == m_hWnd) ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, nFlags);
  ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, nFlags);
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
  HWND hWnd = pParent->GetSafeHwnd();
  if (hWnd == nullptr) {
    // Implicit owners come from the calling thread only: a worker's dialog has none.
    CWnd* pMainWnd = AfxGetMainWnd();
    hWnd = pMainWnd->GetSafeHwnd();
    if (!IsOnCallingThread(hWnd)) hWnd = ::GetActiveWindow();
  }
  while (hWnd != nullptr && (::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);

  HWND hWndTop = hWnd;
  for (HWND hWndTemp = hWnd; hWndTemp != nullptr; hWndTemp = ::GetParent(hWndTemp)) hWndTop = hWndTemp;
  if (pParent == nullptr && hWnd != nullptr) hWnd = ::GetLastActivePopup(hWnd);

  if (pWndTop != nullptr) {
    if (hWndTop != nullptr && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
      *pWndTop = hWndTop;
      ::EnableWindow(hWndTop, FALSE);
    } else {
      *pWndTop = nullptr;
    }
  }
  return CWnd::FromHandle(hWnd);
}

// ---- Styles, text, geometry, scroll bars --------------------------------------------------------------
namespace {
BOOL ModifyStyleImpl(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtr(hWnd, nStyleOffset));
  DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
  if (dwStyle == dwNewStyle) return FALSE;
  ::SetWindowLongPtr(hWnd, nStyleOffset, static_cast<LONG_PTR>(dwNewStyle));
  if (nFlags != 0) {
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  }
  return TRUE;
}
}  // namespace

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleImpl(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleImpl(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::GetWindowText(CString& rString) const {
  std::vector<WCHAR> buffer(static_cast<size_t>(::GetWindowTextLength(m_hWnd)) + 1, L'\0');
  ::GetWindowText(m_hWnd, buffer.data(), static_cast<int>(buffer.size()));
  rString = buffer.data();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND hWnd = ::GetDlgItem(m_hWnd, nID);
  if (hWnd == nullptr) return 0;
  CWnd::FromHandle(hWnd)->GetWindowText(rString);
  return rString.GetLength();
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  if (lpszCaption == nullptr) lpszCaption = AfxGetAppName();
  return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
  if (hWndCenter == nullptr) hWndCenter = ParentOrOwner(m_hWnd);
  RECT rcDlg;
  ::GetWindowRect(m_hWnd, &rcDlg);
  RECT rcArea;
  RECT rcCenter;
  HMONITOR hMonitor =
      ::MonitorFromWindow(hWndCenter != nullptr ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  ::GetMonitorInfo(hMonitor, &mi);
  rcArea = mi.rcWork;
  if (hWndCenter == nullptr || !::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)) {
    rcCenter = rcArea;
  } else {
    ::GetWindowRect(hWndCenter, &rcCenter);
  }
  int cx = rcDlg.right - rcDlg.left;
  int cy = rcDlg.bottom - rcDlg.top;
  int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
  int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
  x = std::max(static_cast<int>(rcArea.left), std::min(x, static_cast<int>(rcArea.right) - cx));
  y = std::max(static_cast<int>(rcArea.top), std::min(y, static_cast<int>(rcArea.bottom) - cy));
  if (GetStyle() & WS_CHILD) {
    POINT pt = {x, y};
    ::ScreenToClient(::GetParent(m_hWnd), &pt);
    x = pt.x;
    y = pt.y;
  }
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
void RepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  HWND hWndParent = ::GetParent(hWnd);
  RECT rectOld;
  ::GetWindowRect(hWnd, &rectOld);
  ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&rectOld), 2);
  if (::EqualRect(&rectOld, lpRect)) return;
  if (lpLayout->hDWP != nullptr) {
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  } else {
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, SWP_NOACTIVATE | SWP_NOZORDER);
  }
}
}  // namespace

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout = {};
  HWND hWndLeftOver = nullptr;
  layout.bStretch = bStretch;
  if (lpRectClient != nullptr) {
    layout.rect = *lpRectClient;
  } else {
    ::GetClientRect(m_hWnd, &layout.rect);
  }
  layout.hDWP = nFlag != reposQuery ? ::BeginDeferWindowPos(8) : nullptr;

  for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;
       hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
    UINT nIDC = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
    if (nIDC == nIDLeftOver) {
      hWndLeftOver = hWndChild;
    } else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild) != nullptr) {
      ::SendMessage(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
  }

  if (nFlag == reposQuery) {
    if (lpRectParam != nullptr) {
      if (bStretch) {
        *lpRectParam = layout.rect;
      } else {
        lpRectParam->left = lpRectParam->top = 0;
        lpRectParam->right = layout.sizeTotal.cx;
        lpRectParam->bottom = layout.sizeTotal.cy;
      }
    }
    return;
  }

  if (nIDLeftOver != 0 && hWndLeftOver != nullptr) {
    if (nFlag == reposExtra && lpRectParam != nullptr) {
      layout.rect.left += lpRectParam->left;
      layout.rect.top += lpRectParam->top;
      layout.rect.right -= lpRectParam->right;
      layout.rect.bottom -= lpRectParam->bottom;
    }
    CWnd::FromHandle(hWndLeftOver)->CalcWindowRect(&layout.rect);
    RepositionWindow(&layout, hWndLeftOver, &layout.rect);
  }
  if (layout.hDWP != nullptr) ::EndDeferWindowPos(layout.hDWP);
}

int CWnd::GetScrollPos(int nBar) const {
  SCROLLINFO si = {};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  if (!::GetScrollInfo(m_hWnd, nBar, &si)) return 0;
  return si.nPos;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
  int nOld = GetScrollPos(nBar);
  SCROLLINFO si = {};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = nPos;
  ::SetScrollInfo(m_hWnd, nBar, &si, bRedraw);
  return nOld;
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
  ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
  ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}

int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO si = {};
  if (!GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE)) return 0;
  return si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0);
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) { ::ShowScrollBar(m_hWnd, nBar, bEnable); }

CScrollBar* CWnd::GetScrollBarCtrl(int /*nBar*/) const { return nullptr; }

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

// ---- Message pump helpers ---------------------------------------------------------------------------
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg) {
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr) return pThread->PreTranslateMessage(pMsg);
  return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}

BOOL AFXAPI AfxPumpMessage() {
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr) return pThread->PumpMessage();

  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  if (!::GetMessage(pMsg, nullptr, 0, 0)) return FALSE;
  if (pMsg->message != WM_KICKIDLE && !AfxPreTranslateMessage(pMsg)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessage(pMsg);
  }
  return TRUE;
}

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg) {
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr) return pThread->IsIdleMessage(pMsg);
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118 && pMsg->message != WM_MOUSEMOVE &&
         pMsg->message != WM_NCMOUSEMOVE;
}

void AFXAPI AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }
