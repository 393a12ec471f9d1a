// CGridDropTarget: joins a grid window to OLE drag and drop. Each drag event over the grid is
// handed to the grid's own drop handlers; near the window's edges the grid scrolls first.
#pragma once

#include <afxole.h>

class CGridCtrl;

// A member of its grid; registered on the grid's (user-interface) thread, which needs OLE.
class CGridDropTarget : public COleDropTarget {
  DECLARE_DYNAMIC(CGridDropTarget)

 public:
  CGridDropTarget() = default;
  ~CGridDropTarget() override = default;

  // Makes the grid a drop target once; FALSE when already registered, when pGridCtrl is no grid
  // window, or when OLE refuses.
  BOOL Register(CGridCtrl* pGridCtrl);
  void Revoke() override;
  BOOL IsRegistered() const { return m_bRegistered; }

  DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
  void OnDragLeave(CWnd* pWnd) override;
  BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
  DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

 private:
  BOOL IsGrid(CWnd* pWnd) const;

  CGridCtrl* m_pGridCtrl = nullptr;
  BOOL m_bRegistered = FALSE;
};
