// CGridCtrl: the grid's side of in-place editing: starting an edit, taking or refusing the edited
// text, and changing cell text with the owner's consent.
#include "GridCtrl.h"

void CGridCtrl::OnEditCell(int nRow, int nCol, CPoint point, UINT nChar) {
  m_TitleTip.Hide();
  if (!IsValid(nRow, nCol) || !IsCellEditable(nRow, nCol)) return;

  EnsureVisible(nRow, nCol);
  if (!IsCellVisible(nRow, nCol)) return;
  CRect rect;
  if (!GetCellRect(nRow, nCol, rect)) return;
  if (SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT) < 0) return;

  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell != nullptr) pCell->Edit(nRow, nCol, rect, point, IDC_INPLACE_CONTROL, nChar);
}

void CGridCtrl::EndEditing() {
  const CGridCellId cell = GetFocusCell();
  if (!IsValid(cell)) return;
  CGridCellBase* pCell = GetCell(cell.row, cell.col);
  if (pCell != nullptr) pCell->EndEdit();
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell == nullptr) return;
  const CString strCurrentText = pCell->GetText();
  if (strCurrentText != str) {
    pCell->SetText(str);
    // A refused edit leaves the cell as it was, unmarked.
    if (ValidateEdit(nRow, nCol, str) && SendMessageToParent(nRow, nCol, GVN_ENDLABELEDIT) >= 0) {
      SetModified(TRUE, nRow, nCol);
      RedrawCell(nRow, nCol);
    } else {
      pCell->SetText(strCurrentText);
    }
  }
  pCell->OnEndEdit();
}

BOOL CGridCtrl::ValidateEdit(int nRow, int nCol, LPCTSTR str) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell == nullptr) return TRUE;
  return pCell->ValidateEdit(str);
}

BOOL CGridCtrl::EditTextWithNotifications(int nRow, int nCol, LPCTSTR str) {
  if (!IsValid(nRow, nCol) || !IsCellEditable(nRow, nCol)) return FALSE;
  if (SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT) < 0) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  const CString strCurrentText = pCell->GetText();
  if (strCurrentText == str) return TRUE;
  pCell->SetText(str);
  if (ValidateEdit(nRow, nCol, str) && SendMessageToParent(nRow, nCol, GVN_ENDLABELEDIT) >= 0) {
    SetModified(TRUE, nRow, nCol);
    RedrawCell(nRow, nCol);
    return TRUE;
  }
  pCell->SetText(strCurrentText);
  return FALSE;
}

void CGridCtrl::CutSelectedText() {
  if (!IsEditable()) return;
  // The cells are gathered first: the edits below change the selection map's entries.
  CArray<CGridCellId, const CGridCellId&> cells;
  POSITION pos = m_SelectedCellMap.GetStartPosition();
  while (pos != nullptr) {
    ULONGLONG key;
    CGridCellId cell;
    m_SelectedCellMap.GetNextAssoc(pos, key, cell);
    cells.Add(cell);
  }
  for (INT_PTR i = 0; i < cells.GetSize(); i++) EditTextWithNotifications(cells[i].row, cells[i].col, _T(""));
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  // The editor may end while the grid is being destroyed.
  if (!::IsWindow(m_hWnd)) return;
  const GridItem& item = reinterpret_cast<GV_DISPINFO*>(pNMHDR)->item;
  OnEndEditCell(item.row, item.col, item.strText);
  switch (item.lParam) {
    case VK_TAB:
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END:
      OnKeyDown(static_cast<UINT>(item.lParam), 0, 0);
      OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), static_cast<UINT>(item.lParam));
      break;
    default:
      break;
  }
}
