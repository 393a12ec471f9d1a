// Control bars: layout through WM_SIZEPARENT, delayed showing, borders and idle command-UI updates;
// the type-test frames.
#include "afxwin.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

namespace {
// Border and gripper metrics of docked bars, in pixels.
constexpr int kBorder = 2;
constexpr int kGripper = 3;
constexpr int kGripperBorder = 2;
}  // namespace

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(6),
      m_cxRightBorder(6),
      m_cyTopBorder(1),
      m_cyBottomBorder(1),
      m_cxDefaultGap(2),
      m_nMRUWidth(32767),
      m_bAutoDelete(FALSE),
      m_nStateFlags(0),
      m_dwStyle(0),
      m_dwDockStyle(0),
      m_pDockSite(nullptr),
      m_pDockBar(nullptr),
      m_pDockContext(nullptr),
      m_nCount(0) {}

CControlBar::~CControlBar() = default;

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs) {
  if (cs.lpszClass == nullptr) cs.lpszClass = AfxRegisterDefaultClass(AFX_WNDCONTROLBAR);
  cs.style |= WS_CLIPSIBLINGS;  // bars overlap the view's edges while the layout settles
  return TRUE;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips();
  CWnd* pParent = GetParent();
  if (pParent != nullptr && pParent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    m_pDockSite = static_cast<CFrameWnd*>(pParent);
  }
  return 0;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  if (m_pDockSite != nullptr) return m_pDockSite;
  return GetParentFrame();
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int /*nLength*/, DWORD dwMode) {
  return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  DWORD dwStyle = m_dwStyle;
  if (dwStyle & CBRS_BORDER_LEFT) rect.left += kBorder;
  if (dwStyle & CBRS_BORDER_TOP) rect.top += kBorder;
  if (dwStyle & CBRS_BORDER_RIGHT) rect.right -= kBorder;
  if (dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= kBorder;
  bool bGripper = (dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if (bGripper) rect.left += kGripperBorder + kGripper + kGripperBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
    if (bGripper) rect.top += kGripperBorder + kGripper + kGripperBorder;
  }
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  DWORD dwOldStyle = m_dwStyle;
  m_dwStyle = dwStyle;
  OnBarStyleChange(dwOldStyle, dwStyle);
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  m_cxLeftBorder = cxLeft;
  m_cyTopBorder = cyTop;
  m_cxRightBorder = cxRight;
  m_cyBottomBorder = cyBottom;
}

void CControlBar::DelayShow(BOOL bShow) {
  m_nStateFlags &= ~(delayHide | delayShow);
  BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
  if (bShow && !bVisible) {
    m_nStateFlags |= delayShow;
  } else if (!bShow && bVisible) {
    m_nStateFlags |= delayHide;
  }
  CFrameWnd* pFrame = GetDockingFrame();
  if (pFrame != nullptr) pFrame->DelayRecalcLayout();
}

BOOL CControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return FALSE;
  return (GetStyle() & WS_VISIBLE) != 0 || (m_nStateFlags & delayShow) != 0;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
  DWORD dwStyle = (GetStyle() & WS_VISIBLE) | (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_FLOATING));
  if (m_nStateFlags & (delayHide | delayShow)) {
    BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
    UINT swpFlags = 0;
    if ((m_nStateFlags & delayHide) && bVisible) {
      swpFlags = SWP_HIDEWINDOW;
    } else if ((m_nStateFlags & delayShow) && !bVisible) {
      swpFlags = SWP_SHOWWINDOW;
    }
    if (lpLayout->hDWP != nullptr) m_nStateFlags &= ~(delayShow | delayHide);  // a query changes nothing
    if (swpFlags != 0) {
      dwStyle ^= WS_VISIBLE;
      if (lpLayout->hDWP != nullptr) {
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                          swpFlags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  return dwStyle;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  if (lpLayout == nullptr) return 0;
  DWORD dwStyle = RecalcDelayShow(lpLayout);
  if ((dwStyle & WS_VISIBLE) == 0 || (dwStyle & CBRS_ALIGN_ANY) == 0) return 0;

  CRect rect(lpLayout->rect);
  CSize sizeAvail(rect.Width(), rect.Height());
  DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING)) {
    dwMode |= LM_HORZ | LM_MRUWIDTH;
  } else if (dwStyle & CBRS_ORIENT_HORZ) {
    dwMode |= LM_HORZ | LM_HORZDOCK;
  } else {
    dwMode |= LM_VERTDOCK;
  }
  CSize size = CalcDynamicLayout(-1, dwMode);
  size.cx = std::min(size.cx, sizeAvail.cx);
  size.cy = std::min(size.cy, sizeAvail.cy);

  if (dwStyle & CBRS_ORIENT_HORZ) {
    lpLayout->sizeTotal.cy += size.cy;
    lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
    if (dwStyle & CBRS_ALIGN_TOP) {
      lpLayout->rect.top += size.cy;
    } else if (dwStyle & CBRS_ALIGN_BOTTOM) {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else if (dwStyle & CBRS_ORIENT_VERT) {
    lpLayout->sizeTotal.cx += size.cx;
    lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
    if (dwStyle & CBRS_ALIGN_LEFT) {
      lpLayout->rect.left += size.cx;
    } else if (dwStyle & CBRS_ALIGN_RIGHT) {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;

  // A query (no deferred-position handle) only measures.
  if (lpLayout->hDWP != nullptr) {
    CRect rectOld;
    GetWindowRect(&rectOld);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&rectOld), 2);
    if (!::EqualRect(&rectOld, &rect)) {
      lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                        rect.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  if ((GetStyle() & WS_VISIBLE) == 0) return 0;
  CWnd* pOwner = GetOwner();
  CFrameWnd* pTarget = pOwner != nullptr && pOwner->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                           ? static_cast<CFrameWnd*>(pOwner)
                           : GetParentFrame();
  if (pTarget != nullptr) OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
  return 0;
}

INT_PTR CControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  return CWnd::OnToolHitTest(point, pTI);
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

HBRUSH CControlBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  LRESULT lResult = 0;
  if (pWnd != nullptr && pWnd->SendChildNotifyLastMsg(&lResult)) return reinterpret_cast<HBRUSH>(lResult);
  // Child controls sit on the bar's face colour.
  pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
  UNUSED(nCtlColor);
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

void CControlBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
  DrawGripper(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  DWORD dwStyle = m_dwStyle;
  if ((dwStyle & CBRS_BORDER_ANY) == 0) return;
  UINT nFlags = 0;
  if (dwStyle & CBRS_BORDER_LEFT) nFlags |= BF_LEFT;
  if (dwStyle & CBRS_BORDER_TOP) nFlags |= BF_TOP;
  if (dwStyle & CBRS_BORDER_RIGHT) nFlags |= BF_RIGHT;
  if (dwStyle & CBRS_BORDER_BOTTOM) nFlags |= BF_BOTTOM;
  pDC->DrawEdge(&rect, EDGE_ETCHED, nFlags | BF_ADJUST);
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
  if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
  COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  if (m_dwStyle & CBRS_ORIENT_HORZ) {
    pDC->Draw3dRect(rect.left + kGripperBorder, rect.top + m_cyTopBorder, kGripper,
                    rect.Height() - m_cyTopBorder - m_cyBottomBorder, light, shadow);
  } else {
    pDC->Draw3dRect(rect.left + m_cyTopBorder, rect.top + kGripperBorder,
                    rect.Width() - m_cyTopBorder - m_cyBottomBorder, kGripper, light, shadow);
  }
}

void CControlBar::EraseNonClient() {
  CWindowDC dc(this);
  CRect rectClient;
  GetClientRect(&rectClient);
  CRect rectWindow;
  GetWindowRect(&rectWindow);
  ScreenToClient(&rectWindow);
  rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
  dc.ExcludeClipRect(&rectClient);
  rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
  DrawBorders(&dc, rectWindow);
  dc.IntersectClipRect(&rectWindow);
  dc.FillSolidRect(&rectWindow, ::GetSysColor(COLOR_BTNFACE));
}

BOOL CMiniFrameWnd::Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT /*nID*/) {
  return CFrameWnd::Create(lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nullptr, WS_EX_TOOLWINDOW);
}
