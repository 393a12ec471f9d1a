// CGridTitleTip: the pop-up showing a grid cell's whole text.
#include "GridTitleTip.h"

#include <windowsx.h>

#include <cstring>

IMPLEMENT_DYNAMIC(CGridTitleTip, CWnd)

BEGIN_MESSAGE_MAP(CGridTitleTip, CWnd)
ON_WM_MOUSEMOVE()
ON_WM_MOUSEACTIVATE()
ON_WM_PAINT()
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CGridTitleTip::CGridTitleTip()
    : m_pParentWnd(nullptr),
      m_dwLastLButtonDown(ULONG_MAX),
      m_dwDblClickMsecs(::GetDoubleClickTime()),
      m_bCreated(FALSE),
      m_hShownFont(nullptr),
      m_crShownText(CLR_DEFAULT),
      m_crShownBack(CLR_DEFAULT) {
  WNDCLASS wndcls;
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (!::GetClassInfo(hInst, GRID_TITLETIP_CLASSNAME, &wndcls)) {
    std::memset(&wndcls, 0, sizeof(wndcls));
    wndcls.style = CS_SAVEBITS;
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    wndcls.lpszClassName = GRID_TITLETIP_CLASSNAME;
    if (!AfxRegisterClass(&wndcls)) AfxThrowResourceException();
  }
}

CGridTitleTip::~CGridTitleTip() {
  if (::IsWindow(m_hWnd)) CWnd::DestroyWindow();
}

BOOL CGridTitleTip::Create(CWnd* pParentWnd) {
  m_pParentWnd = pParentWnd;
  m_bCreated =
      CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, GRID_TITLETIP_CLASSNAME, nullptr, WS_BORDER | WS_POPUP,
               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr);
  return m_bCreated;
}

void CGridTitleTip::OnNcDestroy() {
  m_bCreated = FALSE;
  CWnd::OnNcDestroy();
}

void CGridTitleTip::Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset, LPRECT lpHoverRect,
                         const LOGFONT* lpLogFont, COLORREF crTextClr, COLORREF crBackClr) {
  if (m_pParentWnd == nullptr || lpszTitleText == nullptr) return;
  if (!::IsWindow(m_hWnd) && !Create(m_pParentWnd)) return;
  if (rectTitle.IsRectEmpty()) return;
  if (IsWindowVisible()) return;

  m_rectHover = lpHoverRect != nullptr ? CRect(lpHoverRect) : rectTitle;
  m_rectHover.right++;
  m_rectHover.bottom++;
  m_pParentWnd->ClientToScreen(m_rectHover);
  // A tip while the program is in the background would take clicks meant for another program.
  if (CWnd::GetFocus() == nullptr) return;

  m_rectTitle.SetRect(-xoffset - 1, -1, rectTitle.Width() - xoffset, rectTitle.Height() + 1);
  m_pParentWnd->ClientToScreen(rectTitle);

  CString strTitle = _T(" ");
  strTitle += lpszTitleText;
  strTitle += _T(" ");
  strTitle.Replace(_T(";"), _T("\r\n"));
  const BOOL bMultiLine = strTitle.Find(_T("\r\n")) >= 0;
  // The blank closing the last line is no line of its own.
  if (bMultiLine) strTitle.TrimRight(_T(" \r\n"));

  HFONT hFont;
  if (lpLogFont != nullptr) {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(lpLogFont);
    hFont = static_cast<HFONT>(m_font.GetSafeHandle());
  } else {
    hFont = reinterpret_cast<HFONT>(m_pParentWnd->SendMessage(WM_GETFONT, 0, 0));
  }

  // Every line is measured as it will be drawn, so none is cut.
  CSize size;
  {
    CClientDC dc(this);
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), hFont) : nullptr;
    if (bMultiLine) {
      CRect rectCalc(0, 0, 0, 0);
      dc.DrawText(strTitle, rectCalc, DT_CALCRECT | DT_NOPREFIX);
      size = rectCalc.Size();
    } else {
      size = dc.GetTextExtent(strTitle);
    }
    TEXTMETRIC tm;
    if (dc.GetTextMetrics(&tm)) size.cx += tm.tmOverhang;
    if (hOldFont != nullptr) ::SelectObject(dc.GetSafeHdc(), hOldFont);
  }

  CRect rectDisplay = rectTitle;
  rectDisplay.left += xoffset;
  rectDisplay.right = rectDisplay.left + size.cx + xoffset;
  rectDisplay.bottom = rectDisplay.top + size.cy;
  if (!bMultiLine && rectDisplay.right <= rectTitle.right - xoffset) return;

  // The border is outside the text.
  rectDisplay.right += 2 * ::GetSystemMetrics(SM_CXBORDER);
  rectDisplay.bottom += 2 * ::GetSystemMetrics(SM_CYBORDER);
  m_strShown = strTitle;
  m_hShownFont = hFont;
  m_crShownText = crTextClr;
  m_crShownBack = crBackClr;
  SetWindowPos(&wndTopMost, rectDisplay.left, rectDisplay.top, rectDisplay.Width(), rectDisplay.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateWindow();
  SetCapture();
}

void CGridTitleTip::OnPaint() {
  CPaintDC dc(this);
  CRect rect;
  GetClientRect(rect);
  if (m_crShownBack != CLR_DEFAULT) {
    CBrush backBrush(m_crShownBack);
    CBrush* pOldBrush = dc.SelectObject(&backBrush);
    dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATCOPY);
    dc.SelectObject(pOldBrush);
  }
  if (m_crShownText != CLR_DEFAULT) dc.SetTextColor(m_crShownText);
  dc.SetBkMode(TRANSPARENT);
  HGDIOBJ hOldFont = m_hShownFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), m_hShownFont) : nullptr;
  dc.DrawText(m_strShown, rect, DT_NOPREFIX | DT_WORDBREAK);
  if (hOldFont != nullptr) ::SelectObject(dc.GetSafeHdc(), hOldFont);
}

void CGridTitleTip::Hide() {
  if (!::IsWindow(m_hWnd)) return;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  ShowWindow(SW_HIDE);
}

int CGridTitleTip::OnMouseActivate(CWnd* /*pDesktopWnd*/, UINT /*nHitTest*/, UINT /*message*/) {
  // The focus stays where it is; clicks are handed on.
  return MA_NOACTIVATE;
}

CWnd* CGridTitleTip::WindowBeneath(CPoint ptScreen) {
  CWnd* pWnd = CWnd::WindowFromPoint(ptScreen);
  if (pWnd == nullptr || pWnd->GetSafeHwnd() == m_hWnd) pWnd = m_pParentWnd;
  return pWnd;
}

void CGridTitleTip::OnMouseMove(UINT nFlags, CPoint point) {
  CPoint ptScreen = point;
  ClientToScreen(&ptScreen);
  if (m_rectHover.PtInRect(ptScreen)) return;

  Hide();
  CWnd* pWnd = WindowBeneath(ptScreen);
  if (pWnd == nullptr) return;
  const LPARAM lScreen = MAKELPARAM(ptScreen.x, ptScreen.y);
  const int nHitTest = static_cast<int>(pWnd->SendMessage(WM_NCHITTEST, 0, lScreen));
  if (nHitTest == HTCLIENT) {
    CPoint ptClient = ptScreen;
    pWnd->ScreenToClient(&ptClient);
    pWnd->PostMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(ptClient.x, ptClient.y));
  } else {
    pWnd->PostMessage(WM_NCMOUSEMOVE, nHitTest, lScreen);
  }
}

BOOL CGridTitleTip::PreTranslateMessage(MSG* pMsg) {
  switch (pMsg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      BOOL bDoubleClick = FALSE;
      if (pMsg->message == WM_LBUTTONDOWN) {
        const DWORD dwTick = ::GetTickCount();
        bDoubleClick = dwTick - m_dwLastLButtonDown <= m_dwDblClickMsecs;
        m_dwLastLButtonDown = dwTick;
      }
      CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
      ::ClientToScreen(pMsg->hwnd, &point);
      Hide();
      CWnd* pWnd = WindowBeneath(point);
      if (pWnd == nullptr) return CWnd::PreTranslateMessage(pMsg);
      UINT message = pMsg->message;
      WPARAM wParam = pMsg->wParam;
      LPARAM lParam;
      const int nHitTest = static_cast<int>(pWnd->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)));
      if (nHitTest == HTCLIENT) {
        pWnd->ScreenToClient(&point);
        lParam = MAKELPARAM(point.x, point.y);
        if (bDoubleClick) message = WM_LBUTTONDBLCLK;
      } else {
        switch (message) {
          case WM_LBUTTONDOWN:
            message = bDoubleClick ? WM_NCLBUTTONDBLCLK : WM_NCLBUTTONDOWN;
            break;
          case WM_RBUTTONDOWN:
            message = WM_NCRBUTTONDOWN;
            break;
          default:
            message = WM_NCMBUTTONDOWN;
            break;
        }
        wParam = static_cast<WPARAM>(nHitTest);
        lParam = MAKELPARAM(point.x, point.y);
      }
      pWnd->PostMessage(message, wParam, lParam);
      return TRUE;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Hide();
      if (m_pParentWnd != nullptr) m_pParentWnd->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
      return TRUE;
    default:
      break;
  }
  if (CWnd::GetFocus() == nullptr) {
    Hide();
    return TRUE;
  }
  return CWnd::PreTranslateMessage(pMsg);
}
