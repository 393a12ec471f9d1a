// The Outlook Folders dialog as the conversion driver runs it: modal, without a parent, on a worker
// thread, driven by real clicks.
#include "OutlookFoldersDlg.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using apptest::ModalRun;

// The item of a child text below hParent, read through the window (the tree belongs to the worker).
HTREEITEM FindChild(HWND tree, HTREEITEM hParent, const CString& text) {
  for (HTREEITEM h = TreeView_GetChild(tree, hParent); h != nullptr; h = TreeView_GetNextSibling(tree, h)) {
    WCHAR buffer[128] = {};
    TVITEMW item = {};
    item.mask = TVIF_TEXT;
    item.hItem = h;
    item.pszText = buffer;
    item.cchTextMax = 128;
    TreeView_GetItem(tree, &item);
    if (text == buffer) return h;
  }
  return nullptr;
}

// Clicks with real input; the worker handles the click in its own time.
void ClickLabel(HWND tree, HTREEITEM hItem) {
  const CPoint pt = apptest::TreeLabelPoint(tree, hItem);
  testsupport::MouseClick(tree, pt.x, pt.y);
}

void ClickCheckBox(HWND tree, HTREEITEM hItem) {
  const CPoint pt = apptest::TreeCheckBoxPoint(tree, hItem);
  ASSERT_GE(pt.x, 0) << "no check box found";
  testsupport::MouseClick(tree, pt.x, pt.y);
}

bool IsChecked(HWND tree, HTREEITEM hItem) {
  return (TreeView_GetItemState(tree, hItem, TVIS_STATEIMAGEMASK) >> 12) == 2;
}

TEST(OutlookFoldersDlg, OnAWorkerLabelClicksAreHarmlessAndOkNeedsATick) {
  COutlookFoldersDlg dlg;
  dlg.m_arrFolders.Add(L"Inbox\\");
  dlg.m_arrFolders.Add(L"Inbox\\Customers\\");
  dlg.m_arrFolders.Add(L"Sent Items\\");
  INT_PTR result = 0;
  ModalRun run(L"Outlook Folders", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  EXPECT_EQ(::GetWindow(hDlg, GW_OWNER), nullptr);
  HWND tree = ::GetDlgItem(hDlg, IDC_FOLDER_TREE);
  ASSERT_NE(tree, nullptr);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !::GetUpdateRect(tree, nullptr, FALSE); }))
      << "the tree was not painted";

  HTREEITEM hRoot = TreeView_GetRoot(tree);
  HTREEITEM hInbox = FindChild(tree, hRoot, L"Inbox");
  HTREEITEM hSent = FindChild(tree, hRoot, L"Sent Items");
  ASSERT_NE(hInbox, nullptr);
  ASSERT_NE(hSent, nullptr);
  // Ticked when added, and still ticked once painted.
  EXPECT_TRUE(IsChecked(tree, hRoot));
  EXPECT_TRUE(IsChecked(tree, hSent));
  EXPECT_EQ(testsupport::ClippedChildTexts(hDlg), std::vector<std::wstring>());
  testsupport::SaveWindowPng(hDlg, L"app_outlook_folders_dialog.png");

  // The driver's dialog has no parent page: a label click selects the folder and sends nothing anywhere.
  ClickLabel(tree, hInbox);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return TreeView_GetSelection(tree) == hInbox; }));
  EXPECT_TRUE(::IsWindow(hDlg));

  // Unticking the root unticks every folder; OK is then refused with the message.
  ClickCheckBox(tree, hRoot);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsChecked(tree, hSent); })) << "a folder stayed ticked";
  apptest::ClickControl(hDlg, IDOK);
  HWND hBox = apptest::WaitForOwnedMessageBox(hDlg);
  ASSERT_NE(hBox, nullptr);
  EXPECT_EQ(apptest::MessageBoxText(hBox), L"Please select outlook folder(s) that you want to save");
  apptest::DismissMessageBox(hBox);
  testsupport::PumpMessages(100);
  EXPECT_FALSE(run.Done());

  // The dialog is active again before the next click, or the click may only activate it.
  testsupport::PumpUntil([&] { return ::GetForegroundWindow() == hDlg; }, 3000);
  ClickCheckBox(tree, hSent);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return IsChecked(tree, hSent); }));
  apptest::ClickControl(hDlg, IDOK);
  run.Finish();
  EXPECT_EQ(result, IDOK);
  ASSERT_EQ(dlg.m_arrSelected.GetSize(), 1);
  EXPECT_EQ(dlg.m_arrSelected[0], L"Sent Items\\");
}

TEST(OutlookFoldersDlg, EverythingIsTickedAtFirstAndOkReturnsItInTreeOrder) {
  COutlookFoldersDlg dlg;
  dlg.m_arrFolders.Add(L"Inbox\\");
  dlg.m_arrFolders.Add(L"Sent Items\\");
  dlg.m_arrFolders.Add(L"Inbox\\Customers\\");
  INT_PTR result = 0;
  ModalRun run(L"Outlook Folders", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  testsupport::PumpMessages(200);
  apptest::ClickControl(hDlg, IDOK);
  run.Finish();
  EXPECT_EQ(result, IDOK);
  const std::vector<CString> expected = {L"", L"Inbox\\", L"Inbox\\Customers\\", L"Sent Items\\"};
  EXPECT_EQ(std::vector<CString>(dlg.m_arrSelected.GetData(),
                                 dlg.m_arrSelected.GetData() + dlg.m_arrSelected.GetSize()),
            expected);
}

TEST(OutlookFoldersDlg, AnEmptyFolderListRefusesOkAndCancelEndsIt) {
  COutlookFoldersDlg dlg;
  INT_PTR result = 0;
  ModalRun run(L"Outlook Folders", [&] { result = dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  testsupport::PumpMessages(100);
  apptest::ClickControl(hDlg, IDOK);
  HWND hBox = apptest::WaitForOwnedMessageBox(hDlg);
  ASSERT_NE(hBox, nullptr);
  EXPECT_EQ(apptest::MessageBoxText(hBox), L"Please select outlook folder(s) that you want to save");
  apptest::DismissMessageBox(hBox);
  apptest::ClickControl(hDlg, IDCANCEL);
  run.Finish();
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dlg.m_arrSelected.GetSize(), 0);
}

// What a label shows, row by row, in the tree's picture; empty when the item has no place.
std::vector<COLORREF> LabelPixels(HWND tree, HTREEITEM hItem, int width) {
  RECT rc = {};
  if (!TreeView_GetItemRect(tree, hItem, &rc, TRUE)) return {};
  int treeWidth = 0, treeHeight = 0;
  const std::vector<COLORREF> pixels = testsupport::WindowPixels(tree, &treeWidth, &treeHeight);
  // The tree's border lies between its window's corner and its client area.
  POINT origin = {0, 0};
  ::ClientToScreen(tree, &origin);
  RECT window = {};
  ::GetWindowRect(tree, &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  std::vector<COLORREF> label;
  for (int y = rc.top + dy; y < rc.bottom + dy && y < treeHeight; ++y) {
    for (int x = rc.left + dx; x < rc.left + dx + width && x < treeWidth; ++x)
      label.push_back(pixels[size_t(y) * treeWidth + x]);
  }
  return label;
}

// Folder names in Japanese are drawn with their own glyphs, which the set-up's font gives the dialog's
// font: two names of as many characters drawn as the same row of empty boxes would look alike.
TEST(OutlookFoldersDlg, JapaneseFolderNamesAreDrawnWithTheirGlyphs) {
  COutlookFoldersDlg dlg;
  dlg.m_arrFolders.Add(L"\u524A\u9664\u6E08\u307F\u30A2\u30A4\u30C6\u30E0\\");
  dlg.m_arrFolders.Add(L"\u9001\u4FE1\u6E08\u307F\u30A2\u30A4\u30C6\u30E0\\");
  ModalRun run(L"Outlook Folders", [&] { dlg.DoModal(); });
  HWND hDlg = run.WaitForDialog();
  ASSERT_NE(hDlg, nullptr);
  HWND tree = ::GetDlgItem(hDlg, IDC_FOLDER_TREE);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !::GetUpdateRect(tree, nullptr, FALSE); }));
  HTREEITEM hRoot = TreeView_GetRoot(tree);
  HTREEITEM hDeleted = FindChild(tree, hRoot, L"\u524A\u9664\u6E08\u307F\u30A2\u30A4\u30C6\u30E0");
  HTREEITEM hSent = FindChild(tree, hRoot, L"\u9001\u4FE1\u6E08\u307F\u30A2\u30A4\u30C6\u30E0");
  ASSERT_NE(hDeleted, nullptr);
  ASSERT_NE(hSent, nullptr);
  testsupport::SaveWindowPng(hDlg, L"app_outlook_folders_japanese.png");
  // The first two characters tell the names apart.
  const std::vector<COLORREF> deleted = LabelPixels(tree, hDeleted, 30);
  ASSERT_FALSE(deleted.empty());
  EXPECT_NE(deleted, LabelPixels(tree, hSent, 30)) << "the names are drawn alike: as empty boxes";
  apptest::ClickControl(hDlg, IDCANCEL);
  run.Finish();
}

}  // namespace
