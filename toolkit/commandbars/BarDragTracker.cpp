// Moving a toolbar between the dock bars and floating, resizing a floating toolbar, and toggling it
// between docked and floating.
#include "BarDragTracker.h"

#include "BarHooks.h"
#include "CommandBars.h"
#include "DialogBar.h"
#include "CommandBarsOptions.h"
#include "DockBar.h"
#include "ToolBar.h"

#include <MonitorApi.h>

CXTPBarDragTracker::CXTPBarDragTracker(CXTPToolBar* pBar) : m_pBar(pBar) {}

void CXTPBarDragTracker::StartMove(CPoint point) {
  CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
  if (pCommandBars == nullptr || m_pBar->GetSafeHwnd() == nullptr) return;
  // A bar dragged off its dock bar keeps the place it was dragged from, not the places it passed on
  // its way.
  int nSavedDockID = m_uMRUDockID;
  CRect rcSavedDock = m_rectMRUDockPos;
  const BOOL bWasDocked = m_pBar->GetPosition() != xtpBarFloating;
  if (bWasDocked) GetDockedPlace(&nSavedDockID, &rcSavedDock);
  m_pBar->GetWindowRect(&m_rectDragFrame);
  if (!m_rectDragFrame.PtInRect(point)) m_rectDragFrame.OffsetRect(point - m_rectDragFrame.TopLeft());
  m_ptLast = point;
  m_nHitTest = 1;
  ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  m_pBar->InternalAddRef();
  pState->m_nModalCounter++;
  TrackLoop();
  pState->m_nModalCounter--;
  if (m_pBar->GetPosition() == xtpBarFloating && m_pBar->GetSafeHwnd() != nullptr) {
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    m_ptMRUFloatPos = rc.TopLeft();
    if (bWasDocked) {
      m_uMRUDockID = nSavedDockID;
      m_rectMRUDockPos = rcSavedDock;
    }
  }
  m_pBar->InternalRelease();
}

BOOL CXTPBarDragTracker::GetDockedPlace(int* pnSide, CRect* pRect) const {
  CXTPDockBar* pDock = m_pBar->GetDockBar();
  if (pDock == nullptr || pDock->GetSafeHwnd() == nullptr || m_pBar->GetSafeHwnd() == nullptr) return FALSE;
  CRect rc;
  m_pBar->GetWindowRect(&rc);
  pDock->ScreenToClient(&rc);
  // A bar alone in its row is remembered with its centre across the row on the row's leading edge:
  // docked there again it opens a row of its own between the rows before and after it, even when
  // those after it have moved up meanwhile. A bar sharing its row goes back into the row at its centre.
  CArray<CXTPToolBar*, CXTPToolBar*> arrRow;
  pDock->GetRowBars(pDock->FindBar(m_pBar), arrRow);
  if (arrRow.GetSize() == 1) {
    if (pDock->IsHorizontal()) {
      rc.OffsetRect(0, -(rc.Height() / 2));
    } else {
      rc.OffsetRect(-(rc.Width() / 2), 0);
    }
  }
  *pnSide = pDock->GetDockSide();
  *pRect = rc;
  return TRUE;
}

void CXTPBarDragTracker::RememberDockedPlace() {
  int nSide = 0;
  CRect rc;
  if (!GetDockedPlace(&nSide, &rc)) return;
  m_uMRUDockID = nSide;
  m_rectMRUDockPos = rc;
}

void CXTPBarDragTracker::StartResize(int nHitTest, CPoint point) {
  if (m_pBar->GetSafeHwnd() == nullptr) return;
  m_nHitTest = nHitTest;
  m_ptLast = point;
  m_pBar->GetWindowRect(&m_rectWindow);
  m_rectDragFrame = m_rectWindow;
  CXTPBarMouseTracker* pState = CXTPBarMouseTracker::GetThreadState();
  m_pBar->InternalAddRef();
  pState->m_nModalCounter++;
  TrackLoop();
  pState->m_nModalCounter--;
  if (m_pBar->GetSafeHwnd() != nullptr && m_pBar->GetPosition() == xtpBarFloating) {
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    m_ptMRUFloatPos = rc.TopLeft();
    m_pBar->SetMRUWidth(rc.Width());
  }
  m_pBar->InternalRelease();
}

void CXTPBarDragTracker::Move(CPoint pt) {
  CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
  if (pCommandBars == nullptr) return;
  m_rectDragFrame.OffsetRect(pt - m_ptLast);
  m_ptLast = pt;
  CXTPDockBar* pDock = pCommandBars->CalcDockPosition(pt, m_pBar->GetDockBar());
  if (pDock != nullptr && (m_pBar->GetFlags() & (1u << pDock->GetDockSide()))) {
    CXTPDockBar* pOld = m_pBar->GetDockBar();
    const BOOL bWasFloating = m_pBar->GetPosition() == xtpBarFloating;
    CRect rcDrop = m_rectDragFrame;
    pCommandBars->DockCommandBar(m_pBar, &rcDrop, pDock);
    if (pOld != pDock || bWasFloating) {
      pCommandBars->RecalcFrameLayout();
      m_pBar->GetWindowRect(&m_rectDragFrame);
    }
  } else if (m_pBar->GetFlags() & xtpFlagFloating) {
    if (m_pBar->GetPosition() != xtpBarFloating) {
      pCommandBars->FloatCommandBar(m_pBar);
      const CSize sz = m_pBar->CalcDynamicLayout(0, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
      m_rectDragFrame = CRect(m_rectDragFrame.TopLeft(), sz);
      if (!m_rectDragFrame.PtInRect(pt))
        m_rectDragFrame.OffsetRect(pt.x - m_rectDragFrame.CenterPoint().x, pt.y - m_rectDragFrame.top - 4);
      pCommandBars->RecalcFrameLayout(TRUE);
    }
    m_pBar->SetWindowPos(nullptr, m_rectDragFrame.left, m_rectDragFrame.top, m_rectDragFrame.Width(),
                         m_rectDragFrame.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

void CXTPBarDragTracker::Stretch(CPoint pt) {
  if (CXTPDialogBar* pDialogBar = DYNAMIC_DOWNCAST(CXTPDialogBar, m_pBar)) {
    // A dialog bar's dragged edges follow the cursor from where they were pressed; the bar decides on
    // its own client size.
    const CSize delta = pt - m_ptLast;
    CRect rc = m_rectWindow;
    if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT) rc.left += delta.cx;
    if (m_nHitTest == HTRIGHT || m_nHitTest == HTTOPRIGHT || m_nHitTest == HTBOTTOMRIGHT)
      rc.right += delta.cx;
    if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT) rc.top += delta.cy;
    if (m_nHitTest == HTBOTTOM || m_nHitTest == HTBOTTOMLEFT || m_nHitTest == HTBOTTOMRIGHT)
      rc.bottom += delta.cy;
    pDialogBar->OnResize(rc.left, rc.top, rc.right, rc.bottom, m_nHitTest);
    return;
  }
  CRect rcWindow;
  m_pBar->GetWindowRect(&rcWindow);
  int nLength = 0;
  DWORD dwMode = 0;
  switch (m_nHitTest) {
    case HTLEFT:
      nLength = rcWindow.right - pt.x;
      dwMode = LM_COMMIT | LM_HORZ;
      break;
    case HTRIGHT:
      nLength = pt.x - rcWindow.left;
      dwMode = LM_COMMIT | LM_HORZ;
      break;
    case HTTOP:
      nLength = rcWindow.bottom - pt.y;
      dwMode = LM_COMMIT | LM_LENGTHY | LM_HORZ;
      break;
    default:
      nLength = pt.y - rcWindow.top;
      dwMode = LM_COMMIT | LM_LENGTHY | LM_HORZ;
      break;
  }
  const CSize sz = m_pBar->CalcDynamicLayout(std::max(nLength, 0), dwMode);
  if (sz == rcWindow.Size()) return;
  CRect rcNew;
  switch (m_nHitTest) {
    case HTLEFT:
      rcNew.SetRect(rcWindow.right - sz.cx, rcWindow.top, rcWindow.right, rcWindow.top + sz.cy);
      break;
    case HTTOP:
      rcNew.SetRect(rcWindow.left, rcWindow.bottom - sz.cy, rcWindow.left + sz.cx, rcWindow.bottom);
      break;
    default:
      rcNew.SetRect(rcWindow.left, rcWindow.top, rcWindow.left + sz.cx, rcWindow.top + sz.cy);
      break;
  }
  CRect rcWork = XTPMonitorApi()->GetWorkArea(m_pBar);
  CRect rcTest;
  if (!rcTest.IntersectRect(rcNew, rcWork)) return;
  m_pBar->SetWindowPos(nullptr, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
  m_pBar->Invalidate(FALSE);
}

void CXTPBarDragTracker::TrackLoop() {
  if (::GetCapture() != nullptr || m_pBar->GetSafeHwnd() == nullptr) return;
  const HWND hWndBar = m_pBar->GetSafeHwnd();
  ::SetCapture(hWndBar);
  CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
  while (::GetCapture() == hWndBar) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE) {
      CPoint pt;
      ::GetCursorPos(&pt);
      if (pt == m_ptLast) continue;
      if (m_nHitTest == 1) {
        Move(pt);
      } else {
        Stretch(pt);
      }
      if (pCommandBars != nullptr) pCommandBars->FlushDelayedLayout();
      continue;
    }
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) break;
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessage(&msg);
  }
  if (::GetCapture() == hWndBar) ::ReleaseCapture();
  if (pCommandBars != nullptr) pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
}

BOOL CXTPBarDragTracker::ToggleDocking() {
  CXTPCommandBars* pCommandBars = m_pBar->GetCommandBars();
  if (pCommandBars == nullptr) return FALSE;
  if (m_pBar->GetPosition() == xtpBarFloating) {
    if (!(m_pBar->GetFlags() & xtpFlagAlignAny)) return FALSE;
    CXTPDockBar* pDock = pCommandBars->GetDockBar(m_uMRUDockID);
    if (pDock == nullptr) return FALSE;
    CRect rc = m_rectMRUDockPos;
    pDock->ClientToScreen(&rc);
    pCommandBars->DockCommandBar(m_pBar, &rc, pDock);
    pCommandBars->RecalcFrameLayout();
  } else {
    if (!(m_pBar->GetFlags() & xtpFlagFloating) || !pCommandBars->GetCommandBarsOptions()->bDblClickFloat)
      return FALSE;
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x <= 0 || pt.y <= 0) {
      pt = m_rectMRUDockPos.TopLeft();
      if (CXTPDockBar* pDock = pCommandBars->GetDockBar(m_uMRUDockID)) pDock->ClientToScreen(&pt);
    }
    pCommandBars->FloatCommandBar(m_pBar);
    const CSize sz = m_pBar->CalcDynamicLayout(0, LM_COMMIT | LM_MRUWIDTH | LM_HORZ);
    m_pBar->SetWindowPos(nullptr, pt.x, pt.y, sz.cx, sz.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pCommandBars->RecalcFrameLayout();
  }
  pCommandBars->GetCommandBarsOptions()->bDirtyState = TRUE;
  return TRUE;
}
