// The slanted tab shapes.
#include "TabShapeSetSlanted.h"

#include <algorithm>

#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

CXTPTabShapeSetSlanted::CXTPTabShapeSetSlanted() { m_rcHeaderMargin.SetRect(2, 3, 6, 0); }

int CXTPTabShapeSetSlanted::GetSupportedColorSchemes() const {
  return xtpTabColorDefault | xtpTabColorGradient | xtpTabColorThemedGradient;
}

int CXTPTabShapeSetSlanted::GetDefaultColorScheme() const { return xtpTabColorGradient; }

CRect CXTPTabShapeSetSlanted::DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC,
                                                       CRect rcControl) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
  pScheme->FillStripBackground(pDC, rcHeader, pTabManager);
  const CXTPTabFigure figure(pDC, GetPageRect(rcControl, pTabManager), GetPosition());
  const CRect c = figure.GetCanonicalRect();
  figure.HLine(c.left, c.top, c.Width(), pScheme->m_clrFrame);
  return rcHeader;
}

void CXTPTabShapeSetSlanted::GetOutline(const CRect& c, POINT* pts) const {
  const POINT outline[6] = {{c.left - 3, c.bottom}, {c.left + 2, c.top + 1},  {c.left + 4, c.top},
                            {c.right - 4, c.top},   {c.right - 2, c.top + 1}, {c.right + 3, c.bottom}};
  std::copy(outline, outline + 6, pts);
}

void CXTPTabShapeSetSlanted::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CXTPTabFigure figure(pDC, pItem->GetRect(), GetPosition());
  const CRect c = figure.GetCanonicalRect();
  POINT canonical[6];
  GetOutline(c, canonical);

  POINT pts[6];
  std::copy(canonical, canonical + 6, pts);
  figure.MapPoints(pts, 6);
  COLORREF clrFill = COLORREF(-1);
  CRgn rgn;
  if (rgn.CreatePolygonRgn(pts, 6, WINDING)) {
    const int nSaved = pDC->SaveDC();
    pDC->SelectClipRgn(&rgn, RGN_AND);
    CRect rcBounds;
    rgn.GetRgnBox(&rcBounds);
    clrFill = pScheme->FillItem(pDC, rcBounds, pItem);
    pDC->RestoreDC(nSaved);
  }
  for (int i = 0; i + 1 < 6; ++i) {
    figure.Line(canonical[i].x, canonical[i].y - (i == 0 ? 1 : 0), canonical[i + 1].x,
                canonical[i + 1].y - (i + 1 == 5 ? 1 : 0), pScheme->m_clrFrame);
  }
  // The white line inside the start side and the top.
  const COLORREF clrWhite = RGB(255, 255, 255);
  figure.Line(canonical[0].x + 1, canonical[0].y - 1, canonical[1].x + 1, canonical[1].y + 1, clrWhite);
  figure.Line(canonical[2].x, canonical[2].y + 1, canonical[3].x, canonical[3].y + 1, clrWhite);
  if (pItem->IsSelected())
    figure.Line(canonical[0].x + 1, c.bottom - 1, canonical[5].x - 1, c.bottom - 1, clrFill);
  m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}

CXTPTabShapeSetSlantedLeftToRight::CXTPTabShapeSetSlantedLeftToRight() {
  m_rcHeaderMargin.SetRect(2, 3, 6, 0);
  m_bLeftToRight = TRUE;
}

CRect CXTPTabShapeSetSlantedLeftToRight::GetHeaderMargin() const {
  CRect rc = m_rcHeaderMargin;
  rc.left += GetButtonHeight(nullptr) / 2;
  return rc;
}

void CXTPTabShapeSetSlantedLeftToRight::GetOutline(const CRect& c, POINT* pts) const {
  const int e = c.Height() / 2;
  const POINT outline[6] = {{c.left - e, c.bottom}, {c.left + e - 2, c.top + 1}, {c.left + e, c.top},
                            {c.right - 3, c.top},   {c.right - 1, c.top + 2},    {c.right - 1, c.bottom}};
  std::copy(outline, outline + 6, pts);
}
