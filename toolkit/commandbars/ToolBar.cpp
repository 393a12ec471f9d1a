// The toolbar: loading from a toolbar resource, docked and floating sizes, its floating window, the
// drag tracker's mouse entry points, visibility and print preview.
#include "ToolBar.h"

#include "BarDragTracker.h"
#include "BarTheme.h"
#include "CommandBars.h"
#include "DockBar.h"
#include "PopupBar.h"

#include <PropExchange.h>
#include <ScopedFont.h>

IMPLEMENT_SERIAL(CXTPToolBar, CXTPCommandBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

BEGIN_MESSAGE_MAP(CXTPToolBar, CXTPCommandBar)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_WM_MOUSEACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

CXTPToolBar::CXTPToolBar() {
  m_bCloseable = TRUE;
  m_dwStyle = CBRS_GRIPPER;
}

CXTPToolBar::~CXTPToolBar() {
  delete m_pDockContext;
  m_pDockContext = nullptr;
}

void CXTPToolBar::EnableDocking(DWORD dwFlags) {
  if (m_pDockContext == nullptr) m_pDockContext = new CXTPBarDragTracker(this);
  m_dwFlags = dwFlags;
}

BOOL CXTPToolBar::LoadToolBar(UINT nIDResource, BOOL bLoadImages) {
  m_nBarID = nIDResource;
  if (!CXTPCommandBar::LoadToolBar(nIDResource, bLoadImages)) return FALSE;
  m_pControls->SnapshotOriginal();
  return TRUE;
}

void CXTPToolBar::SetVisible(BOOL bVisible) {
  if (m_bVisible == bVisible) return;
  InternalAddRef();
  if (!bVisible) EnterTracking(0);
  m_bVisible = bVisible;
  if (m_hWnd != nullptr) ShowWindow(bVisible ? SW_SHOWNA : SW_HIDE);
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars != nullptr) {
    if (m_pDockBar != nullptr) pCommandBars->RecalcFrameLayout();
    if (CWnd* pSite = pCommandBars->GetSite())
      pSite->SendMessage(XTP_WM_TOOLBARVISIBLECHANGED, reinterpret_cast<WPARAM>(this), bVisible);
    if (!bVisible && m_bTearOff) pCommandBars->Remove(this);
  }
  InternalRelease();
}

BOOL CXTPToolBar::SetPosition(XTPBarPosition barPosition) {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars == nullptr) return FALSE;
  switch (barPosition) {
    case xtpBarTop:
    case xtpBarBottom:
    case xtpBarLeft:
    case xtpBarRight:
      return pCommandBars->DockCommandBar(this, barPosition);
    case xtpBarFloating:
      if (!pCommandBars->FloatCommandBar(this)) return FALSE;
      OnRecalcLayout();
      return TRUE;
    default:
      return FALSE;
  }
}

void CXTPToolBar::OnRecalcLayout() {
  if (m_barPosition == xtpBarFloating) {
    if (m_hWnd == nullptr) return;
    const CSize sz = CalcDynamicLayout(-1, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
    SetWindowPos(nullptr, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
    return;
  }
  if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->RecalcFrameLayout();
}

void CXTPToolBar::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPCommandBar::DoPropExchange(pPX);
  PropExchangeBool(pPX, _T("BuiltIn"), m_bBuiltIn, TRUE);
  PropExchangeBool(pPX, _T("TearOff"), m_bTearOff, FALSE);
  if (pPX->GetSchema() > 6) PropExchangeBool(pPX, _T("Closeable"), m_bCloseable, TRUE);
  if (pPX->GetSchema() > 7) PropExchangeBool(pPX, _T("ContextMenuPresent"), m_bContextMenuPresent, TRUE);
}

CSize CXTPToolBar::CalcLayout(DWORD dwMode, int nLength, int nMinExtent) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  CRect rcBorders = pTheme->GetCommandBarBorders(this);
  if (m_dwStyle & CBRS_GRIPPER) {
    const CSize szGripper = pTheme->DrawCommandBarGripper(&dc, this, FALSE);
    rcBorders.left += szGripper.cx;
    rcBorders.top += szGripper.cy;
  }
  return m_pControls->Layout(&dc, nLength, dwMode, rcBorders, nMinExtent);
}

CSize CXTPToolBar::CalcDockingLayout(int nLength, DWORD dwMode, int nWidth) {
  return CalcLayout(dwMode, nLength, nWidth);
}

CSize CXTPToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  CXTPBarTheme* pTheme = GetPaintManager();
  CClientDC dc(m_hWnd != nullptr ? this : nullptr);
  CXTPScopedFont font(&dc, pTheme->GetControlFont(this));
  const int h = pTheme->DrawCommandBarGripper(&dc, this, FALSE).cy;
  return m_pControls->Layout(&dc, nLength, dwMode, CRect(3, h + 4, 3, 3));
}

void CXTPToolBar::CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) {
  CXTPCommandBar::CopyBarProperties(pSource, bRecursive);
  if (CXTPToolBar* pToolBar = DYNAMIC_DOWNCAST(CXTPToolBar, pSource)) {
    m_bBuiltIn = pToolBar->m_bBuiltIn;
    m_bTearOff = pToolBar->m_bTearOff;
    m_bCloseable = pToolBar->m_bCloseable;
  }
}

CXTPCommandBar* CXTPToolBar::CreateCopy(BOOL bRecursive) {
  CXTPToolBar* pBar = new CXTPToolBar;
  pBar->CopyBarProperties(this, bRecursive);
  return pBar;
}

// The reference set comes back after the user confirms; the confirmation and the reload come with the
// rest of the toolbar's customizing.
void CXTPToolBar::ResetToolBar() {}

void CXTPToolBar::FillAddRemoveButtonsList(CXTPPopupBar*) {}

BOOL CXTPToolBar::CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating) {
  if (m_hWnd == nullptr) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    CXTPCommandBars* pCommandBars = GetCommandBars();
    const DWORD dwExStyle = pCommandBars != nullptr && pCommandBars->IsLayoutRTL() ? WS_EX_LAYOUTRTL : 0;
    CPoint pt(100, 100);
    if (m_pDockContext != nullptr &&
        (m_pDockContext->m_ptMRUFloatPos.x != 0 || m_pDockContext->m_ptMRUFloatPos.y != 0))
      pt = m_pDockContext->m_ptMRUFloatPos;
    CWnd* pOwner = pParentWnd != nullptr ? pParentWnd->GetTopLevelParent() : nullptr;
    if (pOwner == nullptr) pOwner = pParentWnd;
    if (!CreateEx(dwExStyle, lpszClass, m_strTitle, 0x86000100, pt.x, pt.y, 0, 0, pOwner->GetSafeHwnd(),
                  nullptr))
      return FALSE;
    m_bVisible = TRUE;
    ShowWindow(SW_SHOWNA);
  }
  if (bFloating) {
    if (GetStyle() & WS_CHILD) {
      ::SetParent(m_hWnd, nullptr);
      ModifyStyle(WS_CHILD, WS_POPUP | MFS_SYNCACTIVE);
    }
    CWnd* pOwner = pParentWnd != nullptr ? pParentWnd->GetTopLevelParent() : nullptr;
    if (pOwner == nullptr) pOwner = pParentWnd;
    ::SetWindowLongPtr(m_hWnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(pOwner->GetSafeHwnd()));
  } else {
    if (GetStyle() & WS_POPUP) ModifyStyle(WS_POPUP | MFS_SYNCACTIVE, WS_CHILD);
    if (pParentWnd != nullptr && ::GetParent(m_hWnd) != pParentWnd->GetSafeHwnd())
      ::SetParent(m_hWnd, pParentWnd->GetSafeHwnd());
  }
  return TRUE;
}

void CXTPToolBar::SetShowTextBelowIcons(int nMode) {
  m_nTextBelowIcons = nMode;
  DelayLayout();
  OnRecalcLayout();
}

void CXTPToolBar::OnSetPreviewMode(BOOL bPreview) {
  if (bPreview == m_bPreviewMode) return;
  m_bPreviewMode = bPreview;
  if (bPreview) {
    m_bPreviewVisible = m_bVisible;
    if (m_bVisible && m_hWnd != nullptr) ShowWindow(SW_HIDE);
  } else if (m_bPreviewVisible && m_hWnd != nullptr) {
    ShowWindow(SW_SHOWNA);
    if (m_barType == xtpBarTypeMenuBar) {
      if (CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, GetOwnerSite())) pFrame->RecalcLayout(FALSE);
    }
  }
}

// ---- Mouse -------------------------------------------------------------------------------------------

void CXTPToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_barPosition == xtpBarFloating)
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (m_pControls->HitTest(point) != nullptr) {
    CXTPCommandBar::OnLButtonDown(nFlags, point);
    return;
  }
  if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ClosePopups();
  if (m_pDockContext != nullptr && (m_dwFlags & (xtpFlagAlignAny | xtpFlagFloating)) &&
      !IsBarCustomizeMode()) {
    ClientToScreen(&point);
    m_pDockContext->StartMove(point);
  }
}

void CXTPToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pControls->HitTest(point) == nullptr && m_pDockContext != nullptr) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CXTPCommandBar::OnLButtonDblClk(nFlags, point);
}

void CXTPToolBar::OnRButtonDown(UINT nFlags, CPoint point) {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  if (pCommandBars == nullptr || IsBarCustomizeMode()) {
    CXTPCommandBar::OnRButtonDown(nFlags, point);
    return;
  }
  EnterTracking(0);
  SetSelected(-1);
  Invalidate(FALSE);
  ClientToScreen(&point);
  pCommandBars->ContextMenu(reinterpret_cast<WPARAM>(this), point.x, point.y);
}

LRESULT CXTPToolBar::OnNcHitTest(CPoint point) {
  if (m_barPosition == xtpBarFloating) {
    CRect rc;
    GetWindowRect(&rc);
    rc.DeflateRect(3, 3);
    if (point.y < rc.top) return HTTOP;
    if (point.y >= rc.bottom) return HTBOTTOM;
    if (point.x < rc.left) return HTLEFT;
    if (point.x >= rc.right) return HTRIGHT;
  }
  return CXTPCommandBar::OnNcHitTest(point);
}

void CXTPToolBar::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (m_pDockContext != nullptr && nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    if (CWnd* pTop = GetTopLevelParent()) pTop->SetActiveWindow();
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (CXTPCommandBars* pCommandBars = GetCommandBars()) pCommandBars->ClosePopups();
    m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
    return;
  }
  CXTPCommandBar::OnNcLButtonDown(nHitTest, point);
}

int CXTPToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  if (m_barPosition == xtpBarFloating || IsBarCustomizeMode()) return MA_NOACTIVATE;
  return CXTPCommandBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BOOL CXTPToolBar::OnNcActivate(BOOL bActive) {
  // The caption never shows as active.
  if (bActive) return TRUE;
  return CXTPCommandBar::OnNcActivate(bActive);
}
