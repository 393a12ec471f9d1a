// The thread's shared tip window: filled from OnToolHitTest as the mouse moves over a window with
// tool tips enabled, swapped when the hit changes, emptied when nothing is hit, the mouse goes
// elsewhere or a key is pressed; allocated tip texts are taken over by the framework.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>

#include "UiTestApp.h"
#include "resource.h"

namespace {

// Two tools side by side: the left half of the client area (id 11) and the right half (id 12);
// below y = 50 there is none.
class CTipWnd : public CWnd {
 public:
  mutable int hitTests = 0;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
    ++hitTests;
    if (point.y >= 50 || point.x < 0 || point.y < 0) return -1;
    bool left = point.x < 100;
    pTI->hwnd = m_hWnd;
    pTI->uId = left ? 11 : 12;
    pTI->rect = left ? CRect(0, 0, 100, 50) : CRect(100, 0, 200, 50);
    pTI->lpszText = _wcsdup(left ? L"Left half" : L"Right half");
    return pTI->uId;
  }
};

HWND ThreadTipWindow() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hWnd, LPARAM lParam) -> BOOL {
        WCHAR cls[64] = {};
        ::GetClassName(hWnd, cls, 64);
        if (_wcsicmp(cls, TOOLTIPS_CLASS) != 0) return TRUE;
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class ToolTipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"tips", WS_POPUP | WS_VISIBLE,
                             CRect(50, 50, 250, 150), nullptr, 0));
    wnd.EnableToolTips();
  }
  void TearDown() override { wnd.DestroyWindow(); }

  void MoveTo(HWND hWnd, int x, int y) {
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    msg.pt = CPoint(x, y);
    ::ClientToScreen(hWnd, &msg.pt);
    CWnd::WalkPreTranslateTree(nullptr, &msg);
  }
  LRESULT ToolCount() { return ::SendMessage(ThreadTipWindow(), TTM_GETTOOLCOUNT, 0, 0); }
  CString CurrentToolText(UINT_PTR id) {
    WCHAR text[80] = {};
    TOOLINFO ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = wnd.m_hWnd;
    ti.uId = id;
    ti.lpszText = text;
    ::SendMessage(ThreadTipWindow(), TTM_GETTEXT, 80, reinterpret_cast<LPARAM>(&ti));
    return text;
  }

  CTipWnd wnd;
};

TEST_F(ToolTipTest, MouseOverAToolPutsItIntoTheThreadsTipWindow) {
  MoveTo(wnd.m_hWnd, 20, 20);
  ASSERT_NE(ThreadTipWindow(), nullptr);
  EXPECT_GE(wnd.hitTests, 1);
  EXPECT_EQ(ToolCount(), 1);
  EXPECT_EQ(CurrentToolText(11), L"Left half");
}

TEST_F(ToolTipTest, AnotherHitSwapsTheToolAndNoHitEmptiesTheTip) {
  MoveTo(wnd.m_hWnd, 20, 20);
  MoveTo(wnd.m_hWnd, 30, 25);  // same tool: stays
  EXPECT_EQ(ToolCount(), 1);
  MoveTo(wnd.m_hWnd, 150, 20);
  EXPECT_EQ(ToolCount(), 1);
  EXPECT_EQ(CurrentToolText(12), L"Right half");
  MoveTo(wnd.m_hWnd, 150, 80);
  EXPECT_EQ(ToolCount(), 0);
}

TEST_F(ToolTipTest, KeysAndLeavingForAnotherWindowEndTheTool) {
  MoveTo(wnd.m_hWnd, 20, 20);
  ASSERT_EQ(ToolCount(), 1);
  MSG key = {};
  key.hwnd = wnd.m_hWnd;
  key.message = WM_KEYDOWN;
  key.wParam = VK_SPACE;
  CWnd::WalkPreTranslateTree(nullptr, &key);
  EXPECT_EQ(ToolCount(), 0);

  MoveTo(wnd.m_hWnd, 20, 20);
  ASSERT_EQ(ToolCount(), 1);
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"other", WS_POPUP | WS_VISIBLE,
                             CRect(300, 50, 400, 150), nullptr, 0));
  MoveTo(other.m_hWnd, 10, 10);
  EXPECT_EQ(ToolCount(), 0);
  other.DestroyWindow();
}

TEST_F(ToolTipTest, WindowsWithoutToolTipsAreNotAsked) {
  wnd.EnableToolTips(FALSE);
  MoveTo(wnd.m_hWnd, 20, 20);
  EXPECT_EQ(wnd.hitTests, 0);
}

}  // namespace

namespace {

TEST(FrameToolTips, ChildControlsGetTheTipPartOfTheirCommandString) {
  CFrameWnd* pFrame = new CFrameWnd;  // deletes itself with its window
  ASSERT_TRUE(pFrame->Create(nullptr, L"tip frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200)));
  CButton button;
  ASSERT_TRUE(
      button.Create(L"Doc", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), pFrame, ID_DOC_COMMAND));
  pFrame->EnableToolTips();

  // The mouse over the button makes the button the thread tip's tool.
  MSG msg = {};
  msg.hwnd = button.m_hWnd;
  msg.message = WM_MOUSEMOVE;
  msg.lParam = MAKELPARAM(5, 5);
  msg.pt = CPoint(5, 5);
  ::ClientToScreen(button.m_hWnd, &msg.pt);
  CWnd::WalkPreTranslateTree(nullptr, &msg);
  EXPECT_EQ(::SendMessage(ThreadTipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);

  // What the tip asks for that tool.
  NMTTDISPINFOW info = {};
  info.hdr.hwndFrom = ThreadTipWindow();
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(button.m_hWnd);
  info.hdr.code = TTN_NEEDTEXTW;
  info.uFlags = TTF_IDISHWND;
  ::SendMessage(pFrame->m_hWnd, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(info.szText, L"Document command");

  // A control whose id has no string gets no tip text.
  NMTTDISPINFOW none = info;
  none.szText[0] = L'\0';
  none.hdr.idFrom = ID_UNHANDLED_COMMAND;
  none.uFlags = 0;
  ::SendMessage(pFrame->m_hWnd, WM_NOTIFY, none.hdr.idFrom, reinterpret_cast<LPARAM>(&none));
  EXPECT_STREQ(none.szText, L"");
  pFrame->DestroyWindow();
}

}  // namespace
