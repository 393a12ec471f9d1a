// CXTPToolBar: the dockable, floatable button bar. It docks in a dock bar (or floats in a window of
// its own), sizes itself for both, and lets its drag tracker move and resize it. The menu bar and the
// dialog bar derive from it. Created through the manager on the frame's user-interface thread.
#pragma once

#include "CommandBar.h"

class CXTPBarDragTracker;
class CXTPDockBar;
class CXTPPopupBar;

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
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;

  virtual CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0);
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
  void SetShowTextBelowIcons(int nMode);
  BOOL GetShowTextBelowIcons() const { return IsTextBelowIcons(); }
  void ShowExpandButton(BOOL bShow) { m_bShowExpandButton = bShow; }
  BOOL IsExpandButtonShown() const { return m_bShowExpandButton; }
  void OnSetPreviewMode(BOOL bPreview);
  // The "Add or Remove Buttons" list of this bar: one check item per control.
  void FillAddRemoveButtonsList(CXTPPopupBar* pPopup);
  BOOL IsFloating() const { return m_barPosition == xtpBarFloating; }

 protected:
  CSize CalcLayout(DWORD dwMode, int nLength, int nMinExtent);

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnNcActivate(BOOL bActive);
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
