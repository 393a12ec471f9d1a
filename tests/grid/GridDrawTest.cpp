// Painting the whole grid into a memory DC: the kinds' backgrounds, grid lines on the scrolled cells
// only, the area beyond the cells, own colours, selection and hidden rows.
#include <gtest/gtest.h>

#include "GridCanvas.h"
#include "GridTestHost.h"

namespace {

// 1 fixed row (20 high) and 1 fixed column (30 wide); other cells 50 by 20, in a 400 by 300 window.
class GridDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE, WS_CHILD | WS_VISIBLE));
    grid.SetRowCount(5);
    grid.SetColumnCount(4);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (int row = 0; row < 5; ++row) grid.SetRowHeight(row, 20);
    grid.SetColumnWidth(0, 30);
    for (int col = 1; col < 4; ++col) grid.SetColumnWidth(col, 50);
    grid.SetGridLineColour(RGB(0x10, 0x20, 0x30));
    grid.SetGridBkColour(RGB(0xE6, 0xFF, 0xFF));
  }
  void Paint(GridCanvas& canvas) { grid.OnDraw(&canvas.dc()); }

  CTestGrid grid;
  CGridTestHost host;
};

}  // namespace

TEST_F(GridDraw, EachKindOfCellGetsItsBackgroundAndTheRestTheGridColour) {
  GridCanvas canvas(400, 300);
  Paint(canvas);
  EXPECT_EQ(canvas.At(10, 45), ::GetSysColor(COLOR_3DFACE)) << "fixed column";
  EXPECT_EQ(canvas.At(60, 10), ::GetSysColor(COLOR_3DFACE)) << "header";
  EXPECT_EQ(canvas.At(45, 30), ::GetSysColor(COLOR_WINDOW)) << "a plain cell";
  EXPECT_EQ(canvas.At(300, 50), RGB(0xE6, 0xFF, 0xFF)) << "right of the cells";
  EXPECT_EQ(canvas.At(60, 200), RGB(0xE6, 0xFF, 0xFF)) << "below the cells";
}

TEST_F(GridDraw, GridLinesRunAlongTheScrolledCellsOnly) {
  GridCanvas canvas(400, 300);
  Paint(canvas);
  const COLORREF line = RGB(0x10, 0x20, 0x30);
  EXPECT_EQ(canvas.At(79, 30), line) << "right edge of cell (1,1)";
  EXPECT_EQ(canvas.At(50, 39), line) << "bottom edge of cell (1,1)";
  EXPECT_NE(canvas.At(79, 10), line) << "the header draws its own edge";
  EXPECT_NE(canvas.At(10, 39), line) << "so does the fixed column";

  grid.SetGridLines(GVL_HORZ);
  GridCanvas horizontal(400, 300);
  grid.OnDraw(&horizontal.dc());
  EXPECT_NE(horizontal.At(79, 30), line);
  EXPECT_EQ(horizontal.At(50, 39), line);
}

TEST_F(GridDraw, OwnColoursSelectionAndDefaultColoursShow) {
  grid.SetItemBkColour(2, 1, RGB(0xFF, 0xE2, 0xC6));
  grid.SetItemBkColour(3, 1, RGB(0xFF, 0xE2, 0xC6));
  grid.SetItemBkColour(3, 1, CLR_DEFAULT);
  grid.SetItemState(4, 2, GVIS_SELECTED);
  GridCanvas canvas(400, 300);
  Paint(canvas);
  EXPECT_EQ(canvas.At(50, 50), RGB(0xFF, 0xE2, 0xC6));
  EXPECT_EQ(canvas.At(50, 70), ::GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(canvas.At(100, 90), ::GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(GridDraw, HiddenRowsAreNotDrawnAndTheNextRowMovesUp) {
  grid.SetItemBkColour(2, 1, RGB(200, 0, 0));
  grid.SetItemBkColour(3, 1, RGB(0, 200, 0));
  grid.SetRowHeight(2, 0);
  GridCanvas canvas(400, 300);
  Paint(canvas);
  EXPECT_EQ(canvas.At(50, 50), RGB(0, 200, 0)) << "row 3 where row 2 was";
  for (int y = 0; y < 300; ++y) ASSERT_NE(canvas.At(50, y), RGB(200, 0, 0)) << "at y " << y;
}

TEST_F(GridDraw, NothingIsDrawnWhileDrawingIsOff) {
  grid.SetRedraw(FALSE);
  GridCanvas canvas(400, 300, RGB(1, 2, 3));
  Paint(canvas);
  EXPECT_FALSE(canvas.AnyOtherThan(CRect(0, 0, 400, 300), RGB(1, 2, 3)));
  grid.SetRedraw(TRUE);
}

TEST_F(GridDraw, TheDragImageIsAPictureOfTheFocusCell) {
  CPoint hotSpot;
  EXPECT_EQ(grid.CreateDragImage(&hotSpot), nullptr) << "no focus cell, no picture";
  grid.SetFocusCell(2, 2);
  CImageList* pList = grid.CreateDragImage(&hotSpot);
  ASSERT_NE(pList, nullptr);
  EXPECT_EQ(pList->GetImageCount(), 1);
  EXPECT_EQ(hotSpot, CPoint(50, 20)) << "the cell's size";
  delete pList;
}
