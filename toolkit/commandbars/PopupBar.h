// CXTPPopupBar: the window of an open menu or sub-menu, a command bar of type 2 at position 5 whose
// controls stand in one column; CXTPPopupToolBar holds toolbar buttons in rows instead. A popup opens
// at a control (or a point), places itself on the screen and closes when it leaves tracking.
// User-interface thread only.
#pragma once

#include "CommandBar.h"

class CXTPToolBar;

class CXTPPopupBar : public CXTPCommandBar {
  DECLARE_SERIAL(CXTPPopupBar)

 public:
  CXTPPopupBar();
  ~CXTPPopupBar() override;

  // A new popup bound to the manager (the caller holds its reference).
  static CXTPPopupBar* PASCAL CreatePopupBarForCommandBars(CXTPCommandBars* pCommandBars);

  BOOL Popup(CXTPControlPopup* pControlPopup, BOOL bSelectFirst = FALSE) override;
  // Opens at the screen point, keeping clear of the exclude rectangle; for context menus.
  BOOL PopupAt(int x, int y, LPCRECT rcExclude = nullptr);
  BOOL IsVisible() const override;
  BOOL EnterTracking(int nMode, BOOL bSelectFirst = FALSE, BOOL bKeyboard = FALSE) override;
  void OnRecalcLayout() override { DelayLayout(); }
  CXTPCommandBar* GetParentCommandBar() const override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void DelayLayout() override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
  BOOL DestroyWindow() override;
  virtual void UpdateShortcuts();
  virtual void UpdatePlacementFlags();

  CXTPControlPopup* GetControlPopup() const { return m_pControlPopup; }
  // Index (bByPosition) or command id of the first visible default item; -1 when none.
  int GetDefaultItem(BOOL bByPosition) const;
  void SetTearOffPopup(LPCTSTR lpszCaption, UINT nID, int nWidth = 400);
  BOOL IsTearOffPopup() const { return m_bTearOffPopup; }
  void SetShowShadow(BOOL bShow) { m_bShowShadow = bShow; }
  BOOL GetShowShadow() const { return m_bShowShadow; }
  void SetBorders(CRect rcBorders) { m_rcBorders = rcBorders; }
  // Marks a popup opened by a nested TrackPopupMenu (it alone leaves tracking when a command runs).
  void SetRecursePopup(BOOL bRecurse) { m_bRecursePopup = bRecurse; }
  BOOL IsRecursePopup() const { return m_bRecursePopup; }
  BOOL GetDoubleGripper() const { return m_bDoubleGripper; }
  // TrackPopupMenu's TPM_RIGHTBUTTON: the right button selects as the left does.
  BOOL IsRightButtonSelect() const { return m_bRightButtonSelect; }
  void SetRightButtonSelect(BOOL bSelect) { m_bRightButtonSelect = bSelect; }
  // TrackPopupMenu's TPM_RIGHTALIGN: the popup opens to the left of its point.
  void SetPopupLeft(BOOL bLeft) { m_bPopupLeft = bLeft; }
  // TrackPopupMenu's TPM_NONOTIFY: the site hears nothing of this popup.
  void SetNoNotify(BOOL bNoNotify) { m_bNoNotify = bNoNotify; }
  // Shows the commands that are collapsed as rarely used.
  void ExpandBar();
  void SetDoubleGripper(BOOL bDoubleGripper) { m_bDoubleGripper = bDoubleGripper; }

 protected:
  BOOL CreatePopupWindow();
  // The screen rectangle for a popup of the given size, from anchor, exclude rectangle and flags.
  CRect CalcPopupRect(CSize sz);
  void UpdateLocation(CSize sz);

  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

  CXTPControlPopup* m_pControlPopup = nullptr;
  CPoint m_ptPopup = CPoint(0, 0);
  CRect m_rcExclude;
  int m_popupFlags = 0;
  BOOL m_bDynamicLayout = FALSE;
  BOOL m_bExpandButtonNeeded = FALSE;
  BOOL m_bFullMenuShown = FALSE;
  BOOL m_bExpanding = FALSE;
  BOOL m_bTearOffPopup = FALSE;
  CRect m_rcTearOffGripper;
  CSize m_szTearOffBar = CSize(0, 0);
  CXTPToolBar* m_pTearOffBar = nullptr;
  CString m_strTearOffCaption;
  UINT m_nTearOffID = 0;
  int m_nTearOffWidth = 0;
  BOOL m_bShowShadow = TRUE;
  CRect m_rcBorders = CRect(2, 4, 2, 4);
  BOOL m_bDoubleGripper = FALSE;
  BOOL m_bRecursePopup = FALSE;
  BOOL m_bRightButtonSelect = FALSE;
  BOOL m_bPopupLeft = FALSE;
  BOOL m_bNoNotify = FALSE;

  DECLARE_MESSAGE_MAP()
};

class CXTPPopupToolBar : public CXTPPopupBar {
  DECLARE_SERIAL(CXTPPopupToolBar)

 public:
  CXTPPopupToolBar();
  static CXTPPopupToolBar* PASCAL CreatePopupToolBar(CXTPCommandBars* pCommandBars);
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
};
