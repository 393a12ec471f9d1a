// The option button: its parent hears the state it is about to take and its type, then it toggles the
// state the parent left, and the click is no command of the parent's.
#include "OptionButton.h"

#include "AppTestSupport.h"
#include "RealInput.h"
#include "WindowTest.h"
#include "WizardMessages.h"

#include <gtest/gtest.h>

namespace {

using apptest::CRecordingWnd;

class OptionButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(page_.CreateHost(L"Option buttons", 40, 40, 360, 140));
    page_.Watch(WM_OPTION_CLICKED);
    page_.Watch(WM_COMMAND);
    ASSERT_TRUE(existing_.Create(L"Select this option to Save in existing Nsf file", 0x50000004,
                                 CRect(10, 10, 330, 30), &page_, 100));
    existing_.m_nOptionType = OPTION_EXISTING_NSF;
    ASSERT_TRUE(new_.Create(L"Select this option to Save in new Nsf file", 0x50000004, CRect(10, 40, 330, 60),
                            &page_, 100));
    new_.m_nOptionType = OPTION_NEW_NSF;
    testsupport::PumpMessages(50);
  }
  void TearDown() override { page_.DestroyWindow(); }

  // Apart by more than the double-click time: a radio button's double click is no click.
  void Click(COptionButton& button) {
    const size_t before = page_.m_received.size();
    testsupport::MouseClick(button.m_hWnd, 8, 10);
    testsupport::PumpUntil([&] { return page_.m_received.size() > before; }, 3000);
    testsupport::PumpMessages(::GetDoubleClickTime() + 50);
  }

  CRecordingWnd page_;
  COptionButton existing_;
  COptionButton new_;
};

TEST_F(OptionButtonTest, TellsTheParentTheComingStateThenToggles) {
  Click(existing_);
  ASSERT_EQ(page_.Count(WM_OPTION_CLICKED), 1);
  EXPECT_EQ(page_.m_received[0].wParam, 1u);
  EXPECT_EQ(page_.m_received[0].lParam, OPTION_EXISTING_NSF);
  EXPECT_EQ(existing_.GetCheck(), 1);

  Click(existing_);
  ASSERT_EQ(page_.Count(WM_OPTION_CLICKED), 2);
  EXPECT_EQ(page_.m_received[1].wParam, 0u);
  EXPECT_EQ(existing_.GetCheck(), 0);
  // Option buttons share id 100 with other controls: their clicks are no commands of the page's.
  EXPECT_EQ(page_.Count(WM_COMMAND), 0);
}

TEST_F(OptionButtonTest, TheFinalToggleActsOnTheStateTheParentLeft) {
  // Page one unchecks both buttons while it handles the message; the clicked one then ends checked.
  page_.m_onMessage = [this](UINT message, WPARAM, LPARAM) -> LRESULT {
    if (message == WM_OPTION_CLICKED) {
      existing_.SetCheck(0);
      new_.SetCheck(0);
    }
    return 1;
  };
  new_.SetCheck(1);
  Click(new_);
  ASSERT_EQ(page_.Count(WM_OPTION_CLICKED), 1);
  EXPECT_EQ(page_.m_received[0].wParam, 0u);
  EXPECT_EQ(page_.m_received[0].lParam, OPTION_NEW_NSF);
  EXPECT_EQ(new_.GetCheck(), 1);
  EXPECT_EQ(existing_.GetCheck(), 0);
}

}  // namespace
