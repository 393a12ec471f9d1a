// CGridCellBase: the shared half of every grid cell (state, default cell, copying, drawing,
// measuring and printing).
#include "GridCellBase.h"

#include "GridCtrl.h"
#include "GridDefaultCell.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

namespace {

// The width of image nImage of the grid's list, or -1 when there is no such image.
int ImageWidth(const CGridCtrl* pGrid, int nImage, int* pHeight = nullptr) {
  if (pGrid == nullptr || nImage < 0) return -1;
  CImageList* pImageList = pGrid->GetImageList();
  IMAGEINFO info;
  if (pImageList == nullptr || !pImageList->GetImageInfo(nImage, &info)) return -1;
  if (pHeight != nullptr) *pHeight = info.rcImage.bottom - info.rcImage.top;
  return info.rcImage.right - info.rcImage.left;
}

// Fills rect with one colour; a brush the system refuses skips the fill and drawing goes on.
void FillWithColour(CDC* pDC, const CRect& rect, COLORREF clr) {
  CBrush brush;
  if (brush.CreateSolidBrush(clr)) pDC->FillRect(rect, &brush);
}

// The raised edge of a fixed cell: highlight along the top and left, dark shadow along the right
// and bottom. rect shrinks by the edge.
void DrawRaisedEdge(CDC* pDC, CRect& rect) {
  CPen lightPen, darkPen;
  lightPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHIGHLIGHT));
  darkPen.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
  CPen* pOldPen = pDC->GetCurrentPen();
  pDC->SelectObject(&lightPen);
  pDC->MoveTo(rect.right, rect.top);
  pDC->LineTo(rect.left, rect.top);
  pDC->LineTo(rect.left, rect.bottom);
  pDC->SelectObject(&darkPen);
  pDC->MoveTo(rect.right, rect.top);
  pDC->LineTo(rect.right, rect.bottom);
  pDC->LineTo(rect.left, rect.bottom);
  pDC->SelectObject(pOldPen);
  rect.DeflateRect(1, 1);
}

}  // namespace

CGridCellBase* CGridCellBase::GetDefaultCell() const {
  CGridCtrl* pGrid = GetGrid();
  if (pGrid == nullptr) return nullptr;
  return pGrid->GetDefaultCell(IsFixedRow(), IsFixedCol());
}

void CGridCellBase::Assign(const CGridCellBase& cell) {
  if (this == &cell) return;
  SetGrid(cell.GetGrid());
  SetText(cell.GetText());
  SetImage(cell.GetImage());
  SetData(cell.GetData());
  SetState(cell.GetState());
  SetFormat(cell.GetFormat());
  SetTextColour(cell.GetTextColour());
  SetBackColour(cell.GetBackColour());
  SetFont(cell.IsDefaultFont() ? nullptr : cell.GetFont());
  SetMargin(cell.GetMargin());
}

BOOL CGridCellBase::OnSetCursor() {
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  return TRUE;
}

void CGridCellBase::DrawFixedCellEdge(CDC* pDC, int nRow, int nCol, CRect& rect) {
  CGridCtrl* pGrid = GetGrid();
  const CGridCellId focus = pGrid->GetFocusCell();
  if (pGrid->GetTrackFocusCell() && pGrid->IsValid(focus) && (focus.row == nRow || focus.col == nCol)) {
    rect.right++;
    rect.bottom++;
    pDC->DrawEdge(rect, BDR_SUNKENINNER, BF_RECT);
    rect.DeflateRect(1, 1);
  } else {
    DrawRaisedEdge(pDC, rect);
  }
}

void CGridCellBase::DrawSortArrow(CDC* pDC, CRect& rect) {
  const int nOffset = 2;
  CSize size = pDC->GetTextExtent(_T("M"), 1);
  size.cy -= nOffset * 2;
  if (size.cy >= rect.Height()) size.cy = rect.Height() - nOffset * 2;
  size.cx = size.cy;
  const LOGFONT* plf = GetFont();
  const BOOL bVertical = plf != nullptr && plf->lfEscapement == 900;
  if (rect.left + size.cx >= rect.right) return;

  const int y = rect.bottom - size.cy - nOffset;
  const int x = bVertical ? (rect.right + rect.left - size.cx) / 2 : rect.right - size.cx;
  CPen penShadow, penLight;
  penShadow.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_3DSHADOW));
  penLight.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_3DHIGHLIGHT));
  CPen* pOldPen = pDC->GetCurrentPen();
  CGridCtrl* pGrid = GetGrid();
  // The same closed line twice: in the light pen one pixel right and down, then in the shadow pen.
  for (int pass = 0; pass < 2; ++pass) {
    const int d = pass == 0 ? 1 : 0;
    pDC->SelectObject(pass == 0 ? &penLight : &penShadow);
    if (pGrid->GetSortAscending()) {
      pDC->MoveTo(x + d, y + size.cy + d);
      pDC->LineTo(x + size.cx / 2 + d, y + d);
      pDC->LineTo(x + size.cx + d, y + size.cy + d);
      pDC->LineTo(x + d, y + size.cy + d);
    } else {
      pDC->MoveTo(x + d, y + d);
      pDC->LineTo(x + size.cx / 2 + d, y + size.cy + d);
      pDC->LineTo(x + size.cx + d, y + d);
      pDC->LineTo(x + d, y + d);
    }
  }
  pDC->SelectObject(pOldPen);
  if (!bVertical) rect.right -= size.cy;
}

BOOL CGridCellBase::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  CGridCtrl* pGrid = GetGrid();
  if (pGrid == nullptr || pDC == nullptr) return FALSE;
  if (rect.Width() <= 0 || rect.Height() <= 0) return FALSE;

  const int nSavedDC = pDC->SaveDC();
  pDC->SetBkMode(TRANSPARENT);
  CGridCellBase* pDefaultCell = GetDefaultCell();
  if (pDefaultCell == nullptr) {
    pDC->RestoreDC(nSavedDC);
    return FALSE;
  }

  COLORREF crText = GetTextColour() == CLR_DEFAULT ? pDefaultCell->GetTextColour() : GetTextColour();
  COLORREF crBack;
  if (GetBackColour() == CLR_DEFAULT) {
    crBack = pDefaultCell->GetBackColour();
  } else {
    bEraseBkgnd = TRUE;
    crBack = GetBackColour();
  }

  const BOOL bGridLines = pGrid->GetGridLines() != GVL_NONE;
  if ((GetState() & GVIS_FOCUSED) || (GetState() & GVIS_DROPHILITED)) {
    if (GetState() & GVIS_SELECTED) {
      crBack = ::GetSysColor(COLOR_HIGHLIGHT);
      crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
      bEraseBkgnd = TRUE;
    }
    rect.right++;
    rect.bottom++;
    if (bEraseBkgnd) FillWithColour(pDC, rect, crBack);
    if (bGridLines) {
      rect.right--;
      rect.bottom--;
    }
    if (pGrid->GetFrameFocusCell()) {
      CBrush frameBrush;
      if (frameBrush.CreateSolidBrush(crText)) pDC->FrameRect(rect, &frameBrush);
    }
    pDC->SetTextColor(crText);
    if (!bGridLines) {
      rect.right--;
      rect.bottom--;
    }
  } else if (GetState() & GVIS_SELECTED) {
    rect.right++;
    rect.bottom++;
    pDC->FillSolidRect(rect, ::GetSysColor(COLOR_HIGHLIGHT));
    rect.right--;
    rect.bottom--;
    pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    if (bEraseBkgnd) {
      rect.right++;
      rect.bottom++;
      FillWithColour(pDC, rect, crBack);
      rect.right--;
      rect.bottom--;
    }
    pDC->SetTextColor(crText);
  }

  if (IsFixed() && bGridLines) DrawFixedCellEdge(pDC, nRow, nCol, rect);

  // A printer DC gets the printing font from the print routines instead.
  if (!pDC->IsPrinting()) {
    CFont* pFont = GetFontObject();
    if (pFont != nullptr) pDC->SelectObject(pFont);
  }

  const int nMargin = static_cast<int>(GetMargin());
  rect.DeflateRect(nMargin, nMargin);
  rect.right++;
  rect.bottom++;

  const int nImageWidth = ImageWidth(pGrid, GetImage());
  if (nImageWidth >= 0 && rect.left + nImageWidth <= rect.right) {
    pGrid->GetImageList()->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);
  }

  if (nRow == 0 && pGrid->GetSortColumn() == nCol) DrawSortArrow(pDC, rect);

  GetTextRect(rect);
  rect.right++;
  rect.bottom++;

  // Tabs and 0x81 would draw as boxes; they show as blanks while the text keeps them.
  CString strText = GetText();
  strText.Replace(_T('\t'), _T(' '));
  strText.Replace(static_cast<TCHAR>(0x81), _T(' '));
  pDC->DrawText(strText, strText.GetLength(), rect, GetFormat() | DT_NOPREFIX);

  pDC->RestoreDC(nSavedDC);
  return TRUE;
}

BOOL CGridCellBase::GetTextRect(LPRECT pRect) {
  const int nImageWidth = ImageWidth(GetGrid(), GetImage());
  if (nImageWidth >= 0) pRect->left += static_cast<int>(GetMargin()) + nImageWidth + 1;
  return TRUE;
}

CSize CGridCellBase::GetTextExtent(LPCTSTR szText, CDC* pDC) {
  CGridCtrl* pGrid = GetGrid();
  auto* pDefaultCell = dynamic_cast<CGridDefaultCell*>(GetDefaultCell());
  const CSize defaultSize =
      pDefaultCell != nullptr ? CSize(pDefaultCell->GetWidth(), pDefaultCell->GetHeight()) : CSize(0, 0);
  if (szText == nullptr) return defaultSize;

  BOOL bReleaseDC = FALSE;
  if (pDC == nullptr) {
    if (pGrid == nullptr || pGrid->GetSafeHwnd() == nullptr) return defaultSize;
    pDC = pGrid->GetDC();
    if (pDC == nullptr) return defaultSize;
    bReleaseDC = TRUE;
  }

  CFont* pOldFont = nullptr;
  CFont* pFont = GetFontObject();
  if (pFont != nullptr) pOldFont = pDC->SelectObject(pFont);

  CSize size;
  const DWORD nFormat = GetFormat();
  if ((nFormat & DT_WORDBREAK) && !(nFormat & DT_SINGLELINE)) {
    // The widest line sets the width DrawText may wrap in.
    CString strText = szText;
    int nMaxWidth = 0;
    int nStart = 0;
    for (;;) {
      const int nEnd = strText.Find(_T('\n'), nStart);
      const CString strLine = strText.Mid(nStart, (nEnd < 0 ? strText.GetLength() : nEnd) - nStart);
      nMaxWidth = std::max(nMaxWidth, static_cast<int>(pDC->GetTextExtent(strLine).cx));
      if (nEnd < 0) break;
      nStart = nEnd + 1;
    }
    CRect rect(0, 0, nMaxWidth + 1, 0);
    pDC->DrawText(szText, -1, rect, nFormat | DT_CALCRECT);
    size = rect.Size();
  } else {
    size = pDC->GetTextExtent(szText, lstrlen(szText));
  }

  if (pOldFont != nullptr) pDC->SelectObject(pOldFont);
  if (bReleaseDC) pGrid->ReleaseDC(pDC);

  const int nMargin = static_cast<int>(GetMargin());
  size.cx += nMargin * 2;
  size.cy += nMargin * 2;

  const LOGFONT* plf = GetFont();
  if (plf != nullptr && (plf->lfEscapement == 900 || plf->lfEscapement == -900)) {
    const int nWidth = size.cx;
    size.cx = size.cy;
    size.cy = nWidth + nMargin * 4;
  }
  return size;
}

CSize CGridCellBase::GetCellExtent(CDC* pDC) {
  const CSize textSize = GetTextExtent(GetText(), pDC);
  CSize imageSize(0, 0);
  int nImageHeight = 0;
  const int nImageWidth = ImageWidth(GetGrid(), GetImage(), &nImageHeight);
  if (nImageWidth >= 0) {
    const int nMargin = static_cast<int>(GetMargin());
    imageSize.cx = nImageWidth;
    if (textSize.cx > 2 * nMargin) imageSize.cx += nMargin;
    imageSize.cy = nImageHeight + 2 * nMargin;
  }
  CSize size(textSize.cx + imageSize.cx + 1, std::max(textSize.cy, imageSize.cy) + 1);
  if (IsFixed()) {
    size.cx++;
    size.cy++;
  }
  return size;
}

BOOL CGridCellBase::PrintCell(CDC* pDC, int /*nRow*/, int /*nCol*/, CRect rect) {
  CGridCtrl* pGrid = GetGrid();
  if (pGrid == nullptr || pDC == nullptr || rect.IsRectEmpty()) return FALSE;

  const int nSavedDC = pDC->SaveDC();
  pDC->SetBkMode(TRANSPARENT);

  COLORREF crText = RGB(0, 0, 0);
  if (pGrid->GetShadedPrintOut()) {
    CGridCellBase* pDefaultCell = GetDefaultCell();
    if (pDefaultCell == nullptr) {
      pDC->RestoreDC(nSavedDC);
      return FALSE;
    }
    COLORREF crBack = CLR_DEFAULT;
    if (IsFixed()) {
      crBack = GetBackColour() != CLR_DEFAULT ? GetBackColour() : pDefaultCell->GetBackColour();
    } else if (GetBackColour() != CLR_DEFAULT && GetBackColour() != pDefaultCell->GetBackColour()) {
      crBack = GetBackColour();
    }
    crText = GetTextColour() != CLR_DEFAULT ? GetTextColour() : pDefaultCell->GetTextColour();
    // A two-colour printer shows colour text as grey levels, so it is mapped to the luminance.
    if (crBack == CLR_DEFAULT && pDC->GetDeviceCaps(NUMCOLORS) == 2) {
      crText = RGB(static_cast<int>(GetRValue(crText) * 0.30), static_cast<int>(GetGValue(crText) * 0.59),
                   static_cast<int>(GetBValue(crText) * 0.11));
    }
    if (crBack != CLR_DEFAULT) {
      CRect fillRect = rect;
      fillRect.right++;
      fillRect.bottom++;
      FillWithColour(pDC, fillRect, crBack);
    }
  }

  pDC->SetTextColor(crText);
  CFont* pFont = GetFontObject();
  if (pFont != nullptr) pDC->SelectObject(pFont);

  if (IsFixed() && pGrid->GetGridLines() != GVL_NONE) DrawRaisedEdge(pDC, rect);

  const int nMargin = static_cast<int>(GetMargin());
  rect.DeflateRect(nMargin, 0);
  const int nImageWidth = ImageWidth(pGrid, GetImage());
  if (nImageWidth >= 0) {
    pGrid->GetImageList()->Draw(pDC, GetImage(), rect.TopLeft(), ILD_NORMAL);
    rect.left += nImageWidth + nMargin;
  }

  CString strText = GetText();
  pDC->DrawText(strText, strText.GetLength(), rect, GetFormat() | DT_NOPREFIX);
  pDC->RestoreDC(nSavedDC);
  return TRUE;
}
