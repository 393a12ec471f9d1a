// The server search wait window: it stays while it is meant to show, its animation plays, Stop tells
// the window named for it, and Enter and Escape do not end it.
#include "ServerEnumWaitDlg.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using apptest::CRecordingWnd;

class ServerEnumWaitDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(notify_.CreateHidden(L"Server wait owner"));
    notify_.Watch(WM_STOP_ENUMERATION);
    ASSERT_TRUE(dlg_.Create(CServerEnumWaitDlg::IDD, &notify_));
    dlg_.m_pNotifyWnd = &notify_;
  }
  void TearDown() override {
    dlg_.DestroyWindow();
    notify_.DestroyWindow();
  }

  bool Visible() { return ::IsWindowVisible(dlg_.m_hWnd) != FALSE; }
  std::vector<COLORREF> Animation() {
    return testsupport::WindowPixels(dlg_.m_animation.m_hWnd, nullptr, nullptr);
  }

  CRecordingWnd notify_;
  CServerEnumWaitDlg dlg_;
};

TEST_F(ServerEnumWaitDlgTest, ShownItStaysAndItsAnimationPlays) {
  std::thread([this] { dlg_.ShowWait(); }).join();
  testsupport::PumpUntil([&] { return Visible(); });
  EXPECT_EQ(dlg_.m_bKeepVisible, 1);
  // Past two ticks of its timer it is still there.
  testsupport::PumpMessages(1200);
  EXPECT_TRUE(Visible());

  const std::vector<COLORREF> first = Animation();
  std::vector<COLORREF> second;
  testsupport::PumpUntil(
      [&] {
        second = Animation();
        return second != first;
      },
      3000);
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_EQ(testsupport::ClippedChildTexts(dlg_.m_hWnd), std::vector<std::wstring>());
  testsupport::SaveWindowPng(dlg_.m_hWnd, L"app_server_wait.png");

  std::thread([this] { dlg_.HideWait(); }).join();
  testsupport::PumpUntil([&] { return !Visible(); });
  EXPECT_EQ(dlg_.m_bKeepVisible, 0);
}

TEST_F(ServerEnumWaitDlgTest, StopTellsTheNamedWindowAndTheAnimationGoesOn) {
  dlg_.ShowWait();
  testsupport::PumpMessages(200);
  apptest::ClickControl(dlg_.m_hWnd, IDC_STOP);
  testsupport::PumpUntil([&] { return notify_.Count(WM_STOP_ENUMERATION) == 1; });
  EXPECT_EQ(notify_.Count(WM_STOP_ENUMERATION), 1);
  EXPECT_TRUE(Visible());
  EXPECT_TRUE(dlg_.m_animation.IsWindowVisible());
  const std::vector<COLORREF> first = Animation();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Animation() != first; }, 3000));

  dlg_.m_pNotifyWnd = nullptr;
  apptest::ClickControl(dlg_.m_hWnd, IDC_STOP);
  testsupport::PumpMessages(200);
  EXPECT_EQ(notify_.Count(WM_STOP_ENUMERATION), 1);
}

TEST_F(ServerEnumWaitDlgTest, EnterAndEscapeDoNotEndIt) {
  dlg_.ShowWait();
  testsupport::PumpMessages(200);
  // Focus on Stop: Enter would press it if the dialog's key handling ran.
  ::SetForegroundWindow(dlg_.m_hWnd);
  ::SetFocus(::GetDlgItem(dlg_.m_hWnd, IDC_STOP));
  testsupport::KeyPress(VK_ESCAPE);
  testsupport::KeyPress(VK_RETURN);
  apptest::PumpFramework(300);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(notify_.Count(WM_STOP_ENUMERATION), 0);
}

TEST_F(ServerEnumWaitDlgTest, NotMeantToShowItHidesItself) {
  dlg_.ShowWindow(SW_SHOW);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !Visible(); }, 2000));
}

}  // namespace
