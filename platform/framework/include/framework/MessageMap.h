// The message-map macros: DECLARE_MESSAGE_MAP in a class, BEGIN_MESSAGE_MAP(cls, base) ...
// END_MESSAGE_MAP() around its entries. Each entry records the handler with its signature; the
// static_casts below make a handler with the wrong signature a compile error.
#pragma once

#include "framework/CmdTarget.h"
#include "framework/FrameworkIds.h"

#include <commctrl.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
// Stores a member-function pointer of any signature in an entry; AfxSig says how to call it.
template <class F>
inline AFX_PMSG AfxMsgPtr(F pfn) {
  return reinterpret_cast<AFX_PMSG>(pfn);
}
#pragma GCC diagnostic pop

#define DECLARE_MESSAGE_MAP()                          \
 protected:                                            \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;    \
                                                       \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() {                          \
    typedef theClass ThisClass;                                                     \
    typedef baseClass TheBaseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { 0, 0, 0, 0, AfxSig_end, nullptr }                                                           \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

// ---- Routed entries: commands, control notifications, WM_NOTIFY, reflection ----------------------
#define AFX_CMD_ENTRY(msg, code, id, idLast, sig, type, fn) \
  {(UINT)(msg),          (UINT)(code), (UINT)(WORD)(id),    \
   (UINT)(WORD)(idLast), sig,          AfxMsgPtr(static_cast<type>(&ThisClass::fn))},

#define ON_COMMAND(id, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSigCmd_v, void (CCmdTarget::*)(), memberFxn)
#define ON_COMMAND_EX(id, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSigCmd_EX, BOOL (CCmdTarget::*)(UINT), memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSigCmd_RANGE, void (CCmdTarget::*)(UINT), memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSigCmd_EX, BOOL (CCmdTarget::*)(UINT), memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                           \
  AFX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSigCmdUI, void (CCmdTarget::*)(CCmdUI*), \
                memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                 \
  AFX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSigCmdUI, void (CCmdTarget::*)(CCmdUI*), \
                memberFxn)
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, (WORD)(wNotifyCode), id, id, AfxSigCmd_v, void (CCmdTarget::*)(), memberFxn)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                              \
  AFX_CMD_ENTRY(WM_COMMAND, (WORD)(wNotifyCode), id, idLast, AfxSigCmd_RANGE, void (CCmdTarget::*)(UINT), \
                memberFxn)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                \
  AFX_CMD_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, id, AfxSigNotify_v, \
                void (CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                          \
  AFX_CMD_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, idLast, AfxSigNotify_RANGE, \
                void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                              \
  AFX_CMD_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, id, AfxSigNotify_EX, \
                BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                    \
  AFX_CMD_ENTRY(WM_NOTIFY, (WORD)(int)(wNotifyCode), id, idLast, AfxSigNotify_EX, \
                BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), memberFxn)

// Reflected to the control that sent them, before its parent sees them.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                           \
  AFX_CMD_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_v, void(CCmdTarget::*)(), \
                memberFxn)
// The handler returns FALSE to let the parent handle the notification as well.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                        \
  AFX_CMD_ENTRY(WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_b, BOOL(CCmdTarget::*)(), \
                memberFxn)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                            \
  AFX_CMD_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_v, \
                void(CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                         \
  AFX_CMD_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSigNotify_b, \
                BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)

// Control notification shorthands.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define CLBN_CHKCHANGE 40
#define ON_CLBN_CHKCHANGE(id, memberFxn) ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)

// ---- Window messages -----------------------------------------------------------------------------
#define AFX_WM_ENTRY(msg, sig, type, fn) \
  {(UINT)(msg), 0, 0, 0, sig, AfxMsgPtr(static_cast<type>(&ThisClass::fn))},

#define ON_MESSAGE(message, memberFxn) \
  AFX_WM_ENTRY(message, AfxSig_lwl, LRESULT (CWnd::*)(WPARAM, LPARAM), memberFxn)
#define ON_WM_CTLCOLOR_REFLECT() \
  AFX_WM_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_hDw, HBRUSH(CWnd::*)(CDC*, UINT), CtlColor)

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, AfxSig_bs, BOOL (CWnd::*)(LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxSig_vv, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, AfxSig_vv, void (CWnd::*)(), OnNcPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, AfxSig_vii, void (CWnd::*)(int, int), OnMove)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxSig_vw, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_CTLCOLOR() \
  AFX_WM_ENTRY(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, AfxSig_vb, void (CWnd::*)(BOOL), OnEnable)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() \
  AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() \
  AFX_WM_ENTRY(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() \
  AFX_WM_ENTRY(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() \
  AFX_WM_ENTRY(WM_RBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() \
  AFX_WM_ENTRY(WM_MBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY(WM_MBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_NCLBUTTONDOWN() \
  AFX_WM_ENTRY(WM_NCLBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() \
  AFX_WM_ENTRY(WM_NCLBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() \
  AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCMOUSEMOVE() \
  AFX_WM_ENTRY(WM_NCMOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_MOUSEWHEEL() \
  AFX_WM_ENTRY(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, AfxSig_vv, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_SETCURSOR() \
  AFX_WM_ENTRY(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE() \
  AFX_WM_ENTRY(WM_MOUSEACTIVATE, AfxSig_iWww, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() \
  AFX_WM_ENTRY(WM_CAPTURECHANGED, AfxSig_vW, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_CONTEXTMENU() \
  AFX_WM_ENTRY(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_SYSKEYDOWN() \
  AFX_WM_ENTRY(WM_SYSKEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_ENTRY(WM_SYSKEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSCHAR() AFX_WM_ENTRY(WM_SYSCHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysChar)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, AfxSig_wv, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_HSCROLL() \
  AFX_WM_ENTRY(WM_HSCROLL, AfxSig_vwwx, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() \
  AFX_WM_ENTRY(WM_VSCROLL, AfxSig_vwwx, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AfxSig_vv, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, AfxSig_vv, void (CWnd::*)(), OnCancelMode)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, AfxSig_bb, BOOL (CWnd::*)(BOOL), OnNcActivate)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_QUERYDRAGICON() AFX_WM_ENTRY(WM_QUERYDRAGICON, AfxSig_hv, HCURSOR (CWnd::*)(), OnQueryDragIcon)
#define ON_WM_SETTINGCHANGE() \
  AFX_WM_ENTRY(WM_SETTINGCHANGE, AfxSig_vws, void (CWnd::*)(UINT, LPCTSTR), OnSettingChange)
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_INITMENUPOPUP() \
  AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig_vMwb, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT() \
  AFX_WM_ENTRY(WM_MENUSELECT, AfxSig_vwMw, void (CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, AfxSig_lp, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_NCCALCSIZE() \
  AFX_WM_ENTRY(WM_NCCALCSIZE, AfxSig_vbNCCS, void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_DRAWITEM() \
  AFX_WM_ENTRY(WM_DRAWITEM, AfxSig_vOWNER, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() \
  AFX_WM_ENTRY(WM_MEASUREITEM, AfxSig_vMEASURE, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DELETEITEM() \
  AFX_WM_ENTRY(WM_DELETEITEM, AfxSig_vDELETE, void (CWnd::*)(int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_COMPAREITEM() \
  AFX_WM_ENTRY(WM_COMPAREITEM, AfxSig_iCOMPARE, int (CWnd::*)(int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_HELPINFO() AFX_WM_ENTRY(WM_HELP, AfxSig_vHELP, BOOL (CWnd::*)(HELPINFO*), OnHelpInfo)
#define ON_WM_GETMINMAXINFO() \
  AFX_WM_ENTRY(WM_GETMINMAXINFO, AfxSig_vMINMAX, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_PARENTNOTIFY() \
  AFX_WM_ENTRY(WM_PARENTNOTIFY, AfxSig_vwl_PARENT, void (CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_ENTERIDLE() AFX_WM_ENTRY(WM_ENTERIDLE, AfxSig_vwh, void (CWnd::*)(UINT, HWND), OnEnterIdle)
