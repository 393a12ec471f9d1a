// The clickable label under the real mouse: one posted link message per mouse move and per press, its
// red face, and its cursor.
#include "ClickableLabel.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

using apptest::CRecordingWnd;

const COLORREF kRed = RGB(255, 0, 0);

// Counts the mouse messages that reach the label, before the label handles them.
class CCountingLabel : public CClickableLabel {
 public:
  int m_nMoves = 0;
  int m_nPresses = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOUSEMOVE) ++m_nMoves;
    if (message == WM_LBUTTONDOWN) ++m_nPresses;
    return CClickableLabel::WindowProc(message, wParam, lParam);
  }
};

class ClickableLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::MouseMoveTo(5, 590);
    ASSERT_TRUE(host_.CreateHost(L"Clickable label", 60, 60, 260, 140));
    host_.Watch(WM_LINK_CLICKED);
    ASSERT_TRUE(label_.Create(WS_VISIBLE, CRect(20, 20, 180, 60), &host_, 4001));
    testsupport::PumpMessages(100);
    host_.m_received.clear();
  }
  void TearDown() override { host_.DestroyWindow(); }

  CPoint ScreenPoint(int x, int y) {
    CPoint pt(x, y);
    label_.ClientToScreen(&pt);
    return pt;
  }
  // Waits until every mouse message the label saw has been answered by a link message.
  bool Settled() {
    return testsupport::PumpUntil(
        [&] { return host_.Count(WM_LINK_CLICKED) == label_.m_nMoves + label_.m_nPresses; }, 3000);
  }

  CRecordingWnd host_;
  CCountingLabel label_;
};

TEST_F(ClickableLabelTest, EveryMouseMoveAndEveryPressPostsOneLinkMessage) {
  for (int x = 10; x <= 130; x += 30) {
    const CPoint pt = ScreenPoint(x, 20);
    testsupport::MouseMoveTo(pt.x, pt.y);
    testsupport::PumpMessages(60);
  }
  ASSERT_TRUE(Settled());
  EXPECT_GE(label_.m_nMoves, 4);
  EXPECT_EQ(label_.m_nPresses, 0);

  testsupport::MouseClick(label_.m_hWnd, 40, 20);
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  // A quick second press is a press as well, not a double click.
  testsupport::MouseDoubleClick(label_.m_hWnd, 100, 20);
  testsupport::PumpMessages(100);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(label_.m_nPresses, 3);
  EXPECT_EQ(host_.Count(WM_LINK_CLICKED), label_.m_nMoves + label_.m_nPresses);
  for (const auto& received : host_.m_received) {
    EXPECT_EQ(received.wParam, 0u);
    EXPECT_EQ(received.lParam, 0);
  }
}

TEST_F(ClickableLabelTest, PaintsItsWholeFaceRed) {
  label_.RedrawWindow();
  testsupport::PumpMessages(50);
  for (const CPoint& pt : {CPoint(0, 0), CPoint(80, 20), CPoint(159, 39)}) {
    EXPECT_EQ(testsupport::WindowPixel(label_.m_hWnd, pt.x, pt.y), kRed) << pt.x << "," << pt.y;
  }
  testsupport::SaveWindowPng(host_.m_hWnd, L"app_clickable_label.png");
}

TEST_F(ClickableLabelTest, ShowsTheLinkCursorOverItsFace) {
  const HCURSOR hLink = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_LINK_CURSOR));
  ASSERT_NE(hLink, nullptr);
  const CPoint pt = ScreenPoint(60, 20);
  testsupport::MouseMoveTo(pt.x, pt.y);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ::GetCursor() == hLink; }, 3000));
}

}  // namespace
