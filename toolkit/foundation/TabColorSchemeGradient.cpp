// The gradient and themed gradient colour schemes.
#include "TabColorSchemeGradient.h"

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "TabManager.h"
#include "TabPainter.h"
#include "TabScrollButton.h"

namespace {

// The fixed colours of the gradient scheme under the blue, olive and silver themes.
struct ThemeColors {
  COLORREF clrFrame;
  COLORREF clrStrip[2];
  COLORREF clrHeader[2];
  COLORREF clrNormalItem;
  COLORREF clrSelectedItem;
  COLORREF clrHotItem;
  COLORREF clrSelectedFill;
  COLORREF clrSelectedFrame;
};

const ThemeColors kThemeColors[3] = {
    {RGB(59, 97, 156),
     {RGB(196, 218, 250), RGB(252, 253, 254)},
     {RGB(158, 190, 245), RGB(196, 218, 250)},
     RGB(162, 192, 246),
     RGB(255, 194, 115),
     RGB(255, 240, 201),
     RGB(255, 192, 111),
     RGB(0, 0, 128)},
    {RGB(96, 128, 88),
     {RGB(242, 241, 228), RGB(252, 254, 254)},
     {RGB(217, 217, 167), RGB(242, 241, 228)},
     RGB(208, 222, 170),
     RGB(255, 194, 115),
     RGB(255, 240, 199),
     RGB(255, 192, 111),
     RGB(63, 93, 56)},
    {RGB(124, 124, 148),
     {RGB(243, 243, 247), RGB(252, 254, 254)},
     {RGB(215, 215, 229), RGB(243, 243, 247)},
     RGB(217, 217, 230),
     RGB(255, 194, 115),
     RGB(255, 238, 194),
     RGB(255, 192, 111),
     RGB(75, 75, 111)},
};

BOOL IsNamedTheme(int nTheme) {
  return nTheme == xtpSystemThemeBlue || nTheme == xtpSystemThemeOlive || nTheme == xtpSystemThemeSilver;
}

}  // namespace

void CXTPTabColorSchemeGradient::RefreshGradientColors() {
  const COLORREF clrFace = GetXtremeColor(COLOR_BTNFACE);
  const COLORREF clrLight = BlendColors(clrFace, GetXtremeColor(COLOR_WINDOW), 205);
  m_grcStrip.SetStandardColors(clrFace, clrLight, 0.5f);
  m_grcHeader.SetStandardColors(clrFace, clrLight, 0.5f);
  m_grcSelectedFill.SetStandardColor(GetXtremeColor(36));
  m_grcSelectedFrame.SetStandardColor(GetXtremeColor(37));
  m_clrHotItem.SetStandardValue(GetXtremeColor(36));
  m_clrHotText.SetStandardValue(GetXtremeColor(COLOR_BTNTEXT));

  const int nTheme = GetColorTable()->GetCurrentTheme();
  m_bGradientButtons = !IsPlainColors() && IsNamedTheme(nTheme);
  if (m_bGradientButtons) {
    const ThemeColors& theme = kThemeColors[nTheme - xtpSystemThemeBlue];
    m_clrFrame.SetStandardValue(theme.clrFrame);
    m_grcStrip.SetStandardColors(theme.clrStrip[0], theme.clrStrip[1], 0.5f);
    m_grcHeader.SetStandardColors(theme.clrHeader[0], theme.clrHeader[1], 0.5f);
    m_clrNormalItem.SetStandardValue(theme.clrNormalItem);
    m_clrSelectedItem.SetStandardValue(theme.clrSelectedItem);
    m_clrHotItem.SetStandardValue(theme.clrHotItem);
    m_grcSelectedFill.SetStandardColor(theme.clrSelectedFill);
    m_grcSelectedFrame.SetStandardColor(theme.clrSelectedFrame);
  } else {
    m_clrSelectedItem.SetStandardValue(GetXtremeColor(36));
  }
  if (GetShapeStyle() == 4) {
    m_grcStrip.SetStandardColor(clrFace);
    m_grcHeader.SetStandardColor(clrFace);
  }
  m_bGradientItems = TRUE;
  m_clrNavigateFrame.SetStandardValue(m_clrFrame.GetColor());
}

void CXTPTabColorSchemeGradient::RefreshMetrics() {
  CXTPTabColorSchemeDefault::RefreshMetrics();
  RefreshGradientColors();
}

COLORREF CXTPTabColorSchemeGradient::FillItem(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) {
  const COLORREF clrItem =
      pItem->IsHighlighted() && !pItem->IsSelected() ? m_clrHotItem.GetColor() : GetItemColor(pItem);
  if (!m_bGradientItems) {
    pDC->FillSolidRect(rc, clrItem);
    return clrItem;
  }
  CXTPColorGradientValue grc;
  grc.SetStandardColors(BlendColors(clrItem, RGB(255, 255, 255), 300), clrItem, 0.5f);
  FillGradientAcross(pDC, rc, grc);
  return clrItem;
}

void CXTPTabColorSchemeGradient::FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) {
  pDC->SetTextColor(GetXtremeColor(COLOR_BTNTEXT));
  if (!pButton->IsEnabled()) return;
  const BOOL bHot = pButton->IsHighlighted(), bPressed = pButton->IsPressed();
  if (!bHot && !bPressed) return;
  if (bHot && bPressed) {
    pDC->SetTextColor(GetXtremeColor(47));
    if (m_bGradientButtons) {
      DrawGradientRect(pDC, rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
      pDC->Draw3dRect(rc, m_clrNavigateFrame, m_clrNavigateFrame);
    } else {
      pDC->FillSolidRect(rc, GetXtremeColor(50));
      pDC->Draw3dRect(rc, GetXtremeColor(33), GetXtremeColor(33));
    }
    return;
  }
  pDC->SetTextColor(GetXtremeColor(45));
  if (m_bGradientButtons) {
    DrawGradientRect(pDC, rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
    pDC->Draw3dRect(rc, m_clrNavigateFrame, m_clrNavigateFrame);
  } else {
    pDC->FillSolidRect(rc, GetXtremeColor(32));
    pDC->Draw3dRect(rc, GetXtremeColor(31), GetXtremeColor(31));
  }
}

void CXTPTabColorSchemeThemedGradient::RefreshMetrics() {
  CXTPTabColorSchemeDefault::RefreshMetrics();
  m_clrSelectedItem.SetStandardValue(RGB(255, 255, 255));
  m_clrHotItem.SetStandardValue(GetXtremeColor(36));
  m_clrHotText.SetStandardValue(GetXtremeColor(COLOR_BTNTEXT));
  m_bGradientButtons = FALSE;
  m_bGradientItems = FALSE;
  if (!IsPlainColors()) {
    RefreshGradientColors();
  } else {
    const int nTheme = GetColorTable()->GetCurrentTheme();
    if (nTheme == xtpSystemThemeBlue || nTheme == xtpSystemThemeOlive) {
      m_grcStrip.SetStandardColor(RGB(228, 226, 213));
      m_bGradientItems = TRUE;
    } else if (nTheme == xtpSystemThemeSilver) {
      m_grcStrip.SetStandardColor(RGB(238, 238, 238));
      m_clrNormalItem.SetStandardValue(RGB(245, 245, 248));
      m_bGradientItems = TRUE;
    }
  }
  m_clrFrame.SetStandardValue(GetXtremeColor(57));
  m_clrNavigateFrame.SetStandardValue(GetXtremeColor(57));
}
