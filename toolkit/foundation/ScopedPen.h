// A solid one-pixel pen of its own, selected into a DC for the life of the object.
#pragma once

#include <afxwin.h>

class CXTPScopedPen {
 public:
  CXTPScopedPen(CDC* pDC, COLORREF clr) : m_hDC(pDC->GetSafeHdc()), m_clr(clr) {
    m_pen.CreatePen(PS_SOLID, 1, clr);
    m_hOld = ::SelectObject(m_hDC, m_pen.GetSafeHandle());
  }
  virtual ~CXTPScopedPen() {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
  }
  CXTPScopedPen(const CXTPScopedPen&) = delete;
  CXTPScopedPen& operator=(const CXTPScopedPen&) = delete;

  COLORREF GetColor() const { return m_clr; }

 private:
  CPen m_pen;
  HDC m_hDC;
  COLORREF m_clr;
  HGDIOBJ m_hOld = nullptr;
};
