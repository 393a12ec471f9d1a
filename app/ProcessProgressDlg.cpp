// The progress wait dialog: its face, its wait text, its self-hiding timer and Stop.
#include "ProcessProgressDlg.h"

#include "BufferDC.h"
#include "DrawHelpers.h"
#include "SystemResources.h"
#include "UiHandoff.h"
#include "WizardMessages.h"

#include <commctrl.h>

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
    m_strWaitText = strText;
    const int nSpare = rcClient.bottom - (rcLabel.bottom + rcLabel.top);
    if (nSpare > 0) {
      SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height() - nSpare,
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

void CProcessProgressDlg::OfferToEndProgram() {
  if (m_hWnd == nullptr || m_nWorkerWaits == 0 || m_bEndOffered) return;
  CWnd* pButton = GetDlgItem(IDC_END_PROGRAM);
  if (pButton == nullptr) return;
  m_bEndOffered = TRUE;
  m_label.SetWindowText(OfferedWaitText());
  m_label.InvalidateRect(nullptr, TRUE);
  // The button goes under the text, centred, and the dialog grows to hold it with the text's margin
  // below it.
  CRect rcClient;
  CRect rcLabel;
  CRect rcButton;
  GetClientRect(&rcClient);
  m_label.GetWindowRect(&rcLabel);
  ScreenToClient(&rcLabel);
  pButton->GetWindowRect(&rcButton);
  const int nTop = rcLabel.bottom + rcLabel.top / 2;
  pButton->SetWindowPos(nullptr, (rcClient.Width() - rcButton.Width()) / 2, nTop, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int nGrowth = nTop + rcButton.Height() + rcLabel.top - rcClient.bottom;
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  SetWindowPos(nullptr, 0, 0, rcWindow.Width(), rcWindow.Height() + nGrowth,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  pButton->ShowWindow(SW_SHOW);
  Invalidate();
  // The keyboard goes to the only thing there is to do.
  GotoDlgCtrl(pButton);
}

void CProcessProgressDlg::EndWorkerWait() {
  if (m_hWnd == nullptr || m_nWorkerWaits == 0) return;
  if (--m_nWorkerWaits > 0) return;
  if (CWnd* pButton = GetDlgItem(IDC_END_PROGRAM)) pButton->ShowWindow(SW_HIDE);
  m_bEndOffered = FALSE;
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
