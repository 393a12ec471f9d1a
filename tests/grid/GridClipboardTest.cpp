// The grid's clipboard: the exact bytes a copy offers (ANSI and Unicode), non-rectangular and
// hidden cells, pasting tab- and comma-separated text, a CJK round trip through the clipboard with
// the real keyboard, cut, the owner's veto, and the text staying on the clipboard after the grid.
#include "GridInputFixture.h"

#include <cstring>
#include <string>

namespace {

// The bytes of one format a data source offers, exactly as large as its memory block.
std::string OfferedBytes(COleDataSource* pSource, CLIPFORMAT cfFormat) {
  FORMATETC fe = {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  if (FAILED(pSource->GetDataObject()->GetData(&fe, &medium))) return "<none>";
  const SIZE_T nSize = ::GlobalSize(medium.hGlobal);
  const char* p = static_cast<const char*>(::GlobalLock(medium.hGlobal));
  std::string bytes(p, nSize);
  ::GlobalUnlock(medium.hGlobal);
  ::ReleaseStgMedium(&medium);
  return bytes;
}

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// What the system clipboard holds as Unicode text, up to its terminator; "<none>" without any.
std::wstring ClipboardUnicode() {
  if (!::OpenClipboard(nullptr)) return L"<closed>";
  std::wstring text = L"<none>";
  if (HANDLE h = ::GetClipboardData(CF_UNICODETEXT)) {
    const auto* p = static_cast<const wchar_t*>(::GlobalLock(h));
    text.assign(p, wcsnlen(p, ::GlobalSize(h) / sizeof(wchar_t)));
    ::GlobalUnlock(h);
  }
  ::CloseClipboard();
  return text;
}

void ClearClipboard() {
  ::OleSetClipboard(nullptr);
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
}

// A data source offering only CF_TEXT, from exactly these bytes (no terminator added).
COleDataSource* AnsiSource(const std::string& bytes) {
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(::GlobalLock(h), bytes.data(), bytes.size());
  ::GlobalUnlock(h);
  auto* pSource = new COleDataSource;
  pSource->CacheGlobalData(CF_TEXT, h);
  return pSource;
}

}  // namespace

TEST_F(GridInput, CopyingTwoRowsOfThreeGivesTabsLineBreaksAndOneZero) {
  grid.SetSelectedRange(1, 1, 2, 3);
  COleDataSource* pSource = grid.CopyTextFromGrid();
  ASSERT_NE(pSource, nullptr);
  EXPECT_EQ(OfferedBytes(pSource, CF_TEXT), std::string("1,1\t1,2\t1,3\r\n2,1\t2,2\t2,3\0", 25));
  EXPECT_EQ(OfferedBytes(pSource, CF_UNICODETEXT), Utf16Bytes(L"1,1\t1,2\t1,3\r\n2,1\t2,2\t2,3"));
  delete pSource;
}

TEST_F(GridInput, CopyingANonRectangularSelectionKeepsTheTabsOfTheGaps) {
  grid.SetItemState(1, 1, GVIS_SELECTED);
  grid.SetItemState(1, 3, GVIS_SELECTED);
  grid.SetItemState(2, 2, GVIS_SELECTED);
  COleDataSource* pSource = grid.CopyTextFromGrid();
  ASSERT_NE(pSource, nullptr);
  EXPECT_EQ(OfferedBytes(pSource, CF_TEXT), std::string("1,1\t\t1,3\r\n\t2,2\t\0", 16));
  delete pSource;

  // Hidden rows and columns are left out altogether.
  grid.SetSelectedRange(1, 1, 3, 3);
  grid.SetRowHeight(2, 0);
  grid.SetColumnWidth(2, 0);
  pSource = grid.CopyTextFromGrid();
  ASSERT_NE(pSource, nullptr);
  EXPECT_EQ(OfferedBytes(pSource, CF_TEXT), std::string("1,1\t1,3\r\n3,1\t3,3\0", 17));
  delete pSource;

  grid.ResetSelectedRange();
  EXPECT_EQ(grid.CopyTextFromGrid(), nullptr) << "nothing selected, nothing to offer";
}

TEST_F(GridInput, PastingSplitsAtTabsCommasAndLinesAndDropsWhatFallsOutside) {
  COleDataSource* pSource = AnsiSource("a,b\tc\r\n d \t e\n");
  COleDataObject data;
  data.Attach(pSource->GetDataObject(), FALSE);
  EXPECT_TRUE(grid.PasteTextToGrid(CGridCellId(2, 1), &data));
  EXPECT_EQ(grid.GetItemText(2, 1), _T("a"));
  EXPECT_EQ(grid.GetItemText(2, 2), _T("b"));
  EXPECT_EQ(grid.GetItemText(2, 3), _T("c"));
  EXPECT_EQ(grid.GetItemText(3, 1), _T("d")) << "trimmed";
  EXPECT_EQ(grid.GetItemText(3, 2), _T("e"));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(2, 1, 3, 3)) << "the pasted cells are selected";

  // Onto the last column: the rest of each line is dropped.
  EXPECT_TRUE(grid.PasteTextToGrid(CGridCellId(5, 4), &data));
  EXPECT_EQ(grid.GetItemText(5, 4), _T("a"));
  EXPECT_EQ(grid.GetItemText(6, 4), _T("d"));
  data.Release();
  delete pSource;

  // A block without a terminator is read to its end and no further.
  pSource = AnsiSource("x\ty");
  data.Attach(pSource->GetDataObject(), FALSE);
  EXPECT_TRUE(grid.PasteTextToGrid(CGridCellId(7, 1), &data, FALSE));
  EXPECT_EQ(grid.GetItemText(7, 1), _T("x"));
  EXPECT_EQ(grid.GetItemText(7, 2), _T("y"));
  EXPECT_EQ(grid.GetItemText(7, 3), _T("7,3"));
  EXPECT_EQ(grid.GetSelectedCount(), 0) << "without selecting";

  // Read-only targets and refused cells keep their text.
  grid.SetItemState(1, 1, GVIS_READONLY);
  EXPECT_FALSE(grid.PasteTextToGrid(CGridCellId(1, 1), &data));
  host.endEditAnswer = -1;
  EXPECT_TRUE(grid.PasteTextToGrid(CGridCellId(1, 2), &data));
  EXPECT_EQ(grid.GetItemText(1, 2), _T("1,2"));
  EXPECT_EQ(grid.GetItemText(1, 3), _T("1,3"));
  data.Release();
  delete pSource;
}

TEST_F(GridInput, CjkTextRoundTripsThroughTheClipboardWithTheKeyboard) {
  grid.SetItemText(1, 1, L"\x6771\x4EAC");              // Tokyo
  grid.SetItemText(1, 2, L"\xB300\xD55C \x6E2F");       // Korean and a Han character
  grid.SetItemText(1, 3, L"\xD842\xDFB7\x91CE\x5BB6");  // a character beyond the basic plane
  ClearClipboard();
  Click(CellPoint(1, 1));
  ClickWith(VK_SHIFT, CellPoint(1, 3));
  Key('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardUnicode(), std::wstring(L"\x6771\x4EAC\t\xB300\xD55C \x6E2F\t\xD842\xDFB7\x91CE\x5BB6"));

  Click(CellPoint(4, 1));
  Key('V', {VK_CONTROL});
  EXPECT_EQ(grid.GetItemText(4, 1), CString(L"\x6771\x4EAC"));
  EXPECT_EQ(grid.GetItemText(4, 2), CString(L"\xB300\xD55C \x6E2F"));
  EXPECT_EQ(grid.GetItemText(4, 3), CString(L"\xD842\xDFB7\x91CE\x5BB6"));
  EXPECT_EQ(grid.GetSelectedCellRange(), CGridCellRange(4, 1, 4, 3));
}

TEST_F(GridInput, CutEmptiesTheCellsOnlyWhenEditableAndCopyOfNothingOffersNothing) {
  ClearClipboard();
  Click(CellPoint(2, 2));
  Key('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardUnicode(), L"2,2");

  ClearClipboard();
  grid.ResetSelectedRange();
  grid.SetFocusCell(2, 2);
  Key('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardUnicode(), L"<none>");

  Click(CellPoint(3, 3));
  grid.SetEditable(FALSE);
  Key('X', {VK_CONTROL});
  EXPECT_EQ(ClipboardUnicode(), L"<none>");
  EXPECT_EQ(grid.GetItemText(3, 3), _T("3,3"));
  grid.SetEditable(TRUE);
  Key('X', {VK_CONTROL});
  EXPECT_EQ(ClipboardUnicode(), L"3,3");
  EXPECT_EQ(grid.GetItemText(3, 3), _T(""));

  Click(CellPoint(5, 1));
  Key(VK_INSERT, {VK_SHIFT});
  EXPECT_EQ(grid.GetItemText(5, 1), _T("3")) << "Shift+Insert pastes, and the comma splits the text";
  EXPECT_EQ(grid.GetItemText(5, 2), _T("3"));
}

TEST_F(GridInput, CopiedTextOutlivesTheGrid) {
  ClearClipboard();
  auto* pOther = new CGridCtrl(3, 3);
  ASSERT_TRUE(pOther->Create(CRect(0, 0, 100, 100), &host, 101, WS_CHILD));
  pOther->SetItemText(1, 1, _T("kept"));
  pOther->SetSelectedRange(1, 1, 1, 1);
  pOther->SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
  EXPECT_NE(COleDataSource::GetClipboardOwner(), nullptr);
  delete pOther;
  EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
  EXPECT_EQ(ClipboardUnicode(), L"kept");
}
