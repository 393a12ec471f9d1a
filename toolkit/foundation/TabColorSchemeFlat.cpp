// The flat colour scheme.
#include "TabColorSchemeFlat.h"

#include "ColorTable.h"

void CXTPTabColorSchemeFlat::RefreshMetrics() {
  CXTPTabColorScheme::RefreshMetrics();
  const int nStyle = GetShapeStyle();
  if (nStyle != 4 && nStyle != 7) m_grcStrip.SetStandardColor(GetXTPColor(48));
  if (nStyle == 5) {
    m_clrNormalText.SetStandardValue(GetXTPColor(49));
    m_clrInactiveText.SetStandardValue(GetXTPColor(49));
  }
}

void CXTPTabColorSchemeFlat::FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) {
  const int nStyle = GetShapeStyle();
  if (nStyle == 4 || nStyle == 7) {
    CXTPTabColorSchemeDefault::FillNavigateButton(pDC, pButton, rc);
    return;
  }
  pDC->SetTextColor(GetXTPColor(49));
  FrameNavigateButton(pDC, pButton, rc, GetXTPColor(COLOR_BTNTEXT), GetXTPColor(COLOR_BTNFACE));
}
