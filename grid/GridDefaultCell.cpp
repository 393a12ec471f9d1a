// CGridDefaultCell: a grid's per-kind defaults, with the font and the cell size measured from it.
#include "GridDefaultCell.h"

#include <cstddef>
#include <cstring>

IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

CGridDefaultCell::CGridDefaultCell() : m_nWidth(30), m_nHeight(10), m_dwStyle(0) {
  m_nFormat = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  m_crFgClr = CLR_DEFAULT;
  m_crBkClr = CLR_DEFAULT;

  // The record without its last member (500 bytes), which every system version accepts.
  NONCLIENTMETRICS ncm;
  std::memset(&ncm, 0, sizeof(ncm));
  ncm.cbSize = offsetof(NONCLIENTMETRICS, iPaddedBorderWidth);
  if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) SetFont(&ncm.lfMessageFont);
}

CGridDefaultCell::~CGridDefaultCell() { m_Font.DeleteObject(); }

void CGridDefaultCell::SetFont(const LOGFONT* plf) {
  if (plf == nullptr) return;
  m_Font.DeleteObject();
  m_Font.CreateFontIndirect(plf);
  CGridCell::SetFont(plf);

  HDC hDC = ::GetDC(nullptr);
  if (hDC == nullptr) {
    SetMargin(3);
    m_nWidth = 40;
    m_nHeight = 16;
    return;
  }
  HGDIOBJ hOldFont = ::SelectObject(hDC, m_Font.GetSafeHandle());
  SIZE size;
  ::GetTextExtentPoint32(hDC, _T(" "), 1, &size);
  SetMargin(size.cx);
  ::GetTextExtentPoint32(hDC, _T(" XXXXXXXXXXXX "), 14, &size);
  m_nWidth = size.cx;
  m_nHeight = size.cy * 3 / 2;
  ::SelectObject(hDC, hOldFont);
  ::ReleaseDC(nullptr, hDC);
}
