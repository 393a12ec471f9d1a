// The splitter panel: pane geometry, the drag with its inverted tracker, and the positions kept in the
// application's profile.
#include "SplitterPanel.h"

#include <algorithm>

namespace {

const COLORREF TRACKER_COLOUR = 0xCDC0AC;

// Style bits of Attach that choose the mode.
const DWORD SPLIT_VERTICAL = 0x00000001;
const DWORD SPLIT_HORIZONTAL = 0x00000002;

CString SectionName(LPCTSTR lpszSection, UINT nId) {
  CString section;
  section.Format(L"%s%d", lpszSection, nId);
  return section;
}

}  // namespace

const wchar_t CSplitterPanel::VERTICAL_SECTION[] = L"splt\\init_v";
const wchar_t CSplitterPanel::HORIZONTAL_SECTION[] = L"splt\\init_h";
const wchar_t CSplitterPanel::VERTICAL_ENTRY[] = L"VertSplitPos";
const wchar_t CSplitterPanel::HORIZONTAL_ENTRY[] = L"HorizSplitPos";

BEGIN_MESSAGE_MAP(CSplitterPanel, CStatic)
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_CAPTURECHANGED()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSplitterPanel::CSplitterPanel()
    : m_pParentWnd(nullptr),
      m_pLeft(nullptr),
      m_pRight(nullptr),
      m_pTop(nullptr),
      m_pBottom(nullptr),
      m_nMinLeft(0),
      m_nMinRight(0),
      m_nMinTop(0),
      m_nMinBottom(0),
      m_nBarWidth(5),
      m_nId(0),
      m_nLeftWidth(0),
      m_nBottomHeight(0),
      m_rcBarV(0, 0, 0, 0),
      m_rcLeft(0, 0, 0, 0),
      m_rcRight(0, 0, 0, 0),
      m_rcBarH(0, 0, 0, 0),
      m_rcTop(0, 0, 0, 0),
      m_rcBottom(0, 0, 0, 0),
      m_rcTrackerV(0, 0, 0, 0),
      m_rcTrackerH(0, 0, 0, 0),
      m_bVertical(FALSE),
      m_bHorizontal(FALSE),
      m_bTrackingV(FALSE),
      m_bTrackingH(FALSE),
      m_hWndFocusBefore(nullptr),
      m_bLiveDrag(FALSE) {
  m_brush.CreateSolidBrush(TRACKER_COLOUR);
}

BOOL CSplitterPanel::PreCreateWindow(CREATESTRUCT& cs) {
  // A static hears the mouse only with SS_NOTIFY.
  cs.style |= SS_NOTIFY;
  return CStatic::PreCreateWindow(cs);
}

BOOL CSplitterPanel::Attach(DWORD dwStyle, CWnd* pParent, CWnd* pFirst, CWnd* pSecond, UINT nId,
                            const RECT& rect, int nFirstMin, int nSecondMin) {
  m_pParentWnd = pParent;
  m_nId = nId;
  if (!Create(L"", dwStyle, rect, pParent, nId)) return FALSE;
  for (CWnd* pPane : {pFirst, pSecond}) {
    if (pPane == nullptr || pPane->GetSafeHwnd() == nullptr) continue;
    pPane->SetParent(this);
    pPane->SetOwner(pParent);
  }
  if (dwStyle & SPLIT_VERTICAL) {
    m_pLeft = pFirst;
    m_pRight = pSecond;
    InitVertical(nFirstMin, nSecondMin);
  }
  if (dwStyle & SPLIT_HORIZONTAL) {
    m_pTop = pFirst;
    m_pBottom = pSecond;
    InitHorizontal(nFirstMin, nSecondMin);
  }
  return TRUE;
}

int CSplitterPanel::StoredPosition(BOOL bVertical) const {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return -1;
  const int nStored = static_cast<int>(
      pApp->GetProfileInt(SectionName(bVertical ? VERTICAL_SECTION : HORIZONTAL_SECTION, m_nId),
                          bVertical ? VERTICAL_ENTRY : HORIZONTAL_ENTRY, -1));
  return nStored >= 0 ? nStored : -1;
}

void CSplitterPanel::InitVertical(int nMinLeft, int nMinRight) {
  m_bVertical = TRUE;
  m_bHorizontal = FALSE;
  m_nMinLeft = nMinLeft;
  m_nMinRight = nMinRight;
  const int nStored = StoredPosition(TRUE);
  const int nWidth = nStored >= 0 ? nStored : INITIAL_PANE_SIZE;
  MoveVerticalBar(m_nBarWidth / 2 + nWidth);
  m_nLeftWidth = m_rcLeft.Width();
}

void CSplitterPanel::InitHorizontal(int nMinTop, int nMinBottom) {
  m_bHorizontal = TRUE;
  m_bVertical = FALSE;
  m_nMinTop = nMinTop;
  m_nMinBottom = nMinBottom;
  const int nStored = StoredPosition(FALSE);
  m_nBottomHeight = nStored >= 0 ? nStored : INITIAL_PANE_SIZE;
  CRect rcClient;
  GetClientRect(&rcClient);
  MoveHorizontalBar(rcClient.bottom - m_nBarWidth / 2 - m_nBottomHeight);
}

void CSplitterPanel::MoveVerticalBar(int x) {
  CRect rcClient;
  GetClientRect(&rcClient);
  const int b = m_nBarWidth;
  m_rcBarV.SetRect(x - b, rcClient.top, x + b, rcClient.bottom);
  m_rcLeft.SetRect(rcClient.left, rcClient.top, x - b / 2, rcClient.bottom);
  m_rcRight.SetRect(m_rcLeft.right + b, rcClient.top, rcClient.right, rcClient.bottom);
  if (m_pLeft != nullptr && m_pLeft->GetSafeHwnd() != nullptr) m_pLeft->MoveWindow(&m_rcLeft);
  if (m_pRight != nullptr && m_pRight->GetSafeHwnd() != nullptr) m_pRight->MoveWindow(&m_rcRight);
}

void CSplitterPanel::MoveHorizontalBar(int y) {
  CRect rcClient;
  GetClientRect(&rcClient);
  const int b = m_nBarWidth;
  m_rcBarH.SetRect(0, y - b, rcClient.right, y + b);
  m_rcBottom.SetRect(rcClient.left, y + b / 2, rcClient.right, rcClient.bottom);
  m_rcTop.SetRect(rcClient.left, rcClient.top, rcClient.right, m_rcBottom.top - b);
  if (m_pBottom != nullptr && m_pBottom->GetSafeHwnd() != nullptr) m_pBottom->MoveWindow(&m_rcBottom);
  if (m_pTop != nullptr && m_pTop->GetSafeHwnd() != nullptr) m_pTop->MoveWindow(&m_rcTop);
}

int CSplitterPanel::ClampX(int x) const {
  CRect rcClient;
  GetClientRect(&rcClient);
  x = std::min(x, static_cast<int>(rcClient.right) - m_nMinRight);
  return std::max(x, static_cast<int>(rcClient.left) + m_nMinLeft);
}

int CSplitterPanel::ClampY(int y) const {
  CRect rcClient;
  GetClientRect(&rcClient);
  y = std::min(y, static_cast<int>(rcClient.bottom) - m_nMinBottom);
  return std::max(y, static_cast<int>(rcClient.top) + m_nMinTop);
}

void CSplitterPanel::OnSize(UINT nType, int cx, int cy) {
  CStatic::OnSize(nType, cx, cy);
  if (m_bVertical) {
    MoveVerticalBar(ClampX(m_nLeftWidth + m_nBarWidth / 2));
  } else if (m_bHorizontal) {
    MoveHorizontalBar(ClampY(cy - m_nBarWidth / 2 - m_nBottomHeight));
  }
}

// ---- Dragging ----------------------------------------------------------------------------------------
void CSplitterPanel::DrawTracker(const CRect& rc) {
  // Drawn over the panes as well: the panel's own children are not clipped out of this context.
  CDC* pDC = CDC::FromHandle(::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS));
  if (pDC == nullptr || pDC->GetSafeHdc() == nullptr) return;
  CBrush* pOldBrush = pDC->SelectObject(&m_brush);
  pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATINVERT);
  pDC->SelectObject(pOldBrush);
  ::ReleaseDC(m_hWnd, pDC->GetSafeHdc());
}

void CSplitterPanel::DrawTrackerV() { DrawTracker(m_rcTrackerV); }

void CSplitterPanel::DrawTrackerH() { DrawTracker(m_rcTrackerH); }

void CSplitterPanel::OnLButtonDown(UINT nFlags, CPoint point) {
  CStatic::OnLButtonDown(nFlags, point);
  if (IsDragging()) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  const int b = m_nBarWidth;
  if (m_bVertical && m_rcBarV.PtInRect(point)) {
    const int x = ClampX(point.x);
    m_rcTrackerV.SetRect(x - b / 2, rcClient.top, x - b / 2 + b, rcClient.bottom);
    m_bTrackingV = TRUE;
    DrawTrackerV();
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
  } else if (m_bHorizontal && m_rcBarH.PtInRect(point)) {
    const int y = ClampY(point.y);
    m_rcTrackerH.SetRect(rcClient.left, y - b / 2, rcClient.right, y - b / 2 + b);
    m_bTrackingH = TRUE;
    DrawTrackerH();
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
  } else {
    return;
  }
  m_ptStart = point;
  m_ptLast = point;
  SetCapture();
  m_hWndFocusBefore = ::GetFocus();
  SetFocus();
}

void CSplitterPanel::OnMouseMove(UINT nFlags, CPoint point) {
  CStatic::OnMouseMove(nFlags, point);
  if (m_bTrackingV) {
    const int x = ClampX(point.x);
    const int nShift = x - ClampX(m_ptLast.x);
    if (m_bLiveDrag) {
      MoveVerticalBar(x);
    } else if (nShift != 0) {
      DrawTrackerV();
      m_rcTrackerV.OffsetRect(nShift, 0);
      DrawTrackerV();
    }
    m_ptLast = point;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
  } else if (m_bTrackingH) {
    const int y = ClampY(point.y);
    const int nShift = y - ClampY(m_ptLast.y);
    if (m_bLiveDrag) {
      MoveHorizontalBar(y);
    } else if (nShift != 0) {
      DrawTrackerH();
      m_rcTrackerH.OffsetRect(0, nShift);
      DrawTrackerH();
    }
    m_ptLast = point;
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
  } else if (m_bVertical && m_rcBarV.PtInRect(point)) {
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
  } else if (m_bHorizontal && m_rcBarH.PtInRect(point)) {
    ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
  }
}

void CSplitterPanel::OnLButtonUp(UINT nFlags, CPoint point) {
  CStatic::OnLButtonUp(nFlags, point);
  if (m_bTrackingV) {
    const int x = ClampX(point.x);
    if (!m_bLiveDrag) DrawTrackerV();
    EndDrag();
    MoveVerticalBar(x);
    m_nLeftWidth = m_rcLeft.Width();
  } else if (m_bTrackingH) {
    const int y = ClampY(point.y);
    if (!m_bLiveDrag) DrawTrackerH();
    EndDrag();
    MoveHorizontalBar(y);
    m_nBottomHeight = m_rcBottom.Height();
  }
}

void CSplitterPanel::EndDrag() {
  // The flags go first: the capture's release below is not another window taking it.
  m_bTrackingV = FALSE;
  m_bTrackingH = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CSplitterPanel::CancelDragV() {
  if (!m_bTrackingV) return;
  if (m_bLiveDrag) {
    MoveVerticalBar(m_nLeftWidth + m_nBarWidth / 2);
  } else {
    DrawTrackerV();
  }
  EndDrag();
  if (m_hWndFocusBefore != nullptr && ::IsWindow(m_hWndFocusBefore)) ::SetFocus(m_hWndFocusBefore);
}

void CSplitterPanel::CancelDragH() {
  if (!m_bTrackingH) return;
  if (m_bLiveDrag) {
    CRect rcClient;
    GetClientRect(&rcClient);
    MoveHorizontalBar(rcClient.bottom - m_nBarWidth / 2 - m_nBottomHeight);
  } else {
    DrawTrackerH();
  }
  EndDrag();
  if (m_hWndFocusBefore != nullptr && ::IsWindow(m_hWndFocusBefore)) ::SetFocus(m_hWndFocusBefore);
}

// Another window took the mouse (a menu, a dialog, the system): the drag cannot go on, and a tracker
// left on the screen would stay there.
void CSplitterPanel::OnCaptureChanged(CWnd* pWnd) {
  if (pWnd != this) {
    CancelDragV();
    CancelDragH();
  }
  CStatic::OnCaptureChanged(pWnd);
}

BOOL CSplitterPanel::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE && IsDragging()) {
    CancelDragV();
    CancelDragH();
    return TRUE;
  }
  return CStatic::PreTranslateMessage(pMsg);
}

void CSplitterPanel::OnDestroy() {
  if (IsDragging()) {
    CancelDragV();
    CancelDragH();
  }
  CStatic::OnDestroy();
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  if (m_bVertical && !m_rcLeft.IsRectEmpty()) {
    pApp->WriteProfileInt(SectionName(VERTICAL_SECTION, m_nId), VERTICAL_ENTRY, m_rcLeft.right);
  }
  if (m_bHorizontal && !m_rcBottom.IsRectEmpty()) {
    pApp->WriteProfileInt(SectionName(HORIZONTAL_SECTION, m_nId), HORIZONTAL_ENTRY, m_rcBottom.Height());
  }
}

BOOL CSplitterPanel::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }
