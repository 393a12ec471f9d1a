// The folder check tree: paths to items and back, tick propagation by real clicks, the label click's
// message with the whole path, and its painting.
#include "FolderCheckTree.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using apptest::CRecordingWnd;

// One host for the suite (see CRecordingWnd::CreateHost), a fresh tree in it for each test.
class FolderCheckTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_hostWnd = new CRecordingWnd;
    s_hostWnd->CreateHost(L"Folder check tree", 40, 40, 380, 340);
    s_hostWnd->Watch(WM_NSF_FOLDER_SELECTED);
  }
  static void TearDownTestSuite() {
    s_hostWnd->DestroyWindow();
    delete s_hostWnd;
    s_hostWnd = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_hostWnd->m_hWnd, nullptr);
    s_hostWnd->m_received.clear();
    ASSERT_TRUE(tree_.Create(0x50010137 | WS_BORDER, CRect(10, 10, 350, 290), s_hostWnd, 4101));
    tree_.SetNotifyWindow(s_hostWnd->m_hWnd);
    testsupport::PumpMessages(50);
  }
  void TearDown() override { tree_.DestroyWindow(); }

  std::vector<CString> CheckedList() {
    CStringArray paths;
    tree_.GetCheckedPaths(paths);
    return std::vector<CString>(paths.GetData(), paths.GetData() + paths.GetSize());
  }

  CPoint CheckBoxPoint(HTREEITEM hItem) { return apptest::TreeCheckBoxPoint(tree_.m_hWnd, hItem); }
  CPoint LabelPoint(HTREEITEM hItem) { return apptest::TreeLabelPoint(tree_.m_hWnd, hItem); }
  void ClickAt(CPoint pt) {
    testsupport::MouseClick(tree_.m_hWnd, pt.x, pt.y);
    testsupport::PumpMessages(150);
  }

  // Inbox with A below it and B below A, and Sent beside Inbox, all shown.
  struct InboxTree {
    HTREEITEM hInbox, hA, hB, hSent;
  };
  InboxTree AddInboxTree() {
    InboxTree items = {tree_.AddPath(L"Inbox\\", 0, 0), tree_.AddPath(L"Inbox\\A\\", 0, 0),
                       tree_.AddPath(L"Inbox\\A\\B\\", 0, 0), tree_.AddPath(L"Sent\\", 0, 0)};
    tree_.Expand(items.hInbox, TVE_EXPAND);
    tree_.Expand(items.hA, TVE_EXPAND);
    testsupport::PumpMessages(50);
    return items;
  }

  static CRecordingWnd* s_hostWnd;
  CRecordingWnd& host_ = *s_hostWnd;
  CFolderCheckTree tree_;
};

CRecordingWnd* FolderCheckTreeTest::s_hostWnd = nullptr;

TEST_F(FolderCheckTreeTest, AddPathMakesOneTickedItemPerLevelUnderTheRoot) {
  HTREEITEM hInbox = tree_.AddPath(L"Inbox\\", 8, 3);
  HTREEITEM hSub = tree_.AddPath(L"Inbox\\Sub\\", 2, 5);
  ASSERT_NE(hInbox, nullptr);
  ASSERT_NE(hSub, nullptr);
  EXPECT_EQ(tree_.GetCount(), 3u);
  HTREEITEM hRoot = tree_.GetRootItem();
  EXPECT_EQ(tree_.GetItemText(hRoot), L"Outlook Folders");
  EXPECT_EQ(tree_.GetParentItem(hInbox), hRoot);
  EXPECT_EQ(tree_.GetParentItem(hSub), hInbox);
  EXPECT_EQ(tree_.GetItemText(hSub), L"Sub");
  for (HTREEITEM h : {hRoot, hInbox, hSub}) EXPECT_TRUE(tree_.GetCheck(h));

  // The caller's image and data; the root's are 0.
  int image = -1, selected = -1;
  tree_.GetItemImage(hInbox, image, selected);
  EXPECT_EQ(image, 8);
  EXPECT_EQ(selected, 8);
  EXPECT_EQ(tree_.GetItemData(hInbox), 3u);
  tree_.GetItemImage(hRoot, image, selected);
  EXPECT_EQ(image, 0);
  EXPECT_EQ(tree_.GetItemData(hRoot), 0u);

  // Existing components are found, with exact case only; text after the last backslash is not used.
  EXPECT_EQ(tree_.AddPath(L"Inbox\\", 1, 1), hInbox);
  EXPECT_EQ(tree_.AddPath(L"Inbox\\Sub\\tail", 1, 1), hSub);
  EXPECT_EQ(tree_.GetCount(), 3u);
  HTREEITEM hLower = tree_.AddPath(L"inbox\\", 1, 1);
  EXPECT_NE(hLower, hInbox);
  EXPECT_EQ(tree_.GetCount(), 4u);
}

TEST_F(FolderCheckTreeTest, PathWithoutBackslashAddsOnlyTheRoot) {
  // The root's own backslash is the only one: the root item is made and returned, nothing below it.
  HTREEITEM hItem = tree_.AddPath(L"Inbox", 1, 1);
  EXPECT_EQ(tree_.GetItemText(hItem), L"Outlook Folders");
  EXPECT_EQ(tree_.GetCount(), 1u);
  EXPECT_EQ(tree_.GetItemPath(hItem), L"");
}

TEST_F(FolderCheckTreeTest, CheckedPathsGiveTheRootFirstThenTreeOrder) {
  tree_.AddPath(L"Inbox\\", 0, 0);
  tree_.AddPath(L"Sent Items\\", 0, 0);
  tree_.AddPath(L"Inbox\\Sub\\", 0, 0);
  const std::vector<CString> expected = {L"", L"Inbox\\", L"Inbox\\Sub\\", L"Sent Items\\"};
  EXPECT_EQ(CheckedList(), expected);
}

TEST_F(FolderCheckTreeTest, FoldersNamedLikeTheRootKeepTheirNames) {
  HTREEITEM hSame = tree_.AddPath(L"Outlook Folders\\", 4, 9);
  HTREEITEM hDeep = tree_.AddPath(L"My Outlook Folders\\Outlook Folders\\", 4, 9);
  EXPECT_EQ(tree_.GetItemPath(hSame), L"Outlook Folders\\");
  EXPECT_EQ(tree_.GetItemPath(hDeep), L"My Outlook Folders\\Outlook Folders\\");
  // Such a folder is an ordinary folder: it keeps the caller's image and data.
  int image = -1, selected = -1;
  tree_.GetItemImage(hSame, image, selected);
  EXPECT_EQ(image, 4);
  EXPECT_EQ(tree_.GetItemData(hSame), 9u);
  const std::vector<CString> expected = {L"", L"Outlook Folders\\", L"My Outlook Folders\\",
                                         L"My Outlook Folders\\Outlook Folders\\"};
  EXPECT_EQ(CheckedList(), expected);
}

TEST_F(FolderCheckTreeTest, ClickingACheckBoxCarriesTheTickToAllDescendants) {
  const InboxTree items = AddInboxTree();
  HTREEITEM hInbox = items.hInbox, hA = items.hA, hB = items.hB, hSent = items.hSent;

  ClickAt(CheckBoxPoint(hInbox));
  EXPECT_FALSE(tree_.GetCheck(hInbox));
  EXPECT_FALSE(tree_.GetCheck(hA));
  EXPECT_FALSE(tree_.GetCheck(hB));
  EXPECT_TRUE(tree_.GetCheck(hSent));
  EXPECT_TRUE(tree_.GetCheck(tree_.GetRootItem()));

  // Past the double-click time, or the second click would be a double click.
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  ClickAt(CheckBoxPoint(hInbox));
  for (HTREEITEM h : {hInbox, hA, hB, hSent}) EXPECT_TRUE(tree_.GetCheck(h));

  // A double click toggles the item twice, and its descendants with it.
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  const CPoint pt = CheckBoxPoint(hA);
  testsupport::MouseDoubleClick(tree_.m_hWnd, pt.x, pt.y);
  testsupport::PumpMessages(150);
  EXPECT_EQ(tree_.GetCheck(hA), tree_.GetCheck(hB));
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);

  ClickAt(CheckBoxPoint(hA));
  EXPECT_EQ(tree_.GetCheck(hA), tree_.GetCheck(hB));
  testsupport::PumpMessages(::GetDoubleClickTime() + 50);

  // Unticking the root unticks everything: nothing is left to convert.
  ClickAt(CheckBoxPoint(tree_.GetRootItem()));
  EXPECT_TRUE(CheckedList().empty());
  EXPECT_EQ(host_.Count(WM_NSF_FOLDER_SELECTED), 0);
}

// Space on the selected item does what a click on its box does: the descendants follow the item.
TEST_F(FolderCheckTreeTest, SpaceCarriesTheSelectedItemsTickToAllDescendants) {
  const InboxTree items = AddInboxTree();
  HTREEITEM hInbox = items.hInbox, hA = items.hA, hB = items.hB, hSent = items.hSent;
  ClickAt(LabelPoint(hInbox));
  ASSERT_EQ(tree_.GetSelectedItem(), hInbox);
  ASSERT_EQ(::GetFocus(), tree_.m_hWnd);

  testsupport::KeyPress(VK_SPACE);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return !tree_.GetCheck(hInbox); }));
  testsupport::PumpMessages(50);
  EXPECT_FALSE(tree_.GetCheck(hA));
  EXPECT_FALSE(tree_.GetCheck(hB));
  EXPECT_TRUE(tree_.GetCheck(hSent));

  testsupport::KeyPress(VK_SPACE);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return tree_.GetCheck(hInbox) != FALSE; }));
  testsupport::PumpMessages(50);
  for (HTREEITEM h : {hA, hB, hSent}) EXPECT_TRUE(tree_.GetCheck(h));
}

TEST_F(FolderCheckTreeTest, TicksGivenBeforeTheFirstPaintStay) {
  CFolderCheckTree fresh;
  ASSERT_TRUE(fresh.Create(0x50010137 | WS_BORDER, CRect(10, 10, 350, 290), &host_, 4102));
  tree_.ShowWindow(SW_HIDE);
  HTREEITEM hInbox = fresh.AddPath(L"Inbox\\", 0, 0);
  testsupport::PumpMessages(100);
  fresh.RedrawWindow();
  EXPECT_TRUE(fresh.GetCheck(hInbox));
  EXPECT_TRUE(fresh.GetCheck(fresh.GetRootItem()));
  fresh.DestroyWindow();
}

TEST_F(FolderCheckTreeTest, LabelClickSendsTheWholePathToTheNamedWindow) {
  // A 400-character path, far beyond MAX_PATH.
  const CString first(L'a', 199);
  const CString second(L'b', 199);
  const CString path = first + L"\\" + second + L"\\";
  ASSERT_EQ(path.GetLength(), 400);
  HTREEITEM hLong = tree_.AddPath(path, 0, 0);
  HTREEITEM hInbox = tree_.AddPath(L"Inbox\\", 0, 0);
  tree_.Expand(tree_.GetParentItem(hLong), TVE_EXPAND);
  testsupport::PumpMessages(50);

  ClickAt(LabelPoint(hLong));
  ASSERT_EQ(host_.Count(WM_NSF_FOLDER_SELECTED), 1);
  EXPECT_EQ(host_.m_received[0].text, path);
  EXPECT_EQ(host_.m_received[0].lParam, 0);
  EXPECT_EQ(tree_.GetSelectedItem(), hLong);

  ClickAt(LabelPoint(hInbox));
  ASSERT_EQ(host_.Count(WM_NSF_FOLDER_SELECTED), 2);
  EXPECT_EQ(host_.m_received[1].text, L"Inbox\\");

  // The root's path is empty: it is selected and nothing is sent.
  ClickAt(LabelPoint(tree_.GetRootItem()));
  EXPECT_EQ(tree_.GetSelectedItem(), tree_.GetRootItem());
  EXPECT_EQ(host_.Count(WM_NSF_FOLDER_SELECTED), 2);
  // A label click changes no tick.
  EXPECT_EQ(CheckedList().size(), 4u);
}

TEST_F(FolderCheckTreeTest, LabelClickWithoutANamedWindowSendsNothing) {
  tree_.SetNotifyWindow(nullptr);
  HTREEITEM hInbox = tree_.AddPath(L"Inbox\\", 0, 0);
  testsupport::PumpMessages(50);
  ClickAt(LabelPoint(hInbox));
  EXPECT_EQ(tree_.GetSelectedItem(), hInbox);
  EXPECT_EQ(host_.Count(WM_NSF_FOLDER_SELECTED), 0);
}

TEST_F(FolderCheckTreeTest, PaintsTheSelectedLabelWhiteOnBlue) {
  tree_.AddPath(L"Inbox\\", 0, 0);
  HTREEITEM hSent = tree_.AddPath(L"Sent Items\\", 0, 0);
  tree_.AddPath(L"Inbox\\Customers\\", 0, 0);
  tree_.SetItemData(hSent, 12);  // non-zero data paints bold
  testsupport::PumpMessages(50);
  ClickAt(LabelPoint(hSent));

  CRect rcLabel;
  tree_.GetItemRect(hSent, &rcLabel, TRUE);
  int width = 0, height = 0;
  const std::vector<COLORREF> pixels = testsupport::WindowPixels(tree_.m_hWnd, &width, &height);
  ASSERT_FALSE(pixels.empty());
  // Window coordinates: the border is one pixel.
  int blue = 0, white = 0;
  for (int y = rcLabel.top + 1; y <= rcLabel.bottom; ++y) {
    for (int x = rcLabel.left + 1; x <= rcLabel.right; ++x) {
      const COLORREF c = pixels[static_cast<size_t>(y) * width + x];
      if (c == RGB(0, 0, 255)) ++blue;
      if (c == RGB(255, 255, 255)) ++white;
    }
  }
  EXPECT_GT(blue, 20);
  EXPECT_GT(white, 5);
  testsupport::SaveWindowPng(host_.m_hWnd, L"app_folder_check_tree.png");
}

TEST_F(FolderCheckTreeTest, FoldersFromAListingWorkerArriveInOrderWithTheirCounts) {
  IFolderTreeSink& sink = tree_;
  std::thread worker([&sink] {
    sink.AddFolderPath(L"($Inbox)\\", 8, 12);
    sink.AddFolderPath(L"Projects\\2024\\", 2, 3);
    sink.AddFolderPath(L"Projects\\", 1, 0);
    sink.AddFolderPath(L"($Sent)\\", 10, 4);
  });
  worker.join();
  // Nothing touched the tree from the worker: every folder still waits for the tree's thread.
  EXPECT_EQ(tree_.GetCount(), 0u);
  ASSERT_TRUE(testsupport::PumpUntil([this] { return tree_.GetCount() == 5u; }));

  HTREEITEM hRoot = tree_.GetRootItem();
  HTREEITEM hInbox = tree_.GetChildItem(hRoot);
  HTREEITEM hProjects = tree_.GetNextSiblingItem(hInbox);
  HTREEITEM hYear = tree_.GetChildItem(hProjects);
  HTREEITEM hSent = tree_.GetNextSiblingItem(hProjects);
  ASSERT_NE(hSent, nullptr);
  EXPECT_EQ(tree_.GetItemText(hInbox), L"($Inbox)");
  EXPECT_EQ(tree_.GetItemText(hYear), L"2024");
  EXPECT_EQ(tree_.GetItemText(hSent), L"($Sent)");
  // The listed folder's own item carries its entry count; a level made on the way keeps its kind.
  EXPECT_EQ(tree_.GetItemData(hInbox), 12u);
  EXPECT_EQ(tree_.GetItemData(hYear), 3u);
  EXPECT_EQ(tree_.GetItemData(hProjects), 0u);
  int image = -1, selected = -1;
  tree_.GetItemImage(hSent, image, selected);
  EXPECT_EQ(image, 10);
  tree_.GetItemImage(hProjects, image, selected);
  EXPECT_EQ(image, 2);
  for (HTREEITEM h : {hRoot, hInbox, hProjects, hYear, hSent}) EXPECT_TRUE(tree_.GetCheck(h));
  EXPECT_TRUE(tree_.GetItemState(hProjects, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(FolderCheckTreeTest, FoldersForATreeThatWentAreDropped) {
  CFolderCheckTree gone;
  ASSERT_TRUE(gone.Create(0x50010137, CRect(0, 0, 50, 50), &host_, 4103));
  std::thread worker([&gone] { gone.AddFolderPath(L"Inbox\\", 8, 1); });
  worker.join();
  // The folder still queued goes with the window, without running.
  gone.DestroyWindow();
  std::thread late([&gone] { gone.AddFolderPath(L"Inbox\\", 8, 1); });
  late.join();
  testsupport::PumpMessages(100);
  EXPECT_EQ(gone.GetSafeHwnd(), nullptr);
}

}  // namespace
