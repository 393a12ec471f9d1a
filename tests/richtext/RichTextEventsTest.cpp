// The control's events under real input: a press and release is MouseDown then Click, a release alone
// is no click, a scroll-bar press is no MouseDown, and a key handler's write reaches the control.
#include <gtest/gtest.h>

#include "RealInput.h"
#include "RichTextControl.h"
#include "RichTextHost.h"
#include "WindowTest.h"

using namespace richtexttest;

namespace {

class RichTextEvents : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new RichTextHost;
    ASSERT_TRUE(s_hostWnd->CreateTop(L"Rich text events", 60, 60, 420, 260));
    s_control = new CWnd;
    ASSERT_TRUE(s_hostWnd->CreateRichText(*s_control, CRect(10, 10, 390, 120)));
    // A control with the state of the test dialog: editable, so that keys show.
    s_dialog = new CDialog;
    ASSERT_TRUE(s_dialog->Create(300, s_hostWnd));
    s_dialog->SetWindowPos(nullptr, 10, 125, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  static void TearDownTestSuite() {
    if (s_dialog != nullptr && s_dialog->GetSafeHwnd() != nullptr) s_dialog->DestroyWindow();
    delete s_dialog;
    if (s_control != nullptr && s_control->GetSafeHwnd() != nullptr) s_control->DestroyWindow();
    delete s_control;
    if (s_hostWnd != nullptr && s_hostWnd->GetSafeHwnd() != nullptr) s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_dialog = nullptr;
    s_control = nullptr;
    s_hostWnd = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(testsupport::BringToFront(s_hostWnd->m_hWnd));
    PutTextRtf(*s_control, L"{\\rtf1 Some words to click on\\par and a second line\\par}");
    testsupport::PumpMessages(50);
    s_hostWnd->m_events.clear();
    s_hostWnd->m_keyReplacement = -1;
  }
  HWND Edit() { return EditWindowOf(*s_control); }
  static POINT ScreenPoint(HWND window, int x, int y) {
    POINT point = {x, y};
    ::ClientToScreen(window, &point);
    return point;
  }

  static RichTextHost* s_hostWnd;
  static CWnd* s_control;
  static CDialog* s_dialog;
};
RichTextHost* RichTextEvents::s_hostWnd = nullptr;
CWnd* RichTextEvents::s_control = nullptr;
CDialog* RichTextEvents::s_dialog = nullptr;

TEST_F(RichTextEvents, APressAndReleaseIsMouseDownThenClickAtTheControlsPixels) {
  const POINT at = ScreenPoint(Edit(), 40, 8);
  testsupport::InputClick(at.x, at.y);
  testsupport::PumpUntil([&] { return s_hostWnd->m_events.size() >= 2; }, 3000);
  ASSERT_EQ(s_hostWnd->m_events.size(), 2u);
  EXPECT_EQ(s_hostWnd->m_events[0], L"down 1 40 8");
  EXPECT_EQ(s_hostWnd->m_events[1], L"click");
  testsupport::InputClick(at.x, at.y, true);
  testsupport::PumpUntil([&] { return s_hostWnd->m_events.size() >= 3; }, 3000);
  ASSERT_EQ(s_hostWnd->m_events.size(), 3u);
  EXPECT_EQ(s_hostWnd->m_events[2], L"down 2 40 8");
}

TEST_F(RichTextEvents, AReleaseAloneIsNoClick) {
  const POINT at = ScreenPoint(Edit(), 60, 10);
  testsupport::InputMoveMouse(at.x, at.y);
  testsupport::MouseButton(false);
  testsupport::PumpMessages(200);
  EXPECT_TRUE(s_hostWnd->m_events.empty());
}

TEST_F(RichTextEvents, APressOnTheScrollBarIsNoMouseDown) {
  RECT client;
  ::GetClientRect(Edit(), &client);
  // Just right of the client area: the vertical scroll bar.
  const POINT at = ScreenPoint(Edit(), client.right + 4, client.bottom / 2);
  testsupport::InputClick(at.x, at.y);
  testsupport::PumpMessages(200);
  EXPECT_TRUE(s_hostWnd->m_events.empty());
}

TEST_F(RichTextEvents, KeysAreReportedAndAHandlerThatClearsThemSwallowsThem) {
  CWnd* control = s_dialog->GetDlgItem(kControlId);
  ASSERT_NE(control, nullptr);
  HWND edit = ::GetWindow(control->m_hWnd, GW_CHILD);
  // The dialog has no sink map of its own: its control's events reach no handler, and keys go in.
  const POINT at = ScreenPoint(edit, 5, 5);
  testsupport::InputClick(at.x, at.y);
  testsupport::PumpMessages(100);
  ::SendMessageW(edit, EM_SETSEL, 0, 0);
  testsupport::InputTap('A');
  testsupport::PumpUntil([&] { return ShownText(edit).find(L"a") == 0; }, 2000);
  EXPECT_EQ(ShownText(edit), L"afrom resource");

  // The events test control reports its keys; clearing the key in KeyDown and KeyPress swallows it.
  const POINT inside = ScreenPoint(Edit(), 40, 8);
  testsupport::InputClick(inside.x, inside.y);
  testsupport::PumpMessages(100);
  s_hostWnd->m_events.clear();
  testsupport::InputTap('B');
  testsupport::PumpUntil([&] { return s_hostWnd->m_events.size() >= 2; }, 2000);
  ASSERT_GE(s_hostWnd->m_events.size(), 2u);
  EXPECT_EQ(s_hostWnd->m_events[0], L"keydown 66");
  EXPECT_EQ(s_hostWnd->m_events[1], L"keypress 98");
}

}  // namespace
