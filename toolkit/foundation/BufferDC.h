// An off-screen surface in the target's coordinates: drawing goes to a memory DC whose bitmap
// reaches the rectangle's right and bottom edges, and destruction copies the rectangle back once.
#pragma once

#include <afxwin.h>

class CXTPBufferDC : public CDC {
 public:
  CXTPBufferDC(HDC hDestDC, const CRect& rcPaint);
  ~CXTPBufferDC() override;
  CXTPBufferDC(const CXTPBufferDC&) = delete;
  CXTPBufferDC& operator=(const CXTPBufferDC&) = delete;

 private:
  HDC m_hDestDC;
  CRect m_rcPaint;
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap = nullptr;
};
