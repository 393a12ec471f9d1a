// The large-item prompt: both answers keep the state of "Don't show this message again".
#include "LargeItemPromptDlg.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

using apptest::ModalRun;

const wchar_t kCaption[] = L"Brindle for PST to NSF";

TEST(LargeItemPromptDlg, CancelWithTheBoxTickedGivesCancelAndTheFlag) {
  CLargeItemPromptDlg dlg;
  INT_PTR result = 0;
  ModalRun run(kCaption, [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  testsupport::PumpMessages(100);
  EXPECT_EQ(apptest::TextOf(::GetDlgItem(hDlg, IDC_DONT_SHOW_AGAIN)), L"Don't show this message again");
  apptest::ClickControl(hDlg, IDC_DONT_SHOW_AGAIN);
  testsupport::PumpUntil([&] { return ::IsDlgButtonChecked(hDlg, IDC_DONT_SHOW_AGAIN) == BST_CHECKED; });
  EXPECT_EQ(testsupport::ClippedChildTexts(hDlg), std::vector<std::wstring>());
  testsupport::SaveWindowPng(hDlg, L"app_large_item_prompt.png");
  apptest::ClickControl(hDlg, IDCANCEL);
  run.Finish();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.m_bDontShowAgain, 1);
}

TEST(LargeItemPromptDlg, OkWithTheBoxClearGivesOkAndNoFlag) {
  CLargeItemPromptDlg dlg;
  INT_PTR result = 0;
  ModalRun run(kCaption, [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  testsupport::PumpMessages(100);
  apptest::ClickControl(hDlg, IDOK);
  run.Finish();
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.m_bDontShowAgain, 0);
}

TEST(LargeItemDialogPrompt, AnswersThePreviewWithTheDialogsResultAndTick) {
  CLargeItemDialogPrompt prompt;
  ILargeItemPrompt& asked = prompt;
  BOOL dontShow = 5;
  int result = 0;
  {
    ModalRun run(kCaption, [&] { result = asked.AskLargeItem(&dontShow); });
    HWND hDlg = run.WaitForDialog();
    ASSERT_NE(hDlg, nullptr);
    testsupport::PumpMessages(100);
    apptest::ClickControl(hDlg, IDC_DONT_SHOW_AGAIN);
    testsupport::PumpUntil([&] { return ::IsDlgButtonChecked(hDlg, IDC_DONT_SHOW_AGAIN) == BST_CHECKED; });
    apptest::ClickControl(hDlg, IDOK);
    run.Finish();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dontShow, TRUE);

  // Esc is Cancel, and the box left clear says to ask again.
  {
    ModalRun run(kCaption, [&] { result = asked.AskLargeItem(&dontShow); });
    HWND hDlg = run.WaitForDialog();
    ASSERT_NE(hDlg, nullptr);
    testsupport::PumpMessages(100);
    ASSERT_TRUE(testsupport::BringToFront(hDlg));
    testsupport::KeyPress(VK_ESCAPE);
    run.Finish();
  }
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dontShow, FALSE);
}

}  // namespace
