// The second check-box tree under the real mouse: a click on a box carries the item's new tick to all
// its descendants; a click on a label changes no tick.
#include "CheckBoxTree.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"

#include <gtest/gtest.h>

namespace {

using apptest::CRecordingWnd;

class CheckBoxTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.CreateHost(L"Check box tree", 420, 40, 300, 300));
    ASSERT_TRUE(tree_.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                                 TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_CHECKBOXES,
                             CRect(10, 10, 270, 250), &host_, 4102));
    // The control makes its check-box images at its first paint: the items come after it.
    tree_.UpdateWindow();
    testsupport::PumpMessages(50);
    root_ = tree_.InsertItem(L"Mail");
    a_ = tree_.InsertItem(L"Archive", root_);
    a1_ = tree_.InsertItem(L"2019", a_);
    a2_ = tree_.InsertItem(L"2020", a_);
    a2x_ = tree_.InsertItem(L"Spring", a2_);
    b_ = tree_.InsertItem(L"Projects", root_);
    for (HTREEITEM h : All()) {
      tree_.SetCheck(h, TRUE);
      tree_.Expand(h, TVE_EXPAND);
    }
    testsupport::PumpMessages(50);
  }
  void TearDown() override { host_.DestroyWindow(); }

  std::vector<HTREEITEM> All() const { return {root_, a_, a1_, a2_, a2x_, b_}; }
  void ClickAt(CPoint pt) {
    ASSERT_GE(pt.x, 0);
    testsupport::MouseClick(tree_.m_hWnd, pt.x, pt.y);
    testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  }

  CRecordingWnd host_;
  CCheckBoxTree tree_;
  HTREEITEM root_, a_, a1_, a2_, a2x_, b_;
};

TEST_F(CheckBoxTreeTest, ABoxClickCarriesTheNewTickToEveryDescendant) {
  ClickAt(apptest::TreeCheckBoxPoint(tree_.m_hWnd, a_));
  for (HTREEITEM h : {a_, a1_, a2_, a2x_})
    EXPECT_FALSE(tree_.GetCheck(h)) << static_cast<LPCTSTR>(tree_.GetItemText(h));
  for (HTREEITEM h : {root_, b_})
    EXPECT_TRUE(tree_.GetCheck(h)) << static_cast<LPCTSTR>(tree_.GetItemText(h));
  testsupport::SaveWindowPng(host_.m_hWnd, L"app_check_box_tree.png");

  // A leaf changes alone; its parent keeps its tick.
  ClickAt(apptest::TreeCheckBoxPoint(tree_.m_hWnd, a2x_));
  EXPECT_TRUE(tree_.GetCheck(a2x_));
  EXPECT_FALSE(tree_.GetCheck(a2_));

  ClickAt(apptest::TreeCheckBoxPoint(tree_.m_hWnd, a_));
  for (HTREEITEM h : All()) EXPECT_TRUE(tree_.GetCheck(h)) << static_cast<LPCTSTR>(tree_.GetItemText(h));
}

TEST_F(CheckBoxTreeTest, ALabelClickChangesNoTick) {
  tree_.SetCheck(a1_, FALSE);
  ClickAt(apptest::TreeLabelPoint(tree_.m_hWnd, a_));
  EXPECT_EQ(tree_.GetSelectedItem(), a_);
  for (HTREEITEM h : All())
    EXPECT_EQ(tree_.GetCheck(h) != FALSE, h != a1_) << static_cast<LPCTSTR>(tree_.GetItemText(h));
}

}  // namespace
