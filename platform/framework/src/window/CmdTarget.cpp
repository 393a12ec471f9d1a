// Command targets: message-map search, routed-command dispatch, reference counts, CCmdUI and the
// wait cursor.
#include "afxwin.h"

#pragma GCC diagnostic ignored "-Wcast-function-type"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY _messageEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, &_messageEntries[0]};
  return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

CCmdTarget::CCmdTarget() : m_dwRef(1) {}

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                   UINT nID) {
  for (; lpEntry->nSig != AfxSig_end; ++lpEntry) {
    if (lpEntry->nMessage == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID &&
        nID <= lpEntry->nLastID) {
      return lpEntry;
    }
  }
  return nullptr;
}

namespace {
template <class T>
T HandlerAs(AFX_PMSG pfn) {
  return reinterpret_cast<T>(pfn);
}
}  // namespace

BOOL AFXAPI AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra,
                              UINT_PTR nSig) {
  AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
  switch (nSig) {
    case AfxSigCmd_v:
      (pTarget->*pfn)();
      return TRUE;
    case AfxSigCmd_b:
      return (pTarget->*HandlerAs<BOOL (CCmdTarget::*)()>(pfn))();
    case AfxSigCmd_RANGE:
      (pTarget->*HandlerAs<void (CCmdTarget::*)(UINT)>(pfn))(nID);
      return TRUE;
    case AfxSigCmd_EX:
      return (pTarget->*HandlerAs<BOOL (CCmdTarget::*)(UINT)>(pfn))(nID);
    case AfxSigCmdUI: {
      CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
      if (pCmdUI == nullptr) return FALSE;
      pCmdUI->m_bContinueRouting = FALSE;
      (pTarget->*HandlerAs<void (CCmdTarget::*)(CCmdUI*)>(pfn))(pCmdUI);
      return !pCmdUI->m_bContinueRouting;
    }
    case AfxSigNotify_v:
      if (pNotify == nullptr) return FALSE;
      (pTarget->*HandlerAs<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR, pNotify->pResult);
      return TRUE;
    case AfxSigNotify_b:
      if (pNotify == nullptr) return FALSE;
      return (pTarget->*HandlerAs<BOOL (CCmdTarget::*)(NMHDR*, LRESULT*)>(pfn))(pNotify->pNMHDR,
                                                                                pNotify->pResult);
    case AfxSigNotify_RANGE:
      if (pNotify == nullptr) return FALSE;
      (pTarget->*HandlerAs<void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, pNotify->pNMHDR,
                                                                               pNotify->pResult);
      return TRUE;
    case AfxSigNotify_EX:
      if (pNotify == nullptr) return FALSE;
      return (pTarget->*HandlerAs<BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*)>(pfn))(nID, pNotify->pNMHDR,
                                                                                      pNotify->pResult);
    default:
      // A window-message signature in a command slot: not a routed handler.
      UNUSED(nCode);
      return FALSE;
  }
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT nMsg = 0;
  UINT nEntryCode = static_cast<UINT>(nCode);
  if (nEntryCode != CN_UPDATE_COMMAND_UI && nEntryCode != CN_EVENT && nEntryCode != CN_OLEVERB &&
      nEntryCode != CN_OLE_UNREGISTER) {
    nMsg = HIWORD(nEntryCode);
    nEntryCode = LOWORD(nEntryCode);
  }
  if (nMsg == 0) nMsg = WM_COMMAND;

  for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
       pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
    const AFX_MSGMAP_ENTRY* lpEntry = AfxFindMessageEntry(pMap->lpEntries, nMsg, nEntryCode, nID);
    if (lpEntry == nullptr) continue;
    if (pHandlerInfo != nullptr) {
      pHandlerInfo->pTarget = this;
      pHandlerInfo->pmf = lpEntry->pfn;
      return TRUE;
    }
    return AfxDispatchCmdMsg(this, nID, nCode, lpEntry->pfn, pExtra, lpEntry->nSig);
  }
  return FALSE;
}

void CCmdTarget::OnFinalRelease() { delete this; }

DWORD CCmdTarget::InternalAddRef() { return static_cast<DWORD>(InterlockedIncrement(&m_dwRef)); }

DWORD CCmdTarget::InternalRelease() {
  if (m_dwRef == 0) return 0;
  LONG lResult = InterlockedDecrement(&m_dwRef);
  if (lResult == 0) OnFinalRelease();
  return static_cast<DWORD>(lResult);
}

LPUNKNOWN CCmdTarget::GetInterfaceHook(const void* /*piid*/) { return nullptr; }

HRESULT CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj) {
  if (ppvObj == nullptr) return E_POINTER;
  *ppvObj = nullptr;
  if (iid == nullptr) return E_INVALIDARG;
  LPUNKNOWN pUnk = GetInterfaceHook(iid);
  if (pUnk == nullptr) return E_NOINTERFACE;
  pUnk->AddRef();
  *ppvObj = pUnk;
  return S_OK;
}

// ---- Wait cursor (per thread) ---------------------------------------------------------------------
namespace {
thread_local int t_nWaitCursorCount = 0;
thread_local HCURSOR t_hcurWaitRestore = nullptr;

void DoWaitCursor(int nCode) {
  if (nCode > 0) {
    HCURSOR hcurPrev = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (t_nWaitCursorCount++ == 0) t_hcurWaitRestore = hcurPrev;
  } else if (nCode < 0) {
    if (t_nWaitCursorCount > 0 && --t_nWaitCursorCount == 0) ::SetCursor(t_hcurWaitRestore);
  } else if (t_nWaitCursorCount > 0) {
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  }
}
}  // namespace

void CCmdTarget::BeginWaitCursor() { DoWaitCursor(1); }
void CCmdTarget::EndWaitCursor() { DoWaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { DoWaitCursor(0); }

CWaitCursor::CWaitCursor() : m_hcurPrev(nullptr) { DoWaitCursor(1); }
CWaitCursor::~CWaitCursor() { DoWaitCursor(-1); }
void CWaitCursor::Restore() { DoWaitCursor(0); }

// ---- CCmdUI --------------------------------------------------------------------------------------
CCmdUI::CCmdUI()
    : m_nID(0),
      m_nIndex(0),
      m_pMenu(nullptr),
      m_pSubMenu(nullptr),
      m_pParentMenu(nullptr),
      m_pOther(nullptr),
      m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE),
      m_nIndexMax(0) {}

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;  // a popup's own state follows its items
    ::EnableMenuItem(m_pMenu->GetSafeHmenu(), m_nIndex,
                     MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
  } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
    // Focus must not stay on a control that becomes disabled.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      HWND hWndParent = ::GetParent(m_pOther->m_hWnd);
      if (hWndParent != nullptr) ::SendMessage(hWndParent, WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(m_pOther->m_hWnd, bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;
    ::CheckMenuItem(m_pMenu->GetSafeHmenu(), m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
  } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
    if (::SendMessage(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) {
      ::SendMessage(m_pOther->m_hWnd, BM_SETCHECK, nCheck, 0);
    }
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;
    HMENU hMenu = m_pMenu->GetSafeHmenu();
    MENUITEMINFO mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfo(hMenu, m_nIndex, TRUE, &mii)) return;
    mii.fType = bOn ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
    mii.fState = bOn ? (mii.fState | MFS_CHECKED) : (mii.fState & ~MFS_CHECKED);
    ::SetMenuItemInfo(hMenu, m_nIndex, TRUE, &mii);
  } else {
    SetCheck(bOn ? 1 : 0);
  }
}

void CCmdUI::SetText(LPCTSTR lpszText) {
  if (lpszText == nullptr) lpszText = L"";
  if (m_pMenu != nullptr) {
    if (m_pSubMenu != nullptr) return;
    HMENU hMenu = m_pMenu->GetSafeHmenu();
    MENUITEMINFO mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<LPWSTR>(lpszText);
    ::SetMenuItemInfo(hMenu, m_nIndex, TRUE, &mii);
  } else if (m_pOther != nullptr && m_pOther->m_hWnd != nullptr) {
    // Only when it differs: setting a control's text repaints it.
    CString strOld;
    m_pOther->GetWindowText(strOld);
    if (strOld != lpszText) ::SetWindowText(m_pOther->m_hWnd, lpszText);
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (pTarget == nullptr || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
    return TRUE;  // separators and unnamed controls

  m_bEnableChanged = FALSE;
  BOOL bResult = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
    Enable(bHandler);
  }
  return bResult;
}
