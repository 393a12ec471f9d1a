// Popup bars: the window of an open menu, its column layout with the collapse rules and the expand
// item, its place on the screen and its monitor, scrolling, animation, shadows, the tear-off drag and
// its life from Popup to leaving tracking.
#include "PopupBar.h"

#include "AcceleratorManager.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "ControlPopup.h"
#include "DockBar.h"
#include "DropShadows.h"
#include "MenuSoundPlayer.h"
#include "StoredValues.h"
#include "ToolBar.h"

#include <BufferDC.h>
#include <DrawHelpers.h>
#include <MonitorApi.h>
#include <PropExchange.h>
#include <ScopedFont.h>
#include <TipSettings.h>

#include <cstdlib>

IMPLEMENT_SERIAL(CXTPPopupBar, CXTPCommandBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPPopupToolBar, CXTPPopupBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPPopupBarExpandButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPPopupBar, CXTPCommandBar)
ON_WM_MOUSEACTIVATE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_TIMER()
ON_WM_NCACTIVATE()
ON_WM_NCCREATE()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

namespace {

// Height of a scroll arrow; control flags of the expand item (tip shown, never dragged, never
// updated, skipped by keyboard navigation).
const int kScrollArrowHeight = 16;
const DWORD kExpandItemFlags = 0x5A;

// Hide bits that keep a control out of the collapse rules' "normal visible" count.
const DWORD kScrollAndExpandHide = xtpHideScroll | xtpHideExpand;

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

void CXTPPopupBar::UpdateShortcuts() {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars == nullptr) return;
  CXTPAcceleratorManager* pShortcuts = pCommandBars->GetShortcutManager();
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (!pControl->IsVisible() || pControl->GetID() == 0) continue;
    // The manager's text for the id, which it empties when it has no shortcut for it (any more); without
    // a table it leaves the text as it is.
    CString strShortcut = pControl->GetShortcutText();
    pShortcuts->GetShortcutText(pControl->GetID(), strShortcut);
    if (strShortcut != pControl->GetShortcutText()) pControl->SetShortcutText(strShortcut);
  }
}

// ---- Placement ---------------------------------------------------------------------------------------

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

CRect PASCAL CXTPPopupBar::CalcPopupPlacement(CSize sz, CPoint& ptAnchor, const CRect& rcExclude, int& nFlags,
                                              const CRect& rcWork, BOOL* pbCut) {
  const int nBottom = rcWork.bottom - 5;
  int x = ptAnchor.x, y = ptAnchor.y, cx = sz.cx, cy = sz.cy;
  BOOL bCut = FALSE;
  const BOOL bExcludeWidth = rcExclude.Width() != 0;
  const BOOL bExcludeHeight = rcExclude.Height() != 0;
  if (nFlags == (xtpPopupLeft | xtpPopupDown) && bExcludeWidth) {
    x = rcExclude.right - cx;
  } else if ((nFlags & xtpPopupLeft) && bExcludeWidth) {
    x = rcExclude.left - cx;
  } else if (nFlags & xtpPopupLeft) {
    x = ptAnchor.x - cx;
  }
  if (!bExcludeHeight && y > nBottom) {
    y -= cy;
  } else if (y + cy > nBottom) {
    if (!bExcludeHeight) {
      y = y < (nBottom - rcWork.top) / 2 ? nBottom - cy : y - cy;
    } else if (nFlags & xtpPopupDown) {
      y = rcExclude.top - cy;
      if (y < rcWork.top) {
        // Fits neither below nor above: cut on the larger side.
        bCut = TRUE;
        if (rcExclude.CenterPoint().y <= (nBottom - rcWork.top) / 2) {
          y = rcExclude.bottom;
          cy = nBottom - rcExclude.bottom;
        } else {
          y = rcWork.top;
          cy = rcExclude.top - rcWork.top;
        }
      }
    } else {
      y = nBottom - cy;
    }
    y = std::max(y, static_cast<int>(rcWork.top));
    if (y + cy > nBottom) {
      cy = nBottom - y;
      bCut = TRUE;
    }
  }
  const BOOL bLeftBefore = (nFlags & xtpPopupLeft) != 0;
  if (x + cx > rcWork.right) {
    if (!bExcludeWidth && x > rcWork.right) {
      x -= cx;
    } else if (!bExcludeWidth) {
      x = rcWork.right - cx;
    } else {
      x = ((nFlags & xtpPopupDown) ? rcWork.right : rcExclude.left) - cx;
      nFlags |= xtpPopupLeft;
    }
  } else if (x < rcWork.left) {
    if (bExcludeWidth) {
      x = (nFlags & xtpPopupDown) ? rcWork.left : rcExclude.right;
      nFlags &= ~xtpPopupLeft;
    } else if (bLeftBefore) {
      // The work area's own left edge: a monitor left of the primary one starts below 0.
      x = rcWork.left;
      nFlags &= ~xtpPopupLeft;
    }
  }
  ptAnchor = CPoint(x, y);
  if (pbCut != nullptr) *pbCut = bCut;
  return CRect(x, y, x + cx, y + cy);
}

CRect CXTPPopupBar::CalcPopupRect(CSize sz) {
  const CRect rcWork = m_rcExclude.IsRectNull() ? XTPMonitorApi()->GetWorkArea(m_ptPopup)
                                                : XTPMonitorApi()->GetWorkArea(m_rcExclude);
  BOOL bCut = FALSE;
  const CRect rc = CalcPopupPlacement(sz, m_ptPopup, m_rcExclude, m_popupFlags, rcWork, &bCut);
  if (bCut && m_barType == xtpBarTypePopup) {
    m_bScrolling = TRUE;
    m_nFirstVisible = 0;
    LayoutScrollDown(rc.Size());
  } else {
    m_bScrolling = FALSE;
    m_rcScrollUp.SetRectEmpty();
    m_rcScrollDown.SetRectEmpty();
  }
  return rc;
}

void CXTPPopupBar::UpdateLocation(CSize sz) {
  const CRect rc = CalcPopupRect(sz);
  UINT nFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
  if (IsWindowVisible()) nFlags |= SWP_NOZORDER;
  SetWindowPos(&wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);
}

// ---- Collapsing and expanding ------------------------------------------------------------------------

void CXTPPopupBar::UpdateExpandingState() {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  const BOOL bAlwaysFull =
      pCommandBars == nullptr || pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus;
  m_bExpandButtonNeeded = FALSE;
  if (bAlwaysFull) {
    for (int i = 0; i < GetControlCount(); ++i) GetControl(i)->SetUsageMark(FALSE);
    m_bFullMenuShown = TRUE;
    return;
  }
  BOOL bNormalVisible = FALSE;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    const DWORD dwOther = pControl->GetHideFlags() & ~kScrollAndExpandHide;
    if (pCommandBars->IsControlHidden(pControl) && dwOther == 0) {
      pControl->SetUsageMark(TRUE);
    } else {
      pControl->SetUsageMark(FALSE);
      if (dwOther == 0 && pControl->GetID() != XTP_ID_POPUPBAR_EXPAND) bNormalVisible = TRUE;
    }
  }
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    pControl->SetHideFlags(pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideExpand));
    if (pControl->GetUsageMark() && !m_bFullMenuShown && bNormalVisible) {
      pControl->SetHideFlags(pControl->GetHideFlags() | xtpHideExpand);
      m_bExpandButtonNeeded = TRUE;
    }
  }
}

void CXTPPopupBar::ExpandBar() {
  if (m_bFullMenuShown || !m_bExpandButtonNeeded) return;
  InternalAddRef();
  if (CXTPTipSettings* pTips = GetToolTipContext()) pTips->DeactivateTip();
  m_bExpanding = TRUE;
  m_bFullMenuShown = TRUE;
  SetPopuped(-1);
  SetSelected(-1);
  if (m_hWnd != nullptr) KillTimer(TID_SHOWFULL);
  DelayLayout();
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  pState->m_bFullMenus = TRUE;
  pState->m_bSwallowNextButtonUp = TRUE;
  InternalRelease();
}

CXTPControl* CXTPPopupBar::GetExpandButton(BOOL bCreate) {
  CXTPControl* pControl = m_pControls->FindControl(XTP_ID_POPUPBAR_EXPAND);
  if (pControl != nullptr || !bCreate) return pControl;
  pControl = m_pControls->AddControl(new CXTPPopupBarExpandButton, XTP_ID_POPUPBAR_EXPAND, nullptr, -1, TRUE);
  pControl->SetFlags(kExpandItemFlags);
  return pControl;
}

int CXTPPopupBar::GetAnimationType() const {
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars == nullptr || (m_hWnd != nullptr && ::GetTopWindow(m_hWnd) != nullptr)) return 5;
  const int nAnimation = pCommandBars->GetCommandBarsOptions()->animationType;
  if (nAnimation == 0) {
    BOOL bAnimation = FALSE, bFade = FALSE;
    ::SystemParametersInfo(SPI_GETMENUANIMATION, 0, &bAnimation, 0);
    ::SystemParametersInfo(SPI_GETMENUFADE, 0, &bFade, 0);
    if (!bAnimation) return 5;
    return bFade ? 4 : 3;
  }
  if (nAnimation == 1) {
    static const int kRandom[3] = {4, 3, 2};
    return kRandom[std::rand() % 3];
  }
  return nAnimation;
}

// ---- Layout ------------------------------------------------------------------------------------------

CSize CXTPPopupBar::CalcDynamicLayout(int, DWORD) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  CRect rcWork;
  ::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
  CRect rcBorders = pTheme->GetCommandBarBorders(this);
  const int nSeparator = pTheme->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
  const int nTearOff =
      m_bTearOffPopup ? pTheme->DrawTearOffGripper(&dc, CRect(0, 0, 0, 0), FALSE, FALSE).cy : 0;
  rcBorders.top += nTearOff;

  for (int i = GetControlCount() - 1; i >= 0; --i) GetControl(i)->OnCalcDynamicSize(0);
  UpdateExpandingState();
  CXTPControl* pExpand = nullptr;
  int nExpandHeight = 0;
  if (m_bExpandButtonNeeded) {
    nExpandHeight = pTheme->DrawSymbol(&dc, xtpSymbolExpandItem, nullptr, this, FALSE, FALSE).cy;
    rcBorders.bottom += nExpandHeight;
    pExpand = GetExpandButton(TRUE);
    pExpand->SetHideFlags(pExpand->GetHideFlags() | xtpHideGeneric);
  } else if (CXTPControl* pOld = GetExpandButton(FALSE)) {
    pOld->SetHideFlags(pOld->GetHideFlags() | xtpHideGeneric);
  }
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
  if (pExpand != nullptr) {
    pExpand->SetHideFlags(pExpand->GetHideFlags() & ~static_cast<DWORD>(xtpHideGeneric));
    pExpand->SetRect(CRect(rcBorders.left, y, rcBorders.left + nMax, y + nExpandHeight));
  }
  m_rcTearOffGripper =
      m_bTearOffPopup ? CRect(rcBorders.left, rcBorders.top - nTearOff, rcBorders.left + nMax, rcBorders.top)
                      : CRect(0, 0, 0, 0);
  nMax = std::max(nMax, 22);
  return CSize(rcBorders.left + rcBorders.right + nMax, (bFirst ? 22 : y) + rcBorders.bottom);
}

void CXTPPopupBar::LayoutScrollDown(CSize szWindow) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  const CRect rcBorders = pTheme->GetCommandBarBorders(this);
  const int nSeparator = pTheme->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
  const int nTop = m_rcTearOffGripper.IsRectEmpty() ? rcBorders.top : m_rcTearOffGripper.bottom;
  const int nLeft = rcBorders.left, nRight = szWindow.cx - rcBorders.right;
  if (m_nFirstVisible == 1) m_nFirstVisible = 0;
  m_rcScrollUp =
      m_nFirstVisible != 0 ? CRect(nLeft, nTop, nRight, nTop + kScrollArrowHeight) : CRect(0, 0, 0, 0);
  int y = nTop + (m_nFirstVisible != 0 ? kScrollArrowHeight : 0);
  const int nLimit = szWindow.cy - rcBorders.bottom - kScrollArrowHeight;
  m_nEndVisible = GetControlCount();
  BOOL bFirst = TRUE, bFull = FALSE;
  for (int i = 0; i < GetControlCount(); ++i) {
    CXTPControl* pControl = GetControl(i);
    if (pControl->GetID() == XTP_ID_POPUPBAR_EXPAND) continue;
    pControl->SetHideFlags(pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideScroll));
    if (i < m_nFirstVisible || bFull) {
      pControl->SetHideFlags(pControl->GetHideFlags() | xtpHideScroll);
      continue;
    }
    if (!pControl->IsVisible()) continue;
    const int nGap = (pControl->GetBeginGroup() && !bFirst) ? nSeparator : 0;
    const int h = pControl->GetRect().Height();
    if (y + nGap + h > nLimit) {
      bFull = TRUE;
      m_nEndVisible = i;
      pControl->SetHideFlags(pControl->GetHideFlags() | xtpHideScroll);
      continue;
    }
    y += nGap;
    pControl->SetRect(CRect(nLeft, y, nRight, y + h));
    pControl->SetRowRect(pControl->GetRect());
    y += h;
    bFirst = FALSE;
  }
  m_rcScrollDown = m_nEndVisible != GetControlCount()
                       ? CRect(nLeft, szWindow.cy - rcBorders.bottom - kScrollArrowHeight, nRight,
                               szWindow.cy - rcBorders.bottom)
                       : CRect(0, 0, 0, 0);
}

void CXTPPopupBar::LayoutScrollUp(CSize szWindow) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  const CRect rcBorders = pTheme->GetCommandBarBorders(this);
  const int nSeparator = pTheme->DrawCommandBarSeparator(&dc, this, nullptr, FALSE).cy;
  const int nTop = m_rcTearOffGripper.IsRectEmpty() ? rcBorders.top : m_rcTearOffGripper.bottom;
  const int nLeft = rcBorders.left, nRight = szWindow.cx - rcBorders.right;
  if (m_nEndVisible == GetControlCount() - 1) m_nEndVisible = GetControlCount();
  const BOOL bLower = m_nEndVisible != GetControlCount();
  int y = szWindow.cy - rcBorders.bottom - (bLower ? kScrollArrowHeight : 0);
  m_rcScrollDown = bLower ? CRect(nLeft, y, nRight, y + kScrollArrowHeight) : CRect(0, 0, 0, 0);
  m_nFirstVisible = 0;
  BOOL bFull = FALSE;
  for (int i = GetControlCount() - 1; i >= 0; --i) {
    CXTPControl* pControl = GetControl(i);
    if (pControl->GetID() == XTP_ID_POPUPBAR_EXPAND) continue;
    pControl->SetHideFlags(pControl->GetHideFlags() & ~static_cast<DWORD>(xtpHideScroll));
    if (i >= m_nEndVisible || bFull) {
      pControl->SetHideFlags(pControl->GetHideFlags() | xtpHideScroll);
      continue;
    }
    if (!pControl->IsVisible()) continue;
    const int h = pControl->GetRect().Height();
    const int nGap = pControl->GetBeginGroup() ? nSeparator : 0;
    // The limit counts from the window's top edge, not from the arrow.
    if (y - h < kScrollArrowHeight) {
      bFull = TRUE;
      m_nFirstVisible = i + 1;
      pControl->SetHideFlags(pControl->GetHideFlags() | xtpHideScroll);
      continue;
    }
    pControl->SetRect(CRect(nLeft, y - h, nRight, y));
    pControl->SetRowRect(pControl->GetRect());
    y -= h + nGap;
  }
  m_rcScrollUp =
      m_nFirstVisible != 0 ? CRect(nLeft, nTop, nRight, nTop + kScrollArrowHeight) : CRect(0, 0, 0, 0);
}

void CXTPPopupBar::RelayoutScrolling(BOOL bDown) {
  if (!m_bScrolling || m_hWnd == nullptr) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  if (bDown) {
    LayoutScrollDown(rcClient.Size());
  } else {
    LayoutScrollUp(rcClient.Size());
  }
  Invalidate(FALSE);
}

void CXTPPopupBar::ScrollByWheel(int nDelta) {
  if (!m_bScrolling) return;
  if (nDelta < 0 && m_nEndVisible < GetControlCount()) {
    m_nEndVisible++;
    RelayoutScrolling(FALSE);
  } else if (nDelta > 0 && m_nFirstVisible > 0) {
    m_nFirstVisible--;
    RelayoutScrolling(TRUE);
  }
}

BOOL CXTPPopupBar::SetSelected(int nSelected, BOOL bKeyboard) {
  // A control scrolled out of view comes into it.
  if (m_bScrolling && nSelected >= 0 && nSelected < GetControlCount() &&
      (GetControl(nSelected)->GetHideFlags() & xtpHideScroll)) {
    if (nSelected < m_nEndVisible) {
      m_nFirstVisible = nSelected;
      RelayoutScrolling(TRUE);
    } else {
      m_nEndVisible = nSelected + 1;
      RelayoutScrolling(FALSE);
    }
  }
  CXTPControl* pNew = GetControl(nSelected);
  if (m_hWnd != nullptr && (pNew == nullptr || pNew->GetID() != XTP_ID_POPUPBAR_EXPAND))
    KillTimer(TID_SHOWFULL);
  return CXTPCommandBar::SetSelected(nSelected, bKeyboard);
}

void CXTPPopupBar::UpdateShadow() {
  CXTPDropShadows* pShadows = CXTPDropShadows::GetInstance();
  pShadows->RemoveShadows(this);
  if (m_barPosition == xtpBarPopup && m_bShowShadow && IsWindowVisible())
    pShadows->AddShadow(this, m_rcExclude.IsRectEmpty() ? nullptr : &m_rcExclude);
}

void CXTPPopupBar::DelayLayout() {
  if (m_bDynamicLayout || m_hWnd == nullptr || !m_bTracking) {
    CXTPCommandBar::DelayLayout();
    return;
  }
  InternalAddRef();
  m_bDynamicLayout = TRUE;
  CXTPDropShadows::GetInstance()->RemoveShadows(this);
  UpdateShortcuts();
  UpdatePlacementFlags();
  CRect rcOld;
  GetWindowRect(&rcOld);
  const CSize sz = CalcDynamicLayout(0, 0);
  CWnd* pSite = GetOwnerSite();
  if (m_bExpanding) {
    ShowWindow(SW_HIDE);
    if (pSite->GetSafeHwnd() != nullptr) pSite->UpdateWindow();
  }
  const CRect rc = CalcPopupRect(sz);
  SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | SWP_NOZORDER);
  if (m_bExpanding) {
    const int nAnimation = GetAnimationType();
    if (nAnimation == 2 || nAnimation == 3 || nAnimation == 4) {
      CClientDC dc(this);
      CRect rcClient;
      GetClientRect(&rcClient);
      CDC memDC;
      CBitmap bitmap;
      if (memDC.CreateCompatibleDC(&dc) &&
          bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height())) {
        CBitmap* pOld = memDC.SelectObject(&bitmap);
        DrawCommandBar(&memDC);
        GetPaintManager()->AnimateExpand(this, &dc, &memDC, rc.bottom > rcOld.bottom);
        memDC.SelectObject(pOld);
      }
    }
    CXTPMenuSoundPlayer::GetInstance()->Request(xtpMenuSoundPopup);
  }
  UpdateShadow();
  if (m_pControlPopup != nullptr) m_pControlPopup->AddShadow();
  m_dwIdleFlags &= ~(xtpIdleRedraw | xtpIdleLayout);
  if (m_nLockRedraw <= 0) Invalidate(FALSE);
  m_bExpanding = FALSE;
  m_bDynamicLayout = FALSE;
  InternalRelease();
}

// ---- Opening and closing -----------------------------------------------------------------------------

void CXTPPopupBar::AnimateOpening() {
  CXTPCommandBar* pParent = GetParentCommandBar();
  // Submenus animate as menus do, when their parent bar asks for it.
  const BOOL bAsked = pParent == nullptr || pParent->IsAnimateNextPopup();
  if (pParent != nullptr) pParent->SetAnimateNextPopup(FALSE);
  if (!bAsked || IsBarCustomizeMode()) return;
  const int nAnimation = GetAnimationType();
  if (nAnimation != 2 && nAnimation != 3 && nAnimation != 4) return;
  if (pParent != nullptr && pParent->GetSafeHwnd() != nullptr) pParent->UpdateWindow();
  CWnd* pSite = GetOwnerSite();
  if (pSite->GetSafeHwnd() != nullptr) pSite->UpdateWindow();
  CClientDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CDC memDC;
  CBitmap bitmap;
  if (!memDC.CreateCompatibleDC(&dc) ||
      !bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
    return;
  CBitmap* pOld = memDC.SelectObject(&bitmap);
  DrawCommandBar(&memDC);
  GetPaintManager()->AnimatePopup(&dc, &memDC, rcClient, nAnimation);
  dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOld);
}

BOOL CXTPPopupBar::Popup(CXTPControlPopup* pControlPopup, BOOL bSelectFirst) {
  m_pControlPopup = pControlPopup;
  if (!CreatePopupWindow()) return FALSE;
  InternalAddRef();
  LockRedraw();
  CWnd* pSite = GetOwnerSite();
  if (!m_bNoNotify && pSite->GetSafeHwnd() != nullptr)
    pSite->SendMessage(XTP_WM_INITPOPUP, 0, reinterpret_cast<LPARAM>(this));
  m_bTearOffSelected = FALSE;
  m_bExpandButtonNeeded = FALSE;
  m_bFullMenuShown = IsBarCustomizeMode() || CXTPBarMouseTracker::GetThreadState()->m_bFullMenus;
  if (pControlPopup == nullptr) m_popupFlags = m_bPopupLeft ? xtpPopupLeft : 0;
  UpdatePlacementFlags();
  m_bDynamicLayout = TRUE;
  UpdateLocation(CalcDynamicLayout(0, 0));
  m_bDynamicLayout = FALSE;
  if (pControlPopup != nullptr && pControlPopup->GetParent() != nullptr &&
      pControlPopup->GetParent()->GetSafeHwnd() == nullptr) {
    // The control's bar went away while the popup was being placed.
    m_nLockRedraw = 0;
    CXTPCommandBar::DestroyWindow();
    m_pControlPopup = nullptr;
    InternalRelease();
    return FALSE;
  }
  EnterTracking(1, bSelectFirst, bSelectFirst);
  m_dwIdleFlags &= ~(xtpIdleRedraw | xtpIdleLayout);
  OnUpdateCmdUI(TRUE);
  if (m_hWnd != nullptr) {
    AnimateOpening();
    CXTPMenuSoundPlayer::GetInstance()->Request(xtpMenuSoundPopup);
    UpdateShadow();
  }
  if (m_nLockRedraw > 0) m_nLockRedraw--;
  if (m_nLockRedraw == 0) {
    m_dwIdleFlags &= ~xtpIdleRedraw;
    if (m_hWnd != nullptr) Invalidate(FALSE);
  }
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
    // A closed popup keeps no selection: opened again, its first item is selected afresh and its
    // prompt shown; closing puts the idle prompt back.
    SetSelected(-1);
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

BOOL CXTPPopupBar::OnNcActivate(BOOL bActive) {
  if (bActive) return TRUE;
  return CXTPCommandBar::OnNcActivate(bActive);
}

BOOL CXTPPopupBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
  if (!CXTPCommandBar::OnNcCreate(lpCreateStruct)) return FALSE;
  CXTPToolBar::SyncActivationOnCreate(this);
  return TRUE;
}

LRESULT CXTPPopupBar::OnFloatStatus(WPARAM wParam, LPARAM) {
  return ((GetStyle() & MFS_SYNCACTIVE) && (wParam & FS_SYNCACTIVE)) ? 1 : 0;
}

INT_PTR CXTPPopupBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  return CXTPToolBar::BarToolHitTest(this, point, pTI);
}

// ---- Keys, mouse and timers --------------------------------------------------------------------------

int CXTPPopupBar::OnKeyNavigate(UINT nChar) {
  if (nChar == VK_DOWN && m_bExpandButtonNeeded && !m_bFullMenuShown && m_hWnd != nullptr &&
      !IsBarCustomizeMode()) {
    // Down on the last item, or Ctrl+Down anywhere, shows the full menu.
    const int nNext = m_pControls->GetNextNavigable(m_nSelected, +1);
    const BOOL bLast = m_nSelected != -1 && (nNext == -1 || nNext <= m_nSelected);
    if (bLast || ::GetKeyState(VK_CONTROL) < 0) {
      ExpandBar();
      return 1;
    }
  }
  return CXTPCommandBar::OnKeyNavigate(nChar);
}

void CXTPPopupBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bTearOffTracking) return;
  CXTPCommandBar* pParent = GetParentCommandBar();
  if (pParent != nullptr && m_pControlPopup != nullptr && pParent->GetSafeHwnd() != nullptr &&
      pParent->GetCurSel() != m_pControlPopup->GetIndex() && !IsBarCustomizeMode())
    pParent->SetSelected(m_pControlPopup->GetIndex(), FALSE);
  if (m_bScrolling) {
    if (m_rcScrollDown.PtInRect(point)) SetTimer(TID_SCROLLDOWN, 80, nullptr);
    if (m_rcScrollUp.PtInRect(point)) SetTimer(TID_SCROLLUP, 80, nullptr);
  }
  if (m_bTearOffPopup && m_rcTearOffGripper.PtInRect(point)) {
    if (!m_bTearOffSelected) {
      m_bTearOffSelected = TRUE;
      SetSelected(-1);
      SetTimer(TID_TEAROFF, 80, nullptr);
      Invalidate(FALSE);
    }
    return;
  }
  CXTPCommandBar::OnMouseMove(nFlags, point);
  CXTPControl* pSelected = GetSelected();
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pSelected != nullptr && pSelected->GetID() == XTP_ID_POPUPBAR_EXPAND && pCommandBars != nullptr &&
      pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay)
    SetTimer(TID_SHOWFULL, 900, nullptr);
}

void CXTPPopupBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bTearOffPopup && m_rcTearOffGripper.PtInRect(point) && !IsBarCustomizeMode()) {
    TrackTearOff();
    return;
  }
  CXTPCommandBar::OnLButtonDown(nFlags, point);
}

void CXTPPopupBar::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case TID_SCROLLDOWN:
    case TID_SCROLLUP: {
      const BOOL bDown = nIDEvent == TID_SCROLLDOWN;
      const CPoint pt = GetClientCursorPos(this);
      const CRect& rcArrow = bDown ? m_rcScrollDown : m_rcScrollUp;
      if (!m_bScrolling || !rcArrow.PtInRect(pt) ||
          (bDown ? m_nEndVisible >= GetControlCount() : m_nFirstVisible <= 0)) {
        KillTimer(nIDEvent);
        return;
      }
      if (bDown) {
        m_nEndVisible++;
        RelayoutScrolling(FALSE);
      } else {
        m_nFirstVisible--;
        RelayoutScrolling(TRUE);
      }
      return;
    }
    case TID_TEAROFF:
      if (!m_bTearOffTracking && !m_rcTearOffGripper.PtInRect(GetClientCursorPos(this))) {
        KillTimer(TID_TEAROFF);
        m_bTearOffSelected = FALSE;
        Invalidate(FALSE);
      }
      return;
    case TID_SHOWFULL: {
      KillTimer(TID_SHOWFULL);
      CXTPControl* pSelected = GetSelected();
      if (pSelected != nullptr && pSelected->GetID() == XTP_ID_POPUPBAR_EXPAND) ExpandBar();
      return;
    }
    default:
      CXTPCommandBar::OnTimer(nIDEvent);
  }
}

// ---- Tear-off ----------------------------------------------------------------------------------------

void CXTPPopupBar::TrackTearOff() {
  if (::GetCapture() != nullptr && ::GetCapture() != m_hWnd) return;
  CXTPCommandBars* pCommandBars = FindOwnerCommandBars();
  if (pCommandBars == nullptr) return;
  InternalAddRef();
  pCommandBars->InternalAddRef();
  ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  pState->m_nModalCounter++;
  SetCapture();
  m_bTearOffTracking = TRUE;
  m_pTearOffBar = nullptr;
  CRect rcStrip = m_rcTearOffGripper;
  ClientToScreen(&rcStrip);
  rcStrip.InflateRect(10, 10);

  // A bar of this id that the user already has (from an earlier tear-off) is reused; going back inside
  // puts it back where it was instead of removing it.
  BOOL bExisting = FALSE, bWasVisible = FALSE;
  CRect rcWasWindow;
  CXTPDockBar* pWasDock = nullptr;
  BOOL bInside = TRUE;
  CPoint ptLast(-1, -1);
  while (::GetCapture() == m_hWnd) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) break;
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) continue;
    if (msg.message != WM_MOUSEMOVE) {
      ::TranslateMessage(&msg);
      ::DispatchMessage(&msg);
      continue;
    }
    CPoint pt;
    ::GetCursorPos(&pt);
    if (pt == ptLast) continue;
    ptLast = pt;
    const BOOL bNowInside = rcStrip.PtInRect(pt);
    if (bNowInside != bInside) {
      bInside = bNowInside;
      ShowWindow(bInside ? SW_SHOWNA : SW_HIDE);
      if (!bInside) {
        CXTPToolBar* pBar = pCommandBars->FindCommandBar(m_nTearOffID);
        bExisting = pBar != nullptr;
        if (bExisting) {
          bWasVisible = pBar->IsVisible();
          pWasDock = pBar->GetDockBar();
          rcWasWindow = pBar->GetSafeHwnd() != nullptr ? GetSafeWindowRect(pBar) : CRect(0, 0, 0, 0);
          pCommandBars->FloatCommandBar(pBar);
          pBar->SetVisible(TRUE);
          pCommandBars->RecalcFrameLayout();
        } else {
          pBar = pCommandBars->AddCustomBar(m_strTearOffCaption, m_nTearOffID, TRUE);
          if (pBar != nullptr) {
            pBar->SetMRUWidth(m_nTearOffWidth);
            for (int i = 0; i < GetControlCount(); ++i) {
              CXTPControl* pControl = GetControl(i);
              if (pControl->GetID() == XTP_ID_POPUPBAR_EXPAND) continue;
              CXTPControl* pCopy = pBar->GetControls()->AddClone(pControl, -1, TRUE);
              pCopy->SetHideFlags(pCopy->GetHideFlags() & ~static_cast<DWORD>(xtpHideExpand | xtpHideScroll));
            }
          }
        }
        m_pTearOffBar = pBar;
        if (pBar != nullptr) {
          m_szTearOffBar = pBar->CalcDynamicLayout(-1, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
          pBar->OnUpdateCmdUI(TRUE);
        }
      } else if (m_pTearOffBar != nullptr) {
        CXTPToolBar* pBar = m_pTearOffBar;
        m_pTearOffBar = nullptr;
        if (!bExisting) {
          pBar->SetVisible(FALSE);  // removes the bar this drag made
        } else if (pWasDock != nullptr) {
          pCommandBars->DockCommandBar(pBar, &rcWasWindow, pWasDock);
          pBar->SetVisible(bWasVisible);
          pCommandBars->RecalcFrameLayout();
        } else {
          pBar->SetWindowPos(nullptr, rcWasWindow.left, rcWasWindow.top, rcWasWindow.Width(),
                             rcWasWindow.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
          pBar->SetVisible(bWasVisible);
        }
      }
    }
    if (!bInside && m_pTearOffBar != nullptr && m_pTearOffBar->GetSafeHwnd() != nullptr) {
      m_pTearOffBar->SetWindowPos(nullptr, pt.x - m_szTearOffBar.cx / 2, pt.y - 10, m_szTearOffBar.cx,
                                  m_szTearOffBar.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      m_pTearOffBar->Invalidate(FALSE);
    }
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  m_bTearOffTracking = FALSE;
  const BOOL bTornOff = m_pTearOffBar != nullptr;
  m_pTearOffBar = nullptr;
  if (bTornOff) pCommandBars->ClosePopups();
  pState->m_nModalCounter--;
  pCommandBars->InternalRelease();
  InternalRelease();
}

// ---- Drawing -----------------------------------------------------------------------------------------

void CXTPPopupBar::DrawScrollArrow(CDC* pDC, const CRect& rc, BOOL bUp) {
  if (rc.IsRectEmpty()) return;
  const CPoint c = rc.CenterPoint();
  CXTPBarTheme* pTheme = GetPaintManager();
  if (bUp) {
    pTheme->Triangle(pDC, CPoint(c.x - 3, c.y + 1), CPoint(c.x + 3, c.y + 1), CPoint(c.x, c.y - 2),
                     COLOR_BTNTEXT);
  } else {
    pTheme->Triangle(pDC, CPoint(c.x - 3, c.y - 1), CPoint(c.x + 3, c.y - 1), CPoint(c.x, c.y + 2),
                     COLOR_BTNTEXT);
  }
}

void CXTPPopupBar::DrawCommandBar(CDC* pDC) {
  CXTPCommandBar::DrawCommandBar(pDC);
  if (m_bScrolling) {
    DrawScrollArrow(pDC, m_rcScrollUp, TRUE);
    DrawScrollArrow(pDC, m_rcScrollDown, FALSE);
  }
  if (m_bTearOffPopup && !m_rcTearOffGripper.IsRectEmpty())
    GetPaintManager()->DrawTearOffGripper(pDC, m_rcTearOffGripper,
                                          m_bTearOffSelected && GetControlCount() > 0, TRUE);
}

// ---- Stored record and copies ------------------------------------------------------------------------

void CXTPPopupBar::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPCommandBar::DoPropExchange(pPX);
  long nTearOffID = static_cast<long>(m_nTearOffID), nTearOffWidth = m_nTearOffWidth;
  PropExchangeStoredBool(pPX, _T("TearOffPopup"), m_bTearOffPopup, FALSE);
  PropExchangeStoredString(pPX, _T("TearOffCaption"), m_strTearOffCaption, _T(""));
  PropExchangeLong(pPX, _T("TearOffId"), nTearOffID, 0);
  PropExchangeStoredLong(pPX, _T("TearOffWidth"), nTearOffWidth, 0, 0, 0x7FFF);
  if (pPX->IsLoading()) {
    m_nTearOffID = static_cast<UINT>(nTearOffID);
    m_nTearOffWidth = nTearOffWidth;
  }
  if (pPX->GetSchema() > 3) {
    RECT rcBorders = m_rcBorders;
    PropExchangeStoredMargins(pPX, _T("Borders"), rcBorders, 2, 4, 2, 4, 64);
    m_rcBorders = rcBorders;
    PropExchangeStoredBool(pPX, _T("ShowShadow"), m_bShowShadow, TRUE);
  }
  if (pPX->GetSchema() > 8) PropExchangeStoredBool(pPX, _T("DoubleGripper"), m_bDoubleGripper, FALSE);
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
  CRect rcBorders = m_rcBorders;
  const int nTearOff =
      m_bTearOffPopup ? pTheme->DrawTearOffGripper(&dc, CRect(0, 0, 0, 0), FALSE, FALSE).cy : 0;
  rcBorders.top += nTearOff;
  UpdateShortcuts();
  const CSize sz = m_pControls->Layout(&dc, 0, LM_POPUP | LM_COMMIT | LM_HORZ, rcBorders);
  m_rcTearOffGripper =
      m_bTearOffPopup ? CRect(rcBorders.left, rcBorders.top - nTearOff, sz.cx - rcBorders.left, rcBorders.top)
                      : CRect(0, 0, 0, 0);
  return sz;
}

CXTPCommandBar* CXTPPopupToolBar::CreateCopy(BOOL bRecursive) {
  CXTPPopupToolBar* pBar = new CXTPPopupToolBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

// ---- Expand item -------------------------------------------------------------------------------------

CXTPPopupBarExpandButton::CXTPPopupBarExpandButton() = default;

void CXTPPopupBarExpandButton::OnExecute() {
  if (CXTPPopupBar* pPopup = DYNAMIC_DOWNCAST(CXTPPopupBar, m_pParent)) pPopup->ExpandBar();
}

void CXTPPopupBarExpandButton::Draw(CDC* pDC) {
  if (m_pParent != nullptr)
    GetPaintManager()->DrawSymbol(pDC, xtpSymbolExpandItem, this, m_pParent, TRUE, FALSE);
}

BOOL CXTPPopupBarExpandButton::OnSetSelected(int bSelected) {
  return CXTPControlButton::OnSetSelected(bSelected);
}
