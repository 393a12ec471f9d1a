// CXTPStatusBar and its panes: the frame's status bar, a control bar over the common status control
// whose panes are objects of their own (visibility, icon, colours, alignment, own font, tool tip, a
// child window) and whose painting goes through the paint theme. Created by the frame on its
// user-interface thread; only that thread touches it.
#pragma once

#include <afxext.h>

class CXTPBarTheme;
class CXTPCommandBars;
class CXTPImageManager;
class CXTPImageManagerIcon;
class CXTPStatusBar;
class CXTPTipSettings;

// One pane; reference counted, owned by its bar (the bar releases it when it is removed).
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
  CString GetTooltip() const { return m_strToolTip; }
  HWND GetChildWindow() const { return m_hWndChild; }
  int GetIndex() const { return m_nIndex; }
  int GetVisibleIndex() const { return m_nVisibleIndex; }
  CXTPStatusBar* GetStatusBar() const { return m_pStatusBar; }

  // The setters re-lay the bar out (or repaint it) as their field needs.
  void SetVisible(BOOL bVisible);
  void SetTextColor(COLORREF clrText);
  void SetBackgroundColor(COLORREF clrBackground);
  void SetTextAlignment(int nAlignment);
  void SetTooltip(LPCTSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
  // An icon of the bar's image manager; -1 removes it. The width grows by the icon.
  void SetIconId(int nIconId);
  // A font of the pane's own (NULL goes back to the bar's); the width is measured again.
  void SetTextFont(const LOGFONT* pLogFont);
  // A control placed inside the pane; with bAutoDelete its window object is deleted with the pane.
  void SetChildWindow(CWnd* pWnd, BOOL bAutoDelete = FALSE);

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

  // m_nFlags: the text was stored but not yet given to the common control.
  enum { xtpPaneTextPending = 1 };
};

class CXTPStatusBar : public CControlBar {
  DECLARE_DYNCREATE(CXTPStatusBar)

 public:
  CXTPStatusBar();
  ~CXTPStatusBar() override;

  // The window is the common status control; style keeps the control-bar bits (CBRS_*) as the bar
  // style, the rest goes to the window. FALSE on failure.
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                      UINT nID = AFX_IDW_STATUS_BAR);
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);

  // One pane per id (0: the message pane, a quarter of the screen wide; the first one stretches and
  // has no border); the others take the text of their string resource. FALSE when a string is
  // missing: the panes made so far stay and are laid out.
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
  void RemoveAll();

  CXTPStatusBarPane* GetPane(int nIndex) const;
  int GetPaneCount() const { return static_cast<int>(m_arrPanes.GetSize()); }
  int GetVisiblePaneCount() const;
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  // The first visible pane whose rectangle holds the client point (its rectangle copied out when
  // asked); NULL when none.
  CXTPStatusBarPane* HitTest(CPoint pt, CRect* lpRect = nullptr) const;
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
  // The content width of a pane from its text (in its font) and icon.
  int CalcPaneWidth(CXTPStatusBarPane* pPane);

  CFont* GetBarFont() { return &m_fontBar; }
  BOOL GetDrawDisabledText() const { return m_bDrawDisabledText; }
  void SetDrawDisabledText(BOOL bDraw) { m_bDrawDisabledText = bDraw; }
  // NULL while the bar paints as the common control does.
  CXTPBarTheme* GetPaintManager() const;
  CXTPImageManager* GetImageManager() const;
  void SetCommandBars(CXTPCommandBars* pCommandBars) { m_pCommandBars = pCommandBars; }
  BOOL IsUsePaintTheme() const { return m_bUsePaintTheme; }
  // 0 lets the common control paint itself.
  void SetUsePaintTheme(BOOL bUse);
  int GetMinHeight() const { return m_nMinHeight; }
  CXTPTipSettings* GetToolTipContext() const { return m_pToolTipContext; }

  // ---- Overrides, in their slot order ----
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  void CalcInsideRect(CRect& rect, BOOL bHorz) const override;

  // ---- Added virtual operations ----
  virtual void DrawPaneEntry(CDC* pDC, int nIndex, CRect rcItem);
  // The size gripper.
  virtual void DrawStretch(CDC* pDC, CRect& rcClient);

 protected:
  // The common control's borders: horizontal, vertical, between parts.
  void GetBorders(int& cxHorz, int& cyVert, int& cxBetween) const;
  BOOL HasSizeGrip() const { return m_hWnd != nullptr && (GetStyle() & SBARS_SIZEGRIP) != 0; }
  void MoveChildWindows();
  void UpdatePendingTexts();

  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnNcPaint();
  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnWindowPosChanging(LPWINDOWPOS lpWndPos);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

  CArray<CXTPStatusBarPane*, CXTPStatusBarPane*> m_arrPanes;
  int m_nMinHeight = 0;
  CFont m_fontBar;
  BOOL m_bDrawDisabledText = TRUE;
  CXTPCommandBars* m_pCommandBars = nullptr;
  BOOL m_bUsePaintTheme = TRUE;
  CXTPTipSettings* m_pToolTipContext = nullptr;

  friend class CXTPStatusBarPane;

  DECLARE_MESSAGE_MAP()
};

// The command-update object of the panes: Enable greys a pane (SBPS_DISABLED), SetCheck pops it out
// (SBPS_POPOUT), SetText sets its text.
class CXTPStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCTSTR lpszText) override;
};

// A small window for custom content inside a pane: it fills itself with the face colour and leaves
// the rest to DrawContent.
class CXTPStatusBarPaneWnd : public CWnd {
  DECLARE_DYNCREATE(CXTPStatusBarPaneWnd)

 public:
  CXTPStatusBarPaneWnd() = default;

  virtual BOOL Create(LPCTSTR lpszCaption, CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = 0xFFFF);
  virtual void DrawContent(CDC* /*pDC*/, CRect /*rcClient*/) {}

  CString GetCaption() const { return m_strCaption; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

  CString m_strCaption;

  DECLARE_MESSAGE_MAP()
};
