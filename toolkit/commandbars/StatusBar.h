// CXTPStatusBar and its panes: the frame's status bar, a control bar over the common status control
// whose panes are objects of their own (visibility, icon, colours, alignment, own font) and whose
// painting goes through the paint theme. Created by the frame on its user-interface thread.
#pragma once

#include <afxext.h>

class CXTPBarTheme;
class CXTPCommandBars;
class CXTPImageManager;
class CXTPImageManagerIcon;
class CXTPStatusBar;

class CXTPStatusBarPane : public CCmdTarget {
  DECLARE_DYNCREATE(CXTPStatusBarPane)

 public:
  CXTPStatusBarPane();
  ~CXTPStatusBarPane() override;

  // ---- Virtual operations, in their slot order ----
  // The pane's own font when it has one, else the bar's.
  virtual CFont* GetTextFont();
  // The icon of IconId from the bar's image manager (any width); NULL without an icon.
  virtual CXTPImageManagerIcon* GetImage();
  // Hands the pane to the theme's pane drawing.
  virtual void Draw(CDC* pDC, CRect rcItem);

  UINT GetID() const { return m_nID; }
  UINT GetStyle() const { return m_nStyle; }
  CString GetText() const { return m_strText; }
  int GetWidth() const { return m_cxText; }
  BOOL IsVisible() const { return m_bVisible; }
  COLORREF GetTextColor() const { return m_clrText; }
  COLORREF GetBackgroundColor() const { return m_clrBackground; }
  // 0 left, 1 centre, 2 right.
  int GetTextAlignment() const { return m_nAlignment; }
  int GetIconId() const { return m_nIconId; }
  CXTPStatusBar* GetStatusBar() const { return m_pStatusBar; }

  UINT m_nID = 0;
  int m_cxText = 0;
  UINT m_nStyle = 0;
  UINT m_nFlags = 0;
  CString m_strText;
  BOOL m_bVisible = TRUE;
  COLORREF m_clrText = COLORREF(-1);
  COLORREF m_clrBackground = COLORREF(-1);
  CString m_strToolTip;
  HWND m_hWndChild = nullptr;
  BOOL m_bAutoDeleteWnd = FALSE;
  int m_nAlignment = 0;
  CXTPStatusBar* m_pStatusBar = nullptr;
  int m_nIndex = -1;
  int m_nVisibleIndex = -1;
  CFont m_fontText;
  int m_nIconId = -1;
};

class CXTPStatusBar : public CControlBar {
  DECLARE_DYNCREATE(CXTPStatusBar)

 public:
  CXTPStatusBar();
  ~CXTPStatusBar() override;

  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  CFont* GetBarFont() { return &m_fontBar; }
  BOOL GetDrawDisabledText() const { return m_bDrawDisabledText; }
  void SetDrawDisabledText(BOOL bDraw) { m_bDrawDisabledText = bDraw; }
  // NULL while the bar paints as the common control does.
  CXTPBarTheme* GetPaintManager() const;
  CXTPImageManager* GetImageManager() const;
  void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }

 protected:
  CArray<CXTPStatusBarPane*, CXTPStatusBarPane*> m_arrPanes;
  int m_nMinHeight = 0;
  CFont m_fontBar;
  BOOL m_bDrawDisabledText = TRUE;
  CXTPCommandBars* m_pCommandBars = nullptr;
  BOOL m_bUsePaintTheme = TRUE;
};
