// The wizard's About box: its text whole within the link control, the yellow edge around its face,
// and OK.
#include "AboutDlg.h"

#include "AppTestSupport.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

TEST(AboutDlg, ShowsItsWholeTextInsideAYellowEdgeAndEndsWithOk) {
  CAboutDlg dlg;
  INT_PTR result = 0;
  apptest::ModalRun run(L"About Brindle for PST to NSF", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  testsupport::PumpMessages(200);

  EXPECT_EQ(apptest::TextOf(::GetDlgItem(hDlg, IDC_ABOUT_TEXT)), CAboutDlg::GetAboutText());
  EXPECT_EQ(testsupport::ClippedChildTexts(hDlg), std::vector<std::wstring>());
  CRect rcWindow;
  ::GetWindowRect(hDlg, &rcWindow);
  CPoint origin(0, 0);
  ::ClientToScreen(hDlg, &origin);
  EXPECT_EQ(testsupport::WindowPixel(hDlg, origin.x - rcWindow.left, origin.y - rcWindow.top),
            RGB(255, 255, 0));
  testsupport::SaveWindowPng(hDlg, L"wizard_about_box.png");

  apptest::ClickControl(hDlg, IDOK);
  run.Finish();
  EXPECT_EQ(result, IDOK);
}

}  // namespace
