// CXTPMenuBar: the bar that replaces the frame's own menu. It loads a menu resource into controls,
// takes the menu away from the frame, watches the frame's (and an MDI client's and active child's)
// messages through window hooks, turns Alt and F10 into keyboard tracking, swaps its controls when an
// MDI frame changes menus and shows a maximised child's system menu and window buttons. Created by the
// manager on the frame's user-interface thread.
#pragma once

#include "ToolBar.h"

class CXTPMenuBar : public CXTPToolBar {
  DECLARE_SERIAL(CXTPMenuBar)

 public:
  CXTPMenuBar();
  ~CXTPMenuBar() override;

  // Fills the bar from the menu resource (0: keeps the controls), hooks the frame and takes its menu
  // away. FALSE, with nothing hooked and the frame's menu left, when the menu is missing.
  BOOL LoadMenuBar(UINT nIDResource);
  void DoPropExchange(CXTPPropExchange* pPX) override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  void GenerateCommandBarList(DWORD& nID, CXTPCommandBarList* pCommandBarList,
                              XTP_COMMANDBARS_PROPEXCHANGE_PARAM* pParam) override;
  void RestoreCommandBarList(CXTPCommandBarList* pCommandBarList, int nDepth = 0) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
  void ResetToolBar() override;
  // The frame's, the MDI client's and the active child's messages; keys go to the bar base.
  int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

  UINT GetResourceId() const { return m_nIDResource; }
  UINT GetCurrentMenuId() const { return m_nIDResourceCurrent; }
  // Whether the menu sets of documents are held (a bar with document menus is saved even unchanged).
  BOOL HasDocumentMenus() const { return m_mapMenus.GetCount() > 0; }
  HMENU GetDefaultMenu() const { return m_hMenuDefault; }
  // Re-hooks the active MDI child when it changed and, while the bar is visible, updates the
  // maximised child's controls.
  void RefreshMdiState();
  // The active MDI child (NULL outside an MDI frame); *pbMaximized tells whether it is maximised.
  HWND GetActiveMdiChild(BOOL* pbMaximized) const;
  // Shows the controls of a new frame menu (MDI): the set stored for its menu id, else one made from
  // the menu; the current set is kept under the current id.
  void SwitchMenu(HMENU hMenu);
  // Before the state is saved: back to the frame's menu, and menu sets that equal their reference set
  // are dropped.
  void PrepareForSave();
  // After the state was saved: when PrepareForSave switched the bar, the frame's menu is refreshed, which
  // brings back the active document's menu.
  void RefreshAfterSave();

  // Timer posted by the hooks for RefreshMdiState.
  enum { TID_REFRESHMDI = 12223 };

 protected:
  void UpdateMdiControls();
  void RemoveMdiControl(int nId);
  // A control set made from a menu, with its reference copy.
  CXTPControls* ControlsFromMenu(HMENU hMenu);
  void ReleaseMenuSets();
  void HookWindow(HWND& hWndHooked, HWND hWnd);

  afx_msg void OnTimer(UINT_PTR nIDEvent);

  HWND m_hWndMDIClient = nullptr;
  HWND m_hWndFrame = nullptr;
  HWND m_hWndHookedChild = nullptr;
  HMENU m_hMenuDefault = nullptr;
  BOOL m_bOwnMenuDefault = FALSE;
  UINT m_nIDResource = 0;
  UINT m_nIDResourceCurrent = 0;
  CMap<UINT, UINT, CXTPControls*, CXTPControls*> m_mapMenus;
  BOOL m_bSwitchedForSave = FALSE;
  BOOL m_bMdiApp = FALSE;
  HMENU m_hSystemMenuImported = nullptr;

  DECLARE_MESSAGE_MAP()
};

// The button of a maximised MDI child's window command (minimise, restore, close): draws its glyph in
// the "Marlett" font and posts the command to the active child.
class CXTPControlMDIButton : public CXTPControlButton {
  DECLARE_SERIAL(CXTPControlMDIButton)

 public:
  CXTPControlMDIButton();

  void OnExecute() override;
  void Draw(CDC* pDC) override;
  CSize GetSize(CDC* pDC) override;
};

// The maximised MDI child's system menu at the start of the menu bar, drawn as the child's icon.
class CXTPControlMDISysMenuPopup : public CXTPControlPopup {
  DECLARE_SERIAL(CXTPControlMDISysMenuPopup)

 public:
  CXTPControlMDISysMenuPopup();
  ~CXTPControlMDISysMenuPopup() override;

  void Draw(CDC* pDC) override;
  CSize GetSize(CDC* pDC) override;
  void AdjustExcludeRect(CRect& rc) override;
  // Takes over the icon (destroyed with the control or the next icon).
  void SetIcon(HICON hIcon);
  HICON GetIcon() const { return m_hIcon; }
  HMENU m_hSystemMenu = nullptr;

 protected:
  HICON m_hIcon = nullptr;
};
