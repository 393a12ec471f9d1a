// Control bars: windows docked along a frame's edges (status bar, toolbars, rebars are built on
// CControlBar). The frame lays them out with RepositionBars: each visible bar answers WM_SIZEPARENT
// by taking its size from the remaining client rectangle; the view gets what is left. Bars update
// their command UI at idle time (WM_IDLEUPDATECMDUI) through OnUpdateCmdUI.
#pragma once

#include "framework/Frame.h"

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 public:
  ~CControlBar() override;

  // The size the bar asks for; the default takes the whole length when stretched, else nothing.
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  // Shrinks a client rectangle by the bar's borders (and gripper) to the part its items use.
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  virtual void OnBarStyleChange(DWORD /*dwOldStyle*/, DWORD /*dwNewStyle*/) {}
  virtual void DoPaint(CDC* pDC);
  void DrawBorders(CDC* pDC, CRect& rect);
  void DrawGripper(CDC* pDC, const CRect& rect);
  void EraseNonClient();

  void SetBarStyle(DWORD dwStyle);
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
  CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
  int GetCount() const { return m_nCount; }
  BOOL IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
  BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
  CFrameWnd* GetDockingFrame() const;
  // Shows or hides the bar at the frame's next layout, without repainting twice.
  void DelayShow(BOOL bShow);
  BOOL IsVisible() const;

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  int m_cxLeftBorder;
  int m_cxRightBorder;
  int m_cyTopBorder;
  int m_cyBottomBorder;
  int m_cxDefaultGap;
  UINT m_nMRUWidth;
  BOOL m_bAutoDelete;
  enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
  UINT m_nStateFlags;
  DWORD m_dwStyle;  // CBRS_ styles
  DWORD m_dwDockStyle;
  CFrameWnd* m_pDockSite;
  CWnd* m_pDockBar;
  void* m_pDockContext;

 protected:
  CControlBar();
  void PostNcDestroy() override {
    if (m_bAutoDelete) delete this;
  }
  // Applies a pending DelayShow to the layout; returns the style the layout should assume.
  DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

  int m_nCount;

  DECLARE_MESSAGE_MAP()
};

// Print preview is not offered; the state object exists for frames that save and restore it.
struct CPrintPreviewState {
  UINT nIDMainPane = AFX_IDW_PANE_FIRST;
  HMENU hMenu = nullptr;
  DWORD dwStates = 0;
  HWND hWndFocus = nullptr;
  HACCEL hAccelTable = nullptr;
};

// A frame whose floating behaviour this program never uses; it exists so that type tests and the
// toolkit's code paths for it compile and answer sensibly.
class CMiniFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMiniFrameWnd)

 public:
  CMiniFrameWnd() = default;
  BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
              CWnd* pParentWnd = nullptr, UINT nID = 0);
};


