// Hand-offs from a worker to a window of this thread: run in order on the window's thread, at once on
// its own thread, refused for no window, and freed unrun when the window goes first.
#include "UiHandoff.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

class CHandoffWnd : public CWnd {
 public:
  BOOL CreateHidden() {
    return CreateEx(0, AfxRegisterWndClass(0), L"Hand-off receiver", WS_POPUP, 0, 0, 10, 10, nullptr,
                    nullptr);
  }

 protected:
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam) { return CUiHandoff::Receive(wParam, lParam); }
  afx_msg void OnNcDestroy() {
    CUiHandoff::DiscardPending(m_hWnd);
    CWnd::OnNcDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHandoffWnd, CWnd)
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST(UiHandoff, AWorkersActionsRunInOrderOnTheWindowsThread) {
  CHandoffWnd wnd;
  ASSERT_TRUE(wnd.CreateHidden());
  const DWORD uiThread = ::GetCurrentThreadId();
  std::vector<int> order;
  std::vector<DWORD> threads;
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i) {
      EXPECT_TRUE(CUiHandoff::Run(wnd.m_hWnd, [&, i] {
        order.push_back(i);
        threads.push_back(::GetCurrentThreadId());
      }));
    }
  });
  worker.join();
  EXPECT_TRUE(order.empty());
  testsupport::PumpUntil([&] { return order.size() == 5; });
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
  for (DWORD id : threads) EXPECT_EQ(id, uiThread);

  // On the window's own thread the action runs at once.
  bool ran = false;
  EXPECT_TRUE(CUiHandoff::Run(wnd.m_hWnd, [&] { ran = true; }));
  EXPECT_TRUE(ran);
  wnd.DestroyWindow();
}

TEST(UiHandoff, NoWindowRunsNothing) {
  auto token = std::make_shared<int>(0);
  EXPECT_FALSE(CUiHandoff::Run(nullptr, [token] { ++*token; }));
  EXPECT_EQ(token.use_count(), 1);
}

TEST(UiHandoff, ActionsQueuedForAWindowThatGoesAreFreedUnrun) {
  CHandoffWnd wnd;
  ASSERT_TRUE(wnd.CreateHidden());
  auto token = std::make_shared<int>(0);
  std::thread([&] {
    for (int i = 0; i < 3; ++i) CUiHandoff::Run(wnd.m_hWnd, [token] { ++*token; });
  }).join();
  EXPECT_EQ(token.use_count(), 4);
  wnd.DestroyWindow();
  EXPECT_EQ(token.use_count(), 1);
  EXPECT_EQ(*token, 0);
}

}  // namespace
