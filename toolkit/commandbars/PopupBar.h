// CXTPPopupBar: the window of an open menu or sub-menu, a command bar of type 2 at position 5 whose
// controls stand in one column; CXTPPopupToolBar holds toolbar buttons in rows instead. A popup opens
// at a control (or a point), places itself on the screen and its monitor, scrolls when it is taller
// than the screen, collapses rarely used commands behind an expand item, animates, casts a shadow and
// can be torn off into a floating toolbar; it closes when it leaves tracking.
// Created and touched only by the user-interface thread of its manager.
#pragma once

#include "CommandBar.h"
#include "ControlButton.h"

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
  BOOL SetSelected(int nSelected, BOOL bKeyboard = FALSE) override;
  void OnRecalcLayout() override { DelayLayout(); }
  CXTPCommandBar* GetParentCommandBar() const override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  int OnKeyNavigate(UINT nChar) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void DrawCommandBar(CDC* pDC) override;
  // For an open popup: lays out and places the window again at once.
  void DelayLayout() override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
  BOOL DestroyWindow() override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
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
  void SetDoubleGripper(BOOL bDoubleGripper) { m_bDoubleGripper = bDoubleGripper; }
  // TrackPopupMenu's TPM_RIGHTBUTTON: the right button selects as the left does.
  BOOL IsRightButtonSelect() const { return m_bRightButtonSelect; }
  void SetRightButtonSelect(BOOL bSelect) { m_bRightButtonSelect = bSelect; }
  // TrackPopupMenu's TPM_RIGHTALIGN: the popup opens to the left of its point.
  void SetPopupLeft(BOOL bLeft) { m_bPopupLeft = bLeft; }
  // TrackPopupMenu's TPM_NONOTIFY: the site hears nothing of this popup.
  void SetNoNotify(BOOL bNoNotify) { m_bNoNotify = bNoNotify; }
  // Shows the commands that are collapsed as rarely used.
  void ExpandBar();
  BOOL IsExpandButtonNeeded() const { return m_bExpandButtonNeeded; }
  BOOL IsFullMenuShown() const { return m_bFullMenuShown; }
  BOOL IsScrolling() const { return m_bScrolling; }
  int GetFirstVisible() const { return m_nFirstVisible; }
  int GetEndVisible() const { return m_nEndVisible; }
  CRect GetTearOffRect() const { return m_rcTearOffGripper; }
  CXTPToolBar* GetTearOffBar() const { return m_pTearOffBar; }
  // The mouse wheel while the popup tracks: a scrolling popup moves by one control a notch.
  void ScrollByWheel(int nDelta);
  // The collapse rules: marks the rarely used controls of this popup and hides them unless the menu
  // shows in full; sets whether the expand item is needed.
  void UpdateExpandingState();
  // The animation the popup opens with: 2 unfold, 3 slide, 4 fade, 5 none.
  int GetAnimationType() const;

  // Placement flags: the popup extends to the left of its anchor; it drops below its control.
  enum { xtpPopupLeft = 0x01, xtpPopupDown = 0x02 };
  // The screen rectangle for a popup of size sz in the work area rcWork, placed from ptAnchor and
  // clear of rcExclude (empty for a context menu). Updates the anchor and the flags; *pbCut tells
  // whether the popup had to be made shorter to fit.
  static CRect PASCAL CalcPopupPlacement(CSize sz, CPoint& ptAnchor, const CRect& rcExclude, int& nFlags,
                                         const CRect& rcWork, BOOL* pbCut);
  // Timers of the scroll arrows, the tear-off strip and the expand delay.
  enum { TID_SCROLLDOWN = 5001, TID_SCROLLUP = 5002, TID_TEAROFF = 5003, TID_SHOWFULL = 5004 };

 protected:
  BOOL CreatePopupWindow();
  // The screen rectangle for a popup of the given size, from anchor, exclude rectangle and flags, on
  // the monitor that holds them; turns scrolling on when a menu is cut.
  CRect CalcPopupRect(CSize sz);
  void UpdateLocation(CSize sz);
  // Lays the controls out for scrolling, down from the first visible one or up from the end one.
  void LayoutScrollDown(CSize szWindow);
  void LayoutScrollUp(CSize szWindow);
  void RelayoutScrolling(BOOL bDown);
  // The current shadow goes and a new one follows the window (position 5 with "ShowShadow").
  void UpdateShadow();
  // Plays the opening animation over the window, when one is due.
  void AnimateOpening();
  // The tear-off drag: the popup turns into a floating toolbar while the cursor is away from the strip.
  void TrackTearOff();
  CXTPControl* GetExpandButton(BOOL bCreate);
  void DrawScrollArrow(CDC* pDC, const CRect& rc, BOOL bUp);

  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);

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
  BOOL m_bTearOffSelected = FALSE;
  BOOL m_bTearOffTracking = FALSE;
  CSize m_szTearOffBar = CSize(0, 0);
  CXTPToolBar* m_pTearOffBar = nullptr;
  CString m_strTearOffCaption;
  UINT m_nTearOffID = 0;
  int m_nTearOffWidth = 0;
  BOOL m_bShowShadow = TRUE;
  CRect m_rcBorders = CRect(2, 4, 2, 4);
  BOOL m_bDoubleGripper = FALSE;
  BOOL m_bScrolling = FALSE;
  int m_nFirstVisible = 0;
  int m_nEndVisible = 0;
  CRect m_rcScrollDown;
  CRect m_rcScrollUp;
  BOOL m_bRecursePopup = FALSE;
  BOOL m_bRightButtonSelect = FALSE;
  BOOL m_bPopupLeft = FALSE;
  BOOL m_bNoNotify = FALSE;

  friend class CXTPPopupBarExpandButton;

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

// The expand item at the bottom of a menu whose rarely used commands are collapsed (9402): running it
// shows the full menu.
class CXTPPopupBarExpandButton : public CXTPControlButton {
  DECLARE_SERIAL(CXTPPopupBarExpandButton)

 public:
  CXTPPopupBarExpandButton();

  void OnExecute() override;
  void Draw(CDC* pDC) override;
  BOOL OnSetSelected(int bSelected) override;
};
