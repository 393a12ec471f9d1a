// Dock bars in a frame: the row list, the catch margin of 20 pixels, the passes that keep remembered
// positions, shrinking before wrapping, stretched bars alone in their row, a drop on the boundary
// between rows, double clicks, and the live objects gone when the frame goes.
#include <gtest/gtest.h>

#include <BarDragTracker.h>
#include <BarTheme3D.h>
#include <CommandBarsOptions.h>
#include <DockBar.h>

#include "CommandBarsTestSupport.h"
#include "WindowTest.h"

namespace {

// One bare frame for the whole suite (showing a window costs seconds under Wine); each test starts
// with no bars and removes the ones it made.
class DockBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CTestFrame::s_bBareFrame = TRUE;
    CXTPBarTheme::SetTheme(0);
    s_pFrame = CTestFrame::CreateTestFrame(CRect(30, 30, 630, 430));
    CTestFrame::s_bBareFrame = FALSE;
  }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr) s_pFrame->SaveAndDestroy();
    s_pFrame = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_pFrame, nullptr);
    m_pFrame = s_pFrame;
    m_pCommandBars = m_pFrame->GetCommandBars();
    m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = FALSE;
  }
  void TearDown() override {
    while (m_pCommandBars->GetCount() > 0) m_pCommandBars->Remove(m_pCommandBars->GetAt(0));
    Layout();
  }
  // A toolbar of n fixed 23 x 22 buttons, docked at the top as a new row.
  CXTPToolBar* AddBar(LPCTSTR lpszTitle, int nButtons, DWORD dwFlags = xtpFlagAlignAny | xtpFlagFloating,
                      XTPBarPosition position = xtpBarTop) {
    CXTPToolBar* pBar = m_pCommandBars->Add(lpszTitle, position);
    for (int i = 0; i < nButtons; ++i) AddFixed(pBar->GetControls(), 100 + i, 23, 22);
    pBar->EnableDocking(dwFlags);
    return pBar;
  }
  CRect RectInDock(CXTPToolBar* pBar) {
    CRect rc;
    pBar->GetWindowRect(&rc);
    pBar->GetDockBar()->ScreenToClient(&rc);
    return rc;
  }
  void Layout() { SettleLayout(m_pFrame); }

  static CTestFrame* s_pFrame;
  CTestFrame* m_pFrame = nullptr;
  CXTPCommandBars* m_pCommandBars = nullptr;
};

CTestFrame* DockBarTest::s_pFrame = nullptr;

TEST_F(DockBarTest, RowListBeginsWithABreakAndLosesARowWithItsLastBar) {
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  EXPECT_EQ(pTop->GetEntryCount(), 1);
  EXPECT_EQ(pTop->GetEntry(0), nullptr);
  CXTPToolBar* pA = AddBar(L"A", 3);
  CXTPToolBar* pB = AddBar(L"B", 3);
  ASSERT_EQ(pTop->GetEntryCount(), 5);
  EXPECT_EQ(pTop->GetEntry(1), pA);
  EXPECT_EQ(pTop->GetEntry(2), nullptr);
  EXPECT_EQ(pTop->GetEntry(3), pB);
  m_pCommandBars->Remove(pB);
  EXPECT_EQ(pTop->GetEntryCount(), 3);
  EXPECT_EQ(m_pCommandBars->GetDockBar(xtpBarBottom)->GetEntryCount(), 1);
}

TEST_F(DockBarTest, PointTwentyPixelsOutsideADockBarIsNotCaughtNineteenIs) {
  AddBar(L"A", 3);
  Layout();
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  CRect rcTop;
  pTop->GetWindowRect(&rcTop);
  EXPECT_EQ(m_pCommandBars->CalcDockPosition(CPoint(rcTop.left - 20, rcTop.top + 2), nullptr), nullptr);
  EXPECT_EQ(m_pCommandBars->CalcDockPosition(CPoint(rcTop.left - 19, rcTop.top + 2), nullptr), pTop);
  EXPECT_EQ(m_pCommandBars->CalcDockPosition(CPoint(rcTop.left + 50, rcTop.top - 20), nullptr), nullptr);
  EXPECT_EQ(m_pCommandBars->CalcDockPosition(CPoint(rcTop.left + 50, rcTop.top - 19), nullptr), pTop);
  // A point both the top and the left dock bar catch stays with the side the bar is on.
  CXTPDockBar* pLeft = m_pCommandBars->GetDockBar(xtpBarLeft);
  const CPoint ptCorner(rcTop.left + 2, rcTop.bottom + 2);
  EXPECT_EQ(m_pCommandBars->CalcDockPosition(ptCorner, nullptr), pTop);
  EXPECT_EQ(m_pCommandBars->CalcDockPosition(ptCorner, pLeft), pLeft);
}

TEST_F(DockBarTest, OfTwoBarsWhoseRememberedPlacesOverlapTheLaterOneIsPushedRight) {
  CXTPToolBar* pA = AddBar(L"A", 3);
  CXTPToolBar* pB = AddBar(L"B", 3);
  Layout();
  // Move B into A's row, after it.
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  CRect rcA;
  pA->GetWindowRect(&rcA);
  pTop->RemoveBar(pB);
  pTop->InsertEntry(2, pB);
  pTop->NormalizeRows();
  pB->SetDockBar(pTop);
  pA->GetDragTracker()->m_rectMRUDockPos = CRect(100, 0, 179, 26);
  pB->GetDragTracker()->m_rectMRUDockPos = CRect(120, 0, 199, 26);
  Layout();
  const CRect rcDockA = RectInDock(pA), rcDockB = RectInDock(pB);
  EXPECT_EQ(rcDockA.left, 100);
  EXPECT_EQ(rcDockB.left, rcDockA.right);
  EXPECT_EQ(rcDockA.top, rcDockB.top);
}

TEST_F(DockBarTest, ShortenableBarsShrinkBeforeAnyWraps) {
  CXTPToolBar* pA = AddBar(L"A", 14, xtpFlagAlignAny | xtpFlagFloating | xtpFlagHideWrap);
  CXTPToolBar* pB = AddBar(L"B", 14, xtpFlagAlignAny | xtpFlagFloating | xtpFlagHideWrap);
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  pTop->RemoveBar(pB);
  pTop->InsertEntry(2, pB);
  pTop->NormalizeRows();
  pB->SetDockBar(pTop);
  pB->GetDragTracker()->m_rectMRUDockPos = CRect(400, 0, 700, 26);
  Layout();
  CRect rcDock;
  pTop->GetClientRect(&rcDock);
  const CRect rcA = RectInDock(pA), rcB = RectInDock(pB);
  EXPECT_EQ(rcA.top, rcB.top);
  EXPECT_LE(rcA.right, rcB.left);
  EXPECT_LE(rcB.right, rcDock.right);
  int nDropped = 0;
  for (int i = 0; i < pB->GetControlCount(); ++i) {
    if (pB->GetControl(i)->GetHideFlags() == xtpHideWrap) nDropped++;
  }
  EXPECT_GT(nDropped, 0);

  // Bars that may not shorten wrap into a row of their own instead.
  pA->SetFlags(xtpFlagAlignAny | xtpFlagFloating);
  pB->SetFlags(xtpFlagAlignAny | xtpFlagFloating);
  Layout();
  EXPECT_GT(RectInDock(pB).top, RectInDock(pA).top);
}

TEST_F(DockBarTest, StretchedBarSitsAloneInItsRowAndSpansIt) {
  CXTPToolBar* pA = AddBar(L"A", 3);
  CXTPToolBar* pWide = AddBar(L"Wide", 3, xtpFlagAlignAny | xtpFlagStretched);
  Layout();
  CRect rcA;
  pA->GetWindowRect(&rcA);
  // Dropped into A's row, it still gets a row of its own.
  m_pCommandBars->DockCommandBar(pWide, &rcA, m_pCommandBars->GetDockBar(xtpBarTop));
  Layout();
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  const int nPos = pTop->FindBar(pWide);
  ASSERT_GT(nPos, 0);
  EXPECT_EQ(pTop->GetEntry(nPos - 1), nullptr);
  EXPECT_EQ(pTop->GetEntry(nPos + 1), nullptr);
  CRect rcDock;
  pTop->GetClientRect(&rcDock);
  EXPECT_EQ(RectInDock(pWide).Width(), rcDock.Width());
}

TEST_F(DockBarTest, DropWithItsCentreOnTheBoundaryBetweenRowsOpensANewRow) {
  CXTPToolBar* pA = AddBar(L"A", 3);
  CXTPToolBar* pB = AddBar(L"B", 3);
  CXTPToolBar* pC = AddBar(L"C", 3, xtpFlagAlignAny | xtpFlagFloating, xtpBarBottom);
  Layout();
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  CRect rcA;
  pA->GetWindowRect(&rcA);
  // A rectangle whose centre is exactly the bottom of the first row.
  CRect rcDrop(rcA.left, rcA.bottom - 10, rcA.left + 50, rcA.bottom + 10);
  m_pCommandBars->DockCommandBar(pC, &rcDrop, pTop);
  const int nA = pTop->FindBar(pA), nB = pTop->FindBar(pB), nC = pTop->FindBar(pC);
  EXPECT_LT(nA, nC);
  EXPECT_LT(nC, nB);
  EXPECT_EQ(pTop->GetEntry(nC - 1), nullptr);
  EXPECT_EQ(pTop->GetEntry(nC + 1), nullptr);
  EXPECT_EQ(pC->GetPosition(), xtpBarTop);
}

TEST_F(DockBarTest, DoubleClickFloatsADockedBarOnlyWhenTheOptionIsOn) {
  CXTPToolBar* pA = AddBar(L"A", 3);
  Layout();
  EXPECT_FALSE(pA->GetDragTracker()->ToggleDocking());
  EXPECT_EQ(pA->GetPosition(), xtpBarTop);
  m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
  EXPECT_TRUE(pA->GetDragTracker()->ToggleDocking());
  EXPECT_EQ(pA->GetPosition(), xtpBarFloating);
  EXPECT_TRUE(pA->GetDragTracker()->ToggleDocking());
  EXPECT_EQ(pA->GetPosition(), xtpBarTop);
}

// A bar docked without a place of its own (as bars made by the program are), floated and double
// clicked, goes back to the row it left, under the full-width bar above it and above the row below,
// at its old place.
TEST_F(DockBarTest, ADoubleClickedFloatingBarGoesBackToTheRowAndPlaceItLeft) {
  CXTPToolBar* pWide = AddBar(L"Wide", 3, xtpFlagAlignAny | xtpFlagFloating | xtpFlagStretched);
  CXTPToolBar* pA = AddBar(L"A", 3);
  CXTPToolBar* pB = AddBar(L"B", 3);
  Layout();
  const CRect rcA = RectInDock(pA);
  const CRect rcWide = RectInDock(pWide);
  ASSERT_GE(rcA.top, rcWide.bottom);
  m_pCommandBars->GetCommandBarsOptions()->bDblClickFloat = TRUE;
  ASSERT_TRUE(pA->GetDragTracker()->ToggleDocking());
  Layout();
  ASSERT_EQ(pA->GetPosition(), xtpBarFloating);
  ASSERT_TRUE(pA->GetDragTracker()->ToggleDocking());
  Layout();
  ASSERT_EQ(pA->GetPosition(), xtpBarTop);
  CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop);
  const int nA = pTop->FindBar(pA);
  EXPECT_LT(pTop->FindBar(pWide), nA);
  EXPECT_LT(nA, pTop->FindBar(pB));
  EXPECT_EQ(pTop->GetEntry(nA - 1), nullptr) << "A shares a row";
  EXPECT_EQ(pTop->GetEntry(nA + 1), nullptr) << "A shares a row";
  EXPECT_EQ(RectInDock(pA), rcA);
  EXPECT_EQ(RectInDock(pWide), rcWide);
}

TEST_F(DockBarTest, ExpandButtonOfABarDockedLeftSitsAtItsBottom) {
  CXTPToolBar* pA = AddBar(L"A", 3, xtpFlagAlignAny | xtpFlagFloating, xtpBarLeft);
  Layout();
  CRect rcClient;
  pA->GetClientRect(&rcClient);
  ASSERT_GT(rcClient.Height(), 20);
  CXTPControlButton* pExpand = new CXTPControlButton;
  pA->GetControls()->AddControl(pExpand, XTP_ID_TOOLBAR_EXPAND);
  CClientDC dc(pA);
  pA->GetPaintManager()->DrawSymbol(&dc, xtpSymbolExpandButton, pExpand, pA, FALSE, FALSE);
  EXPECT_EQ(pExpand->GetRect(),
            CRect(2, rcClient.Height() - 13, rcClient.Width() - 2, rcClient.Height() - 2));
}

TEST(LiveObjectsTest, EveryBarControlAndManagerGoesWithTheFrame) {
  const XTPLiveObjectCounts before = *XTPGetLiveObjectCounts();
  CTestFrame* pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 400, 300), nullptr, FALSE);
  ASSERT_NE(pFrame, nullptr);
  EXPECT_GT(XTPGetLiveObjectCounts()->nControls, before.nControls);
  EXPECT_EQ(XTPGetLiveObjectCounts()->nCommandBarsManagers, before.nCommandBarsManagers + 1);
  pFrame->SaveAndDestroy();
  const XTPLiveObjectCounts* pAfter = XTPGetLiveObjectCounts();
  EXPECT_EQ(pAfter->nControls, before.nControls);
  EXPECT_EQ(pAfter->nControlCollections, before.nControlCollections);
  EXPECT_EQ(pAfter->nCommandBars, before.nCommandBars);
  EXPECT_EQ(pAfter->nCommandBarsManagers, before.nCommandBarsManagers);
}

TEST(LiveObjectsTest, BarHeldBeyondItsManagerNoLongerReachesIt) {
  const XTPLiveObjectCounts before = *XTPGetLiveObjectCounts();
  CTestFrame* pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 400, 300), nullptr, FALSE);
  ASSERT_NE(pFrame, nullptr);
  CXTPToolBar* pHeld = pFrame->m_pToolBar;
  pHeld->InternalAddRef();
  pFrame->SaveAndDestroy();
  EXPECT_EQ(pHeld->GetCommandBars(), nullptr);
  EXPECT_EQ(pHeld->GetSafeHwnd(), nullptr);
  pHeld->InternalRelease();
  EXPECT_EQ(XTPGetLiveObjectCounts()->nCommandBars, before.nCommandBars);
  EXPECT_EQ(XTPGetLiveObjectCounts()->nControls, before.nControls);
}

TEST(LiveObjectsTest, ManagerHeldBeyondItsFrameForgetsItAndEndsCleanly) {
  const XTPLiveObjectCounts before = *XTPGetLiveObjectCounts();
  CTestFrame* pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 400, 300), nullptr, FALSE);
  ASSERT_NE(pFrame, nullptr);
  CXTPCommandBars* pHeld = pFrame->GetCommandBars();
  pHeld->InternalAddRef();
  pFrame->SaveAndDestroy();
  EXPECT_EQ(pHeld->GetSite(), nullptr);
  // Work that would reach the frame finds none.
  pHeld->RecalcFrameLayout();
  pHeld->ClosePopups();
  pHeld->InternalRelease();
  EXPECT_EQ(XTPGetLiveObjectCounts()->nCommandBarsManagers, before.nCommandBarsManagers);
  EXPECT_EQ(XTPGetLiveObjectCounts()->nCommandBars, before.nCommandBars);
}

}  // namespace
