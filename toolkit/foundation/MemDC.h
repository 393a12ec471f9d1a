// A memory DC over a rectangle of a target DC, optionally pre-filled with a gradient value, copied to
// the target when destroyed. Callers draw in the target's coordinates.
#pragma once

#include "ColorGradientValue.h"

class CXTMemDC : public CDC {
  DECLARE_DYNAMIC(CXTMemDC)

 public:
  // An empty rectangle means the target's clip box. A background whose second colour is unset (-1)
  // fills nothing. When no compatible DC can be made the object stays invalid and copies nothing.
  CXTMemDC(CDC* pDC, const CRect& rect = CRect(0, 0, 0, 0),
           const CXTPColorGradientValue& clrBack = CXTPColorGradientValue(), BOOL bHorz = FALSE);
  ~CXTMemDC() override;
  CXTMemDC(const CXTMemDC&) = delete;
  CXTMemDC& operator=(const CXTMemDC&) = delete;

  BOOL IsValid() const { return m_bValid; }
  const CRect& GetRect() const { return m_rc; }

 private:
  CDC* m_pDC;
  CRect m_rc;
  CBitmap m_bitmap;
  HGDIOBJ m_hOldBitmap = nullptr;
  BOOL m_bValid = FALSE;
};
