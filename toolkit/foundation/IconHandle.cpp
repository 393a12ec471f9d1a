// Icon and alpha-bitmap holders of the image manager.
#include "IconHandle.h"

#include "ImagePixels.h"

#include <utility>

CXTPIconHandle::CXTPIconHandle(HICON hIcon, BOOL bOwned) : m_hIcon(hIcon), m_bOwned(bOwned) {}

CXTPIconHandle::CXTPIconHandle(HBITMAP hBitmap, BOOL bOwned) : m_hBitmap(hBitmap), m_bOwned(bOwned) {}

CXTPIconHandle::CXTPIconHandle(const CXTPIconHandle& other)
    : m_hIcon(other.m_hIcon), m_hBitmap(other.m_hBitmap) {}

CXTPIconHandle& CXTPIconHandle::operator=(const CXTPIconHandle& other) {
  if (this == &other) return *this;
  FreeHandles();
  m_hIcon = other.m_hIcon;
  m_hBitmap = other.m_hBitmap;
  m_bOwned = FALSE;
  return *this;
}

CXTPIconHandle::~CXTPIconHandle() { FreeHandles(); }

void CXTPIconHandle::FreeHandles() {
  if (m_bOwned) {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
  }
  if (m_hPremultiplied != nullptr) ::DeleteObject(m_hPremultiplied);
  m_hIcon = nullptr;
  m_hBitmap = nullptr;
  m_hPremultiplied = nullptr;
  m_bOwned = FALSE;
}

void CXTPIconHandle::Clear() { FreeHandles(); }

void CXTPIconHandle::SetIcon(HICON hIcon) {
  FreeHandles();
  m_hIcon = hIcon;
  m_bOwned = TRUE;
}

BOOL CXTPIconHandle::SetBitmap(HBITMAP hBitmap) {
  HBITMAP hCopy = CopyAlphaBitmap(hBitmap);
  FreeHandles();
  if (hCopy == nullptr) return FALSE;
  m_hBitmap = hCopy;
  m_bOwned = TRUE;
  return TRUE;
}

void CXTPIconHandle::AttachBitmap(HBITMAP hBitmap) {
  FreeHandles();
  m_hBitmap = hBitmap;
  m_bOwned = TRUE;
}

void CXTPIconHandle::Swap(CXTPIconHandle& other) {
  std::swap(m_hIcon, other.m_hIcon);
  std::swap(m_hBitmap, other.m_hBitmap);
  std::swap(m_hPremultiplied, other.m_hPremultiplied);
  std::swap(m_bOwned, other.m_bOwned);
}

BOOL CXTPIconHandle::CopyFrom(const CXTPIconHandle& other) {
  if (this == &other) return !IsEmpty();
  if (other.m_hBitmap != nullptr) return SetBitmap(other.m_hBitmap);
  HICON hCopy = other.m_hIcon != nullptr ? ::CopyIcon(other.m_hIcon) : nullptr;
  FreeHandles();
  if (hCopy == nullptr) return FALSE;
  SetIcon(hCopy);
  return TRUE;
}

HBITMAP CXTPIconHandle::PremultiplyBitmap() {
  if (m_hBitmap == nullptr) return nullptr;
  if (m_hPremultiplied == nullptr) m_hPremultiplied = PremultiplyAlphaBitmap(m_hBitmap);
  return m_hPremultiplied;
}

CSize CXTPIconHandle::GetExtent() const {
  if (m_hIcon != nullptr) return GetExtent(m_hIcon);
  BITMAP bm = {};
  if (m_hBitmap != nullptr && ::GetObjectW(m_hBitmap, sizeof(bm), &bm) != 0)
    return CSize(bm.bmWidth, bm.bmHeight);
  return CSize(0, 0);
}

CSize PASCAL CXTPIconHandle::GetExtent(HICON hIcon) {
  ICONINFO info = {};
  if (hIcon == nullptr || !::GetIconInfo(hIcon, &info)) return CSize(0, 0);
  CSize size(0, 0);
  BITMAP bm = {};
  if (info.hbmColor != nullptr && ::GetObjectW(info.hbmColor, sizeof(bm), &bm) != 0) {
    size = CSize(bm.bmWidth, bm.bmHeight);
  } else if (info.hbmMask != nullptr && ::GetObjectW(info.hbmMask, sizeof(bm), &bm) != 0) {
    size = CSize(bm.bmWidth, bm.bmHeight / 2);
  }
  if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
  if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  return size;
}

HBITMAP PASCAL CXTPIconHandle::CopyAlphaBitmap(HBITMAP hBitmap) {
  if (GetBitmapBitsPerPixel(hBitmap) != 32) return nullptr;
  XTPImagePixels pixels;
  if (!ReadImagePixels(hBitmap, pixels)) return nullptr;
  return CreateImageBitmap32(pixels);
}

HBITMAP PASCAL CXTPIconHandle::PremultiplyAlphaBitmap(HBITMAP hBitmap) {
  XTPImagePixels pixels;
  if (GetBitmapBitsPerPixel(hBitmap) != 32 || !ReadImagePixels(hBitmap, pixels)) return nullptr;
  for (size_t i = 0; i + 3 < pixels.bits.size(); i += 4) {
    const UINT nAlpha = pixels.bits[i + 3];
    for (size_t c = 0; c < 3; ++c) pixels.bits[i + c] = static_cast<BYTE>(pixels.bits[i + c] * nAlpha / 255);
  }
  return CreateImageBitmap32(pixels);
}

HICON PASCAL CXTPIconHandle::IconFromAlphaBitmap(HBITMAP hBitmap) {
  XTPIconPixels pixels;
  if (GetBitmapBitsPerPixel(hBitmap) != 32 || !ReadImagePixels(hBitmap, pixels.color)) return nullptr;
  pixels.mask.cx = pixels.color.cx;
  pixels.mask.cy = pixels.color.cy;
  pixels.mask.bits.assign(pixels.color.bits.size(), 0);
  // Fully transparent pixels stay out of the mask so that drawing without alpha keeps the shape.
  for (size_t i = 0; i + 3 < pixels.color.bits.size(); i += 4) {
    if (pixels.color.bits[i + 3] == 0) {
      pixels.mask.bits[i] = pixels.mask.bits[i + 1] = pixels.mask.bits[i + 2] = 0xFF;
    }
  }
  return CreateIconFromPixels(pixels);
}
