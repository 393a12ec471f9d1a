// CXTPBarDragTracker: moves a toolbar between the dock bars and floating, resizes a floating toolbar
// and toggles it between docked and floating on a double click. It remembers where the bar was last
// docked and last floated. One per movable toolbar, owned by it.
#pragma once

#include "CommandBarsDefines.h"

class CXTPDockBar;
class CXTPToolBar;

class CXTPBarDragTracker {
 public:
  explicit CXTPBarDragTracker(CXTPToolBar* pBar);
  virtual ~CXTPBarDragTracker() = default;
  CXTPBarDragTracker(const CXTPBarDragTracker&) = delete;
  CXTPBarDragTracker& operator=(const CXTPBarDragTracker&) = delete;

  virtual void StartMove(CPoint point);
  virtual void StartResize(int nHitTest, CPoint point);
  // FALSE when the bar's flags forbid the change.
  virtual BOOL ToggleDocking();
  virtual void TrackLoop();

  CXTPToolBar* GetBar() const { return m_pBar; }
  // Remembers where the docked bar sits now as where it was last docked: called as it leaves its dock
  // bar, so that a double click brings it back to that side, row and place.
  void RememberDockedPlace();

  // Where the bar was last docked (side 0-3 and the rectangle in that dock bar's client coordinates)
  // and last floated (screen).
  int m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  CPoint m_ptMRUFloatPos = CPoint(0, 0);

 protected:
  void Move(CPoint pt);
  void Stretch(CPoint pt);
  // The side and rectangle that remember where the docked bar sits now; FALSE when it is not docked.
  BOOL GetDockedPlace(int* pnSide, CRect* pRect) const;

  CXTPToolBar* m_pBar;
  int m_nHitTest = 1;
  CPoint m_ptLast;
  CRect m_rectDragFrame;
  CRect m_rectWindow;
};
