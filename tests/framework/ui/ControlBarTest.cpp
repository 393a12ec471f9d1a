// Control bars in a frame: layout by RepositionBars and WM_SIZEPARENT (top and bottom bars, the
// view in what is left), delayed hiding, inside rectangles, idle command-UI updates, and the
// type-test frames.
#include <gtest/gtest.h>

#include <vector>

#include "UiTestApp.h"

namespace {

class CTestBar : public CControlBar {
 public:
  explicit CTestBar(int height) : m_height(height) {}
  int updates = 0;
  BOOL lastDisableIfNoHandler = FALSE;

  BOOL Create(CWnd* pParent, DWORD dwBarStyle, UINT nID) {
    m_dwStyle = dwBarStyle;
    return CWnd::Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pParent, nID);
  }
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override {
    return CSize(bStretch && bHorz ? 32767 : 100, bHorz ? m_height : 32767);
  }
  void OnUpdateCmdUI(CFrameWnd*, BOOL bDisableIfNoHndler) override {
    ++updates;
    lastDisableIfNoHandler = bDisableIfNoHndler;
  }

 private:
  int m_height;
};

class CPane : public CWnd {};

class ControlBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pFrame = new CFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(pFrame->Create(nullptr, L"bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
    ASSERT_TRUE(top.Create(pFrame, CBRS_TOP, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(bottom.Create(pFrame, CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_PANE_FIRST));
    pFrame->RecalcLayout();
    pFrame->GetClientRect(&client);
  }
  void TearDown() override {
    if (theTestApp.m_pMainWnd == pFrame) theTestApp.m_pMainWnd = nullptr;
    pFrame->DestroyWindow();
  }

  static CRect RectInParent(CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
  }

  CFrameWnd* pFrame = nullptr;
  CTestBar top{24};
  CTestBar bottom{18};
  CPane pane;
  CRect client;
};

TEST_F(ControlBarTest, BarsTakeTheirEdgesAndTheViewGetsTheRest) {
  EXPECT_EQ(RectInParent(top), CRect(0, 0, client.right, 24));
  EXPECT_EQ(RectInParent(bottom), CRect(0, client.bottom - 18, client.right, client.bottom));
  EXPECT_EQ(RectInParent(pane), CRect(0, 24, client.right, client.bottom - 18));
  EXPECT_EQ(top.GetDockingFrame(), pFrame);
  EXPECT_EQ(pFrame->GetControlBar(AFX_IDW_STATUS_BAR), &bottom);
}

TEST_F(ControlBarTest, QueryMeasuresWithoutMoving) {
  CRect needed;
  pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &needed, nullptr, FALSE);
  EXPECT_EQ(needed.Height(), 24 + 18);
  EXPECT_EQ(RectInParent(pane), CRect(0, 24, client.right, client.bottom - 18));
}

TEST_F(ControlBarTest, DelayedHideTakesEffectAtTheNextLayout) {
  pFrame->ShowControlBar(&top, FALSE, TRUE);
  EXPECT_FALSE(top.IsVisible());
  EXPECT_TRUE(top.GetStyle() & WS_VISIBLE);  // not yet
  EXPECT_TRUE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
  pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_FALSE(top.GetStyle() & WS_VISIBLE);
  EXPECT_EQ(RectInParent(pane), CRect(0, 0, client.right, client.bottom - 18));
  pFrame->ShowControlBar(&top, TRUE, FALSE);
  EXPECT_TRUE(top.GetStyle() & WS_VISIBLE);
  EXPECT_EQ(RectInParent(pane).top, 24);
}

TEST_F(ControlBarTest, PreviewModeHidesMenuBarsAndPaneAndLeavingRestoresThem) {
  HMENU hMenu = ::CreateMenu();
  ::AppendMenu(hMenu, MF_STRING, 100, L"&File");
  ::SetMenu(pFrame->m_hWnd, hMenu);
  HACCEL hAccel = ::CreateAcceleratorTable(std::vector<ACCEL>{{FCONTROL | FVIRTKEY, 'A', 100}}.data(), 1);
  pFrame->m_hAccelTable = hAccel;
  bottom.ShowWindow(SW_HIDE);  // a hidden bar must stay hidden after the preview
  pFrame->RecalcLayout();

  CPrintPreviewState state;
  pFrame->OnSetPreviewMode(TRUE, &state);
  EXPECT_TRUE(pFrame->IsInPreviewMode());
  EXPECT_EQ(::GetMenu(pFrame->m_hWnd), nullptr);
  EXPECT_EQ(state.hMenu, hMenu);
  EXPECT_EQ(pFrame->m_hAccelTable, nullptr);
  EXPECT_EQ(state.hAccelTable, hAccel);
  EXPECT_EQ(state.dwStates, 1u);  // only the visible top bar (first control-bar id)
  EXPECT_FALSE(top.GetStyle() & WS_VISIBLE);
  EXPECT_FALSE(pane.GetStyle() & WS_VISIBLE);

  pFrame->OnSetPreviewMode(FALSE, &state);
  EXPECT_FALSE(pFrame->IsInPreviewMode());
  EXPECT_EQ(::GetMenu(pFrame->m_hWnd), hMenu);
  EXPECT_EQ(pFrame->m_hAccelTable, hAccel);
  EXPECT_TRUE(top.GetStyle() & WS_VISIBLE);
  EXPECT_FALSE(bottom.GetStyle() & WS_VISIBLE);
  EXPECT_TRUE(pane.GetStyle() & WS_VISIBLE);
  EXPECT_EQ(RectInParent(pane).top, 24);
  pFrame->m_hAccelTable = nullptr;
  ::DestroyAcceleratorTable(hAccel);
}

TEST_F(ControlBarTest, BarsUpdateTheirCommandUIAtIdleTime) {
  theTestApp.m_pMainWnd = pFrame;
  theTestApp.OnIdle(0);
  EXPECT_EQ(top.updates, 1);
  EXPECT_EQ(bottom.updates, 1);
  EXPECT_TRUE(top.lastDisableIfNoHandler);
}

TEST_F(ControlBarTest, InsideRectLeavesBordersAndGripper) {
  top.SetBorders(6, 1, 6, 1);
  top.SetBarStyle(CBRS_TOP | CBRS_BORDER_TOP | CBRS_GRIPPER);
  CRect rect(0, 0, 200, 30);
  top.CalcInsideRect(rect, TRUE);
  EXPECT_EQ(rect, CRect(6 + 7, 1 + 2, 200 - 6, 30 - 1 - 2));  // CBRS_TOP has a bottom border
}

TEST(FrameTypes, MultipleDocumentAndMiniFramesAreFrames) {
  CObject* pMini = RUNTIME_CLASS(CMiniFrameWnd)->CreateObject();
  ASSERT_NE(pMini, nullptr);
  EXPECT_TRUE(pMini->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
  delete pMini;
  CMDIFrameWnd mdiFrame;
  EXPECT_TRUE(mdiFrame.IsKindOf(RUNTIME_CLASS(CFrameWnd)));
  EXPECT_FALSE(mdiFrame.IsKindOf(RUNTIME_CLASS(CMDIChildWnd)));
  EXPECT_EQ(mdiFrame.MDIGetActive(), nullptr);
}

}  // namespace
