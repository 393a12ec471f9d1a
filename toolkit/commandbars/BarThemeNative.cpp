// Theme 3: bars, buttons, grippers, combo boxes and the status bar in the system's visual styles, with
// theme 0's drawing for every class that did not open and every part whose drawing failed.
#include "BarThemeNative.h"

#include "CommandBar.h"
#include "ControlPopup.h"
#include "DockBar.h"
#include "StatusBar.h"

#include <vssym32.h>

IMPLEMENT_DYNCREATE(CXTPBarThemeNative, CXTPBarTheme3D)

namespace {

// The top-level window a bar (or status bar) belongs to: the window the classes open for.
HWND TopLevelOf(const CWnd* pWnd) {
  HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
  if (hWnd == nullptr) return nullptr;
  HWND hRoot = ::GetAncestor(hWnd, GA_ROOT);
  return hRoot != nullptr ? hRoot : hWnd;
}

}  // namespace

CXTPBarThemeNative::CXTPBarThemeNative() : CXTPBarThemeNative(nullptr) {}

CXTPBarThemeNative::CXTPBarThemeNative(CXTVisualStyles* pStyles)
    : m_themeRebar(pStyles),
      m_themeToolBar(pStyles),
      m_themeComboBox(pStyles),
      m_themeStatus(pStyles),
      m_clrEdgeShadow(GetXTPColor(COLOR_BTNSHADOW)) {
  m_iconsInfo.bUseFadedIcons = TRUE;
  m_iconsInfo.bIconsWithShadow = FALSE;
  m_nPopupTextSlot = COLOR_MENUTEXT;
}

void CXTPBarThemeNative::RefreshMetrics() {
  CXTPBarTheme3D::RefreshMetrics();
  CWnd* pMainWnd = AfxGetMainWnd();
  HWND hWnd = pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr;
  if (hWnd == nullptr) {
    m_themeToolBar.CloseThemeData();
    m_themeRebar.CloseThemeData();
    m_themeComboBox.CloseThemeData();
    m_themeStatus.CloseThemeData();
    m_bOpenPending = TRUE;
  }
  OpenThemeHandles(hWnd);
}

void CXTPBarThemeNative::EnsureThemeHandles(const CWnd* pWnd) {
  if (!m_bOpenPending) return;
  HWND hWnd = TopLevelOf(pWnd);
  if (hWnd != nullptr) OpenThemeHandles(hWnd);
}

void CXTPBarThemeNative::OpenThemeHandles(HWND hWnd) {
  if (hWnd != nullptr) {
    m_themeToolBar.OpenThemeData(hWnd, L"TOOLBAR");
    m_themeRebar.OpenThemeData(hWnd, L"REBAR");
    m_themeComboBox.OpenThemeData(hWnd, L"COMBOBOX");
    m_themeStatus.OpenThemeData(hWnd, L"STATUS");
    m_bOpenPending = FALSE;
  }
  m_bFlatMenus = TRUE;
  if (!::SystemParametersInfo(SPI_GETFLATMENU, 0, &m_bFlatMenus, 0)) m_bFlatMenus = FALSE;

  m_clrEdgeShadow = GetColor(COLOR_BTNSHADOW);
  COLORREF clr = 0;
  if (m_themeRebar.IsAppThemed() &&
      SUCCEEDED(m_themeRebar.GetThemeColor(RP_BAND, 0, TMT_EDGESHADOWCOLOR, &clr)))
    m_clrEdgeShadow = clr;
  if (m_themeToolBar.IsAppThemed() && SUCCEEDED(m_themeToolBar.GetThemeColor(0, 0, TMT_TEXTCOLOR, &clr))) {
    const int nSlot = COLOR_BTNTEXT;
    SetColors(1, &nSlot, &clr);
  }
  if (m_themeRebar.IsAppThemed() && SUCCEEDED(m_themeRebar.GetThemeColor(0, 0, TMT_FILLCOLORHINT, &clr))) {
    const int nSlot = COLOR_BTNFACE;
    SetColors(1, &nSlot, &clr);
  }
  if (m_themeStatus.IsAppThemed() && SUCCEEDED(m_themeStatus.GetThemeColor(SP_PANE, 0, TMT_TEXTCOLOR, &clr)))
    m_clrStatusTextColor = clr;
}

int PASCAL CXTPBarThemeNative::GetButtonState(int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                                              BOOL bPopuped) {
  if (!bEnabled) return bChecked ? TS_PRESSED : TS_DISABLED;
  if (bPopuped) return TS_PRESSED;
  if (!bChecked || bPressed) {
    if ((bSelected && bPressed) || bPressed == 2) return TS_PRESSED;
    return bSelected ? TS_HOT : TS_NORMAL;
  }
  return bSelected ? TS_HOTCHECKED : TS_CHECKED;
}

int PASCAL CXTPBarThemeNative::GetSplitButtonState(int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                                                   BOOL bPopuped) {
  if (!bEnabled) return TS_DISABLED;
  if (bPressed && bSelected) return TS_PRESSED;
  if (bChecked) return TS_CHECKED;
  if (bPopuped || bSelected) return TS_HOT;
  return TS_NORMAL;
}

void CXTPBarThemeNative::DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled,
                                          BOOL bChecked, BOOL bPopuped, BOOL bToolBar,
                                          XTPBarPosition barPosition) {
  if (m_themeToolBar.IsAppThemed() &&
      SUCCEEDED(m_themeToolBar.DrawThemeBackground(
          pDC->GetSafeHdc(), TP_BUTTON, GetButtonState(bSelected, bPressed, bEnabled, bChecked, bPopuped),
          &rc, nullptr)))
    return;
  CXTPBarTheme3D::DrawControlFrame(pDC, rc, bSelected, bPressed, bEnabled, bChecked, bPopuped, bToolBar,
                                   barPosition);
}

void CXTPBarThemeNative::DrawSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc) {
  if (!m_themeToolBar.IsAppThemed()) {
    CXTPBarTheme3D::DrawSplitButtonFrame(pDC, pControl, rc);
    return;
  }
  const BOOL bEnabled = pControl->GetEnabled();
  const BOOL bPopuped = IsPopuped(pControl);
  const int nState = GetSplitButtonState(pControl->GetSelected(), pControl->GetPressed(), bEnabled,
                                         pControl->GetChecked(), bPopuped);
  CRect rcMain = rc;
  rcMain.right -= 12;
  CRect rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
  if (FAILED(
          m_themeToolBar.DrawThemeBackground(pDC->GetSafeHdc(), TP_SPLITBUTTON, nState, &rcMain, nullptr)) ||
      FAILED(m_themeToolBar.DrawThemeBackground(pDC->GetSafeHdc(), TP_SPLITBUTTONDROPDOWN,
                                                bPopuped ? TS_PRESSED : nState, &rcArrow, nullptr))) {
    CXTPBarTheme3D::DrawSplitButtonFrame(pDC, pControl, rc);
    return;
  }
  pDC->SetTextColor(GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  pDC->SetBkMode(TRANSPARENT);
}

void CXTPBarThemeNative::FillRebarBackground(CDC* pDC, const CWnd* pWnd, const CWnd* pParent) {
  CRect rcClient;
  pWnd->GetClientRect(&rcClient);
  CRect rcBackground;
  (pParent != nullptr ? pParent : pWnd)->GetWindowRect(&rcBackground);
  pWnd->ScreenToClient(&rcBackground);
  if (!m_themeRebar.IsAppThemed() ||
      FAILED(m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, &rcBackground, &rcClient)))
    pDC->FillSolidRect(rcClient, GetColor(COLOR_BTNFACE));
}

void CXTPBarThemeNative::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) {
  EnsureThemeHandles(pBar);
  if (!m_themeRebar.IsAppThemed()) {
    CXTPBarTheme3D::FillCommandBar(pDC, pBar);
    return;
  }
  CRect rc;
  pBar->GetClientRect(&rc);
  switch (pBar->GetPosition()) {
    case xtpBarPopup:
      pDC->FillSolidRect(rc, GetColor(COLOR_MENU));
      if (m_bFlatMenus) {
        Draw3dRect(pDC, rc, COLOR_3DSHADOW_SLOT, COLOR_3DSHADOW_SLOT);
      } else {
        Draw3dRect(pDC, rc, COLOR_3DFACE_SLOT, COLOR_3DDKSHADOW_SLOT);
        rc.DeflateRect(1, 1);
        Draw3dRect(pDC, rc, COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
      }
      return;
    case xtpBarFloating:
      pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE_SLOT));
      Draw3dRect(pDC, rc, COLOR_3DFACE_SLOT, COLOR_3DDKSHADOW_SLOT);
      rc.DeflateRect(1, 1);
      Draw3dRect(pDC, rc, COLOR_3DHIGHLIGHT_SLOT, COLOR_3DSHADOW_SLOT);
      return;
    case xtpBarTop:
      // One continuous background across every bar of the top dock.
      FillRebarBackground(pDC, pBar, pBar->GetParent());
      break;
    default:
      pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE_SLOT));
      break;
  }
  pDC->Draw3dRect(rc, GetColor(COLOR_3DHIGHLIGHT_SLOT), m_clrEdgeShadow);
}

CSize CXTPBarThemeNative::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) {
  EnsureThemeHandles(pBar);
  if (!m_themeRebar.IsAppThemed()) return CXTPBarTheme3D::DrawCommandBarGripper(pDC, pBar, bDraw);
  if (pBar->IsDialogBar()) return DrawDialogBarGripper(pDC, pBar, bDraw);
  CRect rcClient(0, 0, 0, 0);
  if (pBar->GetSafeHwnd() != nullptr) pBar->GetClientRect(&rcClient);
  switch (pBar->GetPosition()) {
    case xtpBarTop:
    case xtpBarBottom:
      if (bDraw) {
        CRect rc(rcClient.left + 2, rcClient.top, rcClient.left + 8, rcClient.bottom);
        if (FAILED(m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPER, 1, &rc, nullptr)))
          CXTPBarTheme3D::DrawCommandBarGripper(pDC, pBar, TRUE);
      }
      return CSize(8, 0);
    case xtpBarLeft:
    case xtpBarRight:
      if (bDraw) {
        CRect rc(rcClient.left, rcClient.top + 2, rcClient.right, rcClient.top + 8);
        if (FAILED(m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPERVERT, 1, &rc, nullptr)))
          CXTPBarTheme3D::DrawCommandBarGripper(pDC, pBar, TRUE);
      }
      return CSize(0, 8);
    case xtpBarFloating:
      return CXTPBarTheme3D::DrawCommandBarGripper(pDC, pBar, bDraw);
    default:
      return CSize(0, 0);
  }
}

CSize CXTPBarThemeNative::DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) {
  EnsureThemeHandles(pBar);
  if (!m_themeRebar.IsAppThemed()) return CXTPBarTheme3D::DrawDialogBarGripper(pDC, pBar, bDraw);
  const int c = m_nRowHeight >= 18 ? m_nRowHeight + 4 : 22;
  if (bDraw) {
    CRect rc(2, 3, 8, c);
    if (FAILED(m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPER, 1, &rc, nullptr)))
      CXTPBarTheme3D::DrawDialogBarGripper(pDC, pBar, TRUE);
  }
  return CSize(8, c);
}

void CXTPBarThemeNative::AdjustExcludeRect(CRect& rc, CXTPControl* pControl, BOOL bVertical) {
  EnsureThemeHandles(pControl != nullptr ? pControl->GetParent() : nullptr);
  if (!m_themeRebar.IsAppThemed()) {
    CXTPBarTheme3D::AdjustExcludeRect(rc, pControl, bVertical);
    return;
  }
  if (pControl == nullptr || pControl->GetType() == xtpControlComboBox) return;
  CXTPCommandBar* pParent = pControl->GetParent();
  if (pParent != nullptr && pParent->GetType() == xtpBarTypePopup) {
    rc.left += 3;
    rc.right -= 3;
    rc.top -= 3;
    rc.bottom += 3;
  }
}

void CXTPBarThemeNative::FillDockBar(CDC* pDC, CXTPDockBar* pBar) {
  EnsureThemeHandles(pBar);
  if (pBar->GetPosition() == xtpBarTop) {
    FillRebarBackground(pDC, pBar, nullptr);
    return;
  }
  CRect rc;
  pBar->GetClientRect(&rc);
  pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
}

void CXTPBarThemeNative::FillStatusBar(CDC* pDC, CXTPStatusBar* pBar) {
  EnsureThemeHandles(pBar);
  CRect rc;
  pBar->GetClientRect(&rc);
  if (!m_themeStatus.IsAppThemed() ||
      FAILED(m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, &rc, nullptr)))
    pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
}

void CXTPBarThemeNative::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) {
  if (m_themeStatus.IsAppThemed() &&
      SUCCEEDED(m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), bGripperPane ? SP_GRIPPERPANE : SP_PANE,
                                                  0, &rc, nullptr)))
    return;
  CXTPBarTheme3D::DrawStatusBarPaneBorder(pDC, rc, bGripperPane);
}

void CXTPBarThemeNative::DrawStatusBarGripper(CDC* pDC, CRect rcClient) {
  CRect rc(rcClient.right - 18, rcClient.top, rcClient.right, rcClient.bottom);
  if (m_themeStatus.IsAppThemed() &&
      SUCCEEDED(m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), SP_GRIPPER, 0, &rc, nullptr)))
    return;
  CXTPBarTheme3D::DrawStatusBarGripper(pDC, rcClient);
}

void CXTPBarThemeNative::DrawControlEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected) {
  if (!m_themeComboBox.IsAppThemed()) {
    CXTPBarTheme3D::DrawControlEditFrame(pDC, rc, bEnabled, bSelected);
    return;
  }
  COLORREF clr = GetColor(COLOR_3DSHADOW_SLOT);
  COLORREF clrTheme = 0;
  if (SUCCEEDED(m_themeComboBox.GetThemeColor(CP_DROPDOWNBUTTON, bEnabled ? CBXS_NORMAL : CBXS_DISABLED,
                                              TMT_BORDERCOLOR, &clrTheme)))
    clr = clrTheme;
  pDC->Draw3dRect(rc, clr, clr);
}

void CXTPBarThemeNative::DrawComboDropDown(CDC* pDC, CRect rcBtn, BOOL bEnabled, int bSelected,
                                           BOOL bDropped) {
  if (m_themeComboBox.IsAppThemed()) {
    CRect rcThemed(rcBtn.left - 2, rcBtn.top + 1, rcBtn.right - 1, rcBtn.bottom - 1);
    const int nState = !bEnabled   ? CBXS_DISABLED
                       : bDropped  ? CBXS_PRESSED
                       : bSelected ? CBXS_HOT
                                   : CBXS_NORMAL;
    if (SUCCEEDED(m_themeComboBox.DrawThemeBackground(pDC->GetSafeHdc(), CP_DROPDOWNBUTTON, nState, &rcThemed,
                                                      nullptr)))
      return;
  }
  CXTPBarTheme3D::DrawComboDropDown(pDC, rcBtn, bEnabled, bSelected, bDropped);
}
