// The hooks without real input: the subclass registry (sinks that go away while the shared window
// procedure dispatches, later subclassers that must not be cut out, destruction of the window), and
// closing every tracked bar even when one lost its window.
#include <gtest/gtest.h>

#include <BarHooks.h>
#include <CommandBar.h>

#include "CommandBarsTestSupport.h"

namespace {

LRESULT CALLBACK PlainWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProc(hWnd, nMessage, wParam, lParam);
}

// A plain window of its own class, so that its procedure is known.
HWND CreatePlainWindow() {
  static ATOM atom = [] {
    WNDCLASS wc = {};
    wc.lpfnWndProc = PlainWndProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.lpszClassName = L"BrindleHookTestWindow";
    return ::RegisterClass(&wc);
  }();
  EXPECT_NE(atom, 0);
  return ::CreateWindow(L"BrindleHookTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        ::GetModuleHandle(nullptr), nullptr);
}

WNDPROC ProcOf(HWND hWnd) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hWnd, GWLP_WNDPROC)); }

// A sink that counts a message and can answer for it, or unregister itself (and be deleted) on one.
class CountingSink : public CXTPHookSink {
 public:
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM&, LPARAM&, LRESULT& lResult) override {
    if (nMessage != m_nWatch) return 0;
    m_nCount++;
    if (m_pRemoveOther != nullptr) CXTPWindowSubclassHooks::GetInstance()->RemoveSink(hWnd, m_pRemoveOther);
    if (m_bRemoveSelf) {
      CXTPWindowSubclassHooks::GetInstance()->RemoveSink(hWnd, this);
      if (m_bDeleteSelf) delete this;
      return 0;
    }
    lResult = m_lAnswer;
    return m_nAnswer;
  }
  UINT m_nWatch = WM_USER + 1;
  int m_nCount = 0;
  int m_nAnswer = 0;
  LRESULT m_lAnswer = 0;
  BOOL m_bRemoveSelf = FALSE;
  BOOL m_bDeleteSelf = FALSE;
  CXTPHookSink* m_pRemoveOther = nullptr;
};

TEST(SubclassHooks, SinksAreAskedFromTheNewestAndAHandledMessageStops) {
  HWND hWnd = CreatePlainWindow();
  CountingSink older, newer;
  newer.m_nAnswer = 1;
  newer.m_lAnswer = 42;
  CXTPWindowSubclassHooks* pHooks = CXTPWindowSubclassHooks::GetInstance();
  pHooks->AddSink(hWnd, &older);
  pHooks->AddSink(hWnd, &newer);
  pHooks->AddSink(hWnd, &newer);
  EXPECT_EQ(pHooks->GetSinkCount(hWnd), 2);
  EXPECT_EQ(::SendMessage(hWnd, WM_USER + 1, 0, 0), 42);
  EXPECT_EQ(newer.m_nCount, 1);
  EXPECT_EQ(older.m_nCount, 0);
  ::DestroyWindow(hWnd);
  EXPECT_FALSE(pHooks->IsSubclassed(hWnd));
}

TEST(SubclassHooks, RemovingTheLastSinkPutsTheWindowProcedureBack) {
  HWND hWnd = CreatePlainWindow();
  CountingSink sink;
  CXTPWindowSubclassHooks* pHooks = CXTPWindowSubclassHooks::GetInstance();
  pHooks->AddSink(hWnd, &sink);
  EXPECT_NE(ProcOf(hWnd), &PlainWndProc);
  pHooks->RemoveSink(hWnd, &sink);
  EXPECT_EQ(ProcOf(hWnd), &PlainWndProc);
  EXPECT_FALSE(pHooks->IsSubclassed(hWnd));
  ::DestroyWindow(hWnd);
}

TEST(SubclassHooks, ASinkThatUnregistersAndDeletesItselfWhileDispatchingIsSafe) {
  HWND hWnd = CreatePlainWindow();
  CXTPWindowSubclassHooks* pHooks = CXTPWindowSubclassHooks::GetInstance();
  CountingSink* pLast = new CountingSink;
  pLast->m_bRemoveSelf = TRUE;
  pLast->m_bDeleteSelf = TRUE;
  // The only sink: its removal frees the record while the procedure still runs for this message.
  pHooks->AddSink(hWnd, pLast);
  ::SendMessage(hWnd, WM_USER + 1, 0, 0);
  EXPECT_FALSE(pHooks->IsSubclassed(hWnd));
  EXPECT_EQ(ProcOf(hWnd), &PlainWndProc);
  // Destruction too: a sink that goes on WM_DESTROY, as a shadow strip does.
  CountingSink* pOnDestroy = new CountingSink;
  pOnDestroy->m_nWatch = WM_DESTROY;
  pOnDestroy->m_bRemoveSelf = TRUE;
  pOnDestroy->m_bDeleteSelf = TRUE;
  CountingSink survivor;
  survivor.m_nWatch = WM_DESTROY;
  pHooks->AddSink(hWnd, &survivor);
  pHooks->AddSink(hWnd, pOnDestroy);
  ::DestroyWindow(hWnd);
  EXPECT_EQ(survivor.m_nCount, 1);
  EXPECT_FALSE(pHooks->IsSubclassed(hWnd));
}

TEST(SubclassHooks, ASinkRemovedByAnotherDuringDispatchIsNotAsked) {
  HWND hWnd = CreatePlainWindow();
  CXTPWindowSubclassHooks* pHooks = CXTPWindowSubclassHooks::GetInstance();
  CountingSink older, newer;
  newer.m_pRemoveOther = &older;
  pHooks->AddSink(hWnd, &older);
  pHooks->AddSink(hWnd, &newer);
  ::SendMessage(hWnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(newer.m_nCount, 1);
  EXPECT_EQ(older.m_nCount, 0);
  pHooks->RemoveSink(hWnd, &newer);
  EXPECT_EQ(ProcOf(hWnd), &PlainWndProc);
  ::DestroyWindow(hWnd);
}

// A procedure installed after ours, as another subclasser would.
WNDPROC g_pfnBelowLater = nullptr;
int g_nLaterCalls = 0;
LRESULT CALLBACK LaterWndProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  if (nMessage == WM_USER + 2) g_nLaterCalls++;
  return ::CallWindowProc(g_pfnBelowLater, hWnd, nMessage, wParam, lParam);
}

TEST(SubclassHooks, ALaterSubclasserIsNeverCutOutAndTheRecordGoesWithTheWindow) {
  HWND hWnd = CreatePlainWindow();
  CXTPWindowSubclassHooks* pHooks = CXTPWindowSubclassHooks::GetInstance();
  CountingSink sink;
  pHooks->AddSink(hWnd, &sink);
  g_pfnBelowLater = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterWndProc)));
  g_nLaterCalls = 0;
  pHooks->RemoveSink(hWnd, &sink);
  // Ours is no longer on top: the later procedure stays, and ours passes messages through.
  EXPECT_EQ(ProcOf(hWnd), &LaterWndProc);
  EXPECT_TRUE(pHooks->IsSubclassed(hWnd));
  EXPECT_EQ(pHooks->GetSinkCount(hWnd), 0);
  ::SendMessage(hWnd, WM_USER + 2, 0, 0);
  ::SendMessage(hWnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(g_nLaterCalls, 1);
  EXPECT_EQ(sink.m_nCount, 0);
  ::DestroyWindow(hWnd);
  EXPECT_FALSE(pHooks->IsSubclassed(hWnd));
}

TEST(MouseTracker, CloseAllTrackedEndsEvenWhenATrackedBarLostItsWindow) {
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  ASSERT_EQ(pState->GetTrackedCount(), 0);
  EXPECT_TRUE(pState->IsMouseHookSet());
  CXTPCommandBar* pWindowless = new CXTPCommandBar;
  CXTPCommandBar* pSecond = new CXTPCommandBar;
  pState->TrackBar(pWindowless);
  pState->TrackBar(pSecond);
  pState->CloseAllTracked();
  EXPECT_EQ(pState->GetTrackedCount(), 0);
  pWindowless->InternalRelease();
  pSecond->InternalRelease();
}

TEST(KeyboardHook, HooksExistOnlyWhileSinksDo) {
  CXTPBarKeyboardHook* pHook = CXTPBarKeyboardHook::GetThreadState();
  ASSERT_FALSE(pHook->IsActive());
  CountingSink a, b;
  pHook->AddSink(&a);
  pHook->AddSink(&b);
  EXPECT_TRUE(pHook->IsHookSet());
  pHook->RemoveSink(&a);
  EXPECT_TRUE(pHook->IsHookSet());
  pHook->RemoveSink(&b);
  EXPECT_FALSE(pHook->IsActive());
  EXPECT_FALSE(pHook->IsHookSet());
}

}  // namespace
