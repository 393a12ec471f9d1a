// Popup bars: the window of an open menu, its column layout, its place on the screen and its life from
// Popup to leaving tracking.
#include "PopupBar.h"

#include "AcceleratorManager.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "ControlPopup.h"
#include "MenuSoundPlayer.h"

#include <MonitorApi.h>
#include <PropExchange.h>
#include <ScopedFont.h>

IMPLEMENT_SERIAL(CXTPPopupBar, CXTPCommandBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPPopupToolBar, CXTPPopupBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPPopupBar, CXTPCommandBar)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

namespace {

enum { xtpPopupLeft = 0x01, xtpPopupDown = 0x02 };

}  // namespace

CXTPPopupBar::CXTPPopupBar() {
  m_barType = xtpBarTypePopup;
  m_barPosition = xtpBarPopup;
}

CXTPPopupBar::~CXTPPopupBar() = default;

CXTPPopupBar* PASCAL CXTPPopupBar::CreatePopupBarForCommandBars(CXTPCommandBars* pCommandBars) {
  CXTPPopupBar* pBar = static_cast<CXTPPopupBar*>(RUNTIME_CLASS(CXTPPopupBar)->CreateObject());
  pBar->m_pCommandBars = pCommandBars;
  return pBar;
}

BOOL CXTPPopupBar::CreatePopupWindow() {
  if (m_hWnd != nullptr) return TRUE;
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_SAVEBITS, ::LoadCursor(nullptr, IDC_ARROW));
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  DWORD dwExStyle = WS_EX_TOOLWINDOW;
  if (pCommandBars != nullptr && pCommandBars->IsLayoutRTL()) dwExStyle |= WS_EX_LAYOUTRTL;
  CWnd* pOwner = GetOwnerSite();
  return CreateEx(dwExStyle, lpszClass, nullptr, 0x86000100, 0, 0, 0, 0, pOwner->GetSafeHwnd(), nullptr);
}

BOOL CXTPPopupBar::DestroyWindow() {
  if (m_hWnd != nullptr) {
    // Windows hosted in the popup survive it.
    CWnd* pSite = GetOwnerSite();
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild != nullptr;) {
      HWND hWndNext = ::GetWindow(hWndChild, GW_HWNDNEXT);
      ::ShowWindow(hWndChild, SW_HIDE);
      ::SetParent(hWndChild, pSite->GetSafeHwnd());
      hWndChild = hWndNext;
    }
  }
  return CXTPCommandBar::DestroyWindow();
}

CXTPCommandBar* CXTPPopupBar::GetParentCommandBar() const {
  return m_pControlPopup != nullptr ? m_pControlPopup->GetParent() : nullptr;
}

BOOL CXTPPopupBar::IsVisible() const { return m_hWnd != nullptr && IsWindowVisible(); }

int CXTPPopupBar::GetDefaultItem(BOOL bByPosition) const {
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (pControl->IsVisible() && pControl->GetDefaultItem()) return bByPosition ? i : pControl->GetID();
  }
  return -1;
}

void CXTPPopupBar::SetTearOffPopup(LPCTSTR lpszCaption, UINT nID, int nWidth) {
  m_bTearOffPopup = TRUE;
  m_strTearOffCaption = lpszCaption;
  m_nTearOffID = nID;
  m_nTearOffWidth = nWidth;
}

void CXTPPopupBar::ExpandBar() {
  if (m_bFullMenuShown || !m_bExpandButtonNeeded) return;
  m_bFullMenuShown = TRUE;
  SetPopuped(-1);
  SetSelected(-1);
  DelayLayout();
}

void CXTPPopupBar::UpdateShortcuts() {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars == nullptr) return;
  CXTPAcceleratorManager* pShortcuts = pCommandBars->GetShortcutManager();
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (!pControl->IsVisible() || pControl->GetID() == 0) continue;
    CString strShortcut = pControl->GetShortcutText();
    if (pShortcuts->GetShortcutText(pControl->GetID(), strShortcut) &&
        strShortcut != pControl->GetShortcutText())
      pControl->SetShortcutText(strShortcut);
  }
}

void CXTPPopupBar::UpdatePlacementFlags() {
  if (m_pControlPopup == nullptr) return;
  CXTPCommandBar* pParent = m_pControlPopup->GetParent();
  if (pParent == nullptr || pParent->GetSafeHwnd() == nullptr) return;
  int nFlags = 0;
  if ((m_pControlPopup->GetFlags() & xtpFlagLeftPopup) || IsLayoutRTL()) nFlags |= xtpPopupLeft;
  // A dialog bar's caption opens its menu below it wherever the bar is docked.
  switch (pParent->IsDialogBar() ? xtpBarTop : pParent->GetPosition()) {
    case xtpBarRight:
      nFlags = xtpPopupLeft;
      break;
    case xtpBarLeft:
    case xtpBarPopup: {
      CXTPPopupBar* pParentPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pParent);
      if (pParentPopup != nullptr && pParentPopup->GetType() == xtpBarTypePopup &&
          (pParentPopup->m_popupFlags & xtpPopupLeft))
        nFlags = xtpPopupLeft;
      break;
    }
    default:
      nFlags |= xtpPopupDown;
      break;
  }
  CRect rcExclude = m_pControlPopup->GetRect();
  if (m_pControlPopup->GetType() == xtpControlComboBox && pParent->GetType() != xtpBarTypePopup) {
    nFlags |= xtpPopupDown;
  } else {
    m_pControlPopup->AdjustExcludeRect(rcExclude);
  }
  pParent->ClientToScreen(&rcExclude);
  m_rcExclude = rcExclude;
  m_popupFlags = nFlags;
  m_ptPopup.x = (nFlags & xtpPopupDown) ? rcExclude.left : rcExclude.right;
  m_ptPopup.y = (nFlags & xtpPopupDown) ? rcExclude.bottom : rcExclude.top;
}

CRect CXTPPopupBar::CalcPopupRect(CSize sz) {
  const CRect rcWork = m_rcExclude.IsRectNull() ? XTPMonitorApi()->GetWorkArea(m_ptPopup)
                                                : XTPMonitorApi()->GetWorkArea(m_rcExclude);
  const int nBottom = rcWork.bottom - 5;
  int x = m_ptPopup.x, y = m_ptPopup.y, cx = sz.cx, cy = sz.cy;
  const BOOL bExcludeWidth = m_rcExclude.Width() != 0;
  const BOOL bExcludeHeight = m_rcExclude.Height() != 0;
  if (m_popupFlags == (xtpPopupLeft | xtpPopupDown) && bExcludeWidth) {
    x = m_rcExclude.right - cx;
  } else if ((m_popupFlags & xtpPopupLeft) && bExcludeWidth) {
    x = m_rcExclude.left - cx;
  } else if (m_popupFlags & xtpPopupLeft) {
    x = m_ptPopup.x - cx;
  }
  if (!bExcludeHeight && y > nBottom) {
    y -= cy;
  } else if (y + cy > nBottom) {
    if (!bExcludeHeight) {
      y = y < (nBottom - rcWork.top) / 2 ? nBottom - cy : y - cy;
    } else if (m_popupFlags & xtpPopupDown) {
      y = m_rcExclude.top - cy;
      if (y < rcWork.top) {
        if (m_rcExclude.CenterPoint().y <= (nBottom - rcWork.top) / 2) {
          y = m_rcExclude.bottom;
          cy = nBottom - m_rcExclude.bottom;
        } else {
          y = rcWork.top;
          cy = m_rcExclude.top - rcWork.top;
        }
      }
    } else {
      y = nBottom - cy;
    }
    y = std::max(y, static_cast<int>(rcWork.top));
    if (y + cy > nBottom) cy = nBottom - y;
  }
  const BOOL bLeftBefore = (m_popupFlags & xtpPopupLeft) != 0;
  if (x + cx > rcWork.right) {
    if (!bExcludeWidth && x > rcWork.right) {
      x -= cx;
    } else if (!bExcludeWidth) {
      x = rcWork.right - cx;
    } else {
      x = ((m_popupFlags & xtpPopupDown) ? rcWork.right : m_rcExclude.left) - cx;
      m_popupFlags |= xtpPopupLeft;
    }
  } else if (x < rcWork.left) {
    if (bExcludeWidth) {
      x = (m_popupFlags & xtpPopupDown) ? rcWork.left : m_rcExclude.right;
      m_popupFlags &= ~xtpPopupLeft;
    } else if (bLeftBefore) {
      x = rcWork.left;
      m_popupFlags &= ~xtpPopupLeft;
    }
  }
  m_ptPopup = CPoint(x, y);
  return CRect(x, y, x + cx, y + cy);
}

void CXTPPopupBar::UpdateLocation(CSize sz) {
  const CRect rc = CalcPopupRect(sz);
  UINT nFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
  if (IsWindowVisible()) nFlags |= SWP_NOZORDER;
  SetWindowPos(&wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);
}

CSize CXTPPopupBar::CalcDynamicLayout(int, DWORD) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  CRect rcWork;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
  const CRect rcBorders = pTheme->GetCommandBarBorders(this);
  const int nSeparator = pTheme->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
  for (int i = 0; i < GetControlCount(); ++i) GetControl(i)->OnCalcDynamicSize(0);
  UpdateShortcuts();
  int y = rcBorders.top, nMax = 0;
  BOOL bFirst = TRUE;
  const int nMaxWidth = rcWork.right / 3;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    pControl->SetHideFlags(pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideScroll));
    if (!pControl->IsVisible()) continue;
    if (pControl->GetBeginGroup() && !bFirst) y += nSeparator;
    bFirst = FALSE;
    CSize sz;
    {
      CXTPScopedFont itemFont(&dc, pTheme->GetControlFont(this, pControl->GetDefaultItem()));
      sz = pControl->GetSize(&dc);
    }
    sz.cx = std::min(sz.cx, static_cast<LONG>(nMaxWidth));
    pControl->SetRect(CRect(rcBorders.left, y, rcBorders.left + sz.cx, y + sz.cy));
    pControl->SetRowRect(pControl->GetRect());
    y += sz.cy;
    nMax = std::max(nMax, static_cast<int>(sz.cx));
  }
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (!pControl->IsVisible()) continue;
    CRect rc = pControl->GetRect();
    rc.right = rc.left + nMax;
    pControl->SetRect(rc);
    pControl->SetRowRect(rc);
  }
  nMax = std::max(nMax, 22);
  return CSize(rcBorders.left + rcBorders.right + nMax, (bFirst ? 22 : y) + rcBorders.bottom);
}

void CXTPPopupBar::DelayLayout() {
  if (m_bDynamicLayout || m_hWnd == nullptr || !m_bTracking) {
    CXTPCommandBar::DelayLayout();
    return;
  }
  m_bDynamicLayout = TRUE;
  UpdateShortcuts();
  UpdatePlacementFlags();
  UpdateLocation(CalcDynamicLayout(0, 0));
  m_dwIdleFlags &= ~(xtpIdleRedraw | xtpIdleLayout);
  if (m_nLockRedraw <= 0) Invalidate(FALSE);
  m_bDynamicLayout = FALSE;
}

BOOL CXTPPopupBar::Popup(CXTPControlPopup* pControlPopup, BOOL bSelectFirst) {
  m_pControlPopup = pControlPopup;
  if (!CreatePopupWindow()) return FALSE;
  InternalAddRef();
  LockRedraw();
  CWnd* pSite = GetOwnerSite();
  if (!m_bNoNotify && pSite->GetSafeHwnd() != nullptr)
    pSite->SendMessage(XTP_WM_INITPOPUP, 0, reinterpret_cast<LPARAM>(this));
  m_bExpandButtonNeeded = FALSE;
  if (pControlPopup == nullptr) m_popupFlags = m_bPopupLeft ? xtpPopupLeft : 0;
  UpdatePlacementFlags();
  m_bDynamicLayout = TRUE;
  UpdateLocation(CalcDynamicLayout(0, 0));
  m_bDynamicLayout = FALSE;
  if (pControlPopup != nullptr && pControlPopup->GetParent() != nullptr &&
      pControlPopup->GetParent()->GetSafeHwnd() == nullptr) {
    m_nLockRedraw = 0;
    CXTPCommandBar::DestroyWindow();
    InternalRelease();
    return FALSE;
  }
  EnterTracking(1, bSelectFirst, bSelectFirst);
  m_dwIdleFlags &= ~(xtpIdleRedraw | xtpIdleLayout);
  OnUpdateCmdUI(TRUE);
  CXTPMenuSoundPlayer::GetInstance()->Request(xtpMenuSoundPopup);
  UnlockRedraw();
  InternalRelease();
  return TRUE;
}

BOOL CXTPPopupBar::PopupAt(int x, int y, LPCRECT rcExclude) {
  m_ptPopup = CPoint(x, y);
  if (rcExclude != nullptr) {
    m_rcExclude = *rcExclude;
  } else {
    m_rcExclude.SetRectEmpty();
  }
  return Popup(nullptr, FALSE);
}

BOOL CXTPPopupBar::EnterTracking(int nMode, BOOL bSelectFirst, BOOL bKeyboard) {
  InternalAddRef();
  if (!CXTPCommandBar::EnterTracking(nMode, bSelectFirst, bKeyboard)) {
    InternalRelease();
    return FALSE;
  }
  CWnd* pSite = GetOwnerSite();
  if (nMode) {
    CXTPBarAccessibility::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, m_hWnd, OBJID_MENU, CHILDID_SELF);
  } else {
    CXTPBarAccessibility::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, m_hWnd, OBJID_MENU, CHILDID_SELF);
    DestroyWindow();
    CXTPControlPopup* pControlPopup = m_pControlPopup;
    if (pControlPopup != nullptr) {
      CXTPCommandBar* pParent = pControlPopup->GetParent();
      if (pParent != nullptr && pParent->GetPopupedControl() == pControlPopup) pParent->m_nPopuped = -1;
      if (pControlPopup->GetPopuped()) pControlPopup->SetPopuped(FALSE);
    }
    if (!m_bNoNotify && pSite->GetSafeHwnd() != nullptr)
      pSite->SendMessage(XTP_WM_POPUPCLOSED, 0, reinterpret_cast<LPARAM>(this));
    ::Sleep(1);
    m_pControlPopup = nullptr;
  }
  if (pSite->GetSafeHwnd() != nullptr) pSite->UpdateWindow();
  InternalRelease();
  return TRUE;
}

int CXTPPopupBar::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

void CXTPPopupBar::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPCommandBar::DoPropExchange(pPX);
  long nTearOffID = static_cast<long>(m_nTearOffID), nTearOffWidth = m_nTearOffWidth;
  PropExchangeBool(pPX, _T("TearOffPopup"), m_bTearOffPopup, FALSE);
  PropExchangeString(pPX, _T("TearOffCaption"), m_strTearOffCaption, _T(""));
  PropExchangeLong(pPX, _T("TearOffId"), nTearOffID, 0);
  PropExchangeLong(pPX, _T("TearOffWidth"), nTearOffWidth, 0);
  if (pPX->IsLoading()) {
    m_nTearOffID = static_cast<UINT>(nTearOffID);
    m_nTearOffWidth = nTearOffWidth;
  }
  if (pPX->GetSchema() > 3) {
    RECT rcBorders = m_rcBorders;
    PropExchangeRect(pPX, _T("Borders"), rcBorders, 2, 4, 2, 4);
    m_rcBorders = rcBorders;
    PropExchangeBool(pPX, _T("ShowShadow"), m_bShowShadow, TRUE);
  }
  if (pPX->GetSchema() > 8) PropExchangeBool(pPX, _T("DoubleGripper"), m_bDoubleGripper, FALSE);
}

void CXTPPopupBar::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  CXTPCommandBar::CopyBarProperties(pSource, bRecursive);
  if (CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, pSource)) {
    m_bTearOffPopup = pPopup->m_bTearOffPopup;
    m_strTearOffCaption = pPopup->m_strTearOffCaption;
    m_nTearOffID = pPopup->m_nTearOffID;
    m_nTearOffWidth = pPopup->m_nTearOffWidth;
    m_bShowShadow = pPopup->m_bShowShadow;
    m_rcBorders = pPopup->m_rcBorders;
  }
}

CXTPCommandBar* CXTPPopupBar::CreateCopy(BOOL bRecursive) {
  CXTPPopupBar* pBar = static_cast<CXTPPopupBar*>(GetRuntimeClass()->CreateObject());
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

// ---- Popup toolbar -----------------------------------------------------------------------------------

CXTPPopupToolBar::CXTPPopupToolBar() { m_barType = xtpBarTypeNormal; }

CXTPPopupToolBar* PASCAL CXTPPopupToolBar::CreatePopupToolBar(CXTPCommandBars* pCommandBars) {
  CXTPPopupToolBar* pBar = static_cast<CXTPPopupToolBar*>(RUNTIME_CLASS(CXTPPopupToolBar)->CreateObject());
  pBar->m_pCommandBars = pCommandBars;
  return pBar;
}

CSize CXTPPopupToolBar::CalcDynamicLayout(int, DWORD) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  UpdateShortcuts();
  return m_pControls->Layout(&dc, 0, LM_POPUP | LM_COMMIT | LM_HORZ, m_rcBorders);
}

CXTPCommandBar* CXTPPopupToolBar::CreateCopy(BOOL bRecursive) {
  CXTPPopupToolBar* pBar = new CXTPPopupToolBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}
