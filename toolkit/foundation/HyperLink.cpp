// CXTHyperLink: colours, hover tracking, the tool tip and opening the target through the shell.
#include "HyperLink.h"

#include "ColorTable.h"
#include "MemDC.h"
#include "ResourceSource.h"
#include "SystemQueries.h"
#include "SystemResources.h"
#include "ToolkitResource.h"

#include <shellapi.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CXTHyperLink, CStatic)
ON_WM_SETCURSOR()
ON_WM_NCHITTEST()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_CTLCOLOR_REFLECT()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_WINDOWPOSCHANGED()
ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverTimerMs = 10;
}  // namespace

CXTHyperLink::CXTHyperLink() {
  m_hcurHand = XTPSystemQueries()->LoadSystemCursor(IDC_HAND);
  if (m_hcurHand == nullptr) m_hcurHand = GetToolkitResourceManager()->LoadCursor(XT_IDC_HAND);
}

CXTHyperLink::~CXTHyperLink() = default;

BOOL CXTHyperLink::PreCreateWindow(CREATESTRUCT& cs) {
  m_bSubclassed = FALSE;
  return CStatic::PreCreateWindow(cs);
}

void CXTHyperLink::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  if (m_bSubclassed) InitControl();
}

int CXTHyperLink::OnCreate(LPCREATESTRUCT /*lpCreateStruct*/) {
  const int nResult = static_cast<int>(Default());
  if (nResult != -1) InitControl();
  return nResult;
}

void CXTHyperLink::OnDestroy() {
  KillTimer(kHoverTimer);
  if (::IsWindow(m_toolTip.GetSafeHwnd())) m_toolTip.DestroyWindow();
  CStatic::OnDestroy();
}

void CXTHyperLink::InitControl() {
  if (GetSafeHwnd() == nullptr) return;
  if (IsTextControl()) {
    if (m_strURL.IsEmpty()) GetWindowText(m_strURL);
    SetURL(m_strURL);
  }
  ModifyStyle(0, SS_NOTIFY);
  UpdateFont();
}

BOOL CXTHyperLink::SetURL(LPCTSTR lpszURL) {
  m_strURL = lpszURL != nullptr ? lpszURL : L"";
  if (m_strTipText.IsEmpty()) m_strTipText = m_strURL;
  if (m_strTipText.IsEmpty()) return FALSE;
  if (GetSafeHwnd() == nullptr) return TRUE;  // the tool tip is made when the window is
  if (::IsWindow(m_toolTip.GetSafeHwnd())) {
    m_toolTip.UpdateTipText(m_strURL, this);
  } else if (m_toolTip.Create(this)) {
    m_toolTip.AddTool(this, m_strTipText);
    m_toolTip.Activate(m_bTipEnabled);
  }
  return TRUE;
}

void CXTHyperLink::Redraw() {
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CXTHyperLink::SetColors(COLORREF clrLink, COLORREF clrVisited, COLORREF clrHover) {
  if (clrLink != COLORREF(-1)) m_clrLink = clrLink;
  if (clrVisited != COLORREF(-1)) m_clrVisited = clrVisited;
  if (clrHover != COLORREF(-1)) m_clrHover = clrHover;
  Redraw();
}

void CXTHyperLink::SetVisited(BOOL bVisited) {
  m_bVisited = bVisited ? TRUE : FALSE;
  Redraw();
}

void CXTHyperLink::SetUnderline(BOOL bUnderline) {
  m_bUnderline = bUnderline ? TRUE : FALSE;
  UpdateFont();
}

void CXTHyperLink::SetBackColor(COLORREF clrBack) {
  m_clrBack = clrBack;
  Redraw();
}

COLORREF CXTHyperLink::GetBackColor() const {
  return m_clrBack == COLORREF(-1) ? GetXTPColor(COLOR_BTNFACE) : m_clrBack;
}

COLORREF CXTHyperLink::GetCurrentTextColor() const {
  if (m_bMouseOver) return m_clrHover;
  return m_bVisited ? m_clrVisited : m_clrLink;
}

BOOL CXTHyperLink::IsTextControl() {
  if (GetSafeHwnd() == nullptr) return FALSE;
  // The static's type, not the low byte: SS_NOPREFIX and the other flags share that byte.
  return (GetStyle() & SS_TYPEMASK) < 3;
}

BOOL CXTHyperLink::IsCursorOverText() {
  if (!IsTextControl()) return TRUE;
  CString strText;
  GetWindowText(strText);
  CClientDC dc(this);
  CFont* pFont = GetFont();
  HGDIOBJ hOld = pFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), pFont->GetSafeHandle()) : nullptr;
  SIZE size = {0, 0};
  ::GetTextExtentPoint32W(dc.GetSafeHdc(), strText, strText.GetLength(), &size);
  if (hOld != nullptr) ::SelectObject(dc.GetSafeHdc(), hOld);

  CRect rc;
  GetWindowRect(&rc);
  switch (GetStyle() & SS_TYPEMASK) {
    case SS_CENTER: {
      const int nLeft = rc.left + (rc.Width() - size.cx) / 2;
      rc.left = std::max(rc.left, LONG(nLeft));
      rc.right = std::min(rc.right, LONG(nLeft + size.cx));
      break;
    }
    case SS_RIGHT:
      rc.left = std::max(rc.left, rc.right - size.cx);
      break;
    default:
      rc.right = std::min(rc.right, rc.left + size.cx);
      break;
  }
  CPoint pt;
  ::GetCursorPos(&pt);
  return rc.PtInRect(pt);
}

void CXTHyperLink::UpdateFont() {
  CFont fontNew;
  if (!CreateLinkFont(fontNew, m_bUnderline) || GetSafeHwnd() == nullptr) return;
  // The window keeps the old font until it has the new one.
  HGDIOBJ hOld = m_font.Detach();
  m_font.Attach(fontNew.Detach());
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
  if (hOld != nullptr) ::DeleteObject(hOld);
  Redraw();
}

BOOL CXTHyperLink::CreateLinkFont(CFont& font, BOOL bUnderline) {
  LOGFONTW lf = {};
  HFONT hFont = GetSafeHwnd() != nullptr ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
  if (hFont == nullptr || ::GetObjectW(hFont, sizeof(lf), &lf) == 0) {
    NONCLIENTMETRICS ncm = {};
    if (!CXTSystemResources::GetNonClientMetrics(&ncm)) return FALSE;
    lf = ncm.lfStatusFont;
  }
  lf.lfUnderline = bUnderline ? TRUE : FALSE;
  font.DeleteObject();
  return font.CreateFontIndirect(&lf);
}

BOOL CXTHyperLink::GotoURL(LPCTSTR lpszLink, int nShowCmd, LPCTSTR lpszParameters, LPCTSTR lpszDirectory) {
  const CString strLink = lpszLink != nullptr ? CString(lpszLink) : m_strURL;
  HINSTANCE hResult = ::ShellExecuteW(nullptr, L"open", strLink, lpszParameters, lpszDirectory, nShowCmd);
  const INT_PTR nResult = reinterpret_cast<INT_PTR>(hResult);
  if (nResult > 32) return TRUE;
  ReportError(static_cast<int>(nResult));
  return FALSE;
}

CString PASCAL CXTHyperLink::GetErrorText(int nError) {
  UINT nID;
  switch (nError) {
    case 0:
      nID = XT_IDS_SE_0;
      break;
    case SE_ERR_FNF:
      nID = XT_IDS_SE_ERR_FNF;
      break;
    case SE_ERR_PNF:
      nID = XT_IDS_SE_ERR_PNF;
      break;
    case SE_ERR_ACCESSDENIED:
      nID = XT_IDS_SE_ERR_ACCESSDENIED;
      break;
    case SE_ERR_OOM:
      nID = XT_IDS_SE_ERR_OOM;
      break;
    case ERROR_BAD_FORMAT:
      nID = XT_IDS_SE_ERR_BAD_FORMAT;
      break;
    case SE_ERR_SHARE:
      nID = XT_IDS_SE_ERR_SHARE;
      break;
    case SE_ERR_ASSOCINCOMPLETE:
      nID = XT_IDS_SE_ERR_ASSOCINCOMPLETE;
      break;
    case SE_ERR_DDETIMEOUT:
      nID = XT_IDS_SE_ERR_DDETIMEOUT;
      break;
    case SE_ERR_DDEFAIL:
      nID = XT_IDS_SE_ERR_DDEFAIL;
      break;
    case SE_ERR_DDEBUSY:
      nID = XT_IDS_SE_ERR_DDEBUSY;
      break;
    case SE_ERR_NOASSOC:
      nID = XT_IDS_SE_ERR_NOASSOC;
      break;
    case SE_ERR_DLLNOTFOUND:
      nID = XT_IDS_SE_ERR_DLLNOTFOUND;
      break;
    default:
      nID = XT_IDS_SE_ERR_UNKNOWN;
      break;
  }
  CString strText;
  GetToolkitResourceManager()->LoadString(strText, nID);
  if (nID == XT_IDS_SE_ERR_UNKNOWN) {
    CString strFormat = strText;
    strText.Format(strFormat, nError);
  }
  return strText;
}

void CXTHyperLink::ReportError(int nError) {
  const CString strText = GetErrorText(nError);
  ::MessageBeep(MB_ICONEXCLAMATION);
  AfxMessageBox(strText, MB_ICONEXCLAMATION);
}

// ---- Messages ------------------------------------------------------------------------------------

BOOL CXTHyperLink::PreTranslateMessage(MSG* pMsg) {
  if (::IsWindow(m_toolTip.GetSafeHwnd()) && m_bTipEnabled) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

BOOL CXTHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hcurHand != nullptr && IsCursorOverText()) {
    ::SetCursor(m_hcurHand);
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

LRESULT CXTHyperLink::OnNcHitTest(CPoint /*point*/) { return HTCLIENT; }

void CXTHyperLink::OnMouseMove(UINT nFlags, CPoint point) {
  CStatic::OnMouseMove(nFlags, point);
  if (IsTextControl() && IsCursorOverText()) SetTimer(kHoverTimer, kHoverTimerMs);
}

void CXTHyperLink::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHoverTimer) {
    CStatic::OnTimer(nIDEvent);
    return;
  }
  if (!IsTextControl()) return;
  const BOOL bWasOver = m_bMouseOver;
  if (IsCursorOverText()) {
    m_bMouseOver = TRUE;
  } else {
    KillTimer(kHoverTimer);
    m_bMouseOver = FALSE;
  }
  if (bWasOver != m_bMouseOver) Redraw();
}

HBRUSH CXTHyperLink::CtlColor(CDC* pDC, UINT /*nCtlColor*/) {
  if (!IsTextControl()) return nullptr;
  pDC->SetTextColor(GetCurrentTextColor());
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void CXTHyperLink::OnPaint() {
  if (GetExStyle() & WS_EX_TRANSPARENT) {
    Default();
    return;
  }
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC memDC(&dc, rcClient, GetBackColor());
  if (!memDC.IsValid()) return;
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

BOOL CXTHyperLink::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CXTHyperLink::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CStatic::OnWindowPosChanged(lpwndpos);
  Redraw();
}

BOOL CXTHyperLink::OnClicked() {
  const BOOL bText = IsTextControl();
  if (IsCursorOverText()) {
    if (m_bUseShell)
      m_bVisited = GotoURL(nullptr, SW_SHOW) ? TRUE : FALSE;
    else
      m_bVisited = TRUE;
    Redraw();
    if (::IsWindow(m_toolTip.GetSafeHwnd()) && m_bTipEnabled) m_toolTip.Pop();
  }
  // Text links let the parent see the click too; pictures used as links keep it.
  return bText ? FALSE : TRUE;
}
