// The cell grid: its size, drawing, selection by the mouse, growth past its edge and stored sizes.
#include "ControlSelector.h"

#include "BarTheme.h"
#include "CommandBar.h"

IMPLEMENT_SERIAL(CXTPControlSelector, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControlSelector::CXTPControlSelector() { m_controlType = xtpControlButton; }

CSize CXTPControlSelector::GetSize(CDC*) {
  return CSize(m_szCurrent.cx * m_szItem.cx, m_szCurrent.cy * m_szItem.cy);
}

void CXTPControlSelector::DrawItem(CDC*, CRect, COLORREF) {}

void CXTPControlSelector::Draw(CDC* pDC) {
  CXTPBarTheme* pTheme = GetPaintManager();
  for (int i = 0; i < m_szCurrent.cx; ++i) {
    for (int j = 0; j < m_szCurrent.cy; ++j) {
      CRect rcCell(m_rcControl.left + i * m_szItem.cx, m_rcControl.top + j * m_szItem.cy,
                   m_rcControl.left + (i + 1) * m_szItem.cx, m_rcControl.top + (j + 1) * m_szItem.cy);
      rcCell.DeflateRect(1, 1);
      const BOOL bSelected = i < m_szSelected.cx && j < m_szSelected.cy;
      pDC->FillSolidRect(rcCell, pTheme->GetColor(bSelected ? 13 : 5));
      const COLORREF clrText = pTheme->GetColor(bSelected ? 14 : 46);
      pDC->Draw3dRect(rcCell, pTheme->GetColor(43), pTheme->GetColor(43));
      DrawItem(pDC, rcCell, clrText);
    }
  }
}

void CXTPControlSelector::SetSelection(int nColumns, int nRows, BOOL bForce) {
  const CSize sz(nColumns, nRows);
  if (sz == m_szSelected && !bForce) return;
  m_szSelected = sz;
  RedrawParent();
  NotifySite(XTP_SLN_SELCHANGE);
}

void CXTPControlSelector::OnMouseMove(CPoint point) {
  int nColumns = 0, nRows = 0;
  for (int i = 0; i < m_szCurrent.cx; ++i) {
    if (m_rcControl.left + i * m_szItem.cx < point.x) nColumns = i + 1;
  }
  for (int j = 0; j < m_szCurrent.cy; ++j) {
    if (m_rcControl.top + j * m_szItem.cy < point.y) nRows = j + 1;
  }
  SetSelection(nColumns, nRows, FALSE);
}

BOOL CXTPControlSelector::OnSetSelected(int bSelected) {
  if (!bSelected && m_bSelected && ::GetKeyState(VK_LBUTTON) < 0 && m_pParent != nullptr &&
      m_pParent->GetSafeHwnd() != nullptr) {
    CPoint pt;
    ::GetCursorPos(&pt);
    m_pParent->ScreenToClient(&pt);
    CSize szGrid = m_szCurrent;
    if (pt.x >= m_rcControl.right)
      szGrid.cx = static_cast<LONG>(std::min(static_cast<int>(m_szItemsMax.cx),
                                             static_cast<int>((pt.x - m_rcControl.left) / m_szItem.cx + 1)));
    if (pt.y >= m_rcControl.bottom)
      szGrid.cy = static_cast<LONG>(std::min(static_cast<int>(m_szItemsMax.cy),
                                             static_cast<int>((pt.y - m_rcControl.top) / m_szItem.cy + 1)));
    if (szGrid == m_szCurrent) {
      SetSelection(0, 0, TRUE);
    } else {
      m_szCurrent = szGrid;
      SetSelection(m_szSelected.cx, m_szSelected.cy, TRUE);
      m_bGrowing = TRUE;
      m_pParent->OnRecalcLayout();
      m_bGrowing = FALSE;
      OnMouseMove(pt);
      // Still over the control after it grew: it stays selected.
      if (m_rcControl.PtInRect(pt)) return FALSE;
    }
  }
  return CXTPControl::OnSetSelected(bSelected);
}

void CXTPControlSelector::OnLButtonUp(CPoint) {
  if (m_szSelected.cx <= 0 || m_szSelected.cy <= 0) return;
  m_szChosen = m_szSelected;
  OnExecute();
}

void CXTPControlSelector::OnCalcDynamicSize(DWORD) {
  if (!m_bGrowing) {
    m_szSelected = CSize(0, 0);
    m_szCurrent = m_szItemsCount;
  }
  SetSelection(m_szSelected.cx, m_szSelected.cy, TRUE);
}

void CXTPControlSelector::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
  CXTPControlSelector* pSelector = DYNAMIC_DOWNCAST(CXTPControlSelector, pControl);
  if (pSelector == nullptr || pSelector == this) return;
  m_szItemsCount = m_szCurrent = pSelector->m_szItemsCount;
  m_szItemsMax = pSelector->m_szItemsMax;
  m_szItem = pSelector->m_szItem;
}

void CXTPControlSelector::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControl::DoPropExchange(pPX);
  SIZE szCount = m_szItemsCount, szMax = m_szItemsMax, szItem = m_szItem;
  PropExchangeSize(pPX, _T("ItemsCount"), szCount, 5, 4);
  PropExchangeSize(pPX, _T("ItemsMax"), szMax, 12, 12);
  PropExchangeSize(pPX, _T("ItemSize"), szItem, 28, 28);
  if (pPX->IsLoading()) {
    // Sizes no program wrote are kept within what a bar can show.
    auto clamp = [](SIZE sz, int nMin, int nMax) {
      return CSize(std::max(nMin, std::min(nMax, static_cast<int>(sz.cx))),
                   std::max(nMin, std::min(nMax, static_cast<int>(sz.cy))));
    };
    m_szItemsMax = clamp(szMax, 1, 64);
    m_szItemsCount = m_szCurrent = clamp(szCount, 1, 64);
    m_szItem = clamp(szItem, 4, 256);
  }
}
