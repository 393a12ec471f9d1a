// The caption's popup: holds the child window under a small caption with a push pin.
#include "CaptionPopupWnd.h"

#include "ColorTable.h"
#include "ResourceSource.h"

namespace {

constexpr LPCWSTR kPopupClass = L"XTCaptionPopupWnd";
constexpr UINT_PTR kFocusTimer = 1;
constexpr UINT kFocusTimerMs = 10;
constexpr int kStripHeight = 19;
constexpr int kPinWidth = 16;

// The window is hWndOuter itself or one of its descendants.
BOOL IsWithin(HWND hWnd, HWND hWndOuter) {
  return hWnd != nullptr && hWndOuter != nullptr && (hWnd == hWndOuter || ::IsChild(hWndOuter, hWnd));
}

}  // namespace

IMPLEMENT_DYNAMIC(CXTCaptionPopupWnd, CWnd)

BEGIN_MESSAGE_MAP(CXTCaptionPopupWnd, CWnd)
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_SIZE()
ON_BN_CLICKED(XT_IDC_BTN_CLOSE, OnPushPin)
END_MESSAGE_MAP()

CXTCaptionPopupWnd::CXTCaptionPopupWnd() {
  WNDCLASSW wc = {};
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (::GetClassInfoW(hInst, kPopupClass, &wc)) return;
  wc.style = CS_VREDRAW | CS_HREDRAW;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = hInst;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPopupClass;
  if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
}

CXTCaptionPopupWnd::~CXTCaptionPopupWnd() {
  if (GetSafeHwnd() != nullptr) DestroyWindow();
}

BOOL CXTCaptionPopupWnd::Create(const CRect& rect, CXTCaption* pCaption, CWnd* pChild) {
  if (pCaption == nullptr || !::IsWindow(pCaption->GetSafeHwnd()) || pChild == nullptr ||
      !::IsWindow(pChild->GetSafeHwnd()))
    return FALSE;
  m_pCaption = pCaption;
  m_pChildWnd = pChild;
  HWND hWndOwner = ::GetAncestor(pCaption->m_hWnd, GA_ROOT);
  if (!CreateEx(WS_EX_TOOLWINDOW, kPopupClass, nullptr, WS_POPUP | WS_VISIBLE | WS_DLGFRAME, rect.left,
                rect.top, rect.Width(), rect.Height(), hWndOwner, nullptr))
    return FALSE;

  m_hWndOldParent = ::GetParent(pChild->m_hWnd);
  pChild->SetParent(this);

  CString strTitle;
  GetToolkitResourceManager()->LoadString(strTitle, XT_IDS_CLICKKEEPOPEN);
  m_Caption.Create(this, strTitle, CPWS_EX_RAISED_EDGE, WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER,
                   CRect(0, 0, 0, 0), 0xFFFF);
  m_Caption.SetButtonText(FALSE);

  m_btnPushPin.Create(nullptr, WS_VISIBLE | BS_CENTER | BS_VCENTER | BS_ICON | BS_OWNERDRAW,
                      CRect(0, 0, 0, 0), this, XT_IDC_BTN_CLOSE);
  m_btnPushPin.SetCaption(&m_Caption);
  XTLoadStripIcon(m_iconPushPin, XT_IDB_CAPTION, kPinWidth, 15, 0);
  XTLoadStripIcon(m_iconPushPinHot, XT_IDB_CAPTION, kPinWidth, 15, 1);
  if (m_iconPushPin.GetHandle() != nullptr)
    m_btnPushPin.SetIcon(CSize(kPinWidth, 15), m_iconPushPin.GetHandle(), m_iconPushPinHot.GetHandle(),
                         FALSE);

  RecalcLayout();
  SetTimer(kFocusTimer, kFocusTimerMs);
  return TRUE;
}

void CXTCaptionPopupWnd::RecalcLayout() {
  if (GetSafeHwnd() == nullptr) return;
  CRect rc;
  GetClientRect(&rc);
  rc.DeflateRect(2, 2);
  CRect rcStrip(rc.left, rc.top, rc.right, rc.top + kStripHeight);
  const CRect rcPin(rcStrip.right - kPinWidth - 2, rcStrip.top + 2, rcStrip.right - 2, rcStrip.bottom - 2);
  if (::IsWindow(m_Caption.GetSafeHwnd()))
    m_Caption.MoveWindow(rcStrip.left, rcStrip.top, rcPin.left - 2 - rcStrip.left, rcStrip.Height());
  if (::IsWindow(m_btnPushPin.GetSafeHwnd())) m_btnPushPin.MoveWindow(&rcPin);
  if (m_pChildWnd != nullptr && ::IsWindow(m_pChildWnd->GetSafeHwnd()) && m_pChildWnd->GetParent() == this)
    m_pChildWnd->MoveWindow(rc.left, rcStrip.bottom, rc.Width(), rc.bottom - rcStrip.bottom);
}

void CXTCaptionPopupWnd::RestoreChildParent() {
  if (m_pChildWnd == nullptr || !::IsWindow(m_pChildWnd->GetSafeHwnd())) return;
  if (m_hWndOldParent != nullptr && ::IsWindow(m_hWndOldParent) && ::GetParent(m_pChildWnd->m_hWnd) == m_hWnd)
    ::SetParent(m_pChildWnd->m_hWnd, m_hWndOldParent);
}

void CXTCaptionPopupWnd::PostToCaption(UINT msg) {
  if (m_bRequestPosted || m_pCaption == nullptr || !::IsWindow(m_pCaption->GetSafeHwnd())) return;
  m_bRequestPosted = TRUE;
  KillTimer(kFocusTimer);
  m_pCaption->PostMessage(msg);
}

void CXTCaptionPopupWnd::CheckFocus() {
  HWND hFocus = ::GetFocus();
  const HWND hChild = m_pChildWnd != nullptr ? m_pChildWnd->GetSafeHwnd() : nullptr;
  if (IsWithin(hFocus, m_Caption.GetSafeHwnd()) || IsWithin(hFocus, m_btnPushPin.GetSafeHwnd()) ||
      IsWithin(hFocus, m_hWnd) || IsWithin(hFocus, hChild))
    return;
  PostToCaption(CPWN_XT_PUSHPINCANCEL);
}

void CXTCaptionPopupWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kFocusTimer)
    CheckFocus();
  else
    CWnd::OnTimer(nIDEvent);
}

void CXTCaptionPopupWnd::OnPushPin() { PostToCaption(CPWN_XT_PUSHPINBUTTON); }

void CXTCaptionPopupWnd::OnDestroy() {
  KillTimer(kFocusTimer);
  RestoreChildParent();
  CWnd::OnDestroy();
}

void CXTCaptionPopupWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  RecalcLayout();
}

void CXTCaptionPopupWnd::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  rc.DeflateRect(1, 1);
  dc.Draw3dRect(&rc, GetXTPColor(COLOR_BTNSHADOW), GetXTPColor(COLOR_BTNHIGHLIGHT));
  if (m_pChildWnd != nullptr && ::IsWindow(m_pChildWnd->GetSafeHwnd())) m_pChildWnd->Invalidate();
}
