// Faults inside the theme library: each call that faults fails as a missing entry would, on several
// threads at once and in calls nested inside a guarded call, and the process goes on as before (the
// bar theme's tests draw with the same library: a part whose drawing faults is drawn the classic
// way). The library is FaultingUxTheme.dll, built beside the test programs.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "ThemeHandle.h"
#include "VisualStyles.h"

namespace {

const wchar_t kFaultingLibrary[] = L"FaultingUxTheme.dll";
const int kFaultingPart = 1;
const int kCallBackPart = 2;
const int kPlainPart = 3;

class VisualStylesFault : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(styles_.GetModuleHandle(), nullptr) << "FaultingUxTheme.dll beside the test";
  }

  CXTVisualStyles styles_{kFaultingLibrary, MAKELONG(0, 6)};
};

// What the library's part-2 drawing calls back into: the binding under test, from inside the library.
CXTVisualStyles* g_pNestedStyles = nullptr;
HRESULT g_nestedResult = S_OK;
COLORREF g_nestedColor = 0;

void CallBackIntoTheBinding() {
  g_nestedResult = g_pNestedStyles->GetThemeColor(nullptr, kFaultingPart, 0, 0, &g_nestedColor);
}

void ThrowFromInsideTheLibrary() { throw std::runtime_error("from a caller's call back"); }

}  // namespace

TEST_F(VisualStylesFault, EachFaultingCallFailsQuietlyAndTheNextCallWorks) {
  RECT rc = {0, 0, 8, 8};
  EXPECT_TRUE(styles_.IsThemeActive());
  EXPECT_TRUE(styles_.IsVisualStyleActive());
  EXPECT_FALSE(styles_.IsAppThemed()) << "an access violation inside the library";
  EXPECT_EQ(styles_.OpenThemeData(nullptr, L"FAULT"), nullptr);
  EXPECT_EQ(styles_.DrawThemeBackground(nullptr, nullptr, kFaultingPart, 0, &rc, nullptr), E_FAIL);
  COLORREF color = 0;
  EXPECT_EQ(styles_.GetThemeColor(nullptr, kFaultingPart, 0, 0, &color), E_FAIL) << "a division by zero";
  EXPECT_EQ(styles_.GetCurrentThemeName(nullptr, 0, nullptr, 0, nullptr, 0), E_FAIL);

  // The same entries, not faulting, answer as the library does.
  EXPECT_EQ(styles_.GetThemeColor(nullptr, kPlainPart, 0, 0, &color), S_OK);
  EXPECT_EQ(color, RGB(255, 0, 0));
  EXPECT_NE(styles_.OpenThemeData(nullptr, L"BUTTON"), nullptr);
  WCHAR file[8] = {};
  EXPECT_EQ(styles_.GetCurrentThemeName(file, 8, nullptr, 0, nullptr, 0), S_OK);
  EXPECT_EQ(file[0], L'x');
}

TEST_F(VisualStylesFault, AFaultInACallMadeFromInsideAGuardedCallEndsOnlyThatCall) {
  g_pNestedStyles = &styles_;
  g_nestedResult = S_OK;
  RECT rc = {0, 0, 8, 8};
  const HTHEME hCallBack = reinterpret_cast<HTHEME>(&CallBackIntoTheBinding);
  EXPECT_EQ(styles_.DrawThemeBackground(hCallBack, nullptr, kCallBackPart, 0, &rc, nullptr), S_OK)
      << "the outer call ran to its end";
  EXPECT_EQ(g_nestedResult, E_FAIL) << "the inner call faulted and failed";
  g_pNestedStyles = nullptr;
}

TEST_F(VisualStylesFault, FaultsOnSeveralThreadsAtOnceEachFailTheirOwnCall) {
  // The entries are looked up once, here: the cache itself belongs to one thread.
  COLORREF color = 0;
  ASSERT_EQ(styles_.GetThemeColor(nullptr, kPlainPart, 0, 0, &color), S_OK);
  RECT rc = {0, 0, 8, 8};
  ASSERT_EQ(styles_.DrawThemeBackground(nullptr, nullptr, kPlainPart, 0, &rc, nullptr), S_OK);

  const int kThreads = 4;
  const int kCalls = 300;
  std::atomic<int> faultsFailed{0};
  std::atomic<int> callsAnswered{0};
  std::atomic<bool> start{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      while (!start) std::this_thread::yield();
      for (int i = 0; i < kCalls; ++i) {
        COLORREF threadColor = 0;
        RECT rcThread = {0, 0, 8, 8};
        // Faulting and plain calls interleave differently on each thread.
        if ((i + t) % 2 == 0) {
          if (styles_.DrawThemeBackground(nullptr, nullptr, kFaultingPart, 0, &rcThread, nullptr) == E_FAIL)
            ++faultsFailed;
        } else if (styles_.GetThemeColor(nullptr, kPlainPart, 0, 0, &threadColor) == S_OK &&
                   threadColor == RGB(255, 0, 0)) {
          ++callsAnswered;
        }
      }
    });
  }
  start = true;
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(faultsFailed.load(), kThreads * kCalls / 2);
  EXPECT_EQ(callsAnswered.load(), kThreads * kCalls / 2);
}

TEST_F(VisualStylesFault, AfterManyFaultsCppExceptionsStillPassThroughTheGuard) {
  RECT rc = {0, 0, 8, 8};
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(styles_.DrawThemeBackground(nullptr, nullptr, kFaultingPart, 0, &rc, nullptr), E_FAIL) << i;
  }
  // A C++ exception thrown by a caller's call back passes through the guard untouched.
  const HTHEME hThrow = reinterpret_cast<HTHEME>(&ThrowFromInsideTheLibrary);
  EXPECT_THROW(styles_.DrawThemeBackground(hThrow, nullptr, kCallBackPart, 0, &rc, nullptr),
               std::runtime_error);
}
