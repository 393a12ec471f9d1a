// The progress wait dialog as the main frame keeps it: shown, written and hidden from a worker, Stop
// reaching its owner, its self-hiding timer and its face.
#include "ProcessProgressDlg.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using apptest::CRecordingWnd;

class ProcessProgressDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner_.CreateHidden(L"Progress owner"));
    owner_.Watch(WM_STOP_PROCESS);
    ASSERT_TRUE(dlg_.Create(CProcessProgressDlg::IDD, &owner_));
    dlg_.m_pOwner = &owner_;
  }
  void TearDown() override {
    dlg_.DestroyWindow();
    owner_.DestroyWindow();
  }

  bool Visible() { return ::IsWindowVisible(dlg_.m_hWnd) != FALSE; }

  CRecordingWnd owner_;
  CProcessProgressDlg dlg_;
};

TEST_F(ProcessProgressDlgTest, AWorkerShowsWritesAndHidesItThroughTheUserInterfaceThread) {
  EXPECT_FALSE(Visible());
  std::thread worker([this] {
    dlg_.ShowWait(L"Please wait while enumerating folders");
    dlg_.SetProgressPos(33);
    dlg_.SetScanProgressText(3, 120, L"($Inbox)");
  });
  worker.join();
  // Nothing ran on the worker: the window changes when this thread dispatches.
  EXPECT_FALSE(Visible());
  testsupport::PumpUntil([&] { return dlg_.m_bShown == 1 && Visible(); });
  testsupport::PumpMessages(100);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(dlg_.m_strText, L"Please wait while enumerating folders");
  EXPECT_EQ(dlg_.m_bar.GetPos(), 33);
  EXPECT_EQ(apptest::TextOf(dlg_.m_label.m_hWnd),
            L"Please wait, the file is being scanned for emails and other items ...\r\n\r\n"
            L"Total Folder Found     :3  Total Email Found    :120\r\nLast Folder Found     :($Inbox)");
  // The timer leaves a dialog alone that the frame means to be visible.
  testsupport::PumpMessages(700);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(testsupport::ClippedChildTexts(dlg_.m_hWnd), std::vector<std::wstring>());
  testsupport::SaveWindowPng(dlg_.m_hWnd, L"app_process_progress.png");

  std::thread([this] { dlg_.HideWait(); }).join();
  testsupport::PumpUntil([&] { return !Visible(); });
  EXPECT_EQ(dlg_.m_bShown, 0);
  EXPECT_EQ(dlg_.m_bar.GetPos(), 100);
}

TEST_F(ProcessProgressDlgTest, AWorkerWaitShowsItsTextAloneAndEndsWithTheDialogAsItWas) {
  dlg_.ShowWait(L"");
  testsupport::PumpMessages(50);
  CRect rcBefore;
  dlg_.GetWindowRect(&rcBefore);
  const CString strWait = L"Waiting for the reading of the NSF file to stop...";
  dlg_.BeginWorkerWait(strWait);
  dlg_.BeginWorkerWait(strWait);
  testsupport::PumpMessages(50);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(apptest::TextOf(dlg_.m_label.m_hWnd), strWait);
  EXPECT_FALSE(dlg_.m_bar.IsWindowVisible());
  EXPECT_FALSE(dlg_.GetDlgItem(IDC_STOP)->IsWindowVisible());
  // No blank band where bar and Stop were: the text is as far from the bottom as from the top.
  CRect rcClient;
  CRect rcLabel;
  dlg_.GetClientRect(&rcClient);
  dlg_.m_label.GetWindowRect(&rcLabel);
  dlg_.ScreenToClient(&rcLabel);
  EXPECT_NEAR(rcClient.bottom - rcLabel.bottom, rcLabel.top, 1);
  // The black and yellow edges run along the new bottom.
  CPoint origin(0, 0);
  dlg_.ClientToScreen(&origin);
  CRect rcWindow;
  dlg_.GetWindowRect(&rcWindow);
  const int x = origin.x - rcWindow.left + rcClient.Width() / 2;
  const int yBottom = origin.y - rcWindow.top + rcClient.bottom - 1;
  EXPECT_EQ(testsupport::WindowPixel(dlg_.m_hWnd, x, yBottom), RGB(0, 0, 0));
  EXPECT_EQ(testsupport::WindowPixel(dlg_.m_hWnd, x, yBottom - 1), RGB(255, 255, 0));
  testsupport::SaveWindowPng(dlg_.m_hWnd, L"process_progress_worker_wait.png");

  dlg_.EndWorkerWait();
  EXPECT_FALSE(dlg_.m_bar.IsWindowVisible()) << "one wait of two is still on";
  dlg_.EndWorkerWait();
  testsupport::PumpMessages(50);
  CRect rcAfter;
  dlg_.GetWindowRect(&rcAfter);
  EXPECT_EQ(rcAfter, rcBefore);
  EXPECT_TRUE(dlg_.m_bar.IsWindowVisible());
  EXPECT_TRUE(dlg_.GetDlgItem(IDC_STOP)->IsWindowVisible());
  EXPECT_EQ(apptest::TextOf(dlg_.m_label.m_hWnd), L"Please wait...");
}

TEST_F(ProcessProgressDlgTest, ShowingResetsTheWaitText) {
  dlg_.SetScanProgressText(1, 2, L"Old");
  dlg_.ShowWait(L"");
  testsupport::PumpMessages(50);
  EXPECT_EQ(apptest::TextOf(dlg_.m_label.m_hWnd), L"Please wait...");
}

TEST_F(ProcessProgressDlgTest, StopReachesTheOwnerAndWithoutOneDoesNothing) {
  dlg_.ShowWait(L"");
  testsupport::PumpMessages(100);
  apptest::ClickControl(dlg_.m_hWnd, IDC_STOP);
  testsupport::PumpUntil([&] { return owner_.Count(WM_STOP_PROCESS) == 1; });
  ASSERT_EQ(owner_.Count(WM_STOP_PROCESS), 1);
  EXPECT_EQ(owner_.m_received[0].wParam, 0u);
  EXPECT_EQ(owner_.m_received[0].lParam, 0);

  dlg_.m_pOwner = nullptr;
  apptest::ClickControl(dlg_.m_hWnd, IDC_STOP);
  testsupport::PumpMessages(200);
  EXPECT_EQ(owner_.Count(WM_STOP_PROCESS), 1);
  EXPECT_TRUE(Visible());
}

TEST_F(ProcessProgressDlgTest, NeitherCloseNorEscapeEndsTheWait) {
  dlg_.ShowWait(L"");
  testsupport::PumpMessages(100);
  dlg_.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  testsupport::PumpMessages(100);
  EXPECT_TRUE(Visible());
  apptest::ClickControl(dlg_.m_hWnd, IDC_WAIT_TEXT);  // activates the dialog for the keys
  testsupport::KeyPress(VK_ESCAPE);
  testsupport::KeyPress(VK_RETURN);
  apptest::PumpFramework(200);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(dlg_.m_bShown, 1);
}

TEST_F(ProcessProgressDlgTest, ItsTimerHidesItWhenTheFrameDoesNotMeanItToShow) {
  dlg_.ShowWindow(SW_SHOW);
  EXPECT_TRUE(Visible());
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !Visible(); }, 2000));
}

TEST_F(ProcessProgressDlgTest, PaintsABlackEdgeAYellowEdgeAndALightFace) {
  dlg_.ShowWait(L"");
  testsupport::PumpMessages(100);
  CPoint origin(0, 0);
  dlg_.ClientToScreen(&origin);
  CRect rcWindow;
  dlg_.GetWindowRect(&rcWindow);
  const int x0 = origin.x - rcWindow.left;
  const int y0 = origin.y - rcWindow.top;
  CRect rcClient;
  dlg_.GetClientRect(&rcClient);
  EXPECT_EQ(testsupport::WindowPixel(dlg_.m_hWnd, x0, y0), RGB(0, 0, 0));
  EXPECT_EQ(testsupport::WindowPixel(dlg_.m_hWnd, x0 + 1, y0 + 1), RGB(255, 255, 0));
  EXPECT_EQ(testsupport::WindowPixel(dlg_.m_hWnd, x0 + rcClient.right - 2, y0 + 5), RGB(255, 255, 0));
  // The face runs from white at the top to 0xEFFEFF (red 255, green 254, blue 239) at the bottom.
  const COLORREF top = testsupport::WindowPixel(dlg_.m_hWnd, x0 + 3, y0 + 2);
  const COLORREF bottom = testsupport::WindowPixel(dlg_.m_hWnd, x0 + 3, y0 + rcClient.bottom - 3);
  EXPECT_EQ(top, RGB(255, 255, 255));
  EXPECT_EQ(GetRValue(bottom), 255);
  EXPECT_NEAR(GetBValue(bottom), 239, 2);
  // The wait text sits on 0xEFFEFF.
  CRect rcLabel;
  dlg_.m_label.GetWindowRect(&rcLabel);
  EXPECT_EQ(testsupport::WindowPixel(dlg_.m_hWnd, rcLabel.right - 2 - rcWindow.left,
                                     rcLabel.bottom - 2 - rcWindow.top),
            RGB(255, 254, 239));
}

}  // namespace
