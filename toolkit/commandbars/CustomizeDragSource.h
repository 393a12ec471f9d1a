// CXTPCustomizeDragSource: moves or copies a control between bars while customize mode is on, with a
// mouse loop of its own. One per manager; bars register themselves as drop targets.
#pragma once

#include <afxole.h>
#include <afxwin.h>

class CXTPCommandBar;
class CXTPCommandBars;
class CXTPControl;

class CXTPCustomizeDragSource {
 public:
  explicit CXTPCustomizeDragSource(CXTPCommandBars* pCommandBars);
  virtual ~CXTPCustomizeDragSource() = default;
  CXTPCustomizeDragSource(const CXTPCustomizeDragSource&) = delete;
  CXTPCustomizeDragSource& operator=(const CXTPCustomizeDragSource&) = delete;

  void Register(CXTPCommandBar* pBar);
  // Removes every occurrence.
  void Unregister(CXTPCommandBar* pBar);
  CWnd* GetSheet() const { return m_pSheet; }
  void SetSheet(CWnd* pSheet) { m_pSheet = pSheet; }
  // 1 copy, 2 move, 0 released without a target after moving, 5 cancelled.
  DROPEFFECT DoDragDrop(CXTPControl* pControl, BOOL bCopyOnly);
  int GetTargetCount() const { return static_cast<int>(m_arrTargets.GetSize()); }

 private:
  CArray<CXTPCommandBar*, CXTPCommandBar*> m_arrTargets;
  CWnd* m_pSheet = nullptr;
  CXTPCommandBars* m_pCommandBars;
};
