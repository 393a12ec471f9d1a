// The hosted window: placement under the bar, vertical options, mouse relay and the stored record.
#include "ControlCustom.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "StoredValues.h"
#include "ToolBar.h"

IMPLEMENT_SERIAL(CXTPControlCustom, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControlCustom::CXTPControlCustom() { m_dwFlags = xtpFlagNoMovable; }

CXTPControlCustom::~CXTPControlCustom() {
  if (m_hwndHooked != nullptr) CXTPWindowSubclassHooks::GetInstance()->RemoveSink(m_hwndHooked, this);
}

void CXTPControlCustom::SetControl(CWnd* pWnd) {
  if (m_hwndHooked != nullptr) {
    CXTPWindowSubclassHooks::GetInstance()->RemoveSink(m_hwndHooked, this);
    m_hwndHooked = nullptr;
  }
  m_hwndControl = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
  if (m_hwndControl == nullptr) return;
  m_nControlId = ::GetDlgCtrlID(m_hwndControl);
  if (m_szControl == CSize(0, 0)) {
    CRect rc;
    ::GetWindowRect(m_hwndControl, &rc);
    m_szControl = rc.Size();
  }
  CXTPWindowSubclassHooks::GetInstance()->AddSink(m_hwndControl, this);
  m_hwndHooked = m_hwndControl;
}

BOOL CXTPControlCustom::IsWindowShown() const {
  return m_hwndControl != nullptr && ::IsWindow(m_hwndControl) && m_bControlVisible;
}

int CXTPControlCustom::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM&, LPARAM& lParam, LRESULT&) {
  if (nMessage == WM_NCDESTROY && hWnd == m_hwndHooked) {
    m_hwndHooked = nullptr;
    if (hWnd == m_hwndControl) m_hwndControl = nullptr;
    return 0;
  }
  if (nMessage == WM_MOUSEMOVE && m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr) {
    CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    ::MapWindowPoints(hWnd, m_pParent->GetSafeHwnd(), &pt, 1);
    m_pParent->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
  }
  return 0;
}

CSize CXTPControlCustom::GetSize(CDC* pDC) {
  if (IsWindowShown())
    return CSize(m_szControl.cx + m_rcBorders.left + m_rcBorders.right,
                 m_szControl.cy + m_rcBorders.top + m_rcBorders.bottom);
  return CXTPControlButton::GetSize(pDC);
}

void CXTPControlCustom::ShowHostedWindow() {
  if (m_hwndControl == nullptr || !::IsWindow(m_hwndControl)) return;
  const BOOL bShow = m_bControlVisible && m_dwHideFlags == 0;
  ::SetWindowPos(
      m_hwndControl, nullptr, 0, 0, 0, 0,
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CXTPControlCustom::SetRect(CRect rcControl) {
  if (m_hwndControl == nullptr || !::IsWindow(m_hwndControl) || m_pParent == nullptr ||
      m_pParent->GetSafeHwnd() == nullptr) {
    m_rcControl = rcControl;
    return;
  }
  if (m_rcControl == rcControl && ::GetParent(m_hwndControl) == m_pParent->GetSafeHwnd()) return;
  m_rcControl = rcControl;
  ::SetParent(m_hwndControl, m_pParent->GetSafeHwnd());
  LONG_PTR dwStyle = ::GetWindowLongPtr(m_hwndControl, GWL_STYLE);
  ::SetWindowLongPtr(m_hwndControl, GWL_STYLE, (dwStyle & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
  CRect rcWindow = rcControl;
  rcWindow.DeflateRect(m_rcBorders);
  ::SetWindowPos(m_hwndControl, nullptr, rcWindow.left, rcWindow.top, rcWindow.Width(), rcWindow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ShowHostedWindow();
}

void CXTPControlCustom::SetEnabled(BOOL bEnabled) {
  CXTPControlButton::SetEnabled(bEnabled);
  if (m_hwndControl != nullptr && ::IsWindow(m_hwndControl)) ::EnableWindow(m_hwndControl, bEnabled);
}

void CXTPControlCustom::SetHideFlags(DWORD dwFlags) {
  CXTPControlButton::SetHideFlags(dwFlags);
  ShowHostedWindow();
  DelayLayoutParent();
}

void CXTPControlCustom::OnCalcDynamicSize(DWORD dwMode) {
  const BOOL bVert = (dwMode & LM_VERTDOCK) != 0;
  if (m_nVerticalOptions == 0) {
    const DWORD dwFlags = bVert ? (m_dwHideFlags | xtpHideDockingPosition)
                                : (m_dwHideFlags & ~static_cast<DWORD>(xtpHideDockingPosition));
    if (dwFlags != m_dwHideFlags) SetHideFlags(dwFlags);
  } else if (m_nVerticalOptions == 2) {
    m_bControlVisible = !bVert;
    ShowHostedWindow();
  }
}

void CXTPControlCustom::Draw(CDC* pDC) {
  if (IsWindowShown()) return;
  CXTPControlButton::Draw(pDC);
}

void CXTPControlCustom::OnClick(BOOL bKeyboard, CPoint pt) {
  if (!IsWindowShown() || IsCustomizeMode()) CXTPControlButton::OnClick(bKeyboard, pt);
}

BOOL CXTPControlCustom::CanCustomizeDrop(CXTPCommandBar* pCommandBar, CPoint, DROPEFFECT& dropEffect, BOOL) {
  if (pCommandBar != nullptr && pCommandBar->GetType() == xtpBarTypePopup) return TRUE;
  dropEffect = DROPEFFECT_NONE;
  return FALSE;
}

void CXTPControlCustom::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControlCustom* pCustom = DYNAMIC_DOWNCAST(CXTPControlCustom, pControl);
  if (pCustom != nullptr && pCustom != this) {
    m_rcBorders = pCustom->m_rcBorders;
    m_szControl = pCustom->m_szControl;
    m_nVerticalOptions = pCustom->m_nVerticalOptions;
    SetControl(CWnd::FromHandle(pCustom->m_hwndControl));
    m_nControlId = pCustom->m_nControlId;
  }
  CXTPControlButton::Copy(pControl, bRecursive);
}

void CXTPControlCustom::FindWindowById() {
  if (m_nControlId == 0) return;
  CXTPCommandBars* pCommandBars = GetCommandBars();
  CWnd* pSite = pCommandBars != nullptr ? pCommandBars->GetSite() : nullptr;
  HWND hWnd = pSite->GetSafeHwnd() != nullptr ? ::GetDlgItem(pSite->GetSafeHwnd(), m_nControlId) : nullptr;
  for (int i = 0; hWnd == nullptr && pCommandBars != nullptr && i < pCommandBars->GetCount(); ++i) {
    CXTPToolBar* pBar = pCommandBars->GetAt(i);
    if (pBar->GetSafeHwnd() != nullptr) hWnd = ::GetDlgItem(pBar->GetSafeHwnd(), m_nControlId);
  }
  if (hWnd != nullptr) {
    const int nId = m_nControlId;
    SetControl(CWnd::FromHandle(hWnd));
    m_nControlId = nId;
  }
}

void CXTPControlCustom::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControlButton::DoPropExchange(pPX);
  RECT rcBorders = m_rcBorders;
  SIZE szControl = m_szControl;
  long nVertical = m_nVerticalOptions, nControlId = m_nControlId;
  PropExchangeStoredMargins(pPX, _T("Borders"), rcBorders, 0, 0, 0, 0, 64);
  PropExchangeStoredSize(pPX, _T("ControlSize"), szControl, 0, 0, 0, XTP_STORED_EXTENT_MAX, TRUE);
  PropExchangeStoredLong(pPX, _T("VerticalOptions"), nVertical, 0, 0, 2);
  if (pPX->GetSchema() > 5) PropExchangeLong(pPX, _T("ControlId"), nControlId, 0);
  if (pPX->IsLoading()) {
    m_rcBorders = rcBorders;
    m_szControl = szControl;
    m_nVerticalOptions = static_cast<int>(nVertical);
    m_nControlId = static_cast<int>(nControlId);
    FindWindowById();
  }
}
