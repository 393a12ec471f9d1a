// Grid cells: defaults and fallbacks to the default cell, the shared font of cells with a font of
// their own, the default cell's measurements, copying, measuring and drawing into memory DCs.
#include <gtest/gtest.h>

#include "GridCanvas.h"
#include "GridTestHost.h"

namespace {

LOGFONT TestFont(LONG height) {
  LOGFONT lf = {};
  lf.lfHeight = height;
  lf.lfWeight = FW_NORMAL;
  lstrcpy(lf.lfFaceName, _T("Tahoma"));
  return lf;
}

class GridCell : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Create(&grid, 0, 0, 400, 300, FALSE));
    grid.SetColumnCount(3);
    grid.SetRowCount(4);
    grid.SetFixedRowCount(1);
  }

  CTestGrid grid;
  CGridTestHost host;
};

}  // namespace

TEST_F(GridCell, NewCellTakesItsDefaultCellsFormatMarginAndFont) {
  CGridCellBase* pCell = grid.GetCell(2, 1);
  ASSERT_NE(pCell, nullptr);
  EXPECT_STREQ(pCell->GetText(), _T(""));
  EXPECT_EQ(pCell->GetImage(), -1);
  EXPECT_EQ(pCell->GetData(), 0);
  CGridDefaultCell* pDefault = grid.GetDefaultCell(FALSE, FALSE);
  EXPECT_EQ(pCell->GetFormat(), pDefault->GetFormat());
  EXPECT_EQ(pCell->GetFormat(),
            static_cast<DWORD>(DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS));
  EXPECT_EQ(pCell->GetMargin(), pDefault->GetMargin());
  EXPECT_EQ(pCell->GetFont(), pDefault->GetFont());
  EXPECT_EQ(pCell->GetFontObject(), pDefault->GetFontObject());
  EXPECT_TRUE(pCell->IsDefaultFont());
  // A header cell falls back to the fixed-row default cell.
  EXPECT_EQ(grid.GetCell(0, 1)->GetDefaultCell(), grid.GetDefaultCell(TRUE, FALSE));
}

TEST_F(GridCell, CellsWithOwnFontsShareOneFontObjectThatNeverDeletesAFontInUse) {
  CGridCellBase* a = grid.GetCell(1, 0);
  CGridCellBase* b = grid.GetCell(2, 0);
  const LOGFONT big = TestFont(-20);
  const LOGFONT small = TestFont(-11);
  a->SetFont(&big);
  b->SetFont(&small);

  CFont* pFontA = a->GetFontObject();
  ASSERT_NE(pFontA, nullptr);
  const HGDIOBJ hBig = pFontA->GetSafeHandle();
  LOGFONT got;
  ASSERT_NE(pFontA->GetLogFont(&got), 0);
  EXPECT_EQ(got.lfHeight, -20);

  // Someone still draws with a's font while b's is asked for.
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hBig);
  CFont* pFontB = b->GetFontObject();
  EXPECT_EQ(pFontB, pFontA) << "one object for every cell";
  ASSERT_NE(pFontB->GetLogFont(&got), 0);
  EXPECT_EQ(got.lfHeight, -11);
  EXPECT_EQ(::GetCurrentObject(dc.GetSafeHdc(), OBJ_FONT), hBig);
  EXPECT_NE(::GetObject(hBig, sizeof(got), &got), 0) << "the selected font is still alive";
  EXPECT_EQ(got.lfHeight, -20);
  ::SelectObject(dc.GetSafeHdc(), hOld);

  // Asking again for the same font gives the same font, not a new one.
  EXPECT_EQ(a->GetFontObject()->GetSafeHandle(), hBig);

  a->SetFont(nullptr);
  EXPECT_TRUE(a->IsDefaultFont());
  EXPECT_EQ(a->GetFontObject(), grid.GetDefaultCell(FALSE, FALSE)->GetFontObject());
}

TEST_F(GridCell, DefaultCellIgnoresDataAndStateAndIsAlwaysReadOnly) {
  CGridDefaultCell cell;
  cell.SetData(42);
  cell.SetState(GVIS_SELECTED);
  EXPECT_EQ(cell.GetData(), 0);
  EXPECT_EQ(cell.GetState(), static_cast<DWORD>(GVIS_READONLY));
}

TEST_F(GridCell, DefaultCellMeasuresItsSizeAndMarginWithItsFont) {
  CGridDefaultCell cell;
  const LOGFONT lf = TestFont(-17);
  cell.SetFont(&lf);

  HDC hDC = ::GetDC(nullptr);
  HFONT hFont = ::CreateFontIndirect(&lf);
  HGDIOBJ hOld = ::SelectObject(hDC, hFont);
  SIZE blank, sample;
  ::GetTextExtentPoint32(hDC, _T(" "), 1, &blank);
  ::GetTextExtentPoint32(hDC, _T(" XXXXXXXXXXXX "), 14, &sample);
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hFont);
  ::ReleaseDC(nullptr, hDC);

  EXPECT_EQ(cell.GetMargin(), static_cast<UINT>(blank.cx));
  EXPECT_EQ(cell.GetWidth(), sample.cx);
  EXPECT_EQ(cell.GetHeight(), sample.cy * 3 / 2);
  EXPECT_EQ(cell.GetFont()->lfHeight, -17);
}

TEST_F(GridCell, AssignCopiesEveryAttributeAndIgnoresItself) {
  CGridCellBase* src = grid.GetCell(1, 1);
  const LOGFONT lf = TestFont(-15);
  src->SetText(_T("copied"));
  src->SetImage(3);
  src->SetData(77);
  src->SetFormat(DT_RIGHT);
  src->SetTextColour(RGB(1, 2, 3));
  src->SetBackColour(RGB(4, 5, 6));
  src->SetFont(&lf);
  src->SetMargin(9);

  CGridCell copy;
  copy.Assign(*src);
  EXPECT_EQ(copy.GetGrid(), &grid);
  EXPECT_STREQ(copy.GetText(), _T("copied"));
  EXPECT_EQ(copy.GetImage(), 3);
  EXPECT_EQ(copy.GetData(), 77);
  EXPECT_EQ(copy.GetFormat(), static_cast<DWORD>(DT_RIGHT));
  EXPECT_EQ(copy.GetTextColour(), RGB(1, 2, 3));
  EXPECT_EQ(copy.GetBackColour(), RGB(4, 5, 6));
  ASSERT_FALSE(copy.IsDefaultFont());
  EXPECT_EQ(copy.GetFont()->lfHeight, -15);
  EXPECT_EQ(copy.GetMargin(), 9u);

  src->Assign(*src);
  EXPECT_STREQ(src->GetText(), _T("copied"));
}

TEST_F(GridCell, ExtentsOfNullTextAndOfFixedCells) {
  CGridDefaultCell* pDefault = grid.GetDefaultCell(FALSE, FALSE);
  EXPECT_EQ(grid.GetCell(1, 1)->GetTextExtent(nullptr), CSize(pDefault->GetWidth(), pDefault->GetHeight()))
      << "no margins added";

  grid.SetItemText(0, 1, _T("Header"));
  grid.SetItemText(1, 1, _T("Header"));
  CClientDC dc(&grid);
  const CSize fixedSize = grid.GetCell(0, 1)->GetCellExtent(&dc);
  const CSize plainSize = grid.GetCell(1, 1)->GetCellExtent(&dc);
  EXPECT_EQ(fixedSize.cx, plainSize.cx + 1);
  EXPECT_EQ(fixedSize.cy, plainSize.cy + 1);
}

TEST_F(GridCell, TabsAndCharacter0x81DrawAsBlanksButStayInTheText) {
  const CRect rect(0, 0, 199, 29);
  auto drawText = [&](LPCTSTR text, GridCanvas& canvas) {
    CGridCellBase* pCell = grid.GetCell(1, 1);
    pCell->SetText(text);
    pCell->Draw(&canvas.dc(), 1, 1, rect, TRUE);
  };
  GridCanvas blanks(200, 30), tabs(200, 30), odd(200, 30);
  drawText(_T("ab cd"), blanks);
  drawText(_T("ab\tcd"), tabs);
  EXPECT_STREQ(grid.GetCell(1, 1)->GetText(), _T("ab\tcd"));
  drawText(
      _T("ab\x0081")
      _T("cd"),
      odd);
  EXPECT_TRUE(tabs.SamePixels(blanks));
  EXPECT_TRUE(odd.SamePixels(blanks));
}

TEST_F(GridCell, SortArrowIsDrawnOnlyInRowZeroOfTheSortColumn) {
  grid.SetItemText(0, 1, _T("H"));
  grid.SetItemText(1, 1, _T("H"));
  const CRect rect(0, 0, 129, 19);
  auto draw = [&](int row, GridCanvas& canvas) {
    grid.GetCell(row, 1)->Draw(&canvas.dc(), row, 1, rect, TRUE);
  };

  GridCanvas headerSorted(130, 20), headerPlain(130, 20), rowSorted(130, 20), rowPlain(130, 20);
  grid.SetSortColumn(1);
  draw(0, headerSorted);
  draw(1, rowSorted);
  grid.SetSortColumn(-1);
  draw(0, headerPlain);
  draw(1, rowPlain);
  EXPECT_FALSE(headerSorted.SamePixels(headerPlain));
  EXPECT_TRUE(rowSorted.SamePixels(rowPlain));
  // The arrow sits at the right end of the header.
  EXPECT_TRUE(headerSorted.AnyOtherThan(CRect(110, 2, 128, 18), headerPlain.At(120, 10)));

  // Too narrow for the arrow: none is drawn.
  GridCanvas narrowSorted(12, 20), narrowPlain(12, 20);
  grid.SetSortColumn(1);
  grid.GetCell(0, 1)->Draw(&narrowSorted.dc(), 0, 1, CRect(0, 0, 11, 19), TRUE);
  grid.SetSortColumn(-1);
  grid.GetCell(0, 1)->Draw(&narrowPlain.dc(), 0, 1, CRect(0, 0, 11, 19), TRUE);
  EXPECT_TRUE(narrowSorted.SamePixels(narrowPlain));
}

TEST_F(GridCell, BackgroundFollowsOwnColourOrDefaultAndFocusFrameUsesTextColour) {
  const CRect rect(10, 10, 59, 29);
  const COLORREF magenta = RGB(255, 0, 255);
  CGridCellBase* pCell = grid.GetCell(2, 1);

  // An own colour always fills.
  grid.SetItemBkColour(2, 1, RGB(255, 0, 0));
  GridCanvas red(80, 40);
  pCell->Draw(&red.dc(), 2, 1, rect, FALSE);
  EXPECT_EQ(red.At(30, 20), RGB(255, 0, 0));

  // The default colour fills only when asked to erase.
  grid.SetItemBkColour(2, 1, CLR_DEFAULT);
  GridCanvas kept(80, 40), erased(80, 40);
  pCell->Draw(&kept.dc(), 2, 1, rect, FALSE);
  pCell->Draw(&erased.dc(), 2, 1, rect, TRUE);
  EXPECT_EQ(kept.At(30, 20), magenta);
  EXPECT_EQ(erased.At(30, 20), grid.GetDefaultCell(FALSE, FALSE)->GetBackColour());

  // A focused cell that is not selected: not filled without erase, framed in the text colour.
  grid.SetItemState(2, 1, GVIS_FOCUSED);
  grid.SetItemFgColour(2, 1, RGB(0, 0, 200));
  GridCanvas focused(80, 40);
  pCell->Draw(&focused.dc(), 2, 1, rect, FALSE);
  EXPECT_EQ(focused.At(30, 20), magenta);
  EXPECT_EQ(focused.At(rect.left, 20), RGB(0, 0, 200));
  EXPECT_EQ(focused.At(30, rect.top), RGB(0, 0, 200));
  grid.SetFrameFocusCell(FALSE);
  GridCanvas unframed(80, 40);
  pCell->Draw(&unframed.dc(), 2, 1, rect, FALSE);
  EXPECT_EQ(unframed.At(rect.left, 20), magenta);

  // Selected: the highlight colour, whatever the cell's own colour.
  grid.SetItemState(2, 1, GVIS_SELECTED);
  GridCanvas selected(80, 40);
  pCell->Draw(&selected.dc(), 2, 1, rect, FALSE);
  EXPECT_EQ(selected.At(30, 20), ::GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(GridCell, EditOpensAnEditorAlignedLikeTheTextAndForwardsLaterCharacters) {
  grid.SetItemText(2, 1, _T("value"));
  grid.SetItemFormat(2, 1, DT_RIGHT | DT_CENTER);
  CGridCellBase* pCell = grid.GetCell(2, 1);
  ASSERT_TRUE(pCell->Edit(2, 1, CRect(0, 0, 100, 20), CPoint(0, 0), IDC_INPLACE_CONTROL, VK_LBUTTON));
  CWnd* pEdit = pCell->GetEditWnd();
  ASSERT_NE(pEdit, nullptr);
  EXPECT_TRUE(pCell->IsEditing());
  EXPECT_TRUE(pEdit->GetStyle() & ES_RIGHT);
  CString text;
  pEdit->GetWindowText(text);
  EXPECT_EQ(text, _T("value"));

  // A second Edit only types into the open editor.
  EXPECT_TRUE(pCell->Edit(2, 1, CRect(0, 0, 100, 20), CPoint(0, 0), IDC_INPLACE_CONTROL, 'x'));
  EXPECT_EQ(pCell->GetEditWnd(), pEdit);
  pEdit->GetWindowText(text);
  EXPECT_EQ(text, _T("valuex"));

  EXPECT_TRUE(pCell->ValidateEdit(_T("anything")));
  pCell->EndEdit();
  EXPECT_FALSE(pCell->IsEditing());
  EXPECT_EQ(pCell->GetEditWnd(), nullptr);
  EXPECT_STREQ(pCell->GetText(), _T("valuex"));
}
