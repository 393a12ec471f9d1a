// The command bars manager: creation of the bars and dock bars, docking, frame layout, keys and frame
// messages, menu keys and mnemonics, modal popup menus, customize mode and keyboard cues.
#include "CommandBars.h"

#include "AcceleratorManager.h"
#include "BarDragTracker.h"
#include "BarTheme.h"
#include "CommandBarsOptions.h"
#include "ControlPopup.h"
#include "CustomizeDragSource.h"
#include "DockBar.h"
#include "MenuBar.h"
#include "MenuSoundPlayer.h"
#include "ReBar.h"
#include "PopupBar.h"
#include "ToolBar.h"

#include <DrawHelpers.h>
#include <ImageManager.h>
#include <SystemResources.h>
#include <TabClientWnd.h>
#include <TipSettings.h>

IMPLEMENT_DYNCREATE(CXTPCommandBars, CCmdTarget)

// ---- The stored bar list -----------------------------------------------------------------------------

BOOL CXTPCommandBarList::Add(CXTPCommandBar* pBar) {
  if (pBar == nullptr || Contains(pBar)) return FALSE;
  pBar->InternalAddRef();
  m_arrBars.Add(pBar);
  return TRUE;
}

BOOL CXTPCommandBarList::Contains(const CXTPCommandBar* pBar) const {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    if (m_arrBars[i] == pBar) return TRUE;
  }
  return FALSE;
}

CXTPCommandBar* CXTPCommandBarList::FindCommandBar(UINT nBarID) const {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    if (m_arrBars[i]->GetBarID() == nBarID) return m_arrBars[i];
  }
  return nullptr;
}

void CXTPCommandBarList::RemoveAll() {
  CArray<CXTPCommandBar*, CXTPCommandBar*> arrBars;
  arrBars.Copy(m_arrBars);
  m_arrBars.RemoveAll();
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) arrBars[i]->InternalRelease();
}

// ---- Manager -----------------------------------------------------------------------------------------

CXTPCommandBars::CXTPCommandBars() {
  InterlockedIncrement(&XTPGetLiveObjectCounts()->nCommandBarsManagers);
  m_pDragSource = new CXTPCustomizeDragSource(this);
  m_pOptions = new CXTPCommandBarsOptions(this);
  CreateToolTipContext();
  m_pShortcutManager = new CXTPAcceleratorManager(this);
}

CXTPCommandBars::~CXTPCommandBars() {
  SetDragControl(nullptr);
  CArray<CXTPToolBar*, CXTPToolBar*> arrBars;
  arrBars.Copy(m_arrBars);
  m_arrBars.RemoveAll();
  m_pMenuBar = nullptr;
  for (INT_PTR i = 0; i < arrBars.GetSize(); ++i) {
    CXTPToolBar* pBar = arrBars[i];
    if (pBar->m_pDockBar != nullptr) pBar->m_pDockBar->RemoveBar(pBar);
    pBar->m_pDockBar = nullptr;
    // A bar someone else still holds outlives the manager: it must not reach it any more.
    if (pBar->m_dwRef > 1) {
      pBar->DestroyWindow();
      pBar->m_pCommandBars = nullptr;
    }
    pBar->InternalRelease();
  }
  for (CXTPDockBar*& pDock : m_pDocks) {
    delete pDock;
    pDock = nullptr;
  }
  delete m_pDragSource;
  m_pDragSource = nullptr;
  SetPaintManager(nullptr);
  SetImageManager(nullptr);
  ReleaseToolTipContext();
  m_pShortcutManager->InternalRelease();
  m_pShortcutManager = nullptr;
  m_pOptions->InternalRelease();
  m_pOptions = nullptr;
  CXTPMenuSoundPlayer::GetInstance()->Stop();
  InterlockedDecrement(&XTPGetLiveObjectCounts()->nCommandBarsManagers);
}

void CXTPCommandBars::SetSite(CWnd* pSite) {
  m_pFrame = pSite;
  if (pSite->GetSafeHwnd() != nullptr) {
    AFX_CMDHANDLERINFO info = {nullptr, nullptr};
    m_bCustomizable = pSite->OnCmdMsg(XTP_ID_CUSTOMIZE, CN_COMMAND, this, &info);
  }
}

void CXTPCommandBars::EnableDocking() {
  struct DockSpec {
    UINT nID;
    DWORD dwStyle;
  };
  static const DockSpec kDocks[4] = {{AFX_IDW_DOCKBAR_TOP, 0x2800},
                                     {AFX_IDW_DOCKBAR_BOTTOM, 0x8200},
                                     {AFX_IDW_DOCKBAR_LEFT, 0x1400},
                                     {AFX_IDW_DOCKBAR_RIGHT, 0x4100}};
  for (int i = 0; i < 4; ++i) {
    if (m_pDocks[i] != nullptr) continue;
    CXTPDockBar* pDock = new CXTPDockBar(this);
    if (!pDock->Create(m_pFrame, 0x56000000 | kDocks[i].dwStyle, kDocks[i].nID)) {
      delete pDock;
      AfxThrowResourceException();
    }
    m_pDocks[i] = pDock;
  }
}

CXTPMenuBar* CXTPCommandBars::SetMenu(LPCTSTR lpszCaption, UINT nIDMenu) {
  CXTPMenuBar* pMenuBar = static_cast<CXTPMenuBar*>(RUNTIME_CLASS(CXTPMenuBar)->CreateObject());
  if (pMenuBar == nullptr) return nullptr;
  pMenuBar->m_pCommandBars = this;
  pMenuBar->EnableDocking(0x5F);
  pMenuBar->SetTitle(lpszCaption);
  pMenuBar->Redraw();
  pMenuBar->SetBarID(1);
  if (!pMenuBar->SetPosition(xtpBarTop) || !pMenuBar->LoadMenuBar(nIDMenu)) {
    if (pMenuBar->m_pDockBar != nullptr) pMenuBar->m_pDockBar->RemoveBar(pMenuBar);
    pMenuBar->InternalRelease();
    return nullptr;
  }
  if (nIDMenu != 0) {
    pMenuBar->GetControls()->SnapshotOriginal();
    m_nIDMenu = nIDMenu;
  }
  m_arrBars.Add(pMenuBar);
  m_pMenuBar = pMenuBar;
  return pMenuBar;
}

CXTPToolBar* CXTPCommandBars::Add(LPCTSTR lpszCaption, XTPBarPosition barPosition,
                                  CRuntimeClass* pToolbarClass) {
  if (pToolbarClass == nullptr) pToolbarClass = RUNTIME_CLASS(CXTPToolBar);
  if (!pToolbarClass->IsDerivedFrom(RUNTIME_CLASS(CXTPToolBar))) return nullptr;
  CXTPToolBar* pBar = static_cast<CXTPToolBar*>(pToolbarClass->CreateObject());
  if (pBar == nullptr) return nullptr;
  pBar->m_pCommandBars = this;
  pBar->EnableDocking(0x3F);
  pBar->SetTitle(lpszCaption);
  if (!pBar->SetPosition(barPosition)) {
    if (pBar->m_pDockBar != nullptr) pBar->m_pDockBar->RemoveBar(pBar);
    pBar->InternalRelease();
    return nullptr;
  }
  m_arrBars.Add(pBar);
  return pBar;
}

CXTPToolBar* CXTPCommandBars::AddCustomBar(LPCTSTR lpcstrCaption, UINT nID, BOOL bTearOffBar) {
  CXTPToolBar* pBar = static_cast<CXTPToolBar*>(RUNTIME_CLASS(CXTPToolBar)->CreateObject());
  pBar->m_pCommandBars = this;
  if (m_pFrame->GetSafeHwnd() != nullptr) {
    XTP_COMMANDBARS_CREATEBAR cs = {};
    cs.pCommandBar = pBar;
    cs.bCustomBar = TRUE;
    cs.bTearOffBar = bTearOffBar;
    cs.lpcstrCaption = lpcstrCaption;
    cs.nID = nID;
    m_pFrame->SendMessage(XTP_WM_CREATECOMMANDBAR, 0, reinterpret_cast<LPARAM>(&cs));
  }
  if (pBar->GetDragTracker() == nullptr) pBar->EnableDocking(0x3F);
  pBar->SetTitle(lpcstrCaption);
  if (!pBar->SetPosition(bTearOffBar ? xtpBarFloating : xtpBarTop)) {
    if (pBar->m_pDockBar != nullptr) pBar->m_pDockBar->RemoveBar(pBar);
    pBar->InternalRelease();
    return nullptr;
  }
  m_arrBars.Add(pBar);
  pBar->SetBarID(nID);
  pBar->SetBuiltIn(FALSE);
  pBar->SetTearOff(bTearOffBar);
  if (!bTearOffBar) RecalcFrameLayout();
  OnToolBarAdded(pBar);
  return pBar;
}

CXTPToolBar* CXTPCommandBars::GetAt(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_arrBars[nIndex] : nullptr;
}

CXTPToolBar* CXTPCommandBars::FindCommandBar(UINT nBarID) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (m_arrBars[i]->GetBarID() == nBarID) return m_arrBars[i];
  }
  return nullptr;
}

void CXTPCommandBars::Remove(CXTPToolBar* pToolBar) {
  int nIndex = -1;
  for (int i = 0; i < GetCount(); ++i) {
    if (m_arrBars[i] == pToolBar) nIndex = i;
  }
  if (nIndex < 0) return;
  if (pToolBar->GetSafeHwnd() != nullptr) pToolBar->ShowWindow(SW_HIDE);
  if (pToolBar->m_pDockBar != nullptr) {
    pToolBar->m_pDockBar->RemoveBar(pToolBar);
    pToolBar->m_pDockBar = nullptr;
    RecalcFrameLayout();
  }
  pToolBar->m_bVisible = FALSE;
  OnToolBarRemoved(pToolBar);
  m_arrBars.RemoveAt(nIndex);
  if (m_pMenuBar == pToolBar) m_pMenuBar = nullptr;
  pToolBar->InternalRelease();
}

void CXTPCommandBars::ToggleVisible(int nIndex) {
  if (CXTPToolBar* pBar = GetAt(nIndex)) pBar->SetVisible(!pBar->IsVisible());
}

CXTPBarTheme* CXTPCommandBars::GetPaintManager() const {
  return m_pPaintManager != nullptr ? m_pPaintManager : CXTPBarTheme::GetTheme();
}

void CXTPCommandBars::SetPaintManager(CXTPBarTheme* pPaintManager) {
  if (XTPReplaceHeld(m_pPaintManager, pPaintManager, FALSE) && pPaintManager != nullptr)
    pPaintManager->RefreshMetrics();
}

CSize CXTPCommandBars::GetPopupIconSize() const { return m_pOptions->szPopupIcons; }

// ---- Docking -----------------------------------------------------------------------------------------

BOOL CXTPCommandBars::DockCommandBar(CXTPToolBar* pBar, LPRECT lpRect, CXTPDockBar* pDockBar) {
  if (pBar == nullptr || pDockBar == nullptr) return FALSE;
  if (!pBar->CreateToolBarWindow(pDockBar, FALSE)) return FALSE;
  pDockBar->DockBar(pBar, lpRect);
  pBar->SetBarPosition(pDockBar->GetDockSide());
  return TRUE;
}

BOOL CXTPCommandBars::DockCommandBar(CXTPToolBar* pBar, int nSide) {
  return DockCommandBar(pBar, nullptr, GetDockBar(nSide));
}

BOOL CXTPCommandBars::FloatCommandBar(CXTPToolBar* pBar) {
  if (pBar == nullptr) return FALSE;
  if (CXTPBarDragTracker* pTracker = pBar->GetDragTracker()) pTracker->RememberDockedPlace();
  if (!pBar->CreateToolBarWindow(m_pFrame, TRUE)) return FALSE;
  if (pBar->m_pDockBar != nullptr) {
    pBar->m_pDockBar->RemoveBar(pBar);
    pBar->m_pDockBar = nullptr;
  }
  pBar->SetBarPosition(xtpBarFloating);
  return TRUE;
}

CXTPDockBar* CXTPCommandBars::CalcDockPosition(CPoint point, CXTPDockBar* pCurrentDockBar) const {
  auto catches = [&](CXTPDockBar* pDock) {
    if (pDock == nullptr || pDock->GetSafeHwnd() == nullptr) return FALSE;
    CRect rc;
    pDock->GetWindowRect(&rc);
    const int nMargin = 20;
    return static_cast<BOOL>(rc.left - nMargin < point.x && point.x < rc.right + nMargin &&
                             rc.top - nMargin < point.y && point.y < rc.bottom + nMargin);
  };
  if (pCurrentDockBar != nullptr && catches(pCurrentDockBar)) return pCurrentDockBar;
  for (CXTPDockBar* pDock : m_pDocks) {
    if (catches(pDock)) return pDock;
  }
  return nullptr;
}

// ---- Layout ------------------------------------------------------------------------------------------

void CXTPCommandBars::RecalcFrameLayout(BOOL bDelay) {
  if (m_bRecalcLayout || m_pFrame->GetSafeHwnd() == nullptr) return;
  if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pFrame)) {
    if (bDelay) {
      pFrame->m_nIdleFlags |= CFrameWnd::idleLayout;
    } else {
      pFrame->RecalcLayout(FALSE);
    }
    return;
  }
  CRect rc;
  m_pFrame->GetClientRect(&rc);
  const LPARAM lParam = MAKELPARAM(rc.Width(), rc.Height());
  if (bDelay) {
    m_pFrame->PostMessage(WM_SIZE, 0, lParam);
  } else {
    m_pFrame->SendMessage(WM_SIZE, 0, lParam);
  }
}

void CXTPCommandBars::FlushDelayedLayout() {
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, m_pFrame);
  if (pFrame != nullptr && pFrame->GetSafeHwnd() != nullptr &&
      (pFrame->m_nIdleFlags & CFrameWnd::idleLayout)) {
    pFrame->RecalcLayout(FALSE);
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
  }
}

void CXTPCommandBars::RedrawCommandBars() {
  for (int i = 0; i < GetCount(); ++i) {
    CXTPToolBar* pBar = m_arrBars[i];
    if (pBar->IsVisible() && pBar->GetSafeHwnd() != nullptr) pBar->Redraw();
  }
}

void CXTPCommandBars::UpdateCommandBars() {
  m_bRecalcLayout = TRUE;
  for (int i = 0; i < GetCount(); ++i) {
    if (m_arrBars[i]->IsVisible()) m_arrBars[i]->OnRecalcLayout();
  }
  CMDIFrameWnd* pMDIFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrame);
  if (pMDIFrame != nullptr && pMDIFrame->m_hWndMDIClient != nullptr) {
    CXTPTabClientWnd* pTabClient =
        DYNAMIC_DOWNCAST(CXTPTabClientWnd, CWnd::FromHandlePermanent(pMDIFrame->m_hWndMDIClient));
    if (pTabClient != nullptr) pTabClient->Refresh();
  }
  m_bRecalcLayout = FALSE;
  RecalcFrameLayout();
}

// ---- Keys and frame messages -------------------------------------------------------------------------

CXTPBarMouseTracker* CXTPCommandBars::GetThreadState() const {
  if (m_pThreadState == nullptr) m_pThreadState = CXTPBarMouseTracker::GetThreadState();
  return m_pThreadState;
}

BOOL CXTPCommandBars::IsActiveSite() const {
  return m_pFrame->GetSafeHwnd() != nullptr && IsTopParentActive(m_pFrame->GetSafeHwnd());
}

BOOL CXTPCommandBars::PreTranslateFrameMessage(MSG* pMsg) {
  CXTPBarMouseTracker* pState = GetThreadState();
  const BOOL bHook = CXTPBarKeyboardHook::GetThreadState()->IsActive();
  // The release of an Alt that closed the menus: the frame never sees it, so it opens nothing.
  if ((pMsg->message == WM_KEYUP || pMsg->message == WM_SYSKEYUP) && pMsg->wParam == VK_MENU &&
      pState->ConsumeAltCloseRelease())
    return TRUE;
  if (pMsg->message == WM_SYSKEYDOWN && (pMsg->lParam & (1 << 29)) && pState->m_nModalCounter < 1 && !bHook &&
      IsActiveSite()) {
    const UINT nKey = static_cast<UINT>(pMsg->wParam);
    if (nKey == VK_MENU) {
      ShowKeyboardCues(TRUE);
      return FALSE;
    }
    if (!(m_bIgnoreShiftMenuKey && ::GetKeyState(VK_SHIFT) < 0) && HandleMenuKey(nKey)) return TRUE;
  }
  if ((pMsg->message == WM_SYSKEYUP || pMsg->message == WM_KEYUP) && m_bKeyboardCuesAutomatic &&
      m_bKeyboardCuesVisible && !bHook) {
    ShowKeyboardCues(FALSE);
  }
  // While a bar tracks the keyboard, the release of Alt (posted by some systems as a plain key-up)
  // must not reach the frame's default handling, which would start the system's own menu mode.
  const BOOL bAltUp = pMsg->message == WM_SYSKEYUP || (pMsg->message == WM_KEYUP && pMsg->wParam == VK_MENU);
  if ((pMsg->message == WM_CONTEXTMENU || bAltUp) && bHook) return TRUE;
  if (pMsg->message == WM_MOUSEWHEEL && pState->GetTrackedCount() > 0) return pState->OnMouseWheel(pMsg);
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_pFrame->GetSafeHwnd() != nullptr &&
      m_pShortcutManager->TranslateAccelerator(m_pFrame, pMsg)) {
    return TRUE;
  }
  return FALSE;
}

BOOL CXTPCommandBars::OnFrameWndMsg(UINT message, WPARAM wParam, LPARAM, LRESULT* pResult) {
  switch (message) {
    case WM_CLOSE:
      return m_pDragSource != nullptr && m_pDragSource->GetSheet() != nullptr;
    case WM_SYSCOLORCHANGE:
      GetSystemResources()->UpdateColors();
      GetSystemResources()->UpdateMetrics();
      GetColorTable()->RefreshColors();
      GetPaintManager()->RefreshMetrics();
      RefreshImages();
      RecalcFrameLayout();
      m_pFrame->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return FALSE;
    case WM_SETTINGCHANGE:
      GetPaintManager()->RefreshMetrics();
      RecalcFrameLayout();
      m_pFrame->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return FALSE;
    case WM_ACTIVATEAPP:
      if (wParam == 0) ClosePopups();
      return FALSE;
    case WM_COMMAND: {
      CWnd* pFocus = CWnd::GetFocus();
      if (IsToolkitEdit(pFocus) && pFocus->OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr, nullptr)) {
        if (pResult != nullptr) *pResult = 1;
        return TRUE;
      }
      return FALSE;
    }
    case WM_SYSCOMMAND:
      if (!m_bCustomizeMode && (wParam & 0xFFF0) != SC_KEYMENU && !(wParam != 0 && LOWORD(wParam) == 0))
        ClosePopups();
      return FALSE;
    case WM_IDLEUPDATECMDUI:
      for (int i = 0; i < GetCount(); ++i) {
        CXTPToolBar* pBar = m_arrBars[i];
        if (pBar->GetPosition() == xtpBarFloating && pBar->IsVisible()) pBar->OnUpdateCmdUI(TRUE);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

CXTPControl* CXTPCommandBars::FindMnemonicControl(CXTPCommandBar* pBar, UINT nChar, BOOL* pbAmbiguous) {
  *pbAmbiguous = FALSE;
  const int nUse = m_pOptions->keyboardCuesUse;
  const BOOL bAllBars = (nUse & xtpKeyboardCuesUseAll) != 0;
  const BOOL bNoImplicit = (nUse & xtpKeyboardCuesUseNoImplicit) != 0;

  // The bars to walk, starting with pBar.
  CArray<CXTPCommandBar*, CXTPCommandBar*> arrBars;
  arrBars.Add(pBar);
  if (bAllBars) {
    int nStart = -1;
    for (int i = 0; i < GetCount(); ++i) {
      if (m_arrBars[i] == pBar) nStart = i;
    }
    for (int n = 1; n <= GetCount(); ++n) {
      CXTPToolBar* pNext = m_arrBars[(nStart + n + GetCount()) % GetCount()];
      if (pNext != pBar && pNext->IsVisible()) arrBars.Add(pNext);
    }
  }
  CXTPControl* pExplicit = nullptr;
  CXTPControl* pImplicit = nullptr;
  BOOL bExplicitAmbiguous = FALSE, bImplicitAmbiguous = FALSE;
  auto visit = [&](CXTPCommandBar* pOwner, CXTPControl* pControl) {
    if (!pControl->IsVisible() || !pControl->GetEnabled()) return;
    const CString strCaption = pControl->GetCaption();
    if (strCaption.IsEmpty()) return;
    BOOL bImplicit = FALSE;
    const TCHAR chMnemonic = CXTPCommandBar::GetMnemonic(strCaption, &bImplicit);
    if (!CXTPAcceleratorManager::IsKeyForChar(nChar, chMnemonic)) return;
    if (!bImplicit) {
      if (pExplicit == nullptr) {
        pExplicit = pControl;
      } else {
        bExplicitAmbiguous = TRUE;
      }
    } else if (!bNoImplicit && (pOwner->GetType() == xtpBarTypeMenuBar || pOwner->IsTrackingMode())) {
      if (pImplicit == nullptr) {
        pImplicit = pControl;
      } else {
        bImplicitAmbiguous = TRUE;
      }
    }
  };
  const int nFirstCount = pBar->GetControlCount();
  const int nSelected = pBar->GetCurSel();
  for (int n = 1; n <= nFirstCount && nSelected + n < nFirstCount; ++n)
    visit(pBar, pBar->GetControl(nSelected + n));
  for (INT_PTR b = 1; b < arrBars.GetSize(); ++b) {
    for (int i = 0; i < arrBars[b]->GetControlCount(); ++i) visit(arrBars[b], arrBars[b]->GetControl(i));
  }
  for (int i = 0; i <= nSelected && i < nFirstCount; ++i) visit(pBar, pBar->GetControl(i));
  if (pExplicit != nullptr) {
    *pbAmbiguous = bExplicitAmbiguous;
    return pExplicit;
  }
  *pbAmbiguous = bImplicitAmbiguous;
  return pImplicit;
}

BOOL CXTPCommandBars::HandleMenuKey(UINT nChar) {
  if (m_pOptions->keyboardCuesUse == xtpKeyboardCuesUseNone) return FALSE;
  if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9) return FALSE;
  if (::MapVirtualKey(nChar, MAPVK_VK_TO_CHAR) == 0) return FALSE;
  CXTPBarMouseTracker* pState = GetThreadState();
  CXTPCommandBar* pBar = nullptr;
  if (pState->GetTrackedCount() > 0) {
    pBar = pState->GetTrackedAt(pState->GetTrackedCount() - 1);
  } else if (m_pMenuBar != nullptr && m_pMenuBar->IsVisible()) {
    pBar = m_pMenuBar;
  } else if (m_pOptions->keyboardCuesUse & xtpKeyboardCuesUseAll) {
    for (int i = 0; i < GetCount() && pBar == nullptr; ++i) {
      if (m_arrBars[i]->IsVisible()) pBar = m_arrBars[i];
    }
  }
  if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr || !pBar->IsWindowVisible()) return FALSE;
  BOOL bAmbiguous = FALSE;
  CXTPControl* pControl = FindMnemonicControl(pBar, nChar, &bAmbiguous);
  if (pControl == nullptr) return FALSE;
  CXTPCommandBar* pControlBar = pControl->GetParent();
  InternalAddRef();
  pControl->InternalAddRef();
  pControlBar->InternalAddRef();
  if (!pControlBar->IsTrackingMode()) ClosePopups();
  ShowKeyboardCues(TRUE);
  pControlBar->EnterTracking(1, FALSE, TRUE);
  pControlBar->SetSelected(pControl->GetIndex(), TRUE);
  if (!bAmbiguous) pControl->OnKeyboardActivate();
  pControlBar->InternalRelease();
  pControl->InternalRelease();
  InternalRelease();
  return TRUE;
}

BOOL CXTPCommandBars::TrackNextBar(CXTPCommandBar* pBar, int nDirection) {
  CXTPCommandBar* pTarget = nullptr;
  if (nDirection == 0) {
    pTarget = pBar;
  } else {
    if (GetCount() < 2) return FALSE;
    int nIndex = -1;
    for (int i = 0; i < GetCount(); ++i) {
      if (m_arrBars[i] == pBar) nIndex = i;
    }
    int i = (nIndex == -1 && nDirection < 0) ? GetCount() - 1 : nIndex + nDirection;
    BOOL bWrapped = FALSE;
    for (int nSteps = 0; nSteps < GetCount(); ++nSteps) {
      if (i >= GetCount() || i < 0) {
        if (bWrapped) break;
        bWrapped = TRUE;
        i = i < 0 ? GetCount() - 1 : 0;
      }
      if (i != nIndex && m_arrBars[i]->IsVisible()) {
        pTarget = m_arrBars[i];
        break;
      }
      i += nDirection;
    }
  }
  if (pTarget == nullptr || pTarget->GetSafeHwnd() == nullptr) return FALSE;
  ClosePopups();
  ShowKeyboardCues(TRUE);
  pTarget->EnterTracking(1, FALSE, TRUE);
  for (int i = 0; i < pTarget->GetControlCount(); ++i) {
    CXTPControl* pControl = pTarget->GetControl(i);
    if (pControl->IsVisible() && pControl->GetEnabled()) {
      pTarget->SetSelected(i, TRUE);
      break;
    }
  }
  return TRUE;
}

UINT CXTPCommandBars::TrackPopupMenu(CXTPPopupBar* pPopup, UINT nFlags, int x, int y, LPCRECT rcExclude,
                                     CWnd* pWndOwner) {
  return TrackPopup(this, pPopup, nFlags, x, y, rcExclude, pWndOwner != nullptr ? pWndOwner : m_pFrame);
}

UINT PASCAL CXTPCommandBars::TrackPopup(CXTPCommandBars* pCommandBars, CXTPPopupBar* pPopup, UINT nFlags,
                                        int x, int y, LPCRECT rcExclude, CWnd* pWndOwner) {
  if (pPopup == nullptr) return FALSE;
  CXTPBarMouseTracker* pState =
      pCommandBars != nullptr ? pCommandBars->GetThreadState() : CXTPBarMouseTracker::GetThreadState();
  pPopup->InternalAddRef();
  pPopup->SetOwnerWindow(pWndOwner != nullptr ? pWndOwner : AfxGetMainWnd());
  UINT nReturn = 0;
  pPopup->SetReturnCmd((nFlags & TPM_RETURNCMD) ? &nReturn : nullptr);
  pPopup->SetRightButtonSelect((nFlags & TPM_RIGHTBUTTON) != 0);
  pPopup->SetPopupLeft((nFlags & TPM_RIGHTALIGN) != 0);
  pPopup->SetNoNotify((nFlags & TPM_NONOTIFY) != 0);
  const BOOL bRecurse = (nFlags & TPM_RECURSE) != 0;
  pPopup->SetRecursePopup(bRecurse);
  if (bRecurse) {
    pState->LockTracked(TRUE);
  } else {
    pState->CloseAllTracked();
    ::ReleaseCapture();
  }
  BOOL bOpened = pPopup->PopupAt(x, y, rcExclude);
  if (bOpened) {
    while (pPopup->IsTrackingMode()) {
      MSG msg;
      if (!::GetMessage(&msg, nullptr, 0, 0)) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (!pPopup->IsTrackingMode()) {
        if (msg.hwnd != nullptr) {
          ::PostMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        } else {
          ::PostThreadMessage(::GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
        }
        break;
      }
      if (msg.message == WM_KICKIDLE) continue;
      if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
      }
    }
    if (pPopup->IsTrackingMode()) pPopup->EnterTracking(0);
  }
  if (bRecurse) pState->LockTracked(FALSE);
  pPopup->SetReturnCmd(nullptr);
  pPopup->InternalRelease();
  if (!bOpened) return FALSE;
  return (nFlags & TPM_RETURNCMD) ? nReturn : TRUE;
}

void CXTPCommandBars::ClosePopups() const { GetThreadState()->CloseAllTracked(); }

void CXTPCommandBars::ContextMenu(WPARAM wParam, int x, int y) {
  if (m_bCustomizeMode) return;
  CXTPPopupBar* pPopup = GetToolbarsPopup();
  if (pPopup == nullptr) return;
  if (m_pFrame->GetSafeHwnd() != nullptr)
    m_pFrame->SendMessage(XTP_WM_TOOLBARCONTEXTMENU, wParam, reinterpret_cast<LPARAM>(pPopup));
  if (pPopup->GetControlCount() >= 1) {
    ClosePopups();
    TrackPopupMenu(pPopup, IsLayoutRTL() ? TPM_RIGHTALIGN : 0, x, y);
  }
  pPopup->InternalRelease();
}

CXTPPopupBar* CXTPCommandBars::GetToolbarsPopup() {
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(this);
  pPopup->GetControls()->Add(xtpControlButton, XTP_ID_TOOLBARLIST);
  return pPopup;
}

void CXTPCommandBars::AddHiddenRowControls(CXTPToolBar* pToolBar, CXTPPopupBar* pPopup) {
  CXTPDockBar* pDock = pToolBar != nullptr ? pToolBar->GetDockBar() : nullptr;
  if (pDock == nullptr || pPopup == nullptr) return;
  CArray<CXTPToolBar*, CXTPToolBar*> arrRow;
  pDock->GetRowBars(pDock->FindBar(pToolBar), arrRow);
  for (INT_PTR b = 0; b < arrRow.GetSize(); ++b) {
    CXTPControls* pControls = arrRow[b]->GetControls();
    for (int i = 0; i < pControls->GetCount(); ++i) {
      CXTPControl* pControl = pControls->GetAt(i);
      if (pControl->GetHideFlags() != xtpHideWrap) continue;
      CXTPControl* pCopy = pPopup->GetControls()->AddClone(pControl);
      pCopy->SetHideFlags(xtpNoHide);
      pCopy->SetBeginGroup(FALSE);
    }
  }
}

void CXTPCommandBars::AddRemoveButtonsPopup(CXTPToolBar* pToolBar, CXTPPopupBar* pPopup) {
  if (pToolBar == nullptr || pPopup == nullptr) return;
  CArray<CXTPToolBar*, CXTPToolBar*> arrRow;
  if (CXTPDockBar* pDock = pToolBar->GetDockBar()) {
    pDock->GetRowBars(pDock->FindBar(pToolBar), arrRow);
  } else {
    arrRow.Add(pToolBar);
  }
  for (INT_PTR b = 0; b < arrRow.GetSize(); ++b) {
    CXTPToolBar* pBar = arrRow[b];
    CXTPControlPopup* pControl =
        static_cast<CXTPControlPopup*>(pPopup->GetControls()->Add(xtpControlPopup, 0));
    pControl->SetFlags(xtpFlagManualUpdate);
    pControl->SetCaption(pBar->GetTitle());
    const BOOL bEnabled = m_bCustomizable && pBar->IsBuiltIn() && pBar->IsCustomizable();
    pControl->SetEnabled(bEnabled);
    if (bEnabled) {
      if (CXTPPopupBar* pSub = DYNAMIC_DOWNCAST(CXTPPopupBar, pControl->GetCommandBar()))
        pBar->FillAddRemoveButtonsList(pSub);
    }
  }
  if (m_bCustomizable) pPopup->GetControls()->Add(xtpControlButton, XTP_ID_CUSTOMIZE)->SetBeginGroup(TRUE);
}

// A toolbar joins the frame's rebar, when the frame has one, with the rebar classes.
// The site's rebar, when it hosts its toolbars as bands.
static CXTPReBar* FindSiteReBar(CWnd* pSite) {
  if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr) return nullptr;
  return DYNAMIC_DOWNCAST(CXTPReBar,
                          CWnd::FromHandlePermanent(::GetDlgItem(pSite->GetSafeHwnd(), AFX_IDW_REBAR)));
}

void CXTPCommandBars::OnToolBarAdded(CXTPToolBar* pToolBar) {
  if (CXTPReBar* pReBar = FindSiteReBar(m_pFrame))
    pReBar->AddToolBar(pToolBar, RBBS_BREAK | RBBS_GRIPPERALWAYS);
}

void CXTPCommandBars::OnToolBarRemoved(CXTPToolBar* pToolBar) {
  if (CXTPReBar* pReBar = FindSiteReBar(m_pFrame)) pReBar->RemoveToolBar(pToolBar);
}

// ---- Hidden and used commands ------------------------------------------------------------------------

BOOL CXTPCommandBars::IsCommandHidden(int nID) { return m_pOptions->IsCommandHidden(static_cast<UINT>(nID)); }

BOOL CXTPCommandBars::IsControlHidden(CXTPControl* pControl) { return IsControlHidden(pControl, 0); }

BOOL CXTPCommandBars::IsControlHidden(CXTPControl* pControl, int nDepth) {
  if (pControl == nullptr || nDepth > XTP_MAX_POPUP_DEPTH) return FALSE;
  if (IsCommandHidden(pControl->GetID())) return TRUE;
  if (!m_pOptions->bAutoHideUnusedPopups) return FALSE;
  const XTPControlType type = pControl->GetType();
  if (type != xtpControlPopup && type != xtpControlButtonPopup && type != xtpControlSplitButtonPopup)
    return FALSE;
  CXTPCommandBar* pBar = pControl->GetCommandBar();
  if (pBar == nullptr || pBar->GetControlCount() == 0) return FALSE;
  for (int i = 0; i < pBar->GetControlCount(); ++i) {
    if (!IsControlHidden(pBar->GetControl(i), nDepth + 1)) return FALSE;
  }
  return TRUE;
}

void CXTPCommandBars::MarkCommandUsed(int nID) {
  if (IsCommandHidden(nID)) m_pOptions->SetCommandUsed(static_cast<UINT>(nID));
}

int CXTPCommandBars::GetActiveMenuId() {
  CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, m_pFrame);
  if (pFrame == nullptr) return 0;
  CMDIChildWnd* pChild = pFrame->MDIGetActive();
  if (pChild == nullptr) return static_cast<int>(m_nIDMenu);
  CDocument* pDocument = pChild->GetActiveDocument();
  if (pDocument == nullptr) return static_cast<int>(pChild->m_nIDHelp);
  CDocTemplate* pTemplate = pDocument->GetDocTemplate();
  return pTemplate != nullptr ? static_cast<int>(pTemplate->m_nIDResource) : 0;
}

// ---- Customize mode ----------------------------------------------------------------------------------

void CXTPCommandBars::SetCustomizeMode(BOOL bMode) {
  m_pOptions->bDirtyState = TRUE;
  m_bCustomizeMode = bMode;
  SetDragControl(nullptr);
  for (int i = 0; i < GetCount(); ++i) m_arrBars[i]->OnUpdateCmdUI(TRUE);
  RecalcFrameLayout();
  ShowKeyboardCues(bMode);
}

void CXTPCommandBars::SetQuickCustomizeMode(BOOL bMode) {
  m_bCustomizeMode = bMode;
  m_bQuickCustomizeMode = bMode;
  SetDragControl(nullptr);
  ShowKeyboardCues(bMode);
}

void CXTPCommandBars::SetDragControl(CXTPControl* pControl) {
  if (pControl != m_pDragSelected) {
    CXTPControl* pOld = m_pDragSelected;
    if (pControl != nullptr) pControl->InternalAddRef();
    m_pDragSelected = pControl;
    if (pOld != nullptr) {
      if (pOld->GetParent() != nullptr && pOld->GetParent()->GetSafeHwnd() != nullptr)
        pOld->GetParent()->Invalidate(FALSE);
      pOld->InternalRelease();
    }
    if (pControl != nullptr && pControl->GetParent() != nullptr &&
        pControl->GetParent()->GetSafeHwnd() != nullptr)
      pControl->GetParent()->Invalidate(FALSE);
  }
  CWnd* pTarget =
      m_pDragSource != nullptr && m_pDragSource->GetSheet() != nullptr ? m_pDragSource->GetSheet() : m_pFrame;
  if (pTarget->GetSafeHwnd() != nullptr) pTarget->SendMessage(XTP_WM_DRAGCONTROLCHANGED, 0, 0);
}

// ---- Keyboard cues, layout direction, print preview ---------------------------------------------------

void CXTPCommandBars::ShowKeyboardCues(BOOL bShow) {
  if (!m_bKeyboardCuesAutomatic) return;
  if (m_bCustomizeMode) bShow = TRUE;
  if (m_bKeyboardCuesVisible == bShow) return;
  m_bKeyboardCuesVisible = bShow;
  RedrawCommandBars();
}

BOOL CXTPCommandBars::IsKeyboardCuesVisible() const { return m_bKeyboardCuesVisible || m_bCustomizeMode; }

void CXTPCommandBars::SetKeyboardCuesShow(int nShow) {
  BOOL bVisible = TRUE, bAutomatic = FALSE;
  if (nShow == 1) {
    bVisible = FALSE;
  } else if (nShow == 2) {
    BOOL bSystemCues = TRUE;
    ::SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &bSystemCues, 0);
    if (!bSystemCues) {
      bAutomatic = TRUE;
      bVisible = FALSE;
    }
  }
  m_bKeyboardCuesAutomatic = bAutomatic;
  if (m_bKeyboardCuesVisible != bVisible) {
    m_bKeyboardCuesVisible = bVisible;
    RedrawCommandBars();
  }
}

void CXTPCommandBars::UpdateKeyboardCues(int nState) {
  if (nState == 0 && m_bKeyboardCuesAutomatic && GetThreadState()->GetTrackedCount() == 0)
    ShowKeyboardCues(FALSE);
}

BOOL CXTPCommandBars::IsLayoutRTL() const {
  if (m_pFrame->GetSafeHwnd() != nullptr && (m_pFrame->GetExStyle() & WS_EX_LAYOUTRTL)) return TRUE;
  return m_bRightToLeft;
}

void CXTPCommandBars::OnSetPreviewMode(BOOL bPreview) {
  m_pShortcutManager->AdjustDisableCount(bPreview);
  for (int i = 0; i < GetCount(); ++i) m_arrBars[i]->OnSetPreviewMode(bPreview);
}

BOOL PASCAL CXTPCommandBars::IsToolkitEdit(CWnd* pWnd) {
  // The edit window class comes with the edit controls; until it exists no window is one.
  CRuntimeClass* pClass = CRuntimeClass::FromName("CXTPEdit");
  return pWnd != nullptr && pClass != nullptr && pWnd->IsKindOf(pClass);
}

// ---- Images and tips ---------------------------------------------------------------------------------

CXTPImageManager* CXTPCommandBars::GetImageManager() const {
  return m_pImageManager != nullptr ? m_pImageManager : XTPImageManager();
}

void CXTPCommandBars::SetImageManager(CXTPImageManager* pImageManager) {
  XTPReplaceHeld(m_pImageManager, pImageManager, FALSE);
}

void CXTPCommandBars::RefreshImages() { GetImageManager()->RefreshAll(); }

void CXTPCommandBars::CreateToolTipContext() {
  m_pToolTipContext = new CXTPTipSettings;
  m_pToolTipContext->ModifyTipStyle(2, 0);
}

void CXTPCommandBars::ReleaseToolTipContext() { XTPReplaceHeld(m_pToolTipContext, nullptr, FALSE); }
