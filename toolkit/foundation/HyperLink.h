// CXTHyperLink: a static control that behaves like a web link: link colour and underline, a hover
// colour and hand cursor over its text, a tool tip with its target, and on a click the target
// opened through the shell (failures beep and are told in words). User-interface thread only.
#pragma once

#include <afxcmn.h>

class CXTHyperLink : public CStatic {
  DECLARE_DYNAMIC(CXTHyperLink)

 public:
  CXTHyperLink();
  ~CXTHyperLink() override;

  // Stores the target; the tool tip (made on first use) shows it. FALSE when there is no tip text.
  virtual BOOL SetURL(LPCTSTR lpszURL);
  virtual CString GetURL() const { return m_strURL; }
  // Each -1 leaves that colour as it is.
  virtual void SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover);
  virtual COLORREF GetLinkColor() const { return m_clrLink; }
  virtual COLORREF GetVisitedColor() const { return m_clrVisited; }
  virtual COLORREF GetHoverColor() const { return m_clrHover; }
  virtual void SetVisited(BOOL bVisited = TRUE);
  virtual BOOL GetVisited() const { return m_bVisited; }
  virtual void SetLinkCursor(HCURSOR hCursor) { m_hcurHand = hCursor; }
  virtual HCURSOR GetLinkCursor() const { return m_hcurHand; }
  virtual void SetUnderline(BOOL bUnderline = TRUE);
  virtual BOOL GetUnderline() const { return m_bUnderline; }
  // -1: colour-table slot 15.
  virtual void SetBackColor(COLORREF clrBack);
  virtual COLORREF GetBackColor() const;
  // Opens lpszLink (the stored target when NULL) with the shell verb "open"; FALSE after reporting.
  virtual BOOL GotoURL(LPCTSTR lpszLink = nullptr, int nShowCmd = SW_SHOW, LPCTSTR lpszParameters = nullptr,
                       LPCTSTR lpszDirectory = nullptr);
  // Left, centred or right-aligned text statics; icons, bitmaps and frames are not.
  virtual BOOL IsTextControl();
  virtual BOOL IsCursorOverText();
  // Beeps and shows the reason for a failed shell result in a message box.
  virtual void ReportError(int nError);
  virtual void InitControl();
  virtual void UpdateFont();
  virtual BOOL CreateLinkFont(CFont& font, BOOL bUnderline);

  // The message ReportError shows for a shell result.
  static CString PASCAL GetErrorText(int nError);
  BOOL IsHovering() const { return m_bMouseOver; }
  void SetUseShell(BOOL bUseShell) { m_bUseShell = bUseShell; }
  void SetTipActive(BOOL bActive) { m_bTipEnabled = bActive; }
  CString GetTipText() const { return m_strTipText; }
  CToolTipCtrl& GetToolTip() { return m_toolTip; }
  // The colour the text is drawn in now.
  COLORREF GetCurrentTextColor() const;

 protected:
  void PreSubclassWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg BOOL OnClicked();
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 protected:
  void Redraw();

  BYTE m_bUseShell = TRUE;
  BYTE m_bSubclassed = TRUE;
  BYTE m_bUnderline = TRUE;
  BYTE m_bMouseOver = FALSE;
  BYTE m_bVisited = FALSE;
  BYTE m_bTipEnabled = TRUE;
  CFont m_font;
  CString m_strURL;
  CString m_strTipText;
  HCURSOR m_hcurHand = nullptr;
  COLORREF m_clrLink = RGB(0, 0, 255);
  COLORREF m_clrHover = RGB(255, 0, 0);
  COLORREF m_clrVisited = RGB(128, 0, 128);
  COLORREF m_clrBack = COLORREF(-1);
  CToolTipCtrl m_toolTip;
};
