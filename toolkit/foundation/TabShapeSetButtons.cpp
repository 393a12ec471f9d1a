// The button tab shape.
#include "TabShapeSetButtons.h"

#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

CXTPTabShapeSetButtons::CXTPTabShapeSetButtons() {
  m_rcHeaderMargin.SetRect(2, 2, 4, 2);
  m_nRowOverlap = 0;
}

int CXTPTabShapeSetButtons::GetDefaultColorScheme() const { return xtpTabColorFlat; }

void CXTPTabShapeSetButtons::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem) {
  GetColorScheme()->FillItemFrame(pDC, pItem->GetRect(), pItem);
  m_pPainter->DrawSingleButton(pDC, pItem, pItem->GetRect(), TRUE);
}
