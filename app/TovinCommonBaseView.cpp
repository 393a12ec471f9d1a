// The common page view: buttons, step list, page operations, and the hand-off from page workers.
#include "TovinCommonBaseView.h"

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
const DWORD BUTTON_STYLE = 0x50000000;
const DWORD HIDDEN_BUTTON_STYLE = 0x40000000;
const DWORD XT_BUTTON_STYLE = 0x1000;
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
      m_hWndHandoff(nullptr) {
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
  return OnPageActivated(wParam, lParam);
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
