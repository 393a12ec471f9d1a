// The shape set base: row height, header and page rectangles, and the figure mapping that turns
// top-strip drawings to the other positions.
#include "TabShapeSet.h"

#include <algorithm>

#include "ScopedFont.h"
#include "ScopedPen.h"
#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"

CXTPTabShapeSet::CXTPTabShapeSet() { m_rcHeaderMargin.SetRectEmpty(); }

CXTPTabShapeSet::~CXTPTabShapeSet() = default;

CXTPTabColorScheme* CXTPTabShapeSet::GetColorScheme() const { return m_pPainter->GetColorScheme(); }

int CXTPTabShapeSet::GetPosition() const { return m_pPainter->GetPosition(); }

void CXTPTabShapeSet::RefreshMetrics() {
  CDC dc;
  if (!dc.CreateCompatibleDC(nullptr)) return;
  CFont* pFont = m_pPainter != nullptr ? m_pPainter->GetFont() : nullptr;
  int nHeight = 0;
  if (pFont != nullptr && pFont->GetSafeHandle() != nullptr) {
    CXTPScopedFont font(&dc, pFont);
    nHeight = dc.GetTextExtent(_T(" "), 1).cy;
  } else {
    nHeight = dc.GetTextExtent(_T(" "), 1).cy;
  }
  m_nButtonHeight = nHeight >= 15 ? nHeight + 3 : 18;
}

CRect CXTPTabShapeSet::GetHeaderMargin() const { return m_rcHeaderMargin; }

CRect CXTPTabShapeSet::GetClientMargin() const { return m_pPainter->m_rcClientMargin; }

int CXTPTabShapeSet::GetButtonLength(CDC* pDC, CXTPTabManagerItem* pItem) {
  return m_pPainter->DrawSingleButton(pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

int CXTPTabShapeSet::GetButtonHeight(const CXTPTabManager* pTabManager) const {
  const CRect& rcMargin = m_pPainter->m_rcButtonMargin;
  int nHeight = rcMargin.top + rcMargin.bottom + m_nButtonHeight;
  CXTPTabManager* pManager = const_cast<CXTPTabManager*>(pTabManager);
  if (pManager != nullptr &&
      pManager->DrawItemIcon(nullptr, CPoint(0, 0), nullptr, FALSE, m_pPainter->m_szImage)) {
    const CSize& szImage = m_pPainter->m_szImage;
    nHeight = std::max(nHeight, static_cast<int>(std::max(szImage.cx, szImage.cy) + rcMargin.top + 4));
  }
  return nHeight;
}

CRect CXTPTabShapeSet::GetHeaderRect(CRect rcControl, const CXTPTabManager* pTabManager) const {
  const int nRows = pTabManager->GetRowCount();
  int nThickness = nRows * GetButtonHeight(pTabManager) + (nRows - 1) * m_nRowOverlap;
  if (pTabManager->GetLayout() == xtpTabLayoutRotated) {
    for (int i = 0; i < pTabManager->GetItemCount(); ++i)
      nThickness = std::max(nThickness, pTabManager->GetItem(i)->GetLength());
  }
  const CRect rcMargin = GetHeaderMargin();
  nThickness += rcMargin.top + rcMargin.bottom;
  CRect rc(rcControl);
  switch (pTabManager->GetPosition()) {
    case xtpTabPositionLeft:
      rc.right = rc.left + nThickness;
      break;
    case xtpTabPositionBottom:
      rc.top = rc.bottom - nThickness;
      break;
    case xtpTabPositionRight:
      rc.left = rc.right - nThickness;
      break;
    default:
      rc.bottom = rc.top + nThickness;
      break;
  }
  return rc;
}

CRect CXTPTabShapeSet::GetPageRect(CRect rcControl, const CXTPTabManager* pTabManager) const {
  const CRect rcHeader = GetHeaderRect(rcControl, pTabManager);
  CRect rc(rcControl);
  switch (pTabManager->GetPosition()) {
    case xtpTabPositionLeft:
      rc.left = rcHeader.right - 1;
      break;
    case xtpTabPositionBottom:
      rc.bottom = rcHeader.top + 1;
      break;
    case xtpTabPositionRight:
      rc.right = rcHeader.left + 1;
      break;
    default:
      rc.top = rcHeader.bottom - 1;
      break;
  }
  return rc;
}

void CXTPTabShapeSet::DrawTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcControl) {
  m_pPainter->DrawTabControlEx(pTabManager, pDC, rcControl);
}

CRect CXTPTabShapeSet::DrawTabControlBackground(CXTPTabManager* pTabManager, CDC* /*pDC*/, CRect rcControl) {
  return GetHeaderRect(rcControl, pTabManager);
}

void CXTPTabShapeSet::RepositionTabControl(CXTPTabManager* pTabManager, CDC* pDC, CRect rcClient) {
  m_pPainter->RepositionTabControlEx(pTabManager, pDC, rcClient);
}

void CXTPTabShapeSet::AdjustClientRect(CXTPTabManager* pTabManager, CRect& rcClient) {
  const int nPosition = pTabManager->GetPosition();
  rcClient.DeflateRect(CXTPTabPainter::RotateMargin(m_pPainter->m_rcControlMargin, nPosition));
  rcClient = GetPageRect(rcClient, pTabManager);
  rcClient.DeflateRect(GetClientMargin());
  if (m_pPainter->m_nPageFrame == 0)
    rcClient.DeflateRect(2, 2, 2, 2);
  else if (m_pPainter->m_nPageFrame == 1)
    rcClient.DeflateRect(CXTPTabPainter::RotateMargin(CRect(0, 0, 0, 2), nPosition));
}

void CXTPTabShapeSet::DrawSingleButton(CDC* /*pDC*/, CXTPTabManagerItem* /*pItem*/) {}

void CXTPTabShapeSet::DrawClientFrame(CDC* pDC, CRect& rcClient, int nSide) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  if (!m_pPainter->m_bClientFrame) {
    if (nSide == 1)
      rcClient.InflateRect(2, 2);
    else if (nSide == 2 || nSide == 3)
      pDC->FillSolidRect(rcClient, pScheme->m_clrFace);
    return;
  }
  if (nSide == 0) {
    pDC->Draw3dRect(rcClient, pScheme->m_clrFrame, pScheme->m_clrFrame);
    CRect rc(rcClient);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, pScheme->m_clrFace, pScheme->m_clrFace);
  } else if (nSide == 1) {
    rcClient.top -= 1;
  } else if (nSide == 2) {
    pDC->FillSolidRect(rcClient.right - 1, rcClient.top, 1, rcClient.Height(), pScheme->m_clrSelectedItem);
  } else if (nSide == 3) {
    pDC->FillSolidRect(rcClient.left, rcClient.bottom - 1, rcClient.Width(), 1, pScheme->m_clrSelectedItem);
  }
}

int CXTPTabShapeSet::GetSupportedColorSchemes() const {
  return xtpTabColorDefault | xtpTabColorFlat | xtpTabColorGradient | xtpTabColorVisualStyle |
         xtpTabColorThemedGradient;
}

int CXTPTabShapeSet::GetDefaultColorScheme() const { return xtpTabColorDefault; }

void CXTPTabShapeSet::DrawPageFrame(CDC* pDC, CXTPTabManager* pTabManager, CRect rcPage) {
  CXTPTabColorScheme* pScheme = GetColorScheme();
  if (m_pPainter->m_nPageFrame == 0) {
    pScheme->FillPageArea(pDC, rcPage, pTabManager);
    DrawFrame(pDC, rcPage, pScheme->m_clrHighlight, pScheme->m_clrFrame);
  } else if (m_pPainter->m_nPageFrame == 1) {
    CXTPTabFigure figure(pDC, rcPage, GetPosition());
    const CRect rc = figure.GetCanonicalRect();
    figure.HLine(rc.left, rc.top, rc.Width(), pScheme->m_clrFrame);
  }
}

void PASCAL CXTPTabShapeSet::DrawFrame(CDC* pDC, const CRect& rc, COLORREF clrTopLeft,
                                       COLORREF clrBottomRight) {
  if (rc.IsRectEmpty()) return;
  if (clrTopLeft != COLORREF(-1)) {
    pDC->FillSolidRect(rc.left, rc.top, rc.Width() - 1, 1, clrTopLeft);
    pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height() - 1, clrTopLeft);
  }
  if (clrBottomRight != COLORREF(-1)) {
    pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrBottomRight);
    pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrBottomRight);
  }
}

void PASCAL CXTPTabShapeSet::SetHeaderRect(CXTPTabManager* pTabManager, const CRect& rc) {
  pTabManager->m_rcHeaderRect = rc;
}

void PASCAL CXTPTabShapeSet::SetItemRect(CXTPTabManagerItem* pItem, const CRect& rc) { pItem->m_rcItem = rc; }

void PASCAL CXTPTabShapeSet::SetItemLength(CXTPTabManagerItem* pItem, int nLength, int nIdealLength) {
  pItem->m_nLength = nLength;
  pItem->m_nIdealLength = nIdealLength;
}

// ---- figures ---------------------------------------------------------------------------------------

CXTPTabFigure::CXTPTabFigure(CDC* pDC, CRect rcDevice, int nPosition)
    : m_pDC(pDC), m_rcDevice(rcDevice), m_nPosition(nPosition) {
  if (nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight)
    m_rcCanonical.SetRect(rcDevice.top, rcDevice.left, rcDevice.bottom, rcDevice.right);
  else
    m_rcCanonical = rcDevice;
}

CPoint CXTPTabFigure::Map(int x, int y) const {
  switch (m_nPosition) {
    case xtpTabPositionBottom:
      return CPoint(x, m_rcDevice.top + m_rcDevice.bottom - y);
    case xtpTabPositionLeft:
      return CPoint(y, x);
    case xtpTabPositionRight:
      return CPoint(m_rcDevice.left + m_rcDevice.right - y, x);
    default:
      return CPoint(x, y);
  }
}

CPoint CXTPTabFigure::MapPixel(int x, int y) const {
  switch (m_nPosition) {
    case xtpTabPositionBottom:
      return CPoint(x, m_rcDevice.top + m_rcDevice.bottom - 1 - y);
    case xtpTabPositionLeft:
      return CPoint(y, x);
    case xtpTabPositionRight:
      return CPoint(m_rcDevice.left + m_rcDevice.right - 1 - y, x);
    default:
      return CPoint(x, y);
  }
}

CRect CXTPTabFigure::MapRect(const CRect& rc) const {
  const CPoint pt1 = Map(rc.left, rc.top), pt2 = Map(rc.right, rc.bottom);
  CRect rcMapped(pt1, pt2);
  rcMapped.NormalizeRect();
  return rcMapped;
}

void CXTPTabFigure::FillRect(int x, int y, int cx, int cy, COLORREF clr) const {
  if (clr == COLORREF(-1) || cx <= 0 || cy <= 0) return;
  m_pDC->FillSolidRect(MapRect(CRect(x, y, x + cx, y + cy)), clr);
}

void CXTPTabFigure::Line(int x1, int y1, int x2, int y2, COLORREF clr) const {
  if (clr == COLORREF(-1)) return;
  CXTPScopedPen pen(m_pDC, clr);
  m_pDC->MoveTo(MapPixel(x1, y1));
  m_pDC->LineTo(MapPixel(x2, y2));
}

void CXTPTabFigure::MapPoints(POINT* pts, int nCount) const {
  for (int i = 0; i < nCount; ++i) pts[i] = MapPixel(pts[i].x, pts[i].y);
}
