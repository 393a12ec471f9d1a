// Frames, views, documents and the single-document template.
#include "afxwin.h"
#include "afxdlgs.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep) {
  rString.Empty();
  if (lpszFullString == nullptr || iSubString < 0) return FALSE;
  for (; iSubString > 0; --iSubString) {
    lpszFullString = wcschr(lpszFullString, chSep);
    if (lpszFullString == nullptr) return FALSE;
    ++lpszFullString;
  }
  LPCTSTR lpchEnd = wcschr(lpszFullString, chSep);
  int nLen = lpchEnd == nullptr ? lstrlen(lpszFullString) : static_cast<int>(lpchEnd - lpszFullString);
  rString = CString(lpszFullString, nLen);
  return TRUE;
}

CFrameWnd* CWnd::GetParentFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  for (HWND hWnd = ::GetParent(m_hWnd); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(pWnd);
  }
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  if (m_hWnd == nullptr) return nullptr;
  CFrameWnd* pFrame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this))
                                                         : GetParentFrame();
  while (pFrame != nullptr) {
    CFrameWnd* pNext = pFrame->GetParentFrame();
    if (pNext == nullptr) break;
    pFrame = pNext;
  }
  return pFrame;
}

// ---- CFrameWnd -------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ERASEBKGND()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_WM_ENABLE()
ON_WM_ACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_nIdleFlags(0),
      m_hAccelTable(nullptr),
      m_hMenuDefault(nullptr),
      m_nIDHelp(0),
      m_bAutoMenuEnable(TRUE),
      m_bHelpMode(FALSE),
      m_rectBorder(0, 0, 0, 0),
      m_pViewActive(nullptr),
      m_nIDLastMessage(0),
      m_bInRecalcLayout(FALSE),
      m_bPreviewMode(FALSE),
      m_bStayActive(FALSE),
      m_bRestacking(FALSE),
      m_bRestackPending(FALSE),
      m_bWatchingFocus(FALSE),
      m_nOwnedWindowsChecks(0),
      m_bAnnounceOwner(FALSE) {}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = AfxRegisterDefaultClass(AFX_WNDFRAMEORVIEW);
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName != nullptr) {
    HINSTANCE hInst = AfxFindResourceHandle(lpszMenuName, RT_MENU);
    hMenu = ::LoadMenu(hInst, lpszMenuName);
    if (hMenu == nullptr) {
      PostNcDestroy();
      return FALSE;
    }
  }
  m_strTitle = lpszWindowName != nullptr ? lpszWindowName : L"";
  if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), hMenu, pContext)) {
    if (hMenu != nullptr) ::DestroyMenu(hMenu);
    return FALSE;
  }
  return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString strFullString;
  if (strFullString.LoadString(nIDResource)) AfxExtractSubString(m_strTitle, strFullString, 0);

  HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_GROUP_ICON);
  HICON hIcon = ::LoadIcon(hInst, MAKEINTRESOURCE(nIDResource));
  LPCTSTR lpszClass = hIcon != nullptr
                          ? AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon)
                          : nullptr;
  LPCTSTR lpszMenu = ::FindResource(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_MENU),
                                    MAKEINTRESOURCE(nIDResource), RT_MENU) != nullptr
                         ? MAKEINTRESOURCE(nIDResource)
                         : nullptr;
  CString strTitle = m_strTitle;
  if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, lpszMenu, 0, pContext))
    return FALSE;
  m_hMenuDefault = ::GetMenu(m_hWnd);
  m_hAccelTable = ::LoadAccelerators(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_ACCELERATOR),
                                     MAKEINTRESOURCE(nIDResource));
  if (pContext == nullptr) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (!(lpcs->style & WS_CHILD)) {
    WatchFocus(TRUE);
    m_bWatchingFocus = TRUE;
  }
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, pContext)) return -1;
  // The status bar, made after this, says the idle prompt from the first message on.
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT /*lpcs*/, CCreateContext* pContext) {
  if (pContext != nullptr && pContext->m_pNewViewClass != nullptr) {
    if (CreateView(pContext, AFX_IDW_PANE_FIRST) == nullptr) return FALSE;
  }
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  if (pContext == nullptr || pContext->m_pNewViewClass == nullptr ||
      !pContext->m_pNewViewClass->IsDerivedFrom(RUNTIME_CLASS(CWnd))) {
    return nullptr;
  }
  CWnd* pView = static_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
  if (pView == nullptr) return nullptr;
  // A view that fails to be created has deleted itself (PostNcDestroy).
  if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
    return nullptr;
  return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* pViewOld = m_pViewActive;
  if (pViewNew == pViewOld) return;
  m_pViewActive = nullptr;
  if (pViewOld != nullptr && bNotify) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
  m_pViewActive = pViewNew;
  if (pViewNew != nullptr && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* pView = GetActiveView();
  return pView != nullptr ? pView->GetDocument() : nullptr;
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  CWinApp* pApp = AfxGetApp();
  if (nCmdShow == -1) {
    if (pApp != nullptr && pApp->m_pMainWnd == this && pApp->m_nCmdShow != -1) {
      nCmdShow = pApp->m_nCmdShow;
      pApp->m_nCmdShow = -1;  // the start-up show state applies once
    } else if (!IsWindowVisible()) {
      nCmdShow = SW_SHOWNORMAL;
    } else if (IsIconic()) {
      nCmdShow = SW_RESTORE;
    }
  }
  if (nCmdShow != -1) {
    ShowWindow(nCmdShow);
    ::BringWindowToTop(m_hWnd);
  }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* pView = GetActiveView();
  if (pView == nullptr) {
    CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
      pView = static_cast<CView*>(pWnd);
      SetActiveView(pView, FALSE);
    }
  }
  if (bMakeVisible) {
    // Every view below the frame, at any depth, gets its first update.
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    ActivateFrame(-1);
    if (pView != nullptr) pView->OnActivateView(TRUE, pView, pView);
  }
  if (pDoc != nullptr) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::RecalcLayout(BOOL /*bNotify*/) {
  if (m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  rMessage.Empty();
  CString strFull;
  if (strFull.LoadString(nID)) AfxExtractSubString(rMessage, strFull, 0);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if ((GetStyle() & FWS_ADDTOTITLE) == 0) return;
  CDocument* pDocument = GetActiveDocument();
  if (bAddToTitle && pDocument != nullptr) {
    UpdateFrameTitleForDocument(pDocument->GetTitle());
  } else {
    UpdateFrameTitleForDocument(nullptr);
  }
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName) {
  CString strText;
  if (lpszDocName == nullptr || *lpszDocName == L'\0') {
    strText = m_strTitle;
  } else if (GetStyle() & FWS_PREFIXTITLE) {
    strText = CString(lpszDocName) + L" - " + m_strTitle;
  } else {
    strText = m_strTitle + L" - " + lpszDocName;
  }
  CString strOld;
  GetWindowText(strOld);
  if (strOld != strText) SetWindowText(strText);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active view (and through it the document) first, then the frame, then the application.
  CView* pView = GetActiveView();
  if (pView != nullptr && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// Entering preview takes the menu, the accelerators, the bars and the main pane out of the way and
// keeps them in the state; leaving puts back what was kept. Bars are remembered by id, one bit each
// for the first 32 control-bar ids; others are left as they are.
void CFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  if (pState == nullptr || m_hWnd == nullptr || bPreview == m_bPreviewMode) {
    m_bPreviewMode = bPreview;
    return;
  }
  if (bPreview) {
    pState->hWndFocus = ::GetFocus();
    pState->hMenu = ::GetMenu(m_hWnd);
    if (pState->hMenu != nullptr) ::SetMenu(m_hWnd, nullptr);
    pState->hAccelTable = m_hAccelTable;
    m_hAccelTable = nullptr;
    pState->dwStates = 0;
    for (UINT nID = AFX_IDW_CONTROLBAR_FIRST; nID < AFX_IDW_CONTROLBAR_FIRST + 32; ++nID) {
      CControlBar* pBar = GetControlBar(nID);
      if (pBar == nullptr || !pBar->IsVisible()) continue;
      pState->dwStates |= 1u << (nID - AFX_IDW_CONTROLBAR_FIRST);
      ShowControlBar(pBar, FALSE, FALSE);
    }
    HWND hWndPane = ::GetDlgItem(m_hWnd, pState->nIDMainPane);
    if (hWndPane != nullptr) ::ShowWindow(hWndPane, SW_HIDE);
  } else {
    HWND hWndPane = ::GetDlgItem(m_hWnd, pState->nIDMainPane);
    if (hWndPane != nullptr) ::ShowWindow(hWndPane, SW_SHOW);
    for (UINT nID = AFX_IDW_CONTROLBAR_FIRST; nID < AFX_IDW_CONTROLBAR_FIRST + 32; ++nID) {
      if (!(pState->dwStates & (1u << (nID - AFX_IDW_CONTROLBAR_FIRST)))) continue;
      if (CControlBar* pBar = GetControlBar(nID)) ShowControlBar(pBar, TRUE, FALSE);
    }
    if (pState->hMenu != nullptr) ::SetMenu(m_hWnd, pState->hMenu);
    m_hAccelTable = pState->hAccelTable;
    if (pState->hWndFocus != nullptr && ::IsWindow(pState->hWndFocus)) ::SetFocus(pState->hWndFocus);
  }
  m_bPreviewMode = bPreview;
  RecalcLayout();
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  for (HWND hWnd = ::GetTopWindow(m_hWnd); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (static_cast<UINT>(::GetDlgCtrlID(hWnd)) != nID) continue;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CControlBar))) return static_cast<CControlBar*>(pWnd);
  }
  return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  if (pBar == nullptr) return;
  pBar->DelayShow(bShow);
  if (!bDelay) RecalcLayout();
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr) {
    return ::TranslateAccelerator(m_hWnd, m_hAccelTable, pMsg);
  }
  return FALSE;
}

void CFrameWnd::OnClose() {
  CDocument* pDocument = GetActiveDocument();
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr && pApp->m_pMainWnd == this) {
    // Closing the main window ends the program: every document gets its chance to be saved.
    if (!pApp->SaveAllModified()) return;
  } else if (pDocument != nullptr && !pDocument->CanCloseFrame(this)) {
    return;
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  if (m_bWatchingFocus) {
    WatchFocus(FALSE);
    m_bWatchingFocus = FALSE;
  }
  // The window destroys the menu it shows; a default menu swapped out by then is ours to destroy.
  if (m_hMenuDefault != nullptr && ::GetMenu(m_hWnd) != m_hMenuDefault) ::DestroyMenu(m_hMenuDefault);
  m_hMenuDefault = nullptr;
  m_pViewActive = nullptr;
  CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr) {
    m_pViewActive->SetFocus();
  } else {
    CWnd::OnSetFocus(pOldWnd);
  }
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
  // The view covers the client area; erasing under it would only flicker.
  if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr) return TRUE;
  return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT /*nIndex*/, BOOL bSysMenu) {
  if (bSysMenu || pPopupMenu == nullptr) return;
  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;  // separator
    if (state.m_nID == static_cast<UINT>(-1)) {
      // A submenu: its state follows its first item.
      HMENU hSub = ::GetSubMenu(pPopupMenu->GetSafeHmenu(), static_cast<int>(state.m_nIndex));
      state.m_pSubMenu = CMenu::FromHandle(hSub);
      if (hSub == nullptr || (state.m_nID = ::GetMenuItemID(hSub, 0)) == 0 ||
          state.m_nID == static_cast<UINT>(-1)) {
        state.m_pSubMenu = nullptr;
        continue;
      }
      state.DoUpdate(this, FALSE);
      state.m_pSubMenu = nullptr;
    } else {
      state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // The handler may have added or removed items.
    UINT nCount = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    if (nCount < state.m_nIndexMax) {
      state.m_nIndex -= (state.m_nIndexMax - nCount);
      while (state.m_nIndex < nCount &&
             pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID) {
        state.m_nIndex++;
      }
    }
    state.m_nIndexMax = nCount;
  }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & idleLayout) RecalcLayout(m_nIdleFlags & idleNotify);
  if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
  m_nIdleFlags &= ~(idleTitle | idleMenu);
  return 0;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
  UINT nVirtualKey = 0;
  switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS:
      nVirtualKey = VK_CAPITAL;
      break;
    case ID_INDICATOR_NUM:
      nVirtualKey = VK_NUMLOCK;
      break;
    case ID_INDICATOR_SCRL:
      nVirtualKey = VK_SCROLL;
      break;
    default:
      pCmdUI->ContinueRouting();
      return;
  }
  pCmdUI->Enable((::GetKeyState(static_cast<int>(nVirtualKey)) & 1) != 0);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT nIDLast = m_nIDLastMessage;
  CString strMessage;
  LPCTSTR lpsz = reinterpret_cast<LPCTSTR>(lParam);
  if (lpsz == nullptr && wParam != 0) {
    GetMessageString(static_cast<UINT>(wParam), strMessage);
    lpsz = strMessage;
  }
  CWnd* pStatus = GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE);
  if (pStatus != nullptr) pStatus->SetWindowText(lpsz != nullptr ? lpsz : L"");
  m_nIDLastMessage = static_cast<UINT>(wParam);
  return nIDLast;
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
  NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
  if (pNMHDR->code != TTN_NEEDTEXTW && pNMHDR->code != TTN_NEEDTEXTA) return FALSE;
  return OnToolTipText(static_cast<UINT>(pNMHDR->idFrom), pNMHDR, pResult);
}

BOOL CFrameWnd::OnToolTipText(UINT /*nID*/, NMHDR* pNMHDR, LRESULT* pResult) {
  // A tool given by its window stands for that window's control id.
  UINT_PTR nID = pNMHDR->idFrom;
  UINT uFlags = pNMHDR->code == TTN_NEEDTEXTW ? reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags
                                              : reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags;
  if (uFlags & TTF_IDISHWND) nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
  if (nID == 0 || nID > 0xFFFF) return FALSE;
  CString strFull;
  if (!strFull.LoadString(static_cast<UINT>(nID))) return FALSE;
  CString strTip;
  if (!AfxExtractSubString(strTip, strFull, 1, L'\n') || strTip.IsEmpty()) return FALSE;
  if (pNMHDR->code == TTN_NEEDTEXTW) {
    NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    lstrcpynW(pInfo->szText, strTip, _countof(pInfo->szText));
  } else {
    NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    ::WideCharToMultiByte(CP_ACP, 0, strTip, -1, pInfo->szText, _countof(pInfo->szText), nullptr, nullptr);
    pInfo->szText[_countof(pInfo->szText) - 1] = '\0';
  }
  *pResult = 0;
  // The tip stays above other windows without taking the activation.
  ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
  return TRUE;
}

// ---- Floating windows -------------------------------------------------------------------------------

namespace {

// Whether hWnd is owned by hWndOwner, directly or through other owned windows.
BOOL IsOwnedBy(HWND hWnd, HWND hWndOwner) {
  for (HWND hWndNext = ::GetWindow(hWnd, GW_OWNER); hWndNext != nullptr;
       hWndNext = ::GetWindow(hWndNext, GW_OWNER)) {
    if (hWndNext == hWndOwner) return TRUE;
  }
  return FALSE;
}

BOOL BelongsToCallingThread(HWND hWnd) {
  return ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
}

// The top-level windows that hWndOwner owns, from the top of the order down: the calling thread's
// alone unless bAllThreads. A window of another thread is never sent a message: a worker's window may
// belong to a thread that waits without reading its messages.
std::vector<HWND> OwnedWindows(HWND hWndOwner, BOOL bAllThreads = FALSE) {
  std::vector<HWND> owned;
  for (HWND hWnd = ::GetTopWindow(nullptr); hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if ((bAllThreads || BelongsToCallingThread(hWnd)) && IsOwnedBy(hWnd, hWndOwner)) owned.push_back(hWnd);
  }
  return owned;
}

// Whether hWnd is a floating window that keeps in step with its frame's activation: it answers
// FS_SYNCACTIVE. Tool windows (menus, tips, shadows) are none.
BOOL IsSyncActiveFloatingWindow(HWND hWnd) {
  return !(::GetWindowLongPtr(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
         ::SendMessage(hWnd, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0;
}

// Posted to a top-level frame: its owned windows go back above it once the message at hand is done.
const UINT g_nKeepOwnedAboveMsg = ::RegisterWindowMessageW(L"FrameworkKeepOwnedWindowsAbove");

// After the frame is shown or restored, the display may still raise it once it has mapped it, which
// it does not report: the order of windows is looked at a few times meanwhile.
const UINT_PTR kOwnedWindowsTimer = 0x7F3A;
const UINT kOwnedWindowsCheckMs = 100;
const int kOwnedWindowsChecks = 10;

// The focus watch of a thread with top-level frames. A display without a window manager raises a
// top-level window each time one of its windows takes the focus, over the windows it owns.
thread_local HHOOK t_hFocusWatch = nullptr;
thread_local int t_nFocusWatchers = 0;

LRESULT CALLBACK FocusWatchProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION) {
    const CWPRETSTRUCT* pCall = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (pCall->message == WM_SETFOCUS) {
      CWnd* pRoot = CWnd::FromHandlePermanent(::GetAncestor(pCall->hwnd, GA_ROOT));
      if (pRoot != nullptr && pRoot->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
        static_cast<CFrameWnd*>(pRoot)->PostKeepOwnedWindowsAbove();
    }
  }
  return ::CallNextHookEx(t_hFocusWatch, nCode, wParam, lParam);
}

}  // namespace

void CFrameWnd::WatchFocus(BOOL bWatch) {
  if (bWatch) {
    if (t_nFocusWatchers++ == 0)
      t_hFocusWatch = ::SetWindowsHookExW(WH_CALLWNDPROCRET, FocusWatchProc, nullptr, ::GetCurrentThreadId());
  } else if (t_nFocusWatchers > 0 && --t_nFocusWatchers == 0 && t_hFocusWatch != nullptr) {
    ::UnhookWindowsHookEx(t_hFocusWatch);
    t_hFocusWatch = nullptr;
  }
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags) {
  if (m_hWnd == nullptr) return;
  for (HWND hWnd : OwnedWindows(m_hWnd)) {
    if (::IsWindow(hWnd)) ::SendMessage(hWnd, WM_FLOATSTATUS, dwFlags, 0);
  }
}

void CFrameWnd::OnEnable(BOOL bEnable) {
  Default();
  if (GetStyle() & WS_CHILD) return;
  // A modal dialog or message box disables its owner: the frame's floating windows take no input
  // meanwhile either.
  NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
  if (bEnable && m_bStayActive) SendMessage(WM_NCACTIVATE, TRUE);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL /*bMinimized*/) {
  Default();
  if (GetStyle() & WS_CHILD) return;
  HWND hWndActive = nState == WA_INACTIVE ? pWndOther->GetSafeHwnd() : m_hWnd;
  m_bStayActive =
      hWndActive != nullptr &&
      (hWndActive == m_hWnd ||
       (IsOwnedBy(hWndActive, m_hWnd) && ::SendMessage(hWndActive, WM_FLOATSTATUS, FS_SYNCACTIVE, 0) != 0));
  NotifyFloatingWindows(m_bStayActive ? FS_ACTIVATE : FS_DEACTIVATE);
  if (nState != WA_INACTIVE) PostKeepOwnedWindowsAbove();
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
  // The caption stays active while one of the frame's sync-active floating windows is active, but not
  // while a modal window has the frame disabled.
  if (m_bStayActive) bActive = TRUE;
  if (!IsWindowEnabled()) bActive = FALSE;
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CFrameWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  Default();
  if (lpwndpos == nullptr || (GetStyle() & WS_CHILD)) return;
  // The system marks a move that minimized, maximized or restored the window with 0x8000.
  const UINT kStateChanged = 0x8000;
  if (lpwndpos->flags & SWP_SHOWWINDOW) m_bAnnounceOwner = TRUE;
  if (!(lpwndpos->flags & SWP_NOZORDER) || (lpwndpos->flags & (SWP_SHOWWINDOW | kStateChanged)))
    PostKeepOwnedWindowsAbove();
  if ((lpwndpos->flags & (SWP_SHOWWINDOW | kStateChanged)) && IsWindowVisible() && !IsIconic()) {
    m_nOwnedWindowsChecks = kOwnedWindowsChecks;
    SetTimer(kOwnedWindowsTimer, kOwnedWindowsCheckMs, nullptr);
  }
}

BOOL CFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == g_nKeepOwnedAboveMsg) {
    m_bRestackPending = FALSE;
    KeepOwnedWindowsAbove();
    if (pResult != nullptr) *pResult = 0;
    return TRUE;
  }
  if (message == WM_TIMER && wParam == kOwnedWindowsTimer) {
    if (--m_nOwnedWindowsChecks <= 0) KillTimer(kOwnedWindowsTimer);
    if (IsFloatingWindowBelow()) KeepOwnedWindowsAbove();
    if (pResult != nullptr) *pResult = 0;
    return TRUE;
  }
  return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CFrameWnd::IsFloatingWindowBelow() const {
  if (m_hWnd == nullptr) return FALSE;
  BOOL bBelow = FALSE;
  for (HWND hWnd = ::GetWindow(m_hWnd, GW_HWNDNEXT); hWnd != nullptr && !bBelow;
       hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    bBelow = ::IsWindowVisible(hWnd) && BelongsToCallingThread(hWnd) && IsOwnedBy(hWnd, m_hWnd) &&
             IsSyncActiveFloatingWindow(hWnd);
  }
  return bBelow;
}

void CFrameWnd::PostKeepOwnedWindowsAbove() {
  // Once the message at hand is done: the display stacks the frame only when the showing, the
  // activation or the focus change that moved it has ended.
  if (m_hWnd == nullptr || (GetStyle() & WS_CHILD) || m_bRestackPending) return;
  m_bRestackPending = PostMessage(g_nKeepOwnedAboveMsg);
}

void CFrameWnd::KeepOwnedWindowsAbove() {
  if (m_bRestacking || m_hWnd == nullptr || (GetStyle() & WS_CHILD) || !IsWindowVisible() || IsIconic())
    return;
  // Floating windows go right above the frame, every other window it owns (its dialogs and message
  // boxes) above them, the one last active on top, and the ones that other threads run (a worker's
  // dialogs) above those: their threads move them, after these moves. Tool windows (menus, tips,
  // shadows) look after themselves.
  std::vector<HWND> floating, others, othersOfOtherThreads;
  for (HWND hWnd : OwnedWindows(m_hWnd, TRUE)) {
    if (!::IsWindowVisible(hWnd) ||
        (::GetWindowLongPtr(hWnd, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)))
      continue;
    if (!BelongsToCallingThread(hWnd))
      othersOfOtherThreads.push_back(hWnd);
    else
      (IsSyncActiveFloatingWindow(hWnd) ? floating : others).push_back(hWnd);
  }
  const BOOL bAnnounceOwner = m_bAnnounceOwner;
  m_bAnnounceOwner = FALSE;
  // Without floating windows the system's own order of owned windows stands.
  if (floating.empty()) return;
  // A floating window shown while the frame was hidden (bars restored before the frame shows) was
  // mapped when its owner was not on the display yet: a window manager then takes it for a window of
  // its own, which the frame covers when the manager raises it (a click on the manager's title bar).
  // Once the frame is on the display, a frame change makes the system tell the manager the window's
  // owner again.
  if (bAnnounceOwner) {
    for (HWND hWnd : floating)
      ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  HWND hWndLastActive = ::GetLastActivePopup(m_hWnd);
  std::stable_partition(others.begin(), others.end(),
                        [hWndLastActive](HWND hWnd) { return hWnd == hWndLastActive; });
  m_bRestacking = TRUE;
  // From the bottom up: each window raised goes on top of the ones raised before it.
  for (auto it = floating.rbegin(); it != floating.rend(); ++it) CWnd::FromHandle(*it)->RaiseOnDisplay();
  for (auto it = others.rbegin(); it != others.rend(); ++it) CWnd::FromHandle(*it)->RaiseOnDisplay();
  for (auto it = othersOfOtherThreads.rbegin(); it != othersOfOtherThreads.rend(); ++it)
    CWnd::FromHandle(*it)->RaiseOnDisplay();
  m_bRestacking = FALSE;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  if (wParam != 0 || lParam != 0) return OnSetMessageString(wParam, lParam);
  return OnSetMessageString(AFX_IDS_IDLEMESSAGE, 0);
}

// ---- CView -------------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr) {}

CView::~CView() {
  if (m_pDocument != nullptr) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = AfxRegisterDefaultClass(AFX_WNDFRAMEORVIEW);
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  CCreateContext* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (pContext != nullptr && pContext->m_pCurrentDoc != nullptr) pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy() {
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != nullptr && pFrame->GetActiveView() == this) pFrame->SetActiveView(nullptr, FALSE);
  CWnd::OnDestroy();
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc);
  OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT) return nResult;
  CFrameWnd* pParentFrame = GetParentFrame();
  if (pParentFrame != nullptr && pParentFrame->GetActiveView() != this) {
    pParentFrame->SetActiveView(this);
    SetFocus();
  }
  return nResult;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
  OnInitialUpdate();
  return 0;
}

void CView::OnUpdate(CView* pSender, LPARAM /*lHint*/, CObject* /*pHint*/) {
  if (pSender != this) Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* /*pDeactiveView*/) {
  if (bActivate && pActivateView == this && ::GetFocus() != m_hWnd && IsWindowVisible()) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && ::GetActiveWindow() == pFrame->GetTopLevelParent()->GetSafeHwnd()) SetFocus();
  }
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CDocument ---------------------------------------------------------------------------------------
CDocument::CDocument()
    : m_bAutoDelete(TRUE), m_bEmbedded(FALSE), m_pDocTemplate(nullptr), m_bModified(FALSE) {}

CDocument::~CDocument() {
  // Views outlive a deleted document only detached.
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) GetNextView(pos)->m_pDocument = nullptr;
  m_viewList.RemoveAll();
  if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
  m_strPathName = lpszPathName;
  LPCTSTR lpszName = wcsrchr(lpszPathName, L'\\');
  SetTitle(lpszName != nullptr ? lpszName + 1 : lpszPathName);
  if (bAddToMRU && AfxGetApp() != nullptr) AfxGetApp()->AddToRecentFileList(lpszPathName);
}

void CDocument::AddView(CView* pView) {
  if (pView == nullptr || pView->m_pDocument == this) return;
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
  OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
  if (pView == nullptr || pView->m_pDocument != this) return;
  POSITION pos = m_viewList.Find(pView);
  if (pos != nullptr) m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::OnChangedViewList() {
  if (m_viewList.IsEmpty() && m_bAutoDelete) {
    OnCloseDocument();
    return;
  }
  UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) {
    CView* pView = GetNextView(pos);
    CFrameWnd* pFrame = pView->GetParentFrame();
    if (pFrame != nullptr) pFrame->OnUpdateFrameTitle(TRUE);
  }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) {
    CView* pView = GetNextView(pos);
    if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
  }
}

BOOL CDocument::OnNewDocument() {
  DeleteContents();
  m_strPathName.Empty();
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
  CFile file;
  CFileException fe;
  if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe)) {
    CString strPrompt;
    strPrompt.Format(L"Cannot open the file %s.", lpszPathName);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    return FALSE;
  }
  DeleteContents();
  SetModifiedFlag();
  try {
    CArchive loadArchive(&file, CArchive::load | CArchive::bNoFlushOnDelete);
    loadArchive.m_pDocument = this;
    Serialize(loadArchive);
    loadArchive.Close();
  } catch (CException* e) {
    e->Delete();
    file.Abort();
    DeleteContents();
    CString strPrompt;
    strPrompt.Format(L"The file %s is not in the expected format or is damaged.", lpszPathName);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
  CFile file;
  CFileException fe;
  if (!file.Open(lpszPathName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &fe)) {
    CString strPrompt;
    strPrompt.Format(L"Cannot save the file %s.", lpszPathName);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    return FALSE;
  }
  try {
    CArchive saveArchive(&file, CArchive::store | CArchive::bNoFlushOnDelete);
    saveArchive.m_pDocument = this;
    Serialize(saveArchive);
    saveArchive.Close();
    file.Close();
  } catch (CException* e) {
    e->Delete();
    file.Abort();
    ::DeleteFile(lpszPathName);  // a half-written file must not pass for a saved document
    CString strPrompt;
    strPrompt.Format(L"Cannot save the file %s.", lpszPathName);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    return FALSE;
  }
  SetModifiedFlag(FALSE);
  return TRUE;
}

void CDocument::OnCloseDocument() {
  // Frames showing this document go first; the last view's removal must not delete us twice.
  BOOL bAutoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;
  std::vector<HWND> frames;
  POSITION pos = GetFirstViewPosition();
  while (pos != nullptr) {
    CFrameWnd* pFrame = GetNextView(pos)->GetParentFrame();
    if (pFrame != nullptr) frames.push_back(pFrame->m_hWnd);
  }
  for (HWND hFrame : frames) {
    CWnd* pFrame = CWnd::FromHandlePermanent(hFrame);
    if (pFrame != nullptr) pFrame->DestroyWindow();
  }
  m_bAutoDelete = bAutoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString strName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  CString strPrompt;
  strPrompt.Format(L"Save changes to %s?", static_cast<LPCWSTR>(strName));
  switch (AfxMessageBox(strPrompt, MB_YESNOCANCEL)) {
    case IDCANCEL:
      return FALSE;
    case IDYES: {
      CString strPath = m_strPathName;
      if (strPath.IsEmpty()) {
        CFileDialog dlg(FALSE, nullptr, m_strTitle, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        if (dlg.DoModal() != IDOK) return FALSE;
        strPath = dlg.GetPathName();
      }
      if (!OnSaveDocument(strPath)) return FALSE;
      SetPathName(strPath);
      return TRUE;
    }
    default:
      return TRUE;
  }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* /*pFrame*/) { return SaveModified(); }

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- Templates ---------------------------------------------------------------------------------------
CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
  LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
  if (m_strDocStrings.IsEmpty()) m_strDocStrings.LoadString(m_nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const {
  return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CDocument* CDocTemplate::CreateNewDocument() {
  if (m_pDocClass == nullptr || !m_pDocClass->IsDerivedFrom(RUNTIME_CLASS(CDocument))) return nullptr;
  CDocument* pDocument = static_cast<CDocument*>(m_pDocClass->CreateObject());
  if (pDocument != nullptr) AddDocument(pDocument);
  return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  if (m_pFrameClass == nullptr || !m_pFrameClass->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd))) return nullptr;
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CFrameWnd* pFrame = static_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
  if (pFrame == nullptr) return nullptr;
  // A frame that fails to load has deleted itself.
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
    return nullptr;
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

void CDocTemplate::CloseAllDocuments(BOOL /*bEndSession*/) {
  POSITION pos = GetFirstDocPosition();
  while (pos != nullptr) {
    CDocument* pDoc = GetNextDoc(pos);
    pDoc->OnCloseDocument();
  }
}

BOOL CDocTemplate::SaveAllModified() {
  POSITION pos = GetFirstDocPosition();
  while (pos != nullptr) {
    if (!GetNextDoc(pos)->SaveModified()) return FALSE;
  }
  return TRUE;
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_pOnlyDoc(nullptr) {}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc != nullptr) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
  return m_pOnlyDoc == nullptr ? nullptr : BEFORE_START_POSITION;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
  CDocument* pDoc = rPos == BEFORE_START_POSITION ? m_pOnlyDoc : nullptr;
  rPos = nullptr;
  return pDoc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString strDocName;
  if (!GetDocString(strDocName, docName) || strDocName.IsEmpty()) {
    if (!strDocName.LoadString(AFX_IDS_UNTITLED)) strDocName = L"Untitled";
  }
  pDocument->SetTitle(strDocName);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* pDocument = nullptr;
  CFrameWnd* pFrame = nullptr;
  BOOL bCreated = FALSE;
  if (m_pOnlyDoc != nullptr) {
    pDocument = m_pOnlyDoc;
    if (!pDocument->SaveModified()) return nullptr;
    POSITION pos = pDocument->GetFirstViewPosition();
    if (pos != nullptr) pFrame = pDocument->GetNextView(pos)->GetParentFrame();
  } else {
    pDocument = CreateNewDocument();
    bCreated = TRUE;
  }
  if (pDocument == nullptr) return nullptr;

  if (pFrame == nullptr) {
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;  // a failed frame must not take the document with it
    pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
      if (bCreated) delete pDocument;
      return nullptr;
    }
  }

  if (lpszPathName == nullptr) {
    SetDefaultTitle(pDocument);
    if (!bMakeVisible) pDocument->m_bEmbedded = TRUE;
    if (!pDocument->OnNewDocument()) {
      if (bCreated) pFrame->DestroyWindow();
      return nullptr;
    }
  } else {
    if (!pDocument->OnOpenDocument(lpszPathName)) {
      if (bCreated) {
        pFrame->DestroyWindow();
      } else {
        // The old contents are gone: show an empty document rather than a half-read one.
        SetDefaultTitle(pDocument);
        pDocument->OnNewDocument();
      }
      return nullptr;
    }
    pDocument->SetPathName(lpszPathName);
  }

  CWinThread* pThread = AfxGetThread();
  if (bCreated && pThread != nullptr && pThread->m_pMainWnd == nullptr) pThread->m_pMainWnd = pFrame;
  InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
  return pDocument;
}
