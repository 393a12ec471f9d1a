// The flat colour scheme.
#include "TabColorSchemeFlat.h"

#include "ColorTable.h"

void CXTPTabColorSchemeFlat::RefreshMetrics() {
  CXTPTabColorScheme::RefreshMetrics();
  const int nStyle = GetShapeStyle();
  if (nStyle != 4 && nStyle != 7) m_grcStrip.SetStandardColor(GetXtremeColor(48));
  if (nStyle == 5) {
    m_clrNormalText.SetStandardValue(GetXtremeColor(49));
    m_clrInactiveText.SetStandardValue(GetXtremeColor(49));
  }
}

void CXTPTabColorSchemeFlat::FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) {
  const int nStyle = GetShapeStyle();
  if (nStyle == 4 || nStyle == 7) {
    CXTPTabColorSchemeDefault::FillNavigateButton(pDC, pButton, rc);
    return;
  }
  pDC->SetTextColor(GetXtremeColor(49));
  FrameNavigateButton(pDC, pButton, rc, GetXtremeColor(COLOR_BTNTEXT), GetXtremeColor(COLOR_BTNFACE));
}
