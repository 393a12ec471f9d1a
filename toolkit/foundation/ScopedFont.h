// Selects a font into a DC for the life of the object.
#pragma once

#include <afxwin.h>

class CXTPScopedFont {
 public:
  CXTPScopedFont(CDC* pDC, CFont* pFont)
      : m_hDC(pDC->GetSafeHdc()), m_hOld(::SelectObject(m_hDC, pFont->GetSafeHandle())) {}
  virtual ~CXTPScopedFont() {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
  }
  CXTPScopedFont(const CXTPScopedFont&) = delete;
  CXTPScopedFont& operator=(const CXTPScopedFont&) = delete;

 private:
  HDC m_hDC;
  HGDIOBJ m_hOld;
};
