// The percent progress bar painted on screen: its text, its green part and where the text goes.
#include "PercentProgressCtrl.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 30;

bool IsWhite(COLORREF c) { return GetRValue(c) > 245 && GetGValue(c) > 245 && GetBValue(c) > 245; }
bool IsGreen(COLORREF c) { return GetGValue(c) > 200 && GetRValue(c) < 120 && GetBValue(c) < 120; }
bool IsDark(COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100; }

class PercentProgressCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.CreateEx(
        0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)), L"Percent progress",
        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, kWidth + 60, kHeight + 80, nullptr, nullptr));
    // No border: the window rectangle is the client rectangle, so probes use client coordinates.
    ASSERT_TRUE(bar_.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 10 + kWidth, 10 + kHeight), &host_, 100));
  }
  void TearDown() override { host_.DestroyWindow(); }

  // Repaints the bar and copies what it shows, so that probes read one picture.
  void Snapshot() {
    bar_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testsupport::PumpMessages(50);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = kWidth;
    bmi.bmiHeader.biHeight = -kHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC hWindowDC = ::GetDC(bar_.m_hWnd);
    HDC hMemDC = ::CreateCompatibleDC(hWindowDC);
    HBITMAP hDib = ::CreateDIBSection(hWindowDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hMemDC, hDib);
    ::BitBlt(hMemDC, 0, 0, kWidth, kHeight, hWindowDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    pixels_.assign(p, p + kWidth * kHeight);
    ::SelectObject(hMemDC, hOld);
    ::DeleteObject(hDib);
    ::DeleteDC(hMemDC);
    ::ReleaseDC(bar_.m_hWnd, hWindowDC);
  }

  COLORREF Pixel(int x, int y) {
    const DWORD bgra = pixels_.at(static_cast<size_t>(y) * kWidth + x);
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
  }

  // Whether any pixel of the row band [y0, y1) between x0 and x1 is dark (drawn text).
  bool HasDarkPixel(int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (IsDark(Pixel(x, y))) return true;
    return false;
  }

  std::vector<DWORD> pixels_;

  CWnd host_;
  CPercentProgressCtrl bar_;
};

TEST_F(PercentProgressCtrlTest, ShowsPercentThenTextOverAGreenPart) {
  bar_.SetRange(0, 100);
  bar_.SetPos(45);
  bar_.SetWindowText(L"Saving");
  EXPECT_EQ(bar_.GetPercentText(), L"45% Saving");

  testsupport::SaveWindowPng(host_.m_hWnd, L"app_percent_progress_45.png");
  Snapshot();
  // The outline, then the gradient ending green at 45% of the inside, white beyond it. The bottom row
  // of the inside is below the text.
  const int y = kHeight - 3;
  const int filled = static_cast<int>((kWidth - 1) * 45 * 0.01);
  EXPECT_TRUE(IsDark(Pixel(0, y)));
  EXPECT_TRUE(IsGreen(Pixel(filled - 2, y)));
  EXPECT_TRUE(IsWhite(Pixel(3, y)));
  EXPECT_TRUE(IsWhite(Pixel(filled + 3, y)));
  EXPECT_TRUE(IsWhite(Pixel(kWidth - 4, y)));
  // Centred text: something is drawn around the middle, nothing at the left edge.
  EXPECT_TRUE(HasDarkPixel(kWidth / 2 - 40, kWidth / 2 + 40, 1, kHeight - 1));
  EXPECT_FALSE(HasDarkPixel(1, 40, 1, kHeight - 1));
}

TEST_F(PercentProgressCtrlTest, EmptyRangeShowsZeroAndNoGreen) {
  bar_.SetRange(0, 0);
  bar_.SetWindowText(L"Reading");
  int lower = -1, upper = -1;
  bar_.GetRange(lower, upper);
  ASSERT_EQ(upper, 0);
  EXPECT_EQ(bar_.GetPercent(), 0);
  EXPECT_EQ(bar_.GetPercentText(), L"0% Reading");

  bar_.SetWindowText(L"");
  EXPECT_EQ(bar_.GetPercentText(), L"0% ");
  Snapshot();
  for (int x = 1; x < kWidth - 1; x += 3) {
    const COLORREF c = Pixel(x, kHeight - 3);
    ASSERT_TRUE(IsWhite(c)) << "x=" << x << " colour=" << std::hex << c;
  }
}

TEST_F(PercentProgressCtrlTest, LeftTextStartsAtTheLeftEdgeOnlyWithAText) {
  bar_.SetRange(0, 100);
  bar_.SetPos(10);
  bar_.m_bTextLeft = TRUE;
  bar_.SetWindowText(L"Saving");
  Snapshot();
  EXPECT_TRUE(HasDarkPixel(5, 30, 1, kHeight - 1));

  // Without a window text the percent is centred even with the flag set.
  bar_.SetWindowText(L"");
  Snapshot();
  EXPECT_FALSE(HasDarkPixel(1, 60, 1, kHeight - 1));
  EXPECT_TRUE(HasDarkPixel(kWidth / 2 - 30, kWidth / 2 + 30, 1, kHeight - 1));
}

TEST_F(PercentProgressCtrlTest, WideRangeDoesNotOverflowThePercent) {
  bar_.SetRange32(0, INT_MAX);
  bar_.SetPos(INT_MAX / 2);
  EXPECT_EQ(bar_.GetPercent(), 49);
  bar_.SetPos(INT_MAX);
  EXPECT_EQ(bar_.GetPercentText(), L"100% ");
}

}  // namespace
