// The test frame under Xvfb, driven with real input: clicks that run commands through the frame's
// handlers, a handler that deletes its own control, and a toolbar dragged to the left side and to
// floating and found there again after the frame is made anew from the stored state.
#include <gtest/gtest.h>

#include <BarDragTracker.h>
#include <CommandBar.h>
#include <DockBar.h>
#include <MenuBar.h>

#include "CommandBarsTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

namespace {

using testsupport::InputClick;
using testsupport::InputDrag;
using testsupport::PumpMessages;
using testsupport::SaveWindowPng;

class FrameTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (m_pFrame != nullptr && ::IsWindow(m_hFrame)) m_pFrame->SaveAndDestroy();
    m_pFrame = nullptr;
  }
  void Create(LPCTSTR lpszProfile = nullptr) {
    m_pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 640, 400), lpszProfile);
    ASSERT_NE(m_pFrame, nullptr);
    m_hFrame = m_pFrame->GetSafeHwnd();
    SettleLayout(m_pFrame);
  }

  CTestFrame* m_pFrame = nullptr;
  HWND m_hFrame = nullptr;
};

TEST_F(FrameTest, ClickOnAToolbarButtonReachesTheFrameAsNotificationAndCommand) {
  Create();
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  ASSERT_TRUE(pToolBar->IsWindowVisible());
  CXTPControl* pSave = pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
  ASSERT_NE(pSave, nullptr);
  ASSERT_FALSE(pSave->GetRect().IsRectEmpty());
  const CPoint pt = ControlCenter(pSave);
  InputClick(pt.x, pt.y);
  PumpMessages(100);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrCommands[0], UINT(ID_TEST_SAVE));
  ASSERT_EQ(m_pFrame->m_arrNotifications.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrNotifications[0], UINT(ID_TEST_SAVE));
  SaveWindowPng(m_hFrame, L"commandbars_frame_theme0.png");
}

TEST_F(FrameTest, ReleasingOutsideAPressedButtonRunsNothing) {
  Create();
  CXTPControl* pOpen = m_pFrame->m_pToolBar->GetControls()->FindControl(ID_TEST_OPEN);
  const CPoint pt = ControlCenter(pOpen);
  InputDrag(pt, CPoint(pt.x, pt.y + 120), 4);
  PumpMessages(100);
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
}

TEST_F(FrameTest, HandlerThatDeletesItsOwnControlLeavesTheBarWorking) {
  Create();
  CXTPControls* pControls = m_pFrame->m_pToolBar->GetControls();
  pControls->Add(xtpControlButton, ID_TEST_DELETE_SELF)->SetCaption(L"Delete me");
  const LONG nControlsBefore = XTPGetLiveObjectCounts()->nControls;
  SettleLayout(m_pFrame);
  CXTPControl* pSelf = pControls->FindControl(ID_TEST_DELETE_SELF);
  ASSERT_NE(pSelf, nullptr);
  const CPoint pt = ControlCenter(pSelf);
  InputClick(pt.x, pt.y);
  PumpMessages(100);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrCommands[0], UINT(ID_TEST_DELETE_SELF));
  EXPECT_EQ(pControls->FindControl(ID_TEST_DELETE_SELF), nullptr);
  EXPECT_EQ(XTPGetLiveObjectCounts()->nControls, nControlsBefore - 1);
  // The bar still runs its other commands.
  CXTPControl* pSave = pControls->FindControl(ID_TEST_SAVE);
  const CPoint ptSave = ControlCenter(pSave);
  InputClick(ptSave.x, ptSave.y);
  PumpMessages(100);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 2u);
  EXPECT_EQ(m_pFrame->m_arrCommands[1], UINT(ID_TEST_SAVE));
}

TEST_F(FrameTest, ToolbarDraggedToTheLeftAndToFloatingComesBackAfterTheFrameIsMadeAgain) {
  ScopedProfileKey key;
  Create(L"CommandBars");
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  ASSERT_EQ(pToolBar->GetPosition(), xtpBarTop);

  // Grab the gripper and drop the bar on the left edge of the client area.
  CRect rcBar;
  pToolBar->GetWindowRect(&rcBar);
  CRect rcClient;
  m_pFrame->GetClientRect(&rcClient);
  m_pFrame->ClientToScreen(&rcClient);
  const CPoint ptGrip(rcBar.left + 4, rcBar.top + rcBar.Height() / 2);
  InputDrag(ptGrip, CPoint(rcClient.left + 5, rcClient.top + 150), 10);
  SettleLayout(m_pFrame);
  EXPECT_EQ(pToolBar->GetPosition(), xtpBarLeft);
  EXPECT_EQ(pToolBar->GetDockBar(), pCommandBars->GetDockBar(xtpBarLeft));
  CRect rcLeft;
  pToolBar->GetWindowRect(&rcLeft);
  EXPECT_GT(rcLeft.Height(), rcLeft.Width());
  SaveWindowPng(m_hFrame, L"commandbars_toolbar_left.png");

  // Then away from every dock bar: it floats in a window of its own.
  pToolBar->GetWindowRect(&rcBar);
  InputDrag(CPoint(rcBar.left + rcBar.Width() / 2, rcBar.top + 4),
            CPoint(rcClient.left + 300, rcClient.top + 200), 10);
  SettleLayout(m_pFrame);
  ASSERT_EQ(pToolBar->GetPosition(), xtpBarFloating);
  EXPECT_EQ(pToolBar->GetDockBar(), nullptr);
  EXPECT_TRUE(pToolBar->GetStyle() & WS_POPUP);
  CRect rcFloat;
  pToolBar->GetWindowRect(&rcFloat);
  SaveWindowPng(m_hFrame, L"commandbars_toolbar_floating_frame.png");
  SaveWindowPng(pToolBar->GetSafeHwnd(), L"commandbars_toolbar_floating.png");

  m_pFrame->SaveAndDestroy(L"CommandBars");
  m_pFrame = nullptr;
  EXPECT_EQ(XTPGetLiveObjectCounts()->nCommandBars, 0);

  Create(L"CommandBars");
  CXTPToolBar* pRestored = m_pFrame->GetCommandBars()->FindCommandBar(IDR_TEST_TOOLBAR);
  ASSERT_NE(pRestored, nullptr);
  EXPECT_EQ(pRestored->GetPosition(), xtpBarFloating);
  CRect rcRestored;
  pRestored->GetWindowRect(&rcRestored);
  EXPECT_EQ(rcRestored.TopLeft(), rcFloat.TopLeft());
  SaveWindowPng(m_hFrame, L"commandbars_toolbar_restored.png");
}

TEST_F(FrameTest, EscapeDuringAMoveLeavesTheBarWhereItWasLastPlaced) {
  Create();
  CXTPToolBar* pToolBar = m_pFrame->m_pToolBar;
  CRect rcBar, rcClient;
  pToolBar->GetWindowRect(&rcBar);
  m_pFrame->GetClientRect(&rcClient);
  m_pFrame->ClientToScreen(&rcClient);
  const CPoint ptGrip(rcBar.left + 4, rcBar.top + rcBar.Height() / 2);
  // Escape over the left dock bar; the mouse then goes on to the middle of the client area.
  testsupport::InputDragVia(ptGrip, CPoint(rcClient.left + 5, rcClient.top + 150),
                            CPoint(rcClient.left + 300, rcClient.top + 200), VK_ESCAPE, 8);
  SettleLayout(m_pFrame);
  EXPECT_EQ(pToolBar->GetPosition(), xtpBarLeft);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(m_pFrame->m_arrCommands.empty());
}

TEST_F(FrameTest, MenuBarItemOpensItsPopupAndAnItemThereRunsItsCommand) {
  Create();
  CXTPMenuBar* pMenuBar = m_pFrame->GetCommandBars()->GetMenuBar();
  ASSERT_NE(pMenuBar, nullptr);
  CXTPControl* pFile = pMenuBar->GetControl(0);
  ASSERT_EQ(pFile->GetCaption(), CString(L"&File"));
  const CPoint ptFile = ControlCenter(pFile);
  InputClick(ptFile.x, ptFile.y);
  CXTPCommandBar* pPopup = pFile->GetCommandBar();
  ASSERT_NE(pPopup, nullptr);
  ASSERT_TRUE(pPopup->GetSafeHwnd() != nullptr && pPopup->IsWindowVisible());
  EXPECT_EQ(pMenuBar->GetPopupedIndex(), 0);
  CXTPControl* pSave = pPopup->GetControls()->FindControl(ID_TEST_SAVE);
  ASSERT_NE(pSave, nullptr);
  const CPoint ptSave = ControlCenter(pSave);
  testsupport::InputMoveMouse(ptSave.x, ptSave.y);
  EXPECT_EQ(pPopup->GetCurSel(), pSave->GetIndex());
  SaveWindowPng(m_hFrame, L"commandbars_menu_open.png");
  InputClick(ptSave.x, ptSave.y);
  PumpMessages(100);
  ASSERT_EQ(m_pFrame->m_arrCommands.size(), 1u);
  EXPECT_EQ(m_pFrame->m_arrCommands[0], UINT(ID_TEST_SAVE));
  EXPECT_EQ(pPopup->GetSafeHwnd(), nullptr);
  EXPECT_EQ(pMenuBar->GetPopupedIndex(), -1);
  EXPECT_EQ(CXTPBarMouseTracker::GetThreadState()->GetTrackedCount(), 0);
}

}  // namespace
