// The tabbed workspace of a multiple-document frame on the display: three children as tabs, clicks on
// tabs activating their windows, the workspace commands opening and closing groups, the neighbour taking
// over from a closed tab and the splitter dragged with real input, live and through the outline.
#include <gtest/gtest.h>

#include <ToolkitResource.h>

#include <cmath>

#include "TestHeap.h"
#include "RealInput.h"
#include "TabClientWnd.h"
#include "WindowTest.h"

namespace {

class TabClientWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"Workspace", WS_OVERLAPPEDWINDOW, CRect(30, 30, 630, 430)));
    m_pFrame->ShowWindow(SW_SHOWNORMAL);
    for (const wchar_t* pszTitle : {L"One", L"Two", L"Three"}) AddChild(pszTitle);
    testsupport::PumpMessages(30);
    ASSERT_TRUE(m_client.Attach(m_pFrame));
    testsupport::PumpMessages(50);
  }
  void TearDown() override {
    if (::IsWindow(m_pFrame->GetSafeHwnd())) m_pFrame->DestroyWindow();
    testsupport::PumpMessages(20);
  }
  CMDIChildWnd* AddChild(LPCTSTR lpszTitle) {
    CMDIChildWnd* pChild = new CMDIChildWnd;
    EXPECT_TRUE(pChild->Create(nullptr, lpszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CFrameWnd::rectDefault, m_pFrame));
    m_arrChildren.push_back(pChild->GetSafeHwnd());
    return pChild;
  }
  HWND Active() const { return m_pFrame->MDIGetActive()->GetSafeHwnd(); }
  void Activate(int nChild) {
    m_pFrame->MDIActivate(CWnd::FromHandle(m_arrChildren[nChild]));
    testsupport::PumpMessages(30);
  }
  BOOL Enabled(UINT nID) const { return m_client.IsWorkspaceActionEnabled(nID); }
  // A real click on a tab, at its centre.
  void ClickTab(CXTPTabManagerItem* pItem) {
    const CPoint pt = pItem->GetRect().CenterPoint();
    testsupport::MouseClick(m_client.GetSafeHwnd(), pt.x, pt.y);
    testsupport::PumpMessages(50);
  }
  CPoint ScreenPoint(CPoint pt) const {
    m_client.ClientToScreen(&pt);
    return pt;
  }

  CMDIFrameWnd* m_pFrame = nullptr;
  CXTPTabClientWnd m_client;
  std::vector<HWND> m_arrChildren;
};

TEST_F(TabClientWndTest, ThreeChildrenBecomeTabsOfOneGroupWithoutTheirFrames) {
  ASSERT_EQ(m_client.GetGroupCount(), 1);
  CXTPTabClientWnd::CGroup* pGroup = m_client.GetGroup(0);
  ASSERT_EQ(pGroup->GetItemCount(), 3);
  EXPECT_EQ(pGroup->GetItem(0)->GetCaption(), CString(L"One"));
  EXPECT_EQ(pGroup->GetItem(1)->GetCaption(), CString(L"Two"));
  EXPECT_EQ(pGroup->GetItem(2)->GetCaption(), CString(L"Three"));
  EXPECT_EQ(pGroup->GetSelectedItem()->GetHandle(), Active());
  for (HWND h : m_arrChildren) {
    EXPECT_EQ(::GetWindowLongPtr(h, GWL_STYLE) & WS_CAPTION, 0) << "tabs carry no caption";
    EXPECT_EQ(m_client.FindTabOfWindow(h)->GetHandle(), h);
  }
  // The selected child covers the page below the strip.
  CRect rcChild;
  ::GetWindowRect(Active(), &rcChild);
  m_client.ScreenToClient(&rcChild);
  CRect rcClient;
  m_client.GetClientRect(&rcClient);
  EXPECT_GT(rcChild.top, rcClient.top);
  EXPECT_EQ(rcChild.bottom <= rcClient.bottom, true);
  EXPECT_GT(rcChild.Width(), rcClient.Width() - 10);
  // A new child joins as a fourth tab and is selected.
  AddChild(L"Four");
  testsupport::PumpMessages(50);
  ASSERT_EQ(pGroup->GetItemCount(), 4);
  EXPECT_EQ(pGroup->GetSelectedItem()->GetCaption(), CString(L"Four"));
  EXPECT_EQ(::GetWindowLongPtr(m_arrChildren[3], GWL_STYLE) & WS_CAPTION, 0);
  testsupport::SaveWindowPng(m_pFrame->GetSafeHwnd(), L"tab_client_one_group.png");
}

TEST_F(TabClientWndTest, ClickingATabActivatesItsWindow) {
  CXTPTabClientWnd::CGroup* pGroup = m_client.GetGroup(0);
  ClickTab(pGroup->GetItem(0));
  EXPECT_EQ(Active(), m_arrChildren[0]);
  EXPECT_EQ(pGroup->GetSelectedItem(), pGroup->GetItem(0));
  ClickTab(pGroup->GetItem(1));
  EXPECT_EQ(Active(), m_arrChildren[1]);
}

TEST_F(TabClientWndTest, OneGroupOffersOnlyNewGroupsAndASingleTabNone) {
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_MOVEPREVIOUS));
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_MOVENEXT));
  EXPECT_TRUE(Enabled(XTP_ID_WORKSPACE_NEWHORIZONTAL));
  EXPECT_TRUE(Enabled(XTP_ID_WORKSPACE_NEWVERTICAL));
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_MOVENEXT);
  EXPECT_EQ(m_client.GetGroupCount(), 1);
  ::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_arrChildren[2]), 0);
  ::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_arrChildren[1]), 0);
  testsupport::PumpMessages(30);
  ASSERT_EQ(m_client.GetGroup(0)->GetItemCount(), 1);
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_NEWHORIZONTAL));
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_NEWVERTICAL));
}

TEST_F(TabClientWndTest, NewVerticalGroupTakesTheActiveTabAndMovingBackClosesIt) {
  const HWND hActive = Active();
  ::SendMessage(m_client.GetSafeHwnd(), WM_COMMAND, XTP_ID_WORKSPACE_NEWVERTICAL, 0);
  testsupport::PumpMessages(30);
  ASSERT_EQ(m_client.GetGroupCount(), 2);
  EXPECT_FALSE(m_client.IsHorizontalGroups());
  EXPECT_EQ(m_client.GetGroup(0)->GetItemCount(), 2);
  ASSERT_EQ(m_client.GetGroup(1)->GetItemCount(), 1);
  EXPECT_EQ(m_client.GetGroup(1)->GetItem(0)->GetHandle(), hActive);
  EXPECT_EQ(m_client.GetActiveGroup(), m_client.GetGroup(1));
  // Side by side, about half each, the splitter between them.
  const CRect rcA = m_client.GetGroup(0)->m_rcGroup;
  const CRect rcB = m_client.GetGroup(1)->m_rcGroup;
  EXPECT_EQ(rcA.right + m_client.GetSplitterSize(), rcB.left);
  EXPECT_LE(std::abs(rcA.Width() - rcB.Width()), 2);
  EXPECT_TRUE(Enabled(XTP_ID_WORKSPACE_MOVEPREVIOUS));
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_MOVENEXT));
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_NEWHORIZONTAL)) << "groups side by side";
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_NEWVERTICAL)) << "a single tab";
  testsupport::SaveWindowPng(m_pFrame->GetSafeHwnd(), L"tab_client_two_groups.png");

  // Clicking a tab of the inactive group activates that group.
  ClickTab(m_client.GetGroup(0)->GetItem(0));
  EXPECT_EQ(m_client.GetActiveGroup(), m_client.GetGroup(0));
  EXPECT_EQ(Active(), m_client.GetGroup(0)->GetItem(0)->GetHandle());
  EXPECT_TRUE(Enabled(XTP_ID_WORKSPACE_MOVENEXT));

  m_pFrame->MDIActivate(CWnd::FromHandle(hActive));
  testsupport::PumpMessages(30);
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_MOVEPREVIOUS);
  EXPECT_EQ(m_client.GetGroupCount(), 1);
  EXPECT_EQ(m_client.GetGroup(0)->GetItemCount(), 3);
  EXPECT_EQ(m_client.GetGroup(0)->GetSelectedItem()->GetHandle(), hActive);
}

TEST_F(TabClientWndTest, NewHorizontalGroupStacksTheGroups) {
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_NEWHORIZONTAL);
  ASSERT_EQ(m_client.GetGroupCount(), 2);
  EXPECT_TRUE(m_client.IsHorizontalGroups());
  const CRect rcA = m_client.GetGroup(0)->m_rcGroup;
  const CRect rcB = m_client.GetGroup(1)->m_rcGroup;
  EXPECT_EQ(rcA.bottom + m_client.GetSplitterSize(), rcB.top);
  EXPECT_EQ(rcA.Width(), rcB.Width());
  // Another horizontal group from the first one (two tabs) is allowed, a vertical one is not.
  Activate(0);
  EXPECT_TRUE(Enabled(XTP_ID_WORKSPACE_NEWHORIZONTAL));
  EXPECT_FALSE(Enabled(XTP_ID_WORKSPACE_NEWVERTICAL));
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_NEWHORIZONTAL);
  EXPECT_EQ(m_client.GetGroupCount(), 3);
  testsupport::SaveWindowPng(m_pFrame->GetSafeHwnd(), L"tab_client_three_groups.png");
}

TEST_F(TabClientWndTest, ClosingTheLastTabOfAGroupActivatesThePreviousTab) {
  Activate(2);
  ::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_arrChildren[2]), 0);
  testsupport::PumpMessages(30);
  EXPECT_EQ(Active(), m_arrChildren[1]);
  EXPECT_EQ(m_client.GetGroup(0)->GetItemCount(), 2);
  // A middle tab hands over to the one after it.
  AddChild(L"Four");
  testsupport::PumpMessages(30);
  Activate(1);
  ::SendMessage(m_pFrame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_arrChildren[1]), 0);
  testsupport::PumpMessages(30);
  EXPECT_EQ(Active(), m_arrChildren[3]);
}

TEST_F(TabClientWndTest, LiveSplitterDragStopsAtTheEdgeOfTheTwoGroups) {
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_NEWVERTICAL);
  ASSERT_EQ(m_client.GetGroupCount(), 2);
  m_client.SetLiveTracking(TRUE);
  const CRect rcSplitter = m_client.GetGroup(0)->m_rcSplitter;
  const CRect rcB = m_client.GetGroup(1)->m_rcGroup;
  const CPoint from = ScreenPoint(rcSplitter.CenterPoint());
  testsupport::InputDrag(from, CPoint(from.x - 100, from.y));
  testsupport::PumpMessages(50);
  EXPECT_NEAR(m_client.GetGroup(0)->m_rcSplitter.left, rcSplitter.left - 100, 2);
  // Far past the right group: the left one takes the whole union but the splitter.
  const CPoint from2 = ScreenPoint(m_client.GetGroup(0)->m_rcSplitter.CenterPoint());
  testsupport::InputDrag(CPoint(from2.x, from2.y + 40), CPoint(from2.x + 900, from2.y + 40));
  testsupport::PumpMessages(50);
  EXPECT_EQ(m_client.GetGroup(0)->m_rcGroup.right, rcB.right - m_client.GetSplitterSize());
  EXPECT_EQ(m_client.GetGroup(1)->m_rcGroup.Width(), 0);
}

TEST_F(TabClientWndTest, OutlineSplitterDragAppliesTheNewSizesOnRelease) {
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_NEWHORIZONTAL);
  ASSERT_EQ(m_client.GetGroupCount(), 2);
  m_client.SetLiveTracking(FALSE);
  const CRect rcSplitter = m_client.GetGroup(0)->m_rcSplitter;
  const CPoint from = ScreenPoint(rcSplitter.CenterPoint());
  testsupport::InputDrag(from, CPoint(from.x, from.y + 60));
  testsupport::PumpMessages(50);
  EXPECT_NEAR(m_client.GetGroup(0)->m_rcSplitter.top, rcSplitter.top + 60, 2);
}

TEST(TabClientSizes, EmptyUnionGivesNoExtentInsteadOfDividingByZero) {
  double dA = 0;
  double dB = 0;
  CXTPTabClientWnd::SplitSizes(dA, dB, 4, 10, 10, 0, FALSE);
  EXPECT_TRUE(std::isfinite(dA));
  EXPECT_TRUE(std::isfinite(dB));
  EXPECT_EQ(dA, 0);
  EXPECT_EQ(dB, 0);
  dA = 100;
  dB = 96;
  CXTPTabClientWnd::SplitSizes(dA, dB, 4, 50, 0, 200, FALSE);
  EXPECT_DOUBLE_EQ(dA, 50);
  EXPECT_DOUBLE_EQ(dB, 146);
  CXTPTabClientWnd::SplitSizes(dA, dB, 4, 50, 0, 200, TRUE);
  EXPECT_DOUBLE_EQ(dA, 150);
  EXPECT_DOUBLE_EQ(dB, 46);
}

TEST_F(TabClientWndTest, EscapeEndsALiveSplitterDragWhereTheSplitterGot) {
  m_client.DoWorkspaceAction(XTP_ID_WORKSPACE_NEWVERTICAL);
  ASSERT_EQ(m_client.GetGroupCount(), 2);
  m_client.SetLiveTracking(TRUE);
  const CRect rcSplitter = m_client.GetGroup(0)->m_rcSplitter;
  const CPoint from = ScreenPoint(rcSplitter.CenterPoint());
  // Escape 80 pixels to the left; the mouse goes on to 160 with the button held, then lets go.
  testsupport::InputDragVia(from, CPoint(from.x - 80, from.y), CPoint(from.x - 160, from.y), VK_ESCAPE);
  // The drag is over once the splitter has moved and the mouse is let go.
  EXPECT_TRUE(testsupport::PumpUntil([&] {
    return ::GetCapture() == nullptr && m_client.GetGroup(0)->m_rcSplitter.left != rcSplitter.left;
  }));
  EXPECT_NEAR(m_client.GetGroup(0)->m_rcSplitter.left, rcSplitter.left - 80, 2);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(TabClientWndHost, DestroyingTheFrameDuringALiveSplitterDragEndsTheDrag) {
  // The frame and the workspace in guarded pages: a use of either after the frame goes faults.
  GuardedHeapScope guarded;
  CMDIFrameWnd* pFrame = new CMDIFrameWnd;
  ASSERT_TRUE(pFrame->Create(nullptr, L"Workspace", WS_OVERLAPPEDWINDOW, CRect(30, 30, 630, 430)));
  pFrame->ShowWindow(SW_SHOWNORMAL);
  for (const wchar_t* pszTitle : {L"One", L"Two"}) {
    CMDIChildWnd* pChild = new CMDIChildWnd;
    ASSERT_TRUE(pChild->Create(nullptr, pszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                               CFrameWnd::rectDefault, pFrame));
  }
  bool bClientDeleted = false;
  auto* pClient = new SelfDeletingWnd<CXTPTabClientWnd>(&bClientDeleted);
  ASSERT_TRUE(pClient->Attach(pFrame));
  pClient->DoWorkspaceAction(XTP_ID_WORKSPACE_NEWVERTICAL);
  ASSERT_EQ(pClient->GetGroupCount(), 2);
  pClient->SetLiveTracking(TRUE);
  testsupport::PumpMessages(50);
  CPoint pt = pClient->GetGroup(0)->m_rcSplitter.CenterPoint();
  pClient->ClientToScreen(&pt);

  // The frame is destroyed while the button is still down on the splitter; the drag's loop dispatches
  // the timer's message that does it.
  testsupport::MouseMoveTo(pt.x, pt.y);
  testsupport::PumpMessages(30);
  const HWND hFrame = pFrame->GetSafeHwnd();
  PressAndDestroyInsideTheLoop(hFrame, [&] { return bClientDeleted; });
  testsupport::PumpMessages(50);
  EXPECT_TRUE(bClientDeleted);
  EXPECT_FALSE(::IsWindow(hFrame));
  EXPECT_EQ(::GetCapture(), nullptr);
}

}  // namespace
