// The grid's model: counts and fixed counts, the state bits of fixed cells, sizes, item records,
// out-of-range calls, creation by name, fonts, and the selected-cell map of very long grids.
#include <gtest/gtest.h>

#include "GridTestHost.h"

namespace {

class GridModel : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE)); }

  CTestGrid grid;
  CGridTestHost host;
};

}  // namespace

TEST_F(GridModel, FixedCountsRaiseAndFollowTheRowAndColumnCounts) {
  EXPECT_TRUE(grid.SetColumnCount(3));
  EXPECT_TRUE(grid.SetFixedRowCount(2));
  EXPECT_EQ(grid.GetRowCount(), 2) << "the fixed rows need rows";
  EXPECT_TRUE(grid.SetFixedColumnCount(4));
  EXPECT_EQ(grid.GetColumnCount(), 4);

  EXPECT_TRUE(grid.SetRowCount(10));
  EXPECT_TRUE(grid.SetRowCount(1));
  EXPECT_EQ(grid.GetFixedRowCount(), 1) << "lowered with the row count";
  EXPECT_TRUE(grid.SetColumnCount(2));
  EXPECT_EQ(grid.GetFixedColumnCount(), 2);
  EXPECT_FALSE(grid.SetRowCount(-1));
  EXPECT_FALSE(grid.SetFixedColumnCount(-2));
}

TEST_F(GridModel, FixedCellsCarryTheirStateBitsAndDefaultColours) {
  grid.SetRowCount(3);
  grid.SetColumnCount(3);
  grid.SetItemBkColour(0, 1, RGB(1, 2, 3));
  grid.SetFixedRowCount(1);
  grid.SetFixedColumnCount(1);
  EXPECT_EQ(grid.GetItemState(0, 1), static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDROW));
  EXPECT_EQ(grid.GetItemState(1, 0), static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDCOL));
  EXPECT_EQ(grid.GetItemState(0, 0), static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDROW | GVIS_FIXEDCOL));
  EXPECT_EQ(grid.GetItemState(1, 1), 0u);
  EXPECT_EQ(grid.GetItemBkColour(0, 1), CLR_DEFAULT) << "a new fixed cell takes its kind's colour";

  // Rows and columns made later are fixed as they are made.
  grid.SetColumnCount(4);
  EXPECT_EQ(grid.GetItemState(0, 3), static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDROW));
  grid.SetRowCount(4);
  EXPECT_EQ(grid.GetItemState(3, 0), static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDCOL));

  grid.SetFixedRowCount(0);
  EXPECT_EQ(grid.GetItemState(0, 1), 0u);
  EXPECT_EQ(grid.GetItemState(0, 0), static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDCOL))
      << "still in a fixed column";
  grid.SetFixedColumnCount(0);
  EXPECT_EQ(grid.GetItemState(0, 0), 0u);
}

TEST_F(GridModel, GrowingAndShrinkingKeepsCellsAndDropsWhatGoesAway) {
  grid.SetColumnCount(3);
  grid.SetRowCount(5);
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(grid.GetRowHeight(row), grid.GetDefaultCell(FALSE, FALSE)->GetHeight());
    for (int col = 0; col < 3; ++col) {
      CString text;
      text.Format(_T("%d,%d"), row, col);
      ASSERT_TRUE(grid.SetItemText(row, col, text));
    }
  }
  grid.SetItemState(4, 1, GVIS_SELECTED);
  grid.SetFocusCell(4, 2);
  ASSERT_EQ(grid.GetSelectedCount(), 1);

  EXPECT_TRUE(grid.SetRowCount(3));
  EXPECT_EQ(grid.GetSelectedCount(), 0) << "a destroyed cell leaves the selection";
  EXPECT_FALSE(grid.IsValid(grid.GetFocusCell()));
  EXPECT_EQ(grid.GetItemText(2, 2), _T("2,2"));
  EXPECT_EQ(grid.GetItemText(3, 0), _T(""));
  EXPECT_FALSE(grid.SetItemText(3, 0, _T("gone")));

  EXPECT_TRUE(grid.SetColumnCount(5));
  EXPECT_EQ(grid.GetItemText(1, 2), _T("1,2"));
  EXPECT_EQ(grid.GetItemText(1, 4), _T(""));
  EXPECT_EQ(grid.GetColumnWidth(4), grid.GetDefaultCell(FALSE, TRUE)->GetWidth());
  EXPECT_TRUE(grid.SetColumnCount(1));
  EXPECT_EQ(grid.GetItemText(1, 0), _T("1,0"));
  EXPECT_EQ(grid.GetItemText(1, 1), _T(""));

  EXPECT_TRUE(grid.DeleteAllItems());
  EXPECT_EQ(grid.GetRowCount(), 0);
  EXPECT_EQ(grid.GetColumnCount(), 0);
  EXPECT_TRUE(grid.DeleteAllItems()) << "an empty grid too";
}

TEST_F(GridModel, SizesAcceptZeroRefuseNegativesAndOutOfRangeCallsFailQuietly) {
  grid.SetRowCount(2);
  grid.SetColumnCount(2);
  EXPECT_TRUE(grid.SetRowHeight(1, 0));
  EXPECT_EQ(grid.GetRowHeight(1), 0);
  EXPECT_FALSE(grid.SetRowHeight(1, -1));
  EXPECT_FALSE(grid.SetColumnWidth(5, 10));
  EXPECT_EQ(grid.GetRowHeight(7), -1);
  EXPECT_EQ(grid.GetColumnWidth(-1), -1);

  EXPECT_FALSE(grid.SetItemText(-1, 0, _T("x")));
  EXPECT_FALSE(grid.SetItemData(2, 0, 5));
  EXPECT_FALSE(grid.SetItemState(0, 2, GVIS_SELECTED));
  EXPECT_EQ(grid.GetItemText(9, 9), _T(""));
  EXPECT_EQ(grid.GetItemData(9, 9), 0);
  EXPECT_EQ(grid.GetItemImage(9, 9), -1);
  EXPECT_EQ(grid.GetCell(2, 2), nullptr);
  EXPECT_FALSE(grid.SetItem(nullptr));
}

TEST_F(GridModel, SetItemAppliesTheMaskedFieldsAndAnEmptyMaskOnlyMarksModified) {
  grid.SetRowCount(2);
  grid.SetColumnCount(2);
  grid.SetItemText(1, 1, _T("before"));
  grid.SetModified(FALSE);

  GridItem empty;
  empty.row = 1;
  empty.col = 1;
  empty.mask = 0;
  empty.strText = _T("ignored");
  EXPECT_TRUE(grid.SetItem(&empty));
  EXPECT_TRUE(grid.GetModified());
  EXPECT_EQ(grid.GetItemText(1, 1), _T("before"));

  GridItem item;
  item.row = 1;
  item.col = 0;
  item.mask = GVIF_TEXT | GVIF_IMAGE | GVIF_FORMAT | GVIF_PARAM | GVIF_BKCLR | GVIF_FONT | GVIF_MARGIN;
  item.strText = _T("From");
  item.iImage = 2;
  item.nFormat = DT_WORDBREAK;
  item.lParam = 0x12345678;
  item.crBkClr = RGB(0xFC, 0xFF, 0xFF);
  item.lfFont.lfHeight = -12;
  lstrcpy(item.lfFont.lfFaceName, _T("Tahoma"));
  item.nMargin = 6;
  EXPECT_TRUE(grid.SetItem(&item));
  EXPECT_EQ(grid.GetItemText(1, 0), _T("From"));
  EXPECT_EQ(grid.GetItemImage(1, 0), 2);
  EXPECT_EQ(grid.GetItemFormat(1, 0), static_cast<UINT>(DT_WORDBREAK));
  EXPECT_EQ(grid.GetItemData(1, 0), 0x12345678);
  EXPECT_EQ(grid.GetItemBkColour(1, 0), RGB(0xFC, 0xFF, 0xFF));
  EXPECT_EQ(grid.GetItemFgColour(1, 0), CLR_DEFAULT);
  EXPECT_EQ(grid.GetItemFont(1, 0)->lfHeight, -12);
  EXPECT_EQ(grid.GetItemMargin(1, 0), 6u);
  EXPECT_TRUE(grid.GetModified(1, 0));

  GridItem back;
  back.row = 1;
  back.col = 0;
  back.mask = GVIF_TEXT | GVIF_PARAM;
  EXPECT_TRUE(grid.GetItem(&back));
  EXPECT_EQ(back.strText, _T("From"));
  EXPECT_EQ(back.lParam, 0x12345678);
}

TEST_F(GridModel, SelectionMapKeepsRowsBeyond65535Apart) {
  grid.SetColumnCount(3);
  ASSERT_TRUE(grid.SetRowCount(70000));
  // Row 65,539 and row 3 would share a 16-bit row key.
  EXPECT_TRUE(grid.SetItemState(3, 2, GVIS_SELECTED));
  EXPECT_TRUE(grid.SetItemState(65539, 2, GVIS_SELECTED));
  EXPECT_EQ(grid.GetSelectedCount(), 2);
  EXPECT_TRUE(grid.IsCellSelected(65539, 2));

  grid.SetItemState(3, 2, 0);
  EXPECT_EQ(grid.GetSelectedCount(), 1);
  EXPECT_TRUE(grid.IsCellSelected(65539, 2));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(65539, 2, 65539, 2));

  grid.SetSelectedRange(69998, 0, 69999, 1);
  EXPECT_EQ(grid.GetSelectedCount(), 4) << "the earlier selection is replaced";
  EXPECT_FALSE(grid.IsCellSelected(65539, 2));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(69998, 0, 69999, 1));
}

TEST_F(GridModel, IsCreatedByItsClassName) {
  CObject* pObject = CRuntimeClass::CreateObject("CGridCtrl");
  ASSERT_NE(pObject, nullptr);
  EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CGridCtrl)));
  auto* pGrid = static_cast<CGridCtrl*>(pObject);
  EXPECT_EQ(pGrid->GetRowCount(), 0);
  EXPECT_EQ(pGrid->GetSortColumn(), -1);
  EXPECT_TRUE(pGrid->GetSortAscending());
  delete pObject;

  WNDCLASS wndcls;
  EXPECT_TRUE(::GetClassInfo(AfxGetInstanceHandle(), _T("MFCGridCtrl"), &wndcls));
  EXPECT_EQ(wndcls.style, static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
}

TEST_F(GridModel, SetFontReachesEveryDefaultCellAndGetFontAnswersThePlainOne) {
  LOGFONT lf = {};
  lf.lfHeight = -21;
  lstrcpy(lf.lfFaceName, _T("Tahoma"));
  CFont font;
  font.CreateFontIndirect(&lf);
  grid.SetFont(&font);
  EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetFont()->lfHeight, -21);
  EXPECT_EQ(grid.GetDefaultCell(TRUE, FALSE)->GetFont()->lfHeight, -21);
  EXPECT_EQ(grid.GetDefaultCell(FALSE, TRUE)->GetFont()->lfHeight, -21);
  EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE)->GetFont()->lfHeight, -21);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(grid.SendMessage(WM_GETFONT)),
            grid.GetDefaultCell(FALSE, FALSE)->GetFontObject()->GetSafeHandle());
}
