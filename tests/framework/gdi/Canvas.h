// A 32-bit memory DC over a DIB section for pixel probes, filled white to start with.
#pragma once

#include "afx.h"
#include "framework/Gdi.h"

class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.CreateCompatibleDC(nullptr);
    old_ = dc_.SelectObject(&bitmap_);
    dc_.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
  }
  ~Canvas() { dc_.SelectObject(old_); }

  CDC& dc() { return dc_; }
  COLORREF At(int x, int y) {
    ::GdiFlush();
    return dc_.GetPixel(x, y);
  }
  // How many pixels of the rectangle have exactly this colour.
  int Count(const CRect& rect, COLORREF color) {
    ::GdiFlush();
    int n = 0;
    for (int y = rect.top; y < rect.bottom; y++)
      for (int x = rect.left; x < rect.right; x++)
        if (dc_.GetPixel(x, y) == color) n++;
    return n;
  }
  int Count(COLORREF color) { return Count(CRect(0, 0, width_, height_), color); }

 private:
  int width_;
  int height_;
  CBitmap bitmap_;
  CDC dc_;
  CBitmap* old_ = nullptr;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
