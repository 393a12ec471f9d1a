// The modal splitter-tracking loop: an inverted bar follows the mouse inside an allowed rectangle
// until the left button is released (TRUE) or Escape or a lost capture cancels (FALSE).
#pragma once

#include <afxwin.h>

class CXTPSplitTracker {
 public:
  // bSolid: invert solidly instead of through the halftone brush. rcBoundRect: an extra rectangle
  // drawn with the tracker while it moves (empty: none).
  explicit CXTPSplitTracker(BOOL bSolid = FALSE, const CRect& rcBoundRect = CRect(0, 0, 0, 0))
      : m_bSolid(bSolid), m_rcBoundRect(rcBoundRect) {}

  // rcTracker (screen coordinates) is moved to where the user left it.
  BOOL Track(CWnd* pWnd, CRect rcAvail, CRect& rcTracker, CPoint point, BOOL bHoriz);

 private:
  void OnInvertTracker(const CRect& rc);

  CDC* m_pDC = nullptr;
  BOOL m_bSolid;
  CRect m_rcBoundRect;
};
