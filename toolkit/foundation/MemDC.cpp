// The toolkit's memory DC with a background fill.
#include "MemDC.h"

#include "DrawHelpers.h"

IMPLEMENT_DYNAMIC(CXTMemDC, CDC)

CXTMemDC::CXTMemDC(CDC* pDC, const CRect& rect, const CXTPColorGradientValue& clrBack, BOOL bHorz)
    : m_pDC(pDC), m_rc(rect) {
  if (m_rc.IsRectEmpty()) pDC->GetClipBox(&m_rc);
  if (!CreateCompatibleDC(pDC)) return;
  SetMapMode(pDC->GetMapMode());
  HBITMAP hBitmap = ::CreateCompatibleBitmap(pDC->GetSafeHdc(), m_rc.Width(), m_rc.Height());
  if (hBitmap != nullptr && m_bitmap.Attach(hBitmap)) m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
  SetWindowOrg(m_rc.left, m_rc.top);
  if (clrBack.clr2.GetColor() != COLORREF(-1)) DrawColorGradient(this, m_rc, clrBack, bHorz);
  m_bValid = TRUE;
}

CXTMemDC::~CXTMemDC() {
  if (m_hDC == nullptr) return;
  if (m_bValid)
    m_pDC->BitBlt(m_rc.left, m_rc.top, m_rc.Width(), m_rc.Height(), this, m_rc.left, m_rc.top, SRCCOPY);
  if (m_hOldBitmap != nullptr) ::SelectObject(m_hDC, m_hOldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}
