// The image button under the real mouse: hover swaps its image and back, its tool tip shows, a double
// click counts twice, a disabled focused button gives the focus on, and the automatic images.
#include "ImageButton.h"

#include "AppTestResource.h"
#include "AppTestSupport.h"
#include "RealInput.h"
#include "TabManagerItem.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

using apptest::CRecordingWnd;

const COLORREF kRed = RGB(200, 30, 30);
const COLORREF kBlue = RGB(30, 30, 200);
const COLORREF kGrey = RGB(128, 128, 128);

// One host for the suite (see CRecordingWnd::CreateHost), fresh buttons in it for each test.
class ImageButtonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new CRecordingWnd;
    s_hostWnd->CreateHost(L"Image buttons", 300, 200, 260, 160);
    s_hostWnd->Watch(WM_COMMAND);
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
  }
  void SetUp() override {
    // Away from the buttons, wherever the last test left the cursor.
    testsupport::MouseMoveTo(5, 590);
    ASSERT_NE(s_hostWnd->m_hWnd, nullptr);
    s_hostWnd->m_received.clear();
    ASSERT_TRUE(button_.Create(L"", 0x50008000, CRect(20, 20, 68, 68), s_hostWnd, 4));
    ASSERT_TRUE(
        next_.Create(L"Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(100, 20, 180, 48), s_hostWnd, 8));
    apptest::PumpFramework(100);
  }
  void TearDown() override {
    button_.DestroyWindow();
    next_.DestroyWindow();
    apptest::PumpFramework(20);
  }

  // The colour at the button's centre, where the 24x24 images' squares lie.
  COLORREF Centre() {
    button_.RedrawWindow();
    return testsupport::WindowPixel(button_.m_hWnd, 24, 24);
  }
  int Clicks() const {
    int n = 0;
    for (const auto& r : host_.m_received) {
      if (LOWORD(r.wParam) == 4 && HIWORD(r.wParam) == BN_CLICKED) ++n;
    }
    return n;
  }

  static CRecordingWnd* s_hostWnd;
  CRecordingWnd& host_ = *s_hostWnd;
  CImageButton button_;
  CButton next_;
};

CRecordingWnd* ImageButtonTest::s_hostWnd = nullptr;

TEST_F(ImageButtonTest, HoverShowsTheInImageAndLeavingTheOutImage) {
  ASSERT_TRUE(button_.SetBitmaps(IDB_TEST_IN, RGB(255, 255, 255), IDB_TEST_OUT, RGB(255, 255, 255),
                                 IDB_TEST_DISABLED));
  apptest::PumpFramework(50);
  EXPECT_EQ(Centre(), kBlue);
  // The transparent white does not cover the face.
  EXPECT_EQ(testsupport::WindowPixel(button_.m_hWnd, 8, 8), ::GetSysColor(COLOR_BTNFACE));

  testsupport::MouseMoveTo(0, 0);
  CPoint centre(24, 24);
  button_.ClientToScreen(&centre);
  testsupport::MouseMoveTo(centre.x, centre.y);
  EXPECT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() != FALSE; }));
  apptest::PumpFramework(50);
  EXPECT_EQ(Centre(), kRed);

  testsupport::MouseMoveTo(centre.x + 200, centre.y + 200);
  EXPECT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() == FALSE; }));
  apptest::PumpFramework(50);
  EXPECT_EQ(Centre(), kBlue);

  button_.EnableWindow(FALSE);
  apptest::PumpFramework(50);
  EXPECT_EQ(Centre(), kGrey);
}

TEST_F(ImageButtonTest, HoverShowsTheToolTip) {
  button_.SetBitmaps(IDB_TEST_IN, RGB(255, 255, 255), IDB_TEST_OUT, RGB(255, 255, 255), 0);
  button_.SetTooltipText(L"Click to locate .NSF File");
  ASSERT_NE(button_.m_tooltip.m_hWnd, nullptr);
  CString tip;
  button_.m_tooltip.GetText(tip, &button_, 1);
  EXPECT_EQ(tip, L"Click to locate .NSF File");
  EXPECT_EQ(button_.m_tooltip.GetMaxTipWidth(), 400);

  CPoint centre(24, 24);
  button_.ClientToScreen(&centre);
  testsupport::MouseMoveTo(centre.x - 2, centre.y);
  apptest::PumpFramework(50);
  testsupport::MouseMoveTo(centre.x, centre.y);
  EXPECT_TRUE(
      apptest::PumpFrameworkUntil([&] { return button_.m_tooltip.IsWindowVisible() != FALSE; }, 5000));
  EXPECT_EQ(apptest::TextOf(button_.m_tooltip.m_hWnd), L"Click to locate .NSF File");
  testsupport::SaveWindowPng(host_.m_hWnd, L"app_image_button_hover.png");
}

TEST_F(ImageButtonTest, ADoubleClickCountsAsTwoClicks) {
  button_.SetBitmaps(IDB_TEST_IN, RGB(255, 255, 255), 0, 0, 0);
  testsupport::MouseDoubleClick(button_.m_hWnd, 24, 24);
  apptest::PumpFrameworkUntil([&] { return Clicks() == 2; }, 3000);
  EXPECT_EQ(Clicks(), 2);
  // The click took the focus.
  EXPECT_EQ(::GetFocus(), button_.m_hWnd);
}

TEST_F(ImageButtonTest, DisablingTheFocusedButtonMovesTheFocusOn) {
  button_.SetFocus();
  ASSERT_EQ(::GetFocus(), button_.m_hWnd);
  button_.EnableWindow(FALSE);
  EXPECT_EQ(::GetFocus(), next_.m_hWnd);

  // A button without the focus leaves it where it is.
  button_.EnableWindow(TRUE);
  next_.SetFocus();
  CEdit edit;
  ASSERT_TRUE(
      edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, CRect(100, 60, 180, 84), &host_, 9));
  edit.SetFocus();
  button_.EnableWindow(FALSE);
  EXPECT_EQ(::GetFocus(), edit.m_hWnd);
  edit.DestroyWindow();
}

TEST_F(ImageButtonTest, AutomaticOutImagesAreGreyOrDarker) {
  ASSERT_TRUE(button_.SetBitmaps(IDB_TEST_IN, RGB(255, 255, 255), CImageButton::AUTO_GREY, 0, 0));
  apptest::PumpFramework(50);
  const BYTE level = static_cast<BYTE>(0.299 * 200 + 0.587 * 30 + 0.114 * 30);
  EXPECT_EQ(Centre(), RGB(level, level, level));
  EXPECT_EQ(testsupport::WindowPixel(button_.m_hWnd, 8, 8), ::GetSysColor(COLOR_BTNFACE));

  ASSERT_TRUE(button_.SetBitmaps(IDB_TEST_IN, RGB(255, 255, 255), CImageButton::AUTO_DARKER, 0, 0));
  apptest::PumpFramework(50);
  EXPECT_EQ(Centre(), RGB(150, 22, 22));
}

TEST_F(ImageButtonTest, ACheckBoxButtonTogglesOnClickAndAnswersItsCheck) {
  CImageButton check;
  ASSERT_TRUE(check.Create(L"Check", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(20, 80, 90, 110), &host_, 5));
  EXPECT_TRUE(check.IsCheckBox());
  EXPECT_EQ(check.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_OWNERDRAW));
  EXPECT_EQ(check.GetCheck(), 0);
  testsupport::MouseClick(check.m_hWnd, 35, 15);
  apptest::PumpFrameworkUntil([&] { return check.GetCheck() == 1; }, 3000);
  EXPECT_EQ(check.GetCheck(), 1);
  check.SetCheck(BST_UNCHECKED);
  EXPECT_EQ(check.GetCheck(), 0);
  check.SetCheck(BST_INDETERMINATE);
  EXPECT_EQ(check.GetCheck(), 1);
  check.DestroyWindow();
}

TEST_F(ImageButtonTest, TheTipTextShowsInItsTwoPlacesWhileThePointerIsOver) {
  button_.SetBitmaps(IDB_TEST_IN, RGB(255, 255, 255), IDB_TEST_OUT, RGB(255, 255, 255), 0);
  button_.SetTooltipText(L"Click to locate .NSF File");
  CStatic status;
  ASSERT_TRUE(status.Create(L"Ready", WS_CHILD | WS_VISIBLE, CRect(20, 120, 240, 140), &host_));
  // The item belongs to the test; the button holds a reference of its own.
  CXTPTabManagerItem* pItem = new CXTPTabManagerItem;
  button_.SetTipTextPlaces(&status, pItem);
  pItem->InternalRelease();

  CPoint centre(24, 24);
  button_.ClientToScreen(&centre);
  testsupport::MouseMoveTo(centre.x - 2, centre.y);
  testsupport::MouseMoveTo(centre.x, centre.y);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() != FALSE; }));
  EXPECT_EQ(apptest::TextOf(status.m_hWnd), L"Click to locate .NSF File");
  EXPECT_EQ(pItem->GetCaption(), L"Click to locate .NSF File");

  testsupport::MouseMoveTo(centre.x + 300, centre.y + 300);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() == FALSE; }));
  EXPECT_EQ(apptest::TextOf(status.m_hWnd), L"Ready") << "the status bar shows again what it showed";
  EXPECT_EQ(pItem->GetCaption(), L"");

  // A text that replaced the tip while the pointer was over the button stays when it leaves.
  testsupport::MouseMoveTo(centre.x, centre.y);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() != FALSE; }));
  status.SetWindowText(L"Opening pst file...");
  testsupport::MouseMoveTo(centre.x + 300, centre.y + 300);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() == FALSE; }));
  EXPECT_EQ(apptest::TextOf(status.m_hWnd), L"Opening pst file...");
  EXPECT_EQ(pItem->GetCaption(), L"");

  // Without places nothing else changes; the button lets the item go.
  button_.SetTipTextPlaces(nullptr, nullptr);
  testsupport::MouseMoveTo(centre.x, centre.y);
  ASSERT_TRUE(apptest::PumpFrameworkUntil([&] { return button_.IsMouseOver() != FALSE; }));
  EXPECT_EQ(apptest::TextOf(status.m_hWnd), L"Opening pst file...");
  testsupport::MouseMoveTo(5, 590);
  status.DestroyWindow();
}

TEST_F(ImageButtonTest, AMissingBitmapIsRefusedAndDrawsNoImage) {
  EXPECT_FALSE(button_.SetBitmaps(4999, RGB(255, 255, 255), 0, 0, 0));
  apptest::PumpFramework(50);
  EXPECT_EQ(Centre(), ::GetSysColor(COLOR_BTNFACE));
}

}  // namespace
