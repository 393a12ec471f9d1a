// Command-UI updates at idle time (buttons and menu items), commands disabled by their update
// handler, routing to the application, and the main window as seen from a worker thread.
#include <gtest/gtest.h>

#include "UiTestApp.h"
#include "WindowTest.h"

namespace {

constexpr UINT ID_UPDATED = 1001;
constexpr UINT ID_NO_HANDLER = 1002;
constexpr UINT ID_COMMAND_ONLY = 1003;
constexpr UINT ID_CHECKBOX = 1004;
constexpr UINT ID_MENU_CMD = 40001;

class CMainWnd : public CWnd {
 public:
  BOOL enableUpdated = TRUE;
  BOOL checkMenu = FALSE;
  int idleUpdates = 0;
  int menuCommands = 0;

 protected:
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    ++idleUpdates;
    UpdateDialogControls(this, TRUE);
    return 0;
  }
  afx_msg void OnUpdateUpdated(CCmdUI* pCmdUI) { pCmdUI->Enable(enableUpdated); }
  afx_msg void OnCommandOnly() {}
  afx_msg void OnMenuCmd() { ++menuCommands; }
  afx_msg void OnUpdateMenuCmd(CCmdUI* pCmdUI) {
    pCmdUI->Enable(enableUpdated);
    pCmdUI->SetCheck(checkMenu);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainWnd, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_UPDATE_COMMAND_UI(ID_UPDATED, OnUpdateUpdated)
ON_COMMAND(ID_COMMAND_ONLY, OnCommandOnly)
ON_COMMAND(ID_MENU_CMD, OnMenuCmd)
ON_UPDATE_COMMAND_UI(ID_MENU_CMD, OnUpdateMenuCmd)
END_MESSAGE_MAP()

class CmdUITest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                              L"command ui", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                              nullptr));
    ASSERT_TRUE(
        updated.Create(L"updated", BS_PUSHBUTTON | WS_VISIBLE, CRect(10, 10, 110, 40), &main, ID_UPDATED));
    ASSERT_TRUE(
        noHandler.Create(L"none", BS_PUSHBUTTON | WS_VISIBLE, CRect(120, 10, 220, 40), &main, ID_NO_HANDLER));
    ASSERT_TRUE(commandOnly.Create(L"cmd", BS_PUSHBUTTON | WS_VISIBLE, CRect(230, 10, 330, 40), &main,
                                   ID_COMMAND_ONLY));
    ASSERT_TRUE(
        check.Create(L"check", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(10, 50, 110, 70), &main, ID_CHECKBOX));
    theTestApp.m_pMainWnd = &main;
  }
  void TearDown() override {
    main.DestroyWindow();
    // The main window's end posted WM_QUIT for the program; the tests go on.
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    theTestApp.m_pMainWnd = nullptr;
  }

  CMainWnd main;
  CButton updated;
  CButton noHandler;
  CButton commandOnly;
  CButton check;
};

TEST_F(CmdUITest, IdleTimeUpdateFollowsTheHandlers) {
  main.enableUpdated = FALSE;
  theTestApp.OnIdle(0);
  EXPECT_GE(main.idleUpdates, 1);
  EXPECT_FALSE(updated.IsWindowEnabled());
  EXPECT_FALSE(noHandler.IsWindowEnabled());  // no handler at all: disabled
  EXPECT_TRUE(commandOnly.IsWindowEnabled());
  EXPECT_TRUE(check.IsWindowEnabled());  // check boxes manage themselves

  main.enableUpdated = TRUE;
  theTestApp.OnIdle(0);
  EXPECT_TRUE(updated.IsWindowEnabled());
}

TEST_F(CmdUITest, RunLoopUpdatesAtIdleAndEndsOnQuit) {
  main.enableUpdated = FALSE;
  struct QuitLater {
    static void CALLBACK Fire(HWND hWnd, UINT, UINT_PTR id, DWORD) {
      ::KillTimer(hWnd, id);
      ::PostQuitMessage(3);
    }
  };
  main.SetTimer(2, 100, &QuitLater::Fire);
  EXPECT_EQ(theTestApp.Run(), 3);
  EXPECT_GE(main.idleUpdates, 1);
  EXPECT_FALSE(updated.IsWindowEnabled());
}

TEST_F(CmdUITest, MenuItemFormEnablesAndChecksByPosition) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, ID_MENU_CMD, L"Command");
  CCmdUI state;
  state.m_pMenu = &menu;
  state.m_nIndex = 0;
  state.m_nIndexMax = 1;
  state.m_nID = ID_MENU_CMD;
  main.enableUpdated = FALSE;
  main.checkMenu = TRUE;
  EXPECT_TRUE(state.DoUpdate(&main, FALSE));
  UINT nState = ::GetMenuState(menu.GetSafeHmenu(), 0, MF_BYPOSITION);
  EXPECT_TRUE(nState & MF_GRAYED);
  EXPECT_TRUE(nState & MF_CHECKED);
  state.SetText(L"Renamed");
  WCHAR text[32] = {};
  ::GetMenuString(menu.GetSafeHmenu(), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Renamed");
}

TEST_F(CmdUITest, MenuCommandDisabledByItsUpdateHandlerIsNotCarriedOut) {
  main.enableUpdated = FALSE;
  main.SendMessage(WM_COMMAND, MAKEWPARAM(ID_MENU_CMD, 0), 0);
  EXPECT_EQ(main.menuCommands, 0);
  main.enableUpdated = TRUE;
  main.SendMessage(WM_COMMAND, MAKEWPARAM(ID_MENU_CMD, 0), 0);
  EXPECT_EQ(main.menuCommands, 1);
}

TEST_F(CmdUITest, UpdateWithoutHandlerDisablesOnlyWhenAsked) {
  CCmdUI state;
  state.m_nID = ID_NO_HANDLER;
  state.m_pOther = &noHandler;
  EXPECT_FALSE(state.DoUpdate(&main, FALSE));
  EXPECT_TRUE(noHandler.IsWindowEnabled());
  EXPECT_FALSE(state.DoUpdate(&main, TRUE));
  EXPECT_FALSE(noHandler.IsWindowEnabled());
}

TEST_F(CmdUITest, MainWindowIsReachableFromWorkerThread) {
  struct Probe {
    CWnd* mainWnd = nullptr;
    CWnd* downcast = nullptr;
  } probe;
  CWinThread* pThread = AfxBeginThread(
      [](LPVOID p) -> UINT {
        Probe* probe = static_cast<Probe*>(p);
        probe->mainWnd = AfxGetMainWnd();
        probe->downcast = DYNAMIC_DOWNCAST(CWnd, probe->mainWnd);
        return AfxGetThread() != nullptr && AfxGetThread() != AfxGetApp() ? 0 : 1;
      },
      &probe, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(pThread, nullptr);
  pThread->m_bAutoDelete = FALSE;
  pThread->ResumeThread();
  ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
  DWORD exitCode = 99;
  ::GetExitCodeThread(pThread->m_hThread, &exitCode);
  delete pThread;
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(probe.mainWnd, &main);
  EXPECT_EQ(probe.downcast, &main);
}

TEST_F(CmdUITest, AppExitCommandClosesTheMainWindow) {
  HWND hMain = main.m_hWnd;
  EXPECT_TRUE(theTestApp.OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, nullptr));
  EXPECT_FALSE(::IsWindow(hMain));
  EXPECT_EQ(theTestApp.m_pMainWnd, nullptr);
  MSG msg;
  EXPECT_TRUE(::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
