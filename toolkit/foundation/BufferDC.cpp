// The off-screen surface of the toolkit's flicker-free painting.
#include "BufferDC.h"

CXTPBufferDC::CXTPBufferDC(HDC hDestDC, const CRect& rcPaint) : m_hDestDC(hDestDC), m_rcPaint(rcPaint) {
  Attach(::CreateCompatibleDC(hDestDC));
  HBITMAP hBitmap = ::CreateCompatibleBitmap(hDestDC, rcPaint.right, rcPaint.bottom);
  if (hBitmap != nullptr && m_bitmap.Attach(hBitmap)) m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
}

CXTPBufferDC::~CXTPBufferDC() {
  if (m_hDC == nullptr) return;
  ::BitBlt(m_hDestDC, m_rcPaint.left, m_rcPaint.top, m_rcPaint.Width(), m_rcPaint.Height(), m_hDC,
           m_rcPaint.left, m_rcPaint.top, SRCCOPY);
  if (m_hOldBitmap != nullptr) ::SelectObject(m_hDC, m_hOldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}
