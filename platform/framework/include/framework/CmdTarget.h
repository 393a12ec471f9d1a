// Command targets: objects with a message map that commands and notifications are routed to
// (windows, the application, documents), their reference counts, and CCmdUI, the object a command's
// user-interface element (menu item, button, bar pane) is updated through.
#pragma once

#include "framework/Object.h"
#include "framework/String.h"

#include <unknwn.h>

// Marks message handlers in class declarations; they are ordinary (non-virtual) members.
#define afx_msg

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

// A handler as stored in a message map: the real signature is recorded beside it (AfxSig) and the
// dispatcher casts it back before the call.
typedef void (CCmdTarget::*AFX_PMSG)();

// The handler signatures a message-map entry can carry.
enum AfxSig : UINT_PTR {
  AfxSig_end = 0,
  // Command and notification handlers (routed through OnCmdMsg).
  AfxSigCmd_v,         // void ()
  AfxSigCmd_b,         // BOOL ()                           ON_CONTROL_REFLECT_EX
  AfxSigCmd_RANGE,     // void (UINT id)                    ON_COMMAND_RANGE, ON_CONTROL_RANGE
  AfxSigCmd_EX,        // BOOL (UINT id)                    ON_COMMAND_EX(_RANGE)
  AfxSigCmdUI,         // void (CCmdUI*)                    ON_UPDATE_COMMAND_UI(_RANGE)
  AfxSigNotify_v,      // void (NMHDR*, LRESULT*)           ON_NOTIFY, ON_NOTIFY_REFLECT
  AfxSigNotify_b,      // BOOL (NMHDR*, LRESULT*)           ON_NOTIFY_REFLECT_EX
  AfxSigNotify_RANGE,  // void (UINT id, NMHDR*, LRESULT*)  ON_NOTIFY_RANGE
  AfxSigNotify_EX,     // BOOL (UINT id, NMHDR*, LRESULT*)  ON_NOTIFY_EX(_RANGE)
  // Window-message handlers (dispatched by CWnd::OnWndMsg).
  AfxSig_lwl,         // LRESULT (WPARAM, LPARAM)          ON_MESSAGE
  AfxSig_vv,          // void ()
  AfxSig_bv,          // BOOL ()
  AfxSig_wv,          // UINT ()
  AfxSig_hv,          // HANDLE ()  (HCURSOR / HICON)
  AfxSig_is,          // int (LPCREATESTRUCT)
  AfxSig_bs,          // BOOL (LPCREATESTRUCT)
  AfxSig_vwii,        // void (UINT, int, int)             WM_SIZE
  AfxSig_vii,         // void (int, int)                   WM_MOVE
  AfxSig_bD,          // BOOL (CDC*)                       WM_ERASEBKGND
  AfxSig_vD,          // void (CDC*)
  AfxSig_vw,          // void (UINT_PTR)                   WM_TIMER
  AfxSig_vb,          // void (BOOL)                       WM_ENABLE
  AfxSig_bb,          // BOOL (BOOL)                       WM_NCACTIVATE
  AfxSig_vbw,         // void (BOOL, UINT)                 WM_SHOWWINDOW
  AfxSig_vwp,         // void (UINT, CPoint)               mouse messages
  AfxSig_bwsp,        // BOOL (UINT, short, CPoint)        WM_MOUSEWHEEL
  AfxSig_bWww,        // BOOL (CWnd*, UINT, UINT)          WM_SETCURSOR
  AfxSig_iWww,        // int (CWnd*, UINT, UINT)           WM_MOUSEACTIVATE
  AfxSig_vW,          // void (CWnd*)                      WM_SETFOCUS, WM_KILLFOCUS, WM_CAPTURECHANGED
  AfxSig_vWp,         // void (CWnd*, CPoint)              WM_CONTEXTMENU
  AfxSig_vwww,        // void (UINT, UINT, UINT)           keyboard messages
  AfxSig_vwwx,        // void (UINT, UINT, CScrollBar*)    WM_HSCROLL, WM_VSCROLL
  AfxSig_vwwW,        // void (UINT, UINT, CWnd*)          scroll messages reflected to a control
  AfxSig_vwWb,        // void (UINT, CWnd*, BOOL)          WM_ACTIVATE
  AfxSig_vwl,         // void (UINT, LPARAM)               WM_SYSCOMMAND
  AfxSig_vws,         // void (UINT, LPCTSTR)              WM_SETTINGCHANGE
  AfxSig_vPOS,        // void (WINDOWPOS*)                 WM_WINDOWPOSCHANGED/CHANGING
  AfxSig_vMwb,        // void (CMenu*, UINT, BOOL)         WM_INITMENUPOPUP
  AfxSig_vwMw,        // void (UINT, UINT, HMENU)          WM_MENUSELECT
  AfxSig_lp,          // LRESULT (CPoint)                  WM_NCHITTEST
  AfxSig_vbNCCS,      // void (BOOL, NCCALCSIZE_PARAMS*)   WM_NCCALCSIZE
  AfxSig_hDWw,        // HBRUSH (CDC*, CWnd*, UINT)        WM_CTLCOLOR
  AfxSig_hDw,         // HBRUSH (CDC*, UINT)               ON_WM_CTLCOLOR_REFLECT
  AfxSig_vOWNER,      // void (int, LPDRAWITEMSTRUCT)      WM_DRAWITEM
  AfxSig_vMEASURE,    // void (int, LPMEASUREITEMSTRUCT)   WM_MEASUREITEM
  AfxSig_vHELP,       // BOOL (HELPINFO*)                  WM_HELP
  AfxSig_vMINMAX,     // void (MINMAXINFO*)                WM_GETMINMAXINFO
  AfxSig_vwl_PARENT,  // void (UINT, LPARAM)               WM_PARENTNOTIFY
  AfxSig_vDELETE,     // void (int, LPDELETEITEMSTRUCT)    WM_DELETEITEM
  AfxSig_iCOMPARE,    // int (int, LPCOMPAREITEMSTRUCT)    WM_COMPAREITEM
  AfxSig_vwh,         // void (UINT, HWND)                 WM_ENTERIDLE
};

// Notification codes for OnCmdMsg besides control notifications.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define CN_EVENT ((UINT)(-2))
#define CN_OLEVERB ((UINT)(-3))
#define CN_OLE_UNREGISTER ((UINT)(-4))

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message, or WM_COMMAND / WM_NOTIFY (+ WM_REFLECT_BASE) for routed ones
  UINT nCode;     // control or notification code (WORD for notifications), CN_ for commands
  UINT nID;       // first control id, 0 for window messages
  UINT nLastID;   // last control id of a range
  UINT_PTR nSig;  // AfxSig
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg instead of calling the handler: who would handle the command.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// The pExtra of OnCmdMsg for WM_NOTIFY codes.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// The lParam of a reflected WM_CTLCOLOR.
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};

// The first entry in the table that matches, or NULL.
const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                   UINT nID);

// ---- CCmdTarget ----------------------------------------------------------------------------------
// Commands reach a target through OnCmdMsg, which searches the message map from the most derived
// class up to CCmdTarget. Reference counts start at 1; InternalRelease to 0 calls OnFinalRelease,
// which deletes the object.
class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget();
  ~CCmdTarget() override;

  // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra = CCmdUI*), a control notification code, or
  // MAKELONG(code, WM_NOTIFY) with pExtra = AFX_NOTIFY*. With pHandlerInfo set, the handler is only
  // looked up. TRUE when a handler took the command.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  virtual void OnFinalRelease();
  DWORD InternalAddRef();
  DWORD InternalRelease();
  DWORD ExternalAddRef() { return InternalAddRef(); }
  DWORD ExternalRelease() { return InternalRelease(); }
  // Answers IUnknown (this object's interface pointer from GetInterfaceHook) or E_NOINTERFACE.
  virtual LPUNKNOWN GetInterfaceHook(const void* piid);
  HRESULT ExternalQueryInterface(const void* iid, LPVOID* ppvObj);
  HRESULT InternalQueryInterface(const void* iid, LPVOID* ppvObj) {
    return ExternalQueryInterface(iid, ppvObj);
  }

  // Turns the mouse cursor into the wait cursor (or back).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  volatile LONG m_dwRef;

 protected:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Calls a routed handler of signature nSig. TRUE when the command counts as handled.
BOOL AFXAPI AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra,
                              UINT_PTR nSig);

// ---- CCmdUI --------------------------------------------------------------------------------------
// One user-interface element of a command: a menu item (m_pMenu, m_nIndex) or a window (m_pOther).
// DoUpdate asks the target's ON_UPDATE_COMMAND_UI handler to set its state.
class CCmdUI {
 public:
  CCmdUI();
  virtual ~CCmdUI() = default;

  UINT m_nID;
  UINT m_nIndex;
  CMenu* m_pMenu;
  CMenu* m_pSubMenu;
  CMenu* m_pParentMenu;
  CWnd* m_pOther;
  BOOL m_bEnableChanged;
  BOOL m_bContinueRouting;
  UINT m_nIndexMax;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCTSTR lpszText);

  // The handler passes the update on to the next target in the route.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Routes CN_UPDATE_COMMAND_UI to pTarget; with bDisableIfNoHndler, an element whose state no
  // handler set is enabled exactly when some handler exists for the command. TRUE when handled.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// Turns the cursor into the wait cursor for the object's lifetime.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  void Restore();

 private:
  HCURSOR m_hcurPrev;
};
