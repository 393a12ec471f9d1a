// CGridCtrl: the focus cell and the selection, and what the mouse and the keyboard do: selecting
// cells, rows and columns, resizing columns and rows by their dividers, the drag-select timer,
// clicks and double clicks, and keyboard navigation.
#include "GridCtrl.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace {

BOOL IsShiftPressed() { return (::GetKeyState(VK_SHIFT) & 0x8000) != 0; }
BOOL IsCtrlPressed() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

void SetStandardCursor(LPCTSTR lpszCursor) { ::SetCursor(::LoadCursor(nullptr, lpszCursor)); }

}  // namespace

// ---- Focus and selection --------------------------------------------------------------------------

void CGridCtrl::SetFocusCell(int nRow, int nCol) {
  if (nRow == m_idCurrentCell.row && nCol == m_idCurrentCell.col) return;
  // The focus never rests on a fixed cell.
  if (nRow != -1 && nRow < GetFixedRowCount()) nRow = GetFixedRowCount();
  if (nCol != -1 && nCol < GetFixedColumnCount()) nCol = GetFixedColumnCount();

  const CGridCellId idPrev = m_idCurrentCell;
  m_idCurrentCell = CGridCellId(nRow, nCol);

  if (IsValid(idPrev)) {
    SetItemState(idPrev.row, idPrev.col, GetItemState(idPrev.row, idPrev.col) & ~GVIS_FOCUSED);
    RedrawCell(idPrev);
    if (GetTrackFocusCell() && idPrev.col != m_idCurrentCell.col) {
      for (int row = 0; row < m_nFixedRows; row++) RedrawCell(row, idPrev.col);
    }
    if (GetTrackFocusCell() && idPrev.row != m_idCurrentCell.row) {
      for (int col = 0; col < m_nFixedCols; col++) RedrawCell(idPrev.row, col);
    }
  }
  if (IsValid(m_idCurrentCell)) {
    SetItemState(m_idCurrentCell.row, m_idCurrentCell.col,
                 GetItemState(m_idCurrentCell.row, m_idCurrentCell.col) | GVIS_FOCUSED);
    RedrawCell(m_idCurrentCell);
    if (GetTrackFocusCell() && idPrev.col != m_idCurrentCell.col) {
      for (int row = 0; row < m_nFixedRows; row++) RedrawCell(row, m_idCurrentCell.col);
    }
    if (GetTrackFocusCell() && idPrev.row != m_idCurrentCell.row) {
      for (int col = 0; col < m_nFixedCols; col++) RedrawCell(m_idCurrentCell.row, col);
    }
  }
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint,
                                 BOOL bSelectCells) {
  if (!m_bEnableSelection) return;
  CWaitCursor wait;

  CDC* pDC = nullptr;
  if (bForceRepaint && ::IsWindow(m_hWnd)) pDC = GetDC();
  auto repaint = [&](int row, int col) {
    if (!IsCellVisible(row, col)) return;
    if (pDC != nullptr) {
      RedrawCell(row, col, pDC);
    } else {
      InvalidateCellRect(row, col);
    }
  };

  // Fixed cells are never selected.
  if (nMinRow >= 0 && nMinRow < GetFixedRowCount()) nMinRow = GetFixedRowCount();
  if (nMaxRow >= 0 && nMaxRow < GetFixedRowCount()) nMaxRow = GetFixedRowCount();
  if (nMinCol >= 0 && nMinCol < GetFixedColumnCount()) nMinCol = GetFixedColumnCount();
  if (nMaxCol >= 0 && nMaxCol < GetFixedColumnCount()) nMaxCol = GetFixedColumnCount();
  const CGridCellRange newRange(nMinRow, nMinCol, nMaxRow, nMaxCol);

  if (bSelectCells) {
    POSITION pos = m_SelectedCellMap.GetStartPosition();
    while (pos != nullptr) {
      ULONGLONG key;
      CGridCellId cell;
      m_SelectedCellMap.GetNextAssoc(pos, key, cell);
      if (IsValid(cell)) {
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GVIS_SELECTED);
        if (!newRange.InRange(cell)) repaint(cell.row, cell.col);
      } else {
        m_SelectedCellMap.RemoveKey(key);
      }
    }
    // Cells kept by a Ctrl selection join the new one.
    if (!(GetSingleRowSelection() && GetListMode()) && nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 &&
        nMaxCol >= 0) {
      pos = m_PrevSelectedCellMap.GetStartPosition();
      while (pos != nullptr) {
        ULONGLONG key;
        CGridCellId cell;
        m_PrevSelectedCellMap.GetNextAssoc(pos, key, cell);
        if (!IsValid(cell)) continue;
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_SELECTED);
        repaint(cell.row, cell.col);
      }
    }
  }

  if (nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0 && nMaxRow < GetRowCount() &&
      nMaxCol < GetColumnCount() && nMinCol <= nMaxCol) {
    for (int row = nMinRow; row <= nMaxRow; row++) {
      for (int col = nMinCol; col <= nMaxCol; col++) {
        const BOOL bSelected = IsCellSelected(row, col);
        if (bSelectCells == bSelected) continue;
        const UINT nState = GetItemState(row, col);
        SetItemState(row, col, bSelectCells ? nState | GVIS_SELECTED : nState & ~GVIS_SELECTED);
        repaint(row, col);
      }
    }
  }
  if (pDC != nullptr) ReleaseDC(pDC);
}

void CGridCtrl::ResetSelectedRange() {
  m_PrevSelectedCellMap.RemoveAll();
  SetSelectedRange(-1, -1, -1, -1);
  SetFocusCell(-1, -1);
}

CGridCellRange CGridCtrl::GetSelectedCellRange() const {
  CGridCellRange range(GetRowCount(), GetColumnCount(), -1, -1);
  POSITION pos = m_SelectedCellMap.GetStartPosition();
  while (pos != nullptr) {
    ULONGLONG key;
    CGridCellId cell;
    m_SelectedCellMap.GetNextAssoc(pos, key, cell);
    range.SetMinRow(std::min(range.GetMinRow(), cell.row));
    range.SetMinCol(std::min(range.GetMinCol(), cell.col));
    range.SetMaxRow(std::max(range.GetMaxRow(), cell.row));
    range.SetMaxCol(std::max(range.GetMaxCol(), cell.col));
  }
  return range;
}

void CGridCtrl::SelectAllCells() {
  if (!m_bEnableSelection) return;
  SetSelectedRange(m_nFixedRows, m_nFixedCols, GetRowCount() - 1, GetColumnCount() - 1);
}

void CGridCtrl::SelectColumns(CGridCellId currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
  if (!m_bEnableSelection) return;
  if (currentCell.col < m_nFixedCols || !IsValid(currentCell)) return;
  if (GetSingleColSelection()) {
    SetSelectedRange(GetFixedRowCount(), currentCell.col, GetRowCount() - 1, currentCell.col, bForceRedraw,
                     bSelectCells);
  } else {
    SetSelectedRange(GetFixedRowCount(), std::min(m_SelectionStartCell.col, currentCell.col),
                     GetRowCount() - 1, std::max(m_SelectionStartCell.col, currentCell.col), bForceRedraw,
                     bSelectCells);
  }
}

void CGridCtrl::SelectRows(CGridCellId currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
  if (!m_bEnableSelection) return;
  if (currentCell.row < m_nFixedRows || !IsValid(currentCell)) return;
  if (GetSingleRowSelection() && GetListMode()) {
    SetSelectedRange(currentCell.row, GetFixedColumnCount(), currentCell.row, GetColumnCount() - 1,
                     bForceRedraw, bSelectCells);
  } else {
    SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row), GetFixedColumnCount(),
                     std::max(m_SelectionStartCell.row, currentCell.row), GetColumnCount() - 1, bForceRedraw,
                     bSelectCells);
  }
}

void CGridCtrl::SelectCells(CGridCellId currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
  if (!m_bEnableSelection) return;
  const int row = currentCell.row;
  const int col = currentCell.col;
  if (row < m_nFixedRows || col < m_nFixedCols || !IsValid(currentCell)) return;
  SetSelectedRange(std::min(m_SelectionStartCell.row, row), std::min(m_SelectionStartCell.col, col),
                   std::max(m_SelectionStartCell.row, row), std::max(m_SelectionStartCell.col, col),
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::OnSelecting(const CGridCellId& currentCell) {
  if (!m_bEnableSelection) return;
  switch (m_MouseMode) {
    case MOUSE_SELECT_ALL:
      SelectAllCells();
      break;
    case MOUSE_SELECT_COL:
      SelectColumns(currentCell, FALSE);
      break;
    case MOUSE_SELECT_ROW:
      SelectRows(currentCell, FALSE);
      break;
    case MOUSE_SELECT_CELLS:
      SelectCells(currentCell, FALSE);
      break;
    default:
      break;
  }
}

void CGridCtrl::OnEditSelectAll() {
  SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GVN_SELCHANGING);
  SelectAllCells();
  SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_SELCHANGED);
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableSelection); }

// ---- Mouse ------------------------------------------------------------------------------------------

CPoint CGridCtrl::GetPointClicked(int nRow, int nCol, const CPoint& point) {
  CPoint PointCellOrigin;
  if (!GetCellOrigin(nRow, nCol, &PointCellOrigin)) return CPoint(0, 0);
  return point - PointCellOrigin;
}

BOOL CGridCtrl::MouseOverColumnResizeArea(CPoint point) {
  if (point.y >= GetFixedRowHeight()) return FALSE;
  const CGridCellId idCurrentCell = GetCellFromPt(point);
  CPoint start;
  if (!GetCellOrigin(idCurrentCell, &start)) return FALSE;
  const int endx = start.x + GetColumnWidth(idCurrentCell.col);
  return (point.x - start.x < m_nResizeCaptureRange && idCurrentCell.col != 0) ||
         endx - point.x < m_nResizeCaptureRange;
}

BOOL CGridCtrl::MouseOverRowResizeArea(CPoint point) {
  if (point.x >= GetFixedColumnWidth()) return FALSE;
  const CGridCellId idCurrentCell = GetCellFromPt(point);
  CPoint start;
  if (!GetCellOrigin(idCurrentCell, &start)) return FALSE;
  const int endy = start.y + GetRowHeight(idCurrentCell.row);
  return (point.y - start.y < m_nResizeCaptureRange && idCurrentCell.row != 0) ||
         endy - point.y < m_nResizeCaptureRange;
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest != HTCLIENT) return CWnd::OnSetCursor(pWnd, nHitTest, message);
  switch (m_MouseMode) {
    case MOUSE_OVER_COL_DIVIDE:
      SetStandardCursor(IDC_SIZEWE);
      break;
    case MOUSE_OVER_ROW_DIVIDE:
      SetStandardCursor(IDC_SIZENS);
      break;
    case MOUSE_DRAGGING:
      break;
    default: {
      if (!GetVirtualMode()) {
        const DWORD dwPos = ::GetMessagePos();
        CPoint pt(GET_X_LPARAM(dwPos), GET_Y_LPARAM(dwPos));
        ScreenToClient(&pt);
        const CGridCellId cell = GetCellFromPt(pt);
        if (IsValid(cell)) {
          CGridCellBase* pCell = GetCell(cell.row, cell.col);
          if (pCell != nullptr) return pCell->OnSetCursor();
        }
      }
      SetStandardCursor(IDC_ARROW);
      break;
    }
  }
  return TRUE;
}

void CGridCtrl::OnMouseMove(UINT /*nFlags*/, CPoint point) {
  CRect rect;
  GetClientRect(rect);
  if (m_MouseMode != MOUSE_DRAGGING && !rect.PtInRect(point)) return;

  if (!m_bLMouseButtonDown || m_MouseMode == MOUSE_NOTHING) {
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
      if (m_MouseMode != MOUSE_OVER_COL_DIVIDE) {
        SetStandardCursor(IDC_SIZEWE);
        m_MouseMode = MOUSE_OVER_COL_DIVIDE;
      }
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
      if (m_MouseMode != MOUSE_OVER_ROW_DIVIDE) {
        SetStandardCursor(IDC_SIZENS);
        m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
      }
    } else if (m_MouseMode != MOUSE_NOTHING) {
      SetStandardCursor(IDC_ARROW);
      m_MouseMode = MOUSE_NOTHING;
    }

    if (m_MouseMode == MOUSE_NOTHING && (!GetVirtualMode() || m_bTitleTips)) {
      const CGridCellId idCurrentCell = GetCellFromPt(point);
      CGridCellBase* pCell = GetCell(idCurrentCell.row, idCurrentCell.col);
      if (pCell != nullptr) pCell->OnMouseOver();
      // Only a real move shows a tip: the move the system makes up when the tip lets the mouse go
      // would bring back a tip just hidden by a key.
      if (m_bTitleTips && pCell != nullptr && point != m_LastMousePoint) {
        LPCTSTR szTipText = pCell->GetTipText();
        CRect TextRect, CellRect;
        if (!m_bRMouseButtonDown && szTipText != nullptr && szTipText[0] != 0 && !pCell->IsEditing() &&
            GetCellRect(idCurrentCell.row, idCurrentCell.col, &TextRect) &&
            pCell->GetTipTextRect(&TextRect) && GetCellRect(idCurrentCell.row, idCurrentCell.col, CellRect)) {
          m_TitleTip.SetParentWnd(this);
          // The text is copied: in virtual mode the cell is refilled by the next request.
          const CString strTip = szTipText;
          m_TitleTip.Show(TextRect, strTip, 0, CellRect, pCell->GetFont(), GetTitleTipTextColour(),
                          GetTitleTipBackColour());
        }
      }
    }
    m_LastMousePoint = point;
    return;
  }

  if (!IsValid(m_LeftClickDownCell)) {
    m_LastMousePoint = point;
    return;
  }

  switch (m_MouseMode) {
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS: {
      const CGridCellId idCurrentCell = GetCellFromPt(point);
      if (!IsValid(idCurrentCell)) return;
      if (idCurrentCell != GetFocusCell()) {
        OnSelecting(idCurrentCell);
        if ((idCurrentCell.row >= m_nFixedRows && idCurrentCell.col >= m_nFixedCols) ||
            m_MouseMode == MOUSE_SELECT_COL || m_MouseMode == MOUSE_SELECT_ROW) {
          SetFocusCell(idCurrentCell);
        }
      }
      break;
    }
    case MOUSE_SIZING_COL: {
      CDC* pDC = GetDC();
      if (pDC == nullptr) break;
      CRect oldInvertedRect(m_LastMousePoint.x, rect.top, m_LastMousePoint.x + 2, rect.bottom);
      pDC->InvertRect(&oldInvertedRect);
      CRect newInvertedRect(point.x, rect.top, point.x + 2, rect.bottom);
      pDC->InvertRect(&newInvertedRect);
      ReleaseDC(pDC);
      break;
    }
    case MOUSE_SIZING_ROW: {
      CDC* pDC = GetDC();
      if (pDC == nullptr) break;
      CRect oldInvertedRect(rect.left, m_LastMousePoint.y, rect.right, m_LastMousePoint.y + 2);
      pDC->InvertRect(&oldInvertedRect);
      CRect newInvertedRect(rect.left, point.y, rect.right, point.y + 2);
      pDC->InvertRect(&newInvertedRect);
      ReleaseDC(pDC);
      break;
    }
    case MOUSE_PREPARE_DRAG: {
      // The system makes up moves where the mouse has not gone (when the capture changes); only a
      // move past the drag threshold starts a drag, so a plain click on a selection stays a click.
      const CSize drift = point - m_LeftClickDownPoint;
      if (std::abs(drift.cx) <= ::GetSystemMetrics(SM_CXDRAG) &&
          std::abs(drift.cy) <= ::GetSystemMetrics(SM_CYDRAG)) {
        break;
      }
      m_MouseMode = MOUSE_DRAGGING;
      OnBeginDrag();
      break;
    }
    default:
      break;
  }
  m_LastMousePoint = point;
}

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  SetFocus();
  m_LeftClickDownPoint = point;
  m_bLMouseButtonDown = TRUE;
  m_LeftClickDownCell = GetCellFromPt(point);
  if (!IsValid(m_LeftClickDownCell)) return;

  if (nFlags & MK_SHIFT) {
    if (m_SelectionStartCell.row < 0 || m_SelectionStartCell.col < 0) m_SelectionStartCell = m_idCurrentCell;
  } else {
    m_SelectionStartCell = m_LeftClickDownCell;
  }

  EndEditing();
  CGridCellBase* pCell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col);
  if (pCell != nullptr) {
    pCell->OnClickDown(GetPointClicked(m_LeftClickDownCell.row, m_LeftClickDownCell.col, point));
  }

  BOOL bInTextArea = FALSE;
  if (pCell != nullptr) {
    CRect rectCell;
    if (GetCellRect(m_LeftClickDownCell.row, m_LeftClickDownCell.col, rectCell) &&
        pCell->GetTextRect(rectCell)) {
      bInTextArea = rectCell.PtInRect(point);
    }
  }

  if (m_LeftClickDownCell == m_idCurrentCell && !(nFlags & MK_CONTROL) && bInTextArea &&
      IsCellEditable(m_LeftClickDownCell)) {
    m_MouseMode = MOUSE_PREPARE_EDIT;
    return;
  }
  if (IsCellSelected(m_LeftClickDownCell)) {
    SetFocusCell(m_LeftClickDownCell);
    if (nFlags & MK_CONTROL) {
      if (GetListMode()) {
        SelectRows(m_LeftClickDownCell, TRUE, FALSE);
      } else {
        SelectCells(m_LeftClickDownCell, TRUE, FALSE);
      }
      return;
    }
    if (m_bAllowDragAndDrop) m_MouseMode = MOUSE_PREPARE_DRAG;
  } else if (m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE) {
    if (m_LeftClickDownCell.row >= GetFixedRowCount() && m_LeftClickDownCell.col >= GetFixedColumnCount()) {
      SetFocusCell(m_LeftClickDownCell);
    } else {
      SetFocusCell(-1, -1);
    }
  }

  SetCapture();

  if (m_MouseMode == MOUSE_NOTHING) {
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
      SetStandardCursor(IDC_SIZEWE);
      m_MouseMode = MOUSE_OVER_COL_DIVIDE;
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
      SetStandardCursor(IDC_SIZENS);
      m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
    }
  }

  CRect rectClient;
  GetClientRect(rectClient);
  if (m_MouseMode == MOUSE_OVER_COL_DIVIDE) {
    m_MouseMode = MOUSE_SIZING_COL;
    const int nLastCol = GetColumnCount() - 1;
    const BOOL bNarrowLast = GetColumnWidth(nLastCol) < m_nResizeCaptureRange;
    if (bNarrowLast) {
      CRect VisRect;
      GetVisibleNonFixedCellRange(VisRect);
      if (std::abs(point.x - VisRect.right) < m_nResizeCaptureRange) m_LeftClickDownCell.col = nLastCol;
    }
    CPoint start;
    if (!GetCellOrigin(0, m_LeftClickDownCell.col, &start)) {
      m_MouseMode = MOUSE_NOTHING;
      return;
    }
    // Near the column's left edge the divider belongs to the column before it.
    if (point.x - start.x < m_nResizeCaptureRange && (m_LeftClickDownCell.col < nLastCol || !bNarrowLast)) {
      m_LeftClickDownCell.col--;
    }
    // Hidden columns stay hidden unless they may be widened again.
    if (!m_bHiddenColUnhide) {
      while (m_LeftClickDownCell.col >= 0 && GetColumnWidth(m_LeftClickDownCell.col) < 1) {
        m_LeftClickDownCell.col--;
      }
    }
    if (!GetCellOrigin(0, m_LeftClickDownCell.col, &start)) {
      m_MouseMode = MOUSE_NOTHING;
      return;
    }
    CDC* pDC = GetDC();
    if (pDC != nullptr) {
      CRect invertedRect(point.x, rectClient.top, point.x + 2, rectClient.bottom);
      pDC->InvertRect(&invertedRect);
      ReleaseDC(pDC);
    }
    // The cursor may reach the column's left edge (width 0) only when columns may be hidden.
    const int nClipLeft = start.x + (m_bAllowColHide ? 0 : 1);
    CRect clipRect(nClipLeft, rectClient.top, nClipLeft + rectClient.Width() - GetFixedColumnWidth(),
                   rectClient.bottom);
    ClientToScreen(clipRect);
    ::ClipCursor(clipRect);
  } else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
    m_MouseMode = MOUSE_SIZING_ROW;
    const int nLastRow = GetRowCount() - 1;
    const BOOL bNarrowLast = GetRowHeight(nLastRow) < m_nResizeCaptureRange;
    if (bNarrowLast) {
      CRect VisRect;
      GetVisibleNonFixedCellRange(VisRect);
      if (std::abs(point.y - VisRect.bottom) < m_nResizeCaptureRange) m_LeftClickDownCell.row = nLastRow;
    }
    CPoint start;
    if (!GetCellOrigin(m_LeftClickDownCell.row, 0, &start)) {
      m_MouseMode = MOUSE_NOTHING;
      return;
    }
    if (point.y - start.y < m_nResizeCaptureRange && (m_LeftClickDownCell.row < nLastRow || !bNarrowLast)) {
      m_LeftClickDownCell.row--;
    }
    if (!m_bHiddenRowUnhide) {
      while (m_LeftClickDownCell.row >= 0 && GetRowHeight(m_LeftClickDownCell.row) < 1) {
        m_LeftClickDownCell.row--;
      }
    }
    if (!GetCellOrigin(m_LeftClickDownCell.row, 0, &start)) {
      m_MouseMode = MOUSE_NOTHING;
      return;
    }
    CDC* pDC = GetDC();
    if (pDC != nullptr) {
      CRect invertedRect(rectClient.left, point.y, rectClient.right, point.y + 2);
      pDC->InvertRect(&invertedRect);
      ReleaseDC(pDC);
    }
    const int nClipTop = start.y + (m_bAllowRowHide ? 0 : 1);
    CRect clipRect(rectClient.left, nClipTop, rectClient.right,
                   nClipTop + rectClient.Height() - GetFixedRowHeight());
    ClientToScreen(clipRect);
    ::ClipCursor(clipRect);
  } else if (m_MouseMode != MOUSE_PREPARE_DRAG) {
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GVN_SELCHANGING);
    // With Ctrl the selection so far is kept and joins the new one.
    m_PrevSelectedCellMap.RemoveAll();
    if (nFlags & MK_CONTROL) {
      POSITION pos = m_SelectedCellMap.GetStartPosition();
      while (pos != nullptr) {
        ULONGLONG key;
        CGridCellId cell;
        m_SelectedCellMap.GetNextAssoc(pos, key, cell);
        m_PrevSelectedCellMap.SetAt(key, cell);
      }
    }
    if (m_LeftClickDownCell.row < GetFixedRowCount()) {
      OnFixedRowClick(m_LeftClickDownCell);
    } else if (m_LeftClickDownCell.col < GetFixedColumnCount()) {
      OnFixedColumnClick(m_LeftClickDownCell);
    } else {
      m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
      OnSelecting(m_LeftClickDownCell);
      m_nTimerID = SetTimer(WM_LBUTTONDOWN, m_nTimerInterval, nullptr);
    }
  }
  m_LastMousePoint = point;
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != WM_LBUTTONDOWN) return;
  CPoint origPt;
  if (!::GetCursorPos(&origPt)) return;
  ScreenToClient(&origPt);
  CRect rect;
  GetClientRect(rect);
  const int nFixedRowHeight = GetFixedRowHeight();
  const int nFixedColWidth = GetFixedColumnWidth();

  CPoint pt = origPt;
  pt.x =
      std::max(static_cast<int>(rect.left), std::min(static_cast<int>(rect.right), static_cast<int>(pt.x)));
  if (origPt.y > rect.bottom) {
    SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    pt.y = rect.bottom;
    OnSelecting(GetCellFromPt(pt));
  } else if (origPt.y < nFixedRowHeight) {
    SendMessage(WM_KEYDOWN, VK_UP, 0);
    pt.y = nFixedRowHeight + 1;
    OnSelecting(GetCellFromPt(pt));
  }

  pt = origPt;
  pt.y =
      std::max(static_cast<int>(rect.top), std::min(static_cast<int>(rect.bottom), static_cast<int>(pt.y)));
  if (origPt.x > rect.right) {
    SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    pt.x = rect.right;
    OnSelecting(GetCellFromPt(pt));
  } else if (origPt.x < nFixedColWidth) {
    SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    pt.x = nFixedColWidth + 1;
    OnSelecting(GetCellFromPt(pt));
  }
}

void CGridCtrl::EndDividerTracking() {
  ::ClipCursor(nullptr);
  CRect rect;
  GetClientRect(rect);
  CDC* pDC = GetDC();
  if (pDC != nullptr) {
    CRect invertedRect = m_MouseMode == MOUSE_SIZING_COL
                             ? CRect(m_LastMousePoint.x, rect.top, m_LastMousePoint.x + 2, rect.bottom)
                             : CRect(rect.left, m_LastMousePoint.y, rect.right, m_LastMousePoint.y + 2);
    pDC->InvertRect(&invertedRect);
    ReleaseDC(pDC);
  }
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  // Cleared before the capture goes, so losing it here is not taken for an interruption.
  m_bLMouseButtonDown = FALSE;
  ::ClipCursor(nullptr);
  if (::GetCapture() == m_hWnd) {
    ::ReleaseCapture();
    KillTimer(m_nTimerID);
    m_nTimerID = 0;
  }

  const CPoint pointClickedRel = GetPointClicked(m_idCurrentCell.row, m_idCurrentCell.col, point);
  if (m_MouseMode == MOUSE_PREPARE_EDIT) {
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, pointClickedRel, VK_LBUTTON);
  } else if (m_MouseMode == MOUSE_PREPARE_DRAG) {
    CGridCellBase* pCell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (pCell != nullptr) pCell->OnClick(pointClickedRel);
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, NM_CLICK);
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GVN_SELCHANGING);
    ResetSelectedRange();
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_SELCHANGED);
  } else if (m_MouseMode == MOUSE_SIZING_COL) {
    EndDividerTracking();
    CPoint start;
    if (m_LeftClickDownPoint != point && (point.x != 0 || point.y != 0) &&
        GetCellOrigin(m_LeftClickDownCell, &start)) {
      SetColumnWidth(m_LeftClickDownCell.col,
                     std::max(static_cast<int>(point.x - start.x), m_bAllowColHide ? 0 : 1));
      ResetScrollBars();
      Invalidate();
    }
  } else if (m_MouseMode == MOUSE_SIZING_ROW) {
    EndDividerTracking();
    CPoint start;
    if (m_LeftClickDownPoint != point && (point.x != 0 || point.y != 0) &&
        GetCellOrigin(m_LeftClickDownCell, &start)) {
      SetRowHeight(m_LeftClickDownCell.row,
                   std::max(static_cast<int>(point.y - start.y), m_bAllowRowHide ? 0 : 1));
      ResetScrollBars();
      Invalidate();
    }
  } else {
    SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_SELCHANGED);
    CGridCellBase* pCell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (pCell != nullptr) pCell->OnClick(pointClickedRel);
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, NM_CLICK);
  }

  m_MouseMode = MOUSE_NOTHING;
  SetStandardCursor(IDC_ARROW);
  if (!IsValid(m_LeftClickDownCell)) return;
  CWnd* pOwner = GetOwner();
  if (pOwner != nullptr && ::IsWindow(pOwner->m_hWnd)) {
    pOwner->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
  }
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  CGridCellId cell = GetCellFromPt(point);
  if (!IsValid(cell)) {
    CWnd::OnLButtonDblClk(nFlags, point);
    return;
  }

  // Both clicks may arrive before the move that marks the divider under the mouse.
  if (m_MouseMode == MOUSE_NOTHING) {
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point)) {
      m_MouseMode = MOUSE_OVER_COL_DIVIDE;
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point)) {
      m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
    }
  }

  if (m_MouseMode == MOUSE_OVER_COL_DIVIDE) {
    CPoint start;
    if (GetCellOrigin(0, cell.col, &start)) {
      if (point.x - start.x < m_nResizeCaptureRange) cell.col--;
      while (cell.col >= 0 && GetColumnWidth(cell.col) <= 0) cell.col--;
      if (cell.col >= 0) {
        AutoSizeColumn(cell.col, GetAutoSizeStyle());
        Invalidate();
      }
    }
  } else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE) {
    CPoint start;
    if (GetCellOrigin(cell.row, 0, &start)) {
      if (point.y - start.y < m_nResizeCaptureRange) cell.row--;
      while (cell.row >= 0 && GetRowHeight(cell.row) <= 0) cell.row--;
      if (cell.row >= 0) {
        AutoSizeRow(cell.row);
        Invalidate();
      }
    }
  } else if (m_MouseMode == MOUSE_NOTHING) {
    const CPoint pointClickedRel = GetPointClicked(cell.row, cell.col, point);
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    BOOL bInTextArea = FALSE;
    if (pCell != nullptr) {
      CRect rectCell;
      if (GetCellRect(cell.row, cell.col, rectCell) && pCell->GetTextRect(rectCell)) {
        bInTextArea = rectCell.PtInRect(point);
      }
    }
    if (cell.row >= m_nFixedRows && cell.col >= m_nFixedCols && IsValid(m_LeftClickDownCell) && bInTextArea) {
      OnEditCell(cell.row, cell.col, pointClickedRel, VK_LBUTTON);
    }
    pCell = GetCell(cell.row, cell.col);
    if (pCell != nullptr) pCell->OnDblClick(pointClickedRel);
    SendMessageToParent(cell.row, cell.col, NM_DBLCLK);
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

void CGridCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnRButtonDown(nFlags, point);
  m_bRMouseButtonDown = TRUE;
}

void CGridCtrl::OnRButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnRButtonUp(nFlags, point);
  m_bRMouseButtonDown = FALSE;
  const CGridCellId FocusCell = GetCellFromPt(point);
  EndEditing();
  if (!IsValid(FocusCell)) {
    SendMessageToParent(-1, -1, NM_RCLICK);
    return;
  }
  SetFocusCell(-1, -1);
  SetFocusCell(std::max(FocusCell.row, m_nFixedRows), std::max(FocusCell.col, m_nFixedCols));
  CGridCellBase* pCell = GetCell(FocusCell.row, FocusCell.col);
  if (pCell != nullptr) pCell->OnRClick(GetPointClicked(FocusCell.row, FocusCell.col, point));
  SendMessageToParent(FocusCell.row, FocusCell.col, NM_RCLICK);
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd->GetSafeHwnd() == m_hWnd) return;
  if (m_nTimerID != 0) {
    KillTimer(m_nTimerID);
    m_nTimerID = 0;
  }
  if (m_MouseMode == MOUSE_DRAGGING) m_MouseMode = MOUSE_NOTHING;
  // A divider drag cut short (another window took the mouse) must not leave the cursor confined
  // or the bar on the screen.
  if (m_bLMouseButtonDown && (m_MouseMode == MOUSE_SIZING_COL || m_MouseMode == MOUSE_SIZING_ROW)) {
    EndDividerTracking();
    m_MouseMode = MOUSE_NOTHING;
    m_bLMouseButtonDown = FALSE;
    SetStandardCursor(IDC_ARROW);
  }
}

// ---- Keyboard ---------------------------------------------------------------------------------------

UINT CGridCtrl::OnGetDlgCode() {
  UINT nCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (m_bHandleTabKey && !IsCtrlPressed()) nCode |= DLGC_WANTTAB;
  return nCode;
}

void CGridCtrl::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CWnd::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!IsValid(m_idCurrentCell)) {
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }

  CGridCellId next = m_idCurrentCell;
  BOOL bChangeLine = FALSE;
  BOOL bHorzScrollAction = FALSE;
  BOOL bVertScrollAction = FALSE;

  const BOOL bShift = IsShiftPressed();
  if (IsCtrlPressed()) {
    switch (nChar) {
      case 'A':
        OnEditSelectAll();
        break;
      case 'X':
        OnEditCut();
        break;
      case VK_INSERT:
      case 'C':
        OnEditCopy();
        break;
      case 'V':
        OnEditPaste();
        break;
      default:
        break;
    }
  } else if (bShift && nChar == VK_INSERT) {
    OnEditPaste();
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }

  auto nextVisibleRow = [&](int row, int step, int limit) {
    for (row += step; step > 0 ? row <= limit : row >= limit; row += step) {
      if (GetRowHeight(row) > 0) return row;
    }
    return -1;
  };
  auto nextVisibleCol = [&](int col, int step, int limit) {
    for (; step > 0 ? col <= limit : col >= limit; col += step) {
      if (GetColumnWidth(col) > 0) return col;
    }
    return -1;
  };

  if (nChar == VK_DELETE) {
    CutSelectedText();
  } else if (nChar == VK_F2) {
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), VK_LBUTTON);
  } else if (nChar == VK_DOWN) {
    const int row = nextVisibleRow(next.row, 1, GetRowCount() - 1);
    if (row >= 0) next.row = row;
  } else if (nChar == VK_UP) {
    const int row = nextVisibleRow(next.row, -1, m_nFixedRows);
    if (row >= 0) next.row = row;
  } else if (nChar == VK_RIGHT || (nChar == VK_TAB && !bShift)) {
    int col = next.col + 1;
    int row = next.row;
    if (nChar == VK_TAB && col == GetColumnCount()) {
      // Past the end of a row Tab wraps to the next row; past the last row it leaves the grid.
      row = nextVisibleRow(next.row, 1, GetRowCount() - 1);
      if (row < 0) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        CWnd* pParent = GetParent();
        if (pParent != nullptr) pParent->PostMessage(WM_NEXTDLGCTL, 0, 0);
        return;
      }
      col = m_nFixedCols;
      bChangeLine = TRUE;
    }
    col = nextVisibleCol(col, 1, GetColumnCount() - 1);
    if (col >= 0) {
      next = CGridCellId(row, col);
    } else if (bChangeLine) {
      next.row = row;
    }
  } else if (nChar == VK_LEFT || (nChar == VK_TAB && bShift)) {
    int col = next.col - 1;
    int row = next.row;
    if (nChar == VK_TAB && col < m_nFixedCols) {
      row = nextVisibleRow(next.row, -1, m_nFixedRows);
      if (row < 0) {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        CWnd* pParent = GetParent();
        if (pParent != nullptr) pParent->PostMessage(WM_NEXTDLGCTL, 1, 0);
        return;
      }
      col = GetColumnCount() - 1;
      bChangeLine = TRUE;
    }
    col = nextVisibleCol(col, -1, m_nFixedCols);
    if (col >= 0) {
      next = CGridCellId(row, col);
    } else if (bChangeLine) {
      next.row = row;
    }
  } else if (nChar == VK_NEXT) {
    const CGridCellId idOldTopLeft = GetTopleftNonFixedCell();
    SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    bVertScrollAction = TRUE;
    const CGridCellId idNewTopLeft = GetTopleftNonFixedCell();
    const int increment = idNewTopLeft.row - idOldTopLeft.row;
    next.row = increment != 0 ? std::min(next.row + increment, GetRowCount() - 1) : GetRowCount() - 1;
  } else if (nChar == VK_PRIOR) {
    const CGridCellId idOldTopLeft = GetTopleftNonFixedCell();
    SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    bVertScrollAction = TRUE;
    const CGridCellId idNewTopLeft = GetTopleftNonFixedCell();
    const int increment = idNewTopLeft.row - idOldTopLeft.row;
    next.row = increment != 0 ? std::max(next.row + increment, m_nFixedRows) : m_nFixedRows;
  } else if (nChar == VK_END) {
    if (IsCtrlPressed()) {
      SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
      SendMessage(WM_HSCROLL, SB_RIGHT, 0);
      bHorzScrollAction = bVertScrollAction = TRUE;
      next.row = GetRowCount() - 1;
    } else {
      SendMessage(WM_HSCROLL, SB_RIGHT, 0);
      bHorzScrollAction = TRUE;
    }
    next.col = GetColumnCount() - 1;
    while (next.col > m_nFixedCols && GetColumnWidth(next.col) < 1) next.col--;
    while (next.row > m_nFixedRows && GetRowHeight(next.row) < 1) next.row--;
  } else if (nChar == VK_HOME) {
    if (IsCtrlPressed()) {
      SendMessage(WM_VSCROLL, SB_TOP, 0);
      SendMessage(WM_HSCROLL, SB_LEFT, 0);
      bHorzScrollAction = bVertScrollAction = TRUE;
      next.row = m_nFixedRows;
    } else {
      SendMessage(WM_HSCROLL, SB_LEFT, 0);
      bHorzScrollAction = TRUE;
    }
    next.col = m_nFixedCols;
    while (next.col < GetColumnCount() - 1 && GetColumnWidth(next.col) < 1) next.col++;
    while (next.row < GetRowCount() - 1 && GetRowHeight(next.row) < 1) next.row++;
  } else {
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }

  if (next == m_idCurrentCell) return;

  // Plain moves select the one cell reached; Shift extends from the selection start.
  if (m_MouseMode == MOUSE_NOTHING) {
    m_PrevSelectedCellMap.RemoveAll();
    m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
    if (!bShift || nChar == VK_TAB) m_SelectionStartCell = next;
    SendMessageToParent(next.row, next.col, GVN_SELCHANGING);
    OnSelecting(next);
    SendMessageToParent(next.row, next.col, GVN_SELCHANGED);
    m_MouseMode = MOUSE_NOTHING;
  }

  SetFocusCell(next);
  if (!IsCellVisible(next)) {
    switch (nChar) {
      case VK_RIGHT:
        SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
        bHorzScrollAction = TRUE;
        break;
      case VK_LEFT:
        SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
        bHorzScrollAction = TRUE;
        break;
      case VK_DOWN:
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        bVertScrollAction = TRUE;
        break;
      case VK_UP:
        SendMessage(WM_VSCROLL, SB_LINEUP, 0);
        bVertScrollAction = TRUE;
        break;
      case VK_TAB:
        if (bChangeLine) {
          SendMessage(WM_VSCROLL, bShift ? SB_LINEUP : SB_LINEDOWN, 0);
          bVertScrollAction = TRUE;
          SetScrollPos32(SB_HORZ, bShift ? m_nHScrollMax : 0);
        } else {
          SendMessage(WM_HSCROLL, bShift ? SB_LINELEFT : SB_LINERIGHT, 0);
          bHorzScrollAction = TRUE;
        }
        break;
      default:
        break;
    }
    EnsureVisible(next);
    Invalidate();
  }
  EnsureVisible(next);
  if (bHorzScrollAction) SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
  if (bVertScrollAction) SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!IsCtrlPressed() && m_MouseMode == MOUSE_NOTHING && nChar != VK_ESCAPE &&
      !(m_bHandleTabKey && nChar == VK_TAB)) {
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nChar);
  }
  CWnd::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CGridCtrl::OnImeChar(WPARAM wCharCode, LPARAM /*lParam*/) {
  if (!IsCtrlPressed() && m_MouseMode == MOUSE_NOTHING && wCharCode != VK_ESCAPE) {
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), static_cast<UINT>(wCharCode));
  }
  return 0;
}
