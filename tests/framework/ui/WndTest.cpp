// Window objects: the creation hook on system classes, subclassing, handle maps across threads,
// the pre-translation walk, modal loops, descendants and self-deleting windows.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "UiTestApp.h"
#include "WindowTest.h"

namespace {

// Records what a system-class window's C++ handlers see from the very first message.
class CEarlyWnd : public CWnd {
 public:
  int ncCreates = 0;
  int creates = 0;
  CString createName;

 protected:
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs) {
    ++ncCreates;
    return CWnd::OnNcCreate(lpcs);
  }
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    ++creates;
    createName = lpcs->lpszName != nullptr ? lpcs->lpszName : L"";
    return CWnd::OnCreate(lpcs);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEarlyWnd, CWnd)
ON_WM_NCCREATE()
ON_WM_CREATE()
END_MESSAGE_MAP()

class WndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), L"wnd test", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                             300, nullptr, nullptr));
  }
  void TearDown() override {
    if (top.m_hWnd != nullptr) top.DestroyWindow();
  }
  CWnd top;
};

class SystemClassCreation : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(SystemClassCreation, HandlersSeeNcCreateAndCreate) {
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), L"host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                           nullptr));
  CEarlyWnd wnd;
  ASSERT_TRUE(wnd.Create(GetParam(), L"first text", WS_VISIBLE, CRect(0, 0, 100, 50), &top, 10));
  EXPECT_EQ(wnd.ncCreates, 1);
  EXPECT_EQ(wnd.creates, 1);
  EXPECT_EQ(wnd.createName, L"first text");
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtr(wnd.m_hWnd, GWLP_WNDPROC)), AfxGetAfxWndProc());
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  top.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);  // the child went with its parent
}

INSTANTIATE_TEST_SUITE_P(WndTest, SystemClassCreation,
                         ::testing::Values(L"STATIC", L"EDIT", L"BUTTON", WC_TREEVIEWW, WC_LISTVIEWW));

TEST_F(WndTest, CreateMakesAChildWindowWithTheId) {
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, L"child", 0, CRect(0, 0, 10, 10), &top, 1234));
  EXPECT_TRUE(child.GetStyle() & WS_CHILD);
  EXPECT_EQ(child.GetDlgCtrlID(), 1234);
  EXPECT_EQ(top.GetDlgItem(1234), &child);
  EXPECT_EQ(child.GetParent(), &top);
}

TEST_F(WndTest, SystemClassKeepsItsBehaviourThroughDefWindowProc) {
  CEarlyWnd edit;
  ASSERT_TRUE(edit.Create(L"EDIT", L"abc", WS_VISIBLE, CRect(0, 0, 100, 20), &top, 11));
  edit.SetWindowText(L"changed");
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, L"changed");
  EXPECT_EQ(edit.SendMessage(EM_GETLIMITTEXT), 30000);  // answered by the edit control itself
}

TEST_F(WndTest, UnsubclassRestoresOnlyOurReplacement) {
  HWND hEdit =
      ::CreateWindowEx(0, L"EDIT", L"raw", WS_CHILD, 0, 0, 50, 20, top.m_hWnd, nullptr, nullptr, nullptr);
  WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hEdit, GWLP_WNDPROC));
  CWnd wrapper;
  ASSERT_TRUE(wrapper.SubclassWindow(hEdit));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hEdit, GWLP_WNDPROC)), AfxGetAfxWndProc());
  EXPECT_EQ(wrapper.UnsubclassWindow(), hEdit);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hEdit, GWLP_WNDPROC)), original);
  EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);

  // A second object cannot take a window that already has one.
  CWnd first;
  CWnd second;
  ASSERT_TRUE(first.SubclassWindow(hEdit));
  EXPECT_FALSE(second.SubclassWindow(hEdit));
  first.UnsubclassWindow();
}

TEST_F(WndTest, FromHandleGivesTemporaryForForeignWindowUntilIdle) {
  HWND hRaw =
      ::CreateWindowEx(0, L"STATIC", L"raw", WS_CHILD, 0, 0, 10, 10, top.m_hWnd, nullptr, nullptr, nullptr);
  CWnd* pTemp = CWnd::FromHandle(hRaw);
  ASSERT_NE(pTemp, nullptr);
  EXPECT_EQ(pTemp->m_hWnd, hRaw);
  EXPECT_EQ(CWnd::FromHandle(hRaw), pTemp);
  EXPECT_EQ(CWnd::FromHandlePermanent(hRaw), nullptr);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  CWnd::DeleteTempMap();
  EXPECT_EQ(CWnd::FromHandle(hRaw)->m_hWnd, hRaw);
}

TEST_F(WndTest, PermanentObjectIsReachableFromAnotherThread) {
  CWnd* seen = nullptr;
  volatile bool done = false;
  std::thread worker([&] {
    seen = CWnd::FromHandle(top.m_hWnd);
    // Workers set texts of user-interface windows through the object.
    seen->SetWindowText(L"set by worker");
    done = true;
  });
  testsupport::PumpUntil([&] { return done; }, 5000);
  worker.join();
  EXPECT_EQ(seen, &top);
  CString text;
  top.GetWindowText(text);
  EXPECT_EQ(text, L"set by worker");
}

class CWalkWnd : public CWnd {
 public:
  CWalkWnd(std::vector<std::wstring>* order, const wchar_t* name, bool take)
      : m_order(order), m_name(name), m_take(take) {}
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    m_order->push_back(m_name);
    return m_take;
  }
  int keyDowns = 0;

 protected:
  afx_msg void OnKeyDown(UINT, UINT, UINT) { ++keyDowns; }
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<std::wstring>* m_order;
  std::wstring m_name;
  bool m_take;
};

BEGIN_MESSAGE_MAP(CWalkWnd, CWnd)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

// Pumps through the framework (pre-translation included) until the posted key has been walked.
void PumpUntilKeyDownSeen(const std::vector<std::wstring>& order) {
  MSG msg;
  while (order.empty() && ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!AfxPumpMessage()) break;
  }
}

TEST(PreTranslateWalk, RunsFromTargetUpToTopLevelAndStopsWhenTaken) {
  std::vector<std::wstring> order;
  CWalkWnd frame(&order, L"frame", false);
  CWalkWnd pane(&order, L"pane", false);
  CWalkWnd leaf(&order, L"leaf", false);
  ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), L"walk", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                             nullptr));
  ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 1));
  ASSERT_TRUE(leaf.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 50, 50), &pane, 2));

  leaf.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  PumpUntilKeyDownSeen(order);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"leaf", L"pane", L"frame"}));
  EXPECT_EQ(leaf.keyDowns, 1);

  // A window that takes the message ends the walk and the message is not dispatched.
  CWalkWnd taker(&order, L"taker", true);
  CWalkWnd inner(&order, L"inner", false);
  ASSERT_TRUE(taker.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 100, 100), &frame, 3));
  ASSERT_TRUE(inner.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 50, 50), &taker, 4));
  order.clear();
  inner.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
  PumpUntilKeyDownSeen(order);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"inner", L"taker"}));
  EXPECT_EQ(inner.keyDowns, 0);
  frame.DestroyWindow();
}

TEST_F(WndTest, ModalLoopSeeingQuitEndsAndRepostsIt) {
  top.ShowWindow(SW_SHOW);
  ::PostQuitMessage(7);
  EXPECT_EQ(top.RunModalLoop(MLF_NOIDLEMSG), -1);
  EXPECT_FALSE(top.ContinueModal());
  MSG msg;
  ASSERT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

class CTimedModal : public CWnd {
 protected:
  afx_msg void OnTimer(UINT_PTR) {
    KillTimer(1);
    EndModalLoop(55);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimedModal, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(ModalLoop, EndModalLoopReturnsItsResultAndShowsOnIdle) {
  CTimedModal wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"modal", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr));
  wnd.SetTimer(1, 20);
  EXPECT_EQ(wnd.RunModalLoop(MLF_SHOWONIDLE), 55);
  EXPECT_TRUE(wnd.IsWindowVisible());
  wnd.DestroyWindow();
}

int g_pings = 0;

class CCounting : public CWnd {
 protected:
  afx_msg LRESULT OnPing(WPARAM, LPARAM) {
    ++g_pings;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCounting, CWnd)
ON_MESSAGE(WM_USER + 5, OnPing)
END_MESSAGE_MAP()

TEST_F(WndTest, DescendantsGetTheMessageAtAnyDepth) {
  g_pings = 0;
  CCounting a, b, c;
  ASSERT_TRUE(a.Create(nullptr, nullptr, 0, CRect(0, 0, 10, 10), &top, 1));
  ASSERT_TRUE(b.Create(nullptr, nullptr, 0, CRect(0, 0, 10, 10), &a, 2));
  ASSERT_TRUE(c.Create(nullptr, nullptr, 0, CRect(0, 0, 10, 10), &b, 3));
  top.SendMessageToDescendants(WM_USER + 5, 0, 0, FALSE, TRUE);
  EXPECT_EQ(g_pings, 1);
  top.SendMessageToDescendants(WM_USER + 5, 0, 0, TRUE, TRUE);
  EXPECT_EQ(g_pings, 4);
  EXPECT_EQ(top.GetDescendantWindow(3), &c);
  EXPECT_EQ(c.GetTopLevelParent(), &top);
}

class CSelfDeleting : public CWnd {
 public:
  explicit CSelfDeleting(bool* deleted) : m_deleted(deleted) {}
  ~CSelfDeleting() override { *m_deleted = true; }

 protected:
  void PostNcDestroy() override { delete this; }

 private:
  bool* m_deleted;
};

TEST_F(WndTest, PostNcDestroyMayDeleteTheObject) {
  bool deleted = false;
  CSelfDeleting* pWnd = new CSelfDeleting(&deleted);
  ASSERT_TRUE(pWnd->Create(nullptr, nullptr, 0, CRect(0, 0, 10, 10), &top, 9));
  HWND hWnd = pWnd->m_hWnd;
  pWnd->DestroyWindow();
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(WndTest, CurrentMessageIsTheOneBeingHandled) {
  static UINT seen = 0;
  seen = 0;
  class CPeek : public CWnd {
   public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_USER + 9) seen = GetCurrentMessage()->message;
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } peek;
  ASSERT_TRUE(peek.Create(nullptr, nullptr, 0, CRect(0, 0, 10, 10), &top, 8));
  peek.SendMessage(WM_USER + 9);
  EXPECT_EQ(seen, static_cast<UINT>(WM_USER + 9));
}

}  // namespace
