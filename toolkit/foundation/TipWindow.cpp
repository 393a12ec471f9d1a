// The toolkit's tip window: its tools, the show delay and quick re-show, the mouse hook that hides the
// tip when the mouse leaves the tool's window, and the plain and gradient drawing.
#include "TipWindow.h"

#include "BufferDC.h"
#include "ColorTable.h"
#include "DrawHelpers.h"
#include "SystemQueries.h"
#include "SystemResources.h"
#include "TipSettings.h"

IMPLEMENT_DYNAMIC(CXTPTipWindow, CWnd)
IMPLEMENT_DYNAMIC(CXTPGradientTipWindow, CXTPTipWindow)

namespace {

CXTPTipWindow::PFNTIPCLOCK g_pfnClock = ::GetTickCount;

// One tip mouse hook for the whole process, owned by one tip window at a time.
HHOOK g_hMouseHook = nullptr;
CXTPTipWindow* g_pMouseHookOwner = nullptr;

const UINT kHideFlags =
    SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER;

bool IsTipMouseMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

}  // namespace

BEGIN_MESSAGE_MAP(CXTPTipWindow, CWnd)
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_NCHITTEST()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(TTM_ACTIVATE, OnActivateTip)
ON_MESSAGE(TTM_RELAYEVENT, OnRelayEventMessage)
ON_MESSAGE(TTM_WINDOWFROMPOINT, OnWindowFromPoint)
ON_MESSAGE(TTM_SETTITLEW, OnSetTitle)
ON_MESSAGE(TTM_ADDTOOLW, OnAddTool)
ON_MESSAGE(TTM_DELTOOLW, OnDelTool)
ON_MESSAGE(TTM_UPDATETIPTEXTW, OnUpdateTipText)
END_MESSAGE_MAP()

CXTPTipWindow::CXTPTipWindow(CXTPTipSettings* pSettings)
    : m_pSettings(pSettings), m_dwTipStyle(pSettings != nullptr ? pSettings->GetTipStyle() : TTS_NOPREFIX) {
  NONCLIENTMETRICS ncm;
  CXTSystemResources::GetNonClientMetrics(&ncm);
  m_fontTip.CreateFontIndirect(&ncm.lfStatusFont);
}

CXTPTipWindow::~CXTPTipWindow() {
  RemoveMouseHook();
  if (::IsWindow(m_hWnd)) {
    KillPendingTimer();
    DestroyWindow();
  }
  for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) delete m_arrTools[i];
  m_arrTools.RemoveAll();
}

BOOL CXTPTipWindow::Create(CWnd* pOwner, DWORD dwStyle) {
  m_dwTipStyle = dwStyle;
  m_hWndOwner = pOwner->GetSafeHwnd();
  UINT nClassStyle = CS_SAVEBITS | CS_OWNDC;
  if (m_pSettings != nullptr && m_pSettings->GetComCtlVersion() >= 0x00060000 && (dwStyle & 0x2000) == 0)
    nClassStyle |= CS_DROPSHADOW;
  LPCTSTR lpszClass = AfxRegisterWndClass(nClassStyle, ::LoadCursorW(nullptr, IDC_ARROW));
  HWND hWndParent = nullptr;
  if (pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr)
    hWndParent = pOwner->GetTopLevelParent()->GetSafeHwnd();
  return CreateEx(WS_EX_TOOLWINDOW, lpszClass, nullptr, WS_POPUP | dwStyle | TTS_ALWAYSTIP, 0, 0, 0, 0,
                  hWndParent, nullptr);
}

const XTPTipTool* CXTPTipWindow::GetTool(int nIndex) const {
  return nIndex >= 0 && nIndex < m_arrTools.GetSize() ? m_arrTools[nIndex] : nullptr;
}

CXTPTipWindow::PFNTIPCLOCK PASCAL CXTPTipWindow::SetClock(PFNTIPCLOCK pfnClock) {
  PFNTIPCLOCK pfnOld = g_pfnClock;
  g_pfnClock = pfnClock != nullptr ? pfnClock : ::GetTickCount;
  return pfnOld;
}

DWORD CXTPTipWindow::Now() const { return g_pfnClock(); }

CXTPTipWindow* PASCAL CXTPTipWindow::GetMouseHookOwner() { return g_pMouseHookOwner; }

int CXTPTipWindow::FindTool(HWND hWnd, UINT_PTR uId) const {
  for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
    if (m_arrTools[i]->hwnd == hWnd && m_arrTools[i]->uId == uId) return static_cast<int>(i);
  }
  return -1;
}

void PASCAL CXTPTipWindow::ToolFromInfo(const TOOLINFO* pInfo, XTPTipTool& tool) {
  tool = XTPTipTool();
  if (pInfo == nullptr || pInfo->cbSize < TTTOOLINFOW_V1_SIZE) return;
  tool.uFlags = pInfo->uFlags;
  tool.hwnd = pInfo->hwnd;
  tool.uId = pInfo->uId;
  tool.rect = pInfo->rect;
  tool.hinst = pInfo->hinst;
  if (pInfo->cbSize >= TTTOOLINFOW_V2_SIZE) tool.lParam = pInfo->lParam;
  if (pInfo->lpszText == LPSTR_TEXTCALLBACK) {
    tool.bCallback = TRUE;
  } else if (pInfo->lpszText != nullptr && IS_INTRESOURCE(pInfo->lpszText)) {
    tool.strText.LoadString(static_cast<UINT>(reinterpret_cast<UINT_PTR>(pInfo->lpszText)));
  } else if (pInfo->lpszText != nullptr) {
    tool.strText = pInfo->lpszText;
  }
}

CString CXTPTipWindow::GetToolText(const XTPTipTool& tool) {
  CString strText = tool.strText;
  if (tool.bCallback) {
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = tool.uId;
    info.hdr.code = TTN_GETDISPINFOW;
    info.uFlags = tool.uFlags;
    info.lParam = tool.lParam;
    HWND hWndTarget =
        ::IsWindow(m_hWndOwner) ? m_hWndOwner : (m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr);
    if (hWndTarget != nullptr)
      ::SendMessageW(hWndTarget, WM_NOTIFY, static_cast<WPARAM>(tool.uId), reinterpret_cast<LPARAM>(&info));
    if (info.lpszText != nullptr && IS_INTRESOURCE(info.lpszText)) {
      const UINT nID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.lpszText));
      LPCWSTR pString = nullptr;
      const int nLength = ::LoadStringW(info.hinst != nullptr ? info.hinst : AfxGetResourceHandle(), nID,
                                        reinterpret_cast<LPWSTR>(&pString), 0);
      strText = nLength > 0 ? CString(pString, nLength) : CString();
    } else if (info.lpszText != nullptr) {
      strText = info.lpszText;
    } else {
      info.szText[_countof(info.szText) - 1] = 0;
      strText = info.szText;
    }
  }
  if ((m_dwTipStyle & TTS_NOPREFIX) == 0) StripMnemonics(strText);
  return strText;
}

HWND CXTPTipWindow::WindowFromPoint(POINT pt) const {
  HWND hWnd = ::WindowFromPoint(pt);
  // Only windows of this thread are asked: a window of another thread might not answer.
  if (hWnd != nullptr && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) != 0 &&
      ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId() &&
      ::SendMessageW(hWnd, WM_XTP_TIPPARENTQUERY, 0, 0) == 1) {
    hWnd = ::GetParent(hWnd);
  }
  return hWnd;
}

BOOL CXTPTipWindow::ToolFromPoint(POINT pt, XTPTipTool& tool) {
  for (INT_PTR i = 0; i < m_arrTools.GetSize(); ++i) {
    const XTPTipTool* pTool = m_arrTools[i];
    CRect rcTool;
    if (pTool->uFlags & TTF_IDISHWND) {
      HWND hWndTool = reinterpret_cast<HWND>(pTool->uId);
      if (!::IsWindow(hWndTool)) continue;
      ::GetWindowRect(hWndTool, &rcTool);
      if (!rcTool.PtInRect(pt)) continue;
    } else {
      if (!::IsWindow(pTool->hwnd)) continue;
      rcTool = pTool->rect;
      ::MapWindowPoints(pTool->hwnd, nullptr, reinterpret_cast<LPPOINT>(&rcTool), 2);
      if (!rcTool.PtInRect(pt) || WindowFromPoint(pt) != pTool->hwnd) continue;
    }
    tool = *pTool;
    return TRUE;
  }
  return FALSE;
}

void CXTPTipWindow::KillPendingTimer() {
  if (m_nTimerId != 0 && ::IsWindow(m_hWnd)) KillTimer(m_nTimerId);
  m_nTimerId = 0;
}

void CXTPTipWindow::OnRelayEvent(const MSG* pMsg) {
  XTPTipTool tool;
  const BOOL bUnder = ToolFromPoint(pMsg->pt, tool);
  // The pressed tool stays suppressed until the cursor leaves it.
  if (!bUnder || !tool.IsSameTool(m_toolPressed)) m_toolPressed = XTPTipTool();
  BOOL bTool = bUnder && !IsAnyMouseButtonDown();
  if (bUnder && pMsg->message == WM_LBUTTONDOWN) {
    m_toolPressed = tool;
    bTool = FALSE;
  } else if (bTool && tool.IsSameTool(m_toolPressed)) {
    bTool = FALSE;
  }

  if (m_toolPending.IsValid() && !(bTool && tool.IsSameTool(m_toolPending))) {
    KillPendingTimer();
    m_toolPending = XTPTipTool();
  }

  if (!bTool) {
    HideTip();
    return;
  }
  if (m_toolCurrent.IsValid() && tool.IsSameTool(m_toolCurrent)) return;
  if (Now() - m_dwLastShowHide >= nQuickReshow) {
    if (!m_toolPending.IsValid()) {
      m_toolPending = tool;
      m_nTimerId = SetTimer(nShowTimerId, nInitialDelay, nullptr);
    }
  } else {
    ShowTip(&tool);
  }
}

void CXTPTipWindow::ShowTip(const XTPTipTool* pTool) {
  if (pTool != nullptr ? m_toolCurrent.IsValid() && pTool->IsSameTool(m_toolCurrent)
                       : !m_toolCurrent.IsValid())
    return;
  XTPTipTool tool;
  CSize szTip(0, 0);
  if (pTool != nullptr) {
    tool = *pTool;
    szTip = CalcTipSize(tool);
    if (szTip.cx == 0 && szTip.cy == 0) pTool = nullptr;
  }
  if (::IsWindow(m_hWnd) && IsWindowVisible()) SetWindowPos(nullptr, 0, 0, 0, 0, kHideFlags);
  if (pTool != nullptr && ::IsWindow(m_hWnd)) {
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    SetWindowPos(&CWnd::wndTopMost, ptCursor.x, ptCursor.y + 21, szTip.cx, szTip.cy,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    Invalidate(FALSE);
    InstallMouseHook();
    m_toolPressed = XTPTipTool();
    m_toolCurrent = tool;
  } else {
    RemoveMouseHook();
    m_toolPending = XTPTipTool();
    m_toolCurrent = XTPTipTool();
  }
  m_dwLastShowHide = Now();
}

void CXTPTipWindow::InstallMouseHook() {
  if (g_hMouseHook != nullptr) return;
  g_hMouseHook = ::SetWindowsHookExW(WH_MOUSE, MouseProc, nullptr, ::GetCurrentThreadId());
  if (g_hMouseHook != nullptr) g_pMouseHookOwner = this;
}

void CXTPTipWindow::RemoveMouseHook() {
  if (g_pMouseHookOwner != this) return;
  if (g_hMouseHook != nullptr) ::UnhookWindowsHookEx(g_hMouseHook);
  g_hMouseHook = nullptr;
  g_pMouseHookOwner = nullptr;
}

LRESULT CALLBACK CXTPTipWindow::MouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
  HHOOK hHook = g_hMouseHook;
  CXTPTipWindow* pOwner = g_pMouseHookOwner;
  if (nCode == HC_ACTION && pOwner != nullptr && pOwner->m_toolCurrent.IsValid()) {
    const MOUSEHOOKSTRUCT* pMouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const XTPTipTool& current = pOwner->m_toolCurrent;
    HWND hWndTool = (current.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(current.uId) : current.hwnd;
    HWND hWndUnder = pOwner->WindowFromPoint(pMouse->pt);
    if (hWndUnder != hWndTool) {
      MSG msg = {hWndUnder, WM_MOUSEMOVE, 0, 0, static_cast<DWORD>(::GetMessageTime()), pMouse->pt};
      pOwner->OnRelayEvent(&msg);
    }
  }
  return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

CSize CXTPTipWindow::CalcTipSize(const XTPTipTool& tool) {
  const CString strText = GetToolText(tool);
  if (strText.IsEmpty()) return CSize(0, 0);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CFont* pOldFont = dc.SelectObject(GetTipFont());
  const int nMaxWidth = m_pSettings != nullptr ? m_pSettings->GetMaxTipWidth() : -1;
  CRect rcText(0, 0, nMaxWidth > 0 ? nMaxWidth : SHRT_MAX, 0);
  dc.DrawText(strText, rcText, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  CSize szText = rcText.Size();
  if (!m_strTitle.IsEmpty()) {
    CRect rcTitle(0, 0, 0, 0);
    dc.DrawText(m_strTitle, rcTitle, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    szText.cy += rcTitle.Height() + 8;
    if (rcTitle.Width() > szText.cx) szText.cx = rcTitle.Width();
  }
  dc.SelectObject(pOldFont);
  const CRect rcMargins = m_pSettings != nullptr ? m_pSettings->GetMargins() : CRect(0, 0, 0, 0);
  return CSize(szText.cx + rcMargins.left + rcMargins.right + 6,
               szText.cy + rcMargins.top + rcMargins.bottom + 6);
}

void CXTPTipWindow::DrawTipBackground(CDC* pDC, CRect rc) {
  pDC->FillSolidRect(rc, m_pSettings->GetTipBkColor());
  const COLORREF clrTopLeft = (m_dwTipStyle & 0x1000) ? XTPSystemQueries()->GetSysColor(COLOR_BTNFACE) : 0;
  pDC->Draw3dRect(rc, clrTopLeft, 0);
}

void CXTPTipWindow::DrawTipText(CDC* pDC, const XTPTipTool& tool, CRect rc) {
  const CRect rcMargins = m_pSettings->GetMargins();
  rc.DeflateRect(rcMargins.left + 3, rcMargins.top + 3, rcMargins.right + 3, rcMargins.bottom + 3);
  if (!m_strTitle.IsEmpty()) {
    CRect rcTitle = rc;
    const int nTitleHeight = pDC->DrawText(m_strTitle, rcTitle, DT_SINGLELINE | DT_NOPREFIX);
    const int nTextTop = rc.top + nTitleHeight + 8;
    pDC->FillSolidRect(rc.left, nTextTop - 4, rc.Width(), 1, 0);
    rc.top = nTextTop;
  }
  pDC->DrawText(GetToolText(tool), rc, DT_NOPREFIX | DT_WORDBREAK);
}

// The window also goes when its owner's top-level window is destroyed: a tip that cannot show lets
// go of the mouse hook at once.
void CXTPTipWindow::OnDestroy() {
  KillPendingTimer();
  RemoveMouseHook();
  m_toolCurrent = XTPTipTool();
  m_toolPending = XTPTipTool();
  CWnd::OnDestroy();
}

void CXTPTipWindow::OnPaint() {
  CPaintDC dcPaint(this);
  CRect rc;
  GetClientRect(&rc);
  CXTPBufferDC dc(dcPaint.GetSafeHdc(), rc);
  DrawTipBackground(&dc, rc);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_pSettings->GetTipTextColor());
  CFont* pOldFont = dc.SelectObject(GetTipFont());
  if (m_toolCurrent.IsValid()) DrawTipText(&dc, m_toolCurrent, rc);
  dc.SelectObject(pOldFont);
}

BOOL CXTPTipWindow::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPTipWindow::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != nShowTimerId) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  KillPendingTimer();
  if (!m_toolPending.IsValid()) return;
  const XTPTipTool tool = m_toolPending;
  m_toolPending = XTPTipTool();
  if (m_bActive) ShowTip(&tool);
}

void CXTPTipWindow::OnMouseMove(UINT, CPoint) { HideTip(); }

LRESULT CXTPTipWindow::OnNcHitTest(CPoint) { return HTTRANSPARENT; }

int CXTPTipWindow::OnMouseActivate(CWnd*, UINT, UINT) { return MA_NOACTIVATE; }

LRESULT CXTPTipWindow::OnActivateTip(WPARAM wParam, LPARAM) {
  m_bActive = wParam != 0;
  if (!m_bActive) {
    KillPendingTimer();
    m_toolPending = XTPTipTool();
    HideTip();
  }
  return 0;
}

LRESULT CXTPTipWindow::OnRelayEventMessage(WPARAM, LPARAM lParam) {
  const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
  if (pMsg != nullptr && m_bActive && IsTipMouseMessage(pMsg->message)) OnRelayEvent(pMsg);
  return 0;
}

LRESULT CXTPTipWindow::OnWindowFromPoint(WPARAM, LPARAM lParam) {
  const POINT* pPoint = reinterpret_cast<const POINT*>(lParam);
  return pPoint != nullptr ? reinterpret_cast<LRESULT>(WindowFromPoint(*pPoint)) : 0;
}

LRESULT CXTPTipWindow::OnSetTitle(WPARAM, LPARAM lParam) {
  LPCWSTR lpszTitle = reinterpret_cast<LPCWSTR>(lParam);
  m_strTitle = lpszTitle != nullptr ? lpszTitle : L"";
  if ((m_dwTipStyle & TTS_NOPREFIX) == 0) StripMnemonics(m_strTitle);
  return TRUE;
}

LRESULT CXTPTipWindow::OnAddTool(WPARAM, LPARAM lParam) {
  const TOOLINFO* pInfo = reinterpret_cast<const TOOLINFO*>(lParam);
  if (pInfo == nullptr || pInfo->cbSize < TTTOOLINFOW_V1_SIZE) return FALSE;
  XTPTipTool* pTool = new XTPTipTool;
  ToolFromInfo(pInfo, *pTool);
  m_arrTools.Add(pTool);
  return TRUE;
}

LRESULT CXTPTipWindow::OnDelTool(WPARAM, LPARAM lParam) {
  const TOOLINFO* pInfo = reinterpret_cast<const TOOLINFO*>(lParam);
  if (pInfo == nullptr || pInfo->cbSize < TTTOOLINFOW_V1_SIZE) return 0;
  const int nIndex = FindTool(pInfo->hwnd, pInfo->uId);
  if (nIndex < 0) return 0;
  const XTPTipTool tool = *m_arrTools[nIndex];
  delete m_arrTools[nIndex];
  m_arrTools.RemoveAt(nIndex);
  if (tool.IsSameTool(m_toolCurrent)) HideTip();
  if (tool.IsSameTool(m_toolPressed)) m_toolPressed = XTPTipTool();
  if (tool.IsSameTool(m_toolPending)) {
    KillPendingTimer();
    m_toolPending = XTPTipTool();
  }
  return 0;
}

LRESULT CXTPTipWindow::OnUpdateTipText(WPARAM, LPARAM lParam) {
  const TOOLINFO* pInfo = reinterpret_cast<const TOOLINFO*>(lParam);
  if (pInfo == nullptr || pInfo->cbSize < TTTOOLINFOW_V1_SIZE) return 0;
  const int nIndex = FindTool(pInfo->hwnd, pInfo->uId);
  if (nIndex < 0) return 0;
  XTPTipTool source;
  ToolFromInfo(pInfo, source);
  XTPTipTool* pTool = m_arrTools[nIndex];
  pTool->strText = source.strText;
  pTool->bCallback = source.bCallback;
  if (pTool->IsSameTool(m_toolPending)) {
    m_toolPending.strText = source.strText;
    m_toolPending.bCallback = source.bCallback;
  }
  if (pTool->IsSameTool(m_toolCurrent)) {
    m_toolCurrent.strText = source.strText;
    m_toolCurrent.bCallback = source.bCallback;
    Invalidate(FALSE);
  }
  return 0;
}

// ---- Gradient form ------------------------------------------------------------------------------

void CXTPGradientTipWindow::DrawTipBackground(CDC* pDC, CRect rc) {
  COLORREF clrFrame;
  switch (GetColorTable()->GetCurrentTheme()) {
    case xtpSystemThemeBlue:
      clrFrame = RGB(0, 0, 128);
      break;
    case xtpSystemThemeOlive:
      clrFrame = RGB(63, 93, 56);
      break;
    case xtpSystemThemeSilver:
      clrFrame = RGB(75, 75, 111);
      break;
    default:
      DrawGradientRect(pDC, rc, m_pSettings->GetTipBkColor(), RGB(255, 255, 255), FALSE);
      pDC->Draw3dRect(rc, 0, 0);
      return;
  }
  DrawGradientRect(pDC, rc, RGB(255, 212, 151), RGB(255, 242, 200), FALSE);
  pDC->Draw3dRect(rc, clrFrame, clrFrame);
}
