// CXTCaption: layout, painting, colours, the button and the popup that holds the child window.
#include "Caption.h"

#include "CaptionPopupWnd.h"
#include "CaptionTheme.h"
#include "ColorTable.h"
#include "MemDC.h"
#include "SystemResources.h"
#include "ToolkitResource.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTCaption, CStatic)

BEGIN_MESSAGE_MAP(CXTCaption, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGED()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_BN_CLICKED(XT_IDC_BTN_CLOSE, OnCaptButton)
ON_MESSAGE(CPWN_XT_PUSHPINBUTTON, OnPushPinButton)
ON_MESSAGE(CPWN_XT_PUSHPINCANCEL, OnPushPinCancel)
END_MESSAGE_MAP()

namespace {

// The command button's box.
constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;

}  // namespace

CXTCaption::CXTCaption()
    : CXTThemeStyleHost(RUNTIME_CLASS(CXTCaptionThemeFactory)),
      m_clrBorder(::GetSysColor(COLOR_BTNFACE)),
      m_clrInner(::GetSysColor(COLOR_BTNFACE)),
      m_clrText(::GetSysColor(COLOR_BTNTEXT)),
      m_rcChild(0, 0, 0, 0),
      m_rcChildPlace(0, 0, 0, 0),
      m_rcParent(0, 0, 0, 0),
      m_rcSplitter(0, 0, 0, 0) {
  m_sizeIcon.cx = std::min(::GetSystemMetrics(SM_CXSMICON), 16);
  m_sizeIcon.cy = std::min(::GetSystemMetrics(SM_CYSMICON), 16);
}

CXTCaption::~CXTCaption() { DeletePopup(); }

BOOL CXTCaption::Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwExStyle, DWORD dwStyle,
                        const CRect& rect, UINT nID) {
  if (!CStatic::Create(lpszWindowName, dwStyle | WS_CLIPCHILDREN, rect, pParentWnd, nID)) return FALSE;
  SetFont(&GetSystemResources()->m_fontRegular, FALSE);
  m_dwExStyle = dwExStyle & 7;
  if ((dwExStyle & ~DWORD(7)) != 0) ModifyStyleEx(0, dwExStyle & ~DWORD(7));
  m_strCaption = lpszWindowName != nullptr ? lpszWindowName : L"";

  BOOL bCreated;
  if (m_dwExStyle & CPWS_EX_CLOSEBUTTON) {
    bCreated =
        m_btnCaption.Create(nullptr, WS_CHILD | WS_VISIBLE | BS_CENTER | BS_VCENTER | BS_ICON | BS_OWNERDRAW,
                            CRect(0, 0, 0, 0), this, XT_IDC_BTN_CLOSE);
    if (bCreated && XTLoadStripIcon(m_iconButton, XT_IDB_CAPTION, kButtonWidth, kButtonHeight, 2))
      m_btnCaption.SetIcon(CSize(kButtonWidth, kButtonHeight), m_iconButton.GetHandle(), nullptr, FALSE);
  } else {
    bCreated = m_btnCaption.Create(m_strCaption, WS_CHILD | BS_VCENTER | BS_ICON | BS_OWNERDRAW,
                                   CRect(0, 0, 0, 0), this, XT_IDC_BTN_CLOSE);
    m_bBtnText = TRUE;
  }
  if (!bCreated) return FALSE;
  m_btnCaption.SetCaption(this);
  m_btnCaption.SetXButtonStyle(m_btnCaption.GetXButtonStyle(), FALSE);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return TRUE;
}

void CXTCaption::SetCaptionColors(COLORREF clrBorder, COLORREF clrInner, COLORREF clrText) {
  m_clrBorder = clrBorder;
  m_clrInner = clrInner;
  m_clrText = clrText;
  m_bUserColors = TRUE;
  if (::IsWindow(m_btnCaption.GetSafeHwnd())) {
    m_btnCaption.SetFaceColor(clrInner);
    m_btnCaption.SetTextColor(clrText);
    m_btnCaption.SetShadowColor(::GetSysColor(COLOR_3DDKSHADOW));
  }
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

void CXTCaption::ModifyCaptionStyle(int nBorderSize, CFont* pFont, LPCTSTR lpszText, HICON hIcon) {
  if (nBorderSize != 0) m_nBorder = nBorderSize;
  if (pFont != nullptr && GetSafeHwnd() != nullptr) {
    SetFont(pFont, FALSE);
    if (::IsWindow(m_btnCaption.GetSafeHwnd())) m_btnCaption.SetFont(GetFont(), FALSE);
  }
  if (lpszText != nullptr) m_strCaption = lpszText;
  if (hIcon != nullptr) m_hIcon = hIcon;
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

void CXTCaption::UpdateCaption(LPCTSTR lpszText, HICON hIcon) {
  // The text is kept, so that every later repaint and any reader sees the status now shown.
  if (lpszText != nullptr) m_strCaption = lpszText;
  if (hIcon != nullptr) m_hIcon = hIcon;
  if (GetSafeHwnd() == nullptr) return;

  CClientDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC memDC(&dc, rcClient, GetXTPColor(COLOR_BTNFACE));
  if (!memDC.IsValid()) return;
  DrawCaptionBack(&memDC, rcClient);
  RefreshButtonText(&memDC);
  DrawCaptionIcon(&memDC, rcClient);
}

CRect CXTCaption::GetTextRect() {
  if (m_strCaption.IsEmpty() || GetSafeHwnd() == nullptr) return CRect(0, 0, 0, 0);
  CRect rcClient;
  GetClientRect(&rcClient);
  CClientDC dc(this);
  CFont* pFont = GetFont();
  HGDIOBJ hOld = pFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), pFont->GetSafeHandle()) : nullptr;
  SIZE sizeText = {0, 0};
  ::GetTextExtentPoint32W(dc.GetSafeHdc(), m_strCaption, m_strCaption.GetLength(), &sizeText);
  TEXTMETRICW tm = {};
  ::GetTextMetricsW(dc.GetSafeHdc(), &tm);
  if (hOld != nullptr) ::SelectObject(dc.GetSafeHdc(), hOld);

  const int nRoom = m_bBtnText ? rcClient.Width() : rcClient.Width() - 18;
  const int nWidth = std::min(nRoom, int(sizeText.cx + tm.tmAveCharWidth + 12));
  return CRect(m_nBorder, m_nBorder, m_nBorder + nWidth, rcClient.Height() - m_nBorder);
}

CRect CXTCaption::GetButtonRect() {
  if (!::IsWindow(m_btnCaption.GetSafeHwnd())) return CRect(0, 0, 0, 0);
  if (m_dwExStyle & CPWS_EX_CLOSEBUTTON) {
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nTop = (rcClient.Height() - kButtonHeight) / 2;
    return CRect(rcClient.Width() - 18, nTop, rcClient.Width() - 2, nTop + kButtonHeight);
  }
  return GetTextRect();
}

void CXTCaption::DrawCaptionBack(CDC* pDC, CRect& rcItem) {
  if (auto* pStyle = dynamic_cast<CXTCaptionStyle*>(CXTThemeStyleHost::GetStyle()))
    pStyle->DrawCaptionBack(pDC, this, rcItem);
}

void CXTCaption::DrawCaptionText(CDC* pDC) {
  if (auto* pStyle = dynamic_cast<CXTCaptionStyle*>(CXTThemeStyleHost::GetStyle()))
    pStyle->DrawCaptionText(pDC, this);
}

void CXTCaption::DrawCaptionIcon(CDC* pDC, CRect& rcItem) {
  if (auto* pStyle = dynamic_cast<CXTCaptionStyle*>(CXTThemeStyleHost::GetStyle()))
    pStyle->DrawCaptionIcon(pDC, this, rcItem);
}

void CXTCaption::RefreshButtonText(CDC* pDC) {
  if (::IsWindow(m_btnCaption.GetSafeHwnd())) {
    if (m_bBtnText) m_btnCaption.SetWindowText(m_strCaption);
    PositionButton();
  }
  DrawCaptionText(pDC);
}

void CXTCaption::PositionButton() {
  if (!::IsWindow(m_btnCaption.GetSafeHwnd())) return;
  const CRect rc = GetButtonRect();
  m_btnCaption.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTCaption::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  if (::IsWindow(m_btnCaption.GetSafeHwnd()) && m_btnCaption.IsWindowVisible()) {
    CRect rcButton;
    m_btnCaption.GetWindowRect(&rcButton);
    ScreenToClient(&rcButton);
    dc.ExcludeClipRect(&rcButton);
  }
  CXTMemDC memDC(&dc, rcClient, GetXTPColor(COLOR_BTNFACE));
  if (!memDC.IsValid()) return;
  DrawCaptionBack(&memDC, rcClient);
  DrawCaptionText(&memDC);
  DrawCaptionIcon(&memDC, rcClient);
}

BOOL CXTCaption::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CXTCaption::OnSize(UINT nType, int cx, int cy) {
  CStatic::OnSize(nType, cx, cy);
  if (m_hIcon != nullptr) Invalidate(FALSE);
}

void CXTCaption::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CStatic::OnWindowPosChanged(lpwndpos);
  PositionButton();
}

void CXTCaption::OnSysColorChange() {
  CStatic::OnSysColorChange();
  if (!m_bUserColors) {
    m_clrBorder = ::GetSysColor(COLOR_BTNFACE);
    m_clrInner = ::GetSysColor(COLOR_BTNFACE);
    m_clrText = ::GetSysColor(COLOR_BTNTEXT);
    if (::IsWindow(m_btnCaption.GetSafeHwnd())) {
      m_btnCaption.SetFaceColor(m_clrInner);
      m_btnCaption.SetTextColor(m_clrText);
    }
  }
  if (CXTThemeStyleBase* pStyle = CXTThemeStyleHost::GetStyle()) pStyle->RefreshStyle();
}

void CXTCaption::OnSettingChange(UINT uFlags, LPCTSTR lpszSection) {
  CStatic::OnSettingChange(uFlags, lpszSection);
  if (CXTThemeStyleBase* pStyle = CXTThemeStyleHost::GetStyle()) pStyle->RefreshStyle();
}

CWnd* CXTCaption::GetNotifyWindow() {
  if (m_pNotifyWnd != nullptr && ::IsWindow(m_pNotifyWnd->GetSafeHwnd())) return m_pNotifyWnd;
  return GetParent();
}

void CXTCaption::OnCaptButton() {
  if (m_dwExStyle & CPWS_EX_CLOSEBUTTON) {
    if (CWnd* pNotify = GetNotifyWindow())
      pNotify->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_hWnd));
  } else {
    ShowPopupWindow();
  }
}

// ---- Child window and popup ----------------------------------------------------------------------

void CXTCaption::SetChildWindow(CWnd* pChild, CWnd* pNotifyWnd) {
  m_pChildWnd = pChild;
  m_pNotifyWnd = pNotifyWnd;
  if (pChild == nullptr || !::IsWindow(pChild->GetSafeHwnd())) return;
  m_pParentView = pChild->GetParent();
  m_pSplitterWnd = m_pParentView != nullptr ? m_pParentView->GetParent() : nullptr;
  pChild->GetClientRect(&m_rcChild);
  if (m_pParentView != nullptr) m_pParentView->GetClientRect(&m_rcParent);
  if (m_pSplitterWnd != nullptr) m_pSplitterWnd->GetClientRect(&m_rcSplitter);
  m_nOffset = m_rcChild.top + m_rcParent.bottom - m_rcChild.bottom - m_rcParent.top;

  if (::IsWindow(m_btnCaption.GetSafeHwnd())) {
    PositionButton();
    m_btnCaption.ShowWindow(SW_SHOW);
    m_btnCaption.Invalidate(FALSE);
  }
  const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
  m_rcParent.InflateRect(2 * cxEdge, 2 * cxEdge);
}

int CXTCaption::ShowPopupWindow() {
  if (m_pPopupWnd != nullptr && ::IsWindow(m_pPopupWnd->GetSafeHwnd()) && m_pPopupWnd->IsWindowVisible())
    return 1;
  if (m_pChildWnd == nullptr || !::IsWindow(m_pChildWnd->GetSafeHwnd()) || m_pParentView == nullptr) return 0;

  CRect rc(m_rcParent);
  m_pParentView->ClientToScreen(&rc);
  if (m_pSplitterWnd != nullptr && ::IsWindow(m_pSplitterWnd->GetSafeHwnd())) {
    const int nDifference = m_rcSplitter.Height() - (m_rcParent.Height() - 4 * ::GetSystemMetrics(SM_CXEDGE));
    if (nDifference > 0) rc.bottom += nDifference;
  }
  if (m_pPopupWnd == nullptr) {
    m_pChildWnd->GetWindowRect(&m_rcChildPlace);
    m_pParentView->ScreenToClient(&m_rcChildPlace);
    m_pPopupWnd = new CXTCaptionPopupWnd;
    if (!m_pPopupWnd->Create(rc, this, m_pChildWnd)) {
      delete m_pPopupWnd;
      m_pPopupWnd = nullptr;
      return 0;
    }
  }
  m_pPopupWnd->SetWindowPos(&CWnd::wndTop, rc.left, rc.top, rc.Width(), rc.Height(), SWP_SHOWWINDOW);
  m_pPopupWnd->RecalcLayout();
  if (::IsWindow(m_btnCaption.GetSafeHwnd())) m_btnCaption.SetState(TRUE);
  return 1;
}

void CXTCaption::DeletePopup() {
  if (m_pPopupWnd == nullptr) return;
  CXTCaptionPopupWnd* pPopup = m_pPopupWnd;
  m_pPopupWnd = nullptr;
  if (::IsWindow(pPopup->GetSafeHwnd())) pPopup->DestroyWindow();
  delete pPopup;
  // The popup gave the child back to its parent; put it exactly where it was before it left (the
  // client-rectangle offset misplaces a child that has a border).
  if (m_pChildWnd != nullptr && ::IsWindow(m_pChildWnd->GetSafeHwnd()) && m_pParentView != nullptr &&
      m_pChildWnd->GetParent() == m_pParentView) {
    m_pChildWnd->SetWindowPos(nullptr, m_rcChildPlace.left, m_rcChildPlace.top, m_rcChildPlace.Width(),
                              m_rcChildPlace.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CXTCaption::KillChildWindow() {
  if (::IsWindow(m_btnCaption.GetSafeHwnd())) {
    m_btnCaption.ShowWindow(SW_HIDE);
    m_btnCaption.SetState(FALSE);
  }
  DeletePopup();
}

LRESULT CXTCaption::OnPushPinButton(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  // The request was posted by the popup; a second one for a popup already gone changes nothing.
  if (m_pPopupWnd == nullptr) return 0;
  KillChildWindow();
  if (CWnd* pNotify = GetNotifyWindow()) pNotify->SendMessage(CPWN_XT_PUSHPINBUTTON);
  Invalidate(FALSE);
  return 0;
}

LRESULT CXTCaption::OnPushPinCancel(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (m_pPopupWnd == nullptr) return 0;
  if (::IsWindow(m_btnCaption.GetSafeHwnd())) m_btnCaption.SetState(FALSE);
  DeletePopup();
  if (CWnd* pNotify = GetNotifyWindow()) pNotify->SendMessage(CPWN_XT_PUSHPINCANCEL);
  Invalidate(FALSE);
  return 0;
}
