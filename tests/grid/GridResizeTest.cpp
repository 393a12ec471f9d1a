// Resizing columns by their header dividers with the real mouse: dragging, hiding, releasing where
// it started, double-clicking to fit, and losing the mouse in the middle of a drag.
#include "GridInputFixture.h"

namespace {

// Header row, divider between columns 1 and 2: client x 90.
constexpr int kDividerX = 89;
constexpr int kHeaderY = 10;

}  // namespace

TEST_F(GridInput, DraggingAHeaderDividerResizesTheColumnToTheLeftOfIt) {
  const CPoint from = ScreenPoint(kDividerX, kHeaderY);
  const CPoint to = ScreenPoint(kDividerX + 40, kHeaderY);
  Drag(from, to);
  PumpGridMessages(60);
  EXPECT_EQ(grid.GetColumnWidth(1), kDividerX + 40 - 30);
  EXPECT_EQ(grid.GetColumnWidth(2), 60);
  RECT clip;
  ::GetClipCursor(&clip);
  EXPECT_EQ(CRect(clip), CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)))
      << "the cursor is free again";
}

TEST_F(GridInput, DraggingPastTheColumnsLeftEdgeHidesItUnlessHidingIsOff) {
  CPoint from = ScreenPoint(kDividerX, kHeaderY);
  CPoint to = ScreenPoint(5, kHeaderY);
  Drag(from, to);
  PumpGridMessages(60);
  EXPECT_EQ(grid.GetColumnWidth(1), 0);

  grid.SetColumnWidth(1, 60);
  grid.EnableColumnHide(FALSE);
  // A second press there at once would be a double click, which fits the column instead.
  WaitPastDoubleClick();
  Drag(from, to);
  PumpGridMessages(60);
  EXPECT_EQ(grid.GetColumnWidth(1), 1);
}

TEST_F(GridInput, ReleasingADividerWhereItWasPressedChangesNothing) {
  const CPoint at = ScreenPoint(kDividerX, kHeaderY);
  Click(at);
  EXPECT_EQ(grid.GetColumnWidth(1), 60);
  EXPECT_EQ(host.Count(NM_CLICK), 0) << "a divider press is no cell click";
}

TEST_F(GridInput, DoubleClickingADividerFitsTheColumnToItsWidestCell) {
  grid.SetItemText(3, 1, _T("a text wider than sixty pixels"));
  CClientDC dc(&grid);
  const int widest = grid.GetCell(3, 1)->GetCellExtent(&dc).cx;
  const CPoint at = ScreenPoint(kDividerX, kHeaderY);
  testsupport::MouseMoveTo(at.x, at.y);
  PumpGridMessages(30);
  testsupport::MouseClickAt(at.x, at.y);
  testsupport::MouseClickAt(at.x, at.y);
  PumpGridMessages(80);
  EXPECT_EQ(grid.GetColumnWidth(1), widest);
}

TEST_F(GridInput, LosingTheMouseDuringAResizeFreesTheCursorAndEndsIt) {
  const CPoint at = ScreenPoint(kDividerX, kHeaderY);
  testsupport::MouseMoveTo(at.x, at.y);
  PumpGridMessages(30);
  testsupport::MouseButton(true);
  PumpGridMessages(30);
  testsupport::MouseMoveTo(at.x + 25, at.y);
  PumpGridMessages(30);
  ASSERT_EQ(grid.MouseMode(), 9) << "sizing a column";
  RECT clip;
  ::GetClipCursor(&clip);
  ASSERT_NE(CRect(clip), CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));

  // Another window takes the mouse.
  host.SetCapture();
  PumpGridMessages(30);
  ::GetClipCursor(&clip);
  EXPECT_EQ(CRect(clip), CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(grid.MouseMode(), 0);
  testsupport::MouseButton(false);
  PumpGridMessages(30);
  ::ReleaseCapture();
  EXPECT_EQ(grid.GetColumnWidth(1), 60);
}
