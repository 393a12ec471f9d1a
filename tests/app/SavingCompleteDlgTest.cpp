// The saving-complete dialog: its text, its white face (behind the text too) and OK.
#include "SavingCompleteDlg.h"

#include "AppTestSupport.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

using apptest::ModalRun;

TEST(SavingCompleteDlg, ShowsItsTextOnWhiteAndEndsWithOk) {
  CSavingCompleteDlg dlg;
  INT_PTR result = 0;
  ModalRun run(L"Brindle for PST to NSF", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  testsupport::PumpMessages(200);

  HWND hText = ::GetDlgItem(hDlg, IDC_SAVING_COMPLETE_TEXT);
  ASSERT_NE(hText, nullptr);
  EXPECT_EQ(
      apptest::TextOf(hText),
      L"Saving Complete , \r\nClick Next button to convert another file or click Exit to close the software");

  CRect rcWindow, rcText;
  ::GetWindowRect(hDlg, &rcWindow);
  ::GetWindowRect(hText, &rcText);
  CPoint origin(0, 0);
  ::ClientToScreen(hDlg, &origin);
  CRect rcClient;
  ::GetClientRect(hDlg, &rcClient);
  const int x0 = origin.x - rcWindow.left;
  const int y0 = origin.y - rcWindow.top;
  // The face, and the text's own background at its bottom-right corner, are white.
  EXPECT_EQ(testsupport::WindowPixel(hDlg, x0 + 2, y0 + 2), RGB(255, 255, 255));
  EXPECT_EQ(testsupport::WindowPixel(hDlg, x0 + 2, y0 + rcClient.bottom - 3), RGB(255, 255, 255));
  EXPECT_EQ(
      testsupport::WindowPixel(hDlg, rcText.right - 2 - rcWindow.left, rcText.bottom - 2 - rcWindow.top),
      RGB(255, 255, 255));
  EXPECT_EQ(testsupport::ClippedChildTexts(hDlg), std::vector<std::wstring>());
  testsupport::SaveWindowPng(hDlg, L"app_saving_complete.png");

  apptest::ClickControl(hDlg, IDOK);
  run.Finish();
  EXPECT_EQ(result, IDOK);
}

}  // namespace
