// The window-creation hook as code outside CWnd::Create uses it (a sheet that creates its own
// window): the next window the thread creates is attached to the hooked object before its first
// message, and unhooking reports whether a window was caught.
#include <gtest/gtest.h>

#include "UiTestApp.h"

namespace {

class CHookedStatic : public CWnd {
 public:
  int creates = 0;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    ++creates;
    return CWnd::OnCreate(lpcs);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHookedStatic, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(CreationHook, WindowCreatedDirectlyIsAttachedBeforeItsFirstMessage) {
  CHookedStatic wnd;
  AfxHookWindowCreate(&wnd);
  HWND hWnd = ::CreateWindowEx(0, L"STATIC", L"hooked", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                               AfxGetInstanceHandle(), nullptr);
  EXPECT_TRUE(AfxUnhookWindowCreate());
  ASSERT_NE(hWnd, nullptr);
  EXPECT_EQ(wnd.m_hWnd, hWnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
  EXPECT_EQ(wnd.creates, 1);
  // Only the first window is caught: a second one stays a plain window.
  HWND hOther = ::CreateWindowEx(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                 AfxGetInstanceHandle(), nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hOther), nullptr);
  ::DestroyWindow(hOther);
  wnd.DestroyWindow();
}

TEST(CreationHook, UnhookWithoutACreationReportsNothingCaught) {
  CHookedStatic wnd;
  AfxHookWindowCreate(&wnd);
  EXPECT_FALSE(AfxUnhookWindowCreate());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  // The hook is gone: windows created afterwards are not attached to anything.
  HWND hWnd = ::CreateWindowEx(0, L"STATIC", L"after", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                               AfxGetInstanceHandle(), nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_EQ(wnd.creates, 0);
  ::DestroyWindow(hWnd);
}

}  // namespace
