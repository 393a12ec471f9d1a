// A small framework program: application object, main window with a menu and an owner-drawn
// button, command handlers and idle-time command-UI updates. With /selftest it drives itself
// through those mechanisms and exits with the number of failed checks; with /noinit its
// InitInstance fails.
#include <afxwin.h>

#include "resource.h"

namespace {

constexpr UINT WM_START_SELFTEST = WM_USER + 200;

class CUiApp : public CWinApp {
 public:
  BOOL InitInstance() override;
  int ExitInstance() override { return CWinApp::ExitInstance() + failures; }
  int failures = 0;
};

CUiApp theApp;

void Check(bool condition) {
  if (!condition) ++theApp.failures;
}

class CDrawnButton : public CButton {
 public:
  int draws = 0;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override {
    ++draws;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    pDC->FillSolidRect(&lpDIS->rcItem, RGB(40, 90, 160));
  }
};

class CMainWnd : public CWnd {
 public:
  BOOL allowAction = TRUE;
  int actions = 0;
  CDrawnButton drawn;
  CButton actionButton;

  void PostNcDestroy() override { delete this; }

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    // As a frame does: the window first, then the application.
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return AfxGetApp()->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    if (!drawn.Create(L"drawn", BS_OWNERDRAW | WS_VISIBLE, CRect(10, 10, 110, 40), this, IDC_DRAWN))
      return -1;
    if (!actionButton.Create(L"Action", BS_PUSHBUTTON | WS_VISIBLE, CRect(120, 10, 220, 40), this,
                             ID_ACTION)) {
      return -1;
    }
    return 0;
  }
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    UpdateDialogControls(this, TRUE);
    return 0;
  }
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu) return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
      state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
      state.DoUpdate(this, TRUE);
    }
  }
  afx_msg void OnAction() { ++actions; }
  afx_msg void OnUpdateAction(CCmdUI* pCmdUI) { pCmdUI->Enable(allowAction); }
  afx_msg LRESULT OnStartSelfTest(WPARAM, LPARAM) {
    allowAction = FALSE;
    SetTimer(1, 50);
    SetTimer(99, 20000);  // the whole script must finish well before this
    return 0;
  }
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainWnd, CWnd)
ON_WM_CREATE()
ON_WM_TIMER()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_START_SELFTEST, OnStartSelfTest)
ON_COMMAND(ID_ACTION, OnAction)
ON_UPDATE_COMMAND_UI(ID_ACTION, OnUpdateAction)
END_MESSAGE_MAP()

void CMainWnd::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  if (nIDEvent == 1) {
    // The idle time before this timer updated the button from its handler.
    Check(!actionButton.IsWindowEnabled());
    CMenu* pFile = GetMenu()->GetSubMenu(0);
    SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->GetSafeHmenu()), 0);
    Check((pFile->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED) != 0);
    SendMessage(WM_COMMAND, MAKEWPARAM(ID_ACTION, 0), 0);
    Check(actions == 0);  // disabled commands are not carried out
    allowAction = TRUE;
    SetTimer(2, 50);
  } else if (nIDEvent == 2) {
    Check(actionButton.IsWindowEnabled());
    CMenu* pFile = GetMenu()->GetSubMenu(0);
    SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->GetSafeHmenu()), 0);
    Check((pFile->GetMenuState(0, MF_BYPOSITION) & MF_GRAYED) == 0);
    actionButton.SendMessage(BM_CLICK);
    SendMessage(WM_COMMAND, MAKEWPARAM(ID_ACTION, 0), 0);
    Check(actions == 2);
    Check(drawn.draws > 0);
    // The application's exit command, routed from the window to the application.
    PostMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
  } else {
    Check(false);
    DestroyWindow();
  }
}

BOOL CUiApp::InitInstance() {
  if (wcsstr(m_lpCmdLine, L"/noinit") != nullptr) {
    return FALSE;
  }
  Check(lstrcmp(m_pszAppName, L"Framework Test Program") == 0);
  CMainWnd* pMainWnd = new CMainWnd;
  CMenu menu;
  menu.LoadMenu(IDR_MAINMENU);
  if (!pMainWnd->CreateEx(
          0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
          m_pszAppName, WS_OVERLAPPEDWINDOW, 50, 50, 400, 200, nullptr, menu.Detach())) {
    delete pMainWnd;
    return FALSE;
  }
  m_pMainWnd = pMainWnd;
  pMainWnd->ShowWindow(m_nCmdShow);
  pMainWnd->UpdateWindow();
  if (wcsstr(m_lpCmdLine, L"/selftest") != nullptr) pMainWnd->PostMessage(WM_START_SELFTEST);
  return TRUE;
}

}  // namespace
