// CGridCtrl: header clicks, sorting the rows by one column, and virtual mode, where every cell is
// asked for when it is needed instead of being stored.
#include "GridCtrl.h"

namespace {

// UTF-16 code units compare in code-point order once the surrogates (D800-DFFF) are moved above
// the rest of the basic plane (E000-FFFF).
int CodePointOrder(wchar_t ch) {
  const int unit = static_cast<unsigned short>(ch);
  if (unit >= 0xE000) return unit - 0x800;
  if (unit >= 0xD800) return unit + 0x2000;
  return unit;
}

}  // namespace

// ---- Cells in both modes ------------------------------------------------------------------------

CGridCellBase* CGridCtrl::GetCell(int nRow, int nCol) const {
  if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return nullptr;

  if (GetVirtualMode()) {
    // One record and one cell serve every request; each request overwrites them.
    static GV_DISPINFO gvdi;
    static CGridCell cell;

    GridItem& item = gvdi.item;
    item.row = nRow;
    item.col = nCol;
    item.mask = 0xFFFFFFFF;
    item.nState = 0;
    CGridCellId selected;
    if (m_SelectedCellMap.Lookup(SelectionKey(nRow, nCol), selected)) item.nState |= GVIS_SELECTED;
    if (nRow < GetFixedRowCount()) item.nState |= GVIS_FIXED | GVIS_FIXEDROW;
    if (nCol < GetFixedColumnCount()) item.nState |= GVIS_FIXED | GVIS_FIXEDCOL;
    if (m_idCurrentCell == CGridCellId(nRow, nCol)) item.nState |= GVIS_FOCUSED;

    const CGridDefaultCell* pDefaultCell =
        GetDefaultCell(nRow < GetFixedRowCount(), nCol < GetFixedColumnCount());
    item.nFormat = pDefaultCell->GetFormat();
    item.iImage = pDefaultCell->GetImage();
    item.crBkClr = pDefaultCell->GetBackColour();
    item.crFgClr = pDefaultCell->GetTextColour();
    item.lParam = pDefaultCell->GetData();
    const LOGFONT* plf = pDefaultCell->GetFont();
    item.lfFont = plf != nullptr ? *plf : LOGFONT();
    item.nMargin = pDefaultCell->GetMargin();
    item.strText.Empty();

    if (m_pfnCallback != nullptr) {
      m_pfnCallback(&gvdi, m_lParam);
    } else {
      SendDisplayRequestToParent(&gvdi);
    }

    cell.SetState(item.nState);
    cell.SetFormat(item.nFormat);
    cell.SetImage(item.iImage);
    cell.SetBackColour(item.crBkClr);
    cell.SetTextColour(item.crFgClr);
    cell.SetData(item.lParam);
    cell.SetFont(&item.lfFont);
    cell.SetMargin(item.nMargin);
    cell.SetText(item.strText);
    cell.SetGrid(const_cast<CGridCtrl*>(this));
    return &cell;
  }

  if (nRow >= m_RowData.GetSize()) return nullptr;
  GRID_ROW* pRow = m_RowData[nRow];
  if (pRow == nullptr || nCol >= pRow->GetSize()) return nullptr;
  return pRow->GetAt(nCol);
}

void CGridCtrl::SetVirtualMode(BOOL bVirtual) {
  DeleteAllItems();
  m_bVirtualMode = bVirtual;
}

// ---- Header clicks --------------------------------------------------------------------------------

void CGridCtrl::OnFixedRowClick(CGridCellId& cell) {
  if (!IsValid(cell)) return;
  if (GetHeaderSort()) {
    CWaitCursor waiter;
    // A second click on the same header reverses the order.
    if (cell.col == GetSortColumn()) {
      SortItems(cell.col, !GetSortAscending());
    } else {
      SortItems(cell.col, TRUE);
    }
    Invalidate();
  }
  if (GetFixedColumnSelection()) {
    m_MouseMode = cell.col < GetFixedColumnCount() ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
    OnSelecting(cell);
  }
}

void CGridCtrl::OnFixedColumnClick(CGridCellId& cell) {
  if (!IsValid(cell)) return;
  if (GetFixedRowSelection()) {
    m_MouseMode = cell.row < GetFixedRowCount() ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    OnSelecting(cell);
  }
}

// ---- Sorting ----------------------------------------------------------------------------------------

void CGridCtrl::SetSortColumn(int nCol) {
  // The header cells draw the arrow; both the old and the new one must repaint.
  if (m_nSortColumn >= 0) InvalidateCellRect(0, m_nSortColumn);
  m_nSortColumn = nCol;
  if (nCol >= 0) InvalidateCellRect(0, nCol);
}

int CALLBACK CGridCtrl::pfnCellTextCompare(const CGridCellBase* pCell1, const CGridCellBase* pCell2,
                                           LPARAM /*lParamSort*/) {
  if (pCell1 == nullptr || pCell2 == nullptr) return 0;
  LPCTSTR s1 = pCell1->GetText();
  LPCTSTR s2 = pCell2->GetText();
  for (;; ++s1, ++s2) {
    if (*s1 != *s2) return CodePointOrder(*s1) < CodePointOrder(*s2) ? -1 : 1;
    if (*s1 == 0) return 0;
  }
}

BOOL CGridCtrl::SortItems(int nCol, BOOL bAscending, LPARAM data) {
  return SortItems(m_pfnCompare != nullptr ? m_pfnCompare : pfnCellTextCompare, nCol, bAscending, data);
}

BOOL CGridCtrl::SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data) {
  if (pfnCompare == nullptr || nCol < 0 || nCol >= GetColumnCount()) return FALSE;
  SetSortColumn(nCol);
  SetSortAscending(bAscending);
  ResetSelectedRange();
  SetFocusCell(-1, -1);
  return SortItems(pfnCompare, nCol, bAscending, data, GetFixedRowCount(), -1);
}

BOOL CGridCtrl::SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low,
                          int high) {
  if (nCol >= GetColumnCount()) return FALSE;
  if (high == -1) high = GetRowCount() - 1;
  int lo = low;
  int hi = high;
  if (hi <= lo) return FALSE;

  // The pivot is a cell object: it travels with its row while rows are swapped.
  const CGridCellBase* pMidCell = GetCell((lo + hi) / 2, nCol);
  while (lo <= hi) {
    if (bAscending) {
      while (lo < high && pfnCompare(GetCell(lo, nCol), pMidCell, data) < 0) ++lo;
      while (hi > low && pfnCompare(GetCell(hi, nCol), pMidCell, data) > 0) --hi;
    } else {
      while (lo < high && pfnCompare(GetCell(lo, nCol), pMidCell, data) > 0) ++lo;
      while (hi > low && pfnCompare(GetCell(hi, nCol), pMidCell, data) < 0) --hi;
    }
    if (lo <= hi) {
      if (pfnCompare(GetCell(lo, nCol), GetCell(hi, nCol), data) != 0) {
        if (!GetVirtualMode()) {
          for (int col = 0; col < GetColumnCount(); col++) {
            CGridCellBase* pCell = GetCell(lo, col);
            SetCell(lo, col, GetCell(hi, col));
            SetCell(hi, col, pCell);
          }
        }
        const UINT nRowHeight = m_arRowHeights[lo];
        m_arRowHeights[lo] = m_arRowHeights[hi];
        m_arRowHeights[hi] = nRowHeight;
      }
      ++lo;
      --hi;
    }
  }
  if (low < hi) SortItems(pfnCompare, nCol, bAscending, data, low, hi);
  if (lo < high) SortItems(pfnCompare, nCol, bAscending, data, lo, high);
  return TRUE;
}
