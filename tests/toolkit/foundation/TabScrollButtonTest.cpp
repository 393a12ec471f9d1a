// The navigate buttons' press loop and the reorder loop, fed through the thread's message queue of a
// hidden window: repeating, cancelling, acting on release, and handing WM_QUIT back.
#include <gtest/gtest.h>

#include <functional>

#include "TabTestHost.h"

namespace {

// What the timer posts to the tracking window once the loop runs: at its first tick, or at the first
// at which g_postWhen holds.
MSG g_msgToPost = {};
std::function<bool()> g_postWhen;

void CALLBACK PostWhenDue(HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD) {
  if (g_postWhen && !g_postWhen()) return;
  ::KillTimer(hWnd, nIDEvent);
  ::PostMessageW(hWnd, g_msgToPost.message, g_msgToPost.wParam, g_msgToPost.lParam);
}

// A hidden window to capture the mouse for the loops; it posts one message after nDelay ms (or at a
// later tick, when asked to wait for something).
class LoopWindow {
 public:
  LoopWindow() {
    m_hWnd = ::CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
  }
  ~LoopWindow() { ::DestroyWindow(m_hWnd); }
  void PostLater(UINT message, WPARAM wParam, CPoint pt, UINT nDelay, std::function<bool()> when = nullptr) {
    g_msgToPost.message = message;
    g_msgToPost.wParam = wParam;
    g_msgToPost.lParam = MAKELPARAM(pt.x, pt.y);
    g_postWhen = std::move(when);
    ::SetTimer(m_hWnd, 1, nDelay, PostWhenDue);
  }
  HWND m_hWnd;
};

// The application's quit request, if it is on the queue.
bool TakeQuit(WPARAM* pExitCode) {
  MSG msg;
  if (!::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
  *pExitCode = msg.wParam;
  return true;
}

// Five tabs of 100 pixels in 300: the arrows show and forward is enabled.
void FillOverflowingStrip(TabTestHost& host) {
  for (int i = 0; i < 5; ++i) host.Add(100);
}

}  // namespace

TEST(TabScrollButton, HoldingForwardScrollsOneStepEveryTwentyMilliseconds) {
  LoopWindow window;
  TabTestHost host(CRect(0, 0, 300, 100));
  FillOverflowingStrip(host);
  CXTPTabScrollButton* pForward = host.GetNavigateButton(xtpTabNavigateButtonRight);
  ASSERT_TRUE(pForward->IsVisible() && pForward->IsEnabled());
  const CPoint pt = pForward->GetRect().CenterPoint();
  const DWORD dwStart = ::GetTickCount();
  // Released once the held button has stepped twice, or after ten seconds.
  window.PostLater(WM_LBUTTONUP, 0, pt, 10,
                   [&] { return host.GetScrollOffset() <= -40 || ::GetTickCount() - dwStart > 10000; });
  pForward->TrackClick(window.m_hWnd, pt);
  const DWORD dwHeld = ::GetTickCount() - dwStart;
  const int nOffset = host.GetScrollOffset();
  EXPECT_LT(nOffset, -20) << "several steps while held";
  EXPECT_EQ(nOffset % 20, 0) << "whole steps of 20 pixels";
  EXPECT_LE(-nOffset / 20, static_cast<int>(dwHeld / 20) + 1) << "not faster than one step per 20 ms";
  EXPECT_FALSE(pForward->IsPressed());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(TabScrollButton, CloseActsOnReleaseInsideAndEscapeCancels) {
  LoopWindow window;
  TabTestHost host(CRect(0, 0, 300, 100));
  host.Add(50);
  host.SetCurSel(0);
  CXTPTabScrollButton* pClose = host.GetNavigateButton(xtpTabNavigateButtonClose);
  pClose->SetShowMode(xtpTabNavigateButtonAlways);
  host.Reposition();
  ASSERT_TRUE(pClose->IsVisible());
  const CPoint pt = pClose->GetRect().CenterPoint();

  window.PostLater(WM_KEYDOWN, VK_ESCAPE, pt, 30);
  pClose->TrackClick(window.m_hWnd, pt);
  EXPECT_EQ(host.m_nLastNavigateButton, -1) << "Escape: no action";

  window.PostLater(WM_LBUTTONUP, 0, CPoint(5, 5), 30);
  pClose->TrackClick(window.m_hWnd, pt);
  EXPECT_EQ(host.m_nLastNavigateButton, -1) << "released outside: no action";

  window.PostLater(WM_LBUTTONUP, 0, pt, 30);
  pClose->TrackClick(window.m_hWnd, pt);
  EXPECT_EQ(host.m_nLastNavigateButton, xtpTabNavigateButtonClose);
}

TEST(TabScrollButton, PressLoopHandsTheApplicationsQuitBack) {
  LoopWindow window;
  TabTestHost host(CRect(0, 0, 300, 100));
  FillOverflowingStrip(host);
  CXTPTabScrollButton* pForward = host.GetNavigateButton(xtpTabNavigateButtonRight);
  ::PostQuitMessage(7);
  pForward->TrackClick(window.m_hWnd, pForward->GetRect().CenterPoint());
  WPARAM nExitCode = 0;
  ASSERT_TRUE(TakeQuit(&nExitCode)) << "the quit request survives the loop";
  EXPECT_EQ(nExitCode, 7u);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(TabScrollButton, DisabledButtonsAndForeignCaptureIgnoreThePress) {
  LoopWindow window, other;
  TabTestHost host(CRect(0, 0, 300, 100));
  FillOverflowingStrip(host);
  CXTPTabScrollButton* pBack = host.GetNavigateButton(xtpTabNavigateButtonLeft);
  ASSERT_FALSE(pBack->IsEnabled());
  pBack->TrackClick(window.m_hWnd, pBack->GetRect().CenterPoint());
  EXPECT_EQ(::GetCapture(), nullptr) << "returned at once";

  ::SetCapture(other.m_hWnd);
  CXTPTabScrollButton* pForward = host.GetNavigateButton(xtpTabNavigateButtonRight);
  pForward->TrackClick(window.m_hWnd, pForward->GetRect().CenterPoint());
  EXPECT_EQ(::GetCapture(), other.m_hWnd);
  EXPECT_EQ(host.GetScrollOffset(), 0);
  ::ReleaseCapture();
}

TEST(TabReorderDrag, DraggingOverAnotherTabSwapsThemAndSelectsTheDraggedTab) {
  LoopWindow window;
  TabTestHost host(CRect(0, 0, 400, 100));
  host.Add(100);
  host.Add(100);
  host.Add(100);
  CXTPTabManagerItem* pFirst = host.GetItem(0);
  const CPoint ptThird = host.GetItem(2)->GetRect().CenterPoint();
  // The move arrives before the release; both are queued by the time the loop reads.
  ::PostMessageW(window.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptThird.x, ptThird.y));
  window.PostLater(WM_LBUTTONUP, 0, ptThird, 30);
  host.ReorderDrag(window.m_hWnd, host.GetItem(0)->GetRect().CenterPoint(), pFirst);
  EXPECT_EQ(host.GetItem(2), pFirst);
  EXPECT_EQ(pFirst->GetIndex(), 2);
  EXPECT_EQ(host.GetSelectedItem(), pFirst);
  EXPECT_EQ(host.m_nClicks, 1);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(TabReorderDrag, ReorderLoopHandsTheApplicationsQuitBack) {
  LoopWindow window;
  TabTestHost host(CRect(0, 0, 400, 100));
  host.Add(100);
  host.Add(100);
  ::PostQuitMessage(3);
  host.ReorderDrag(window.m_hWnd, host.GetItem(1)->GetRect().CenterPoint(), host.GetItem(1));
  WPARAM nExitCode = 0;
  ASSERT_TRUE(TakeQuit(&nExitCode));
  EXPECT_EQ(nExitCode, 3u);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(TabReorderDrag, ATabDeletedDuringTheDragIsNeitherSelectedNorClicked) {
  LoopWindow window;
  TabTestHost host(CRect(0, 0, 400, 100));
  host.Add(100);
  host.Add(100);
  host.SetCurSel(0);
  CXTPTabManagerItem* pDragged = host.GetItem(1);
  // A message handled while dragging removes both the dragged and the selected tab.
  static TabTestHost* s_pHost = nullptr;
  s_pHost = &host;
  ::SetTimer(window.m_hWnd, 2, 20, [](HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD) {
    ::KillTimer(hWnd, nIDEvent);
    s_pHost->DeleteItem(1);
    s_pHost->DeleteItem(0);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, 0);
  });
  host.ReorderDrag(window.m_hWnd, pDragged->GetRect().CenterPoint(), pDragged);
  EXPECT_EQ(host.GetItemCount(), 0);
  EXPECT_EQ(host.GetSelectedItem(), nullptr);
  EXPECT_EQ(host.m_nClicks, 0);
}
