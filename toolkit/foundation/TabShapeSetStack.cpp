// The stacked-bar tab shape.
#include "TabShapeSetStack.h"

#include <vector>

#include "ColorTable.h"
#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

namespace {

// The grip at the right end of a bar.
const int kGripWidth = 7;

}  // namespace

CXTPTabShapeSetStack::CXTPTabShapeSetStack() { m_rcPage.SetRectEmpty(); }

int CXTPTabShapeSetStack::GetSupportedColorSchemes() const {
  return xtpTabColorDefault | xtpTabColorGradient;
}

CRect CXTPTabShapeSetStack::GetHeaderRect(CRect /*rcControl*/, const CXTPTabManager* /*pTabManager*/) const {
  return CRect(0, 0, 0, 0);
}

CRect CXTPTabShapeSetStack::GetPageRect(CRect /*rcControl*/, const CXTPTabManager* /*pTabManager*/) const {
  return m_rcPage;
}

int CXTPTabShapeSetStack::GetButtonLength(CDC* pDC, CXTPTabManagerItem* pItem) {
  return m_pPainter->DrawSingleButtonAs(xtpTabPositionTop, pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

CRect CXTPTabShapeSetStack::DrawTabControlBackground(CXTPTabManager* /*pTabManager*/, CDC* pDC,
                                                     CRect rcControl) {
  pDC->FillSolidRect(rcControl, GetColorScheme()->m_clrFace);
  return rcControl;
}

void CXTPTabShapeSetStack::RepositionTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rc) {
  const int nPosition = pTabManager->GetPosition();
  if (pTabManager->IsDrawClientFrame())
    rc.DeflateRect(CXTPTabPainter::RotateMargin(CRect(2, 1, 2, 2), nPosition));
  rc.DeflateRect(CXTPTabPainter::RotateMargin(m_pPainter->m_rcControlMargin, nPosition));
  SetHeaderRect(pTabManager, CRect(0, 0, 0, 0));
  for (int i = 0; i < pTabManager->GetNavigateButtonCount(); ++i) {
    CRect rcNone(0, 0, 0, 0);
    pTabManager->GetNavigateButton(i)->Place(rcNone, FALSE);
  }

  std::vector<CXTPTabManagerItem*> bars;
  int nSelected = -1;
  for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
    CXTPTabManagerItem* pItem = pTabManager->GetItem(i);
    const int nLength = GetButtonLength(pDC, pItem);
    SetItemLength(pItem, nLength, nLength);
    SetItemRect(pItem, CRect(0, 0, 0, 0));
    if (!pItem->IsVisible()) continue;
    if (pItem->IsSelected()) nSelected = static_cast<int>(bars.size());
    bars.push_back(pItem);
  }
  const BOOL bFramed = m_pPainter->m_nPageFrame != 2;
  const int nInset = bFramed ? 1 : 0;
  const int h = GetButtonHeight(pTabManager);
  const int nCount = static_cast<int>(bars.size());
  if (nSelected < 0) nSelected = nCount - 1;

  int y = rc.top + 1;
  for (int i = 0; i <= nSelected; ++i, y += h)
    SetItemRect(bars[i], CRect(rc.left + nInset, y, rc.right, y + h));
  const int nAfter = nCount - nSelected - 1;
  int nPageBottom = rc.bottom - nAfter * h;
  if (nAfter == 0 && bFramed) nPageBottom -= 1;
  if (nPageBottom - y < h) nPageBottom = y + h;
  m_rcPage.SetRect(rc.left + nInset, y, rc.right - nInset, nPageBottom);
  int yAfter = nPageBottom;
  for (int i = nSelected + 1; i < nCount; ++i, yAfter += h)
    SetItemRect(bars[i], CRect(rc.left + nInset, yAfter, rc.right, yAfter + h));
}

void CXTPTabShapeSetStack::AdjustClientRect(CXTPTabManager* /*pTabManager*/, CRect& rcClient) {
  rcClient = m_rcPage;
  rcClient.DeflateRect(GetClientMargin());
}

void CXTPTabShapeSetStack::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  const CRect rc = pItem->GetRect();
  pScheme->FillItem(pDC, rc, pItem);
  DrawFrame(pDC, rc, pScheme->m_clrHighlight, pScheme->m_clrFrame);
  const COLORREF clrGrip = GetXtremeColor(38);
  for (int y = rc.top + 4; y < rc.bottom - 3; y += 2)
    pDC->FillSolidRect(rc.right - kGripWidth, y, 3, 1, clrGrip);
  m_pPainter->DrawSingleButtonAs(xtpTabPositionTop, pDC, pItem,
                                 CRect(rc.left, rc.top, rc.right - kGripWidth, rc.bottom), TRUE);
}
