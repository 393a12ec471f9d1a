// The splitter panel of the browser page: a static window holding two panes side by side (vertical
// bar) or one above the other (horizontal bar), with a bar the user drags to share the room between
// them. The page nests two: folder tree | (mail list over item preview).
#pragma once

#include <afxwin.h>

// Created by its owner on the user-interface thread (Attach); only that thread touches it. The panes
// stay the caller's objects: the panel re-parents their windows and sizes them, nothing more.
//
// Positions: the left pane's width (vertical mode) or the bottom pane's height (horizontal mode) is
// kept through size changes. It is written to the application's profile when the panel is destroyed,
// under "splt\init_v<id>" "VertSplitPos" or "splt\init_h<id>" "HorizSplitPos", and a stored value is
// the starting width or height the next time a panel of that id is attached (200 when none is stored).
//
// A drag shows an inverted tracker bar and moves the panes when the button is released; Esc, or the
// loss of the mouse capture to another window, cancels it and leaves the panes where they were.
class CSplitterPanel : public CStatic {
 public:
  CSplitterPanel();

  // Creates the panel as a child of pParent with dwStyle, rect and nId, moves both panes into it and
  // makes pParent their owner; style bit 1 makes a vertical bar (first pane left), bit 2 a horizontal
  // one (first pane on top). Returns 1, or 0 when the window could not be created.
  BOOL Attach(DWORD dwStyle, CWnd* pParent, CWnd* pFirst, CWnd* pSecond, UINT nId, const RECT& rect,
              int nFirstMin, int nSecondMin);

  void InitVertical(int nMinLeft, int nMinRight);
  void InitHorizontal(int nMinTop, int nMinBottom);
  void MoveVerticalBar(int x);
  void MoveHorizontalBar(int y);
  int ClampX(int x) const;
  int ClampY(int y) const;
  void DrawTrackerV();
  void DrawTrackerH();
  void CancelDragV();
  void CancelDragH();

  BOOL PreTranslateMessage(MSG* pMsg) override;

  BOOL IsDragging() const { return m_bTrackingV || m_bTrackingH; }
  int GetLeftWidth() const { return m_nLeftWidth; }
  int GetBottomHeight() const { return m_nBottomHeight; }

  // Profile sections and entries of the stored positions.
  static const wchar_t VERTICAL_SECTION[];
  static const wchar_t HORIZONTAL_SECTION[];
  static const wchar_t VERTICAL_ENTRY[];
  static const wchar_t HORIZONTAL_ENTRY[];
  // The pane size a panel starts with when nothing is stored.
  enum { INITIAL_PANE_SIZE = 200 };

  CWnd* m_pParentWnd;
  CWnd* m_pLeft;
  CWnd* m_pRight;
  CWnd* m_pTop;
  CWnd* m_pBottom;
  int m_nMinLeft;
  int m_nMinRight;
  int m_nMinTop;
  int m_nMinBottom;
  int m_nBarWidth;
  UINT m_nId;
  int m_nLeftWidth;
  int m_nBottomHeight;
  CRect m_rcBarV;
  CRect m_rcLeft;
  CRect m_rcRight;
  CRect m_rcBarH;
  CRect m_rcTop;
  CRect m_rcBottom;
  CRect m_rcTrackerV;
  CRect m_rcTrackerH;
  BOOL m_bVertical;
  BOOL m_bHorizontal;
  BOOL m_bTrackingV;
  BOOL m_bTrackingH;
  CPoint m_ptStart;
  CPoint m_ptLast;
  HWND m_hWndFocusBefore;
  // When set, the panes follow the mouse during a drag instead of the tracker; this program leaves it 0.
  BOOL m_bLiveDrag;
  CBrush m_brush;

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

  DECLARE_MESSAGE_MAP()

 private:
  // The stored position for this panel's id and mode, or -1.
  int StoredPosition(BOOL bVertical) const;
  void DrawTracker(const CRect& rc);
  // Ends a drag: the tracker erased, the capture released (without counting as a cancel).
  void EndDrag();
};
