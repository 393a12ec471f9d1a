// The banner: its picture in the frame's corner and its link to the maker's site.
#include "BannerDlg.h"

#include "AppTestSupport.h"
#include "HomePage.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

TEST(BannerDlg, ShowsItsPictureAsALinkToTheMakersSite) {
  apptest::CRecordingWnd frame;
  ASSERT_TRUE(frame.CreateHost(L"Banner host", 40, 40, 420, 160));
  CBannerDlg banner;
  ASSERT_TRUE(banner.Create(CBannerDlg::IDD, &frame));
  CRect rcClient;
  frame.GetClientRect(&rcClient);
  banner.SetWindowPos(nullptr, rcClient.Width() - 180, 25, 180, 51, SWP_NOZORDER | SWP_NOACTIVATE);
  banner.ShowWindow(SW_SHOW);
  testsupport::PumpMessages(100);

  EXPECT_EQ(banner.m_link.GetURL(), MAKER_HOME_PAGE);
  EXPECT_EQ(banner.GetStyle() & WS_CHILD, static_cast<DWORD>(WS_CHILD));
  // The picture: the mark's blue frame at its left, the light band behind the name.
  EXPECT_EQ(testsupport::WindowPixel(banner.m_link.m_hWnd, 10, 25), RGB(40, 84, 170));
  EXPECT_EQ(testsupport::WindowPixel(banner.m_link.m_hWnd, 150, 5), RGB(255, 255, 253));
  testsupport::SaveWindowPng(frame.m_hWnd, L"app_banner.png");

  // A click follows the link (here without starting a browser) and ends nothing.
  banner.m_link.SetUseShell(FALSE);
  testsupport::MouseClick(banner.m_link.m_hWnd, 20, 20);
  apptest::PumpFrameworkUntil([&] { return banner.m_link.GetVisited() != FALSE; }, 3000);
  EXPECT_TRUE(banner.m_link.GetVisited());
  EXPECT_TRUE(banner.IsWindowVisible());
  frame.DestroyWindow();
}

}  // namespace
