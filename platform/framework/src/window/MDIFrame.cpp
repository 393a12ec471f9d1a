// Multiple-document frames over the system's MDI client: client creation, the window commands, child
// creation through WM_MDICREATE, command routing to the active child and the MDI default procedures.
#include "afxwin.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* /*pContext*/) {
  CMenu* pMenu = nullptr;
  HMENU hWindowMenu = GetWindowMenuPopup(::GetMenu(m_hWnd));
  if (hWindowMenu != nullptr) pMenu = CMenu::FromHandle(hWindowMenu);
  return CreateClient(lpcs, pMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) {
  CLIENTCREATESTRUCT ccs;
  ccs.hWindowMenu = pWindowMenu != nullptr ? pWindowMenu->GetSafeHmenu() : nullptr;
  ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
  DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL |
                  MDIS_ALLCHILDSTYLES;
  DWORD dwExStyle = 0;
  // The frame's own client edge moves to the client window, where the children are.
  if (lpCreateStruct != nullptr && (lpCreateStruct->dwExStyle & WS_EX_CLIENTEDGE)) {
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    dwExStyle |= WS_EX_CLIENTEDGE;
  }
  m_hWndMDIClient = ::CreateWindowEx(dwExStyle, L"MDICLIENT", nullptr, dwStyle, 0, 0, 0, 0, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                     AfxGetInstanceHandle(), &ccs);
  return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
  if (hMenuBar == nullptr || !::IsMenu(hMenuBar)) return nullptr;
  const int nItems = ::GetMenuItemCount(hMenuBar);
  for (int i = nItems - 1; i >= 0; --i) {
    HMENU hPopup = ::GetSubMenu(hMenuBar, i);
    if (hPopup == nullptr) continue;
    const int nSub = ::GetMenuItemCount(hPopup);
    for (int j = 0; j < nSub; ++j) {
      const UINT nID = ::GetMenuItemID(hPopup, j);
      if (nID >= ID_WINDOW_NEW && nID <= ID_WINDOW_SPLIT) return hPopup;
    }
  }
  return nItems >= 2 ? ::GetSubMenu(hMenuBar, nItems - 2) : nullptr;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  if (pbMaximized != nullptr) *pbMaximized = FALSE;
  if (m_hWndMDIClient == nullptr) return nullptr;
  HWND hWnd = reinterpret_cast<HWND>(
      ::SendMessage(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  return pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd*>(pWnd)
                                                                        : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  if (m_hWndMDIClient != nullptr && pWndActivate != nullptr)
    ::SendMessage(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
  if (m_hWndMDIClient != nullptr && pWnd != nullptr)
    ::SendMessage(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
  if (m_hWndMDIClient != nullptr && pWnd != nullptr)
    ::SendMessage(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDINext() {
  if (m_hWndMDIClient != nullptr) ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIPrev() {
  if (m_hWndMDIClient != nullptr) ::SendMessage(m_hWndMDIClient, WM_MDINEXT, 0, 1);
}

void CMDIFrameWnd::MDICascade() {
  if (m_hWndMDIClient != nullptr) ::SendMessage(m_hWndMDIClient, WM_MDICASCADE, 0, 0);
}

void CMDIFrameWnd::MDITile(int nType) {
  if (m_hWndMDIClient != nullptr) ::SendMessage(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDIIconArrange() {
  if (m_hWndMDIClient != nullptr) ::SendMessage(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

CMDIChildWnd* CMDIFrameWnd::CreateNewChild(CRuntimeClass* pClass, UINT nResource, HMENU hMenu,
                                           HACCEL hAccel) {
  if (pClass == nullptr || !pClass->IsDerivedFrom(RUNTIME_CLASS(CMDIChildWnd))) return nullptr;
  CMDIChildWnd* pFrame = static_cast<CMDIChildWnd*>(pClass->CreateObject());
  if (pFrame == nullptr) return nullptr;
  pFrame->m_hMenuShared = hMenu;
  // A failed LoadFrame has deleted the object.
  if (!pFrame->LoadFrame(nResource, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, this))
    return nullptr;
  if (hAccel != nullptr) pFrame->m_hAccelTable = hAccel;
  pFrame->InitialUpdateFrame(nullptr, TRUE);
  return pFrame;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* pActive = MDIGetActive();
  return pActive != nullptr ? static_cast<CFrameWnd*>(pActive) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active child (its view and document) sees commands before the frame.
  CMDIChildWnd* pActive = MDIGetActive();
  if (pActive != nullptr && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
  // The window list's entries and the system menu of a maximized child belong to the system.
  const UINT nID = LOWORD(wParam);
  if (lParam == 0 && nID >= AFX_IDM_FIRST_MDICHILD) {
    ::DefFrameProc(m_hWnd, m_hWndMDIClient, WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  CMDIChildWnd* pActive = MDIGetActive();
  if (pActive != nullptr && pActive->m_hWnd != nullptr && pMsg->message >= WM_KEYFIRST &&
      pMsg->message <= WM_KEYLAST) {
    if (pActive->m_hAccelTable != nullptr && ::TranslateAccelerator(m_hWnd, pActive->m_hAccelTable, pMsg))
      return TRUE;
    if (::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The frame lays out its client itself (RecalcLayout): the system's sizing of it is not wanted.
  if (message == WM_SIZE) return ::DefWindowProc(m_hWnd, message, wParam, lParam);
  return ::DefFrameProc(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
  switch (nID) {
    case ID_WINDOW_ARRANGE:
      MDIIconArrange();
      return TRUE;
    case ID_WINDOW_CASCADE:
      MDICascade();
      return TRUE;
    case ID_WINDOW_TILE_HORZ:
      MDITile(MDITILE_HORIZONTAL);
      return TRUE;
    case ID_WINDOW_TILE_VERT:
      MDITile(MDITILE_VERTICAL);
      return TRUE;
    default:
      return FALSE;
  }
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

void CMDIFrameWnd::OnWindowNew() {
  CMDIChildWnd* pActive = MDIGetActive();
  if (pActive == nullptr) return;
  CMDIChildWnd* pNew = static_cast<CMDIChildWnd*>(pActive->GetRuntimeClass()->CreateObject());
  if (pNew == nullptr) return;
  if (pNew->Create(nullptr, pActive->GetTitle(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rectDefault,
                   this))
    pNew->InitialUpdateFrame(nullptr, TRUE);
}

// ---- Children ----------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr) {}

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (pParentWnd == nullptr) {
    CWinApp* pApp = AfxGetApp();
    pParentWnd = pApp != nullptr ? DYNAMIC_DOWNCAST(CMDIFrameWnd, pApp->m_pMainWnd) : nullptr;
  }
  if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
    PostNcDestroy();
    return FALSE;
  }
  m_strTitle = lpszWindowName != nullptr ? lpszWindowName : L"";
  CREATESTRUCT cs = {};
  cs.style = dwStyle | WS_CHILD;
  cs.dwExStyle = WS_EX_MDICHILD;
  cs.lpszClass = lpszClassName;
  cs.lpszName = lpszWindowName;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  cs.hwndParent = pParentWnd->m_hWndMDIClient;
  cs.hInstance = AfxGetInstanceHandle();
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  MDICREATESTRUCT mcs = {};
  mcs.szClass = cs.lpszClass;
  mcs.szTitle = cs.lpszName;
  mcs.hOwner = cs.hInstance;
  mcs.x = cs.x;
  mcs.y = cs.y;
  mcs.cx = cs.cx;
  mcs.cy = cs.cy;
  mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
  mcs.lParam = reinterpret_cast<LPARAM>(pContext);
  AfxHookWindowCreate(this);
  HWND hWnd = reinterpret_cast<HWND>(
      ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();
    return FALSE;
  }
  if (hWnd == nullptr) return FALSE;
  // Shown after creation, so that the client does not paint a child whose creation failed.
  if (cs.style & WS_VISIBLE) {
    if (cs.style & WS_MAXIMIZE) {
      MDIMaximize();
    } else {
      ::ShowWindow(hWnd, SW_SHOWNORMAL);
    }
    MDIActivate();
    ::SendMessage(pParentWnd->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strFullString;
  if (strFullString.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, strFullString, 0);
  HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON);
  HICON hIcon = ::LoadIcon(hInst, MAKEINTRESOURCE(nIDResource));
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
  CString strTitle = m_strTitle;
  CMDIFrameWnd* pFrame = DYNAMIC_DOWNCAST(CMDIFrameWnd, pParentWnd);
  if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pFrame, pContext)) return FALSE;
  if (m_hMenuShared == nullptr) {
    HINSTANCE hMenuInst = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_MENU);
    if (::FindResource(hMenuInst, MAKEINTRESOURCE(nIDResource), RT_MENU) != nullptr)
      m_hMenuShared = ::LoadMenu(hMenuInst, MAKEINTRESOURCE(nIDResource));
  }
  m_hAccelTable = ::LoadAccelerators(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_ACCELERATOR),
                                     MAKEINTRESOURCE(nIDResource));
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
  // The client passes the MDI creation record; the frame's creation wants the context it carries.
  CREATESTRUCT cs = *lpcs;
  const MDICREATESTRUCT* pMDI = static_cast<const MDICREATESTRUCT*>(lpcs->lpCreateParams);
  cs.lpCreateParams = pMDI != nullptr ? reinterpret_cast<LPVOID>(pMDI->lParam) : nullptr;
  return CFrameWnd::OnCreate(&cs);
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  CMDIFrameWnd* pFrame = GetMDIFrame();
  if (pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr) return CFrameWnd::DestroyWindow();
  MDIDestroy();
  return TRUE;
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1 && !IsWindowVisible()) nCmdShow = SW_SHOWNORMAL;
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  MDIActivate();
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  // Parent: the MDI client; its parent: the frame.
  HWND hClient = ::GetParent(m_hWnd);
  CWnd* pFrame = hClient != nullptr ? CWnd::FromHandlePermanent(::GetParent(hClient)) : nullptr;
  return pFrame != nullptr && pFrame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))
             ? static_cast<CMDIFrameWnd*>(pFrame)
             : nullptr;
}

void CMDIChildWnd::MDIActivate() {
  HWND hClient = ::GetParent(m_hWnd);
  if (hClient != nullptr) ::SendMessage(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy() {
  HWND hClient = ::GetParent(m_hWnd);
  if (hClient != nullptr) ::SendMessage(hClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize() {
  HWND hClient = ::GetParent(m_hWnd);
  if (hClient != nullptr) ::SendMessage(hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore() {
  HWND hClient = ::GetParent(m_hWnd);
  if (hClient != nullptr) ::SendMessage(hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  // The MDI frame translates its active child's shortcuts (PreTranslateMessage of the frame).
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) return FALSE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProc(m_hWnd, message, wParam, lParam);
}

LRESULT CMDIChildWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam) {
  const LRESULT lResult = Default();
  const BOOL bActivate = reinterpret_cast<HWND>(lParam) == m_hWnd;
  CView* pView = GetActiveView();
  if (pView != nullptr) pView->OnActivateView(bActivate, pView, pView);
  (void)wParam;
  return lResult;
}
