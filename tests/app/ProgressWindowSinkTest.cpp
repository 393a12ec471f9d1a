// The engine's progress reports reaching the wizard's windows, from a worker thread as the engine
// sends them.
#include "PercentProgressCtrl.h"
#include "ProgressWindowSink.h"

#include "WindowTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(ProgressWindowSink, WorkerReportsMoveTheBarAndSetTheText) {
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), L"Sink host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                            360, 140, nullptr, nullptr));
  CPercentProgressCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 310, 40), &host, 100));
  CStatic label;
  ASSERT_TRUE(label.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 50, 310, 70), &host, 101));

  CProgressWindowSink sink(bar.m_hWnd, label.m_hWnd);
  std::atomic<bool> done{false};
  std::thread worker([&] {
    sink.SetText(L"Saving 3 of 7");
    sink.SetPos(45);
    done = true;
  });
  testsupport::PumpUntil([&] { return done.load(); }, 10000);
  worker.join();

  EXPECT_EQ(bar.GetPos(), 45);
  CString text;
  label.GetWindowText(text);
  EXPECT_EQ(text, L"Saving 3 of 7");

  // The bar as its own text window shows the status inside it.
  CProgressWindowSink inBar(bar.m_hWnd, bar.m_hWnd);
  inBar.SetText(L"Saving");
  EXPECT_EQ(bar.GetPercentText(), L"45% Saving");
  host.DestroyWindow();
}

TEST(ProgressWindowSink, MissingOrDestroyedWindowsShowNothing) {
  CProgressWindowSink none(nullptr, nullptr);
  none.SetText(L"ignored");
  none.SetPos(10);

  CWnd gone;
  ASSERT_TRUE(gone.CreateEx(0, AfxRegisterWndClass(0), L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  const HWND hGone = gone.m_hWnd;
  gone.DestroyWindow();
  CProgressWindowSink stale(hGone, hGone);
  stale.SetText(L"ignored");
  stale.SetPos(10);
}

}  // namespace
