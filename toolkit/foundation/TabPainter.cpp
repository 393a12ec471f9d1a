// The tab painter: options, fonts, schemes and shape sets; measuring, the single-row, shrinking and
// multi-row layouts, scrolling into view, and the drawing of the strip and of one tab's content.
#include "TabPainter.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "ColorTable.h"
#include "DrawHelpers.h"
#include "ScopedFont.h"
#include "SystemResources.h"
#include "TabColorScheme.h"
#include "TabColorSchemeFlat.h"
#include "TabColorSchemeGradient.h"
#include "TabColorSchemeVisualStyle.h"
#include "TabManager.h"
#include "TabShapeSetBevel.h"
#include "TabShapeSetButtons.h"
#include "TabShapeSetFlat.h"
#include "TabShapeSetRounded.h"
#include "TabShapeSetSlanted.h"
#include "TabShapeSetStack.h"
#include "TabShapeSetTrapezoid.h"

namespace {

// The client frame takes two pixels on three sides and one on the strip side.
const CRect kClientFrame(2, 1, 2, 2);

BOOL IsVertical(int nPosition) { return nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight; }

// Lengths along the strip and across it, whatever its direction.
int Along(const CRect& rc, BOOL bVertical) { return bVertical ? rc.Height() : rc.Width(); }

}  // namespace

CXTPTabPainter::CXTPTabPainter()
    : m_rcClientMargin(0, 0, 0, 0),
      m_rcControlMargin(0, 0, 0, 0),
      m_rcButtonMargin(0, 0, 0, 0),
      m_szImage(16, 16) {
  SetShapeSet(0);
  RefreshMetrics();
}

CXTPTabPainter::~CXTPTabPainter() {
  delete m_pColorScheme;
  delete m_pShapeSet;
}

CRect PASCAL CXTPTabPainter::RotateMargin(const CRect& rc, int nPosition) {
  switch (nPosition) {
    case xtpTabPositionLeft:
      return CRect(rc.top, rc.left, rc.bottom, rc.right);
    case xtpTabPositionBottom:
      return CRect(rc.left, rc.bottom, rc.right, rc.top);
    case xtpTabPositionRight:
      return CRect(rc.bottom, rc.left, rc.top, rc.right);
    default:
      return rc;
  }
}

// ---- schemes, shape sets, options ---------------------------------------------------------------

void CXTPTabPainter::SetColorScheme(int nFlag) {
  m_nSchemeFlag = nFlag;
  CXTPTabColorScheme* pScheme = nullptr;
  switch (nFlag) {
    case xtpTabColorFlat:
      pScheme = new CXTPTabColorSchemeFlat();
      break;
    case xtpTabColorGradient:
      pScheme = new CXTPTabColorSchemeGradient();
      break;
    case xtpTabColorVisualStyle:
      pScheme = new CXTPTabColorSchemeVisualStyle();
      break;
    case xtpTabColorThemedGradient:
      pScheme = new CXTPTabColorSchemeThemedGradient();
      break;
    default:
      pScheme = new CXTPTabColorSchemeDefault();
      break;
  }
  SetColorSchemeObject(pScheme);
}

void CXTPTabPainter::SetColorSchemeObject(CXTPTabColorScheme* pScheme) {
  if (pScheme != nullptr) {
    if (pScheme != m_pColorScheme) delete m_pColorScheme;
    m_pColorScheme = pScheme;
    pScheme->SetPaintManager(this);
    pScheme->RefreshMetrics();
  }
  OnPropertyChanged();
}

void CXTPTabPainter::SetShapeSet(int nStyle) {
  m_nShapeStyle = nStyle;
  CXTPTabShapeSet* pShapeSet = nullptr;
  switch (nStyle) {
    case 1:
      pShapeSet = new CXTPTabShapeSetBevelHot();
      break;
    case 2:
      pShapeSet = new CXTPTabShapeSetRounded();
      break;
    case 3:
      pShapeSet = new CXTPTabShapeSetSlanted();
      break;
    case 4:
      pShapeSet = new CXTPTabShapeSetButtons();
      break;
    case 5:
      pShapeSet = new CXTPTabShapeSetFlatFrame();
      break;
    case 6:
      pShapeSet = new CXTPTabShapeSetFlat();
      break;
    case 7:
      pShapeSet = new CXTPTabShapeSetTrapezoid();
      break;
    case 8:
      pShapeSet = new CXTPTabShapeSetStack();
      break;
    case 9:
      pShapeSet = new CXTPTabShapeSetSlantedLeftToRight();
      break;
    default:
      pShapeSet = new CXTPTabShapeSetBevel();
      break;
  }
  delete m_pShapeSet;
  m_pShapeSet = pShapeSet;
  pShapeSet->SetPaintManager(this);
  pShapeSet->RefreshMetrics();
  SetColorScheme(pShapeSet->GetDefaultColorScheme());
  OnPropertyChanged();
}

void CXTPTabPainter::SetPlainColors(BOOL bPlainColors) {
  m_bPlainColors = bPlainColors;
  RefreshMetrics();
  OnPropertyChanged();
}

BOOL CXTPTabPainter::IsPlainColors() const {
  return m_bPlainColors || GetColorTable()->IsPlainColorsForced();
}

void CXTPTabPainter::SetSchemeOption(BOOL bItemColors) {
  m_bItemColors = bItemColors;
  RefreshMetrics();
}

void CXTPTabPainter::SetPosition(int nPosition) {
  m_nPosition = nPosition;
  OnPropertyChanged();
}

void CXTPTabPainter::SetLayout(int nLayout) {
  m_nLayout = nLayout;
  OnPropertyChanged();
}

void CXTPTabPainter::SetFontIndirect(const LOGFONT* pLogFont, BOOL bUseSystemFont) {
  m_bUseSystemFont = bUseSystemFont;
  if (pLogFont == nullptr) return;
  m_fntNormal.DeleteObject();
  m_fntBold.DeleteObject();
  m_fntVerticalNormal.DeleteObject();
  m_fntVerticalBold.DeleteObject();

  LOGFONT lf = *pLogFont;
  lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
  m_fntNormal.CreateFontIndirect(&lf);
  lf.lfWeight = FW_BOLD;
  m_fntBold.CreateFontIndirect(&lf);

  const CString strFace = CXTSystemResources::GetVerticalFontFace(pLogFont->lfFaceName);
  lstrcpynW(lf.lfFaceName, strFace, LF_FACESIZE);
  lf.lfEscapement = 2700;
  lf.lfOrientation = 900;
  // Rotated text below 11 pixels is hard to read.
  if (lf.lfHeight >= -10 && lf.lfHeight <= -1) lf.lfHeight = -11;
  lf.lfWeight = m_bBoldNormal ? FW_BOLD : FW_NORMAL;
  m_fntVerticalNormal.CreateFontIndirect(&lf);
  lf.lfWeight = FW_BOLD;
  m_fntVerticalBold.CreateFontIndirect(&lf);
}

void CXTPTabPainter::RefreshMetrics() {
  if (m_bUseSystemFont) {
    LOGFONT lf = {};
    if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) SetFontIndirect(&lf, TRUE);
  }
  if (m_pColorScheme != nullptr) m_pColorScheme->RefreshMetrics();
  if (m_pShapeSet != nullptr) m_pShapeSet->RefreshMetrics();
}

void CXTPTabPainter::OnPropertyChanged() {
  for (INT_PTR i = 0; i < m_arrManagers.GetSize(); ++i) m_arrManagers[i]->Refresh();
}

CFont* CXTPTabPainter::GetItemFont(CXTPTabManagerItem* pItem, BOOL bVertical) {
  const CXTPTabManager* pTabManager = pItem->GetTabManager();
  const BOOL bBold =
      m_bBoldSelected && pItem->IsSelected() && (pTabManager == nullptr || pTabManager->IsActive());
  if (bVertical) return bBold ? &m_fntVerticalBold : &m_fntVerticalNormal;
  return bBold ? &m_fntBold : &m_fntNormal;
}

// ---- layout --------------------------------------------------------------------------------------

void CXTPTabPainter::AdjustClientRect(CXTPTabManager* pTabManager, CRect& rcClient) {
  if (pTabManager->IsDrawClientFrame())
    rcClient.DeflateRect(RotateMargin(kClientFrame, pTabManager->GetPosition()));
  if (pTabManager->GetItemCount() > 0) m_pShapeSet->AdjustClientRect(pTabManager, rcClient);
}

void CXTPTabPainter::RepositionTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcClient) {
  pTabManager->m_rcControl = rcClient;
  pTabManager->m_rcClient = rcClient;
  pTabManager->SetRowCount(1);
  pTabManager->m_arrRows[0] = CXTPTabManager::ROW{0, pTabManager->GetItemCount() - 1};
  for (int i = 0; i < pTabManager->GetItemCount(); ++i) pTabManager->m_arrItems[i]->m_nItemRow = 0;
  m_pShapeSet->RepositionTabControl(pTabManager, pDC, rcClient);
  AdjustClientRect(pTabManager, pTabManager->m_rcClient);
}

void CXTPTabPainter::MeasureItems(CXTPTabManager* pTabManager, CDC* pDC) {
  for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
    CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
    pItem->m_nLength = pItem->m_nIdealLength = m_pShapeSet->GetButtonLength(pDC, pItem);
  }
}

void CXTPTabPainter::ShrinkToFit(CXTPTabManager* pTabManager, int nAvailable) {
  std::vector<CXTPTabManagerItem*> items;
  for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
    if (pTabManager->m_arrItems[i]->m_bVisible) items.push_back(pTabManager->m_arrItems[i]);
  }
  int nTotal = 0;
  for (CXTPTabManagerItem* pItem : items) nTotal += pItem->m_nLength;
  if (items.empty() || nAvailable >= nTotal) return;
  if (items.size() == 1) {
    items[0]->m_nLength = nAvailable;
    return;
  }
  std::stable_sort(items.begin(), items.end(), [](const CXTPTabManagerItem* a, const CXTPTabManagerItem* b) {
    return a->m_nLength > b->m_nLength;
  });
  int nExcess = nTotal - nAvailable;
  const int nCount = static_cast<int>(items.size());
  int nGroup = 1;
  for (;;) {
    // The group: the nGroup longest items, all of one length by now.
    while (nGroup < nCount && items[nGroup]->m_nLength == items[0]->m_nLength) ++nGroup;
    if (nGroup == nCount) {
      for (CXTPTabManagerItem* pItem : items) pItem->m_nLength = nAvailable / nCount;
      return;
    }
    const int nNext = items[nGroup]->m_nLength;
    const int nSaving = nGroup * (items[0]->m_nLength - nNext);
    if (nSaving >= nExcess) {
      const int nCut = nExcess / nGroup;
      for (int i = 0; i < nGroup; ++i) items[i]->m_nLength -= nCut;
      return;
    }
    for (int i = 0; i < nGroup; ++i) items[i]->m_nLength = nNext;
    nExcess -= nSaving;
  }
}

int CXTPTabPainter::CountRows(CXTPTabManager* pTabManager, int nAvailable) const {
  int nRows = 1, nRunning = 0;
  for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
    const CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
    if (!pItem->m_bVisible) continue;
    if (nRunning + pItem->m_nLength > nAvailable && nRunning != 0) {
      ++nRows;
      nRunning = 0;
    }
    nRunning += pItem->m_nLength;
  }
  return nRows;
}

BOOL CXTPTabPainter::FillRows(CXTPTabManager* pTabManager, int nRow, int nFirst, int nRemaining,
                              int nAvailable) {
  const int nRows = pTabManager->GetRowCount();
  const int nCount = pTabManager->GetItemCount();
  int nTarget = nAvailable;
  if (m_bJustifyRows) nTarget = std::min(nAvailable, nRemaining / (nRows - nRow));
  int nRunning = 0;
  pTabManager->m_arrRows[nRow].nFirst = nFirst;
  for (int i = nFirst; i < nCount; ++i) {
    CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
    if (pItem->m_bVisible && nRunning + pItem->m_nLength > nTarget && nRunning != 0) {
      if (nRow == nRows - 1) return FALSE;
      if (FillRows(pTabManager, nRow + 1, i, nRemaining - nRunning, nAvailable)) {
        pTabManager->m_arrRows[nRow].nLast = i - 1;
        return TRUE;
      }
      if (nRunning + pItem->m_nLength > nAvailable) return FALSE;
    }
    pItem->m_nItemRow = nRow;
    if (pItem->m_bVisible) nRunning += pItem->m_nLength;
  }
  pTabManager->m_arrRows[nRow].nLast = nCount - 1;
  // The items ran out early: the rows beyond stay empty.
  for (int r = nRow + 1; r < nRows; ++r) pTabManager->m_arrRows[r] = CXTPTabManager::ROW{nCount, nCount - 1};
  return TRUE;
}

CRect CXTPTabPainter::PlaceNavigateButtons(CXTPTabManager* pTabManager, CRect rcHeader, CRect rcMargin) {
  if (IsVertical(pTabManager->GetPosition())) {
    rcHeader.top += rcMargin.left + rcMargin.right;
    rcHeader.bottom -= 1;
  } else {
    rcHeader.left += rcMargin.left + rcMargin.right;
    rcHeader.right -= 1;
  }
  for (INT_PTR i = pTabManager->m_arrNavigateButtons.GetSize() - 1; i >= 0; --i)
    pTabManager->m_arrNavigateButtons[i]->Reposition(rcHeader);
  return rcHeader;
}

int CXTPTabPainter::RowStart(const CXTPTabManager* pTabManager, const CRect& rc, int nRowsOutside) const {
  const CRect m = m_pShapeSet->GetHeaderMargin();
  const int h = m_pShapeSet->GetButtonHeight(pTabManager);
  const int nStep = nRowsOutside * (h + m_pShapeSet->GetRowOverlap());
  switch (pTabManager->GetPosition()) {
    case xtpTabPositionLeft:
      return rc.left + m.top + nStep;
    case xtpTabPositionBottom:
      return rc.bottom - m.top - h - nStep;
    case xtpTabPositionRight:
      return rc.right - m.top - h - nStep;
    default:
      return rc.top + m.top + nStep;
  }
}

void CXTPTabPainter::PlaceItem(CXTPTabManagerItem* pItem, int nAlong, int nAcross, int h) const {
  if (IsVertical(pItem->GetTabManager()->GetPosition()))
    pItem->m_rcItem.SetRect(nAcross, nAlong, nAcross + h, nAlong + pItem->m_nLength);
  else
    pItem->m_rcItem.SetRect(nAlong, nAcross, nAlong + pItem->m_nLength, nAcross + h);
}

void CXTPTabPainter::PlaceRotatedItem(CXTPTabManagerItem* pItem, int nAlong, int h) const {
  // The tab takes the row height along the strip and its length away from the page.
  const CXTPTabManager* pTabManager = pItem->GetTabManager();
  const CRect rcHeader = pTabManager->m_rcHeaderRect;
  const int nInset = m_pShapeSet->GetHeaderMargin().bottom;
  const int nLength = pItem->m_nLength;
  switch (pTabManager->GetPosition()) {
    case xtpTabPositionLeft:
      pItem->m_rcItem.SetRect(rcHeader.right - nInset - nLength, nAlong, rcHeader.right - nInset, nAlong + h);
      break;
    case xtpTabPositionBottom:
      pItem->m_rcItem.SetRect(nAlong, rcHeader.top + nInset, nAlong + h, rcHeader.top + nInset + nLength);
      break;
    case xtpTabPositionRight:
      pItem->m_rcItem.SetRect(rcHeader.left + nInset, nAlong, rcHeader.left + nInset + nLength, nAlong + h);
      break;
    default:
      pItem->m_rcItem.SetRect(nAlong, rcHeader.bottom - nInset - nLength, nAlong + h,
                              rcHeader.bottom - nInset);
      break;
  }
}

void CXTPTabPainter::WrapRows(CXTPTabManager* pTabManager, int nAvailable) {
  const int nCount = pTabManager->GetItemCount();
  int nRow = 0, nRunning = 0;
  pTabManager->m_arrRows[0].nFirst = 0;
  for (int i = 0; i < nCount; ++i) {
    CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
    if (pItem->m_bVisible && nRunning + pItem->m_nLength > nAvailable && nRunning != 0) {
      pTabManager->m_arrRows[nRow].nLast = i - 1;
      pTabManager->m_arrRows[++nRow].nFirst = i;
      nRunning = 0;
    }
    pItem->m_nItemRow = nRow;
    if (pItem->m_bVisible) nRunning += pItem->m_nLength;
  }
  pTabManager->m_arrRows[nRow].nLast = nCount - 1;
}

void CXTPTabPainter::JustifyRow(CXTPTabManager* pTabManager, const CXTPTabManager::ROW& row, int nAvailable) {
  int nVisible = 0, nUsed = 0;
  for (int i = row.nFirst; i <= row.nLast; ++i) {
    if (!pTabManager->m_arrItems[i]->m_bVisible) continue;
    ++nVisible;
    nUsed += pTabManager->m_arrItems[i]->m_nLength;
  }
  int nExcess = nAvailable - nUsed;
  for (int i = row.nFirst; i <= row.nLast && nExcess > 0 && nVisible > 0; ++i) {
    CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
    if (!pItem->m_bVisible) continue;
    const int nAdd = nExcess / nVisible--;
    pItem->m_nLength += nAdd;
    nExcess -= nAdd;
  }
}

BOOL CXTPTabPainter::LayoutRows(CXTPTabManager* pTabManager, const CRect& rc, int nAvailable) {
  const int nRows = CountRows(pTabManager, nAvailable);
  if (nRows <= 1) return FALSE;
  const int nCount = pTabManager->GetItemCount();
  pTabManager->SetRowCount(nRows);
  int nTotal = 0;
  for (int i = 0; i < nCount; ++i) nTotal += pTabManager->m_arrItems[i]->m_nLength;
  if (!FillRows(pTabManager, 0, 0, nTotal, nAvailable)) WrapRows(pTabManager, nAvailable);

  const CXTPTabManagerItem* pSelected = pTabManager->m_pSelected;
  const int nSelectedRow = pSelected != nullptr ? pSelected->m_nItemRow : 0;
  if (!m_bKeepRowOrder && nSelectedRow != 0) {
    std::swap(pTabManager->m_arrRows[0], pTabManager->m_arrRows[nSelectedRow]);
    for (int i = 0; i < nCount; ++i) {
      int& nItemRow = pTabManager->m_arrItems[i]->m_nItemRow;
      if (nItemRow == 0)
        nItemRow = nSelectedRow;
      else if (nItemRow == nSelectedRow)
        nItemRow = 0;
    }
  }

  pTabManager->m_rcHeaderRect = m_pShapeSet->GetHeaderRect(rc, pTabManager);
  const int h = m_pShapeSet->GetButtonHeight(pTabManager);
  const int nStart =
      (IsVertical(pTabManager->GetPosition()) ? rc.top : rc.left) + m_pShapeSet->GetHeaderMargin().left;
  for (int nRow = 0; nRow < nRows; ++nRow) {
    const CXTPTabManager::ROW row = pTabManager->m_arrRows[nRow];
    if (m_bJustifyRows) JustifyRow(pTabManager, row, nAvailable);
    // Row 0 lies next to the page; the others are stacked away from it.
    const int nAcross = RowStart(pTabManager, rc, nRows - 1 - nRow);
    int nAlong = nStart;
    for (int i = row.nFirst; i <= row.nLast; ++i) {
      PlaceItem(pTabManager->m_arrItems[i], nAlong, nAcross, h);
      nAlong += pTabManager->m_arrItems[i]->m_nLength;
    }
  }
  return TRUE;
}

void CXTPTabPainter::RepositionTabControlEx(CXTPTabManager* pTabManager, CDC* pDC, CRect rc) {
  const int nPosition = pTabManager->GetPosition();
  const BOOL bVertical = IsVertical(nPosition);
  if (pTabManager->IsDrawClientFrame()) rc.DeflateRect(RotateMargin(kClientFrame, nPosition));
  rc.DeflateRect(RotateMargin(m_rcControlMargin, nPosition));

  MeasureItems(pTabManager, pDC);
  pTabManager->m_rcHeaderRect = m_pShapeSet->GetHeaderRect(rc, pTabManager);
  const int nCount = pTabManager->GetItemCount();
  if (nCount == 0) {
    for (INT_PTR i = 0; i < pTabManager->m_arrNavigateButtons.GetSize(); ++i) {
      CRect rcNone(0, 0, 0, 0);
      pTabManager->m_arrNavigateButtons[i]->Place(rcNone, FALSE);
    }
    return;
  }

  const CRect m = m_pShapeSet->GetHeaderMargin();
  const int h = m_pShapeSet->GetButtonHeight(pTabManager);
  int nAvailable = Along(rc, bVertical) - m.left - m.right;
  for (INT_PTR i = pTabManager->m_arrNavigateButtons.GetSize() - 1; i >= 0; --i)
    pTabManager->m_arrNavigateButtons[i]->ReduceAvailableLength(nAvailable);

  if (m_nLayout != xtpTabLayoutMultiRow || !LayoutRows(pTabManager, rc, nAvailable)) {
    if (m_nLayout == xtpTabLayoutSizeToFit) ShrinkToFit(pTabManager, nAvailable);

    // A scroll offset that leaves room after the last tab is taken back.
    if (pTabManager->m_nScrollDelta < 0) {
      const int nTotal = pTabManager->GetItemsLength();
      const CRect rcRemain =
          PlaceNavigateButtons(pTabManager, m_pShapeSet->GetHeaderRect(rc, pTabManager), m);
      const int nLength = Along(rcRemain, bVertical);
      if (nTotal + pTabManager->m_nScrollDelta < nLength)
        pTabManager->m_nScrollDelta = nLength - nTotal <= 0 ? nLength - nTotal : 0;
    }

    const int nAcross = RowStart(pTabManager, rc, 0);
    int nAlong = (bVertical ? rc.top : rc.left) + m.left + pTabManager->m_nScrollDelta;
    for (int i = 0; i < nCount; ++i) {
      CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
      if (m_nLayout != xtpTabLayoutRotated) {
        PlaceItem(pItem, nAlong, nAcross, h);
        nAlong += pItem->m_nLength;
      } else if (pItem->m_bVisible) {
        PlaceRotatedItem(pItem, nAlong, h);
        nAlong += h;
      } else {
        pItem->m_rcItem.SetRect(nAlong, nAcross, nAlong, nAcross);
      }
    }
  }

  const CRect rcRemain = PlaceNavigateButtons(pTabManager, m_pShapeSet->GetHeaderRect(rc, pTabManager), m);
  if (bVertical)
    pTabManager->m_rcHeaderRect.bottom = rcRemain.bottom;
  else
    pTabManager->m_rcHeaderRect.right = rcRemain.right;
}

void CXTPTabPainter::EnsureVisible(CXTPTabManager* pTabManager, CXTPTabManagerItem* pItem) {
  const CRect rcHeader = pTabManager->m_rcHeaderRect;
  const CRect rcItem = pItem->m_rcItem;
  if (rcHeader.IsRectEmpty() || rcItem.IsRectEmpty()) return;
  const BOOL bVertical = IsVertical(pTabManager->GetPosition());
  const int nHeaderStart = bVertical ? rcHeader.top : rcHeader.left;
  const int nHeaderEnd = bVertical ? rcHeader.bottom : rcHeader.right;
  const int nItemStart = bVertical ? rcItem.top : rcItem.left;
  const int nItemEnd = bVertical ? rcItem.bottom : rcItem.right;
  int nOffset = pTabManager->m_nScrollDelta;
  if (nItemStart < nHeaderStart)
    nOffset += m_pShapeSet->GetHeaderMargin().left + nHeaderStart - nItemStart;
  else if (nItemEnd > nHeaderEnd)
    nOffset += nHeaderEnd - nItemEnd;
  else
    return;
  pTabManager->SetScrollOffset(nOffset);
}

// ---- measuring and drawing one tab ----------------------------------------------------------------

int CXTPTabPainter::MeasureContent(CDC* pDC, CXTPTabManagerItem* pItem, BOOL bVertical) {
  CXTPTabManager* pTabManager = pItem->GetTabManager();
  int nIcon = 0;
  if (pTabManager->DrawItemIcon(pDC, CPoint(0, 0), nullptr, FALSE, m_szImage) &&
      pTabManager->DrawItemIcon(pDC, CPoint(0, 0), pItem, FALSE, m_szImage))
    nIcon = bVertical ? m_szImage.cy : m_szImage.cx;

  const UINT nFormat = DT_SINGLELINE | DT_CALCRECT | (m_bNoPrefix ? DT_NOPREFIX : 0);
  auto CaptionWidth = [&](CXTPTabManagerItem* p) {
    CRect rcText(0, 0, 0, 0);
    const CString strCaption = p->GetCaption();
    pDC->DrawText(strCaption, rcText, nFormat);
    return static_cast<int>(rcText.Width());
  };

  int nLength = 0;
  switch (m_nLayout) {
    case xtpTabLayoutFixed:
      nLength = pTabManager->m_szNormal.cx;
      break;
    case xtpTabLayoutCompressed:
      if (pItem->IsSelected()) {
        int nWidest = 0;
        for (int i = 0; i < pTabManager->GetItemCount(); ++i)
          nWidest = std::max(nWidest, CaptionWidth(pTabManager->m_arrItems[i]));
        nLength = nIcon + nWidest + 12;
      } else {
        nLength = nIcon + 8;
      }
      break;
    default:
      nLength = nIcon + CaptionWidth(pItem) + 12;
      break;
  }
  nLength += m_rcButtonMargin.left + m_rcButtonMargin.right;
  if (pTabManager->m_szMin.cx > 0 && nLength < pTabManager->m_szMin.cx) nLength = pTabManager->m_szMin.cx;
  if (pTabManager->m_szMax.cx > 0 && nLength > pTabManager->m_szMax.cx) nLength = pTabManager->m_szMax.cx;
  return nLength;
}

int CXTPTabPainter::DrawSingleButton(CDC* pDC, CXTPTabManagerItem* pItem, CRect rc, BOOL bDraw) {
  CXTPTabManager* pTabManager = pItem->GetTabManager();
  const int nPosition = pTabManager->GetPosition();
  BOOL bVertical = IsVertical(nPosition);
  if (m_nLayout == xtpTabLayoutRotated) bVertical = !bVertical;
  CXTPScopedFont font(pDC, GetItemFont(pItem, bVertical));

  if (!bDraw) return pItem->m_bVisible ? MeasureContent(pDC, pItem, bVertical) : 0;

  m_pColorScheme->SetItemTextColor(pDC, pItem);
  const int nContent = MeasureContent(pDC, pItem, bVertical);
  const int nExtra = Along(rc, bVertical) - nContent;
  if (nExtra > 0) {
    if (bVertical)
      rc.InflateRect(0, -(nExtra / 2));
    else
      rc.InflateRect(-(nExtra / 2), 0);
  }

  const CRect& bm = m_rcButtonMargin;
  const BOOL bSwapAcross = bVertical ? nPosition == xtpTabPositionRight : nPosition == xtpTabPositionBottom;
  const int nMarginNear = bSwapAcross ? bm.bottom : bm.top;
  const int nMarginFar = bSwapAcross ? bm.top : bm.bottom;
  const BOOL bShowCaption = m_nLayout != xtpTabLayoutCompressed || pItem->IsSelected();
  const BOOL bHasIcon = pTabManager->DrawItemIcon(pDC, CPoint(0, 0), nullptr, FALSE, m_szImage) &&
                        pTabManager->DrawItemIcon(pDC, CPoint(0, 0), pItem, FALSE, m_szImage);
  const CString strCaption = pItem->GetCaption();

  if (!bVertical) {
    const int nTop = rc.top + nMarginNear, nBottom = rc.bottom - nMarginFar;
    int x = rc.left + bm.left + 6;
    if (bHasIcon && m_szImage.cx < rc.right - x) {
      pTabManager->DrawItemIcon(pDC, CPoint(x, nTop + (nBottom - nTop - m_szImage.cy) / 2), pItem, TRUE,
                                m_szImage);
      x += m_szImage.cx + 2;
    }
    const int nRight = rc.right - (bm.right + 2);
    if (bShowCaption && x < nRight) {
      UINT nFormat = DT_SINGLELINE | DT_VCENTER | (m_bNoPrefix ? DT_NOPREFIX : 0);
      DrawCaption(pDC, strCaption, CRect(x, nTop, nRight, nBottom), nFormat);
    }
  } else {
    const int nLeft = rc.left + nMarginNear, nRight = rc.right - nMarginFar;
    int y = rc.top + bm.left + 6;
    if (bHasIcon && m_szImage.cy < rc.bottom - y) {
      pTabManager->DrawItemIcon(pDC, CPoint(nLeft + (nRight - nLeft - m_szImage.cx) / 2, y), pItem, TRUE,
                                m_szImage);
      y += m_szImage.cy + 2;
    }
    const int nEnd = rc.bottom - bm.right - 2;
    if (bShowCaption && rc.bottom - y >= 8) {
      CString strText(strCaption);
      if (!m_bNoPrefix) StripMnemonics(strText);
      const int nTextHeight = pDC->GetTextExtent(_T("W"), 1).cy;
      const int nTextLeft =
          rc.right - (rc.Width() - nTextHeight - (nPosition == xtpTabPositionRight ? 1 : 0)) / 2;
      // Rotated text runs down from the rectangle's top-left corner; the ellipsis measures the
      // rectangle's width, so the width is made the room down the tab.
      const int nRoom = std::max(0, nEnd - y);
      DrawCaption(pDC, strText, CRect(nTextLeft, y, nTextLeft + nRoom, y + nRoom),
                  DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    }
  }

  if (pItem->IsSelected() && pTabManager->HasFocus()) DrawFocusRect(pDC, pItem, pItem->m_rcItem);
  return 0;
}

int CXTPTabPainter::DrawSingleButtonAs(int nPosition, CDC* pDC, CXTPTabManagerItem* pItem, CRect rc,
                                       BOOL bDraw) {
  const int nSavedPosition = m_nPosition, nSavedLayout = m_nLayout;
  m_nPosition = nPosition;
  if (m_nLayout == xtpTabLayoutRotated) m_nLayout = xtpTabLayoutAutoSize;
  const int nResult = DrawSingleButton(pDC, pItem, rc, bDraw);
  m_nPosition = nSavedPosition;
  m_nLayout = nSavedLayout;
  return nResult;
}

void CXTPTabPainter::DrawCaption(CDC* pDC, const CString& strCaption, CRect rcText, UINT nFormat) {
  if (!m_bOwnEllipsis) {
    pDC->DrawText(strCaption, rcText, nFormat | DT_END_ELLIPSIS);
  } else if (strCaption.Find(_T('\\')) >= 0) {
    pDC->DrawText(strCaption, rcText, nFormat | DT_PATH_ELLIPSIS);
  } else {
    pDC->DrawText(MiddleEllipsis(pDC, strCaption, rcText.Width()), rcText, nFormat);
  }
}

CString PASCAL CXTPTabPainter::MiddleEllipsis(CDC* pDC, const CString& strCaption, int nWidth) {
  const CString strDots(_T("..."));
  const int nDots = pDC->GetTextExtent(strDots).cx;
  const int nFull = pDC->GetTextExtent(strCaption).cx;
  if (nFull <= nWidth) return strCaption;
  if (nWidth <= nDots) return strDots;
  const int nLength = strCaption.GetLength();
  const int nRoom = nWidth - nDots;
  auto Pieces = [&](int d) { return strCaption.Left(d - d / 2) + strCaption.Right(d / 2); };
  auto Width = [&](int d) { return static_cast<int>(pDC->GetTextExtent(Pieces(d)).cx); };
  int d = nFull > 0 ? nRoom * nLength / nFull : 0;
  d = std::clamp(d, 0, nLength);
  while (d < nLength && Width(d) < nRoom) ++d;
  while (d > 0 && Width(d) > nRoom) --d;
  return strCaption.Left(d - d / 2) + strDots + strCaption.Right(d / 2);
}

void CXTPTabPainter::DrawFocusRect(CDC* pDC, CXTPTabManagerItem* /*pItem*/, CRect rc) {
  if (!m_bDrawFocusRect) return;
  rc.DeflateRect(3, 3);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->SetBkColor(RGB(255, 255, 255));
  pDC->DrawFocusRect(rc);
}

// ---- drawing the strip ------------------------------------------------------------------------------

void CXTPTabPainter::DrawTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  m_pShapeSet->DrawTabControl(pTabManager, pDC, rcControl);
}

void CXTPTabPainter::DrawTabControlEx(CXTPTabManager* pTabManager, CDC* pDC, CRect rc) {
  const int nPosition = pTabManager->GetPosition();
  const BOOL bVertical = IsVertical(nPosition);
  if (pTabManager->IsDrawClientFrame()) {
    pDC->Draw3dRect(rc, m_pColorScheme->m_clrFrame, m_pColorScheme->m_clrFrame);
    rc.DeflateRect(RotateMargin(CRect(1, 1, 1, 1), nPosition));
    pDC->Draw3dRect(rc, m_pColorScheme->m_clrFace, m_pColorScheme->m_clrFace);
    rc.DeflateRect(RotateMargin(CRect(1, 0, 1, 1), nPosition));
  }
  if (m_bFillBackground) pDC->FillSolidRect(rc, m_pColorScheme->m_clrFace);
  rc.DeflateRect(RotateMargin(m_rcControlMargin, nPosition));
  pDC->SetBkMode(TRANSPARENT);

  CRect rcHeader = m_bFillBackground ? m_pShapeSet->DrawTabControlBackground(pTabManager, pDC, rc)
                                     : m_pShapeSet->GetHeaderRect(rc, pTabManager);
  for (INT_PTR i = 0; i < pTabManager->m_arrNavigateButtons.GetSize(); ++i) {
    const CXTPTabScrollButton* pButton = pTabManager->m_arrNavigateButtons[i];
    if (!pButton->IsVisible()) continue;
    if (bVertical)
      rcHeader.bottom = pButton->GetRect().top;
    else
      rcHeader.right = pButton->GetRect().left;
    break;
  }

  const int nSavedDC = pDC->SaveDC();
  pDC->IntersectClipRect(rcHeader);
  m_pColorScheme->FillHeader(pDC, rcHeader, pTabManager);

  CXTPTabManagerItem* pSelected = pTabManager->m_pSelected;
  auto DrawTab = [&](CXTPTabManagerItem* pItem) {
    CRect rcVisible;
    if (!pItem->m_bVisible || !rcVisible.IntersectRect(pItem->m_rcItem, rcHeader)) return FALSE;
    m_pShapeSet->DrawSingleButton(pDC, pItem);
    return TRUE;
  };
  for (int nRow = pTabManager->GetRowCount() - 1; nRow >= 0; --nRow) {
    std::vector<CXTPTabManagerItem*> row;
    int nSelected = -1;
    for (int i = 0; i < pTabManager->GetItemCount(); ++i) {
      CXTPTabManagerItem* pItem = pTabManager->m_arrItems[i];
      if (pItem->m_nItemRow != nRow) continue;
      if (pItem == pSelected) nSelected = static_cast<int>(row.size());
      row.push_back(pItem);
    }
    const int nCount = static_cast<int>(row.size());
    BOOL bSelectedDrawn = FALSE;
    if (m_pShapeSet->IsLeftToRight() && nSelected >= 0) {
      for (int i = 0; i < nSelected; ++i) DrawTab(row[i]);
      for (int i = nCount - 1; i >= nSelected; --i) {
        const BOOL bDrawn = DrawTab(row[i]);
        if (i == nSelected) bSelectedDrawn = bDrawn;
      }
    } else if (m_pShapeSet->IsLeftToRight()) {
      for (int i = 0; i < nCount; ++i) DrawTab(row[i]);
    } else {
      for (int i = nCount - 1; i >= 0; --i) {
        const BOOL bDrawn = DrawTab(row[i]);
        if (i == nSelected) bSelectedDrawn = bDrawn;
      }
    }
    // The selected tab lies on top of its neighbours.
    if (bSelectedDrawn) m_pShapeSet->DrawSingleButton(pDC, pSelected);
  }
  pDC->RestoreDC(nSavedDC);

  for (INT_PTR i = pTabManager->m_arrNavigateButtons.GetSize() - 1; i >= 0; --i)
    pTabManager->m_arrNavigateButtons[i]->Draw(pDC);
}
