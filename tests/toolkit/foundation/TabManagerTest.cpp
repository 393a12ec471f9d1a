// The tab manager without a window: items and selection, measuring, the layouts, scrolling,
// navigate buttons, hit testing and keys.
#include <gtest/gtest.h>

#include "TabTestHost.h"

int CountedTabItem::s_nLive = 0;

namespace {

// Style 0's header margins (left, top, right, bottom).
const CRect kBevelMargin(2, 3, 6, 0);

}  // namespace

// ---- items and selection -------------------------------------------------------------------------

TEST(TabManager, InsertingAtMinusOneOrBeyondTheCountAppends) {
  TabTestHost host;
  CXTPTabManagerItem* a = host.Add(50, _T("A"));
  CXTPTabManagerItem* b = host.InsertItem(-1);
  CXTPTabManagerItem* c = host.InsertItem(99);
  CXTPTabManagerItem* d = host.InsertItem(0);
  ASSERT_EQ(host.GetItemCount(), 4);
  EXPECT_EQ(host.GetItem(0), d);
  EXPECT_EQ(host.GetItem(1), a);
  EXPECT_EQ(host.GetItem(2), b);
  EXPECT_EQ(host.GetItem(3), c);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(host.GetItem(i)->GetIndex(), i) << "renumbered";
  EXPECT_EQ(host.GetItem(4), nullptr);
}

TEST(TabManager, AutomaticColoursCyclePerPainterAndTheNinthRepeatsTheFirst) {
  TabTestHost host;
  for (int i = 0; i < 9; ++i) host.InsertItem(-1);
  EXPECT_EQ(host.GetItem(0)->GetColor(), RGB(138, 168, 228));
  EXPECT_EQ(host.GetItem(1)->GetColor(), RGB(255, 219, 117));
  EXPECT_EQ(host.GetItem(7)->GetColor(), RGB(216, 171, 192));
  EXPECT_EQ(host.GetItem(8)->GetColor(), host.GetItem(0)->GetColor());
  host.GetItem(2)->SetColor(RGB(1, 2, 3));
  EXPECT_EQ(host.GetItem(2)->GetColor(), RGB(1, 2, 3)) << "a colour of its own passes unchanged";
}

TEST(TabManager, SetCurSelClampsAndEmptyListMeansNoSelection) {
  TabTestHost host;
  host.SetCurSel(0);
  EXPECT_EQ(host.GetSelectedItem(), nullptr);
  host.Add(40);
  host.Add(40);
  host.Add(40);
  host.SetCurSel(7);
  EXPECT_EQ(host.GetCurSel(), 2);
  host.SetCurSel(-3);
  EXPECT_EQ(host.GetCurSel(), 0);
}

TEST(TabManager, DeletingTheSelectedLastItemSelectsTheNewLastOne) {
  TabTestHost host;
  host.Add(40);
  host.Add(40);
  host.Add(40);
  host.SetCurSel(2);
  EXPECT_TRUE(host.DeleteItem(2));
  EXPECT_EQ(host.GetCurSel(), 1);
  host.SetCurSel(0);
  EXPECT_TRUE(host.DeleteItem(0));
  EXPECT_EQ(host.GetCurSel(), 0) << "the follower takes the selection";
  EXPECT_TRUE(host.DeleteItem(0));
  EXPECT_EQ(host.GetSelectedItem(), nullptr) << "the only item gone: no selection";
  EXPECT_FALSE(host.DeleteItem(0));
  EXPECT_FALSE(host.DeleteItem(-1));
}

TEST(TabManager, DeletedItemsAreReleasedAndLeaveNoHotOrSelectedPointer) {
  CountedTabItem::s_nLive = 0;
  {
    TabTestHost host;
    host.m_pPainter->m_bHotTracking = TRUE;
    for (int i = 0; i < 3; ++i) {
      CXTPTabManagerItem* pItem = host.InsertItem(-1, new CountedTabItem());
      pItem->SetData(60);
    }
    host.Reposition();
    EXPECT_EQ(CountedTabItem::s_nLive, 3);
    host.SetCurSel(1);
    // The mouse over the last tab makes it hot.
    const CPoint ptLast = host.GetItem(2)->GetRect().CenterPoint();
    HWND hWnd = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    host.TrackMouse(hWnd, ptLast);
    ::DestroyWindow(hWnd);
    ASSERT_EQ(host.GetHighlightedItem(), host.GetItem(2));

    host.GetItem(2)->Remove();
    EXPECT_EQ(CountedTabItem::s_nLive, 2);
    EXPECT_EQ(host.GetHighlightedItem(), nullptr);
    host.DeleteItem(1);
    EXPECT_EQ(CountedTabItem::s_nLive, 1);
    EXPECT_EQ(host.GetSelectedItem(), host.GetItem(0));
    host.DeleteItem(0);
    EXPECT_EQ(CountedTabItem::s_nLive, 0);
    EXPECT_EQ(host.GetSelectedItem(), nullptr);
    host.InsertItem(-1, new CountedTabItem());
  }
  EXPECT_EQ(CountedTabItem::s_nLive, 0) << "the manager releases what it still holds";
}

// ---- measuring -------------------------------------------------------------------------------------

TEST(TabManager, ItemsMeasureIconCaptionAndTwelveWithMarginsAndClamps) {
  TabTestHost host(CRect(0, 0, 600, 100), new CXTPTabPainter());
  CXTPTabManagerItem* pItem = host.InsertItem(-1);
  pItem->SetCaption(_T("Caption"));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CFont* pOld = dc.SelectObject(host.m_pPainter->GetFont());
  CRect rcText(0, 0, 0, 0);
  dc.DrawText(_T("Caption"), -1, rcText, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  dc.SelectObject(pOld);
  const int nCaption = rcText.Width();
  EXPECT_EQ(pItem->GetLength(), nCaption + 12);
  EXPECT_EQ(pItem->GetIdealLength(), pItem->GetLength());

  pItem->SetImageIndex(3);
  host.Reposition();
  EXPECT_EQ(pItem->GetLength(), 16 + nCaption + 12) << "the icon's width counts";

  host.m_pPainter->m_rcButtonMargin.SetRect(5, 0, 7, 0);
  host.Reposition();
  EXPECT_EQ(pItem->GetLength(), 16 + nCaption + 12 + 12);

  host.SetItemMetrics(CSize(70, 18), CSize(500, 0), CSize(0, 0));
  EXPECT_EQ(pItem->GetLength(), 500) << "raised to the minimum";
  host.SetItemMetrics(CSize(70, 18), CSize(0, 0), CSize(30, 0));
  EXPECT_EQ(pItem->GetLength(), 30) << "lowered to the maximum";

  pItem->SetStateFlag(FALSE);
  EXPECT_EQ(pItem->GetLength(), 0) << "hidden items measure nothing";
}

TEST(TabManager, FixedAndCompressedLayoutsMeasureByMode) {
  TabTestHost host(CRect(0, 0, 600, 100), new CXTPTabPainter());
  host.InsertItem(-1)->SetCaption(_T("A"));
  host.InsertItem(-1)->SetCaption(_T("A much longer caption"));
  host.SetCurSel(0);
  host.m_pPainter->SetLayout(xtpTabLayoutFixed);
  host.SetItemMetrics(CSize(90, 18));
  EXPECT_EQ(host.GetItem(0)->GetLength(), 90);
  EXPECT_EQ(host.GetItem(1)->GetLength(), 90);

  host.m_pPainter->SetLayout(xtpTabLayoutCompressed);
  host.Reposition();
  EXPECT_EQ(host.GetItem(1)->GetLength(), 8) << "unselected tabs show no caption";
  EXPECT_GT(host.GetItem(0)->GetLength(), 12 + 60) << "the selected tab has room for the widest caption";
}

// ---- single-row layout -------------------------------------------------------------------------

TEST(TabManager, SingleRowPlacesTabsAfterTheHeaderMargin) {
  TabTestHost host(CRect(0, 0, 400, 200));
  host.Add(100);
  host.Add(60);
  host.Add(60);
  const int h = host.ButtonHeight();
  EXPECT_EQ(host.GetItem(0)->GetRect(), CRect(2, 3, 102, 3 + h));
  EXPECT_EQ(host.GetItem(1)->GetRect(), CRect(102, 3, 162, 3 + h));
  EXPECT_EQ(host.GetItem(2)->GetRect(), CRect(162, 3, 222, 3 + h));
  EXPECT_EQ(host.GetHeaderRect().top, 0);
  EXPECT_EQ(host.GetHeaderRect().bottom, h + kBevelMargin.top + kBevelMargin.bottom);
  // The page: beside the header, overlapping it by one pixel, less the page frame of 2.
  EXPECT_EQ(host.GetClientArea(), CRect(2, h + 3 - 1 + 2, 398, 198));
}

TEST(TabManager, TheBottomStripMirrorsAcrossAndTheSideStripsTurn) {
  TabTestHost host(CRect(0, 0, 400, 300));
  host.Add(100);
  host.Add(60);
  const int h = host.ButtonHeight();
  host.SetPosition(xtpTabPositionBottom);
  EXPECT_EQ(host.GetItem(0)->GetRect(), CRect(2, 300 - 3 - h, 102, 300 - 3));
  EXPECT_EQ(host.GetHeaderRect().top, 300 - (h + 3));
  host.SetPosition(xtpTabPositionLeft);
  EXPECT_EQ(host.GetItem(1)->GetRect(), CRect(3, 102, 3 + h, 162));
  host.SetPosition(xtpTabPositionRight);
  EXPECT_EQ(host.GetItem(0)->GetRect(), CRect(400 - 3 - h, 2, 400 - 3, 102));
  EXPECT_EQ(host.GetClientArea().right, 400 - (h + 3) + 1 - 2);
}

TEST(TabManager, ShrinkToFitLowersTheLongestTabsFirst) {
  // 180 pixels for the tabs once the header margins are taken.
  TabTestHost host(CRect(0, 0, 180 + kBevelMargin.left + kBevelMargin.right, 100));
  host.m_pPainter->SetLayout(xtpTabLayoutSizeToFit);
  host.Add(100);
  host.Add(60);
  host.Add(60);
  host.Reposition();
  EXPECT_EQ(host.GetItem(0)->GetLength(), 60);
  EXPECT_EQ(host.GetItem(1)->GetLength(), 60);
  EXPECT_EQ(host.GetItem(2)->GetLength(), 60);
  EXPECT_EQ(host.GetItem(0)->GetIdealLength(), 100) << "the ideal length is kept for the tool tips";
}

TEST(TabManager, ShrinkToFitLeavesTabsThatFitAndSharesEqualLengths) {
  TabTestHost host(CRect(0, 0, 300 + 8, 100));
  host.m_pPainter->SetLayout(xtpTabLayoutSizeToFit);
  host.Add(100);
  host.Add(60);
  host.Reposition();
  EXPECT_EQ(host.GetItem(0)->GetLength(), 100);
  EXPECT_EQ(host.GetItem(1)->GetLength(), 60);

  TabTestHost equal(CRect(0, 0, 100 + 8, 100));
  equal.m_pPainter->SetLayout(xtpTabLayoutSizeToFit);
  equal.Add(50);
  equal.Add(50);
  equal.Add(50);
  equal.Reposition();
  EXPECT_EQ(equal.GetItem(0)->GetLength(), 33) << "100 / 3, the remainder dropped";
  EXPECT_EQ(equal.GetItem(2)->GetLength(), 33);

  TabTestHost single(CRect(0, 0, 50 + 8, 100));
  single.m_pPainter->SetLayout(xtpTabLayoutSizeToFit);
  single.Add(120);
  single.Reposition();
  EXPECT_EQ(single.GetItem(0)->GetLength(), 50);
}

TEST(TabManager, HiddenItemsTakeNoRoomAndAllHiddenLeavesAnEmptyStripThatStillSelects) {
  TabTestHost host;
  host.Add(100);
  host.Add(60);
  host.Add(60);
  host.GetItem(1)->SetStateFlag(FALSE);
  EXPECT_TRUE(host.GetItem(1)->GetRect().IsRectEmpty());
  EXPECT_EQ(host.GetItem(2)->GetRect().left, host.GetItem(0)->GetRect().right);
  EXPECT_EQ(host.HitTest(host.GetItem(1)->GetRect().TopLeft()), host.GetItem(2))
      << "the hidden tab's place belongs to its neighbour";

  const CRect rcHeaderBefore = host.GetHeaderRect();
  for (int i = 0; i < 3; ++i) host.GetItem(i)->SetStateFlag(FALSE);
  EXPECT_EQ(host.GetHeaderRect().Height(), rcHeaderBefore.Height()) << "the strip keeps its thickness";
  host.SetCurSel(2);
  EXPECT_EQ(host.GetCurSel(), 2);
  EXPECT_EQ(host.HitTest(CPoint(10, 10)), nullptr);
}

// ---- scrolling and navigate buttons ------------------------------------------------------------

TEST(TabManager, OverflowShowsBackAndForwardInThatOrderAtTheEnd) {
  TabTestHost host(CRect(0, 0, 300, 100));
  for (int i = 0; i < 5; ++i) host.Add(100);
  const CXTPTabScrollButton* pBack = host.GetNavigateButton(xtpTabNavigateButtonLeft);
  const CXTPTabScrollButton* pForward = host.GetNavigateButton(xtpTabNavigateButtonRight);
  const CXTPTabScrollButton* pClose = host.GetNavigateButton(xtpTabNavigateButtonClose);
  ASSERT_TRUE(pBack->IsVisible());
  ASSERT_TRUE(pForward->IsVisible());
  EXPECT_FALSE(pClose->IsVisible()) << "the close button is off by default";
  EXPECT_EQ(pForward->GetRect().right, 300 - 1);
  EXPECT_EQ(pBack->GetRect().right, pForward->GetRect().left);
  EXPECT_EQ(pForward->GetRect().Width(), 14);
  EXPECT_EQ(pForward->GetRect().Height(), 15);
  EXPECT_EQ(host.GetHeaderRect().right, pBack->GetRect().left) << "the tabs end before the buttons";
  EXPECT_FALSE(pBack->IsEnabled()) << "nothing to scroll back to";
  EXPECT_TRUE(pForward->IsEnabled());

  TabTestHost fits(CRect(0, 0, 300, 100));
  fits.Add(100);
  EXPECT_FALSE(fits.GetNavigateButton(xtpTabNavigateButtonLeft)->IsVisible());
}

TEST(TabManager, NavigateButtonsNeverShowWhenShrinkingOrInRows) {
  TabTestHost host(CRect(0, 0, 300, 100));
  for (int i = 0; i < 5; ++i) host.Add(100);
  host.m_pPainter->SetLayout(xtpTabLayoutSizeToFit);
  host.Reposition();
  EXPECT_FALSE(host.GetNavigateButton(xtpTabNavigateButtonRight)->IsVisible());
  host.m_pPainter->SetLayout(xtpTabLayoutMultiRow);
  host.GetNavigateButton(xtpTabNavigateButtonRight)->SetShowMode(xtpTabNavigateButtonAlways);
  host.Reposition();
  EXPECT_FALSE(host.GetNavigateButton(xtpTabNavigateButtonRight)->IsVisible());
}

TEST(TabManager, CloseButtonFollowsTheSelectedItemsClosableFlag) {
  TabTestHost host(CRect(0, 0, 300, 100));
  host.Add(50);
  host.Add(50);
  CXTPTabScrollButton* pClose = host.GetNavigateButton(xtpTabNavigateButtonClose);
  pClose->SetShowMode(xtpTabNavigateButtonAutomatic);
  host.Reposition();
  EXPECT_FALSE(pClose->IsVisible()) << "no selection";
  host.SetCurSel(0);
  EXPECT_TRUE(pClose->IsVisible());
  host.GetItem(1)->SetClosable(FALSE);
  host.SetCurSel(1);
  EXPECT_FALSE(pClose->IsVisible());
}

TEST(TabManager, ScrollingBeyondTheLastTabIsTakenBackByTheNextLayout) {
  TabTestHost host(CRect(0, 0, 300, 100));
  for (int i = 0; i < 5; ++i) host.Add(100);
  host.SetScrollOffset(50);
  EXPECT_EQ(host.GetScrollOffset(), 0) << "never positive";
  host.SetScrollOffset(-5000);
  const int nOffset = host.GetScrollOffset();
  EXPECT_GT(nOffset, -5000);
  EXPECT_LT(nOffset, 0);
  const CRect rcLast = host.GetItem(4)->GetRect();
  EXPECT_LE(rcLast.right, host.GetHeaderRect().right);
  EXPECT_GE(rcLast.right, host.GetHeaderRect().right - kBevelMargin.right)
      << "the last tab ends at the header end";
  EXPECT_FALSE(host.GetNavigateButton(xtpTabNavigateButtonRight)->IsEnabled());
  EXPECT_TRUE(host.GetNavigateButton(xtpTabNavigateButtonLeft)->IsEnabled());

  host.OnScroll(false);
  EXPECT_EQ(host.GetScrollOffset(), nOffset + 20) << "one step back";
}

TEST(TabManager, SelectingAHiddenTabScrollsItIntoView) {
  TabTestHost host(CRect(0, 0, 300, 100));
  for (int i = 0; i < 5; ++i) host.Add(100);
  host.SetCurSel(3);
  EXPECT_EQ(host.GetItem(3)->GetRect().right, host.GetHeaderRect().right);
  host.SetCurSel(0);
  EXPECT_EQ(host.GetScrollOffset(), 0);
  EXPECT_EQ(host.GetItem(0)->GetRect().left, kBevelMargin.left);
}

// ---- hit testing and keys ---------------------------------------------------------------------

TEST(TabManager, HitTestFindsEnabledVisibleTabsInsideTheHeaderOnly) {
  TabTestHost host;
  host.Add(100);
  host.Add(60);
  const CRect rc0 = host.GetItem(0)->GetRect();
  EXPECT_EQ(host.HitTest(rc0.CenterPoint()), host.GetItem(0));
  EXPECT_EQ(host.HitTest(CPoint(rc0.left, rc0.bottom)), nullptr) << "below the tab";
  EXPECT_EQ(host.HitTest(CPoint(150, 150)), nullptr) << "in the page";
  host.GetItem(0)->SetEnabled(FALSE);
  EXPECT_EQ(host.HitTest(rc0.CenterPoint()), nullptr);
  EXPECT_FALSE(host.PerformClick(nullptr, rc0.CenterPoint()));
  host.SetAllowReorder(FALSE);
  EXPECT_TRUE(host.PerformClick(nullptr, host.GetItem(1)->GetRect().CenterPoint()));
  EXPECT_EQ(host.GetSelectedItem(), host.GetItem(1));
}

TEST(TabManager, KeysMoveAlongTheStripAndSkipHiddenAndDisabledTabs) {
  TabTestHost host;
  for (int i = 0; i < 5; ++i) host.Add(50);
  host.GetItem(1)->SetStateFlag(FALSE);
  host.GetItem(3)->SetEnabled(FALSE);
  host.SetCurSel(0);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_RIGHT));
  EXPECT_EQ(host.GetCurSel(), 2);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_RIGHT));
  EXPECT_EQ(host.GetCurSel(), 4);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_RIGHT));
  EXPECT_EQ(host.GetCurSel(), 4) << "no next item at the end";
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_HOME));
  EXPECT_EQ(host.GetCurSel(), 0);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_END));
  EXPECT_EQ(host.GetCurSel(), 4);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_LEFT));
  EXPECT_EQ(host.GetCurSel(), 2);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_DOWN)) << "swallowed on a horizontal strip";
  EXPECT_EQ(host.GetCurSel(), 2);
  EXPECT_FALSE(host.OnKeyDown(nullptr, VK_SPACE));

  host.SetPosition(xtpTabPositionLeft);
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_RIGHT));
  EXPECT_EQ(host.GetCurSel(), 2) << "swallowed on a vertical strip";
  EXPECT_TRUE(host.OnKeyDown(nullptr, VK_DOWN));
  EXPECT_EQ(host.GetCurSel(), 4);

  TabTestHost empty;
  EXPECT_FALSE(empty.OnKeyDown(nullptr, VK_HOME));
}

TEST(TabManager, RightToLeftWindowsSwapLeftAndRight) {
  TabTestHost host;
  for (int i = 0; i < 3; ++i) host.Add(50);
  host.SetCurSel(1);
  HWND hWnd = ::CreateWindowExW(WS_EX_LAYOUTRTL, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(hWnd, nullptr);
  host.OnKeyDown(hWnd, VK_RIGHT);
  EXPECT_EQ(host.GetCurSel(), 0);
  ::DestroyWindow(hWnd);
}

// ---- rows, rotation and the header thickness of every style ---------------------------------------

TEST(TabManager, MultiRowStacksRowsWithTheSelectedRowNextToThePage) {
  TabTestHost host(CRect(0, 0, 208, 300));
  host.m_pPainter->SetLayout(xtpTabLayoutMultiRow);
  for (int i = 0; i < 5; ++i) host.Add(80);
  host.SetCurSel(0);
  ASSERT_EQ(host.GetRowCount(), 3);
  const int h = host.ButtonHeight();
  EXPECT_EQ(host.GetHeaderRect().Height(), 3 * h - 2 * 2 + kBevelMargin.top) << "rows overlap by 2";
  EXPECT_EQ(host.GetItem(0)->GetItemRow(), 0) << "the selected row lies next to the page";
  EXPECT_EQ(host.GetItem(0)->GetRect().bottom, host.GetHeaderRect().bottom);
  // Justified: each row fills the 200 pixels.
  int nRowLength[3] = {};
  for (int i = 0; i < 5; ++i) nRowLength[host.GetItem(i)->GetItemRow()] += host.GetItem(i)->GetLength();
  EXPECT_EQ(nRowLength[0], 200);
  EXPECT_EQ(nRowLength[1], 200);
  EXPECT_EQ(nRowLength[2], 200);

  host.SetCurSel(4);
  EXPECT_EQ(host.GetItem(4)->GetItemRow(), 0);
  EXPECT_EQ(host.GetItem(4)->GetRect().bottom, host.GetHeaderRect().bottom);
  EXPECT_LT(host.GetItem(0)->GetRect().top, host.GetItem(4)->GetRect().top);
}

TEST(TabManager, TwoRowsTakeTwiceTheHeightLessTheOverlapAndNoOverlapForButtons) {
  TabTestHost host(CRect(0, 0, 208, 300));
  host.m_pPainter->SetLayout(xtpTabLayoutMultiRow);
  for (int i = 0; i < 3; ++i) host.Add(80);
  ASSERT_EQ(host.GetRowCount(), 2);
  const int h = host.ButtonHeight();
  EXPECT_EQ(host.GetHeaderRect().Height(), 2 * h - 2 + 3);
  host.m_pPainter->SetShapeSet(4);
  host.Reposition();
  EXPECT_EQ(host.GetHeaderRect().Height(), 2 * host.ButtonHeight() + 2 + 2);
}

TEST(TabManager, RotatedTabsRunTheirLengthAwayFromThePage) {
  TabTestHost host(CRect(0, 0, 400, 300));
  host.m_pPainter->SetLayout(xtpTabLayoutRotated);
  host.Add(100);
  host.Add(60);
  const int h = host.ButtonHeight();
  EXPECT_EQ(host.GetHeaderRect().Height(), 100 + 3) << "as thick as the longest tab";
  EXPECT_EQ(host.GetItem(0)->GetRect(), CRect(2, 103 - 100, 2 + h, 103));
  EXPECT_EQ(host.GetItem(1)->GetRect(), CRect(2 + h, 103 - 60, 2 + 2 * h, 103));
  EXPECT_EQ(host.GetItemsLength(), 2 * h);
}

TEST(TabManager, HeaderThicknessOfEveryStyleAtEveryPosition) {
  // Top and bottom header margins of styles 0 to 9 (style 8 has no header).
  const int kMarginTop[10] = {3, 3, 2, 3, 2, 2, 2, 3, 0, 3};
  const int kMarginBottom[10] = {0, 0, 0, 0, 2, 0, 0, 0, 0, 0};
  for (int nStyle = 0; nStyle < 10; ++nStyle) {
    for (int nPosition = 0; nPosition < 4; ++nPosition) {
      TabTestHost host(CRect(10, 20, 410, 320));
      host.m_pPainter->SetShapeSet(nStyle);
      host.Add(60);
      host.SetPosition(nPosition);
      const CRect rcHeader = host.GetHeaderRect();
      SCOPED_TRACE(testing::Message() << "style " << nStyle << " position " << nPosition);
      if (nStyle == 8) {
        EXPECT_TRUE(rcHeader.IsRectEmpty());
        continue;
      }
      const int nThickness = host.ButtonHeight() + kMarginTop[nStyle] + kMarginBottom[nStyle];
      switch (nPosition) {
        case xtpTabPositionTop:
          EXPECT_EQ(rcHeader.top, 20);
          EXPECT_EQ(rcHeader.Height(), nThickness);
          break;
        case xtpTabPositionLeft:
          EXPECT_EQ(rcHeader.left, 10);
          EXPECT_EQ(rcHeader.Width(), nThickness);
          break;
        case xtpTabPositionBottom:
          EXPECT_EQ(rcHeader.bottom, 320);
          EXPECT_EQ(rcHeader.Height(), nThickness);
          break;
        default:
          EXPECT_EQ(rcHeader.right, 410);
          EXPECT_EQ(rcHeader.Width(), nThickness);
          break;
      }
    }
  }
}

TEST(TabManager, StackedBarsOpenThePageBelowTheSelectedBar) {
  TabTestHost host(CRect(0, 0, 200, 300));
  host.m_pPainter->SetShapeSet(8);
  for (int i = 0; i < 4; ++i) host.Add(60);
  host.SetCurSel(1);
  const int h = host.ButtonHeight();
  EXPECT_EQ(host.GetItem(0)->GetRect(), CRect(1, 1, 200, 1 + h));
  EXPECT_EQ(host.GetItem(1)->GetRect(), CRect(1, 1 + h, 200, 1 + 2 * h));
  EXPECT_EQ(host.GetItem(3)->GetRect().bottom, 300) << "the bars after the selected one sit on the bottom";
  EXPECT_EQ(host.GetItem(2)->GetRect().top, 300 - 2 * h);
  EXPECT_EQ(host.GetClientArea(), CRect(1, 1 + 2 * h, 199, 300 - 2 * h)) << "inset one pixel at the sides";
  host.SetCurSel(3);
  EXPECT_EQ(host.GetClientArea().bottom, 300 - 1) << "the last bar selected: one pixel off the bottom";
  host.SetPosition(xtpTabPositionLeft);
  EXPECT_EQ(host.GetItem(0)->GetRect(), CRect(1, 1, 200, 1 + h)) << "bars whatever the position";
}

TEST(TabManager, ButtonHeightFollowsTheNormalFont) {
  TabTestHost host(CRect(0, 0, 400, 200), new CXTPTabPainter());
  host.m_pPainter->m_bShowIcons = FALSE;
  LOGFONT lf = {};
  lstrcpyW(lf.lfFaceName, L"Tahoma");
  lf.lfHeight = 13;
  host.m_pPainter->SetFontIndirect(&lf);
  host.m_pPainter->GetShapeSet()->RefreshMetrics();
  EXPECT_EQ(host.ButtonHeight(), 18);
  lf.lfHeight = 16;
  host.m_pPainter->SetFontIndirect(&lf);
  host.m_pPainter->GetShapeSet()->RefreshMetrics();
  EXPECT_EQ(host.ButtonHeight(), 19);
  host.m_pPainter->m_bShowIcons = TRUE;
  EXPECT_EQ(host.ButtonHeight(), 20) << "a 16-pixel icon and 4 pixels";
}
