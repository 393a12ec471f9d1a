// CGridTitleTip: the pop-up that shows the whole text of a grid cell whose text does not fit, with
// each ";" of the text starting a new line. It hides when the mouse leaves the cell and hands
// clicks and keys on to the window beneath it.
#pragma once

#include <afxwin.h>

#define GRID_TITLETIP_CLASSNAME _T("ZTitleTip")

// Created on the grid's (user-interface) thread the first time it shows; only that thread touches
// it. The grid is remembered as its parent but the window has none, so it can reach past the
// grid's edges.
class CGridTitleTip : public CWnd {
  DECLARE_DYNAMIC(CGridTitleTip)

 public:
  // Registers the "ZTitleTip" class when needed (CResourceException* when that fails).
  CGridTitleTip();
  ~CGridTitleTip() override;

  // Makes the window; pParentWnd is remembered, not made its parent.
  virtual BOOL Create(CWnd* pParentWnd);
  void SetParentWnd(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }
  CWnd* GetParentWnd() const { return m_pParentWnd; }

  // rectTitle: the cell's text area in the grid's client coordinates. The tip shows when the text
  // does not fit there, or always when it has several lines; it hides when the mouse leaves
  // lpHoverRect (else rectTitle). Colours CLR_DEFAULT keep the tip's own; lpLogFont NULL takes
  // the grid's font.
  virtual void Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset = 0, LPRECT lpHoverRect = nullptr,
                    const LOGFONT* lpLogFont = nullptr, COLORREF crTextClr = CLR_DEFAULT,
                    COLORREF crBackClr = CLR_DEFAULT);
  virtual void Hide();

  // Hands button presses to the window under the tip and keys to the grid.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // What the tip shows, for those who read it back.
  const CString& GetShownText() const { return m_strShown; }

 protected:
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnPaint();
  afx_msg void OnNcDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  // The window a point on the screen lies in, with the tip standing for the grid.
  CWnd* WindowBeneath(CPoint ptScreen);

  CWnd* m_pParentWnd;
  CRect m_rectTitle;  // tip client coordinates: the cell's text area with a pixel around it
  CRect m_rectHover;  // screen coordinates: while the mouse stays inside, the tip stays
  DWORD m_dwLastLButtonDown;
  DWORD m_dwDblClickMsecs;
  BOOL m_bCreated;
  // What the tip paints.
  CString m_strShown;
  CFont m_font;
  HFONT m_hShownFont;
  COLORREF m_crShownText;
  COLORREF m_crShownBack;
};
