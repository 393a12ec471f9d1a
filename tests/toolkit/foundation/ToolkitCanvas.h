// A 32-bit memory DC over a DIB section for pixel probes, filled white to start with.
#pragma once

#include <afxwin.h>

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

 private:
  CBitmap bitmap_;
  CDC dc_;
  HGDIOBJ old_ = nullptr;
};
