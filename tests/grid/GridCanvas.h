// A 32-bit memory DC over a DIB section for drawing cells and grids off screen and probing pixels.
#pragma once

#include <afxwin.h>

#include <cstring>

class GridCanvas {
 public:
  GridCanvas(int width, int height, COLORREF fill = RGB(255, 0, 255)) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
    m_dc.CreateCompatibleDC(nullptr);
    m_old = ::SelectObject(m_dc.GetSafeHdc(), m_bitmap.GetSafeHandle());
    m_dc.FillSolidRect(0, 0, width, height, fill);
  }
  ~GridCanvas() { ::SelectObject(m_dc.GetSafeHdc(), m_old); }
  GridCanvas(const GridCanvas&) = delete;
  GridCanvas& operator=(const GridCanvas&) = delete;

  CDC& dc() { return m_dc; }
  COLORREF At(int x, int y) {
    ::GdiFlush();
    const DWORD pixel = static_cast<const DWORD*>(m_bits)[y * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  bool SamePixels(GridCanvas& other) {
    ::GdiFlush();
    return m_width == other.m_width && m_height == other.m_height &&
           std::memcmp(m_bits, other.m_bits, static_cast<size_t>(m_width) * m_height * 4) == 0;
  }
  // Whether any pixel of the rectangle differs from `colour`.
  bool AnyOtherThan(const CRect& rect, COLORREF colour) {
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left; x < rect.right; ++x) {
        if (At(x, y) != colour) return true;
      }
    }
    return false;
  }

 private:
  int m_width;
  int m_height;
  void* m_bits = nullptr;
  CBitmap m_bitmap;
  CDC m_dc;
  HGDIOBJ m_old = nullptr;
};
