// The grid under the real mouse: clicks and what they notify, drag selection, Shift and Ctrl
// clicks, header clicks that sort, right clicks, and the screenshot of a grid with fixed cells.
#include "GridInputFixture.h"

TEST_F(GridInput, ClickSelectsTheCellAndNotifiesTheOwner) {
  Click(CellPoint(2, 3));
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(2, 3));
  EXPECT_EQ(grid.GetSelectedCount(), 1);
  EXPECT_TRUE(grid.IsCellSelected(2, 3));
  const GridNotification* click = host.Last(NM_CLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->row, 2);
  EXPECT_EQ(click->col, 3);
  EXPECT_EQ(host.Count(GVN_SELCHANGING), 1);
  EXPECT_EQ(host.Count(GVN_SELCHANGED), 1);
  EXPECT_EQ(host.commands, 1) << "WM_COMMAND after the release";
  EXPECT_EQ(grid.MouseMode(), 0);
}

TEST_F(GridInput, DraggingSelectsTheRectangleItCovers) {
  const CPoint from = CellPoint(1, 1);
  const CPoint to = CellPoint(3, 2);
  Drag(from, to);
  PumpGridMessages(80);
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 1, 3, 2));
  EXPECT_EQ(grid.GetSelectedCount(), 6);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(3, 2));
}

TEST_F(GridInput, DraggingBelowTheGridScrollsAndSelectsOnDown) {
  Shape(60, 5);
  const CPoint from = CellPoint(2, 1);
  testsupport::MouseMoveTo(from.x, from.y);
  testsupport::MouseButton(true);
  PumpGridMessages(40);
  CRect window;
  host.GetWindowRect(window);
  testsupport::MouseMoveTo(from.x, window.bottom + 20);
  PumpGridUntil([&] { return grid.GetTopleftNonFixedCell().row > 8; }, 2000);
  testsupport::MouseButton(false);
  PumpGridMessages(40);
  EXPECT_GT(grid.GetTopleftNonFixedCell().row, 8) << "the drag timer scrolled";
  const CGridCellRange selected = grid.GetSelectedCellRange();
  EXPECT_EQ(selected.GetMinRow(), 2);
  EXPECT_GT(selected.GetMaxRow(), 16);
  EXPECT_GE(selected.GetMaxRow(), grid.GetFocusCell().row) << "up to the row at the window's bottom edge";
  EXPECT_TRUE(grid.IsCellVisible(grid.GetFocusCell())) << "the focus row the timer moved is in view";
}

TEST_F(GridInput, TheWheelScrollsByTheSystemsLinesPerNotch) {
  Shape(60, 5);
  grid.m_nRowsPerWheelNotch = 3;
  const CPoint at = CellPoint(3, 2);
  testsupport::MouseMoveTo(at.x, at.y);
  testsupport::MouseWheel(-WHEEL_DELTA);
  PumpGridUntil([&] { return grid.GetTopleftNonFixedCell().row != 1; }, 1000);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 4);
  testsupport::MouseWheel(WHEEL_DELTA);
  PumpGridUntil([&] { return grid.GetTopleftNonFixedCell().row == 1; }, 1000);
  EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1);
}

TEST_F(GridInput, ScrollingToTheEndRedrawsTheWholeWindow) {
  Shape(8, 12);
  PumpGridMessages(30);
  grid.ValidateRect(nullptr);
  grid.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
  CRect update, client;
  grid.GetUpdateRect(update);
  grid.GetClientRect(client);
  EXPECT_EQ(update.Width(), client.Width());
  EXPECT_EQ(update.Height(), client.Height());
  EXPECT_EQ(grid.GetVisibleNonFixedCellRange().GetMaxCol(), 11);
}

TEST_F(GridInput, ShiftClickExtendsAndCtrlClickDeselectsOneCell) {
  Click(CellPoint(1, 1));
  ClickWith(VK_SHIFT, CellPoint(3, 3));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 1, 3, 3));
  EXPECT_EQ(grid.GetSelectedCount(), 9);

  ClickWith(VK_CONTROL, CellPoint(2, 2));
  EXPECT_FALSE(grid.IsCellSelected(2, 2));
  EXPECT_EQ(grid.GetSelectedCount(), 8) << "the rest stays selected";
}

TEST_F(GridInput, ShiftClickWithoutASelectionStartExtendsFromTheFocusCell) {
  grid.SetFocusCell(2, 2);
  ClickWith(VK_SHIFT, CellPoint(4, 3));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(2, 2, 4, 3));
}

TEST_F(GridInput, FixedCellClicksClearTheFocusAndSelectRowsColumnsOrAll) {
  Click(CellPoint(2, 2));
  Click(CellPoint(0, 3));
  EXPECT_FALSE(grid.IsValid(grid.GetFocusCell()));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 3, 7, 3)) << "the column";
  Click(CellPoint(4, 0));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(4, 1, 4, 4)) << "the row";
  Click(CellPoint(0, 0));
  EXPECT_EQ(grid.GetSelectedCount(), 7 * 4) << "the corner selects all";
}

TEST_F(GridInput, HeaderClicksSortAndALaterClickReportsTheMovedRowsData) {
  const TCHAR* names[] = {_T("pear"), _T("apple"), _T("fig"), _T("kiwi"), _T("date"), _T("lime"), _T("Zest")};
  for (int row = 1; row < 8; ++row) {
    grid.SetItemText(row, 2, names[row - 1]);
    grid.SetItemData(row, 0, 100 + row);
  }
  grid.SetHeaderSort(TRUE);
  Click(CellPoint(0, 2));
  EXPECT_EQ(grid.GetSortColumn(), 2);
  EXPECT_EQ(grid.GetItemText(1, 2), _T("Zest")) << "upper case first";
  EXPECT_EQ(grid.GetItemText(2, 2), _T("apple"));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(1, 2, 7, 2)) << "and the column is selected";
  // A second click (not a double click: elsewhere in the header) reverses the order.
  Click(CellPoint(0, 2, 15));
  EXPECT_FALSE(grid.GetSortAscending());
  EXPECT_EQ(grid.GetItemText(1, 2), _T("pear"));

  host.notifications.clear();
  Click(CellPoint(3, 1));
  const GridNotification* click = host.Last(NM_CLICK);
  ASSERT_NE(click, nullptr);
  EXPECT_EQ(click->row, 3);
  const CString text = grid.GetItemText(3, 2);
  const int original = static_cast<int>(click->rowData) - 100;
  ASSERT_GE(original, 1);
  ASSERT_LE(original, 7);
  EXPECT_EQ(text, names[original - 1]) << "the row's data moved with it";
}

TEST_F(GridInput, RightClicksMoveTheFocusOrReportNoCell) {
  Click(CellPoint(3, 2), true);
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(3, 2));
  const GridNotification* rclick = host.Last(NM_RCLICK);
  ASSERT_NE(rclick, nullptr);
  EXPECT_EQ(rclick->row, 3);

  Click(ScreenPoint(440, 240), true);
  rclick = host.Last(NM_RCLICK);
  ASSERT_NE(rclick, nullptr);
  EXPECT_EQ(rclick->row, -1);
  EXPECT_EQ(rclick->col, -1);
}

TEST_F(GridInput, DrawsFixedRowsAndColumnsAsAUserSeesThem) {
  Shape(12, 6);
  const TCHAR* headers[] = {_T(""),     _T("From"),          _T("Subject"),
                            _T("Date"), _T("Size in Bytes"), _T("Attachment")};
  const COLORREF kinds[] = {0xFCFFFF, 0xA8FFD3, 0xFFF4DF, 0xFFD2E9, 0xF0E1FF};
  for (int col = 0; col < 6; ++col) {
    grid.SetItemText(0, col, headers[col]);
    if (col > 0) grid.SetItemBkColour(0, col, 0xFFE2C6);
  }
  for (int row = 1; row < 12; ++row) {
    CString number;
    number.Format(_T("%d"), row);
    grid.SetItemText(row, 0, number);
    for (int col = 1; col < 6; ++col) grid.SetItemBkColour(row, col, kinds[row % 5]);
  }
  grid.SetItemText(2, 2, _T("A subject too long for its column"));
  grid.SetColumnWidth(4, 80);
  grid.SetGridBkColour(0xE6FFFF);
  grid.SetSortColumn(2);
  Click(CellPoint(3, 3));
  PumpGridMessages(100);

  EXPECT_EQ(testsupport::WindowPixel(grid.GetSafeHwnd(), 80, 10), RGB(0xC6, 0xE2, 0xFF)) << "header colour";
  EXPECT_EQ(testsupport::WindowPixel(grid.GetSafeHwnd(), 80, 50), RGB(0xDF, 0xF4, 0xFF)) << "row 2";
  EXPECT_EQ(testsupport::WindowPixel(grid.GetSafeHwnd(), 450, 100), RGB(0xFF, 0xFF, 0xE6))
      << "beyond the cells";
  EXPECT_EQ(testsupport::WindowPixel(grid.GetSafeHwnd(), 160, 70), ::GetSysColor(COLOR_HIGHLIGHT))
      << "the selected cell";
  EXPECT_FALSE(testsupport::SaveWindowPng(host.GetSafeHwnd(), L"grid_fixed_rows_and_columns.png").empty());
}
