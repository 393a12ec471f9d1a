// The hover button under the real mouse and keyboard: its own check state by kind, the uncheck of its
// dialog group, a double click as two presses, the hover with its leave, and the tool-tip relay.
#include "HoverButton.h"

#include <afxcmn.h>

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

namespace {

using apptest::CRecordingWnd;

const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// One host for the suite; fresh buttons for each test. The first group holds two option buttons, a
// check box and a push button; the outsider check box starts a group of its own.
class HoverButtonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new CRecordingWnd;
    s_hostWnd->CreateHost(L"Hover buttons", 40, 260, 320, 250);
    s_hostWnd->Watch(WM_COMMAND);
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
  }
  void SetUp() override {
    testsupport::MouseMoveTo(5, 590);
    ASSERT_NE(s_hostWnd->m_hWnd, nullptr);
    s_hostWnd->m_received.clear();
    ASSERT_TRUE(first_.Create(L"First option", kChild | WS_GROUP | BS_RADIOBUTTON, CRect(10, 10, 200, 34),
                              s_hostWnd, 11));
    ASSERT_TRUE(
        second_.Create(L"Second option", kChild | BS_AUTORADIOBUTTON, CRect(10, 40, 200, 64), s_hostWnd, 12));
    ASSERT_TRUE(check_.Create(L"Check box", kChild | BS_CHECKBOX, CRect(10, 70, 200, 94), s_hostWnd, 13));
    ASSERT_TRUE(push_.Create(L"Push", kChild | BS_PUSHBUTTON, CRect(10, 100, 200, 124), s_hostWnd, 14));
    ASSERT_TRUE(outsider_.Create(L"Outsider", kChild | WS_GROUP | BS_AUTOCHECKBOX, CRect(10, 140, 200, 164),
                                 s_hostWnd, 15));
    apptest::PumpFramework(50);
  }
  void TearDown() override {
    for (CHoverButton* button : {&first_, &second_, &check_, &push_, &outsider_}) button->DestroyWindow();
    apptest::PumpFramework(20);
  }

  static int Check(CHoverButton& button) { return static_cast<int>(button.SendMessage(BM_GETCHECK)); }
  void Click(CHoverButton& button) {
    testsupport::MouseClick(button.m_hWnd, 60, 12);
    apptest::PumpFramework(::GetDoubleClickTime() + 50);
  }
  int Commands(int id, int code) const {
    int n = 0;
    for (const auto& r : host_.m_received) {
      if (LOWORD(r.wParam) == id && HIWORD(r.wParam) == code) ++n;
    }
    return n;
  }

  static CRecordingWnd* s_hostWnd;
  CRecordingWnd& host_ = *s_hostWnd;
  CHoverButton first_, second_, check_, push_, outsider_;
};

CRecordingWnd* HoverButtonTest::s_hostWnd = nullptr;

TEST_F(HoverButtonTest, TheKindComesFromTheStyleAndTheWindowIsOwnerDrawn) {
  EXPECT_EQ(first_.m_nButtonKind, CHoverButton::KIND_OPTION);
  EXPECT_EQ(second_.m_nButtonKind, CHoverButton::KIND_OPTION);
  EXPECT_EQ(check_.m_nButtonKind, CHoverButton::KIND_CHECK_BOX);
  EXPECT_EQ(outsider_.m_nButtonKind, CHoverButton::KIND_CHECK_BOX);
  EXPECT_EQ(push_.m_nButtonKind, CHoverButton::KIND_PUSH);
  EXPECT_EQ(check_.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(HoverButtonTest, ACheckBoxTogglesWhenReleasedOverItOrOnTheSpaceBar) {
  Click(check_);
  EXPECT_EQ(Check(check_), 1);
  Click(check_);
  EXPECT_EQ(Check(check_), 0);

  // Pressed on the button, released elsewhere: no change, and no click.
  const int clicksBefore = Commands(13, BN_CLICKED);
  CPoint from(60, 12), to(60, 200);
  check_.ClientToScreen(&from);
  check_.ClientToScreen(&to);
  testsupport::MouseDrag(from.x, from.y, to.x, to.y);
  apptest::PumpFramework(100);
  EXPECT_EQ(Check(check_), 0);
  EXPECT_EQ(check_.m_bPressed, 0);
  EXPECT_EQ(Commands(13, BN_CLICKED), clicksBefore);

  // The click above left the focus on the button.
  ASSERT_EQ(::GetFocus(), check_.m_hWnd);
  testsupport::KeyPress(VK_SPACE);
  apptest::PumpFramework(100);
  EXPECT_EQ(Check(check_), 1);
  testsupport::KeyPress(VK_SPACE);
  apptest::PumpFramework(100);
  EXPECT_EQ(Check(check_), 0);
}

TEST_F(HoverButtonTest, APushButtonNeverTakesACheck) {
  push_.SendMessage(BM_SETCHECK, 1);
  EXPECT_EQ(Check(push_), 0);
  Click(push_);
  EXPECT_EQ(Check(push_), 0);
  EXPECT_EQ(Commands(14, BN_CLICKED), 1);
}

TEST_F(HoverButtonTest, CheckingAnOptionClearsEveryOtherHoverButtonOfItsGroup) {
  // The uncheck is posted: it reaches the group once the queue is read.
  second_.SendMessage(BM_SETCHECK, 1);
  apptest::PumpFramework(50);
  check_.SendMessage(BM_SETCHECK, 1);
  outsider_.SendMessage(BM_SETCHECK, 1);
  apptest::PumpFramework(50);
  // Checking the check box (not an option) cleared nobody.
  EXPECT_EQ(Check(second_), 1);
  EXPECT_EQ(Check(check_), 1);

  // A release over the first option.
  Click(first_);
  EXPECT_EQ(Check(first_), 1);
  EXPECT_EQ(Check(second_), 0);
  EXPECT_EQ(Check(check_), 0);
  EXPECT_EQ(Check(push_), 0);
  EXPECT_EQ(Check(outsider_), 1);

  // The space bar on the second option, then BM_SETCHECK on the first.
  check_.SendMessage(BM_SETCHECK, 1);
  second_.SetFocus();
  testsupport::KeyPress(VK_SPACE);
  apptest::PumpFramework(100);
  EXPECT_EQ(Check(second_), 1);
  EXPECT_EQ(Check(first_), 0);
  EXPECT_EQ(Check(check_), 0);
  first_.SendMessage(BM_SETCHECK, 1);
  apptest::PumpFramework(50);
  EXPECT_EQ(Check(second_), 0);

  // Unchecking posts nothing.
  check_.SendMessage(BM_SETCHECK, 1);
  first_.SendMessage(BM_SETCHECK, 0);
  apptest::PumpFramework(50);
  EXPECT_EQ(Check(first_), 0);
  EXPECT_EQ(Check(check_), 1);
  EXPECT_EQ(Check(outsider_), 1);
}

TEST_F(HoverButtonTest, AHiddenOptionStillEndsTheWalkOfItsGroup) {
  // The dialog manager passes over a hidden control: the walk must not go round for ever.
  first_.ShowWindow(SW_HIDE);
  check_.SendMessage(BM_SETCHECK, 1);
  first_.SendMessage(BM_SETCHECK, 1);
  apptest::PumpFramework(50);
  EXPECT_EQ(Check(first_), 1);
  EXPECT_EQ(Check(check_), 0);
  first_.ShowWindow(SW_SHOW);
}

TEST_F(HoverButtonTest, ADoubleClickIsTwoPresses) {
  testsupport::MouseDoubleClick(check_.m_hWnd, 60, 12);
  apptest::PumpFrameworkUntil([&] { return Commands(13, BN_CLICKED) == 2; }, 3000);
  EXPECT_EQ(Commands(13, BN_CLICKED), 2);
  EXPECT_EQ(Commands(13, BN_DOUBLECLICKED), 0);
  // Toggled twice.
  EXPECT_EQ(Check(check_), 0);
}

TEST_F(HoverButtonTest, HoverFollowsTheMouseAndTheToolTipHearsOfIt) {
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&host_));
  ASSERT_TRUE(tip.AddTool(&push_, L"Pushes nothing"));
  tip.SetDelayTime(TTDT_INITIAL, 50);
  push_.SetToolTipWindow(tip.m_hWnd);

  CPoint centre(60, 12);
  push_.ClientToScreen(&centre);
  testsupport::MouseMoveTo(centre.x - 3, centre.y);
  apptest::PumpFramework(30);
  testsupport::MouseMoveTo(centre.x, centre.y);
  EXPECT_TRUE(apptest::PumpFrameworkUntil([&] { return push_.m_bHover != 0; }, 3000));
  EXPECT_TRUE(apptest::PumpFrameworkUntil([&] { return tip.IsWindowVisible() != FALSE; }, 5000));
  testsupport::SaveWindowPng(host_.m_hWnd, L"app_hover_buttons.png");

  // A press ends the hover; leaving the button ends it too.
  testsupport::MouseButton(true);
  apptest::PumpFramework(50);
  EXPECT_EQ(push_.m_bHover, 0);
  EXPECT_EQ(push_.m_bPressed, 1);
  testsupport::MouseButton(false);
  apptest::PumpFramework(50);
  EXPECT_EQ(push_.m_bPressed, 0);
  testsupport::MouseMoveTo(centre.x + 2, centre.y);
  EXPECT_TRUE(apptest::PumpFrameworkUntil([&] { return push_.m_bHover != 0; }, 3000));
  testsupport::MouseMoveTo(centre.x + 300, centre.y + 300);
  EXPECT_TRUE(apptest::PumpFrameworkUntil([&] { return push_.m_bHover == 0; }, 3000));
  push_.SetToolTipWindow(nullptr);
  tip.DestroyWindow();
}

}  // namespace
