// CWnd: the C++ object of a window. Windows created through the framework are subclassed from their
// first message on (a creation hook catches them), so message maps see WM_NCCREATE and WM_CREATE
// even for system classes; messages then go WindowProc -> OnWndMsg (message map) -> DefWindowProc.
#pragma once

#include "framework/CmdTarget.h"
#include "framework/FrameworkIds.h"
#include "framework/Geometry.h"
#include "framework/Gdi.h"

// winuser.h defines GetNextWindow as a macro for GetWindow; CWnd has a member of that name.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

class CScrollBar;
class CDataExchange;
class CWinThread;
class CMenu;

// m_nFlags of CWnd.
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_STAYACTIVE 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_MODALDISABLE 0x0080
#define WF_OLECTLCONTAINER 0x0100
#define WF_KEEPMINIACTIVE 0x0200
#define WF_TRACKINGTOOLTIPS 0x0400

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// SendMessageToDescendants / RepositionBars helpers.
#define reposDefault 0
#define reposQuery 1
#define reposExtra 2

// The wParam/lParam of WM_SIZEPARENT.
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;
  RECT rect;
  SIZE sizeTotal;
  BOOL bStretch;
};

// What the framework keeps per thread: the message being processed, the creation hook, the
// temporary window objects of FromHandle.
struct AFX_THREAD_STATE {
  MSG m_msgCur;       // the message the thread's pump retrieved last
  MSG m_lastSentMsg;  // the message the current window procedure call is processing
  CWnd* m_pWndInit;   // the object the next hooked creation attaches to
  HHOOK m_hHookOldCbtFilter;
  int m_nDisablePumpCount;
  CPoint m_ptCursorLast;
  UINT m_nMsgLast;
  HWND m_hLockoutNotifyWindow;  // UpdateData in progress: its controls' notifications are ignored
};
AFX_THREAD_STATE* AFXAPI AfxGetThreadState();

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd();
  explicit CWnd(HWND hWnd);
  ~CWnd() override;

  HWND m_hWnd;
  UINT m_nFlags;

  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  // ---- Handles ----
  // Callable on a NULL pointer, as framework code customarily does.
  HWND GetSafeHwnd() const {
    const CWnd* volatile self = this;
    return self == nullptr ? nullptr : self->m_hWnd;
  }
  operator HWND() const { return GetSafeHwnd(); }
  BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
  BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }
  // The object of hWnd: the permanent one from any thread, else a temporary of the calling thread
  // that lives until that thread's next idle time.
  static CWnd* PASCAL FromHandle(HWND hWnd);
  // The permanent object of hWnd, from any thread, or NULL.
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  static void PASCAL DeleteTempMap();
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Routes the window's messages through this object. Only the procedure we replace is restored.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  // ---- Creation ----
  // Adds WS_CHILD to dwStyle.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

  // ---- Messages ----
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Passes the current message to the original window procedure.
  LRESULT Default();
  static const MSG* PASCAL GetCurrentMessage();
  // Calls PreTranslateMessage of each framework window from pMsg->hwnd up to hWndStop, on the
  // calling thread's windows only; TRUE when one of them took the message.
  static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
  }
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);
  static void PASCAL SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              BOOL bDeep, BOOL bOnlyPerm);
  // Updates the child controls' enabled/checked state through pTarget's ON_UPDATE_COMMAND_UI handlers.
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
  virtual void OnUpdateCmdUI(CCmdTarget* /*pTarget*/, BOOL /*bDisableIfNoHndler*/) {}

  // ---- Modal loops ----
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);
  int m_nModalResult;

  // ---- Data exchange ----
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* /*pDX*/) {}

  // ---- Tool tips ----
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  BOOL EnableTrackingToolTips(BOOL bEnable = TRUE);
  // The tool under `point` (client coordinates) or -1. A text in pTI->lpszText other than
  // LPSTR_TEXTCALLBACK must come from malloc: the framework frees it once the tip has copied it.
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
  void FilterToolTipMessage(MSG* pMsg);
  static void PASCAL CancelToolTips(BOOL bKeys = FALSE);

  // ---- Relatives ----
  CWnd* GetParent() const { return CWnd::FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* pWndNewParent) {
    return CWnd::FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd()));
  }
  // The owner set by SetOwner, else the parent.
  CWnd* GetOwner() const { return m_hWndOwner != nullptr ? CWnd::FromHandle(m_hWndOwner) : GetParent(); }
  void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
  CWnd* GetTopLevelParent() const;
  CWnd* GetTopLevelOwner() const;
  CWnd* GetParentOwner() const;
  // The nearest frame above this window, and the outermost one (frames are defined in Frame.h).
  class CFrameWnd* GetParentFrame() const;
  class CFrameWnd* GetTopLevelFrame() const;
  CWnd* GetWindow(UINT nCmd) const { return CWnd::FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd* GetTopWindow() const { return CWnd::FromHandle(::GetTopWindow(m_hWnd)); }
  CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return CWnd::FromHandle(::GetWindow(m_hWnd, nFlag)); }
  CWnd* GetLastActivePopup() const { return CWnd::FromHandle(::GetLastActivePopup(m_hWnd)); }
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return (int)::SetWindowLongPtr(m_hWnd, GWLP_ID, nID); }
  CWnd* GetDlgItem(int nID) const { return CWnd::FromHandle(::GetDlgItem(m_hWnd, nID)); }
  void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
  // A descendant with this id at any depth (or direct children only), or NULL.
  CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
    return CWnd::FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
  }
  CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
    return CWnd::FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
  }
  static CWnd* PASCAL WindowFromPoint(POINT point) { return CWnd::FromHandle(::WindowFromPoint(point)); }
  CWnd* ChildWindowFromPoint(POINT point) const {
    return CWnd::FromHandle(::ChildWindowFromPoint(m_hWnd, point));
  }
  CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const {
    return CWnd::FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
  }
  static CWnd* PASCAL GetDesktopWindow() { return CWnd::FromHandle(::GetDesktopWindow()); }
  static CWnd* PASCAL GetActiveWindow() { return CWnd::FromHandle(::GetActiveWindow()); }
  CWnd* SetActiveWindow() { return CWnd::FromHandle(::SetActiveWindow(m_hWnd)); }
  static CWnd* PASCAL GetForegroundWindow() { return CWnd::FromHandle(::GetForegroundWindow()); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  static CWnd* PASCAL FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return CWnd::FromHandle(::FindWindow(lpszClassName, lpszWindowName));
  }
  // The owner a modal window should use: pParent's top-level window, else the calling thread's
  // main or active window; NULL when none belongs to the calling thread.
  static CWnd* PASCAL GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);
  // Puts this top-level window first in the order of windows, without activating it, and so on top
  // on the display. The display stacks a window anew only when it becomes first of the visible
  // windows, which need not be where the display shows it: a window first already steps down once
  // before, and the calling thread's tips that show go first. A window of another thread is moved by
  // that thread when it next reads its messages, after the calling thread's moves so far; the call
  // does not wait for it.
  void RaiseOnDisplay();

  // ---- Styles ----
  DWORD GetStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_STYLE); }
  DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
  }
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
  }
  static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

  // ---- Text, font, icon, menu ----
  void SetWindowText(LPCTSTR lpszString) { ::SetWindowText(m_hWnd, lpszString); }
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount);
  }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE) {
    ::SendMessage(m_hWnd, WM_SETFONT, (WPARAM)(pFont != nullptr ? pFont->m_hObject : nullptr), bRedraw);
  }
  CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessage(m_hWnd, WM_GETFONT, 0, 0)); }
  HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
    return (HICON)::SendMessage(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
  }
  HICON GetIcon(BOOL bBigIcon) const {
    return (HICON)::SendMessage(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0);
  }
  HMENU GetMenuHandle() const { return ::GetMenu(m_hWnd); }
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  CMenu* GetSystemMenu(BOOL bRevert) const;
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, CString& rString) const;
  int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return ::GetDlgItemText(m_hWnd, nID, lpStr, nMaxCount);
  }
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) {
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
  }
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const {
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
  }
  void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
  UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
  void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) {
    ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
  }
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
  }
  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

  // ---- Geometry ----
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const;
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
  }
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), (LPPOINT)lpRect, 2);
  }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                 lpRect->bottom - lpRect->top, bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter->GetSafeHwnd(), x, y, cx, cy, nFlags);
  }
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

  // ---- State and painting ----
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) {
    ::InvalidateRgn(m_hWnd, pRgn != nullptr ? (HRGN)pRgn->m_hObject : nullptr, bErase);
  }
  void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate != nullptr ? (HRGN)prgnUpdate->m_hObject : nullptr,
                          flags);
  }
  void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessage(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
  CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
  CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
  CDC* GetDCEx(CRgn* prgnClip, DWORD flags) {
    return CDC::FromHandle(
        ::GetDCEx(m_hWnd, prgnClip != nullptr ? (HRGN)prgnClip->m_hObject : nullptr, flags));
  }
  int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }
  CDC* BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
  void EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
  BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }
  void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }

  // ---- Focus, mouse, timers ----
  CWnd* SetFocus() { return CWnd::FromHandle(::SetFocus(m_hWnd)); }
  static CWnd* PASCAL GetFocus() { return CWnd::FromHandle(::GetFocus()); }
  CWnd* SetCapture() { return CWnd::FromHandle(::SetCapture(m_hWnd)); }
  static CWnd* PASCAL GetCapture() { return CWnd::FromHandle(::GetCapture()); }
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                    void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD) = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  // ---- Scroll bars (32-bit positions through SCROLLINFO) ----
  int GetScrollPos(int nBar) const;
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  int GetScrollLimit(int nBar);
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
  void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
  BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH) {
    return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags);
  }
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
  int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                     LPRECT lpRectUpdate, UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                            prgnUpdate != nullptr ? (HRGN)prgnUpdate->m_hObject : nullptr, lpRectUpdate,
                            flags);
  }

  // ---- Hosted ActiveX controls (implemented by the OLE layer, afxole.h) ----
  // Creates the control clsid (or a ProgID / "{CLSID}" string) in a child window of pParentWnd
  // with id nID and attaches this object to that window. pPersist gives the control's saved state
  // (a stream, or a compound file with bStorage).
  BOOL CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID, class CFile* pPersist = nullptr, BOOL bStorage = FALSE,
                     BSTR bstrLicKey = nullptr);
  BOOL CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                     CWnd* pParentWnd, UINT nID, class CFile* pPersist = nullptr, BOOL bStorage = FALSE,
                     BSTR bstrLicKey = nullptr);
  // The hosted control's IUnknown (not AddRef'd), or NULL when this window hosts none.
  LPUNKNOWN GetControlUnknown();
  // Calls the hosted control through its IDispatch as COleDispatchDriver::InvokeHelper does;
  // throws COleException* (E_NOINTERFACE) when this window hosts no control.
  template <class... Args>
  void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                    const Args&... args) {
    InvokeHelperArgs(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, AfxVarArg(args)...);
  }
  void AFX_CDECL InvokeHelperArgs(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                  const BYTE* pbParamInfo, ...);

  // ---- Handlers with framework defaults ----
 protected:
  int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
  BOOL OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
  void OnDestroy() { Default(); }
  void OnNcDestroy();
  void OnClose() { Default(); }
  void OnPaint() { Default(); }
  void OnNcPaint() { Default(); }
  BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
  void OnSize(UINT, int, int) { Default(); }
  void OnMove(int, int) { Default(); }
  void OnTimer(UINT_PTR) { Default(); }
  // Gives the control its reflected colour message first.
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  void OnShowWindow(BOOL, UINT) { Default(); }
  void OnEnable(BOOL) { Default(); }
  void OnMouseMove(UINT, CPoint) { Default(); }
  void OnLButtonDown(UINT, CPoint) { Default(); }
  void OnLButtonUp(UINT, CPoint) { Default(); }
  void OnLButtonDblClk(UINT, CPoint) { Default(); }
  void OnRButtonDown(UINT, CPoint) { Default(); }
  void OnRButtonUp(UINT, CPoint) { Default(); }
  void OnRButtonDblClk(UINT, CPoint) { Default(); }
  void OnMButtonDown(UINT, CPoint) { Default(); }
  void OnMButtonUp(UINT, CPoint) { Default(); }
  void OnNcLButtonDown(UINT, CPoint) { Default(); }
  void OnNcLButtonUp(UINT, CPoint) { Default(); }
  void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
  void OnNcMouseMove(UINT, CPoint) { Default(); }
  BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
  void OnMouseLeave() { Default(); }
  BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
  int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
  void OnSetFocus(CWnd*) { Default(); }
  void OnKillFocus(CWnd*) { Default(); }
  void OnCaptureChanged(CWnd*) { Default(); }
  void OnContextMenu(CWnd*, CPoint) { Default(); }
  void OnKeyDown(UINT, UINT, UINT) { Default(); }
  void OnKeyUp(UINT, UINT, UINT) { Default(); }
  void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
  void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
  void OnChar(UINT, UINT, UINT) { Default(); }
  void OnSysChar(UINT, UINT, UINT) { Default(); }
  UINT OnGetDlgCode() { return (UINT)Default(); }
  // Scroll messages from a scroll-bar control are reflected to it first.
  void OnHScroll(UINT, UINT, CScrollBar* pScrollBar);
  void OnVScroll(UINT, UINT, CScrollBar* pScrollBar);
  void OnSysColorChange() { Default(); }
  void OnCancelMode() { Default(); }
  void OnActivate(UINT, CWnd*, BOOL) { Default(); }
  BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
  void OnSysCommand(UINT, LPARAM) { Default(); }
  HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
  void OnSettingChange(UINT, LPCTSTR) { Default(); }
  void OnWindowPosChanged(WINDOWPOS*) { Default(); }
  void OnWindowPosChanging(WINDOWPOS*) { Default(); }
  void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
  void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
  LRESULT OnNcHitTest(CPoint) { return Default(); }
  void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
  // Owner-drawn controls get these reflected first (CButton::DrawItem ...).
  void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
  int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  BOOL OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }
  void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
  void OnParentNotify(UINT message, LPARAM lParam);
  void OnEnterIdle(UINT, HWND) { Default(); }
  LRESULT OnDisplayChange(WPARAM, LPARAM) { return Default(); }

  HWND m_hWndOwner;

 public:
  // The window procedure our subclassing replaced, or NULL (then ::DefWindowProc).
  WNDPROC m_pfnSuper;

 protected:
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
  friend class CCmdUI;

  DECLARE_MESSAGE_MAP()
};

// The window procedure of every framework window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AFXAPI AfxGetAfxWndProc();
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The creation hook: the next window this thread creates is attached to pWnd and subclassed before
// its first message. AfxUnhookWindowCreate returns FALSE when no window was caught.
void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
BOOL AFXAPI AfxUnhookWindowCreate();

// Window classes. AfxRegisterWndClass returns a class name ("Afx:..." built from its arguments)
// that stays valid for the process; registration failure throws CResourceException*.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                   HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass);
// Registers one of the framework's default classes (AFX_WND ...) on first use and returns its name.
LPCTSTR AFXAPI AfxRegisterDefaultClass(LPCTSTR lpszClassName);
// The framework's default window class names.
#define AFX_WND L"AfxWnd"
#define AFX_WNDFRAMEORVIEW L"AfxFrameOrView"
#define AFX_WNDCONTROLBAR L"AfxControlBar"
#define AFX_WNDMDIFRAME L"AfxMDIFrame"

// The message loop helpers used by modal loops: PumpMessage of the current thread (FALSE on WM_QUIT).
BOOL AFXAPI AfxPumpMessage();
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);
BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg);
void AFXAPI AfxPostQuitMessage(int nExitCode);
