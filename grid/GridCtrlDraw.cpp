// CGridCtrl: geometry (cell origins, rectangles, hit tests, the visible range), painting, scroll
// bars and scrolling, the mouse wheel, making a cell visible and automatic sizing.
#include "GridCtrl.h"

#include <algorithm>

namespace {

// Paints through a bitmap the size of the paint DC's clip box and copies it to the screen when it
// goes out of scope; a printing DC is drawn on directly.
class CGridMemDC : public CDC {
 public:
  explicit CGridMemDC(CDC* pDC) : m_pDC(pDC) {
    m_bMemDC = !pDC->IsPrinting();
    if (!m_bMemDC) {
      m_bPrinting = pDC->m_bPrinting;
      m_hDC = pDC->m_hDC;
      m_hAttribDC = pDC->m_hAttribDC;
      return;
    }
    pDC->GetClipBox(&m_rect);
    if (!CreateCompatibleDC(pDC) ||
        !m_bitmap.CreateCompatibleBitmap(pDC, std::max(1, m_rect.Width()), std::max(1, m_rect.Height()))) {
      // Without memory for the bitmap the grid draws straight on the screen.
      if (m_hDC != nullptr) DeleteDC();
      m_bMemDC = FALSE;
      m_hDC = pDC->m_hDC;
      m_hAttribDC = pDC->m_hAttribDC;
      return;
    }
    m_pOldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
    FillSolidRect(m_rect, pDC->GetBkColor());
  }
  ~CGridMemDC() override {
    if (m_bMemDC) {
      m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                    SRCCOPY);
      SelectObject(m_pOldBitmap);
    } else {
      // The handles belong to the paint DC.
      m_hDC = m_hAttribDC = nullptr;
    }
  }

 private:
  CBitmap m_bitmap;
  CBitmap* m_pOldBitmap = nullptr;
  CDC* m_pDC;
  CRect m_rect;
  BOOL m_bMemDC;
};

}  // namespace

// ---- Geometry -------------------------------------------------------------------------------------

CGridCellId CGridCtrl::GetTopleftNonFixedCell(BOOL bForceRecalculation) {
  if (m_idTopLeftCell.IsValid() && !bForceRecalculation) return m_idTopLeftCell;

  const int nVertScroll = GetScrollPos32(SB_VERT);
  const int nHorzScroll = GetScrollPos32(SB_HORZ);
  m_idTopLeftCell.col = m_nFixedCols;
  int nRight = 0;
  while (nRight < nHorzScroll && m_idTopLeftCell.col < GetColumnCount() - 1) {
    nRight += GetColumnWidth(m_idTopLeftCell.col++);
  }
  m_idTopLeftCell.row = m_nFixedRows;
  int nTop = 0;
  while (nTop < nVertScroll && m_idTopLeftCell.row < GetRowCount() - 1) {
    nTop += GetRowHeight(m_idTopLeftCell.row++);
  }
  return m_idTopLeftCell;
}

CGridCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect, BOOL bForceRecalculation) {
  CRect rect;
  GetClientRect(rect);
  const CGridCellId idTopLeft = GetTopleftNonFixedCell(bForceRecalculation);

  int bottom = GetFixedRowHeight();
  int i;
  for (i = idTopLeft.row; i < GetRowCount(); i++) {
    bottom += GetRowHeight(i);
    if (bottom >= rect.bottom) {
      bottom = rect.bottom;
      break;
    }
  }
  const int maxVisibleRow = std::min(i, GetRowCount() - 1);

  int right = GetFixedColumnWidth();
  for (i = idTopLeft.col; i < GetColumnCount(); i++) {
    right += GetColumnWidth(i);
    if (right >= rect.right) {
      right = rect.right;
      break;
    }
  }
  const int maxVisibleCol = std::min(i, GetColumnCount() - 1);

  if (pRect != nullptr) {
    pRect->left = pRect->top = 0;
    pRect->right = std::min(right, static_cast<int>(rect.right));
    pRect->bottom = std::min(bottom, static_cast<int>(rect.bottom));
  }
  return CGridCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p) {
  if (!IsValid(nRow, nCol)) return FALSE;
  CGridCellId idTopLeft;
  if (nCol >= m_nFixedCols || nRow >= m_nFixedRows) idTopLeft = GetTopleftNonFixedCell();
  if ((nRow >= m_nFixedRows && nRow < idTopLeft.row) || (nCol >= m_nFixedCols && nCol < idTopLeft.col)) {
    return FALSE;
  }

  p->x = 0;
  if (nCol < m_nFixedCols) {
    for (int i = 0; i < nCol; i++) p->x += GetColumnWidth(i);
  } else {
    for (int i = 0; i < m_nFixedCols; i++) p->x += GetColumnWidth(i);
    for (int i = idTopLeft.col; i < nCol; i++) p->x += GetColumnWidth(i);
  }
  p->y = 0;
  if (nRow < m_nFixedRows) {
    for (int i = 0; i < nRow; i++) p->y += GetRowHeight(i);
  } else {
    for (int i = 0; i < m_nFixedRows; i++) p->y += GetRowHeight(i);
    for (int i = idTopLeft.row; i < nRow; i++) p->y += GetRowHeight(i);
  }
  return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect) {
  CPoint CellOrigin;
  if (!GetCellOrigin(nRow, nCol, &CellOrigin)) return FALSE;
  pRect->left = CellOrigin.x;
  pRect->top = CellOrigin.y;
  pRect->right = CellOrigin.x + GetColumnWidth(nCol) - 1;
  pRect->bottom = CellOrigin.y + GetRowHeight(nRow) - 1;
  return TRUE;
}

BOOL CGridCtrl::GetTextRect(int nRow, int nCol, LPRECT pRect) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell == nullptr) return FALSE;
  if (!GetCellRect(nRow, nCol, pRect)) return FALSE;
  return pCell->GetTextRect(pRect);
}

CGridCellId CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck) {
  CGridCellId cellID;
  const CGridCellId idTopLeft = GetTopleftNonFixedCell();
  if (!bAllowFixedCellCheck && !IsValid(idTopLeft)) return cellID;

  const int fixedColWidth = GetFixedColumnWidth();
  if (point.x < 0 || (!bAllowFixedCellCheck && point.x < fixedColWidth)) {
    cellID.col = -1;
  } else if (point.x < fixedColWidth) {
    int xpos = 0;
    int col = 0;
    while (col < m_nFixedCols) {
      xpos += GetColumnWidth(col);
      if (xpos > point.x) break;
      col++;
    }
    cellID.col = col;
  } else if (!IsValid(idTopLeft)) {
    cellID.col = -1;
  } else {
    int xpos = fixedColWidth;
    int col = idTopLeft.col;
    while (col < GetColumnCount()) {
      xpos += GetColumnWidth(col);
      if (xpos > point.x) break;
      col++;
    }
    cellID.col = col >= GetColumnCount() ? -1 : col;
  }

  const int fixedRowHeight = GetFixedRowHeight();
  if (point.y < 0 || (!bAllowFixedCellCheck && point.y < fixedRowHeight)) {
    cellID.row = -1;
  } else if (point.y < fixedRowHeight) {
    int ypos = 0;
    int row = 0;
    while (row < m_nFixedRows) {
      ypos += GetRowHeight(row);
      if (ypos > point.y) break;
      row++;
    }
    cellID.row = row;
  } else if (!IsValid(idTopLeft)) {
    cellID.row = -1;
  } else {
    int ypos = fixedRowHeight;
    int row = idTopLeft.row;
    while (row < GetRowCount()) {
      ypos += GetRowHeight(row);
      if (ypos > point.y) break;
      row++;
    }
    cellID.row = row >= GetRowCount() ? -1 : row;
  }
  return cellID;
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol) {
  if (!::IsWindow(m_hWnd)) return FALSE;
  CGridCellId TopLeft;
  if (nCol >= m_nFixedCols || nRow >= m_nFixedRows) {
    TopLeft = GetTopleftNonFixedCell();
    if (nCol >= m_nFixedCols && nCol < TopLeft.col) return FALSE;
    if (nRow >= m_nFixedRows && nRow < TopLeft.row) return FALSE;
  }
  CRect rect;
  GetClientRect(rect);

  int x;
  if (nCol < m_nFixedCols) {
    x = 0;
    for (int i = 0; i <= nCol; i++) {
      if (x >= rect.right) return FALSE;
      x += GetColumnWidth(i);
    }
  } else {
    x = GetFixedColumnWidth();
    for (int i = TopLeft.col; i <= nCol; i++) {
      if (x >= rect.right) return FALSE;
      x += GetColumnWidth(i);
    }
  }
  int y;
  if (nRow < m_nFixedRows) {
    y = 0;
    for (int i = 0; i <= nRow; i++) {
      if (y >= rect.bottom) return FALSE;
      y += GetRowHeight(i);
    }
  } else {
    y = GetFixedRowHeight();
    for (int i = TopLeft.row; i <= nRow; i++) {
      if (y >= rect.bottom) return FALSE;
      y += GetRowHeight(i);
    }
  }
  return TRUE;
}

// ---- Painting -------------------------------------------------------------------------------------

void CGridCtrl::OnPaint() {
  CPaintDC dc(this);
  if (m_bDoubleBuffer) {
    CGridMemDC memDC(&dc);
    OnDraw(&memDC);
  } else {
    OnDraw(&dc);
  }
}

BOOL CGridCtrl::OnEraseBkgnd(CDC* /*pDC*/) {
  // Every pixel is painted by OnDraw.
  return TRUE;
}

void CGridCtrl::EraseBkgnd(CDC* pDC) {
  CRect VisRect, ClipRect, rect;
  CBrush FixedRowColBack(m_cellFixedRowColDef.GetBackColour());
  CBrush FixedRowBack(m_cellFixedRowDef.GetBackColour());
  CBrush FixedColBack(m_cellFixedColDef.GetBackColour());
  CBrush TextBack(m_cellDefault.GetBackColour());
  CBrush Back(GetGridBkColour());

  if (pDC->GetClipBox(ClipRect) == ERROR) return;
  GetVisibleNonFixedCellRange(VisRect);
  const int nFixedColumnWidth = GetFixedColumnWidth();
  const int nFixedRowHeight = GetFixedRowHeight();

  if (ClipRect.left < nFixedColumnWidth && ClipRect.top < nFixedRowHeight) {
    pDC->FillRect(CRect(ClipRect.left, ClipRect.top, nFixedColumnWidth, nFixedRowHeight), &FixedRowColBack);
  }
  if (ClipRect.left < nFixedColumnWidth && ClipRect.top < VisRect.bottom) {
    pDC->FillRect(CRect(ClipRect.left, ClipRect.top, nFixedColumnWidth, VisRect.bottom), &FixedColBack);
  }
  if (ClipRect.top < nFixedRowHeight && ClipRect.right > nFixedColumnWidth && ClipRect.left < VisRect.right) {
    pDC->FillRect(CRect(nFixedColumnWidth - 1, ClipRect.top, VisRect.right, nFixedRowHeight), &FixedRowBack);
  }
  if (rect.IntersectRect(VisRect, ClipRect)) {
    CRect CellRect(std::max(nFixedColumnWidth, static_cast<int>(rect.left)),
                   std::max(nFixedRowHeight, static_cast<int>(rect.top)), rect.right, rect.bottom);
    pDC->FillRect(CellRect, &TextBack);
  }
  if (VisRect.right < ClipRect.right) {
    pDC->FillRect(CRect(VisRect.right, ClipRect.top, ClipRect.right, ClipRect.bottom), &Back);
  }
  if (VisRect.bottom < ClipRect.bottom && ClipRect.left < VisRect.right) {
    pDC->FillRect(CRect(ClipRect.left, VisRect.bottom, VisRect.right, ClipRect.bottom), &Back);
  }
}

void CGridCtrl::OnDraw(CDC* pDC) {
  if (!m_bAllowDraw) return;
  CRect clipRect;
  if (pDC->GetClipBox(&clipRect) == ERROR || clipRect.IsRectEmpty()) return;

  EraseBkgnd(pDC);

  const int nFixedRowHeight = GetFixedRowHeight();
  const int nFixedColWidth = GetFixedColumnWidth();
  const CGridCellId idTopLeft = GetTopleftNonFixedCell();
  const int minVisibleRow = idTopLeft.row;
  const int minVisibleCol = idTopLeft.col;
  CRect VisRect;
  const CGridCellRange VisCellRange = GetVisibleNonFixedCellRange(VisRect);
  const int maxVisibleRow = VisCellRange.GetMaxRow();
  const int maxVisibleCol = VisCellRange.GetMaxCol();

  if (GetVirtualMode()) SendCacheHintToParent(VisCellRange);

  auto drawCell = [&](int row, int col, const CRect& rect) {
    CGridCellBase* pCell = GetCell(row, col);
    if (pCell == nullptr) return;
    pCell->SetCoords(row, col);
    pCell->Draw(pDC, row, col, rect, FALSE);
  };

  CRect rect;
  // The fixed corner.
  rect.bottom = -1;
  for (int row = 0; row < m_nFixedRows; row++) {
    if (GetRowHeight(row) <= 0) continue;
    rect.top = rect.bottom + 1;
    rect.bottom = rect.top + GetRowHeight(row) - 1;
    rect.right = -1;
    for (int col = 0; col < m_nFixedCols; col++) {
      if (GetColumnWidth(col) <= 0) continue;
      rect.left = rect.right + 1;
      rect.right = rect.left + GetColumnWidth(col) - 1;
      drawCell(row, col, rect);
    }
  }

  // The fixed columns beside the rows showing.
  rect.bottom = nFixedRowHeight - 1;
  for (int row = minVisibleRow; row <= maxVisibleRow; row++) {
    if (GetRowHeight(row) <= 0) continue;
    rect.top = rect.bottom + 1;
    rect.bottom = rect.top + GetRowHeight(row) - 1;
    if (rect.top > clipRect.bottom) break;
    if (rect.bottom < clipRect.top) continue;
    rect.right = -1;
    for (int col = 0; col < m_nFixedCols; col++) {
      if (GetColumnWidth(col) <= 0) continue;
      rect.left = rect.right + 1;
      rect.right = rect.left + GetColumnWidth(col) - 1;
      if (rect.left > clipRect.right) break;
      if (rect.right < clipRect.left) continue;
      drawCell(row, col, rect);
    }
  }

  // The fixed rows above the columns showing.
  rect.bottom = -1;
  for (int row = 0; row < m_nFixedRows; row++) {
    if (GetRowHeight(row) <= 0) continue;
    rect.top = rect.bottom + 1;
    rect.bottom = rect.top + GetRowHeight(row) - 1;
    if (rect.top > clipRect.bottom) break;
    if (rect.bottom < clipRect.top) continue;
    rect.right = nFixedColWidth - 1;
    for (int col = minVisibleCol; col <= maxVisibleCol; col++) {
      if (GetColumnWidth(col) <= 0) continue;
      rect.left = rect.right + 1;
      rect.right = rect.left + GetColumnWidth(col) - 1;
      if (rect.left > clipRect.right) break;
      if (rect.right < clipRect.left) continue;
      drawCell(row, col, rect);
    }
  }

  // The scrolled cells.
  rect.bottom = nFixedRowHeight - 1;
  for (int row = minVisibleRow; row <= maxVisibleRow; row++) {
    if (GetRowHeight(row) <= 0) continue;
    rect.top = rect.bottom + 1;
    rect.bottom = rect.top + GetRowHeight(row) - 1;
    if (rect.top > clipRect.bottom) break;
    if (rect.bottom < clipRect.top) continue;
    rect.right = nFixedColWidth - 1;
    for (int col = minVisibleCol; col <= maxVisibleCol; col++) {
      if (GetColumnWidth(col) <= 0) continue;
      rect.left = rect.right + 1;
      rect.right = rect.left + GetColumnWidth(col) - 1;
      if (rect.left > clipRect.right) break;
      if (rect.right < clipRect.left) continue;
      drawCell(row, col, rect);
    }
  }

  // Grid lines along the scrolled cells; fixed cells draw their own edges.
  CPen pen;
  pen.CreatePen(PS_SOLID, 0, m_crGridLineColour);
  pDC->SelectObject(&pen);
  if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
    int x = nFixedColWidth;
    for (int col = minVisibleCol; col <= maxVisibleCol; col++) {
      if (GetColumnWidth(col) <= 0) continue;
      x += GetColumnWidth(col);
      pDC->MoveTo(x - 1, nFixedRowHeight);
      pDC->LineTo(x - 1, VisRect.bottom);
    }
  }
  if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
    int y = nFixedRowHeight;
    for (int row = minVisibleRow; row <= maxVisibleRow; row++) {
      if (GetRowHeight(row) <= 0) continue;
      y += GetRowHeight(row);
      pDC->MoveTo(nFixedColWidth, y - 1);
      pDC->LineTo(VisRect.right, y - 1);
    }
  }
  pDC->SelectStockObject(NULL_PEN);

  if (GetVirtualMode()) SendCacheHintToParent(CGridCellRange(-1, -1, -1, -1));
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC) {
  if (!m_bAllowDraw || !IsCellVisible(nRow, nCol)) return FALSE;
  CRect rect;
  if (!GetCellRect(nRow, nCol, rect)) return FALSE;

  BOOL bMustReleaseDC = FALSE;
  if (pDC == nullptr) {
    pDC = GetDC();
    if (pDC != nullptr) bMustReleaseDC = TRUE;
  }
  BOOL bResult = TRUE;
  if (pDC != nullptr) {
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (pCell != nullptr) {
      pCell->SetCoords(nRow, nCol);
      bResult = pCell->Draw(pDC, nRow, nCol, rect, TRUE);
    }
    // The erase took the cell's grid lines with it.
    if (nRow >= m_nFixedRows && nCol >= m_nFixedCols) {
      CPen pen;
      pen.CreatePen(PS_SOLID, 0, m_crGridLineColour);
      CPen* pOldPen = pDC->SelectObject(&pen);
      if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ) {
        pDC->MoveTo(rect.left, rect.bottom);
        pDC->LineTo(rect.right + 1, rect.bottom);
      }
      if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT) {
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom + 1);
      }
      pDC->SelectObject(pOldPen);
    }
  } else {
    InvalidateRect(rect, TRUE);
  }
  if (bMustReleaseDC) ReleaseDC(pDC);
  return bResult;
}

BOOL CGridCtrl::InvalidateCellRect(int nRow, int nCol) {
  if (!::IsWindow(m_hWnd) || !m_bAllowDraw) return FALSE;
  if (!IsValid(nRow, nCol) || !IsCellVisible(nRow, nCol)) return FALSE;
  CRect rect;
  if (!GetCellRect(nRow, nCol, rect)) return FALSE;
  rect.right++;
  rect.bottom++;
  InvalidateRect(rect, TRUE);
  return TRUE;
}

void CGridCtrl::Refresh() {
  if (::IsWindow(m_hWnd) && m_bAllowDraw) Invalidate();
}

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars) {
  if (bAllowDraw && !m_bAllowDraw) {
    m_bAllowDraw = TRUE;
    Refresh();
  }
  m_bAllowDraw = bAllowDraw;
  if (bResetScrollBars) ResetScrollBars();
}

// ---- Scroll bars ----------------------------------------------------------------------------------

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos) {
  SCROLLINFO si;
  si.cbSize = sizeof(SCROLLINFO);
  si.fMask = bGetTrackPos ? SIF_TRACKPOS : SIF_POS;
  if (!::GetScrollInfo(m_hWnd, nBar, &si)) return 0;
  return bGetTrackPos ? si.nTrackPos : si.nPos;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw) {
  m_idTopLeftCell.row = -1;
  SCROLLINFO si;
  si.cbSize = sizeof(SCROLLINFO);
  si.fMask = SIF_POS;
  si.nPos = nPos;
  return ::SetScrollInfo(m_hWnd, nBar, &si, bRedraw);
}

void CGridCtrl::EnableScrollBars(int nBar, BOOL bEnable) {
  if (bEnable) {
    if (!IsVisibleHScroll() && (nBar == SB_HORZ || nBar == SB_BOTH)) {
      m_nBarState |= GVL_HORZ;
      CWnd::EnableScrollBarCtrl(SB_HORZ, bEnable);
    }
    if (!IsVisibleVScroll() && (nBar == SB_VERT || nBar == SB_BOTH)) {
      m_nBarState |= GVL_VERT;
      CWnd::EnableScrollBarCtrl(SB_VERT, bEnable);
    }
  } else {
    if (IsVisibleHScroll() && (nBar == SB_HORZ || nBar == SB_BOTH)) {
      m_nBarState &= ~GVL_HORZ;
      CWnd::EnableScrollBarCtrl(SB_HORZ, bEnable);
    }
    if (IsVisibleVScroll() && (nBar == SB_VERT || nBar == SB_BOTH)) {
      m_nBarState &= ~GVL_VERT;
      CWnd::EnableScrollBarCtrl(SB_VERT, bEnable);
    }
  }
}

void CGridCtrl::ResetScrollBars() {
  m_idTopLeftCell.row = -1;
  if (!m_bAllowDraw || !::IsWindow(GetSafeHwnd())) return;

  CRect rect;
  GetClientRect(rect);
  if (rect.left == rect.right || rect.top == rect.bottom) return;
  // Decide as if no bar were showing.
  if (IsVisibleVScroll()) rect.right += ::GetSystemMetrics(SM_CXVSCROLL) + ::GetSystemMetrics(SM_CXBORDER);
  if (IsVisibleHScroll()) rect.bottom += ::GetSystemMetrics(SM_CYHSCROLL) + ::GetSystemMetrics(SM_CYBORDER);

  rect.left += GetFixedColumnWidth();
  rect.top += GetFixedRowHeight();
  if (rect.left >= rect.right || rect.top >= rect.bottom) {
    EnableScrollBarCtrl(SB_BOTH, FALSE);
    m_nBarState = GVL_NONE;
    return;
  }

  CRect VisibleRect(GetFixedColumnWidth(), GetFixedRowHeight(), rect.right, rect.bottom);
  const CRect VirtualRect(GetFixedColumnWidth(), GetFixedRowHeight(), GetVirtualWidth(), GetVirtualHeight());
  if (VisibleRect.Height() < VirtualRect.Height()) VisibleRect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
  if (VisibleRect.Width() < VirtualRect.Width()) VisibleRect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);

  if (VisibleRect.Height() < VirtualRect.Height()) {
    EnableScrollBars(SB_VERT, TRUE);
    m_nVScrollMax = VirtualRect.Height() - 1;
  } else {
    EnableScrollBars(SB_VERT, FALSE);
    m_nVScrollMax = 0;
  }
  if (VisibleRect.Width() < VirtualRect.Width()) {
    EnableScrollBars(SB_HORZ, TRUE);
    m_nHScrollMax = VirtualRect.Width() - 1;
  } else {
    EnableScrollBars(SB_HORZ, FALSE);
    m_nHScrollMax = 0;
  }

  SCROLLINFO si;
  si.cbSize = sizeof(SCROLLINFO);
  si.fMask = SIF_PAGE | SIF_RANGE;
  si.nPage = m_nHScrollMax > 0 ? VisibleRect.Width() : 0;
  si.nMin = 0;
  si.nMax = m_nHScrollMax;
  ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);

  si.fMask |= SIF_DISABLENOSCROLL;
  si.nPage = m_nVScrollMax > 0 ? VisibleRect.Height() : 0;
  si.nMin = 0;
  si.nMax = m_nVScrollMax;
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

void CGridCtrl::OnSize(UINT nType, int cx, int cy) {
  // Showing or hiding a scroll bar below changes the size again.
  static BOOL bAlreadyInsideThisProcedure = FALSE;
  if (bAlreadyInsideThisProcedure) return;
  if (!::IsWindow(m_hWnd)) return;
  // The first size a window gets is the first moment it can take drops.
  m_DropTarget.Register(this);
  bAlreadyInsideThisProcedure = TRUE;
  EndEditing();
  CWnd::OnSize(nType, cx, cy);
  ResetScrollBars();
  bAlreadyInsideThisProcedure = FALSE;
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) {
  ScrollBy(SB_HORZ, nSBCode);
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/) {
  ScrollBy(SB_VERT, nSBCode);
}

// The request codes of both bars share their numbers (SB_LINERIGHT is SB_LINEDOWN and so on), so
// one walk serves columns and rows.
void CGridCtrl::ScrollBy(int nBar, UINT nSBCode) {
  EndEditing();
  m_TitleTip.Hide();

  const BOOL bHorz = nBar == SB_HORZ;
  auto size = [&](int i) { return bHorz ? GetColumnWidth(i) : GetRowHeight(i); };
  const int nCount = bHorz ? GetColumnCount() : GetRowCount();
  const int nFixedCount = bHorz ? GetFixedColumnCount() : GetFixedRowCount();
  const int nFixedExtent = bHorz ? GetFixedColumnWidth() : GetFixedRowHeight();
  const int nMax = bHorz ? m_nHScrollMax : m_nVScrollMax;
  const int scrollPos = GetScrollPos32(nBar);
  const CGridCellId idTopLeft = GetTopleftNonFixedCell();
  int nTopLeft = bHorz ? idTopLeft.col : idTopLeft.row;
  // The client area beyond the fixed cells, which is all that moves.
  CRect rect;
  GetClientRect(rect);
  (bHorz ? rect.left : rect.top) = nFixedExtent;
  const int nPage = bHorz ? rect.Width() : rect.Height();

  switch (nSBCode) {
    case SB_LINEDOWN:
      if (scrollPos < nMax) {
        // Hidden columns or rows take no scrolling.
        while (nTopLeft < nCount - 1 && size(nTopLeft) < 1) nTopLeft++;
        SetScrollPos32(nBar, scrollPos + size(nTopLeft));
        if (GetScrollPos32(nBar) != scrollPos) InvalidateRect(rect);
      }
      break;
    case SB_LINEUP:
      if (scrollPos > 0 && nTopLeft > nFixedCount) {
        int nToUse = nTopLeft - 1;
        while (nToUse > nFixedCount && size(nToUse) < 1) nToUse--;
        SetScrollPos32(nBar, std::max(0, scrollPos - size(nToUse)));
        InvalidateRect(rect);
      }
      break;
    case SB_PAGEDOWN:
      if (scrollPos < nMax) {
        SetScrollPos32(nBar, std::min(nMax, scrollPos + nPage));
        InvalidateRect(rect);
      }
      break;
    case SB_PAGEUP:
      if (scrollPos > 0) {
        SetScrollPos32(nBar, std::max(0, scrollPos - nPage));
        InvalidateRect(rect);
      }
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
      if (GetTopleftNonFixedCell() != idTopLeft) InvalidateRect(rect);
      break;
    case SB_TOP:
      if (scrollPos > 0) {
        SetScrollPos32(nBar, 0);
        Invalidate();
      }
      break;
    case SB_BOTTOM:
      if (scrollPos < nMax) {
        SetScrollPos32(nBar, nMax);
        Invalidate();
      }
      break;
    default:
      break;
  }
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  if (m_nRowsPerWheelNotch == -1) {
    const int nPagesScrolled = zDelta / 120;
    for (int i = 0; i < nPagesScrolled; i++) PostMessage(WM_VSCROLL, SB_PAGEUP, 0);
    for (int i = 0; i > nPagesScrolled; i--) PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  } else {
    const int nRowsScrolled = m_nRowsPerWheelNotch * zDelta / 120;
    for (int i = 0; i < nRowsScrolled; i++) PostMessage(WM_VSCROLL, SB_LINEUP, 0);
    for (int i = 0; i > nRowsScrolled; i--) PostMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  }
  return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

void CGridCtrl::EnsureVisible(int nRow, int nCol) {
  if (!m_bAllowDraw) return;
  CWnd* pFocusWnd = GetFocus();
  const HWND hFocusWnd = pFocusWnd->GetSafeHwnd();
  const CGridCellRange VisibleCells = GetVisibleNonFixedCellRange();

  int right = nCol - VisibleCells.GetMaxCol();
  int left = VisibleCells.GetMinCol() - nCol;
  int down = nRow - VisibleCells.GetMaxRow();
  int up = VisibleCells.GetMinRow() - nRow;

  for (int iColumnStart = VisibleCells.GetMaxCol() + 1; right > 0; right--, iColumnStart++) {
    if (GetColumnWidth(iColumnStart) > 0) SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  }
  for (int iColumnStart = VisibleCells.GetMinCol() - 1; left > 0; left--, iColumnStart--) {
    if (GetColumnWidth(iColumnStart) > 0) SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
  }
  for (int iRowStart = VisibleCells.GetMaxRow() + 1; down > 0; down--, iRowStart++) {
    if (GetRowHeight(iRowStart) > 0) SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  }
  for (int iRowStart = VisibleCells.GetMinRow() - 1; up > 0; up--, iRowStart--) {
    if (GetRowHeight(iRowStart) > 0) SendMessage(WM_VSCROLL, SB_LINEUP, 0);
  }

  // Positions need not fall on column or row starts (the end of the range clamps them), so the
  // counted lines may leave the cell still scrolled off to the left or the top.
  while (nCol >= m_nFixedCols && nCol < m_nCols && nCol < GetTopleftNonFixedCell().col) {
    const int nBefore = GetScrollPos32(SB_HORZ);
    SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    if (GetScrollPos32(SB_HORZ) == nBefore) break;
  }
  while (nRow >= m_nFixedRows && nRow < m_nRows && nRow < GetTopleftNonFixedCell().row) {
    const int nBefore = GetScrollPos32(SB_VERT);
    SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    if (GetScrollPos32(SB_VERT) == nBefore) break;
  }

  // One more line while only part of the cell shows. At the end of the range the position stops
  // moving, and so does this.
  CRect rectCell, rectWindow;
  if (GetCellRect(nRow, nCol, rectCell)) {
    GetClientRect(rectWindow);
    while (rectCell.right > rectWindow.right && rectCell.left > GetFixedColumnWidth() && IsVisibleHScroll()) {
      const int nBefore = GetScrollPos32(SB_HORZ);
      SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
      if (GetScrollPos32(SB_HORZ) == nBefore || !GetCellRect(nRow, nCol, rectCell)) break;
    }
    while (rectCell.bottom > rectWindow.bottom && rectCell.top > GetFixedRowHeight() && IsVisibleVScroll()) {
      const int nBefore = GetScrollPos32(SB_VERT);
      SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
      if (GetScrollPos32(SB_VERT) == nBefore || !GetCellRect(nRow, nCol, rectCell)) break;
    }
  }

  if (hFocusWnd != nullptr && ::IsWindow(hFocusWnd) && ::GetFocus() != hFocusWnd) ::SetFocus(hFocusWnd);
}

// ---- Automatic sizing ---------------------------------------------------------------------------

BOOL CGridCtrl::AutoSizeColumn(int nCol, UINT nAutoSizeStyle, BOOL bResetScroll) {
  if (nCol < 0 || nCol >= GetColumnCount()) return FALSE;
  if (GetColumnWidth(nCol) <= 0) return FALSE;
  CDC* pDC = GetDC();
  if (pDC == nullptr) return FALSE;

  if (nAutoSizeStyle == GVS_DEFAULT) nAutoSizeStyle = GetAutoSizeStyle();
  const int nStartRow = (nAutoSizeStyle & GVS_HEADER) ? 0 : GetFixedRowCount();
  const int nEndRow = (nAutoSizeStyle & GVS_DATA) ? GetRowCount() - 1 : GetFixedRowCount() - 1;

  if (GetVirtualMode()) SendCacheHintToParent(CGridCellRange(nStartRow, nCol, nEndRow, nCol));
  int nWidth = 0;
  for (int nRow = nStartRow; nRow <= nEndRow; nRow++) {
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr) continue;
    nWidth = std::max(nWidth, static_cast<int>(pCell->GetCellExtent(pDC).cx));
  }
  if (GetVirtualMode()) SendCacheHintToParent(CGridCellRange(-1, -1, -1, -1));

  m_arColWidths[nCol] = static_cast<UINT>(nWidth);
  ReleaseDC(pDC);
  if (bResetScroll) ResetScrollBars();
  return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow, BOOL bResetScroll) {
  if (nRow < 0 || nRow >= GetRowCount()) return FALSE;
  if (GetRowHeight(nRow) <= 0) return FALSE;
  CDC* pDC = GetDC();
  if (pDC == nullptr) return FALSE;

  if (GetVirtualMode()) SendCacheHintToParent(CGridCellRange(nRow, 0, nRow, GetColumnCount() - 1));
  int nHeight = 0;
  for (int nCol = 0; nCol < GetColumnCount(); nCol++) {
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr) continue;
    nHeight = std::max(nHeight, static_cast<int>(pCell->GetCellExtent(pDC).cy));
  }
  if (GetVirtualMode()) SendCacheHintToParent(CGridCellRange(-1, -1, -1, -1));

  m_arRowHeights[nRow] = static_cast<UINT>(nHeight);
  ReleaseDC(pDC);
  if (bResetScroll) ResetScrollBars();
  return TRUE;
}
