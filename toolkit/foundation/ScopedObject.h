// Selects any GDI object into a DC for the life of the object.
#pragma once

#include <afxwin.h>

class CXTPScopedObject {
 public:
  CXTPScopedObject(CDC* pDC, CGdiObject* pObject)
      : m_hDC(pDC->GetSafeHdc()), m_hOld(::SelectObject(m_hDC, pObject->GetSafeHandle())) {}
  virtual ~CXTPScopedObject() {
    if (m_hOld != nullptr) ::SelectObject(m_hDC, m_hOld);
  }
  CXTPScopedObject(const CXTPScopedObject&) = delete;
  CXTPScopedObject& operator=(const CXTPScopedObject&) = delete;

 private:
  HDC m_hDC;
  HGDIOBJ m_hOld;
};
