// Title tips under the real mouse: a cut text shows whole, a text with ";" shows one line per name
// with nothing cut, a fitting text shows nothing, and keys and clicks go through to the grid.
#include "GridInputFixture.h"

namespace {

const TCHAR kLongText[] = _T("A subject much too long for its column");

}  // namespace

class GridTitleTipInput : public GridInput {
 protected:
  void SetUp() override {
    GridInput::SetUp();
    grid.SetItemText(2, 2, kLongText);
    grid.SetItemText(4, 3, _T("Ann Archer;Bob Baker;"));
    grid.SetColumnWidth(3, 200);
  }
  CGridTitleTip& Tip() { return grid.GetTitleTip(); }
  bool TipShows() { return ::IsWindow(Tip().GetSafeHwnd()) && Tip().IsWindowVisible(); }
  void Hover(const CPoint& point) {
    testsupport::MouseMoveTo(point.x, point.y);
    PumpGridUntil([&] { return TipShows(); }, 300);
  }
  // The text height of one line in the cell font.
  int LineHeight() {
    CClientDC dc(&grid);
    CFont* pOld = dc.SelectObject(grid.GetCell(4, 3)->GetFontObject());
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    return tm.tmHeight;
  }
};

TEST_F(GridTitleTipInput, ACutTextShowsWholeAndHidesWhenTheMouseLeaves) {
  Hover(CellPoint(2, 2));
  ASSERT_TRUE(TipShows());
  EXPECT_EQ(Tip().GetShownText(), CString(_T(" ")) + kLongText + _T(" "));
  CRect tipRect, cellRect;
  Tip().GetWindowRect(tipRect);
  grid.GetCellRect(2, 2, cellRect);
  grid.ClientToScreen(cellRect);
  EXPECT_GT(tipRect.Width(), cellRect.Width());
  EXPECT_EQ(tipRect.TopLeft(), cellRect.TopLeft());
  EXPECT_FALSE(testsupport::SaveWindowPng(host.GetSafeHwnd(), L"grid_title_tip_cut_text.png").empty());

  testsupport::MouseMoveTo(CellPoint(5, 1).x, CellPoint(5, 1).y);
  PumpGridUntil([&] { return !TipShows(); }, 500);
  EXPECT_FALSE(TipShows());
  EXPECT_NE(::GetCapture(), Tip().GetSafeHwnd());
}

TEST_F(GridTitleTipInput, AFittingTextShowsNoTip) {
  Hover(CellPoint(3, 3));
  EXPECT_FALSE(TipShows());
}

TEST_F(GridTitleTipInput, NamesEndingInSemicolonsShowOneUncutLineEach) {
  Hover(CellPoint(4, 3));
  ASSERT_TRUE(TipShows()) << "several lines show even when they fit";
  EXPECT_EQ(Tip().GetShownText(), _T(" Ann Archer\r\nBob Baker"));
  CRect client;
  Tip().GetClientRect(client);
  EXPECT_EQ(client.Height(), 2 * LineHeight());

  // Every line fits the tip as it is drawn.
  CClientDC dc(&grid);
  CFont* pOld = dc.SelectObject(grid.GetCell(4, 3)->GetFontObject());
  CRect needed(0, 0, 0, 0);
  dc.DrawText(Tip().GetShownText(), needed, DT_CALCRECT | DT_NOPREFIX);
  dc.SelectObject(pOld);
  EXPECT_GE(client.Width(), needed.Width());
  EXPECT_GE(client.Height(), needed.Height());
  EXPECT_FALSE(testsupport::SaveWindowPng(host.GetSafeHwnd(), L"grid_title_tip_two_lines.png").empty());
}

TEST_F(GridTitleTipInput, AKeyHidesTheTipAndReachesTheGrid) {
  Click(CellPoint(1, 2));
  Hover(CellPoint(2, 2));
  ASSERT_TRUE(TipShows());
  Key(VK_DOWN);
  EXPECT_FALSE(TipShows());
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(2, 2));
}

TEST_F(GridTitleTipInput, AClickOnTheTipReachesTheCellBeneath) {
  Hover(CellPoint(2, 2));
  ASSERT_TRUE(TipShows());
  Click(CellPoint(2, 2));
  EXPECT_FALSE(TipShows());
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(2, 2));
  const GridNotification* click = host.Last(NM_CLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->row, 2);
  EXPECT_EQ(click->col, 2);
}

TEST_F(GridTitleTipInput, TwoQuickClicksOnTheTipArriveAsADoubleClick) {
  grid.SetEditable(FALSE);
  Hover(CellPoint(2, 2));
  ASSERT_TRUE(TipShows());
  Click(CellPoint(2, 2));
  // The tip shows again as the mouse moves on inside the cell, and takes the second click.
  Hover(CellPoint(2, 2, 2));
  ASSERT_TRUE(TipShows());
  Click(CellPoint(2, 2, 2));
  const GridNotification* dblclk = host.Last(NM_DBLCLK);
  ASSERT_NE(dblclk, nullptr);
  EXPECT_EQ(dblclk->row, 2);
  EXPECT_EQ(dblclk->col, 2);
}
