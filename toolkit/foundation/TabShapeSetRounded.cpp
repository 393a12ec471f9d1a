// The rounded tab shape.
#include "TabShapeSetRounded.h"

#include "DrawHelpers.h"
#include "ScopedPen.h"
#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

namespace {

// Corner radius of the rounded tabs, and how far the rounded figure runs on under the page edge so
// that only its outer corners show.
const int kRadius = 10;
const int kUnderPage = 6;

}  // namespace

CXTPTabShapeSetRounded::CXTPTabShapeSetRounded() { m_rcHeaderMargin.SetRect(2, 2, 4, 0); }

CRect CXTPTabShapeSetRounded::GetHeaderMargin() const {
  CRect rc = m_rcHeaderMargin;
  rc.left += GetButtonHeight(nullptr);
  return rc;
}

int CXTPTabShapeSetRounded::GetDefaultColorScheme() const { return xtpTabColorDefault; }

void CXTPTabShapeSetRounded::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CRect rcTab = pItem->GetRect();
  const CXTPTabFigure figure(pDC, rcTab, GetPosition());
  const CRect c = figure.GetCanonicalRect();
  const CRect rcFigure = figure.MapRect(CRect(c.left, c.top, c.right, c.bottom + kUnderPage));

  const int nSaved = pDC->SaveDC();
  ExcludeRectCorners(pDC, rcTab);
  COLORREF clrFill = COLORREF(-1);
  CRgn rgn;
  if (rgn.CreateRoundRectRgn(rcFigure.left, rcFigure.top, rcFigure.right, rcFigure.bottom, kRadius,
                             kRadius)) {
    const int nInner = pDC->SaveDC();
    pDC->SelectClipRgn(&rgn, RGN_AND);
    clrFill = pScheme->FillItem(pDC, rcTab, pItem);
    pDC->RestoreDC(nInner);
  }
  {
    CXTPScopedPen pen(pDC, pScheme->m_clrFrame);
    HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(HOLLOW_BRUSH));
    pDC->RoundRect(rcFigure.left, rcFigure.top, rcFigure.right, rcFigure.bottom, kRadius, kRadius);
    ::SelectObject(pDC->GetSafeHdc(), hOldBrush);
  }
  // Soften the two outer corners: the pixels beside each arc take half of their outer neighbour.
  POINT pts[8];
  const POINT canonical[4][2] = {{{c.left + 1, c.top + 2}, {c.left, c.top + 2}},
                                 {{c.left + 2, c.top + 1}, {c.left + 2, c.top}},
                                 {{c.right - 2, c.top + 2}, {c.right - 1, c.top + 2}},
                                 {{c.right - 3, c.top + 1}, {c.right - 3, c.top}}};
  for (int i = 0; i < 4; ++i) {
    const CPoint pt = figure.MapPixel(canonical[i][0].x, canonical[i][0].y);
    const CPoint ptNeighbour = figure.MapPixel(canonical[i][1].x, canonical[i][1].y);
    pts[2 * i] = pt;
    pts[2 * i + 1] = CPoint(ptNeighbour.x - pt.x, ptNeighbour.y - pt.y);
  }
  AveragePixels(pDC, pts, 8);
  pDC->RestoreDC(nSaved);

  if (pItem->IsSelected()) figure.HLine(c.left + 1, c.bottom - 1, c.Width() - 2, clrFill);
  m_pPainter->DrawSingleButton(pDC, pItem, rcTab, TRUE);
}
