// CGridDropTarget: the grid's OLE drop target.
#include "GridDropTarget.h"

#include "GridCtrl.h"

IMPLEMENT_DYNAMIC(CGridDropTarget, COleDropTarget)

BOOL CGridDropTarget::Register(CGridCtrl* pGridCtrl) {
  if (m_bRegistered) return FALSE;
  // Registering can size the window, which registers again.
  static BOOL bInProcedure = FALSE;
  if (bInProcedure) return FALSE;
  bInProcedure = TRUE;
  if (pGridCtrl == nullptr || !pGridCtrl->IsKindOf(RUNTIME_CLASS(CGridCtrl))) {
    bInProcedure = FALSE;
    return FALSE;
  }
  m_pGridCtrl = pGridCtrl;
  m_bRegistered = COleDropTarget::Register(pGridCtrl);
  bInProcedure = FALSE;
  return m_bRegistered;
}

void CGridDropTarget::Revoke() {
  m_bRegistered = FALSE;
  COleDropTarget::Revoke();
}

BOOL CGridDropTarget::IsGrid(CWnd* pWnd) const {
  return m_pGridCtrl != nullptr && pWnd->GetSafeHwnd() != nullptr &&
         pWnd->GetSafeHwnd() == m_pGridCtrl->GetSafeHwnd();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) {
  if (!IsGrid(pWnd)) return DROPEFFECT_NONE;
  // In the band along the edges the grid scrolls; elsewhere the grid's own handlers decide.
  const DROPEFFECT scroll = COleDropTarget::OnDragScroll(pWnd, dwKeyState, point);
  if (scroll & DROPEFFECT_SCROLL) return scroll;
  return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                        CPoint point) {
  if (!IsGrid(pWnd)) return DROPEFFECT_NONE;
  return m_pGridCtrl->OnDragEnter(pDataObject, dwKeyState, point);
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                       CPoint point) {
  if (!IsGrid(pWnd)) return DROPEFFECT_NONE;
  return m_pGridCtrl->OnDragOver(pDataObject, dwKeyState, point);
}

void CGridDropTarget::OnDragLeave(CWnd* pWnd) {
  if (IsGrid(pWnd)) m_pGridCtrl->OnDragLeave();
}

BOOL CGridDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
  if (!IsGrid(pWnd)) return FALSE;
  return m_pGridCtrl->OnDrop(pDataObject, dropEffect, point);
}
