// Splitter tracking drawn on the desktop's window DC.
#include "SplitTracker.h"

#include <algorithm>

void CXTPSplitTracker::OnInvertTracker(const CRect& rc) {
  if (m_bSolid) {
    m_pDC->InvertRect(rc);
    return;
  }
  CBrush* pBrush = CDC::GetHalftoneBrush();
  HGDIOBJ hOld = ::SelectObject(m_pDC->GetSafeHdc(), pBrush->GetSafeHandle());
  m_pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATINVERT);
  if (hOld != nullptr) ::SelectObject(m_pDC->GetSafeHdc(), hOld);
}

BOOL CXTPSplitTracker::Track(CWnd* pWnd, CRect rcAvail, CRect& rcTracker, CPoint point, BOOL bHoriz) {
  HWND hWnd = pWnd->GetSafeHwnd();
  ::SetCapture(hWnd);
  HWND hDesktop = ::GetDesktopWindow();
  const BOOL bLocked = ::LockWindowUpdate(hDesktop);
  HDC hDC = ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0));
  CDC dc;
  dc.Attach(hDC);
  m_pDC = &dc;

  const CSize offset = bHoriz ? CSize(rcTracker.left - point.x, 0) : CSize(0, rcTracker.top - point.y);
  const BOOL bBound = !m_rcBoundRect.IsRectEmpty();
  OnInvertTracker(rcTracker);
  if (bBound) OnInvertTracker(m_rcBoundRect);

  BOOL bAccept = FALSE;
  MSG msg;
  while (::GetCapture() == hWnd) {
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      // The program is ending: hand the quit request back to the message loop and cancel.
      if (msg.message == WM_QUIT) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      CPoint pt(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      ::ClientToScreen(hWnd, &pt);
      pt += offset;
      // The left or top limit wins when the limits cross.
      pt.x = std::max(rcAvail.left, std::min(pt.x, rcAvail.right));
      pt.y = std::max(rcAvail.top, std::min(pt.y, rcAvail.bottom));
      if (bHoriz && pt.x != rcTracker.left) {
        OnInvertTracker(rcTracker);
        rcTracker.OffsetRect(pt.x - rcTracker.left, 0);
        OnInvertTracker(rcTracker);
      } else if (!bHoriz && pt.y != rcTracker.top) {
        OnInvertTracker(rcTracker);
        rcTracker.OffsetRect(0, pt.y - rcTracker.top);
        OnInvertTracker(rcTracker);
      }
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      break;
    } else if (msg.message == WM_LBUTTONUP) {
      bAccept = TRUE;
      break;
    } else {
      ::DispatchMessageW(&msg);
    }
  }

  if (bBound) OnInvertTracker(m_rcBoundRect);
  OnInvertTracker(rcTracker);
  if (::GetCapture() == hWnd) ::ReleaseCapture();
  if (bLocked) ::LockWindowUpdate(nullptr);
  dc.Detach();
  ::ReleaseDC(hDesktop, hDC);
  m_pDC = nullptr;
  return bAccept;
}
