// CXTPCustomizeDragSource: moves or copies a control between bars while customize mode is on, with a
// mouse loop of its own. One per manager; bars register themselves as drop targets.
#pragma once

#include <afxole.h>
#include <afxwin.h>

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;

// Made by the manager's constructor and deleted with it; user-interface thread only. The sheet is
// set only while the customize sheet's DoModal runs.
class CXTPCustomizeDragSource {
 public:
  explicit CXTPCustomizeDragSource(CXTPCommandBars* pCommandBars);
  virtual ~CXTPCustomizeDragSource();
  CXTPCustomizeDragSource(const CXTPCustomizeDragSource&) = delete;
  CXTPCustomizeDragSource& operator=(const CXTPCustomizeDragSource&) = delete;

  void Register(CXTPCommandBar* pBar);
  // Removes every occurrence.
  void Unregister(CXTPCommandBar* pBar);
  CWnd* GetSheet() const { return m_pSheet; }
  void SetSheet(CWnd* pSheet) { m_pSheet = pSheet; }
  // Runs the drag of pControl until the button is released, Escape or the right button cancels, or the
  // capture is lost. 1 copy, 2 move, 0 released without a target after moving, 5 cancelled or
  // released without moving. With bCopyOnly the control is always copied.
  DROPEFFECT DoDragDrop(CXTPControl* pControl, BOOL bCopyOnly);
  int GetTargetCount() const { return static_cast<int>(m_arrTargets.GetSize()); }
  // The bar under the mouse during a drag, or NULL.
  CXTPCommandBar* GetTarget() const { return m_pTarget; }

 protected:
  // Finds the bar under the screen point and moves the target to it, then sets the cursor.
  void UpdateTarget(CPoint ptScreen);
  void UpdateCursor();
  // Calls the target's drop (when there is one); the effect it ends with.
  DROPEFFECT Drop(CPoint ptScreen, DROPEFFECT dropEffect);

 private:
  CArray<CXTPCommandBar*, CXTPCommandBar*> m_arrTargets;
  CWnd* m_pSheet = nullptr;
  CXTPCommandBars* m_pCommandBars;
  HCURSOR m_hcurDelete = nullptr;
  HCURSOR m_hcurMove = nullptr;
  HCURSOR m_hcurCopy = nullptr;
  HWND m_hwndCapture = nullptr;
  CXTPControl* m_pControl = nullptr;
  BOOL m_bCopyOnly = FALSE;
  CXTPCommandBar* m_pTarget = nullptr;
  CPoint m_ptStart;
  BOOL m_bMove = TRUE;
};
