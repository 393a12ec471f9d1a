// A solid brush of its own, selected into a DC for the life of the object; its colour can change.
#pragma once

#include <afxwin.h>

class CXTPScopedBrush {
 public:
  CXTPScopedBrush(CDC* pDC, COLORREF clr) : m_hDC(pDC->GetSafeHdc()) {
    m_brush.CreateSolidBrush(clr);
    m_hOld = ::SelectObject(m_hDC, m_brush.GetSafeHandle());
  }
  virtual ~CXTPScopedBrush() {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
  }
  CXTPScopedBrush(const CXTPScopedBrush&) = delete;
  CXTPScopedBrush& operator=(const CXTPScopedBrush&) = delete;

  void SetColor(COLORREF clr) {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(clr);
    m_hOld = ::SelectObject(m_hDC, m_brush.GetSafeHandle());
  }

 private:
  CBrush m_brush;
  HDC m_hDC;
  HGDIOBJ m_hOld = nullptr;
};
