// CXTPBarThemeNative: theme number 3, the main frame's theme. It draws bars, buttons, grippers, combo
// boxes and the status bar with the system's visual styles and falls back to theme 0, part by part,
// wherever a visual-style class could not be opened or drawing a part failed (or faulted inside the
// visual-style library). User-interface thread only.
#pragma once

#include "BarTheme3D.h"

#include <ThemeHandle.h>

class CXTPBarThemeNative : public CXTPBarTheme3D {
  DECLARE_DYNCREATE(CXTPBarThemeNative)

 public:
  // Works through the process's visual-style binding.
  CXTPBarThemeNative();
  // Works through pStyles (which must outlive the theme); a binding whose library is missing makes
  // every part fall back to theme 0.
  explicit CXTPBarThemeNative(CXTVisualStyles* pStyles);

  void RefreshMetrics() override;
  void DrawControlFrame(CDC* pDC, CRect rc, int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                        BOOL bPopuped, BOOL bToolBar, XTPBarPosition barPosition) override;
  void DrawSplitButtonFrame(CDC* pDC, CXTPControl* pControl, CRect rc) override;
  void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) override;
  CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw = TRUE) override;
  CSize DrawDialogBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
  void AdjustExcludeRect(CRect& rc, CXTPControl* pControl, BOOL bVertical) override;
  void FillDockBar(CDC* pDC, CXTPDockBar* pBar) override;
  void FillStatusBar(CDC* pDC, CXTPStatusBar* pBar) override;
  void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, BOOL bGripperPane) override;
  void DrawStatusBarGripper(CDC* pDC, CRect rcClient) override;
  void DrawControlEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int bSelected) override;
  void DrawComboDropDown(CDC* pDC, CRect rcBtn, BOOL bEnabled, int bSelected, BOOL bDropped) override;
  int GetThemeType() const override { return xtpThemeNative; }

  // Whether the parts of each class draw with visual styles now.
  BOOL IsToolBarThemed() { return m_themeToolBar.IsAppThemed(); }
  BOOL IsRebarThemed() { return m_themeRebar.IsAppThemed(); }
  BOOL IsComboBoxThemed() { return m_themeComboBox.IsAppThemed(); }
  BOOL IsStatusThemed() { return m_themeStatus.IsAppThemed(); }
  BOOL IsFlatMenus() const { return m_bFlatMenus; }
  COLORREF GetRebarEdgeShadowColor() const { return m_clrEdgeShadow; }

  // The state of the toolbar button background for a control's state (visual-style states 1 to 6).
  static int PASCAL GetButtonState(int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked, BOOL bPopuped);
  // The state of the split button's main part.
  static int PASCAL GetSplitButtonState(int bSelected, int bPressed, BOOL bEnabled, BOOL bChecked,
                                        BOOL bPopuped);

 protected:
  // Opens the four classes for hWnd and reads the colours they supply.
  void OpenThemeHandles(HWND hWnd);
  // A theme set while the main frame is still being created has no main window to open its classes
  // for: they open for the first window it measures or draws.
  void EnsureThemeHandles(const CWnd* pWnd);
  // The rebar background over pWnd's client area, continuing across pParent's rectangle when given.
  void FillRebarBackground(CDC* pDC, const CWnd* pWnd, const CWnd* pParent);

  CXTThemeHandle m_themeRebar;
  CXTThemeHandle m_themeToolBar;
  CXTThemeHandle m_themeComboBox;
  CXTThemeHandle m_themeStatus;
  COLORREF m_clrEdgeShadow;
  BOOL m_bFlatMenus = TRUE;
  BOOL m_bOpenPending = FALSE;
};
