// 32-bit pixel access for the image manager's pictures.
#include "ImagePixels.h"

#include <commctrl.h>

#include <cstring>

namespace {

// The description of a top-down 32-bit picture.
BITMAPINFO TopDownInfo32(int cx, int cy) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = -cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

BOOL AFXAPI IsSaneImageExtent(int cx, int cy) {
  return cx > 0 && cy > 0 && cx <= XTP_IMAGE_MAX_EXTENT && cy <= XTP_IMAGE_MAX_EXTENT;
}

HBITMAP AFXAPI CreateImageBitmap32(int cx, int cy, BYTE** ppBits) {
  if (cx <= 0 || cy <= 0) return nullptr;
  BITMAPINFO info = TopDownInfo32(cx, cy);
  void* pvBits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pvBits, nullptr, 0);
  if (hBitmap == nullptr || pvBits == nullptr) {
    if (hBitmap != nullptr) ::DeleteObject(hBitmap);
    return nullptr;
  }
  if (ppBits != nullptr) *ppBits = static_cast<BYTE*>(pvBits);
  return hBitmap;
}

HBITMAP AFXAPI CreateImageBitmap32(const XTPImagePixels& pixels) {
  BYTE* pBits = nullptr;
  HBITMAP hBitmap = CreateImageBitmap32(pixels.cx, pixels.cy, &pBits);
  if (hBitmap == nullptr) return nullptr;
  memcpy(pBits, pixels.bits.data(), pixels.bits.size());
  ::GdiFlush();
  return hBitmap;
}

int AFXAPI GetBitmapBitsPerPixel(HBITMAP hBitmap) {
  BITMAP bm = {};
  if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bm), &bm) == 0) return 0;
  return bm.bmBitsPixel * bm.bmPlanes;
}

BOOL AFXAPI ReadImagePixels(HBITMAP hBitmap, XTPImagePixels& pixels) {
  BITMAP bm = {};
  if (hBitmap == nullptr || ::GetObjectW(hBitmap, sizeof(bm), &bm) == 0) return FALSE;
  const int cx = bm.bmWidth;
  const int cy = bm.bmHeight;
  if (cx <= 0 || cy <= 0) return FALSE;
  pixels.cx = cx;
  pixels.cy = cy;
  pixels.bits.assign(static_cast<size_t>(cx) * cy * 4, 0);
  ::GdiFlush();
  // GetDIBits keeps the alpha of 32-bit bitmaps and gives every picture top row first.
  BITMAPINFO info = TopDownInfo32(cx, cy);
  HDC hDC = ::GetDC(nullptr);
  const int nLines = ::GetDIBits(hDC, hBitmap, 0, cy, pixels.bits.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, hDC);
  return nLines == cy;
}

BOOL AFXAPI ReadIconPixels(HICON hIcon, XTPIconPixels& pixels) {
  ICONINFO info = {};
  if (hIcon == nullptr || !::GetIconInfo(hIcon, &info)) return FALSE;
  BOOL bResult = FALSE;
  if (info.hbmColor != nullptr) {
    bResult = ReadImagePixels(info.hbmColor, pixels.color) && ReadImagePixels(info.hbmMask, pixels.mask) &&
              pixels.mask.cx == pixels.color.cx && pixels.mask.cy == pixels.color.cy;
  } else {
    // A monochrome icon: the mask bitmap holds the AND mask above the XOR picture.
    XTPImagePixels both;
    if (ReadImagePixels(info.hbmMask, both) && both.cy >= 2) {
      const int cy = both.cy / 2;
      const size_t cbHalf = static_cast<size_t>(both.cx) * cy * 4;
      pixels.mask.cx = pixels.color.cx = both.cx;
      pixels.mask.cy = pixels.color.cy = cy;
      pixels.mask.bits.assign(both.bits.begin(), both.bits.begin() + cbHalf);
      pixels.color.bits.assign(both.bits.begin() + cbHalf, both.bits.begin() + 2 * cbHalf);
      bResult = TRUE;
    }
  }
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return bResult;
}

HBITMAP AFXAPI CreateMaskBitmap(const XTPImagePixels& mask) {
  if (mask.cx <= 0 || mask.cy <= 0) return nullptr;
  const int cbRow = ((mask.cx + 15) / 16) * 2;
  std::vector<BYTE> bits(static_cast<size_t>(cbRow) * mask.cy, 0);
  for (int y = 0; y < mask.cy; ++y) {
    const BYTE* pRow = mask.bits.data() + static_cast<size_t>(y) * mask.cx * 4;
    for (int x = 0; x < mask.cx; ++x) {
      if (pRow[x * 4] != 0 || pRow[x * 4 + 1] != 0 || pRow[x * 4 + 2] != 0) {
        bits[static_cast<size_t>(y) * cbRow + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
    }
  }
  return ::CreateBitmap(mask.cx, mask.cy, 1, 1, bits.data());
}

HICON AFXAPI CreateIconFromPixels(const XTPIconPixels& pixels) {
  // Colour bits that carry no real alpha (all of it 255) would hide the mask: they go without.
  XTPImagePixels color = pixels.color;
  bool bAllOpaque = !color.bits.empty();
  for (size_t i = 3; bAllOpaque && i < color.bits.size(); i += 4) bAllOpaque = color.bits[i] == 255;
  if (bAllOpaque) {
    for (size_t i = 3; i < color.bits.size(); i += 4) color.bits[i] = 0;
  }
  bool bNoAlpha = true;
  for (size_t i = 3; bNoAlpha && i < color.bits.size(); i += 4) bNoAlpha = color.bits[i] == 0;
  // Without alpha the picture is drawn through the mask: transparent pixels must be black.
  if (bNoAlpha && pixels.mask.bits.size() == color.bits.size()) {
    for (size_t i = 0; i + 3 < color.bits.size(); i += 4) {
      if (pixels.mask.bits[i] != 0) color.bits[i] = color.bits[i + 1] = color.bits[i + 2] = 0;
    }
  }
  HBITMAP hColor = CreateImageBitmap32(color);
  HBITMAP hMask = CreateMaskBitmap(pixels.mask);
  HICON hIcon = nullptr;
  if (hColor != nullptr && hMask != nullptr) {
    ICONINFO info = {TRUE, 0, 0, hMask, hColor};
    hIcon = ::CreateIconIndirect(&info);
  }
  if (hColor != nullptr) ::DeleteObject(hColor);
  if (hMask != nullptr) ::DeleteObject(hMask);
  return hIcon;
}

HICON AFXAPI CreateIconFromBitmaps(HBITMAP hColor, HBITMAP hMask, int cx, int cy) {
  HIMAGELIST hImageList = ::ImageList_Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1);
  if (hImageList == nullptr) return nullptr;
  HICON hIcon = nullptr;
  if (::ImageList_Add(hImageList, hColor, hMask) == 0) hIcon = ::ImageList_GetIcon(hImageList, 0, ILD_NORMAL);
  ::ImageList_Destroy(hImageList);
  return hIcon;
}
