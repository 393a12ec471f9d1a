// CGridCtrl: printing the cells across pages through the framework's print protocol (begin, one
// page at a time, end), with a header of titles and a footer of page number and date.
#include "GridCtrl.h"

#include <afxdlgs.h>

#include "framework/PrintInfo.h"

#include <algorithm>

namespace {

// Splits sizes[first..count) into pages of at most nPageSize; an item longer than a page gets a
// page of its own, so no page is empty. Returns the first index of page nPage (count past the
// last page) and the number of pages in *pnPages.
int SplitIntoPages(const CArray<UINT, UINT>& sizes, int first, int count, int nPageSize, int nPage,
                   int* pnPages = nullptr) {
  int nPages = 1;
  int nStart = first;
  int nTotal = 0;
  int nResult = nPage == 0 ? first : count;
  for (int i = first; i < count; i++) {
    const int nSize = static_cast<int>(sizes[i]);
    if (nTotal + nSize > nPageSize && i > nStart) {
      if (nPages++ == nPage) nResult = i;
      nStart = i;
      nTotal = 0;
    }
    nTotal += nSize;
  }
  if (pnPages != nullptr) *pnPages = nPages;
  return nResult;
}

// The bold version of the printer font, for the header and the footer.
void MakeBoldFont(CFont& printerFont, CFont& boldFont) {
  LOGFONT lf;
  if (printerFont.GetLogFont(&lf) == 0) return;
  lf.lfWeight = FW_BOLD;
  boldFont.CreateFontIndirect(&lf);
}

}  // namespace

void CGridCtrl::SetPrintMarginInfo(int nHeaderHeight, int nFooterHeight, int nLeftMargin, int nRightMargin,
                                   int nTopMargin, int nBottomMargin, int nGap) {
  if (nHeaderHeight >= 0) m_nHeaderHeight = nHeaderHeight;
  if (nFooterHeight >= 0) m_nFooterHeight = nFooterHeight;
  if (nLeftMargin >= 0) m_nLeftMargin = nLeftMargin;
  if (nRightMargin >= 0) m_nRightMargin = nRightMargin;
  if (nTopMargin >= 0) m_nTopMargin = nTopMargin;
  if (nBottomMargin >= 0) m_nBottomMargin = nBottomMargin;
  if (nGap >= 0) m_nGap = nGap;
}

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
  if (pDC == nullptr || pInfo == nullptr) return;
  CDC* pCurrentDC = GetDC();
  if (pCurrentDC == nullptr) return;
  const CSize paperPixelsPerInch(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
  const CSize screenPixelsPerInch(pCurrentDC->GetDeviceCaps(LOGPIXELSX),
                                  pCurrentDC->GetDeviceCaps(LOGPIXELSY));
  ReleaseDC(pCurrentDC);

  m_PrinterFont.DeleteObject();
  m_PrinterFont.CreateFont(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                           CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, _T("Arial"));
  CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
  // 52 of the 53 letters; the average of them is the character width of the margins.
  m_CharSize = pDC->GetTextExtent(_T("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ"), 52);
  m_CharSize.cx /= 52;
  pDC->SelectObject(pOldFont);

  m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
  // A device without a page size or a resolution has nothing to lay out on.
  if (m_PaperSize.cx <= 0 || m_PaperSize.cy <= 0 || paperPixelsPerInch.cx <= 0 ||
      paperPixelsPerInch.cy <= 0) {
    m_nNumPages = 0;
    pInfo->SetMaxPage(0);
    return;
  }
  const int nMargins = (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx;
  if (m_bWysiwygPrinting) {
    m_LogicalPageSize.cx = m_PaperSize.cx * screenPixelsPerInch.cx / paperPixelsPerInch.cx * 3 / 4;
    m_LogicalPageSize.cy = m_PaperSize.cy * screenPixelsPerInch.cy / paperPixelsPerInch.cy * 3 / 4;
  } else {
    // The grid's whole width fits the paper.
    m_LogicalPageSize.cx = GetVirtualWidth() + nMargins;
    m_LogicalPageSize.cy = MulDiv(m_LogicalPageSize.cx, m_PaperSize.cy, m_PaperSize.cx);
  }

  m_nPageHeight = m_LogicalPageSize.cy - GetFixedRowHeight() -
                  (m_nHeaderHeight + m_nFooterHeight + 2 * m_nGap) * m_CharSize.cy;
  SplitIntoPages(m_arRowHeights, m_nFixedRows, m_nRows, m_nPageHeight, 0, &m_nNumPages);

  m_nPageWidth = m_LogicalPageSize.cx - GetFixedColumnWidth() - nMargins;
  m_nPageMultiplier = 1;
  if (m_bWysiwygPrinting) {
    SplitIntoPages(m_arColWidths, m_nFixedCols, m_nCols, m_nPageWidth, 0, &m_nPageMultiplier);
    m_nNumPages *= m_nPageMultiplier;
  }

  pInfo->SetMaxPage(static_cast<UINT>(m_nNumPages));
  pInfo->m_nCurPage = 1;
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  if (pDC == nullptr || pInfo == nullptr || m_PrinterFont.GetSafeHandle() == nullptr || m_nNumPages <= 0)
    return;
  const int nPage = static_cast<int>(pInfo->m_nCurPage) - 1;
  if (nPage < 0 || nPage >= m_nNumPages) return;

  CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
  pDC->SetMapMode(MM_ANISOTROPIC);
  pDC->SetWindowExt(m_LogicalPageSize);
  pDC->SetViewportExt(m_PaperSize);
  pDC->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx, 0);

  const int nPrintWidth = m_LogicalPageSize.cx - (m_nLeftMargin + m_nRightMargin) * m_CharSize.cx;
  pInfo->m_rectDraw.SetRect(0, 0, nPrintWidth, m_nHeaderHeight * m_CharSize.cy);
  PrintHeader(pDC, pInfo);

  // The cells start below the header, the gap and the column headings.
  pDC->OffsetWindowOrg(0, -(m_nHeaderHeight + m_nGap) * m_CharSize.cy);
  pDC->OffsetWindowOrg(0, -GetFixedRowHeight());

  const int nRowPage = nPage / m_nPageMultiplier;
  const int nColPage = nPage % m_nPageMultiplier;
  m_nCurrPrintRow = SplitIntoPages(m_arRowHeights, m_nFixedRows, m_nRows, m_nPageHeight, nRowPage);
  const int nEndRow = SplitIntoPages(m_arRowHeights, m_nFixedRows, m_nRows, m_nPageHeight, nRowPage + 1);
  m_nPrintColumn = m_nFixedCols;
  int nEndCol = m_nCols;
  if (m_bWysiwygPrinting) {
    m_nPrintColumn = SplitIntoPages(m_arColWidths, m_nFixedCols, m_nCols, m_nPageWidth, nColPage);
    nEndCol = SplitIntoPages(m_arColWidths, m_nFixedCols, m_nCols, m_nPageWidth, nColPage + 1);
  }

  auto printCell = [&](int row, int col, CRect& rect) {
    const int nWidth = GetColumnWidth(col);
    if (nWidth <= 0) return;
    rect.left = rect.right + 1;
    rect.right = rect.left + nWidth - 1;
    CGridCellBase* pCell = GetCell(row, col);
    if (pCell != nullptr) pCell->PrintCell(pDC, row, col, rect);
  };
  auto printRow = [&](int row, CRect& rect) {
    const int nHeight = GetRowHeight(row);
    if (nHeight <= 0) return;
    rect.top = rect.bottom + 1;
    rect.bottom = rect.top + nHeight - 1;
    rect.right = -1;
    for (int col = 0; col < m_nFixedCols; col++) printCell(row, col, rect);
    for (int col = m_nPrintColumn; col < nEndCol; col++) printCell(row, col, rect);
  };

  CRect rect;
  rect.bottom = -1;
  for (int row = m_nCurrPrintRow; row < nEndRow; row++) printRow(row, rect);
  rect.bottom = -GetFixedRowHeight() - 1;
  for (int row = 0; row < m_nFixedRows; row++) printRow(row, rect);

  pDC->SetWindowOrg(-m_nLeftMargin * m_CharSize.cx, 0);
  const int nFooterTop =
      (m_nHeaderHeight + 2 * m_nGap) * m_CharSize.cy + GetFixedRowHeight() + std::max(m_nPageHeight, 0);
  pInfo->m_rectDraw.SetRect(0, nFooterTop, nPrintWidth, nFooterTop + m_nFooterHeight * m_CharSize.cy);
  PrintFooter(pDC, pInfo);

  pDC->SetWindowOrg(0, 0);
  pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo) {
  CRect rect(pInfo->m_rectDraw);
  CFont boldFont;
  MakeBoldFont(m_PrinterFont, boldFont);
  CFont* pOldFont = boldFont.GetSafeHandle() != nullptr ? pDC->SelectObject(&boldFont) : nullptr;
  const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);

  // The first window up the parents that has a title, centred; the program's title on the right.
  CString strTitle;
  for (CWnd* pParent = GetParent(); pParent != nullptr; pParent = pParent->GetParent()) {
    pParent->GetWindowText(strTitle);
    if (!strTitle.IsEmpty()) break;
  }
  pDC->DrawText(strTitle, rect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
  CString strAppTitle;
  strAppTitle.LoadString(AFX_IDS_APP_TITLE);
  pDC->DrawText(strAppTitle, rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);

  pDC->SetBkMode(nOldBkMode);
  if (pOldFont != nullptr) pDC->SelectObject(pOldFont);
  pDC->SelectStockObject(BLACK_PEN);
  pDC->MoveTo(rect.left, rect.bottom);
  pDC->LineTo(rect.right, rect.bottom);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo) {
  CRect rect(pInfo->m_rectDraw);
  pDC->SelectStockObject(BLACK_PEN);
  pDC->MoveTo(rect.left, rect.top);
  pDC->LineTo(rect.right, rect.top);

  CFont boldFont;
  MakeBoldFont(m_PrinterFont, boldFont);
  CFont* pOldFont = boldFont.GetSafeHandle() != nullptr ? pDC->SelectObject(&boldFont) : nullptr;
  const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
  const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);

  CString strPage;
  strPage.Format(_T("Page %d of %d"), static_cast<int>(pInfo->m_nCurPage), m_nNumPages);
  pDC->DrawText(strPage, rect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
  const CString strDate = CTime::GetCurrentTime().Format(_T("%c"));
  pDC->DrawText(strDate, rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);

  pDC->SetBkMode(nOldBkMode);
  pDC->SetTextColor(crOldText);
  if (pOldFont != nullptr) pDC->SelectObject(pOldFont);
}

void CGridCtrl::OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) { m_PrinterFont.DeleteObject(); }
