// The bevelled tab shapes.
#include "TabShapeSetBevel.h"

#include "TabColorScheme.h"
#include "TabColorSchemeVisualStyle.h"
#include "TabManager.h"
#include "TabPainter.h"

CXTPTabShapeSetBevel::CXTPTabShapeSetBevel() { m_rcHeaderMargin.SetRect(2, 3, 6, 0); }

int CXTPTabShapeSetBevel::GetSupportedColorSchemes() const {
  return xtpTabColorDefault | xtpTabColorGradient | xtpTabColorVisualStyle;
}

CRect CXTPTabShapeSetBevel::DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
  pScheme->FillStripBackground(pDC, rcHeader, pTabManager);
  CRect rcPage = GetPageRect(rcControl, pTabManager);
  if (m_pPainter->m_nPageFrame == 0) {
    pScheme->FillPageArea(pDC, rcPage, pTabManager);
    DrawFrame(pDC, rcPage, pScheme->m_clrBevelHighlight, pScheme->m_clrBevelDarkShadow);
    rcPage.DeflateRect(1, 1);
    DrawFrame(pDC, rcPage, pScheme->m_clrPageLight, pScheme->m_clrPageShadow);
  } else if (m_pPainter->m_nPageFrame == 1) {
    CXTPTabFigure figure(pDC, rcPage, GetPosition());
    const CRect rc = figure.GetCanonicalRect();
    figure.HLine(rc.left, rc.top, rc.Width(), pScheme->m_clrBevelHighlight);
  }
  return rcHeader;
}

void CXTPTabShapeSetBevel::DrawBevelTab(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const int nPosition = GetPosition();
  CRect rcTab = pItem->GetRect();
  const BOOL bSelected = pItem->IsSelected();
  if (bSelected) {
    switch (nPosition) {
      case xtpTabPositionLeft:
        rcTab.InflateRect(2, 2, 0, 2);
        break;
      case xtpTabPositionBottom:
      case xtpTabPositionRight:
        rcTab.InflateRect(2, 2, 2, 2);
        break;
      default:
        rcTab.InflateRect(2, 2, 2, 0);
        break;
    }
  }
  const CXTPTabFigure figure(pDC, rcTab, nPosition);
  const CRect c = figure.GetCanonicalRect();
  const int l = c.left, t = c.top, r = c.right, b = c.bottom;
  const COLORREF clrFill = pScheme->FillItem(pDC, figure.MapRect(CRect(l + 1, t + 1, r - 1, b - 1)), pItem);
  const COLORREF clrHighlight = pScheme->m_clrBevelHighlight;
  const COLORREF clrShadow = pScheme->m_clrBevelShadow;
  const COLORREF clrDarkShadow = pScheme->m_clrBevelDarkShadow;
  figure.VLine(l, t + 2, b - (t + 2), clrHighlight);
  figure.FillRect(l + 1, t + 1, 1, 1, clrHighlight);
  figure.HLine(l + 2, t, (r - 2) - (l + 2), clrHighlight);
  figure.FillRect(r - 2, t + 1, 1, 1, clrDarkShadow);
  figure.VLine(r - 1, t + 2, b - t - 3, clrDarkShadow);
  figure.VLine(r - 2, t + 2, b - t - 3, clrShadow);
  if (bSelected && pItem->GetItemRow() == 0) figure.HLine(l + 1, b - 1, r - l - 3, clrFill);
  m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}

void CXTPTabShapeSetBevel::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) { DrawBevelTab(pDC, pItem); }

void CXTPTabShapeSetBevelHot::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  if (pItem->IsSelected() || pItem->IsHighlighted())
    DrawBevelTab(pDC, pItem);
  else
    m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}

CRect CXTPTabShapeSetBevelHot::GetClientMargin() const {
  CRect rc = CXTPTabShapeSetBevel::GetClientMargin();
  const auto* pScheme = dynamic_cast<const CXTPTabColorSchemeVisualStyle*>(m_pPainter->GetColorScheme());
  if (pScheme != nullptr && pScheme->IsTabThemeOpen() && m_pPainter->m_nPageFrame == 0) {
    const int nPosition = GetPosition();
    rc.right += 2;
    if (nPosition == xtpTabPositionTop || nPosition == xtpTabPositionLeft) rc.bottom += 2;
  }
  return rc;
}
