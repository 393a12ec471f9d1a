// The progress wait dialog: its face, its wait text, its self-hiding timer and Stop.
#include "ProcessProgressDlg.h"

#include "BufferDC.h"
#include "DrawHelpers.h"
#include "SystemResources.h"
#include "UiHandoff.h"
#include "WizardMessages.h"

#include <commctrl.h>

#include <algorithm>

namespace {
const UINT_PTR kVisibilityTimer = 1;
const COLORREF kFaceColor = RGB(0xFF, 0xFE, 0xEF);  // 0xEFFEFF
// The exit code of a program ended from its wait dialog: it did not close as it should have.
const UINT kEndedFromWaitExitCode = 1;
}  // namespace

const wchar_t CProcessProgressDlg::END_PROGRAM_OFFER_TEXT[] =
    L"This is taking longer than it should. You can keep waiting, or click Exit Now to close the software "
    L"at once.";

BEGIN_MESSAGE_MAP(CWaitLabel, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CWaitLabel::OnPaint() {
  CPaintDC paintDC(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTPBufferDC dc(paintDC.m_hDC, rcClient);
  dc.FillSolidRect(&rcClient, kFaceColor);
  CString text;
  GetWindowText(text);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CFont* pOldFont = dc.SelectObject(&GetSystemResources()->m_fontRegular);
  dc.DrawText(text, &rcClient, DT_WORDBREAK | DT_NOPREFIX);
  dc.SelectObject(pOldFont);
}

BOOL CWaitLabel::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

BEGIN_MESSAGE_MAP(CProcessProgressDlg, CDialog)
ON_WM_CLOSE()
ON_WM_PAINT()
ON_WM_TIMER()
ON_BN_CLICKED(IDC_STOP, OnStop)
ON_BN_CLICKED(IDC_END_PROGRAM, OnEndProgram)
ON_BN_CLICKED(IDC_KEEP_WAITING, OnKeepWaiting)
ON_WM_SHOWWINDOW()
ON_WM_NCDESTROY()
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
END_MESSAGE_MAP()

CProcessProgressDlg::CProcessProgressDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_pOwner(nullptr),
      m_bShown(0),
      m_nWorkerWaits(0),
      m_sizeBeforeWait(0, 0),
      m_sizeWaiting(0, 0),
      m_dwOfferTakenBack(0),
      m_bEndOffered(FALSE) {}

void CProcessProgressDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WAIT_TEXT, m_label);
  DDX_Control(pDX, IDC_PROGRESS_BAR, m_bar);
}

BOOL CProcessProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_bar.SetWindowText(L"");
  SetTimer(kVisibilityTimer, 500);
  return TRUE;
}

void CProcessProgressDlg::ShowWait(const CString& strText) {
  CUiHandoff::Run(m_hWnd, [this, strText] {
    m_bar.SetPos(0);
    m_strText = strText;
    m_bShown = 1;
    ApplyVisibility();
  });
}

void CProcessProgressDlg::HideWait() {
  CUiHandoff::Run(m_hWnd, [this] {
    m_bar.SetPos(100);
    m_bShown = 0;
    ApplyVisibility();
  });
}

void CProcessProgressDlg::ApplyVisibility() {
  if (m_nWorkerWaits > 0) return;
  ShowWindow(m_bShown ? SW_SHOW : SW_HIDE);
}

void CProcessProgressDlg::ShowScanControls(BOOL bShow) {
  if (m_bar.m_hWnd != nullptr) m_bar.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
  if (CWnd* pStop = GetDlgItem(IDC_STOP)) pStop->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CProcessProgressDlg::BeginWorkerWait(const CString& strText) {
  if (m_hWnd == nullptr) return;
  if (++m_nWorkerWaits == 1) {
    // Nothing to stop and nothing to count: the wait ends when the worker does. Without bar and Stop,
    // the dialog ends below the text as far as the text is from its top.
    ShowScanControls(FALSE);
    CRect rcWindow;
    CRect rcClient;
    CRect rcLabel;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    m_label.GetWindowRect(&rcLabel);
    ScreenToClient(&rcLabel);
    m_sizeBeforeWait = rcWindow.Size();
    m_sizeWaiting = m_sizeBeforeWait;
    m_strWaitText = strText;
    m_dwOfferTakenBack = 0;
    const int nSpare = rcClient.bottom - (rcLabel.bottom + rcLabel.top);
    if (nSpare > 0) {
      m_sizeWaiting.cy -= nSpare;
      SetWindowPos(nullptr, 0, 0, m_sizeWaiting.cx, m_sizeWaiting.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      // The edges follow the new bottom.
      Invalidate();
    }
  }
  ShowWindow(SW_SHOW);
  // After the show, which puts up the general wait text.
  m_label.SetWindowText(m_bEndOffered ? OfferedWaitText() : strText);
  m_label.InvalidateRect(nullptr, TRUE);
  UpdateWindow();
}

CString CProcessProgressDlg::OfferedWaitText() const {
  return m_strWaitText + L"\r\n\r\n" + END_PROGRAM_OFFER_TEXT;
}

void CProcessProgressDlg::ShowOfferButtons(BOOL bShow) {
  const int ids[] = {IDC_KEEP_WAITING, IDC_END_PROGRAM};
  for (int nId : ids) {
    if (CWnd* pButton = GetDlgItem(nId)) pButton->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
  }
}

void CProcessProgressDlg::OfferToEndProgram(DWORD nAgainAfterMs) {
  if (m_hWnd == nullptr || m_nWorkerWaits == 0 || m_bEndOffered) return;
  if (m_dwOfferTakenBack != 0 && ::GetTickCount() - m_dwOfferTakenBack < nAgainAfterMs) return;
  CWnd* pKeep = GetDlgItem(IDC_KEEP_WAITING);
  CWnd* pEnd = GetDlgItem(IDC_END_PROGRAM);
  if (pKeep == nullptr || pEnd == nullptr) return;
  m_bEndOffered = TRUE;
  m_label.SetWindowText(OfferedWaitText());
  m_label.InvalidateRect(nullptr, TRUE);
  // The buttons go under the text, side by side and centred as a pair, and the dialog grows to hold
  // them with the text's margin below them.
  CRect rcClient;
  CRect rcLabel;
  CRect rcKeep;
  CRect rcEnd;
  GetClientRect(&rcClient);
  m_label.GetWindowRect(&rcLabel);
  ScreenToClient(&rcLabel);
  pKeep->GetWindowRect(&rcKeep);
  pEnd->GetWindowRect(&rcEnd);
  const int nGap = rcLabel.left;
  const int nTop = rcLabel.bottom + rcLabel.top / 2;
  const int nLeft = (rcClient.Width() - rcKeep.Width() - nGap - rcEnd.Width()) / 2;
  pKeep->SetWindowPos(nullptr, nLeft, nTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pEnd->SetWindowPos(nullptr, nLeft + rcKeep.Width() + nGap, nTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int nGrowth = nTop + rcKeep.Height() + rcLabel.top - rcClient.bottom;
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height() + nGrowth,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowOfferButtons(TRUE);
  Invalidate();
  // The keyboard goes to waiting on, the default: ending the program is chosen, never run into.
  GotoDlgCtrl(pKeep);
}

void CProcessProgressDlg::OnKeepWaiting() {
  if (!m_bEndOffered) return;
  m_bEndOffered = FALSE;
  // A tick count of 0 would read as no Keep Waiting.
  m_dwOfferTakenBack = std::max<DWORD>(::GetTickCount(), 1);
  ShowOfferButtons(FALSE);
  m_label.SetWindowText(m_strWaitText);
  m_label.InvalidateRect(nullptr, TRUE);
  SetWindowPos(nullptr, 0, 0, m_sizeWaiting.cx, m_sizeWaiting.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void CProcessProgressDlg::EndWorkerWait() {
  if (m_hWnd == nullptr || m_nWorkerWaits == 0) return;
  if (--m_nWorkerWaits > 0) return;
  ShowOfferButtons(FALSE);
  m_bEndOffered = FALSE;
  m_dwOfferTakenBack = 0;
  SetWindowPos(nullptr, 0, 0, m_sizeBeforeWait.cx, m_sizeBeforeWait.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
  ShowScanControls(TRUE);
  m_label.SetWindowText(L"Please wait...");
  ApplyVisibility();
}

void CProcessProgressDlg::SetProgressPos(int nPos) {
  CUiHandoff::Run(m_hWnd, [this, nPos] {
    if (m_bar.m_hWnd == nullptr) return;
    m_bar.SetPos(nPos);
    m_bar.InvalidateRect(nullptr, TRUE);
  });
}

CString CProcessProgressDlg::FormatScanProgressText(int nFoldersFound, int nEntriesFound,
                                                    const CString& strLastFolder) {
  CString text;
  text.Format(
      L"Please wait, the file is being scanned for emails and other items ...\r\n\r\n"
      L"Total Folder Found     :%d  Total Email Found    :%d\r\nLast Folder Found     :%s",
      nFoldersFound, nEntriesFound, static_cast<LPCTSTR>(strLastFolder));
  return text;
}

void CProcessProgressDlg::SetScanProgressText(int nFoldersFound, int nEntriesFound,
                                              const CString& strLastFolder) {
  const CString text = FormatScanProgressText(nFoldersFound, nEntriesFound, strLastFolder);
  CUiHandoff::Run(m_hWnd, [this, text] {
    if (m_label.m_hWnd == nullptr) return;
    m_label.SetWindowText(text);
    m_label.InvalidateRect(nullptr, TRUE);
  });
}

// The system close does not end a wait: the frame hides the dialog when the work is done.
void CProcessProgressDlg::OnClose() {}

void CProcessProgressDlg::OnPaint() {
  CPaintDC paintDC(this);
  CRect rc;
  GetClientRect(&rc);
  CXTPBufferDC dc(paintDC.m_hDC, rc);
  dc.FillSolidRect(&rc, RGB(0, 0, 0));
  rc.DeflateRect(1, 1);
  dc.FillSolidRect(&rc, RGB(0xFF, 0xFF, 0x00));  // 0x00FFFF
  rc.DeflateRect(1, 1);
  DrawGradientRect(&dc, &rc, RGB(0xFF, 0xFF, 0xFF), kFaceColor, FALSE);
}

void CProcessProgressDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kVisibilityTimer && IsWindowVisible() && m_bShown == 0 && m_nWorkerWaits == 0)
    ShowWindow(SW_HIDE);
  CDialog::OnTimer(nIDEvent);
}

void CProcessProgressDlg::OnStop() {
  if (m_pOwner != nullptr && ::IsWindow(m_pOwner->GetSafeHwnd()))
    m_pOwner->SendMessage(WM_STOP_PROCESS, 0, 0);
}

void CProcessProgressDlg::OnEndProgram() {
  // Nothing runs after this: the worker may hold the locks that an orderly exit would wait for.
  ::TerminateProcess(::GetCurrentProcess(), kEndedFromWaitExitCode);
}

void CProcessProgressDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDialog::OnShowWindow(bShow, nStatus);
  if (m_label.m_hWnd == nullptr) return;
  m_label.SetWindowText(L"Please wait...");
  m_label.InvalidateRect(nullptr, TRUE);
}

void CProcessProgressDlg::OnNcDestroy() {
  CUiHandoff::DiscardPending(m_hWnd);
  CDialog::OnNcDestroy();
}

LRESULT CProcessProgressDlg::OnHandoff(WPARAM wParam, LPARAM lParam) {
  return CUiHandoff::Receive(wParam, lParam);
}
