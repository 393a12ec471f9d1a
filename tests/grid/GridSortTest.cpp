// Sorting rows by one column: code-point order, direction, the header row, selection and focus,
// item data travelling with its row, the sort arrow's column, and compare functions.
#include <gtest/gtest.h>

#include "GridTestHost.h"

#include <algorithm>
#include <random>
#include <vector>

namespace {

class GridSort : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE));
    grid.SetColumnCount(2);
    grid.SetFixedRowCount(1);
    grid.SetItemText(0, 0, _T("Subject"));
    grid.SetItemText(0, 1, _T("Size in Bytes"));
  }
  // One row per text, with the row's original position as column 0's item data.
  void Fill(const std::vector<CString>& texts) {
    grid.SetRowCount(1 + static_cast<int>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i) {
      const int row = 1 + static_cast<int>(i);
      grid.SetItemText(row, 0, texts[i]);
      grid.SetItemData(row, 0, static_cast<LPARAM>(1000 + i));
      CString size;
      size.Format(_T("%d"), static_cast<int>((i * 37) % 11));
      grid.SetItemText(row, 1, size);
    }
  }
  std::vector<CString> Column(int col) {
    std::vector<CString> texts;
    for (int row = 1; row < grid.GetRowCount(); ++row) texts.push_back(grid.GetItemText(row, col));
    return texts;
  }

  CTestGrid grid;
  CGridTestHost host;
};

}  // namespace

TEST_F(GridSort, TextsSortByCodePointSoUpperCaseComesFirst) {
  Fill({_T("b"), _T("B"), _T("a"), _T("A"), _T("c")});
  ASSERT_TRUE(grid.SortItems(0, TRUE));
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("A"), _T("B"), _T("a"), _T("b"), _T("c")}));
  EXPECT_EQ(grid.GetItemText(0, 0), _T("Subject")) << "the header row stays";
  ASSERT_TRUE(grid.SortItems(0, FALSE));
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("c"), _T("b"), _T("a"), _T("B"), _T("A")}));
}

TEST_F(GridSort, CharactersBeyondTheBasicPlaneSortAfterIt) {
  Fill({_T("\U0001F600"), _T("\xFFFD"), _T("z")});
  grid.SortItems(0, TRUE);
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("z"), _T("\xFFFD"), _T("\U0001F600")}));
}

TEST_F(GridSort, ItemDataTravelsWithItsRow) {
  const std::vector<CString> texts = {_T("pear"), _T("apple"), _T("fig"), _T("kiwi"), _T("date")};
  Fill(texts);
  grid.SortItems(0, TRUE);
  for (int row = 1; row < grid.GetRowCount(); ++row) {
    const size_t original = static_cast<size_t>(grid.GetItemData(row, 0) - 1000);
    ASSERT_LT(original, texts.size());
    EXPECT_EQ(grid.GetItemText(row, 0), texts[original]);
  }
}

TEST_F(GridSort, SortingClearsSelectionAndFocusAndMarksTheColumn) {
  Fill({_T("b"), _T("a"), _T("c")});
  grid.SetSelectedRange(1, 0, 2, 1);
  grid.SetFocusCell(2, 1);
  ASSERT_GT(grid.GetSelectedCount(), 0);
  grid.SortItems(1, TRUE);
  EXPECT_EQ(grid.GetSelectedCount(), 0);
  EXPECT_FALSE(grid.IsValid(grid.GetFocusCell()));
  EXPECT_EQ(grid.GetSortColumn(), 1);
  EXPECT_TRUE(grid.GetSortAscending());
}

TEST_F(GridSort, AColumnPastTheLastDoesNothing) {
  Fill({_T("b"), _T("a")});
  grid.SortItems(0, TRUE);
  grid.SetSelectedRange(1, 0, 1, 0);
  EXPECT_FALSE(grid.SortItems(2, FALSE));
  EXPECT_EQ(grid.GetSortColumn(), 0);
  EXPECT_TRUE(grid.GetSortAscending());
  EXPECT_EQ(grid.GetSelectedCount(), 1);
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("a"), _T("b")}));
}

TEST_F(GridSort, HeaderClicksSortAscendingThenReverseAndAnotherHeaderStartsAscending) {
  Fill({_T("b"), _T("c"), _T("a")});
  grid.SetHeaderSort(TRUE);
  CGridCellId header0(0, 0), header1(0, 1);
  grid.OnFixedRowClick(header0);
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("a"), _T("b"), _T("c")}));
  grid.OnFixedRowClick(header0);
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("c"), _T("b"), _T("a")}));
  EXPECT_FALSE(grid.GetSortAscending());
  grid.OnFixedRowClick(header1);
  EXPECT_EQ(grid.GetSortColumn(), 1);
  EXPECT_TRUE(grid.GetSortAscending());
}

TEST_F(GridSort, ChangedTextInTheSortColumnRemovesTheArrow) {
  Fill({_T("b"), _T("a")});
  grid.SortItems(0, TRUE);
  grid.SetItemText(1, 1, _T("other column"));
  EXPECT_EQ(grid.GetSortColumn(), 0);
  grid.SetItemText(1, 0, _T("z"));
  EXPECT_EQ(grid.GetSortColumn(), -1);
  grid.SortItems(0, TRUE);
  grid.SetRowCount(4);
  EXPECT_EQ(grid.GetSortColumn(), -1) << "a count change too";
}

TEST_F(GridSort, ACompareFunctionReplacesTheTextOrder) {
  Fill({_T("10"), _T("9"), _T("100"), _T("1")});
  grid.SetCompareFunction([](const CGridCellBase* p1, const CGridCellBase* p2, LPARAM) -> int {
    return _ttoi(p1->GetText()) - _ttoi(p2->GetText());
  });
  grid.SortItems(0, TRUE);
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("1"), _T("9"), _T("10"), _T("100")}));
  grid.SetCompareFunction(nullptr);
  grid.SortItems(0, TRUE);
  EXPECT_EQ(Column(0), (std::vector<CString>{_T("1"), _T("10"), _T("100"), _T("9")}));
}

TEST_F(GridSort, ManyRowsWithRepeatsComeOutOrdered) {
  std::mt19937 random(7);
  std::vector<CString> texts;
  for (int i = 0; i < 20000; ++i) {
    CString text;
    text.Format(_T("%04u"), static_cast<unsigned>(random() % 500));
    texts.push_back(text);
  }
  Fill(texts);
  grid.SortItems(0, FALSE);
  std::vector<CString> sorted = Column(0);
  EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend()));
  std::sort(texts.begin(), texts.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, texts) << "no row lost or doubled";
}
