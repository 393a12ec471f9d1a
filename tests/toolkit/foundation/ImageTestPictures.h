// Pictures the image-manager tests build for themselves: strips of one-colour images, ordinary (a
// device-dependent bitmap whose images have a magenta top-left pixel, the mask colour) or 32-bit
// alpha; and the colour an icon form shows when drawn on white.
#pragma once

#include <vector>

#include "ImageManager.h"
#include "ImagePixels.h"
#include "ToolkitCanvas.h"

const COLORREF kMagenta = RGB(255, 0, 255);

// Image j is filled with colors[j]. Ordinary strips mark each image's top-left pixel magenta; alpha
// strips give every pixel the alpha, and with bClearCorner make each image's top-left pixel fully
// transparent.
inline HBITMAP MakeStrip(const std::vector<COLORREF>& colors, int cx, int cy, BOOL bAlpha, BYTE alpha = 255,
                         BOOL bClearCorner = FALSE) {
  XTPImagePixels pixels;
  pixels.cx = cx * static_cast<int>(colors.size());
  pixels.cy = cy;
  pixels.bits.resize(static_cast<size_t>(pixels.cx) * cy * 4);
  for (int y = 0; y < cy; ++y) {
    for (int x = 0; x < pixels.cx; ++x) {
      const bool bCorner = x % cx == 0 && y == 0;
      const COLORREF clr = bCorner && !bAlpha ? kMagenta : colors[x / cx];
      BYTE* p = pixels.Row(y) + x * 4;
      p[0] = GetBValue(clr);
      p[1] = GetGValue(clr);
      p[2] = GetRValue(clr);
      p[3] = !bAlpha ? 0 : (bCorner && bClearCorner ? 0 : alpha);
    }
  }
  HBITMAP hBitmap32 = CreateImageBitmap32(pixels);
  if (bAlpha) return hBitmap32;
  // A device-dependent copy, as LoadBitmap gives.
  HBITMAP hBitmap = static_cast<HBITMAP>(::CopyImage(hBitmap32, IMAGE_BITMAP, 0, 0, 0));
  ::DeleteObject(hBitmap32);
  return hBitmap;
}

inline HBITMAP MakeStrip24(const std::vector<COLORREF>& colors, int cx, int cy) {
  return MakeStrip(colors, cx, cy, FALSE);
}

inline HBITMAP MakeStrip32(const std::vector<COLORREF>& colors, int cx, int cy, BYTE alpha = 255) {
  return MakeStrip(colors, cx, cy, TRUE, alpha);
}

inline COLORREF Probe(CXTPImageManagerIcon* pIcon, CXTPIconHandle& hForm, int x, int y) {
  ToolkitCanvas canvas(64, 64);
  pIcon->Draw(&canvas.dc(), CPoint(0, 0), hForm);
  return canvas.At(x, y);
}
