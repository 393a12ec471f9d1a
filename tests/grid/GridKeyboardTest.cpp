// The grid under the real keyboard: arrows select the cell they reach, Shift extends, hidden rows
// and columns are skipped, Tab wraps and finally leaves the grid, page keys stop at the ends,
// Ctrl+A selects all.
#include "GridInputFixture.h"

TEST_F(GridInput, ArrowsSelectTheCellReachedAndShiftExtends) {
  Click(CellPoint(2, 2));
  Key(VK_DOWN);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(3, 2));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(3, 2, 3, 2));
  Key(VK_RIGHT, {VK_SHIFT});
  Key(VK_DOWN, {VK_SHIFT});
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(4, 3));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(3, 2, 4, 3));
  EXPECT_EQ(grid.GetSelectedCount(), 4);
  Key(VK_LEFT);
  EXPECT_EQ(grid.GetSelectedCount(), 1);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(4, 2));
}

TEST_F(GridInput, ArrowsSkipHiddenRowsAndColumnsAndStopAtTheFixedCells) {
  grid.SetRowHeight(3, 0);
  grid.SetColumnWidth(3, 0);
  Click(CellPoint(2, 2));
  Key(VK_DOWN);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(4, 2));
  Key(VK_RIGHT);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(4, 4));
  Key(VK_LEFT);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(4, 1)) << "never into the fixed column";
  Key(VK_HOME, {VK_CONTROL});
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(1, 1));
  Key(VK_UP);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(1, 1));
}

TEST_F(GridInput, TabWrapsAtTheRowEndAndLeavesTheGridAfterTheLastCell) {
  Shape(4, 3);
  Click(CellPoint(2, 2));
  Key(VK_TAB);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(3, 1)) << "wrapped to the next row's first column";
  Key(VK_TAB, {VK_SHIFT});
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(2, 2)) << "and back";
  Key(VK_TAB);
  Key(VK_TAB);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(3, 2));
  EXPECT_EQ(host.nextControlRequests, 0);
  Key(VK_TAB);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(3, 2));
  EXPECT_EQ(host.nextControlRequests, 1) << "the dialog moves the focus on";
}

TEST_F(GridInput, PageKeysScrollAndStopAtTheFirstAndLastRows) {
  Shape(60, 5);
  Click(CellPoint(1, 1));
  Key(VK_NEXT);
  EXPECT_GT(grid.GetFocusCell().row, 1);
  EXPECT_GT(grid.GetTopleftNonFixedCell().row, 1);
  Key(VK_END, {VK_CONTROL});
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(59, 4));
  Key(VK_NEXT);
  EXPECT_EQ(grid.GetFocusCell().row, 59) << "already at the bottom";
  EXPECT_TRUE(grid.IsCellVisible(59, 4));
  for (int page = 0; page < 6; ++page) Key(VK_PRIOR);
  EXPECT_EQ(grid.GetFocusCell().row, 1) << "a page up at the top reaches the first row";
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1);
}

TEST_F(GridInput, CtrlASelectsEveryCellAndNotifiesAroundIt) {
  Click(CellPoint(2, 2));
  host.notifications.clear();
  Key('A', {VK_CONTROL});
  EXPECT_EQ(grid.GetSelectedCount(), 7 * 4);
  EXPECT_EQ(host.Count(GVN_SELCHANGING), 1);
  EXPECT_EQ(host.Count(GVN_SELCHANGED), 1);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(2, 2));
}

TEST_F(GridInput, DeleteClearsTheSelectedTextsOnlyWhenEditable) {
  const CPoint from = CellPoint(1, 1);
  const CPoint to = CellPoint(2, 2);
  Drag(from, to);
  PumpGridMessages(60);
  grid.SetEditable(FALSE);
  Key(VK_DELETE);
  EXPECT_EQ(grid.GetItemText(1, 1), _T("1,1"));
  grid.SetEditable(TRUE);
  host.beginEditAnswer = 0;
  Key(VK_DELETE);
  EXPECT_EQ(grid.GetItemText(1, 1), _T(""));
  EXPECT_EQ(grid.GetItemText(2, 2), _T(""));
  EXPECT_EQ(grid.GetItemText(3, 3), _T("3,3"));
  EXPECT_EQ(host.Count(GVN_ENDLABELEDIT), 4);
}
