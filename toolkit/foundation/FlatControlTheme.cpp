// Drawing of the flat combo box and flat edit styles.
#include "FlatControlTheme.h"

#include <afxcmn.h>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "SystemResources.h"

#include <algorithm>

namespace {

// The theme-specific form of slot 32: the visual style's colour where it supplies one.
COLORREF ThemeBorder() { return GetColorTable()->GetThemeColor(32); }

// Paints the band between rc and rc inset by (cx, cy) in one colour.
void FillBand(CDC* pDC, CRect rc, int cx, int cy, COLORREF clr) {
  for (int i = 0; i < std::max(cx, cy); ++i) {
    pDC->Draw3dRect(&rc, clr, clr);
    rc.DeflateRect(i < cx ? 1 : 0, i < cy ? 1 : 0);
  }
}

}  // namespace

// ---- Combo box styles ----------------------------------------------------------------------------

void CXTFlatComboStyle::RefreshStyle() {
  m_cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
  m_cyVThumb = ::GetSystemMetrics(SM_CYVTHUMB);
  m_cxBorder = ::GetSystemMetrics(SM_CXBORDER);
  m_cyBorder = ::GetSystemMetrics(SM_CYBORDER);
  m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
  m_cyEdge = ::GetSystemMetrics(SM_CYEDGE);
  int nAverage = 0;
  if (HDC hDC = ::GetDC(nullptr)) {
    HGDIOBJ hOld = ::SelectObject(hDC, GetSystemResources()->m_fontRegular.GetSafeHandle());
    TEXTMETRICW tm = {};
    if (::GetTextMetricsW(hDC, &tm)) nAverage = tm.tmAveCharWidth;
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
  }
  m_cxDropButton = std::max(15, 2 * nAverage + 4);
}

CRect CXTFlatComboStyle::GetDropButtonRect(const CRect& rcClient, int nState) const {
  CRect rc(rcClient);
  rc.DeflateRect(m_cxEdge, m_cyEdge);
  rc.left = rc.right - m_cxDropButton;
  if (nState == xtFlatHot || nState == xtFlatPressed) rc.left += 1;
  return rc;
}

void CXTFlatComboStyle::DrawFlatComboBox(CDC* pDC, CComboBox* pCombo, int nState) {
  CRect rcClient;
  pCombo->GetClientRect(&rcClient);
  const BOOL bEnabled = pCombo->IsWindowEnabled();
  DrawFrame(pDC, rcClient, nState, bEnabled);
  const CRect rcButton = GetDropButtonRect(rcClient, nState);
  DrawDropButton(pDC, rcButton, nState, bEnabled);
  DrawDropArrow(pDC, rcButton, nState, bEnabled);
}

void CXTFlatComboStyle::DrawFrame(CDC* pDC, const CRect& rc, int nState, BOOL bEnabled) {
  if (!bEnabled) {
    FillBand(pDC, rc, m_cxEdge, m_cyEdge, GetXTPColor(51));
    pDC->Draw3dRect(&rc, GetXTPColor(52), GetXTPColor(52));
    return;
  }
  FillBand(pDC, rc, m_cxEdge, m_cyEdge, GetXTPColor(COLOR_WINDOW));
  if (nState == xtFlatHot || nState == xtFlatPressed) {
    CRect rcFrame(rc);
    pDC->Draw3dRect(&rcFrame, GetXTPColor(COLOR_BTNSHADOW), GetXTPColor(COLOR_BTNHIGHLIGHT));
  }
}

void CXTFlatComboStyle::DrawDropButton(CDC* pDC, const CRect& rcButton, int nState, BOOL /*bEnabled*/) {
  CRect rc(rcButton);
  if (nState == xtFlatHot || nState == xtFlatPressed) {
    const COLORREF clrLight = GetXTPColor(COLOR_BTNHIGHLIGHT);
    const COLORREF clrShadow = GetXTPColor(COLOR_BTNSHADOW);
    const COLORREF clrDark = GetXTPColor(COLOR_3DDKSHADOW);
    const COLORREF clrFace = GetXTPColor(COLOR_BTNFACE);
    if (nState == xtFlatHot) {
      pDC->Draw3dRect(&rc, clrLight, clrDark);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(&rc, clrFace, clrShadow);
    } else {
      pDC->Draw3dRect(&rc, clrDark, clrLight);
      rc.DeflateRect(1, 1);
      pDC->Draw3dRect(&rc, clrShadow, clrFace);
    }
    rc.DeflateRect(1, 1);
    pDC->FillSolidRect(&rc, clrFace);
  } else {
    rc.DeflateRect(1, 1);
    pDC->FillSolidRect(&rc, GetXTPColor(COLOR_BTNFACE));
  }
}

void CXTFlatComboStyle::DrawDropArrow(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled) {
  const COLORREF clr = GetXTPColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
  CPoint pt(rcButton.left + (rcButton.Width() - 5) / 2, rcButton.top + (rcButton.Height() - 3) / 2);
  if (nState == xtFlatPressed) pt.Offset(1, 1);
  // Five, three and one pixels.
  pDC->FillSolidRect(pt.x, pt.y, 5, 1, clr);
  pDC->FillSolidRect(pt.x + 1, pt.y + 1, 3, 1, clr);
  pDC->FillSolidRect(pt.x + 2, pt.y + 2, 1, 1, clr);
}

void CXTFlatComboStyle1::DrawFrame(CDC* pDC, const CRect& rc, int nState, BOOL bEnabled) {
  if (!bEnabled) {
    CXTFlatComboStyle::DrawFrame(pDC, rc, nState, bEnabled);
    return;
  }
  FillBand(pDC, rc, m_cxEdge, m_cyEdge, GetXTPColor(COLOR_WINDOW));
  const COLORREF clr = GetXTPColor(nState == xtFlatNormal ? 51 : 32);
  pDC->Draw3dRect(&rc, clr, clr);
}

void CXTFlatComboStyle1::DrawDropButton(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled) {
  CRect rc(rcButton);
  CXTPColorTable* pTable = GetColorTable();
  if (bEnabled && nState != xtFlatNormal) {
    DrawColorGradient(pDC, &rc, pTable->GetGradient(nState == xtFlatPressed ? 8 : 9), FALSE);
    pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), GetXTPColor(32));
  } else {
    pDC->FillSolidRect(&rc, GetXTPColor(bEnabled ? COLOR_BTNFACE : 51));
  }
}

void CXTFlatComboStyle2::DrawFrame(CDC* pDC, const CRect& rc, int nState, BOOL bEnabled) {
  if (!bEnabled) {
    CXTFlatComboStyle::DrawFrame(pDC, rc, nState, bEnabled);
    return;
  }
  FillBand(pDC, rc, m_cxEdge, m_cyEdge, GetXTPColor(COLOR_WINDOW));
  if (nState != xtFlatNormal) pDC->Draw3dRect(&rc, ThemeBorder(), ThemeBorder());
}

void CXTFlatComboStyle2::DrawDropButton(CDC* pDC, const CRect& rcButton, int nState, BOOL bEnabled) {
  if (bEnabled && nState == xtFlatNormal) {
    CRect rc(rcButton);
    DrawColorGradient(pDC, &rc, GetColorTable()->GetGradient(1), FALSE);
    return;
  }
  CXTFlatComboStyle1::DrawDropButton(pDC, rcButton, nState, bEnabled);
}

// ---- Edit styles ---------------------------------------------------------------------------------

void CXTFlatEditStyle::DrawBorders(CDC* pDC, const CRect& rcWindow, int nState, BOOL bEnabled) {
  CRect rc(rcWindow);
  if (!bEnabled) {
    pDC->Draw3dRect(&rc, GetXTPColor(52), GetXTPColor(52));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, GetXTPColor(51), GetXTPColor(51));
    return;
  }
  if (nState != xtFlatNormal) {
    pDC->Draw3dRect(&rc, GetXTPColor(COLOR_BTNSHADOW), GetXTPColor(COLOR_BTNHIGHLIGHT));
  } else {
    pDC->Draw3dRect(&rc, GetXTPColor(COLOR_WINDOW), GetXTPColor(COLOR_WINDOW));
  }
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(&rc, GetXTPColor(COLOR_WINDOW), GetXTPColor(COLOR_WINDOW));
}

void CXTFlatEditStyle1::RefreshStyle() {
  m_clrHighlightText.SetStandardValue(GetXTPColor(45));
  m_clrPushedText.SetStandardValue(GetXTPColor(47));
  m_clrHighlight.SetStandardValue(GetXTPColor(31));
  m_clrPushed.SetStandardValue(GetXTPColor(33));
  m_clrNormal.SetStandardValue(GetXTPColor(COLOR_WINDOW));
  m_clrFrameHighlight.SetStandardValue(GetXTPColor(32));
  m_clrFrameNormal.SetStandardValue(GetXTPColor(COLOR_BTNFACE));
  m_clrFrameEdit.SetStandardValue(GetXTPColor(COLOR_BTNFACE));
}

void CXTFlatEditStyle1::DrawBorders(CDC* pDC, const CRect& rcWindow, int nState, BOOL bEnabled) {
  if (!bEnabled) {
    CXTFlatEditStyle::DrawBorders(pDC, rcWindow, nState, bEnabled);
    return;
  }
  CRect rc(rcWindow);
  const COLORREF clrFrame = nState != xtFlatNormal ? m_clrFrameHighlight.GetColor() : m_clrNormal.GetColor();
  pDC->Draw3dRect(&rc, clrFrame, clrFrame);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(&rc, m_clrNormal, m_clrNormal);
}

void CXTFlatEditStyle2::RefreshStyle() {
  CXTFlatEditStyle1::RefreshStyle();
  switch (GetColorTable()->GetCurrentTheme()) {
    case xtpSystemThemeBlue:
      m_clrBorder = RGB(0, 0, 128);
      m_clrBorderLight = RGB(127, 157, 185);
      m_clrBorderFace = RGB(169, 199, 240);
      break;
    case xtpSystemThemeOlive:
      m_clrBorder = RGB(63, 93, 56);
      m_clrBorderLight = RGB(164, 185, 127);
      m_clrBorderFace = RGB(197, 212, 159);
      break;
    case xtpSystemThemeSilver:
      m_clrBorder = RGB(75, 75, 111);
      m_clrBorderLight = RGB(165, 172, 178);
      m_clrBorderFace = RGB(192, 192, 211);
      break;
    default:
      m_clrBorder = GetXTPColor(COLOR_BTNSHADOW);
      m_clrBorderLight = m_clrBorder;
      m_clrBorderFace = GetXTPColor(COLOR_BTNFACE);
      break;
  }
}

void CXTFlatEditStyle2::DrawBorders(CDC* pDC, const CRect& rcWindow, int nState, BOOL bEnabled) {
  if (!bEnabled) {
    CXTFlatEditStyle::DrawBorders(pDC, rcWindow, nState, bEnabled);
    return;
  }
  CRect rc(rcWindow);
  const COLORREF clrFrame = nState != xtFlatNormal ? m_clrBorder : m_clrNormal.GetColor();
  pDC->Draw3dRect(&rc, clrFrame, clrFrame);
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(&rc, m_clrNormal, m_clrNormal);
}

// ---- Factories -----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CXTFlatComboBoxThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeStyleBase* CXTFlatComboBoxThemeFactory::CreateStyle(int nTheme) {
  return XTCreateThemeStyle<CXTFlatComboStyle, CXTFlatComboStyle1, CXTFlatComboStyle2>(nTheme);
}

IMPLEMENT_DYNCREATE(CXTFlatEditThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeStyleBase* CXTFlatEditThemeFactory::CreateStyle(int nTheme) {
  return XTCreateThemeStyle<CXTFlatEditStyle, CXTFlatEditStyle1, CXTFlatEditStyle2>(nTheme);
}
