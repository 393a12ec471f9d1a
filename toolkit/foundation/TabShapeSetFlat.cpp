// The flat tab shapes.
#include "TabShapeSetFlat.h"

#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

CXTPTabShapeSetFlat::CXTPTabShapeSetFlat() { m_rcHeaderMargin.SetRect(2, 2, 4, 0); }

int CXTPTabShapeSetFlat::GetSupportedColorSchemes() const {
  return xtpTabColorDefault | xtpTabColorFlat | xtpTabColorGradient;
}

int CXTPTabShapeSetFlat::GetDefaultColorScheme() const { return xtpTabColorFlat; }

CRect CXTPTabShapeSetFlat::DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
  GetColorScheme()->FillStripBackground(pDC, rcHeader, pTabManager);
  DrawPageFrame(pDC, pTabManager, GetPageRect(rcControl, pTabManager));
  return rcHeader;
}

void CXTPTabShapeSetFlat::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CXTPTabFigure figure(pDC, pItem->GetRect(), GetPosition());
  const CRect c = figure.GetCanonicalRect();
  if (pItem->IsSelected()) {
    // Filled to the page edge, with no line on the page side: the tab opens into the page.
    pScheme->FillItem(pDC, pItem->GetRect(), pItem);
    figure.VLine(c.left, c.top, c.Height(), pScheme->m_clrHighlight);
    figure.HLine(c.left, c.top, c.Width() - 1, pScheme->m_clrHighlight);
    figure.VLine(c.right - 1, c.top, c.Height(), pScheme->m_clrFrame);
  } else {
    figure.VLine(c.right - 1, c.top + 3, c.Height() - 6, pScheme->m_clrFrame);
  }
  m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}

CXTPTabShapeSetFlatFrame::CXTPTabShapeSetFlatFrame() { m_rcHeaderMargin.SetRect(4, 2, 4, 0); }

CRect CXTPTabShapeSetFlatFrame::DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* pDC,
                                                         CRect rcControl) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
  pScheme->FillStripBackground(pDC, rcHeader, pTabManager);
  const CRect rcPage = GetPageRect(rcControl, pTabManager);
  if (m_pPainter->m_nPageFrame == 0)
    DrawFrame(pDC, rcPage, pScheme->m_clrFrame, pScheme->m_clrFrame);
  else
    DrawPageFrame(pDC, pTabManager, rcPage);
  return rcHeader;
}

void CXTPTabShapeSetFlatFrame::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CXTPTabFigure figure(pDC, pItem->GetRect(), GetPosition());
  const CRect c = figure.GetCanonicalRect();
  if (pItem->IsSelected()) {
    // A closed box that stands one pixel off the page.
    const CRect rcBox = figure.MapRect(CRect(c.left, c.top, c.right, c.bottom - 1));
    pScheme->FillItem(pDC, rcBox, pItem);
    DrawFrame(pDC, rcBox, pScheme->m_clrHighlight, pScheme->m_clrFrame);
  } else {
    figure.VLine(c.right - 1, c.top + 2, c.Height() - 4, pScheme->m_clrFrame);
  }
  m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}
