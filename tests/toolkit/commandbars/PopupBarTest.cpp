// Popup bars without the display's input: placement against monitor work areas (one of them left of
// the primary monitor), the collapse rules of rarely used commands and the size of an empty menu.
#include <gtest/gtest.h>

#include <CommandBarsOptions.h>
#include <PopupBar.h>

#include "CommandBarsTestSupport.h"

namespace {

const CRect kPrimary(0, 0, 1024, 768);
// A monitor left of the primary one, its work area ending above a task bar.
const CRect kLeftMonitor(-1280, 0, 0, 984);

CRect Place(CSize sz, CPoint ptAnchor, CRect rcExclude, int& nFlags, CRect rcWork, BOOL* pbCut = nullptr) {
  return CXTPPopupBar::CalcPopupPlacement(sz, ptAnchor, rcExclude, nFlags, rcWork, pbCut);
}

TEST(PopupPlacement, DropDownOpensBelowItsControl) {
  int nFlags = CXTPPopupBar::xtpPopupDown;
  const CRect rc = Place(CSize(150, 200), CPoint(40, 30), CRect(40, 10, 80, 30), nFlags, kPrimary);
  EXPECT_EQ(rc, CRect(40, 30, 190, 230));
  EXPECT_EQ(nFlags, int(CXTPPopupBar::xtpPopupDown));
}

TEST(PopupPlacement, ContextMenuRightOfTheScreenOpensLeftOfThePoint) {
  int nFlags = 0;
  const CRect rc = Place(CSize(120, 100), CPoint(1100, 300), CRect(0, 0, 0, 0), nFlags, kPrimary);
  EXPECT_EQ(rc.right, 1100);
  EXPECT_EQ(rc.left, 980);
}

TEST(PopupPlacement, ContextMenuBelowTheLimitOpensUpward) {
  int nFlags = 0;
  // The limit is the work area's bottom less 5.
  const CRect rc = Place(CSize(120, 100), CPoint(300, 764), CRect(0, 0, 0, 0), nFlags, kPrimary);
  EXPECT_EQ(rc.bottom, 764);
  EXPECT_EQ(rc.top, 664);
}

TEST(PopupPlacement, ContextMenuInTheLowerHalfThatDoesNotFitOpensAboveThePoint) {
  int nFlags = 0;
  const CRect rc = Place(CSize(100, 300), CPoint(300, 600), CRect(0, 0, 0, 0), nFlags, kPrimary);
  EXPECT_EQ(rc, CRect(300, 300, 400, 600));
}

TEST(PopupPlacement, SubmenuThatDoesNotFitRightOpensLeftAndKeepsGoingLeft) {
  int nFlags = 0;
  const CRect rcParentItem(900, 100, 1000, 120);
  CPoint ptAnchor(rcParentItem.right, rcParentItem.top);
  const CRect rc =
      CXTPPopupBar::CalcPopupPlacement(CSize(150, 80), ptAnchor, rcParentItem, nFlags, kPrimary, nullptr);
  EXPECT_EQ(rc.right, rcParentItem.left);
  EXPECT_TRUE(nFlags & CXTPPopupBar::xtpPopupLeft);
  // A deeper level starts out leftwards (the flag is inherited) and stays there while it fits.
  int nDeeper = CXTPPopupBar::xtpPopupLeft;
  const CRect rcDeeperItem(rc.left, 140, rc.right, 160);
  const CRect rcDeeper =
      Place(CSize(150, 80), CPoint(rcDeeperItem.right, rcDeeperItem.top), rcDeeperItem, nDeeper, kPrimary);
  EXPECT_EQ(rcDeeper.right, rcDeeperItem.left);
  EXPECT_TRUE(nDeeper & CXTPPopupBar::xtpPopupLeft);
}

TEST(PopupPlacement, DropDownThatFitsNeitherBelowNorAboveIsCutOnTheLargerSide) {
  const CRect rcWork(0, 0, 1024, 600);
  // Control in the upper half: the popup goes below it, cut at the limit.
  int nFlags = CXTPPopupBar::xtpPopupDown;
  BOOL bCut = FALSE;
  CRect rc = Place(CSize(100, 900), CPoint(10, 120), CRect(10, 100, 60, 120), nFlags, rcWork, &bCut);
  EXPECT_TRUE(bCut);
  EXPECT_EQ(rc.top, 120);
  EXPECT_EQ(rc.bottom, 595);
  // Control in the lower half: above it, from the top of the work area.
  nFlags = CXTPPopupBar::xtpPopupDown;
  rc = Place(CSize(100, 900), CPoint(10, 520), CRect(10, 500, 60, 520), nFlags, rcWork, &bCut);
  EXPECT_TRUE(bCut);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.bottom, 500);
}

TEST(PopupPlacement, LeftwardContextMenuOnAMonitorLeftOfThePrimaryStaysOnThatMonitor) {
  // Opening leftwards from a point near the monitor's left edge would leave it; the popup lands at
  // that work area's left edge, not at x 0 (which is on the other monitor).
  int nFlags = CXTPPopupBar::xtpPopupLeft;
  const CRect rc = Place(CSize(200, 100), CPoint(-1200, 300), CRect(0, 0, 0, 0), nFlags, kLeftMonitor);
  EXPECT_EQ(rc.left, -1280);
  EXPECT_EQ(rc.Width(), 200);
  EXPECT_FALSE(nFlags & CXTPPopupBar::xtpPopupLeft);
}

TEST(PopupPlacement, DropDownOnAMonitorLeftOfThePrimaryKeepsToItsEdges) {
  // A control at the monitor's right edge: the popup is pushed back left of the work area's right.
  int nFlags = CXTPPopupBar::xtpPopupDown;
  CRect rc = Place(CSize(200, 100), CPoint(-60, 30), CRect(-60, 10, -10, 30), nFlags, kLeftMonitor);
  EXPECT_EQ(rc.right, 0);
  EXPECT_EQ(rc.top, 30);
  // A submenu whose item is left of the work area opens at the item's right.
  nFlags = CXTPPopupBar::xtpPopupLeft;
  rc = Place(CSize(200, 100), CPoint(-1250, 40), CRect(-1300, 40, -1250, 60), nFlags, kLeftMonitor);
  EXPECT_EQ(rc.left, -1250);
  EXPECT_FALSE(nFlags & CXTPPopupBar::xtpPopupLeft);
}

// ---- Collapsing rarely used commands -----------------------------------------------------------------

class CollapseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pCommandBars = static_cast<CXTPCommandBars*>(RUNTIME_CLASS(CXTPCommandBars)->CreateObject());
    m_pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
    m_pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(m_pCommandBars);
    for (int nId = ID_TEST_OPEN; nId <= ID_TEST_PASTE; ++nId)
      m_pPopup->GetControls()->Add(xtpControlButton, nId);
  }
  void TearDown() override {
    m_pPopup->InternalRelease();
    m_pCommandBars->InternalRelease();
  }
  void Hide(int nId) { m_pCommandBars->GetCommandBarsOptions()->SetHideCommand(nId); }
  DWORD HideFlags(int nId) { return m_pPopup->GetControls()->FindControl(nId)->GetHideFlags(); }

  CXTPCommandBars* m_pCommandBars = nullptr;
  CXTPPopupBar* m_pPopup = nullptr;
};

TEST_F(CollapseTest, RarelyUsedCommandsHideBehindTheExpandItem) {
  Hide(ID_TEST_CUT);
  Hide(ID_TEST_COPY);
  m_pPopup->UpdateExpandingState();
  EXPECT_TRUE(m_pPopup->IsExpandButtonNeeded());
  EXPECT_EQ(HideFlags(ID_TEST_CUT), DWORD(xtpHideExpand));
  EXPECT_EQ(HideFlags(ID_TEST_COPY), DWORD(xtpHideExpand));
  EXPECT_EQ(HideFlags(ID_TEST_OPEN), 0u);
  EXPECT_TRUE(m_pPopup->GetControls()->FindControl(ID_TEST_CUT)->GetUsageMark());
}

TEST_F(CollapseTest, AMenuOfOnlyRarelyUsedCommandsCollapsesNothing) {
  for (int nId = ID_TEST_OPEN; nId <= ID_TEST_PASTE; ++nId) Hide(nId);
  m_pPopup->UpdateExpandingState();
  EXPECT_FALSE(m_pPopup->IsExpandButtonNeeded());
  for (int nId = ID_TEST_OPEN; nId <= ID_TEST_PASTE; ++nId) EXPECT_EQ(HideFlags(nId), 0u);
}

TEST_F(CollapseTest, ACommandUsedOnceShowsFromThenOn) {
  Hide(ID_TEST_CUT);
  m_pCommandBars->MarkCommandUsed(ID_TEST_CUT);
  m_pPopup->UpdateExpandingState();
  EXPECT_FALSE(m_pPopup->IsExpandButtonNeeded());
  EXPECT_EQ(HideFlags(ID_TEST_CUT), 0u);
}

TEST_F(CollapseTest, AlwaysShowFullMenusClearsEveryMark) {
  Hide(ID_TEST_CUT);
  m_pPopup->UpdateExpandingState();
  ASSERT_EQ(HideFlags(ID_TEST_CUT), DWORD(xtpHideExpand));
  m_pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = TRUE;
  m_pPopup->UpdateExpandingState();
  EXPECT_FALSE(m_pPopup->IsExpandButtonNeeded());
  EXPECT_TRUE(m_pPopup->IsFullMenuShown());
  EXPECT_EQ(HideFlags(ID_TEST_CUT), 0u);
  EXPECT_FALSE(m_pPopup->GetControls()->FindControl(ID_TEST_CUT)->GetUsageMark());
}

TEST_F(CollapseTest, AHiddenControlIsNeitherMarkedNorCounted) {
  // The program hid Open itself; the other four are rarely used: nothing normal remains visible.
  m_pPopup->GetControls()->FindControl(ID_TEST_OPEN)->SetHideFlags(xtpHideGeneric);
  for (int nId = ID_TEST_SAVE; nId <= ID_TEST_PASTE; ++nId) Hide(nId);
  Hide(ID_TEST_OPEN);
  m_pPopup->UpdateExpandingState();
  EXPECT_FALSE(m_pPopup->IsExpandButtonNeeded());
  EXPECT_FALSE(m_pPopup->GetControls()->FindControl(ID_TEST_OPEN)->GetUsageMark());
}

TEST_F(CollapseTest, TheMeasuredMenuLeavesRoomForTheExpandItem) {
  const CSize szFull = m_pPopup->CalcDynamicLayout(0, 0);
  Hide(ID_TEST_COPY);
  Hide(ID_TEST_PASTE);
  const CSize szCollapsed = m_pPopup->CalcDynamicLayout(0, 0);
  CXTPControl* pExpand = m_pPopup->GetControls()->FindControl(XTP_ID_POPUPBAR_EXPAND);
  ASSERT_NE(pExpand, nullptr);
  EXPECT_TRUE(pExpand->IsVisible());
  EXPECT_TRUE(pExpand->IsTemporary());
  const int nItem = m_pPopup->GetControls()->FindControl(ID_TEST_OPEN)->GetRect().Height();
  EXPECT_EQ(szCollapsed.cy, szFull.cy - 2 * nItem + pExpand->GetRect().Height());
  EXPECT_EQ(pExpand->GetRect().Height(), 12);
}

TEST(PopupLayout, AMenuWithNoVisibleControlIs22PlusItsMargins) {
  CXTPPopupBar* pPopup = CXTPPopupBar::CreatePopupBarForCommandBars(nullptr);
  const CSize sz = pPopup->CalcDynamicLayout(0, 0);
  // Theme 0's popup borders are 3 on every side.
  EXPECT_EQ(sz, CSize(3 + 22 + 3, 22 + 3));
  pPopup->InternalRelease();
}

}  // namespace
