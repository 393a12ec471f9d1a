// Pixel access for the image manager: 32-bit DIB sections, icons taken apart into colour and mask
// pixels and put together again, and the bounds every stored or loaded picture must keep.
#pragma once

#include <afxwin.h>

#include <vector>

// The largest picture side the image manager stores or loads: a damaged size gives FALSE, never a
// huge allocation (512 x 512 x 4 bytes at most per picture).
#define XTP_IMAGE_MAX_EXTENT 512

// Pixels of one picture, BGRA, rows top first.
struct XTPImagePixels {
  int cx = 0;
  int cy = 0;
  std::vector<BYTE> bits;  // cx * cy * 4 bytes

  BYTE* Row(int y) { return bits.data() + static_cast<size_t>(y) * cx * 4; }
};

// Both sides in 1..XTP_IMAGE_MAX_EXTENT.
BOOL AFXAPI IsSaneImageExtent(int cx, int cy);

// A new top-down 32-bit DIB section of that size; *ppBits (when given) receives its pixels.
HBITMAP AFXAPI CreateImageBitmap32(int cx, int cy, BYTE** ppBits = nullptr);
// A new top-down 32-bit DIB section holding the pixels; NULL on failure.
HBITMAP AFXAPI CreateImageBitmap32(const XTPImagePixels& pixels);
// The pixels of any bitmap as 32-bit BGRA (alpha as stored for 32-bit bitmaps, 0 otherwise).
BOOL AFXAPI ReadImagePixels(HBITMAP hBitmap, XTPImagePixels& pixels);
// Bits per pixel of a bitmap; 0 when it is no bitmap.
int AFXAPI GetBitmapBitsPerPixel(HBITMAP hBitmap);

// An icon taken apart: its colour pixels and its mask (a pixel is transparent where the mask's
// pixel is white).
struct XTPIconPixels {
  XTPImagePixels color;
  XTPImagePixels mask;

  BOOL IsOpaque(int x, int y) const { return mask.bits[(static_cast<size_t>(y) * mask.cx + x) * 4] == 0; }
};
BOOL AFXAPI ReadIconPixels(HICON hIcon, XTPIconPixels& pixels);
// A new icon from colour pixels and a mask; NULL on failure.
HICON AFXAPI CreateIconFromPixels(const XTPIconPixels& pixels);
// A monochrome mask bitmap from pixels where white (any non-zero colour byte) is transparent.
HBITMAP AFXAPI CreateMaskBitmap(const XTPImagePixels& mask);
// An icon made through a 24-bit masked image list from a colour bitmap and a mask bitmap.
HICON AFXAPI CreateIconFromBitmaps(HBITMAP hColor, HBITMAP hMask, int cx, int cy);
