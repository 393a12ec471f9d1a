// The common page view: buttons, step list, page operations, and the hand-off from page workers.
#include "TovinCommonBaseView.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "BufferDC.h"
#include "DrawHelpers.h"
#include "ImageManager.h"
#include "ImageManagerIcon.h"
#include "SystemResources.h"
#include "UiHandoff.h"
#include "WizardMessages.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CTovinCommonBaseView, CView)

namespace {

const UINT IDC_PAGE_NEXT = 1;
const UINT IDC_PAGE_BACK = 2;
const UINT IDC_PAGE_EXIT = 3;
const UINT IDC_PAGE_STOP = 4;
const UINT IDC_PAGE_PREVIEW = 5;
// Tab stops, so that the keyboard reaches them (the page moves through its tab stops itself).
const DWORD BUTTON_STYLE = 0x50010000;
const DWORD HIDDEN_BUTTON_STYLE = 0x40010000;
// The toolkit's visual style, with the focus shown (0x0010), so that Tab shows where it went.
const DWORD XT_BUTTON_STYLE = 0x1010;
const int STEP_COUNT_IMAGES = 54;

const COLORREF BOX_EDGE = 0xADB2AD;
const COLORREF FACE_TOP = RGB(255, 255, 255);
const COLORREF FACE_BOTTOM = 0xEFFEFF;
const COLORREF STRIP_COLOUR = 0x0AD3FB;
const COLORREF TEXT_CURRENT = 0xFF0000;
const COLORREF TEXT_DONE = RGB(0, 0, 0);
const COLORREF TEXT_LATER = 0x888888;
const COLORREF CAPTION_CURRENT = 0x0000FF;
const COLORREF CAPTION_DONE = 0x005B00;

void ShowButton(CWnd& button, BOOL bShow) {
  if (button.GetSafeHwnd() != nullptr) button.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

BOOL IsKeyDown(int nVirtKey) { return (::GetKeyState(nVirtKey) & 0x8000) != 0; }

// As in a dialog, an edit the keyboard is put on has its text selected, ready to be typed over.
void SelectEditText(HWND hWnd) {
  if (::SendMessageW(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageW(hWnd, EM_SETSEL, 0, -1);
}

// A tab stop the user can reach: shown with a size, and enabled with every window up to the page.
BOOL IsReachableTabStop(HWND hPage, HWND hWnd) {
  if ((::GetWindowLongW(hWnd, GWL_STYLE) & WS_TABSTOP) == 0 || !::IsWindowVisible(hWnd)) return FALSE;
  RECT rc;
  if (!::GetWindowRect(hWnd, &rc) || ::IsRectEmpty(&rc)) return FALSE;
  for (HWND h = hWnd; h != nullptr && h != hPage; h = ::GetParent(h)) {
    if (!::IsWindowEnabled(h)) return FALSE;
  }
  return TRUE;
}

struct TabStopSearch {
  HWND hPage;
  std::vector<HWND> stops;
};

BOOL CALLBACK CollectTabStop(HWND hWnd, LPARAM lParam) {
  auto* pSearch = reinterpret_cast<TabStopSearch*>(lParam);
  if (IsReachableTabStop(pSearch->hPage, hWnd)) pSearch->stops.push_back(hWnd);
  return TRUE;
}

// The page's tab stops in reading order: by their top, then their left; windows on one line keep their
// order of creation.
std::vector<HWND> TabStops(HWND hPage) {
  TabStopSearch search{hPage, {}};
  ::EnumChildWindows(hPage, CollectTabStop, reinterpret_cast<LPARAM>(&search));
  auto place = [](HWND hWnd) {
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return std::make_pair(rc.top, rc.left);
  };
  std::stable_sort(search.stops.begin(), search.stops.end(),
                   [&](HWND a, HWND b) { return place(a) < place(b); });
  return search.stops;
}

}  // namespace

BOOL WaitForWorker(HANDLE hThread, DWORD nTimeoutMs) {
  if (hThread == nullptr) return TRUE;
  const DWORD dwStart = ::GetTickCount();
  for (;;) {
    DWORD dwWait = INFINITE;
    if (nTimeoutMs != INFINITE) {
      const DWORD dwElapsed = ::GetTickCount() - dwStart;
      if (dwElapsed >= nTimeoutMs) return ::WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0;
      dwWait = nTimeoutMs - dwElapsed;
    }
    const DWORD dwResult = ::MsgWaitForMultipleObjects(1, &hThread, FALSE, dwWait, QS_SENDMESSAGE);
    if (dwResult == WAIT_OBJECT_0) return TRUE;
    if (dwResult != WAIT_OBJECT_0 + 1) return ::WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0;
    // Dispatches the messages sent from other threads; posted ones stay queued.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

BEGIN_MESSAGE_MAP(CTovinCommonBaseView, CView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_NCDESTROY()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_WIZARD_PAGE_ACTIVATED, OnPageActivatedMessage)
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
ON_COMMAND(IDC_PAGE_NEXT, OnNextButton)
ON_COMMAND(IDC_PAGE_BACK, OnBackButton)
ON_COMMAND(IDC_PAGE_EXIT, OnExitButton)
ON_COMMAND(IDC_PAGE_STOP, OnStopButton)
ON_COMMAND(IDC_PAGE_PREVIEW, OnPreviewButton)
END_MESSAGE_MAP()

CTovinCommonBaseView::CTovinCommonBaseView()
    : m_nStepMargin(10),
      m_nCaptionOffset(30),
      m_nTextOffset(30),
      m_nStepHeight(70),
      m_nCaptionTop(0),
      m_nCaptionBottom(0),
      m_nTextTop(0),
      m_nRowBottom(0),
      m_nCurrentStep(0),
      m_hWndHandoff(nullptr),
      m_hWndLastFocus(nullptr) {
  if (CXTPImageManager* pImages = m_wndStepImages.GetImageManager())
    pImages->SetIconsFromBitmap(IDB_STEP_IMAGES, nullptr, STEP_COUNT_IMAGES, CSize(16, 16));
}

CTovinCommonBaseView::~CTovinCommonBaseView() = default;

void CTovinCommonBaseView::OnNext() {}
void CTovinCommonBaseView::OnBack() {}
void CTovinCommonBaseView::OnExit() {}
void CTovinCommonBaseView::OnStop() {}
void CTovinCommonBaseView::OnPreview() {}
LRESULT CTovinCommonBaseView::OnPageActivated(WPARAM, LPARAM) { return 1; }
void CTovinCommonBaseView::StopWorkers() {}

void CTovinCommonBaseView::AddStep(LPCTSTR lpszCaption, LPCTSTR lpszText) {
  m_arrStepCaptions.Add(lpszCaption);
  m_arrStepTexts.Add(lpszText);
}

// Exit's place follows Back's visibility at once, not only at the next size change: a page resized
// while Back was hidden would otherwise show Exit under Back once Back comes back.
void CTovinCommonBaseView::HideBackButton() {
  ShowButton(m_btnBack, FALSE);
  PlaceExitButton();
}
void CTovinCommonBaseView::ShowBackButton() {
  ShowButton(m_btnBack, TRUE);
  PlaceExitButton();
}
void CTovinCommonBaseView::HideNextButton() { ShowButton(m_btnNext, FALSE); }
void CTovinCommonBaseView::ShowNextButton() { ShowButton(m_btnNext, TRUE); }
void CTovinCommonBaseView::HideExitButton() { ShowButton(m_btnExit, FALSE); }
void CTovinCommonBaseView::ShowExitButton() { ShowButton(m_btnExit, TRUE); }
void CTovinCommonBaseView::HideStopButton() { ShowButton(m_btnStop, FALSE); }
void CTovinCommonBaseView::ShowStopButton() { ShowButton(m_btnStop, TRUE); }

BOOL CTovinCommonBaseView::RunOnPage(std::function<void()> action) {
  return CUiHandoff::Run(m_hWndHandoff, std::move(action));
}

LRESULT CTovinCommonBaseView::OnHandoff(WPARAM wParam, LPARAM lParam) {
  return CUiHandoff::Receive(wParam, lParam);
}

void CTovinCommonBaseView::OnNcDestroy() {
  m_hWndHandoff = nullptr;
  CUiHandoff::DiscardPending(m_hWnd);
  CView::OnNcDestroy();
}

LRESULT CTovinCommonBaseView::OnPageActivatedMessage(WPARAM wParam, LPARAM lParam) {
  // A page shown anew starts from its natural control, whatever had the focus when it was left.
  m_hWndLastFocus = nullptr;
  const LRESULT lResult = OnPageActivated(wParam, lParam);
  TakeFocus(TRUE);
  return lResult;
}

BOOL CTovinCommonBaseView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_TAB && MoveFocusByTab(pMsg)) return TRUE;
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && PressFocusedButton(pMsg)) return TRUE;
  return CView::PreTranslateMessage(pMsg);
}

HWND CTovinCommonBaseView::GetNaturalFocus() const {
  const std::vector<HWND> stops = TabStops(m_hWnd);
  return stops.empty() ? nullptr : stops.front();
}

void CTovinCommonBaseView::RememberFocus(HWND hWnd) {
  if (hWnd != nullptr && m_hWnd != nullptr && ::IsChild(m_hWnd, hWnd)) m_hWndLastFocus = hWnd;
}

HWND CTovinCommonBaseView::FocusTarget() const {
  if (m_hWndLastFocus != nullptr && ::IsWindow(m_hWndLastFocus) && ::GetParent(m_hWndLastFocus) == m_hWnd &&
      IsReachableTabStop(m_hWnd, m_hWndLastFocus))
    return m_hWndLastFocus;
  const HWND hNatural = GetNaturalFocus();
  return hNatural != nullptr && IsReachableTabStop(m_hWnd, hNatural) ? hNatural : nullptr;
}

void CTovinCommonBaseView::OnSetFocus(CWnd* pOldWnd) {
  CView::OnSetFocus(pOldWnd);
  // As a dialog does: the page itself takes no keys, one of its controls does.
  if (const HWND hTarget = FocusTarget()) ::SetFocus(hTarget);
}

void CTovinCommonBaseView::TakeFocus(BOOL bAnew) {
  if (m_hWnd == nullptr || !IsWindowVisible()) return;
  // A window of another thread (a worker's dialog) may be the active one: its keyboard stays with it.
  const HWND hFrame = ::GetAncestor(m_hWnd, GA_ROOT);
  if (::GetActiveWindow() != hFrame) return;
  // A control the user can reach keeps the focus; the frame, the windows that hold the page, and one
  // hidden or disabled since it took the focus do not.
  const HWND hFocus = ::GetFocus();
  const BOOL bOnPage = hFocus != nullptr && ::IsChild(m_hWnd, hFocus);
  if (hFocus != nullptr && hFocus != hFrame && hFocus != m_hWnd && !::IsChild(hFocus, m_hWnd) &&
      ::IsWindowVisible(hFocus) && ::IsWindowEnabled(hFocus) && !(bAnew && bOnPage))
    return;
  if (const HWND hTarget = FocusTarget()) {
    ::SetFocus(hTarget);
    // A page shown anew starts as a dialog does: its first field ready to be typed over.
    if (bAnew) SelectEditText(hTarget);
  }
}

BOOL CTovinCommonBaseView::MoveFocusByTab(MSG* pMsg) {
  if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU)) return FALSE;
  const HWND hFocus = pMsg->hwnd;
  const std::vector<HWND> stops = TabStops(m_hWnd);
  const auto it = std::find(stops.begin(), stops.end(), hFocus);
  if (hFocus != m_hWnd) {
    // A window that is no tab stop of the page (a grid's cell editor, say) keeps its keys, and so does
    // a control that asks for Tab itself. A multi-line edit asks for every key only because it takes
    // Enter: in a dialog it hands Tab back, as here.
    if (it == stops.end()) return FALSE;
    if (::SendMessageW(hFocus, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(pMsg)) & DLGC_WANTTAB) return FALSE;
  }
  if (stops.empty()) return TRUE;
  const BOOL bBack = IsKeyDown(VK_SHIFT);
  const size_t n = stops.size();
  size_t nNext;
  if (it == stops.end()) {
    nNext = bBack ? n - 1 : 0;
  } else {
    const size_t nAt = static_cast<size_t>(it - stops.begin());
    nNext = bBack ? (nAt + n - 1) % n : (nAt + 1) % n;
  }
  const HWND hNext = stops[nNext];
  ::SetFocus(hNext);
  // The keyboard is in use: focus marks show from now on, as a dialog has them show after a Tab.
  ::SendMessageW(::GetAncestor(m_hWnd, GA_ROOT), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SelectEditText(hNext);
  return TRUE;
}

BOOL CTovinCommonBaseView::PressFocusedButton(MSG* pMsg) {
  if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU)) return FALSE;
  const HWND hFocus = pMsg->hwnd;
  if (hFocus == nullptr || ::GetParent(hFocus) != m_hWnd || !IsReachableTabStop(m_hWnd, hFocus)) return FALSE;
  // The toolkit's buttons are owner-drawn, which the system reports as a button of no kind.
  const LRESULT nCode = ::SendMessageW(hFocus, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(pMsg));
  const LONG nType = ::GetWindowLongW(hFocus, GWL_STYLE) & BS_TYPEMASK;
  const BOOL bPushButton = (nCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0 ||
                           ((nCode & DLGC_BUTTON) != 0 && nType == BS_OWNERDRAW);
  if (!bPushButton) return FALSE;
  // As a dialog does for its default button: the key is used up here, so that a dialog the command
  // opens does not read it as well.
  ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hFocus), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hFocus));
  return TRUE;
}

void CTovinCommonBaseView::OnNextButton() { OnNext(); }
void CTovinCommonBaseView::OnBackButton() { OnBack(); }
void CTovinCommonBaseView::OnExitButton() { OnExit(); }
void CTovinCommonBaseView::OnStopButton() { OnStop(); }
void CTovinCommonBaseView::OnPreviewButton() { OnPreview(); }

int CTovinCommonBaseView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CView::OnCreate(lpCreateStruct) == -1) return -1;
  m_hWndHandoff = m_hWnd;
  m_btnNext.Create(L"Next", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_PAGE_NEXT);
  m_btnBack.Create(L"Back", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_PAGE_BACK);
  m_btnExit.Create(L"Exit", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_PAGE_EXIT);
  m_btnStop.Create(L"Stop", BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_PAGE_STOP);
  m_btnPreview.Create(L"Preview", HIDDEN_BUTTON_STYLE, CRect(0, 0, 0, 0), this, IDC_PAGE_PREVIEW);
  return 0;
}

void CTovinCommonBaseView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  struct PageButton {
    CXTButton* pButton;
    UINT nIcon;
  };
  const PageButton buttons[] = {{&m_btnNext, IDI_NEXT},
                                {&m_btnBack, IDI_BACK},
                                {&m_btnExit, IDI_EXIT},
                                {&m_btnStop, IDI_STOP},
                                {&m_btnPreview, IDI_PREVIEW}};
  for (const PageButton& button : buttons) {
    if (button.pButton->GetSafeHwnd() == nullptr) continue;
    button.pButton->SetXButtonStyle(XT_BUTTON_STYLE, TRUE);
    button.pButton->SetFontEx(&GetSystemResources()->m_fontBold);
    button.pButton->SetIcon(CSize(16, 16), button.nIcon);
  }
  AddStep(L"Step 1", L"Please select the PST file to export");
  AddStep(L"Step 2", L"Select the Save option to save PST file items to new or an existing NSF file");
  AddStep(L"Step 3", L"Select the Outlook folder(s) which you want to export");
}

void CTovinCommonBaseView::OnSize(UINT nType, int cx, int cy) {
  CView::OnSize(nType, cx, cy);
  if (m_btnBack.GetSafeHwnd() == nullptr) return;
  const int y = cy - 50;
  m_btnNext.MoveWindow(cx - 120, y, 100, 30);
  m_btnBack.MoveWindow(cx - 240, y, 100, 30);
  m_btnPreview.MoveWindow(cx - 240, y, 100, 30);
  PlaceExitButton();
  m_btnStop.MoveWindow(cx - 120, y, 100, 30);
}

void CTovinCommonBaseView::PlaceExitButton() {
  if (m_btnExit.GetSafeHwnd() == nullptr || m_btnBack.GetSafeHwnd() == nullptr) return;
  CRect rcClient;
  GetClientRect(&rcClient);
  const int cx = rcClient.Width();
  m_btnExit.MoveWindow((m_btnBack.GetStyle() & WS_VISIBLE) ? cx - 360 : cx - 240, rcClient.Height() - 50, 100,
                       30);
}

void CTovinCommonBaseView::DrawBox(CDC* pDC, CRect rc, int nStyle) {
  pDC->FillSolidRect(rc, BOX_EDGE);
  rc.DeflateRect(1, 1);
  switch (nStyle) {
    case 0:
      DrawGradientRect(pDC, rc, FACE_TOP, FACE_BOTTOM, FALSE);
      break;
    case 1:
      pDC->FillSolidRect(rc, RGB(255, 255, 255));
      break;
    case 2:
      DrawGradientRect(pDC, rc, 0xA9F2FF, RGB(255, 255, 255), FALSE);
      break;
    default:
      break;
  }
}

void CTovinCommonBaseView::DrawStep(CDC* pDC, int nStep) {
  const int m = m_nStepMargin, h = m_nStepHeight, k = m_nCurrentStep;
  m_nCaptionTop = h * nStep + 2 * m;
  m_nCaptionBottom = m + 30 + h * nStep;
  m_nTextTop = m + 30 + h * nStep;
  m_nRowBottom = m + h * (nStep + 1);

  CRect rcClient;
  GetClientRect(&rcClient);
  CXTSystemResources* pResources = GetSystemResources();

  pDC->SetTextColor(nStep == k ? TEXT_CURRENT : nStep < k ? TEXT_DONE : TEXT_LATER);
  CFont* pOldFont = pDC->SelectObject(&pResources->m_fontRegular);
  CRect rcText(rcClient.left + 50, m_nTextTop, 180, m_nRowBottom + 20);
  if (nStep < m_arrStepTexts.GetSize())
    pDC->DrawText(m_arrStepTexts[nStep], rcText, DT_WORDBREAK | DT_NOPREFIX);

  pDC->SetTextColor(nStep == k ? CAPTION_CURRENT : nStep < k ? CAPTION_DONE : TEXT_LATER);
  pDC->SelectObject(&pResources->m_fontBold);
  CRect rcCaption(rcClient.left + 50, m_nCaptionTop, 180, m_nCaptionBottom);
  if (nStep < m_arrStepCaptions.GetSize())
    pDC->DrawText(m_arrStepCaptions[nStep], rcCaption, DT_WORDBREAK | DT_NOPREFIX);
  pDC->SelectObject(pOldFont);

  if (nStep > k) return;
  CXTPImageManager* pImages = m_wndStepImages.GetImageManager();
  CXTPImageManagerIcon* pIcon =
      pImages != nullptr ? pImages->GetImage(nStep == k ? STEP_IMAGE_CURRENT : STEP_IMAGE_DONE, 16) : nullptr;
  if (pIcon != nullptr) pIcon->Draw(pDC, CPoint(20, m_nRowBottom - (m_nRowBottom - m_nCaptionTop) / 2 - 31));
}

void CTovinCommonBaseView::OnDraw(CDC* pDC) {
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC dc(pDC->GetSafeHdc(), rcClient);

  DrawBox(&dc, CRect(100, 0, rcClient.right, rcClient.bottom), 0);
  DrawBox(&dc, CRect(0, 0, 200, rcClient.bottom), 1);
  const int nOldMode = dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < m_arrStepCaptions.GetSize(); ++i) DrawStep(&dc, i);
  dc.SetBkMode(nOldMode);
  dc.FillSolidRect(CRect(200, rcClient.bottom - 10, rcClient.right, rcClient.bottom), STRIP_COLOUR);

  // Loaded for this paint and released with it.
  CBitmap bmpFooter;
  if (bmpFooter.LoadBitmap(IDB_PAGE_FOOTER)) {
    BITMAP bm = {};
    bmpFooter.GetBitmap(&bm);
    CDC memDC;
    if (memDC.CreateCompatibleDC(&dc)) {
      CBitmap* pOld = memDC.SelectObject(&bmpFooter);
      dc.BitBlt(10, rcClient.bottom - 10 - bm.bmHeight, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
      memDC.SelectObject(pOld);
    }
  }
}
