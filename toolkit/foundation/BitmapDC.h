// A compatible memory DC with one bitmap selected for the life of the object.
#pragma once

#include <afxwin.h>

class CXTPBitmapDC {
 public:
  CXTPBitmapDC(CDC* pDC, CBitmap* pBitmap)
      : m_pDC(pDC), m_hOldBitmap(::SelectObject(pDC->GetSafeHdc(), pBitmap->GetSafeHandle())) {}
  ~CXTPBitmapDC() {
    if (m_hOldBitmap != nullptr) ::SelectObject(m_pDC->GetSafeHdc(), m_hOldBitmap);
  }
  CXTPBitmapDC(const CXTPBitmapDC&) = delete;
  CXTPBitmapDC& operator=(const CXTPBitmapDC&) = delete;

 private:
  CDC* m_pDC;
  HGDIOBJ m_hOldBitmap;
};
