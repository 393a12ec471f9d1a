// The visual-style colour scheme.
#include "TabColorSchemeVisualStyle.h"

#include <algorithm>

#include "ColorTable.h"
#include "TabManager.h"
#include "TabPainter.h"
#include "TabScrollButton.h"

namespace {

// Theme parts and states of the "TAB" and "TOOLBAR" classes.
const int kTabItemPart = 1;
const int kTabPanePart = 9;
const int kTabStateNormal = 1;
const int kTabStateSelected = 3;
const int kTabStateHot = 5;
const int kToolbarButtonPart = 1;
const int kToolbarStateNormal = 1;
const int kToolbarStateHot = 2;
const int kToolbarStatePressed = 3;

}  // namespace

void AFXAPI TurnTabPixels(const DWORD* srcBits, int cxUpright, int cyUpright, DWORD* dstBits, int nPosition) {
  if (nPosition == xtpTabPositionBottom) {
    for (int y = 0; y < cyUpright; ++y) {
      const DWORD* src = srcBits + static_cast<size_t>(cyUpright - 1 - y) * cxUpright;
      std::copy(src, src + cxUpright, dstBits + static_cast<size_t>(y) * cxUpright);
    }
    return;
  }
  // Sideways: the tab is cyUpright wide and cxUpright high; along the strip runs down. The page
  // side of the upright part (its bottom) faces right on a left strip and left on a right strip.
  const int cxTurned = cyUpright;
  for (int y = 0; y < cxUpright; ++y) {
    for (int x = 0; x < cxTurned; ++x) {
      const int v = nPosition == xtpTabPositionLeft ? x : cyUpright - 1 - x;
      dstBits[static_cast<size_t>(y) * cxTurned + x] = srcBits[static_cast<size_t>(v) * cxUpright + y];
    }
  }
}

void CXTPTabColorSchemeVisualStyle::RefreshMetrics() {
  CXTPTabColorSchemeDefault::RefreshMetrics();
  if (IsVisualStyleActive()) {
    m_themeTab.OpenThemeData(nullptr, L"TAB");
    m_themeToolbar.OpenThemeData(nullptr, L"TOOLBAR");
  } else {
    m_themeTab.CloseThemeData();
    m_themeToolbar.CloseThemeData();
  }
  if (IsTabThemeOpen()) {
    // The theme draws the tab's edges itself.
    m_clrBevelHighlight.SetStandardValue(COLORREF(-1));
    m_clrBevelShadow.SetStandardValue(COLORREF(-1));
    m_clrBevelDarkShadow.SetStandardValue(COLORREF(-1));
    m_clrHotText.SetStandardValue(m_clrNormalText.GetStandardColor());
  }
}

COLORREF CXTPTabColorSchemeVisualStyle::FillPageArea(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) {
  if (!IsTabThemeOpen()) return CXTPTabColorSchemeDefault::FillPageArea(pDC, rc, pTabManager);
  const int nPosition = GetPosition();
  if (nPosition == xtpTabPositionBottom) rc.bottom += 1;
  if (nPosition == xtpTabPositionRight) rc.right += 1;
  m_themeTab.DrawThemeBackground(pDC->GetSafeHdc(), kTabPanePart, 1, rc, nullptr);
  return m_clrFace;
}

COLORREF CXTPTabColorSchemeVisualStyle::FillItem(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) {
  if (!IsTabThemeOpen()) return CXTPTabColorSchemeDefault::FillItem(pDC, rc, pItem);
  const int nState = pItem->IsSelected()      ? kTabStateSelected
                     : pItem->IsHighlighted() ? kTabStateHot
                                              : kTabStateNormal;
  const int nPosition = GetPosition();
  if (pItem->IsSelected()) {
    switch (nPosition) {
      case xtpTabPositionLeft:
        rc.right += 1;
        break;
      case xtpTabPositionBottom:
        rc.top -= 1;
        break;
      case xtpTabPositionRight:
        rc.left -= 1;
        break;
      default:
        rc.bottom += 1;
        break;
    }
  }
  CXTThemeHandle& theme = m_themeTab;
  DrawTurned(pDC, rc, nPosition, m_clrFace, [&theme, nState](CDC* pTarget, CRect rcUpright) {
    theme.DrawThemeBackground(pTarget->GetSafeHdc(), kTabItemPart, nState, rcUpright, nullptr);
  });
  // The theme draws its own join with the page.
  return COLORREF(-1);
}

void CXTPTabColorSchemeVisualStyle::FillHeader(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) {
  if (!IsTabThemeOpen()) {
    CXTPTabColorSchemeDefault::FillHeader(pDC, rc, pTabManager);
    return;
  }
  // The pane's corner pixel at the start of the header stays the theme's.
  switch (GetPosition()) {
    case xtpTabPositionBottom:
      pDC->ExcludeClipRect(rc.left, rc.bottom - 2, rc.left + 1, rc.bottom - 1);
      break;
    case xtpTabPositionRight:
      pDC->ExcludeClipRect(rc.right - 2, rc.top, rc.right - 1, rc.top + 1);
      break;
    default:
      pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
      break;
  }
}

void CXTPTabColorSchemeVisualStyle::FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) {
  if (m_themeToolbar.GetHandle() == nullptr) {
    CXTPTabColorSchemeDefault::FillNavigateButton(pDC, pButton, rc);
    return;
  }
  pDC->SetTextColor(GetXtremeColor(COLOR_BTNTEXT));
  const int nState = pButton->IsPressed()       ? kToolbarStatePressed
                     : pButton->IsHighlighted() ? kToolbarStateHot
                                                : kToolbarStateNormal;
  m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), kToolbarButtonPart, nState, rc, nullptr);
}
