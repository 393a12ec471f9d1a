// CXTPDockBar: one of the four windows along the frame's client edges that hold docked toolbars. It
// keeps its bars in rows, lays each row out so that bars keep their remembered positions where they
// can, pushes and shrinks them where they cannot, and wraps bars that do not fit into an extra row.
// Made by the manager's EnableDocking on the frame's user-interface thread.
#pragma once

#include "CommandBarsDefines.h"

class CXTPToolBar;

class CXTPDockBar : public CWnd {
  DECLARE_DYNAMIC(CXTPDockBar)

 public:
  explicit CXTPDockBar(CXTPCommandBars* pCommandBars = nullptr);
  ~CXTPDockBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  // Docks the bar at the screen rectangle (a new last row without one).
  void DockBar(CXTPToolBar* pBar, LPCRECT lpRect = nullptr);
  // Removes the bar's entry (the first not at nPosExclude) and its row break when the row empties.
  BOOL RemoveBar(CXTPToolBar* pBar, int nPosExclude = -1);
  int FindBar(CXTPToolBar* pBar, int nPosExclude = -1) const;
  // The visible bars of the row that holds list entry nPos, sorted by their leading edge.
  void GetRowBars(int nPos, CArray<CXTPToolBar*, CXTPToolBar*>& arrBars) const;
  // 0 top, 1 bottom, 2 left, 3 right.
  XTPBarPosition GetDockSide() const;
  // The same four under the names the bar classes use.
  void DockCommandBar(CXTPToolBar* pBar, LPCRECT lpRect = nullptr) { DockBar(pBar, lpRect); }
  BOOL RemoveCommandBar(CXTPToolBar* pBar, int nPosExclude = -1) { return RemoveBar(pBar, nPosExclude); }
  void GetVisibleToolbars(int nPos, CArray<CXTPToolBar*, CXTPToolBar*>& arrBars) const {
    GetRowBars(nPos, arrBars);
  }
  XTPBarPosition GetPosition() const { return GetDockSide(); }
  BOOL IsHorizontal() const { return GetDockSide() == xtpBarTop || GetDockSide() == xtpBarBottom; }
  DWORD AdjustMode(BOOL bHorz, CXTPToolBar* pBar) const;
  // Lays every row out (with a deferred-position handle the bars are moved) and returns the size.
  CSize CalcDockingLayout(int nLength, DWORD dwMode, HDWP hdwp = nullptr);
  CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }
  // The room the dock bar takes from the frame's edge whatever bars it holds, at least (0 by
  // default): the frame keeps a picture of its own there, beside the bars.
  void SetMinimumThickness(int nThickness) { m_nMinThickness = nThickness; }
  int GetMinimumThickness() const { return m_nMinThickness; }

  // The row list: bars, with a NULL entry ending each row; it always begins with a NULL.
  int GetEntryCount() const { return static_cast<int>(m_arrBars.GetSize()); }
  CXTPToolBar* GetEntry(int nIndex) const { return m_arrBars[nIndex]; }
  // Puts a bar (or a row break for NULL) at list position nIndex; used by the stored layout.
  void InsertEntry(int nIndex, CXTPToolBar* pBar);
  // Drops empty rows and makes the list begin and end with a row break.
  void NormalizeRows();

 protected:
  struct DockInfo;
  int AdjustRow(CArray<CXTPToolBar*, CXTPToolBar*>& arrRow, CPoint pt, int nLength, BOOL bHorz, HDWP hdwp,
                CXTPToolBar** ppOverflow);
  int AdjustRowWithOverflow(CArray<CXTPToolBar*, CXTPToolBar*>& arrRow, CPoint pt, int nLength, BOOL bHorz,
                            HDWP hdwp);
  void SeparateStretchedBars();

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg LRESULT OnPrint(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);

  DWORD m_dwStyle = 0;
  CArray<CXTPToolBar*, CXTPToolBar*> m_arrBars;
  CXTPCommandBars* m_pCommandBars;
  int m_nMinThickness = 0;

  friend class CXTPCommandBars;

  DECLARE_MESSAGE_MAP()
};
