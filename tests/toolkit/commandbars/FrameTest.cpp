// The test frame under Xvfb, driven with real input: clicks that run commands through the frame's
// handlers, a handler that deletes its own control, and a toolbar dragged to the left side and to
// floating and found there again after the frame is made anew from the stored state, a new floating
// toolbar that comes back above the maximized frame.
#include <gtest/gtest.h>

#include <BarDragTracker.h>
#include <CommandBar.h>
#include <DockBar.h>
#include <MenuBar.h>
#include <AcceleratorManager.h>
#include <BarTheme3D.h>
#include <CommandBarsOptions.h>
#include <TipSettings.h>
#include <TipWindow.h>

#include "../foundation/ToolkitCanvas.h"
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

// Counts the opening animations it plays; they last no time.
class CAnimationCountTheme : public CXTPBarTheme3D {
 public:
  CAnimationCountTheme() { RefreshMetrics(); }
  void AnimatePopup(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nAnimationType) override {
    ++m_nAnimations;
    pDestDC->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), pSrcDC, rc.left, rc.top, SRCCOPY);
    (void)nAnimationType;
  }
  int m_nAnimations = 0;
};

TEST_F(FrameTest, ASubmenuAnimatesAsItsMenuDoes) {
  Create();
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  CAnimationCountTheme* pTheme = new CAnimationCountTheme;
  pCommandBars->SetPaintManager(pTheme);
  pCommandBars->GetCommandBarsOptions()->animationType = 3;
  testsupport::BringToFront(m_hFrame);
  testsupport::InputSetPreTranslate(PreTranslateThroughTheApp);
  // Alt+E opens the Edit menu with its first item selected; down to "More" and right into it.
  testsupport::InputTap('E', VK_MENU);
  CXTPMenuBar* pMenuBar = pCommandBars->GetMenuBar();
  CXTPControl* pEdit = pMenuBar->GetControl(1);
  ASSERT_EQ(pMenuBar->GetPopupedControl(), pEdit);
  EXPECT_EQ(pTheme->m_nAnimations, 1);
  testsupport::InputTap(VK_DOWN);
  testsupport::InputTap(VK_DOWN);
  testsupport::InputTap(VK_RIGHT);
  CXTPCommandBar* pEditPopup = pEdit->GetCommandBar();
  ASSERT_NE(pEditPopup->GetPopupedControl(), nullptr);
  EXPECT_EQ(pEditPopup->GetPopupedControl()->GetCaption(), CString(L"&More"));
  EXPECT_EQ(pTheme->m_nAnimations, 2);
  SaveWindowPng(pEditPopup->GetSafeHwnd(), L"commandbars_submenu_animated.png");
  // Closed and opened again, it animates again.
  testsupport::InputTap(VK_ESCAPE);
  ASSERT_EQ(pEditPopup->GetPopupedControl(), nullptr);
  testsupport::InputTap(VK_RIGHT);
  ASSERT_NE(pEditPopup->GetPopupedControl(), nullptr);
  EXPECT_EQ(pTheme->m_nAnimations, 3);
  testsupport::InputTap(VK_ESCAPE);
  testsupport::InputTap(VK_ESCAPE);
  testsupport::InputSetPreTranslate(nullptr);
  pCommandBars->ClosePopups();
}

TEST_F(FrameTest, AMenuShowsTheShortcutsTheManagerHasAndNotOnesItDropped) {
  Create();
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  CXTPAcceleratorManager* pShortcuts = pCommandBars->GetShortcutManager();
  CXTPControl* pFile = pCommandBars->GetMenuBar()->GetControl(0);
  auto openFileMenu = [&]() -> CXTPControl* {
    const CPoint pt = ControlCenter(pFile);
    InputClick(pt.x, pt.y);
    CXTPCommandBar* pPopup = pFile->GetCommandBar();
    if (pPopup == nullptr || pPopup->GetSafeHwnd() == nullptr) return nullptr;
    return pPopup->GetControls()->FindControl(ID_TEST_OPEN);
  };
  ACCEL accel = {FVIRTKEY | FCONTROL | FSHIFT, 'O', ID_TEST_OPEN};
  pShortcuts->SetAccelerators(&accel, 1);
  CXTPControl* pOpen = openFileMenu();
  ASSERT_NE(pOpen, nullptr);
  EXPECT_EQ(pOpen->GetShortcutText(), CString(L"Ctrl+Shift+O"));
  SaveWindowPng(pFile->GetCommandBar()->GetSafeHwnd(), L"commandbars_menu_shortcut.png");
  testsupport::InputTap(VK_ESCAPE);
  testsupport::InputTap(VK_ESCAPE);
  pCommandBars->ClosePopups();
  // The shortcut goes: the menu shows what its caption gives again.
  ACCEL other = {FVIRTKEY, VK_F5, ID_TEST_SAVE};
  pShortcuts->SetAccelerators(&other, 1);
  pOpen = openFileMenu();
  ASSERT_NE(pOpen, nullptr);
  EXPECT_EQ(pOpen->GetShortcutText(), CString(L"Ctrl+O"));
  CXTPControl* pSave = pFile->GetCommandBar()->GetControls()->FindControl(ID_TEST_SAVE);
  ASSERT_NE(pSave, nullptr);
  EXPECT_EQ(pSave->GetShortcutText(), CString(L"F5"));
  pCommandBars->ClosePopups();
}

TEST_F(FrameTest, AcceleratorTipsShowTheShortcutInTheTipAndInItsDescription) {
  Create();
  CXTPCommandBars* pCommandBars = m_pFrame->GetCommandBars();
  pCommandBars->GetCommandBarsOptions()->bToolBarAccelTips = TRUE;
  CXTPTipSettings* pTips = pCommandBars->GetToolTipContext();
  pTips->SetTipKind(xtpTipPlain);
  pTips->SetExtendedToolInfo(TRUE);
  ACCEL accel = {FVIRTKEY | FCONTROL, 'S', ID_TEST_SAVE};
  pCommandBars->GetShortcutManager()->SetAccelerators(&accel, 1);
  testsupport::BringToFront(m_hFrame);
  CXTPControl* pSave = m_pFrame->m_pToolBar->GetControls()->FindControl(ID_TEST_SAVE);
  ASSERT_NE(pSave, nullptr);
  const CPoint pt = ControlCenter(pSave);
  testsupport::InputMoveMouse(pt.x - 2, pt.y);
  testsupport::InputMoveMouse(pt.x, pt.y);
  CXTPTipWindow* pTip = nullptr;
  ASSERT_TRUE(testsupport::PumpUntil(
      [&] {
        pTip = DYNAMIC_DOWNCAST(CXTPTipWindow, pTips->GetTipWindow());
        return pTip != nullptr && pTip->GetCurrentTool() != nullptr && pTip->IsWindowVisible();
      },
      5000));
  // The title is the tip, the text below it the description, each with the shortcut.
  EXPECT_EQ(pTip->GetTitle(), CString(L"Save (Ctrl+S)"));
  EXPECT_EQ(pTip->GetToolText(*pTip->GetCurrentTool()), CString(L"Saves the document (Ctrl+S)"));
  // The picture once the tip has taken the size of both lines.
  testsupport::PumpUntil(
      [&] {
        CRect rc;
        pTip->GetWindowRect(&rc);
        return pTip->GetCurrentTool() != nullptr && rc.Size() == pTip->CalcTipSize(*pTip->GetCurrentTool());
      },
      2000);
  SaveWindowPng(pTip->GetSafeHwnd(), L"commandbars_toolbar_shortcut_tip.png");
  testsupport::InputMoveMouse(5, 1000);
}

// Whether the screen shows the whole bar as it paints itself, and not a window stacked over it.
bool ScreenShowsBar(CWnd* pBar) {
  CRect rc;
  pBar->GetWindowRect(&rc);
  ToolkitCanvas own(rc.Width(), rc.Height()), screen(rc.Width(), rc.Height());
  ::PrintWindow(pBar->GetSafeHwnd(), own.dc().GetSafeHdc(), 0);
  HDC hScreen = ::GetDC(nullptr);
  ::BitBlt(screen.dc().GetSafeHdc(), 0, 0, rc.Width(), rc.Height(), hScreen, rc.left, rc.top, SRCCOPY);
  ::ReleaseDC(nullptr, hScreen);
  for (int y = 0; y < rc.Height(); ++y) {
    for (int x = 0; x < rc.Width(); ++x) {
      if (own.At(x, y) != screen.At(x, y)) return false;
    }
  }
  return true;
}

// Whether hAbove comes before hBelow in the order of the top-level windows.
bool StackedAbove(HWND hAbove, HWND hBelow) {
  for (HWND hWnd = ::GetTopWindow(nullptr); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd == hAbove) return true;
    if (hWnd == hBelow) return false;
  }
  return false;
}

TEST_F(FrameTest, ANewFloatingToolbarComesBackAboveTheMaximizedFrame) {
  ScopedProfileKey key;
  Create(L"CommandBars");
  const UINT nBarID = 0xE830;
  CXTPToolBar* pBar = m_pFrame->GetCommandBars()->AddCustomBar(L"Mine", nBarID);
  ASSERT_NE(pBar, nullptr);
  pBar->GetControls()->Add(xtpControlButton, ID_TEST_SAVE);
  ASSERT_TRUE(pBar->SetPosition(xtpBarFloating));
  pBar->SetWindowPos(nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_pFrame->SaveAndDestroy(L"CommandBars");

  // Once as the program stored it, once from a damaged position that is clamped onto the screen.
  for (const CPoint ptStored : {CPoint(200, 200), CPoint(-5000, -3000)}) {
    theTestApp.WriteProfileInt(L"CommandBars-Bar2", L"XPos", ptStored.x);
    theTestApp.WriteProfileInt(L"CommandBars-Bar2", L"YPos", ptStored.y);
    m_pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 640, 400), L"CommandBars", FALSE);
    ASSERT_NE(m_pFrame, nullptr);
    m_hFrame = m_pFrame->GetSafeHwnd();
    m_pFrame->ShowWindow(SW_SHOWMAXIMIZED);
    testsupport::BringToFront(m_hFrame);
    CXTPToolBar* pRestored = m_pFrame->GetCommandBars()->FindCommandBar(nBarID);
    ASSERT_NE(pRestored, nullptr);
    ASSERT_EQ(pRestored->GetPosition(), xtpBarFloating);
    ASSERT_TRUE(pRestored->IsWindowVisible());
    // On the screen and in the order of windows, which follows what the screen shows.
    EXPECT_TRUE(testsupport::PumpUntil(
        [&] { return ScreenShowsBar(pRestored) && StackedAbove(pRestored->GetSafeHwnd(), m_hFrame); }, 5000))
        << "the bar at " << ptStored.x << "," << ptStored.y << " is covered";
    SaveWindowPng(m_hFrame, ptStored.x > 0 ? L"commandbars_floating_over_maximized.png"
                                           : L"commandbars_clamped_floating_over_maximized.png");
    m_pFrame->SaveAndDestroy(L"CommandBars");
  }
  m_pFrame = nullptr;
}

}  // namespace
