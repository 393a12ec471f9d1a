// Toolbars as rebar bands: the manager's custom bars join the frame's rebar, a band's id and sizes come
// from its toolbar, a docked toolbar leaves its dock bar without gripper, and bands are found and
// removed by toolbar.
#include <gtest/gtest.h>

#include <DockBar.h>
#include <ReBar.h>

#include "CommandBarsTestSupport.h"
#include "WindowTest.h"

namespace {

class ReBarTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CTestFrame::s_bBareFrame = TRUE;
    s_pFrame = CTestFrame::CreateTestFrame(CRect(40, 40, 640, 340));
    CTestFrame::s_bBareFrame = FALSE;
    ASSERT_NE(s_pFrame, nullptr);
    s_pReBar = new CXTPReBar;
    ASSERT_TRUE(s_pReBar->Create(s_pFrame));
  }
  static void TearDownTestSuite() {
    if (s_pFrame != nullptr) s_pFrame->SaveAndDestroy();
    s_pFrame = nullptr;
    delete s_pReBar;
    s_pReBar = nullptr;
  }
  void SetUp() override { m_pCommandBars = s_pFrame->GetCommandBars(); }
  void TearDown() override {
    while (m_pCommandBars->GetCount() > 0) m_pCommandBars->Remove(m_pCommandBars->GetAt(0));
    while (s_pReBar->GetBandCount() > 0) s_pReBar->SendMessage(RB_DELETEBAND, 0);
    SettleLayout(s_pFrame);
  }
  CXTPToolBar* AddButtons(CXTPToolBar* pBar, int nButtons) {
    for (int i = 0; i < nButtons; ++i) AddFixed(pBar->GetControls(), 100 + i, 23, 22);
    return pBar;
  }
  REBARBANDINFO BandInfo(int nBand, UINT fMask) {
    REBARBANDINFO rbbi = {};
    rbbi.cbSize = sizeof(rbbi);
    rbbi.fMask = fMask;
    EXPECT_TRUE(s_pReBar->SendMessage(RB_GETBANDINFO, nBand, reinterpret_cast<LPARAM>(&rbbi)));
    return rbbi;
  }

  static CTestFrame* s_pFrame;
  static CXTPReBar* s_pReBar;
  CXTPCommandBars* m_pCommandBars = nullptr;
};

CTestFrame* ReBarTest::s_pFrame = nullptr;
CXTPReBar* ReBarTest::s_pReBar = nullptr;

TEST_F(ReBarTest, CustomBarBecomesABandWithItsBarIdOutOfTheDockBarAndWithoutGripper) {
  CXTPToolBar* pBar = m_pCommandBars->AddCustomBar(L"Custom", 4321);
  ASSERT_NE(pBar, nullptr);
  ASSERT_EQ(s_pReBar->GetBandCount(), 1);
  const REBARBANDINFO rbbi = BandInfo(0, RBBIM_ID | RBBIM_CHILD | RBBIM_STYLE);
  EXPECT_EQ(rbbi.wID, 4321u);
  EXPECT_EQ(rbbi.hwndChild, pBar->GetSafeHwnd());
  EXPECT_EQ(rbbi.fStyle & (RBBS_BREAK | RBBS_GRIPPERALWAYS),
            static_cast<UINT>(RBBS_BREAK | RBBS_GRIPPERALWAYS));
  EXPECT_EQ(pBar->GetDockBar(), nullptr);
  EXPECT_EQ(m_pCommandBars->GetDockBar(xtpBarTop)->GetEntryCount(), 1);
  EXPECT_EQ(pBar->GetBarStyle() & CBRS_GRIPPER, 0u);
  EXPECT_EQ(pBar->GetFlags(), 0u);
  EXPECT_EQ(::GetParent(pBar->GetSafeHwnd()), s_pReBar->GetSafeHwnd());
  EXPECT_EQ(s_pReBar->GetBandBar(0), pBar);
}

TEST_F(ReBarTest, LayoutGivesBandsTheToolbarsMinimumAndIdealSizes) {
  CXTPToolBar* pBar = AddButtons(m_pCommandBars->AddCustomBar(L"Five", 5001), 5);
  CXTPToolBar* pMenu = AddButtons(m_pCommandBars->AddCustomBar(L"Two", 5002), 2);
  ASSERT_EQ(s_pReBar->GetBandCount(), 2);
  s_pFrame->RecalcLayout();
  SettleLayout(s_pFrame);
  for (int i = 0; i < 2; ++i) {
    CXTPToolBar* pBandBar = i == 0 ? pBar : pMenu;
    const CSize szMin = pBandBar->CalcDockingLayout(32000, LM_HORZ | LM_HORZDOCK);
    const REBARBANDINFO rbbi = BandInfo(i, RBBIM_CHILDSIZE | RBBIM_IDEALSIZE | RBBIM_ID);
    EXPECT_EQ(static_cast<int>(rbbi.cxMinChild), szMin.cx) << i;
    EXPECT_GE(static_cast<int>(rbbi.cyMinChild), 22) << i;
    EXPECT_GT(static_cast<int>(rbbi.cxIdeal), 0) << i;
  }
  // Five buttons need more room than two.
  EXPECT_GT(BandInfo(0, RBBIM_CHILDSIZE).cxMinChild, BandInfo(1, RBBIM_CHILDSIZE).cxMinChild);
  CRect rcReBar;
  s_pReBar->GetWindowRect(&rcReBar);
  EXPECT_GE(rcReBar.Height(), 44);
  testsupport::SaveWindowPng(s_pFrame->GetSafeHwnd(), L"rebar_two_bands.png");
}

TEST_F(ReBarTest, AddingADockedToolbarTakesItOutOfItsDockBar) {
  CXTPToolBar* pBar = AddButtons(m_pCommandBars->Add(L"Docked", xtpBarTop), 3);
  pBar->EnableDocking(xtpFlagAlignAny);
  SettleLayout(s_pFrame);
  ASSERT_NE(pBar->GetDockBar(), nullptr);
  ASSERT_TRUE(pBar->GetBarStyle() & CBRS_GRIPPER);
  pBar->SetBarID(77);
  ASSERT_TRUE(s_pReBar->AddToolBar(pBar));
  EXPECT_EQ(pBar->GetDockBar(), nullptr);
  EXPECT_EQ(m_pCommandBars->GetDockBar(xtpBarTop)->GetEntryCount(), 1);
  EXPECT_EQ(pBar->GetBarStyle() & CBRS_GRIPPER, 0u);
  EXPECT_EQ(BandInfo(0, RBBIM_ID).wID, 77u);
}

TEST_F(ReBarTest, RemovingAToolbarThatIsNoBandChangesNothing) {
  CXTPToolBar* pBand = m_pCommandBars->AddCustomBar(L"Band", 6001);
  CXTPToolBar* pOther = m_pCommandBars->Add(L"Other", xtpBarTop);
  ASSERT_EQ(s_pReBar->GetBandCount(), 1);
  EXPECT_EQ(s_pReBar->RemoveToolBar(pOther), -1);
  EXPECT_EQ(s_pReBar->RemoveToolBar(nullptr), -1);
  EXPECT_EQ(s_pReBar->GetBandCount(), 1);
  EXPECT_EQ(s_pReBar->FindBand(pBand), 0);
  // The manager takes the band away with its toolbar.
  m_pCommandBars->Remove(pBand);
  EXPECT_EQ(s_pReBar->GetBandCount(), 0);
  EXPECT_EQ(s_pReBar->GetBandBar(0), nullptr);
}

TEST_F(ReBarTest, TwoBandsOfOneToolbarFindTheLaterOne) {
  CXTPToolBar* pBar = m_pCommandBars->AddCustomBar(L"Twice", 7001);
  CXTPToolBar* pMiddle = m_pCommandBars->AddCustomBar(L"Middle", 7002);
  ASSERT_TRUE(s_pReBar->AddToolBar(pBar));
  ASSERT_EQ(s_pReBar->GetBandCount(), 3);
  EXPECT_EQ(s_pReBar->FindBand(pBar), 2);
  EXPECT_EQ(s_pReBar->FindBand(pMiddle), 1);
  EXPECT_EQ(s_pReBar->RemoveToolBar(pBar), 2);
  EXPECT_EQ(s_pReBar->FindBand(pBar), 0);
}

}  // namespace
