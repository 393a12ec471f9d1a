// Scheme 8: tabs, page and navigate buttons drawn by the running visual style ("TAB" and "TOOLBAR"
// theme classes); without a visual style it draws as the default scheme.
#pragma once

#include "TabColorScheme.h"
#include "ThemeHandle.h"

// Owned by its painter; opens its theme handles in RefreshMetrics and closes them with itself.
// User-interface thread only.
class CXTPTabColorSchemeVisualStyle : public CXTPTabColorSchemeDefault {
 public:
  void RefreshMetrics() override;
  COLORREF FillPageArea(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) override;
  COLORREF FillItem(CDC* pDC, CRect rc, CXTPTabManagerItem* pItem) override;
  void FillHeader(CDC* pDC, CRect rc, CXTPTabManager* pTabManager) override;
  void FillNavigateButton(CDC* pDC, CXTPTabScrollButton* pButton, CRect& rc) override;

  // The "TAB" theme data is open: tabs and page are the visual style's.
  BOOL IsTabThemeOpen() const { return m_themeTab.GetHandle() != nullptr; }

  // Draws a part that the visual style only knows for a top strip at rc as the strip of nPosition
  // shows it: drawn upright into a 32-bit surface, then rotated (left, right) or mirrored (bottom).
  // fnDraw draws the upright part into the DC it is given, at (0, 0) with the given size.
  template <class DrawFn>
  static void DrawTurned(CDC* pDC, CRect rc, int nPosition, COLORREF clrBack, DrawFn fnDraw);

 protected:
  CXTThemeHandle m_themeTab;
  CXTThemeHandle m_themeToolbar;
};

// The pixel work of DrawTurned: srcBits holds the upright part (cxUpright x cyUpright, 32 bits per
// pixel, top-down); dstBits receives the turned part of the tab's own size.
void AFXAPI TurnTabPixels(const DWORD* srcBits, int cxUpright, int cyUpright, DWORD* dstBits, int nPosition);

template <class DrawFn>
void CXTPTabColorSchemeVisualStyle::DrawTurned(CDC* pDC, CRect rc, int nPosition, COLORREF clrBack,
                                               DrawFn fnDraw) {
  if (rc.IsRectEmpty()) return;
  const BOOL bSideways = nPosition == 1 || nPosition == 3;
  const CSize szUpright = bSideways ? CSize(rc.Height(), rc.Width()) : rc.Size();
  if (nPosition == 0) {
    fnDraw(pDC, rc);
    return;
  }
  auto MakeSection = [](CSize sz, void** ppBits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = sz.cx;
    info.bmiHeader.biHeight = -sz.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, ppBits, nullptr, 0);
  };
  void* pSrcBits = nullptr;
  void* pDstBits = nullptr;
  HBITMAP hSrc = MakeSection(szUpright, &pSrcBits);
  HBITMAP hDst = MakeSection(rc.Size(), &pDstBits);
  CDC dcMem;
  if (hSrc != nullptr && hDst != nullptr && dcMem.CreateCompatibleDC(pDC)) {
    HGDIOBJ hOld = ::SelectObject(dcMem.GetSafeHdc(), hSrc);
    dcMem.FillSolidRect(0, 0, szUpright.cx, szUpright.cy, clrBack);
    fnDraw(&dcMem, CRect(CPoint(0, 0), szUpright));
    ::GdiFlush();
    TurnTabPixels(static_cast<const DWORD*>(pSrcBits), szUpright.cx, szUpright.cy,
                  static_cast<DWORD*>(pDstBits), nPosition);
    ::SelectObject(dcMem.GetSafeHdc(), hDst);
    pDC->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
    ::SelectObject(dcMem.GetSafeHdc(), hOld);
  }
  if (hSrc != nullptr) ::DeleteObject(hSrc);
  if (hDst != nullptr) ::DeleteObject(hDst);
}
