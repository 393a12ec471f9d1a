// CXTPToolBar: the dockable, floatable button bar. It loads itself from a toolbar resource, docks in a
// dock bar (or floats in a window of its own), sizes itself for both, shows an expand button with the
// buttons that did not fit and the "Add or Remove Buttons" list, a close button while it floats, and
// hides during print preview. The menu bar and the dialog bar derive from it. Created through the
// manager on the frame's user-interface thread; only that thread touches it.
#pragma once

#include "CommandBar.h"
#include "ControlButton.h"
#include "ControlPopup.h"

class CXTPBarDragTracker;
class CXTPDockBar;
class CXTPPopupBar;
class CXTPToolBar;

class CXTPToolBar : public CXTPCommandBar {
  DECLARE_SERIAL(CXTPToolBar)

 public:
  CXTPToolBar();
  ~CXTPToolBar() override;

  BOOL LoadToolBar(UINT nIDResource, BOOL bLoadImages = TRUE) override;
  void SetVisible(BOOL bVisible) override;
  BOOL IsVisible() const override { return m_bVisible; }
  BOOL SetPosition(XTPBarPosition barPosition) override;
  void OnRecalcLayout() override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  int OnKeyNavigate(UINT nChar) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

  // The docked size (layout mode bits as the controls' layout takes them; 0x40 commits).
  virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
  // After the user confirms: the built-in buttons come back (the reference set, else the resource).
  virtual void ResetToolBar();
  // Creates the window when needed and makes it a child (docked) or a floating popup owned by
  // pParent. FALSE only when creation fails.
  virtual BOOL CreateToolBarWindow(CWnd* pParentWnd, BOOL bFloating);

  // Makes the drag tracker (when missing) and stores the docking flags.
  void EnableDocking(DWORD dwFlags);
  CXTPDockBar* GetDockBar() const { return m_pDockBar; }
  void SetDockBar(CXTPDockBar* pDockBar) { m_pDockBar = pDockBar; }
  CXTPBarDragTracker* GetDragTracker() const { return m_pDockContext; }
  BOOL IsBuiltIn() const { return m_bBuiltIn; }
  void SetBuiltIn(BOOL bBuiltIn) { m_bBuiltIn = bBuiltIn; }
  BOOL IsTearOff() const { return m_bTearOff; }
  void SetTearOff(BOOL bTearOff) { m_bTearOff = bTearOff; }
  // 0 off, 1 on, 2 follow the options' "ShowTextBelowIcons"; the layout follows.
  void SetShowTextBelowIcons(int nMode);
  BOOL GetShowTextBelowIcons() const { return IsTextBelowIcons(); }
  void ShowExpandButton(BOOL bShow) { m_bShowExpandButton = bShow; }
  BOOL IsExpandButtonShown() const { return m_bShowExpandButton; }
  void OnSetPreviewMode(BOOL bPreview);
  // The "Add or Remove Buttons" list of this bar: one check item per control, and "Reset".
  void FillAddRemoveButtonsList(CXTPPopupBar* pPopup);
  BOOL IsFloating() const { return m_barPosition == xtpBarFloating; }
  // The expand button (9400) and the close button (9401), made on first need (bCreate) and kept.
  CXTPControl* GetExpandButton(BOOL bCreate);
  CXTPControl* GetCloseButton(BOOL bCreate);

  // The tool-tip answer shared by every bar: the control under the point and its tip, or -1.
  static INT_PTR PASCAL BarToolHitTest(const CXTPCommandBar* pBar, CPoint point, TOOLINFO* pTI);
  // The floating-window activation of a bar or popup window just created with MFS_SYNCACTIVE.
  static void PASCAL SyncActivationOnCreate(CWnd* pWnd);

 protected:
  CSize CalcLayout(DWORD dwMode, int nLength, int nMinExtent);
  CRect GetDockingBorders(CDC* pDC);
  // Takes away every control the user hid (hide bit 0x10) and puts back copies of the reference
  // controls that are missing, hidden the same way, so the list shows every built-in button.
  void MergeReferenceControls();

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnClose() {}

  CXTPDockBar* m_pDockBar = nullptr;
  CXTPBarDragTracker* m_pDockContext = nullptr;
  BOOL m_bBuiltIn = TRUE;
  BOOL m_bTearOff = FALSE;
  BOOL m_bPreviewVisible = FALSE;
  BOOL m_bPreviewMode = FALSE;
  BOOL m_bShowExpandButton = TRUE;

  friend class CXTPDockBar;
  friend class CXTPCommandBars;

  DECLARE_MESSAGE_MAP()
};

// The expand button at the end of a toolbar (9400): opens a popup with the buttons that did not fit
// and the "Add or Remove Buttons" list. Never begins a group, never shows a caption.
class CXTPToolBarExpandPopup : public CXTPControlPopup {
  DECLARE_SERIAL(CXTPToolBarExpandPopup)

 public:
  CXTPToolBarExpandPopup();

  void SetBeginGroup(BOOL /*bBeginGroup*/) override {}
  // Also records whether a control of the bar was dropped for lack of room.
  void SetRect(CRect rcControl) override;
  BOOL IsCaptionVisible() override { return FALSE; }
  void Draw(CDC* pDC) override;
  BOOL SetPopuped(BOOL bPopuped) override;
  BOOL HasHiddenControls() const { return m_bHiddenControls; }

 protected:
  BOOL m_bHiddenControls = FALSE;
};

// The close button of a floating toolbar's caption (9401): hides its bar.
class CXTPToolBarCloseButton : public CXTPControlButton {
  DECLARE_SERIAL(CXTPToolBarCloseButton)

 public:
  CXTPToolBarCloseButton();

  void SetBeginGroup(BOOL /*bBeginGroup*/) override {}
  void OnExecute() override;
  void Draw(CDC* pDC) override;
};

// One entry of the "Add or Remove Buttons" list: a check item that shows or hides a control of the
// bar (hide bit 0x10), or, without a control, the list's "Reset", which resets the bar. The popup stays
// open while entries are toggled.
class CXTPToolBarButtonEntry : public CXTPControlButton {
  DECLARE_SERIAL(CXTPToolBarButtonEntry)

 public:
  CXTPToolBarButtonEntry();
  ~CXTPToolBarButtonEntry() override;

  void SetTarget(CXTPToolBar* pToolBar, CXTPControl* pControl);
  CXTPControl* GetTargetControl() const { return m_pTarget; }
  void OnExecute() override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;

 protected:
  CXTPToolBar* m_pToolBar = nullptr;
  CXTPControl* m_pTarget = nullptr;
};
