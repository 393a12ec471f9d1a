// Virtual mode: cells come from display requests (to the owner, or to a callback when one is set),
// pre-filled from the default cells; setters fail while selection lives in the selected-cell map;
// cache hints frame every drawing.
#include <gtest/gtest.h>

#include "GridCanvas.h"
#include "GridTestHost.h"

namespace {

class GridVirtualMode : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE, WS_CHILD | WS_VISIBLE));
    grid.SetVirtualMode(TRUE);
    grid.SetRowCount(1000);
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    host.onDisplayRequest = [this](GV_DISPINFO* pInfo) {
      requests.push_back(pInfo->item);
      pInfo->item.strText.Format(_T("%d,%d"), pInfo->item.row, pInfo->item.col);
      pInfo->item.lParam = pInfo->item.row * 10 + pInfo->item.col;
    };
  }

  CTestGrid grid;
  CGridTestHost host;
  std::vector<GridItem> requests;
};

struct CallbackLog {
  int calls = 0;
  LPARAM lParam = 0;
};

BOOL CALLBACK FillFromCallback(GV_DISPINFO* pInfo, LPARAM lParam) {
  auto* pLog = reinterpret_cast<CallbackLog*>(lParam);
  ++pLog->calls;
  pLog->lParam = lParam;
  pInfo->item.strText = _T("from callback");
  return TRUE;
}

}  // namespace

TEST_F(GridVirtualMode, CellsComeFromTheOwnerPrefilledWithTheirKindsDefaults) {
  EXPECT_EQ(grid.GetItemText(5, 2), _T("5,2"));
  EXPECT_EQ(grid.GetItemData(7, 1), 71);
  ASSERT_FALSE(requests.empty());
  const GridItem& asked = requests.back();
  EXPECT_EQ(asked.row, 7);
  EXPECT_EQ(asked.col, 1);
  EXPECT_EQ(asked.mask, 0xFFFFFFFFu);
  EXPECT_EQ(asked.nFormat, grid.GetDefaultCell(FALSE, FALSE)->GetFormat());
  EXPECT_EQ(asked.crBkClr, grid.GetDefaultCell(FALSE, FALSE)->GetBackColour());
  EXPECT_EQ(asked.nState, 0u);
  EXPECT_TRUE(asked.strText.IsEmpty());

  grid.GetItemText(0, 1);
  EXPECT_EQ(requests.back().nState, static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDROW));
  EXPECT_EQ(requests.back().crBkClr, grid.GetDefaultCell(TRUE, FALSE)->GetBackColour());
  grid.SetFocusCell(4, 1);
  grid.GetItemText(4, 1);
  EXPECT_EQ(requests.back().nState, static_cast<UINT>(GVIS_FOCUSED));
}

TEST_F(GridVirtualMode, SettersFailButSelectionIsKeptInTheMap) {
  EXPECT_FALSE(grid.SetItemText(3, 1, _T("x")));
  EXPECT_FALSE(grid.SetItemBkColour(3, 1, RGB(1, 2, 3)));
  EXPECT_FALSE(grid.SetItemState(3, 1, GVIS_SELECTED));
  EXPECT_TRUE(grid.IsCellSelected(3, 1));
  EXPECT_TRUE(grid.GetItemState(3, 1) & GVIS_SELECTED);
  grid.SetSelectedRange(10, 0, 11, 2);
  EXPECT_FALSE(grid.IsCellSelected(3, 1));
  EXPECT_EQ(grid.GetSelectedCount(), 6);
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(10, 0, 11, 2));
}

TEST_F(GridVirtualMode, ACallbackAnswersInsteadOfTheOwner) {
  CallbackLog log;
  grid.SetCallbackFunc(FillFromCallback, reinterpret_cast<LPARAM>(&log));
  requests.clear();
  EXPECT_EQ(grid.GetItemText(2, 2), _T("from callback"));
  EXPECT_EQ(log.calls, 1);
  EXPECT_EQ(log.lParam, reinterpret_cast<LPARAM>(&log));
  EXPECT_TRUE(requests.empty());
}

TEST_F(GridVirtualMode, DrawingIsFramedByCacheHintsForTheVisibleRange) {
  CRect client;
  grid.GetClientRect(client);
  GridCanvas canvas(client.Width(), client.Height());
  host.cacheHints.clear();
  grid.OnDraw(&canvas.dc());
  ASSERT_EQ(host.cacheHints.size(), 2u);
  EXPECT_EQ(host.cacheHints[0], grid.GetVisibleNonFixedCellRange());
  EXPECT_EQ(host.cacheHints[0].GetMinRow(), 1);
  EXPECT_EQ(host.cacheHints[1], CGridCellRange(-1, -1, -1, -1));
  EXPECT_GT(requests.size(), 10u);

  // Sorting has nothing to move but must not fail.
  EXPECT_TRUE(grid.SortItems(0, TRUE));
}
