// The dialog bar in a frame: its hosted window below the caption, docked and floating client sizes,
// resizing by its edges with real drags (refused below 50 x 50 client pixels), the caption's close
// button and drop-down, the mouse-hook test and the client sizes kept in the profile.
#include <gtest/gtest.h>

#include <BarTheme.h>
#include <DialogBar.h>
#include <DockBar.h>
#include <PopupBar.h>

#include <ColorTable.h>

#include <algorithm>
#include <vector>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

const LPCTSTR kProfile = L"DialogBars";
const UINT kBarId = 0xE900;

class DialogBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CTestFrame::s_bBareFrame = TRUE;
    CXTPBarTheme::SetTheme(0);
    s_pFrame = CTestFrame::CreateTestFrame(CRect(20, 20, 720, 560));
    CTestFrame::s_bBareFrame = FALSE;
  }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr) s_pFrame->SaveAndDestroy();
    s_pFrame = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_pFrame, nullptr);
    m_pCommandBars = s_pFrame->GetCommandBars();
    m_pBar = NewBar(m_pCommandBars, xtpBarLeft);
    ASSERT_NE(m_pBar, nullptr);
    Layout();
  }
  void TearDown() override {
    while (m_pCommandBars->GetCount() > 0) m_pCommandBars->Remove(m_pCommandBars->GetAt(0));
    Layout();
  }
  // A dialog bar holding an edit control, docked at the given side.
  static CXTPDialogBar* NewBar(CXTPCommandBars* pCommandBars, XTPBarPosition position) {
    auto* pBar =
        static_cast<CXTPDialogBar*>(pCommandBars->Add(L"Pane", position, RUNTIME_CLASS(CXTPDialogBar)));
    if (pBar == nullptr) return nullptr;
    pBar->SetBarID(kBarId);
    pBar->EnableDocking(xtpFlagAlignAny | xtpFlagFloating);
    CEdit* pEdit = new CEdit;
    pEdit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, CRect(0, 0, 10, 10), pBar, 1);
    pEdit->SetWindowText(L"Hosted window");
    pBar->SetChild(pEdit);
    return pBar;
  }
  void Layout() { SettleLayout(s_pFrame); }
  CRect WindowRect(HWND hWnd) {
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    return rc;
  }
  CRect ChildRectInBar() {
    CRect rc = WindowRect(m_pBar->GetChildHwnd());
    m_pBar->ScreenToClient(&rc);
    return rc;
  }
  void Float() {
    ASSERT_TRUE(m_pBar->SetPosition(xtpBarFloating));
    m_pBar->SetWindowPos(nullptr, 300, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
  }

  // How many pixels of a rectangle of the bar's client area show `clr`.
  int CountPixels(CRect rc, COLORREF clr) {
    int cx = 0, cy = 0;
    const std::vector<COLORREF> pixels = testsupport::WindowPixels(m_pBar->GetSafeHwnd(), &cx, &cy);
    m_pBar->ClientToScreen(&rc);
    rc.OffsetRect(-WindowRect(m_pBar->GetSafeHwnd()).TopLeft());
    int count = 0;
    for (int y = std::max(0L, rc.top); y < std::min(static_cast<LONG>(cy), rc.bottom); ++y) {
      for (int x = std::max(0L, rc.left); x < std::min(static_cast<LONG>(cx), rc.right); ++x) {
        if (pixels[size_t(y) * cx + x] == clr) ++count;
      }
    }
    return count;
  }

  static CTestFrame* s_pFrame;
  CXTPCommandBars* m_pCommandBars = nullptr;
  CXTPDialogBar* m_pBar = nullptr;
};

CTestFrame* DialogBarTest::s_pFrame = nullptr;

TEST_F(DialogBarTest, DockedBarHostsItsWindowBelowTheCaptionAtTheDockingClientSize) {
  EXPECT_TRUE(m_pBar->IsDialogBar());
  EXPECT_FALSE(m_pBar->IsCustomizable());
  EXPECT_EQ(m_pBar->GetPosition(), xtpBarLeft);
  const CRect rcBorders = m_pBar->GetClientBorders();
  EXPECT_EQ(rcBorders.left, 3);
  EXPECT_EQ(rcBorders.right, 3);
  EXPECT_EQ(rcBorders.bottom, 3);
  EXPECT_GT(rcBorders.top, 3);
  EXPECT_EQ(m_pBar->GetCaptionHeight(), rcBorders.top);
  const CRect rcChild = ChildRectInBar();
  EXPECT_EQ(rcChild.left, 3);
  EXPECT_EQ(rcChild.top, rcBorders.top);
  EXPECT_EQ(rcChild.Width(), 200);
  CRect rcClient;
  m_pBar->GetClientRect(&rcClient);
  EXPECT_EQ(rcClient.Width(), 206);
  EXPECT_EQ(rcClient.bottom - rcChild.bottom, 3);
  testsupport::SaveWindowPng(s_pFrame->GetSafeHwnd(), L"dialog_bar_docked.png");
}

// The caption text is written across the strip in the text colour wherever the bar is, and the close
// button shows its glyph, whether or not the system has the symbol font.
TEST_F(DialogBarTest, CaptionTextAndCloseGlyphAreDrawnAtEveryPosition) {
  m_pBar->SetCaption(L"Explorer pane");
  const COLORREF clrText = GetXTPColor(18);
  for (XTPBarPosition position : {xtpBarLeft, xtpBarTop, xtpBarRight, xtpBarFloating}) {
    ASSERT_TRUE(m_pBar->SetPosition(position));
    Layout();
    CXTPControl* pCaption = m_pBar->GetControls()->FindControl(CXTPDialogBar::kCaptionId);
    CXTPControl* pClose = m_pBar->GetControls()->FindControl(CXTPDialogBar::kCloseId);
    ASSERT_NE(pCaption, nullptr);
    ASSERT_NE(pClose, nullptr);
    EXPECT_GE(CountPixels(pCaption->GetRect(), clrText), 20) << "position " << position;
    // A cross reaches into each quarter of the button; a letter "r" in its place leaves one empty.
    const CRect rcClose = pClose->GetRect();
    const CPoint c = rcClose.CenterPoint();
    for (const CRect& rcQuarter :
         {CRect(rcClose.left, rcClose.top, c.x, c.y), CRect(c.x, rcClose.top, rcClose.right, c.y),
          CRect(rcClose.left, c.y, c.x, rcClose.bottom), CRect(c.x, c.y, rcClose.right, rcClose.bottom)}) {
      EXPECT_GE(CountPixels(rcQuarter, clrText), 3) << "position " << position;
    }
    if (position == xtpBarLeft) testsupport::SaveWindowPng(s_pFrame->GetSafeHwnd(), L"dialog_bar_left.png");
  }
}

TEST_F(DialogBarTest, FloatingBarTakesTheFloatingClientSize) {
  m_pBar->SetFloatingClientSize(CSize(160, 110));
  Float();
  EXPECT_EQ(m_pBar->GetPosition(), xtpBarFloating);
  const CRect rcChild = ChildRectInBar();
  EXPECT_EQ(rcChild.Size(), CSize(160, 110));
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(200, 200));
  testsupport::SaveWindowPng(m_pBar->GetSafeHwnd(), L"dialog_bar_floating.png");
}

TEST_F(DialogBarTest, EdgesAnswerHitTestsByPosition) {
  const CRect rc = WindowRect(m_pBar->GetSafeHwnd());
  auto hit = [&](int x, int y) {
    return static_cast<int>(m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)));
  };
  // Docked at the left: the right edge and the bottom edge.
  EXPECT_EQ(hit(rc.right - 1, rc.CenterPoint().y), HTRIGHT);
  EXPECT_EQ(hit(rc.CenterPoint().x, rc.bottom - 1), HTBOTTOM);
  EXPECT_NE(hit(rc.left + 1, rc.CenterPoint().y), HTLEFT);
  m_pBar->SetFlags(m_pBar->GetFlags() | xtpFlagStretched);
  EXPECT_NE(hit(rc.CenterPoint().x, rc.bottom - 1), HTBOTTOM);
  m_pBar->SetFlags(m_pBar->GetFlags() & ~xtpFlagStretched);
  Float();
  const CRect rcFloat = WindowRect(m_pBar->GetSafeHwnd());
  EXPECT_EQ(hit(rcFloat.left, rcFloat.top), HTTOPLEFT);
  EXPECT_EQ(hit(rcFloat.right - 1, rcFloat.bottom - 1), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(rcFloat.left + 1, rcFloat.CenterPoint().y), HTLEFT);
  m_pBar->SetResizable(FALSE);
  EXPECT_NE(hit(rcFloat.left + 1, rcFloat.CenterPoint().y), HTLEFT);
}

TEST_F(DialogBarTest, DraggingTheInnerEdgeOfADockedSideBarChangesOnlyTheDockingWidth) {
  const CRect rc = WindowRect(m_pBar->GetSafeHwnd());
  testsupport::InputDrag(CPoint(rc.right - 1, rc.CenterPoint().y), CPoint(rc.right + 59, rc.CenterPoint().y));
  Layout();
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(260, 200));
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(200, 200));
  EXPECT_EQ(ChildRectInBar().Width(), 260);
}

TEST_F(DialogBarTest, FloatingResizeBelowFiftyClientPixelsIsRefused) {
  Float();
  const CRect rc = WindowRect(m_pBar->GetSafeHwnd());
  testsupport::InputDrag(CPoint(rc.right - 1, rc.CenterPoint().y), CPoint(rc.right - 41, rc.CenterPoint().y));
  Layout();
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(160, 200));
  EXPECT_EQ(WindowRect(m_pBar->GetSafeHwnd()).Width(), rc.Width() - 40);
  // 160 - 115 leaves a client of 45: a single move there changes nothing.
  const CRect rcNow = WindowRect(m_pBar->GetSafeHwnd());
  testsupport::InputDrag(CPoint(rcNow.right - 1, rcNow.CenterPoint().y),
                         CPoint(rcNow.right - 116, rcNow.CenterPoint().y), 1);
  Layout();
  EXPECT_EQ(m_pBar->GetFloatingClientSize().cx, 160);
  EXPECT_EQ(WindowRect(m_pBar->GetSafeHwnd()), rcNow);
  // Dragging there in steps stops at the last size that kept 50 client pixels (pressed away from the
  // last press, so that it is no double click).
  testsupport::InputDrag(CPoint(rcNow.right - 1, rcNow.CenterPoint().y + 30),
                         CPoint(rcNow.right - 116, rcNow.CenterPoint().y + 30), 8);
  Layout();
  EXPECT_GE(m_pBar->GetFloatingClientSize().cx, 50);
  EXPECT_LT(m_pBar->GetFloatingClientSize().cx, 160);
}

TEST_F(DialogBarTest, MinimumAppliesToTheClientNotToTheWindow) {
  Float();
  const CRect rcBorders = m_pBar->GetClientBorders();
  const CRect rc = WindowRect(m_pBar->GetSafeHwnd());
  // A window of 52 x 52 pixels has a client well below 50 x 50.
  m_pBar->OnResize(rc.left, rc.top, rc.left + 52, rc.top + 52, HTBOTTOMRIGHT);
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(200, 200));
  const int cx = 50 + rcBorders.left + rcBorders.right;
  const int cy = 50 + rcBorders.top + rcBorders.bottom;
  m_pBar->OnResize(rc.left, rc.top, rc.left + cx, rc.top + cy, HTBOTTOMRIGHT);
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(50, 50));
}

TEST_F(DialogBarTest, CloseButtonHidesTheBarAndABarThatCannotCloseHasNone) {
  CXTPControl* pClose = m_pBar->GetControls()->FindControl(CXTPDialogBar::kCloseId);
  CXTPControl* pCaption = m_pBar->GetControls()->FindControl(CXTPDialogBar::kCaptionId);
  ASSERT_NE(pClose, nullptr);
  ASSERT_NE(pCaption, nullptr);
  EXPECT_TRUE(pClose->IsTemporary());
  EXPECT_EQ(pClose->GetRect().Size(), CSize(16, 16));
  EXPECT_EQ(pCaption->GetCaption(), CString(L"Pane"));
  EXPECT_EQ(pCaption->GetRect().right, pClose->GetRect().left);

  const CPoint pt = ControlCenter(pClose);
  testsupport::InputClick(pt.x, pt.y);
  testsupport::PumpMessages(100);
  EXPECT_FALSE(m_pBar->IsVisible());
  EXPECT_FALSE(m_pBar->IsWindowVisible());

  m_pBar->SetVisible(TRUE);
  m_pBar->SetCloseable(FALSE);
  m_pBar->SetCaption(L"Explorer");
  Layout();
  EXPECT_FALSE(pClose->IsVisible());
  CRect rcClient;
  m_pBar->GetClientRect(&rcClient);
  EXPECT_EQ(pCaption->GetRect().right, rcClient.right - 3);
  EXPECT_EQ(pCaption->GetCaption(), CString(L"Explorer"));
}

TEST_F(DialogBarTest, CaptionOpensItsPopupOnlyWhenThePopupHoldsControls) {
  CXTPControl* pCaption = m_pBar->GetControls()->FindControl(CXTPDialogBar::kCaptionId);
  ASSERT_NE(pCaption, nullptr);
  CPoint pt = ControlCenter(pCaption);
  testsupport::InputClick(pt.x, pt.y);
  testsupport::PumpMessages(100);
  EXPECT_FALSE(m_pBar->GetCaptionPopupBar()->IsVisible());

  AddFixed(m_pBar->GetCaptionPopupBar()->GetControls(), ID_TEST_ITEM_A, 80, 20);
  m_pBar->DelayLayout();
  Layout();
  testsupport::SaveWindowPng(m_pBar->GetSafeHwnd(), L"dialog_bar_caption_popup.png");
  pt = ControlCenter(pCaption);
  testsupport::InputClick(pt.x, pt.y);
  EXPECT_TRUE(
      testsupport::PumpUntil([&] { return m_pBar->GetCaptionPopupBar()->IsVisible() != FALSE; }, 2000));
  if (m_pBar->GetCaptionPopupBar()->IsVisible()) {
    CRect rcPopup = WindowRect(m_pBar->GetCaptionPopupBar()->GetSafeHwnd());
    CRect rcCaption = pCaption->GetRect();
    m_pBar->ClientToScreen(&rcCaption);
    EXPECT_GE(rcPopup.top, rcCaption.bottom - 1);
    testsupport::InputTap(VK_ESCAPE);
    testsupport::PumpMessages(100);
  }
}

TEST_F(DialogBarTest, OnlyTheCaptionStripCountsAsInsideForTheMouseHook) {
  const CRect rc = WindowRect(m_pBar->GetSafeHwnd());
  EXPECT_EQ(m_pBar->IsPointInBar(CPoint(rc.left + 20, rc.top + 5)), 1);
  EXPECT_EQ(m_pBar->IsPointInBar(CPoint(rc.left + 20, rc.top + m_pBar->GetCaptionHeight() + 20)), -2);
  EXPECT_EQ(m_pBar->IsPointInBar(CPoint(rc.right + 20, rc.top + 5)), -2);
}

TEST_F(DialogBarTest, ClientSizesAreSavedAndRestoredWithTheBar) {
  ScopedProfileKey key;
  m_pBar->SetDockingClientSize(CSize(150, 120));
  m_pBar->SetFloatingClientSize(CSize(180, 90));
  m_pCommandBars->SaveBarState(kProfile);
  const CString strSection = CString(kProfile) + L"-Bar0";
  auto readInt = [&](LPCTSTR lpszEntry) {
    const std::vector<BYTE> data = key.ReadValue(strSection, lpszEntry);
    return data.size() == 4 ? *reinterpret_cast<const int*>(data.data()) : -1;
  };
  EXPECT_EQ(readInt(L"DialogBar"), 1);
  EXPECT_EQ(readInt(L"DialogBarDockingClientCx"), 150);
  EXPECT_EQ(readInt(L"DialogBarDockingClientCy"), 120);
  EXPECT_EQ(readInt(L"DialogBarFloatingClientCx"), 180);
  EXPECT_EQ(readInt(L"DialogBarFloatingClientCy"), 90);

  m_pBar->SetDockingClientSize(CSize(200, 200));
  m_pBar->SetFloatingClientSize(CSize(200, 200));
  m_pCommandBars->LoadBarState(kProfile);
  EXPECT_EQ(m_pBar->GetDockingClientSize(), CSize(150, 120));
  EXPECT_EQ(m_pBar->GetFloatingClientSize(), CSize(180, 90));
  Layout();
  EXPECT_EQ(ChildRectInBar().Width(), 150);
}

}  // namespace
