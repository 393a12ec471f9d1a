// Multiple-document frames: the MDI client with the frame's pane id, children created through it and
// numbered from the first child id, the active child and routing to it, window commands, a child's
// command reaching the frame's default handling, and children going through WM_MDIDESTROY.
#include <gtest/gtest.h>

#include "UiTestApp.h"
#include "WindowTest.h"

namespace {

using testsupport::PumpMessages;

const UINT ID_CHILD_COMMAND = 3301;

class CCountingChild : public CMDIChildWnd {
  DECLARE_DYNCREATE(CCountingChild)

 public:
  int m_nCommands = 0;

 protected:
  afx_msg void OnChildCommand() { ++m_nCommands; }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CCountingChild, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CCountingChild, CMDIChildWnd)
ON_COMMAND(ID_CHILD_COMMAND, OnChildCommand)
END_MESSAGE_MAP()

class MDIFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(m_pFrame->Create(nullptr, L"MDI Frame", WS_OVERLAPPEDWINDOW, CRect(20, 20, 520, 420)));
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    for (const wchar_t* pszTitle : {L"One", L"Two", L"Three"}) {
      CCountingChild* pChild = new CCountingChild;
      ASSERT_TRUE(pChild->Create(nullptr, pszTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                 CFrameWnd::rectDefault, m_pFrame));
      m_arrChildren.push_back(pChild);
    }
    PumpMessages(30);
  }
  void TearDown() override {
    if (::IsWindow(m_hFrame())) m_pFrame->DestroyWindow();
    PumpMessages(20);
  }
  HWND m_hFrame() const { return m_pFrame->GetSafeHwnd(); }
  int ChildCount() const {
    int n = 0;
    for (HWND h = ::GetWindow(m_pFrame->m_hWndMDIClient, GW_CHILD); h != nullptr;
         h = ::GetWindow(h, GW_HWNDNEXT))
      ++n;
    return n;
  }

  CMDIFrameWnd* m_pFrame = nullptr;
  std::vector<CCountingChild*> m_arrChildren;
};

TEST_F(MDIFrameTest, ClientHoldsTheChildrenNumberedFromTheFirstChildId) {
  ASSERT_NE(m_pFrame->m_hWndMDIClient, nullptr);
  EXPECT_EQ(::GetDlgCtrlID(m_pFrame->m_hWndMDIClient), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(ChildCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(::GetDlgCtrlID(m_arrChildren[i]->GetSafeHwnd()), static_cast<int>(AFX_IDM_FIRST_MDICHILD) + i);
    EXPECT_EQ(m_arrChildren[i]->GetMDIFrame(), m_pFrame);
    EXPECT_EQ(::GetParent(m_arrChildren[i]->GetSafeHwnd()), m_pFrame->m_hWndMDIClient);
  }
  CString strTitle;
  m_arrChildren[1]->GetWindowText(strTitle);
  EXPECT_STREQ(strTitle, L"Two");
}

TEST_F(MDIFrameTest, LastChildIsActiveAndActivationMoves) {
  EXPECT_EQ(m_pFrame->MDIGetActive(), m_arrChildren[2]);
  EXPECT_EQ(m_pFrame->GetActiveFrame(), m_arrChildren[2]);
  m_pFrame->MDIActivate(m_arrChildren[0]);
  EXPECT_EQ(m_pFrame->MDIGetActive(), m_arrChildren[0]);
  m_pFrame->MDINext();
  EXPECT_NE(m_pFrame->MDIGetActive(), m_arrChildren[0]);
}

TEST_F(MDIFrameTest, CommandsReachTheActiveChildFirst) {
  m_pFrame->SendMessage(WM_COMMAND, ID_CHILD_COMMAND, 0);
  EXPECT_EQ(m_arrChildren[2]->m_nCommands, 1);
  EXPECT_EQ(m_arrChildren[0]->m_nCommands, 0);
}

TEST_F(MDIFrameTest, WindowListCommandActivatesThatChild) {
  // The id of a child, as the frame's window menu (or the toolkit's window list) sends it.
  m_pFrame->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD, 0);
  PumpMessages(20);
  EXPECT_EQ(m_pFrame->MDIGetActive(), m_arrChildren[0]);
}

TEST_F(MDIFrameTest, MaximizedChildIsReported) {
  BOOL bMaximized = TRUE;
  m_pFrame->MDIGetActive(&bMaximized);
  EXPECT_FALSE(bMaximized);
  m_pFrame->MDIMaximize(m_arrChildren[2]);
  m_pFrame->MDIGetActive(&bMaximized);
  EXPECT_TRUE(bMaximized);
  m_pFrame->MDIRestore(m_arrChildren[2]);
}

TEST_F(MDIFrameTest, DestroyingAChildGoesThroughTheClient) {
  m_arrChildren[2]->DestroyWindow();
  PumpMessages(20);
  EXPECT_EQ(ChildCount(), 2);
  EXPECT_NE(m_pFrame->MDIGetActive(), nullptr);
  // Cascading the rest keeps them all.
  m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE, 0);
  EXPECT_EQ(ChildCount(), 2);
}

TEST(MDIChild, WithoutAnMDIFrameCreationFailsAndTheObjectGoes) {
  CMDIChildWnd* pChild = new CMDIChildWnd;
  EXPECT_FALSE(pChild->Create(nullptr, L"Orphan", WS_CHILD | WS_VISIBLE, CFrameWnd::rectDefault, nullptr));
}

}  // namespace
