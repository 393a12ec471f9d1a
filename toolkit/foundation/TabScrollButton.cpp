// Navigate buttons: placement at the end of the strip, the press-and-hold loop, glyphs.
#include "TabScrollButton.h"

#include <windowsx.h>

#include "ScopedBrush.h"
#include "ScopedPen.h"
#include "TabColorScheme.h"
#include "TabManager.h"
#include "TabPainter.h"
#include "TabShapeSet.h"

namespace {

// Arrows repeat this often while held.
const DWORD kRepeatInterval = 20;

}  // namespace

CXTPTabScrollButton::CXTPTabScrollButton(CXTPTabManager* pManager, int nKind, int nShowMode)
    : m_nKind(nKind), m_nShowMode(nShowMode), m_pManager(pManager) {
  m_rcButton.SetRectEmpty();
}

CXTPTabScrollButton::~CXTPTabScrollButton() = default;

BOOL CXTPTabScrollButton::IsVerticalStrip() const {
  const int nPosition = m_pManager->GetPosition();
  return nPosition == xtpTabPositionLeft || nPosition == xtpTabPositionRight;
}

void CXTPTabScrollButton::ReduceAvailableLength(int& nLength) {
  if (m_nShowMode == xtpTabNavigateButtonAlways) nLength -= IsVerticalStrip() ? m_nHeight : m_nWidth;
}

void CXTPTabScrollButton::Place(CRect& rcHeader, BOOL bShow) {
  if (!bShow) {
    m_rcButton.SetRectEmpty();
    return;
  }
  if (IsVerticalStrip()) {
    const int nCentre = (rcHeader.left + rcHeader.right) / 2;
    m_rcButton.SetRect(nCentre - (m_nWidth - m_nWidth / 2), rcHeader.bottom - m_nHeight,
                       nCentre + m_nWidth / 2, rcHeader.bottom);
    rcHeader.bottom -= m_nHeight;
  } else {
    const int nCentre = (rcHeader.top + rcHeader.bottom) / 2;
    m_rcButton.SetRect(rcHeader.right - m_nWidth, nCentre - (m_nHeight - m_nHeight / 2), rcHeader.right,
                       nCentre + m_nHeight / 2);
    rcHeader.right -= m_nWidth;
  }
}

void CXTPTabScrollButton::RepositionAutomatic(CRect& rcHeader) {
  const int nLayout = m_pManager->GetLayout();
  if (nLayout == xtpTabLayoutMultiRow) {
    Place(rcHeader, FALSE);
    return;
  }
  BOOL bShow = m_nShowMode == xtpTabNavigateButtonAlways;
  if (m_nShowMode == xtpTabNavigateButtonAutomatic && nLayout != xtpTabLayoutSizeToFit &&
      m_pManager->IsNavigateButtonVisible(this)) {
    const int nScrollOffset = m_pManager->GetScrollOffset();
    const int nHeaderLength = IsVerticalStrip() ? rcHeader.Height() : rcHeader.Width();
    const int nMarginLeft = m_pManager->GetPaintManager()->GetShapeSet()->GetHeaderMargin().left;
    bShow =
        nHeaderLength < m_pManager->GetItemsLength() + nScrollOffset - nMarginLeft - 1 || nScrollOffset < 0;
  }
  Place(rcHeader, bShow);
}

void CXTPTabScrollButton::Reposition(CRect& rcHeader) {
  BOOL bShow = m_nShowMode == xtpTabNavigateButtonAlways ||
               (m_nShowMode == xtpTabNavigateButtonAutomatic && m_pManager->IsNavigateButtonVisible(this));
  Place(rcHeader, bShow);
}

void CXTPTabScrollButton::OnExecute(BOOL /*bRepeat*/) {}

void CXTPTabScrollButton::TrackClick(HWND hWnd, CPoint point) {
  HWND hCapture = ::GetCapture();
  if ((hCapture != nullptr && hCapture != hWnd) || !m_bEnabled) return;
  ::SetCapture(hWnd);
  m_bPressed = m_rcButton.PtInRect(point);
  m_pManager->RedrawControl();

  BOOL bAccept = FALSE;
  BOOL bQuit = FALSE;
  int nQuitCode = 0;
  // A message the loop dispatches (or a command the button runs) may destroy the window, and with it
  // the manager and this button: the loop then ends without touching either.
  BOOL bWindowGone = FALSE;
  DWORD dwLastTick = ::GetTickCount();
  for (;;) {
    if (m_bEnabled && ::GetTickCount() - dwLastTick > kRepeatInterval) {
      OnExecute(TRUE);
      if (!::IsWindow(hWnd)) {
        bWindowGone = TRUE;
        break;
      }
      dwLastTick = ::GetTickCount();
    }
    MSG msg;
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      // Nothing queued: sleep until input arrives or the next repeat is due, rather than spin.
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kRepeatInterval / 4, QS_ALLINPUT);
      continue;
    }
    if (msg.message == WM_QUIT) {
      bQuit = TRUE;
      nQuitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (::GetCapture() != hWnd) {
      ::DispatchMessageW(&msg);
      bWindowGone = !::IsWindow(hWnd);
      break;
    }
    if (msg.message == WM_CANCELMODE || msg.message == WM_RBUTTONUP) break;
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_ESCAPE) break;
      continue;
    }
    if (msg.message == WM_MOUSEMOVE) {
      const BOOL bPressed = m_rcButton.PtInRect(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
      if (bPressed != m_bPressed) {
        m_bPressed = bPressed;
        m_pManager->RedrawControl();
      }
      continue;
    }
    if (msg.message == WM_LBUTTONUP) {
      bAccept = m_rcButton.PtInRect(CPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    if (!::IsWindow(hWnd)) {
      bWindowGone = TRUE;
      break;
    }
  }

  if (bWindowGone) return;
  if (::GetCapture() == hWnd) ::ReleaseCapture();
  m_bPressed = FALSE;
  CPoint ptCursor;
  ::GetCursorPos(&ptCursor);
  ::ScreenToClient(hWnd, &ptCursor);
  m_bHot = m_rcButton.PtInRect(ptCursor);
  m_pManager->RedrawControl();
  // The application's quit request was taken off the queue here; it must still reach its loop.
  if (bQuit)
    ::PostQuitMessage(nQuitCode);
  else if (bAccept)
    OnExecute(FALSE);
}

void CXTPTabScrollButton::Draw(CDC* pDC) {
  if (m_rcButton.IsRectEmpty()) return;
  CRect rc(m_rcButton);
  m_pManager->GetPaintManager()->GetColorScheme()->FillNavigateButton(pDC, this, rc);
  DrawGlyph(pDC, rc);
}

void CXTPTabScrollButton::PerformMouseMove(HWND /*hWnd*/, CPoint point) {
  const BOOL bHot = !m_rcButton.IsRectEmpty() && m_rcButton.PtInRect(point);
  if (bHot == m_bHot) return;
  m_bHot = bHot;
  m_pManager->RedrawControl();
}

void CXTPTabScrollButton::DrawTriangle(CDC* pDC, const POINT* pts) {
  const COLORREF clr = pDC->GetTextColor();
  CXTPScopedPen pen(pDC, clr);
  if (m_bEnabled) {
    CXTPScopedBrush brush(pDC, clr);
    pDC->Polygon(pts, 3);
  } else {
    HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(HOLLOW_BRUSH));
    pDC->Polygon(pts, 3);
    ::SelectObject(pDC->GetSafeHdc(), hOld);
  }
}

// ---- back -------------------------------------------------------------------------------------

CXTPTabScrollButtonBack::CXTPTabScrollButtonBack(CXTPTabManager* pManager)
    : CXTPTabScrollButton(pManager, xtpTabNavigateButtonLeft, xtpTabNavigateButtonAutomatic) {}

void CXTPTabScrollButtonBack::Reposition(CRect& rcHeader) {
  m_bEnabled = m_pManager->GetScrollOffset() < 0;
  RepositionAutomatic(rcHeader);
}

void CXTPTabScrollButtonBack::DrawGlyph(CDC* pDC, CRect rc) {
  const CPoint c = rc.CenterPoint();
  if (IsVerticalStrip()) {
    const POINT pts[3] = {{c.x - 5, c.y + 2}, {c.x - 1, c.y - 2}, {c.x + 3, c.y + 2}};
    DrawTriangle(pDC, pts);
  } else {
    const POINT pts[3] = {{c.x + 2, c.y - 5}, {c.x - 2, c.y - 1}, {c.x + 2, c.y + 3}};
    DrawTriangle(pDC, pts);
  }
}

void CXTPTabScrollButtonBack::OnExecute(BOOL bRepeat) {
  if (bRepeat) m_pManager->OnScroll(false);
}

// ---- forward ----------------------------------------------------------------------------------

CXTPTabScrollButtonForward::CXTPTabScrollButtonForward(CXTPTabManager* pManager)
    : CXTPTabScrollButton(pManager, xtpTabNavigateButtonRight, xtpTabNavigateButtonAutomatic) {}

void CXTPTabScrollButtonForward::Reposition(CRect& rcHeader) {
  const int nHeaderLength = IsVerticalStrip() ? rcHeader.Height() : rcHeader.Width();
  // 28: the room both arrows take.
  m_bEnabled = nHeaderLength - 28 < m_pManager->GetScrollOffset() + m_pManager->GetItemsLength();
  RepositionAutomatic(rcHeader);
}

void CXTPTabScrollButtonForward::DrawGlyph(CDC* pDC, CRect rc) {
  const CPoint c = rc.CenterPoint();
  if (IsVerticalStrip()) {
    const POINT pts[3] = {{c.x - 5, c.y - 2}, {c.x - 1, c.y + 2}, {c.x + 3, c.y - 2}};
    DrawTriangle(pDC, pts);
  } else {
    const POINT pts[3] = {{c.x - 2, c.y - 5}, {c.x + 2, c.y - 1}, {c.x - 2, c.y + 3}};
    DrawTriangle(pDC, pts);
  }
}

void CXTPTabScrollButtonForward::OnExecute(BOOL bRepeat) {
  if (bRepeat) m_pManager->OnScroll(true);
}

// ---- close ------------------------------------------------------------------------------------

CXTPTabScrollButtonClose::CXTPTabScrollButtonClose(CXTPTabManager* pManager)
    : CXTPTabScrollButton(pManager, xtpTabNavigateButtonClose, xtpTabNavigateButtonNone) {}

void CXTPTabScrollButtonClose::ReduceAvailableLength(int& nLength) {
  if (m_nShowMode == xtpTabNavigateButtonAlways ||
      (m_nShowMode == xtpTabNavigateButtonAutomatic && m_pManager->IsNavigateButtonVisible(this)))
    nLength -= IsVerticalStrip() ? m_nHeight : m_nWidth;
}

void CXTPTabScrollButtonClose::DrawGlyph(CDC* pDC, CRect rc) {
  const CPoint c = rc.CenterPoint();
  CXTPScopedPen pen(pDC, pDC->GetTextColor());
  // Two strokes each way make the cross two pixels thick.
  pDC->MoveTo(c.x - 4, c.y - 4);
  pDC->LineTo(c.x + 3, c.y + 3);
  pDC->MoveTo(c.x - 3, c.y - 4);
  pDC->LineTo(c.x + 4, c.y + 3);
  pDC->MoveTo(c.x - 4, c.y + 2);
  pDC->LineTo(c.x + 3, c.y - 5);
  pDC->MoveTo(c.x - 3, c.y + 2);
  pDC->LineTo(c.x + 4, c.y - 5);
}

void CXTPTabScrollButtonClose::OnExecute(BOOL bRepeat) {
  if (!bRepeat) m_pManager->OnNavigateButton(m_nKind);
}
