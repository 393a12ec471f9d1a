// Splitter tracking on a real window: Escape cancels and leaves the screen as it was, a release
// accepts the tracker where the mouse left it, inside the allowed rectangle.
#include <gtest/gtest.h>

#include "MonitorApi.h"
#include "SplitTracker.h"

namespace {

class TrackedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    hWnd_ = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"Split tracker test", WS_POPUP | WS_VISIBLE, 100,
                              100, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd_, nullptr);
    wnd_.Attach(hWnd_);
    ::UpdateWindow(hWnd_);
  }
  void TearDown() override {
    wnd_.Detach();
    ::DestroyWindow(hWnd_);
  }

  COLORREF ScreenPixel(int x, int y) {
    HDC hDC = ::GetDC(nullptr);
    COLORREF color = ::GetPixel(hDC, x, y);
    ::ReleaseDC(nullptr, hDC);
    return color;
  }

  HWND hWnd_ = nullptr;
  CWnd wnd_;
};

}  // namespace

TEST_F(TrackedWindow, EscapeCancelsAndRestoresTheScreen) {
  const COLORREF before = ScreenPixel(202, 150);
  ::PostMessageW(hWnd_, WM_KEYDOWN, VK_ESCAPE, 0);
  CRect tracker(200, 100, 204, 400);
  CXTPSplitTracker splitTracker(TRUE);
  EXPECT_FALSE(splitTracker.Track(&wnd_, CRect(120, 100, 480, 400), tracker, CPoint(202, 150), TRUE));
  EXPECT_EQ(tracker, CRect(200, 100, 204, 400));
  EXPECT_EQ(ScreenPixel(202, 150), before);
  EXPECT_NE(::GetCapture(), hWnd_);
}

TEST_F(TrackedWindow, ReleaseAcceptsThePositionLimitedToTheAllowedArea) {
  // Client (350, 50) is screen (450, 150): beyond the allowed right edge of 300.
  ::PostMessageW(hWnd_, WM_MOUSEMOVE, 0, MAKELPARAM(350, 50));
  ::PostMessageW(hWnd_, WM_LBUTTONUP, 0, MAKELPARAM(350, 50));
  CRect tracker(200, 100, 204, 400);
  CXTPSplitTracker splitTracker;
  EXPECT_TRUE(splitTracker.Track(&wnd_, CRect(120, 100, 300, 400), tracker, CPoint(202, 150), TRUE));
  EXPECT_EQ(tracker.left, 300) << "the cursor shifted by its offset, then limited";
  EXPECT_EQ(tracker.Width(), 4);
}

TEST(MonitorApi, WorkAreasAreNotEmpty) {
  CXTPMonitorApi* monitors = XTPMonitorApi();
  EXPECT_FALSE(monitors->GetWorkArea(CPoint(10, 10)).IsRectEmpty());
  EXPECT_FALSE(monitors->GetWorkArea(CRect(0, 0, 50, 50)).IsRectEmpty());
  EXPECT_FALSE(monitors->GetWorkArea(CPoint(-30000, -30000)).IsRectEmpty())
      << "off every monitor: the system's";
}
