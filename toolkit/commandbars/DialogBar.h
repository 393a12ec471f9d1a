// CXTPDialogBar: a toolbar that hosts one child window of the application below a caption strip with
// an optional drop-down menu and a close button. It docks and floats like a toolbar, is resized by its
// edges and keeps one client size for docking and one for floating. Created through the manager on the
// frame's user-interface thread.
#pragma once

#include "ToolBar.h"

class CXTPPopupBar;

class CXTPDialogBar : public CXTPToolBar {
  DECLARE_SERIAL(CXTPDialogBar)

 public:
  enum { kCloseId = 9401, kCaptionId = 9399 };

  CXTPDialogBar();
  ~CXTPDialogBar() override;

  BOOL IsDialogBar() const override { return TRUE; }
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  CSize CalcDockingLayout(int nLength, DWORD dwMode, int nWidth = 0) override;
  int IsPointInBar(CPoint point, HWND hWndClicked = nullptr) const override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;

  // Left, top (with the caption strip), right and bottom space around the hosted window.
  CRect GetClientBorders();
  // The edge tracker's proposal: the window rectangle (screen) for the edge of hit-test code nHitTest.
  void OnResize(int nLeft, int nTop, int nRight, int nBottom, int nHitTest);

  void SetChild(CWnd* pChild);
  HWND GetChildHwnd() const { return m_hWndChild; }
  void SetCaption(LPCTSTR lpszCaption);
  CString GetCaption() const { return m_strCaption; }
  void SetCaptionVisible(BOOL bVisible) { m_bCaptionVisible = bVisible; }
  BOOL IsCaptionVisible() const { return m_bCaptionVisible; }
  void SetCaptionPopupEnabled(BOOL bEnabled) { m_bCaptionPopup = bEnabled; }
  void SetResizable(BOOL bResizable) { m_bResizable = bResizable; }
  BOOL IsResizable() const { return m_bResizable; }
  void SetClientBorders(const CRect& rcBorders) { m_rcBorders = rcBorders; }
  CSize GetMinimumClientSize() const { return m_szMinClient; }
  CSize GetDockingClientSize() const { return m_szDockingClient; }
  void SetDockingClientSize(CSize sz) { m_szDockingClient = sz; }
  CSize GetFloatingClientSize() const { return m_szFloatingClient; }
  void SetFloatingClientSize(CSize sz) { m_szFloatingClient = sz; }
  int GetCaptionHeight() const { return m_nCaptionHeight; }
  // The application fills it with controls; the caption shows its arrow once it holds one.
  CXTPPopupBar* GetCaptionPopupBar() const { return m_pCaptionPopupBar; }

 protected:
  CSize CalcLayout(int nLength, DWORD dwMode, int nClientCx, int nClientCy);
  void PlaceChild();

  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);

  CRect m_rcBorders = CRect(3, 3, 3, 3);
  BOOL m_bResizable = TRUE;
  CSize m_szMinClient = CSize(50, 50);
  BOOL m_bCaptionVisible = TRUE;
  BOOL m_bCaptionPopup = TRUE;
  int m_nCaptionHeight = 0;
  CSize m_szDockingClient = CSize(200, 200);
  CSize m_szFloatingClient = CSize(200, 200);
  HWND m_hWndChild = nullptr;
  CString m_strCaption;
  CXTPPopupBar* m_pCaptionPopupBar = nullptr;

  DECLARE_MESSAGE_MAP()
};
