// A 32-bit memory DC over a DIB section for pixel probes, filled white to start with; it can be saved
// as a PNG.
#pragma once

#include <afxwin.h>

#include <cstdlib>
#include <string>

#include "WindowTest.h"

class ToolkitCanvas {
 public:
  ToolkitCanvas(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.CreateCompatibleDC(nullptr);
    old_ = ::SelectObject(dc_.GetSafeHdc(), bitmap_.GetSafeHandle());
    dc_.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
  }
  ~ToolkitCanvas() { ::SelectObject(dc_.GetSafeHdc(), old_); }

  CDC& dc() { return dc_; }
  COLORREF At(int x, int y) {
    ::GdiFlush();
    return dc_.GetPixel(x, y) & 0xFFFFFF;
  }
  // Saves what the canvas holds as a PNG for a person to look at; the path, or empty on failure.
  std::wstring SavePng(const std::wstring& name) {
    ::GdiFlush();
    ::SelectObject(dc_.GetSafeHdc(), old_);
    std::wstring path = testsupport::SaveBitmapPng(static_cast<HBITMAP>(bitmap_.GetSafeHandle()), name);
    ::SelectObject(dc_.GetSafeHdc(), bitmap_.GetSafeHandle());
    return path;
  }

 private:
  CBitmap bitmap_;
  CDC dc_;
  HGDIOBJ old_ = nullptr;
};

// Every channel within the tolerance: gradients and blends differ by rounding from one path to another.
inline bool ColorsNear(COLORREF a, COLORREF b, int tolerance = 6) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}
