// Numbers shared by every part of the command bars: control, bar and position kinds, the private
// window messages that bars and controls send to the frame (the "site"), and the records they carry.
// The message numbers and record layouts are fixed: the application's handlers depend on them.
#pragma once

#include <afxole.h>
#include <afxwin.h>

#include <ToolkitResource.h>

#include <algorithm>
#include <type_traits>

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;

// Kinds of controls (the persisted "Type").
enum XTPControlType {
  xtpControlError = 0,
  xtpControlButton = 1,
  xtpControlPopup = 2,
  xtpControlButtonPopup = 3,
  xtpControlSplitButtonPopup = 4,
  xtpControlComboBox = 5,
  xtpControlEdit = 6,
  xtpControlCustom = 7,
  xtpControlLabel = 8,
};

// Kinds of bars (the persisted "Type").
enum XTPBarType {
  xtpBarTypeMenuBar = 0,
  xtpBarTypeNormal = 1,
  xtpBarTypePopup = 2,
};

// Where a bar is (the persisted "Position").
enum XTPBarPosition {
  xtpBarTop = 0,
  xtpBarBottom = 1,
  xtpBarLeft = 2,
  xtpBarRight = 3,
  xtpBarFloating = 4,
  xtpBarPopup = 5,
  xtpBarListBox = 6,
  xtpBarNone = 7,
};

// How a control shows itself (the persisted "Style").
enum XTPButtonStyle {
  xtpButtonAutomatic = 0,
  xtpButtonCaption = 1,
  xtpButtonIcon = 2,
  xtpButtonIconAndCaption = 3,
};

// Control "HideFlags".
enum XTPControlHideFlags {
  xtpNoHide = 0x00,
  xtpHideGeneric = 0x01,
  xtpHideWrap = 0x02,
  xtpHideDockingPosition = 0x04,
  xtpHideScroll = 0x08,
  xtpHideCustomize = 0x10,
  xtpHideExpand = 0x20,
  xtpHideDocTemplate = 0x40,
};

// Control "Flags".
enum XTPControlFlags {
  xtpFlagRightAlign = 0x01,
  xtpFlagSkipFocus = 0x02,
  xtpFlagLeftPopup = 0x04,
  xtpFlagManualUpdate = 0x08,
  xtpFlagNoMovable = 0x10,
  xtpFlagControlStretched = 0x20,
  xtpFlagShowPopupBarTip = 0x40,
};

// Toolbar docking "Flags".
enum XTPToolBarFlags {
  xtpFlagAlignTop = 0x01,
  xtpFlagAlignBottom = 0x02,
  xtpFlagAlignLeft = 0x04,
  xtpFlagAlignRight = 0x08,
  xtpFlagAlignAny = 0x0F,
  xtpFlagFloating = 0x10,
  xtpFlagHideWrap = 0x20,
  xtpFlagStretched = 0x40,
  xtpFlagStretchedShared = 0x100000,
};

// Layout mode bits of the bars' size calculations beyond the framework's LM_ values.
#define LM_HIDEWRAP 0x80  // what does not fit is hidden instead of wrapped
#define LM_POPUP 0x100    // every group starts a new row, the MRU width is used

// Toolbar and manager commands with fixed numbers (the customize command, XTP_ID_CUSTOMIZE, is in
// ToolkitResource.h with its prompt).
#define XTP_ID_WINDOWLIST 35000
#define XTP_ID_WORKSPACE_ACTIONS 35002
#define XTP_ID_FILE_MRU 35003
#define XTP_ID_TOOLBARLIST 0xE800
#define XTP_ID_TOOLBAR_EXPAND 9400
#define XTP_ID_TOOLBAR_HIDE 9401
#define XTP_ID_POPUPBAR_EXPAND 9402

// Notification code of a control that runs, carried by XTP_WM_COMMANDNOTIFY.
#define CBN_XTP_EXECUTE 100

// ---- Private messages to the site ----------------------------------------------------------------
#define XTP_WM_TOOLBARVISIBLECHANGED 0x2855  // wParam the bar, lParam the visible flag
#define XTP_WM_CONTROLSELECTED 0x2856        // wParam the control, or 0 when deselected
#define XTP_WM_DRAGCONTROLCHANGED 0x2857     // to the customize sheet, else the site
#define XTP_WM_MENUBARTRACKING 0x2858        // wParam the menu bar that enters tracking
#define XTP_WM_CONTROLRBUTTONUP 0x2859       // wParam a POINT*, lParam the control; 1 = handled
#define XTP_WM_TRACKINGKEY 0x285A            // wParam a UINT* key, lParam the bar
#define XTP_WM_INITPOPUP 0x285B              // lParam the popup about to be placed
#define XTP_WM_TOOLBARCONTEXTMENU 0x285C     // lParam the context popup about to open
#define XTP_WM_POPUPCLOSED 0x285D            // lParam the popup that closed
#define XTP_WM_BEFORECREATECONTROL 0x285E    // lParam an XTP_COMMANDBARS_CREATECONTROL*
#define XTP_WM_AFTERCREATECONTROL 0x285F     // lParam the same record, now holding the control
#define XTP_WM_GETMDIICON 0x2860             // to the active child: its menu-bar icon
#define XTP_WM_CREATECOMMANDBAR 0x2861       // lParam an XTP_COMMANDBARS_CREATEBAR*
#define XTP_WM_COMMANDNOTIFY 0x2862          // wParam the id, lParam an NMXTPCONTROL*
#define XTP_WM_EDITNOTIFY 0x2872             // posted edit notification

// The notification record of XTP_WM_COMMANDNOTIFY: headed like a notify header, so the frame routes
// it into its command handlers as a WM_NOTIFY code.
struct NMXTPCONTROL {
  NMHDR hdr;
  CXTPControl* pControl;
};

// The record of XTP_WM_CREATECOMMANDBAR. The site may put a bar of its own into pCommandBar and
// answer non-zero; the other fields say what is being made.
struct XTP_COMMANDBARS_CREATEBAR {
  CXTPCommandBar* pCommandBar;  // in/out
  BOOL bPopup;                  // a popup for an imported menu item
  BOOL bExpandBar;              // the popup of a toolbar's expand button
  BOOL bCustomBar;              // a toolbar the user (or a tear-off) makes
  BOOL bTearOffBar;
  LPCTSTR lpcstrCaption;
  UINT nID;
};

// The record of XTP_WM_BEFORECREATECONTROL and XTP_WM_AFTERCREATECONTROL. Before: the site may change
// the id, caption, type and style, or supply a ready control. After: pControl holds the new control.
struct XTP_COMMANDBARS_CREATECONTROL {
  int nID;                      // in/out
  CXTPControl* pControl;        // out
  BOOL bToolBar;                // from a toolbar resource (else from a menu)
  int nIndex;                   // position of the item in its menu or id list
  CMenu* pMenu;                 // the menu being imported, or NULL
  CXTPCommandBar* pCommandBar;  // the bar that receives the control
  CString strCaption;           // in/out
  XTPControlType controlType;   // in/out
  XTPButtonStyle buttonStyle;   // in/out
};

// Counts of live toolkit objects by kind, for leak checks: every constructor adds one (with an
// interlocked increment), every destructor takes one away.
struct XTPLiveObjectCounts {
  LONG nControls;
  LONG nControlCollections;
  LONG nCommandBars;
  LONG nCommandBarsManagers;
  LONG nThemes;
};
XTPLiveObjectCounts* AFXAPI XTPGetLiveObjectCounts();

// Makes a held pointer of a reference-counted object point at pNew and releases what it held before,
// after the swap, so that a release reaching back finds the new value. With bAddRef the holder takes a
// reference of its own; without, it takes over the caller's. FALSE when pNew was held already.
template <class T>
BOOL XTPReplaceHeld(T*& pHeld, typename std::common_type<T*>::type pNew, BOOL bAddRef) {
  if (pHeld == pNew) return FALSE;
  if (bAddRef && pNew != nullptr) pNew->InternalAddRef();
  T* pOld = pHeld;
  pHeld = pNew;
  if (pOld != nullptr) pOld->InternalRelease();
  return TRUE;
}
