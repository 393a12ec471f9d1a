// The trapezoid tab shape.
#include "TabShapeSetTrapezoid.h"

#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

CXTPTabShapeSetTrapezoid::CXTPTabShapeSetTrapezoid() { m_rcHeaderMargin.SetRect(2, 3, 2, 0); }

CRect CXTPTabShapeSetTrapezoid::GetHeaderMargin() const {
  CRect rc = m_rcHeaderMargin;
  const int nHalf = GetButtonHeight(nullptr) / 2;
  rc.left += nHalf;
  rc.right += nHalf;
  return rc;
}

void CXTPTabShapeSetTrapezoid::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const int nPosition = GetPosition();
  const CXTPTabFigure figure(pDC, pItem->GetRect(), nPosition);
  CRect c = figure.GetCanonicalRect();
  c.bottom -= 1;
  const int nHeight = c.Height();
  c.OffsetRect(-(nHeight / 4), 0);
  const int e = nHeight / 2;
  const int l = c.left, t = c.top, r = c.right, b = c.bottom;

  POINT pts[4] = {{l, b}, {l + e, b - 2 * e}, {r, b - 2 * e}, {r + e, b}};
  figure.MapPoints(pts, 4);
  COLORREF clrFill = COLORREF(-1);
  CRgn rgn;
  if (rgn.CreatePolygonRgn(pts, 4, WINDING)) {
    const int nSaved = pDC->SaveDC();
    pDC->SelectClipRgn(&rgn, RGN_AND);
    clrFill = pScheme->FillItem(pDC, figure.MapRect(CRect(l, b - 2 * e, r + e, b + 1)), pItem);
    pDC->RestoreDC(nSaved);
  }

  // The far strips (bottom, right) show the group's bottom colours on the long edge.
  const BOOL bSelected = pItem->IsSelected();
  const CXTPTabColorScheme::OUTLINE& outline = pScheme->GetOutline(bSelected);
  const BOOL bFar = nPosition == xtpTabPositionBottom || nPosition == xtpTabPositionRight;
  const COLORREF clrOuterLong = bFar ? outline.clrOuterBottom : outline.clrOuterLeftTop;
  const COLORREF clrInnerLong = bFar ? outline.clrInnerBottom : outline.clrInnerHighlight;
  figure.Line(l + 1, b - 1, l + e + 1, t, outline.clrInnerHighlight);
  figure.Line(l + e, t + 1, r, t + 1, clrInnerLong);
  figure.Line(r - 1, t, r + e - 1, b, outline.clrInnerRight);
  figure.Line(l, b - 1, l + e, t, outline.clrOuterLeftTop);
  figure.Line(l + e, t, r, t, clrOuterLong);
  figure.Line(r, t, r + e, b, outline.clrOuterRight);
  if (bSelected) figure.Line(l, b, r + e, b, clrFill);

  m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}
