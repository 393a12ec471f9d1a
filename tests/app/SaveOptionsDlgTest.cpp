// The save choice of the browser page's Export (dialog 185): what it keeps for itself and writes into
// the main frame, driven with real clicks.
#include "SaveOptionsDlg.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "MainFrame.h"
#include "WindowTest.h"

namespace {

class SaveOptionsDlgTest : public ::testing::Test {
 protected:
  // The dialog reaches the frame through the application's main window.
  void SetUp() override {
    m_pOldMainWnd = AfxGetApp()->m_pMainWnd;
    AfxGetApp()->m_pMainWnd = &m_frame;
    m_frame.m_nSaveOption = 7;
  }
  void TearDown() override { AfxGetApp()->m_pMainWnd = m_pOldMainWnd; }

  // Runs the dialog, clicks the controls in order, and returns DoModal's result.
  INT_PTR Run(std::initializer_list<int> clicks) {
    INT_PTR result = 0;
    apptest::ModalRun run(L"Save Options", [&] { result = m_dialog.DoModal(); });
    HWND dialog = run.WaitForDialog();
    EXPECT_NE(dialog, nullptr);
    if (dialog != nullptr) {
      testsupport::PumpMessages(100);
      EXPECT_EQ(testsupport::ClippedChildTexts(dialog), std::vector<std::wstring>());
      EXPECT_EQ(BST_CHECKED, ::SendMessageW(::GetDlgItem(dialog, IDC_SAVE_IN_PST), BM_GETCHECK, 0, 0));
      EXPECT_EQ(BST_UNCHECKED, ::SendMessageW(::GetDlgItem(dialog, IDC_SAVE_IN_EXCHANGE), BM_GETCHECK, 0, 0));
      for (int id : clicks) {
        apptest::ClickControl(dialog, id);
        testsupport::PumpMessages(50);
      }
    }
    run.Finish();
    return result;
  }

  CMainFrame m_frame;
  CSaveOptionsDlg m_dialog;
  CWnd* m_pOldMainWnd = nullptr;
};

TEST_F(SaveOptionsDlgTest, OkOnTheCheckedPstChoiceStoresOne) {
  EXPECT_EQ(IDOK, Run({IDOK}));
  EXPECT_EQ(1, m_dialog.m_nChoice);
  EXPECT_EQ(1, m_frame.m_nSaveOption);
}

TEST_F(SaveOptionsDlgTest, TheExchangeChoiceStoresZeroInTheDialogAndTwoInTheFrame) {
  EXPECT_EQ(IDOK, Run({IDC_SAVE_IN_EXCHANGE, IDOK}));
  EXPECT_EQ(0, m_dialog.m_nChoice);
  EXPECT_EQ(2, m_frame.m_nSaveOption);
}

TEST_F(SaveOptionsDlgTest, CancelLeavesTheFramesChoiceAsItWas) {
  EXPECT_EQ(IDCANCEL, Run({IDC_SAVE_IN_EXCHANGE, IDCANCEL}));
  EXPECT_EQ(0, m_dialog.m_nChoice);
  EXPECT_EQ(7, m_frame.m_nSaveOption);
}

}  // namespace
