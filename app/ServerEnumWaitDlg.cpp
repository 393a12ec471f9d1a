// The server search wait window: its face, its animation, its self-hiding timer and Stop.
#include "ServerEnumWaitDlg.h"

#include "BufferDC.h"
#include "DrawHelpers.h"
#include "SystemResources.h"
#include "UiHandoff.h"
#include "WizardMessages.h"

namespace {
const UINT_PTR kVisibilityTimer = 1;
}  // namespace

BEGIN_MESSAGE_MAP(CServerEnumWaitDlg, CDialog)
ON_WM_TIMER()
ON_WM_PAINT()
ON_BN_CLICKED(IDC_STOP, OnStop)
ON_WM_NCDESTROY()
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
END_MESSAGE_MAP()

CServerEnumWaitDlg::CServerEnumWaitDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_bKeepVisible(0), m_pNotifyWnd(nullptr) {}

void CServerEnumWaitDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SEARCH_ANIMATION, m_animation);
}

BOOL CServerEnumWaitDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetTimer(kVisibilityTimer, 500);
  return TRUE;
}

BOOL CServerEnumWaitDlg::PreTranslateMessage(MSG* pMsg) {
  const bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
  if (bKey && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) return FALSE;
  return CDialog::PreTranslateMessage(pMsg);
}

void CServerEnumWaitDlg::PlayAnimation() {
  m_animation.ShowWindow(SW_SHOW);
  m_animation.Open(IDR_SERVER_SEARCH_AVI);
  // Opening sizes the control to the animation's frames: keep it centred across the dialog.
  CRect rcAnimation, rcClient;
  m_animation.GetWindowRect(&rcAnimation);
  ScreenToClient(&rcAnimation);
  GetClientRect(&rcClient);
  m_animation.SetWindowPos(nullptr, (rcClient.Width() - rcAnimation.Width()) / 2, rcAnimation.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_animation.Play(0, 0xFFFF, static_cast<UINT>(-1));
}

void CServerEnumWaitDlg::ShowWait() {
  CUiHandoff::Run(m_hWnd, [this] {
    m_bKeepVisible = 1;
    ShowWindow(SW_SHOW);
    PlayAnimation();
  });
}

void CServerEnumWaitDlg::HideWait() {
  CUiHandoff::Run(m_hWnd, [this] {
    m_bKeepVisible = 0;
    m_animation.Stop();
    ShowWindow(SW_HIDE);
  });
}

void CServerEnumWaitDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kVisibilityTimer && IsWindowVisible() && m_bKeepVisible == 0) ShowWindow(SW_HIDE);
  CDialog::OnTimer(nIDEvent);
}

void CServerEnumWaitDlg::OnPaint() {
  CPaintDC paintDC(this);
  CRect rc;
  GetClientRect(&rc);
  CXTPBufferDC dc(paintDC.m_hDC, rc);
  DrawGradientRect(&dc, &rc, RGB(0, 0, 0), RGB(0, 0, 0), FALSE);
  rc.DeflateRect(1, 1);
  DrawGradientRect(&dc, &rc, RGB(0xFF, 0xFF, 0x00), RGB(0xFF, 0xFF, 0x00), FALSE);  // 0x00FFFF
  rc.DeflateRect(1, 1);
  DrawGradientRect(&dc, &rc, RGB(0xFF, 0xFF, 0xFF), RGB(0xFF, 0xFE, 0xEF), FALSE);  // to 0xEFFEFF

  CRect rcText;
  GetClientRect(&rcText);
  rcText.left += 20;
  rcText.top += 20;
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CFont* pOldFont = dc.SelectObject(&GetSystemResources()->m_fontRegular);
  dc.DrawText(L"Please wait while enumerating servers, it will take several minutes", &rcText,
              DT_WORDBREAK | DT_NOPREFIX);
  dc.SelectObject(pOldFont);
}

void CServerEnumWaitDlg::OnStop() {
  m_animation.Stop();
  if (m_pNotifyWnd != nullptr && ::IsWindow(m_pNotifyWnd->GetSafeHwnd())) {
    m_pNotifyWnd->SendMessage(WM_STOP_ENUMERATION, 0, 0);
  }
  PlayAnimation();
}

void CServerEnumWaitDlg::OnNcDestroy() {
  CUiHandoff::DiscardPending(m_hWnd);
  CDialog::OnNcDestroy();
}

LRESULT CServerEnumWaitDlg::OnHandoff(WPARAM wParam, LPARAM lParam) {
  return CUiHandoff::Receive(wParam, lParam);
}
