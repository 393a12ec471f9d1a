// In-place editing with the real keyboard and mouse: typing starts an editor, Return commits,
// Escape cancels, the owner may veto either end, arrows carry the edit to the next cell, and
// read-only or non-editable cells stay as they are.
#include "GridInputFixture.h"

namespace {

// The grid's in-place editor, or NULL.
HWND Editor(CGridCtrl& grid) { return ::GetDlgItem(grid.GetSafeHwnd(), IDC_INPLACE_CONTROL); }

CString EditorText(CGridCtrl& grid) {
  TCHAR text[256] = {};
  ::GetWindowText(Editor(grid), text, 256);
  return text;
}

}  // namespace

TEST_F(GridInput, TypingEditsTheFocusCellAndReturnCommits) {
  Click(CellPoint(2, 2));
  testsupport::TypeUnicode(L"x");
  PumpGridUntil([&] { return Editor(grid) != nullptr; });
  ASSERT_NE(Editor(grid), nullptr);
  EXPECT_EQ(host.Count(GVN_BEGINLABELEDIT), 1);
  testsupport::TypeUnicode(L"yz");
  PumpGridMessages(60);
  EXPECT_EQ(EditorText(grid), _T("xyz")) << "the first character replaced the old text";
  Key(VK_RETURN);
  PumpGridUntil([&] { return Editor(grid) == nullptr; });
  EXPECT_EQ(Editor(grid), nullptr);
  EXPECT_EQ(grid.GetItemText(2, 2), _T("xyz"));
  EXPECT_EQ(host.Count(GVN_ENDLABELEDIT), 1);
  EXPECT_TRUE(grid.GetModified(2, 2));
  EXPECT_EQ(::GetFocus(), grid.GetSafeHwnd());
}

TEST_F(GridInput, EscapeCancelsTheEdit) {
  Click(CellPoint(3, 3));
  testsupport::TypeUnicode(L"qq");
  PumpGridUntil([&] { return Editor(grid) != nullptr; });
  ASSERT_NE(Editor(grid), nullptr);
  Key(VK_ESCAPE);
  PumpGridUntil([&] { return Editor(grid) == nullptr; });
  EXPECT_EQ(Editor(grid), nullptr);
  EXPECT_EQ(grid.GetItemText(3, 3), _T("3,3"));
  EXPECT_EQ(host.Count(GVN_ENDLABELEDIT), 0) << "nothing changed";
  EXPECT_EQ(grid.lastEditorKey, VK_ESCAPE) << "the editor still reports how it ended";
  EXPECT_FALSE(grid.GetModified(3, 3));
}

TEST_F(GridInput, AClickOnTheFocusCellsTextEditsItWithTheCaretAtTheEnd) {
  Click(CellPoint(1, 1));
  WaitPastDoubleClick();
  Click(CellPoint(1, 1));
  PumpGridUntil([&] { return Editor(grid) != nullptr; });
  ASSERT_NE(Editor(grid), nullptr);
  EXPECT_EQ(EditorText(grid), _T("1,1"));
  testsupport::TypeUnicode(L"!");
  Key(VK_RETURN);
  PumpGridUntil([&] { return Editor(grid) == nullptr; });
  EXPECT_EQ(grid.GetItemText(1, 1), _T("1,1!"));
}

TEST_F(GridInput, TheOwnerMayRefuseToStartOrToTakeAnEdit) {
  Click(CellPoint(2, 1));
  host.beginEditAnswer = -1;
  testsupport::TypeUnicode(L"v");
  PumpGridMessages(100);
  EXPECT_EQ(Editor(grid), nullptr);

  host.beginEditAnswer = 0;
  host.endEditAnswer = -1;
  testsupport::TypeUnicode(L"new");
  PumpGridUntil([&] { return Editor(grid) != nullptr; });
  Key(VK_RETURN);
  PumpGridUntil([&] { return Editor(grid) == nullptr; });
  EXPECT_EQ(grid.GetItemText(2, 1), _T("2,1")) << "the old text is back";
  EXPECT_FALSE(grid.GetModified(2, 1));
}

TEST_F(GridInput, AnArrowEndsATypedEditAndCarriesOnInTheNextCell) {
  Click(CellPoint(1, 1));
  testsupport::TypeUnicode(L"a");
  PumpGridUntil([&] { return Editor(grid) != nullptr; });
  Key(VK_DOWN);
  PumpGridMessages(60);
  EXPECT_EQ(grid.GetItemText(1, 1), _T("a"));
  EXPECT_EQ(grid.GetFocusCell(), CGridCellId(2, 1));
  ASSERT_NE(Editor(grid), nullptr) << "editing goes on below";
  EXPECT_EQ(EditorText(grid), _T("2,1"));
  Key(VK_ESCAPE);
  PumpGridUntil([&] { return Editor(grid) == nullptr; });
  EXPECT_EQ(grid.GetItemText(2, 1), _T("2,1"));
}

TEST_F(GridInput, ReadOnlyCellsAndNonEditableGridsAreNotEdited) {
  grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GVIS_READONLY);
  Click(CellPoint(2, 2));
  testsupport::TypeUnicode(L"r");
  PumpGridMessages(80);
  EXPECT_EQ(Editor(grid), nullptr);

  grid.SetEditable(FALSE);
  Click(CellPoint(3, 2));
  testsupport::TypeUnicode(L"r");
  Key(VK_F2);
  PumpGridMessages(80);
  EXPECT_EQ(Editor(grid), nullptr);
  EXPECT_EQ(grid.GetItemText(3, 2), _T("3,2"));
}
