// The saving page and its conversion worker.
#include "3TovinSaveNsfToPst.h"

#include "BrindleEmlConverterGuiView.h"
#include "MainFrame.h"
#include "SavingCompleteDlg.h"
#include "SystemResources.h"
#include "WizardMessages.h"
#include "lnnotes.h"

IMPLEMENT_DYNCREATE(C3TovinSaveNsfToPst, CTovinCommonBaseView)

namespace {

const UINT IDC_FOLDER_BAR = 59394;
const UINT IDC_ITEM_BAR = 59395;
const UINT IDC_FILE_LIST = 1;
const DWORD BAR_STYLE = 0x50000001;
const DWORD CAPTION_STYLE = 0x10000201;
const DWORD LIST_STYLE = 0x50800809;
const COLORREF CAPTION_FACE = 0xEFFEFF;
const COLORREF CAPTION_TEXT = 0x0000FF;
// A worker that has handed over its last act ends at once; its page waits this long at most there.
const DWORD WORKER_END_WAIT_MS = 2000;
// What the wait dialog says while the user-interface thread waits for the worker to end.
const wchar_t WORKER_WAIT_TEXT[] =
    L"Waiting for the saving to stop: the item being written is finished first, then the NSF file is "
    L"closed.";

const wchar_t CLOSE_OUTLOOK_TEXT[] =
    L"It is recommended to close all instances of Microsoft Outlook and Lotus Notes while saving file(s)";
const wchar_t STOP_QUESTION_TEXT[] = L"Are you sure you want to stop the saving process ?";
const wchar_t INITIALIZING_TEXT[] = L"Initializing saving .. please wait...";
const wchar_t NEXT_OR_EXIT_TAIL[] =
    L"Click Next button to convert another file or click Exit button to close the software";
const wchar_t ABORTED_STATUS[] =
    L"Process aborted by user , Click Next button to convert another file or click Exit button to close the "
    L"software";
const wchar_t OUTLOOK_MISSING_STATUS[] = L"Outlook is not installed or no profile exist";
const wchar_t CANCELLED_STATUS[] = L"Saving cancelled by user";
const wchar_t COMPLETE_STATUS[] =
    L"Saving Complete , Click Next button to convert another file or click Exit button to close the software";
// The cancelled message keeps its two blanks before "by".
const wchar_t CANCELLED_MESSAGE_HEAD[] = L"Saving cancelled  by user , ";
// At most this many lines of what was not converted go into a message box, each cut to so many
// characters, so that the box stays smaller than the screen and its button within reach; the rest are
// counted.
const int MAX_LISTED_LINES = 10;
const int MAX_LINE_LENGTH = 160;

// One line of the not-converted list ("<folder> TAB <what> TAB <reason>") as a person reads it.
CString ReadableLine(const CString& strLine) {
  CString strFolder, strWhat, strReason;
  AfxExtractSubString(strFolder, strLine, 0, L'\t');
  AfxExtractSubString(strWhat, strLine, 1, L'\t');
  int nReason = 2;
  CString strPart;
  // Items carry their subject between what and the reason.
  if (strWhat.Left(5) == L"item ") {
    AfxExtractSubString(strPart, strLine, 2, L'\t');
    // An item whose subject could not be read goes by its number alone.
    if (!strPart.IsEmpty()) strWhat += L" \"" + strPart + L"\"";
    nReason = 3;
  }
  AfxExtractSubString(strReason, strLine, nReason, L'\t');
  CString strText = strFolder.IsEmpty() ? CString(L"Outlook folders") : strFolder;
  if (!strWhat.IsEmpty()) strText += L" " + strWhat;
  return strText + L": " + strReason;
}

// A final message of the run, with AfxMessageBox's title and icon: owned by the main frame and modal to
// it, so that it stays in front of the frame while the worker waits for it.
INT_PTR ShowWorkerMessage(CWnd* pOwner, const CString& strText) {
  return ::MessageBoxW(pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr, strText, AfxGetAppName(),
                       MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
}

}  // namespace

BEGIN_MESSAGE_MAP(C3TovinSaveNsfToPst, CTovinCommonBaseView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

C3TovinSaveNsfToPst::C3TovinSaveNsfToPst()
    : m_hThread(nullptr),
      m_bAborted(0),
      m_pThread(nullptr),
      m_pMainFrame(nullptr),
      m_bClosing(false),
      m_bWorkerRunning(false),
      m_brushFace(CAPTION_FACE) {}

C3TovinSaveNsfToPst::~C3TovinSaveNsfToPst() { StopWorker(); }

int C3TovinSaveNsfToPst::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CTovinCommonBaseView::OnCreate(lpCreateStruct) == -1) return -1;
  m_barFolders.Create(BAR_STYLE, CRect(10, 10, 200, 30), this, IDC_FOLDER_BAR);
  m_barItems.Create(BAR_STYLE, CRect(10, 50, 200, 30), this, IDC_ITEM_BAR);
  m_barRead.Create(BAR_STYLE, CRect(10, 50, 200, 30), this, IDC_ITEM_BAR);
  m_barFolders.SetWindowText(L"");
  m_barItems.SetWindowText(L"");
  m_barRead.SetWindowText(L"");
  m_caption.Create(this, L"", 0, CAPTION_STYLE, CRect(0, 0, 0, 0), 0xFFFF);
  m_caption.SetFont(&GetSystemResources()->m_fontRegular);
  m_caption.SetCaptionColors(CAPTION_FACE, CAPTION_FACE, CAPTION_TEXT);
  m_detail.Create(L"", WS_CHILD | SS_CENTER | SS_NOPREFIX, CRect(0, 0, 0, 0), this, 0xFFFF);
  m_detail.SetFont(&GetSystemResources()->m_fontRegular);
  m_listFiles.Create(LIST_STYLE, CRect(0, 0, 0, 0), this, IDC_FILE_LIST);
  m_listFiles.InsertColumn(0, L"File Name", LVCFMT_LEFT, 300);
  m_listFiles.InsertColumn(1, L"Status", LVCFMT_LEFT, 200);
  m_listFiles.InsertColumn(2, L"Server", LVCFMT_LEFT, 200);

  // The worker's reports, shown on this page's thread.
  const HWND hWndPage = m_hWnd;
  auto showBar = [](CPercentProgressCtrl& bar) {
    return [&bar](const CHandoffProgressSink::Update& update) {
      if (bar.GetSafeHwnd() == nullptr) return;
      if (update.bPos) bar.SetPos(update.nPos);
      if (update.bText) bar.SetWindowText(update.strText);
      bar.Invalidate(TRUE);
    };
  };
  m_folderSink.Attach(hWndPage, showBar(m_barFolders));
  m_itemSink.Attach(hWndPage, showBar(m_barItems));
  m_readSink.Attach(hWndPage, showBar(m_barRead));
  m_statusSink.Attach(hWndPage, [this](const CHandoffProgressSink::Update& update) {
    if (update.bText) ShowStatus(update.strText, CString());
  });
  return 0;
}

void C3TovinSaveNsfToPst::OnInitialUpdate() {
  CTovinCommonBaseView::OnInitialUpdate();
  SetCurrentStep(3);
}

void C3TovinSaveNsfToPst::OnSize(UINT nType, int cx, int cy) {
  CTovinCommonBaseView::OnSize(nType, cx, cy);
  if (m_barFolders.GetSafeHwnd() == nullptr) return;
  m_listFiles.MoveWindow(0, 0, 0, 0);
  m_barRead.MoveWindow(0, 0, 0, 0);
  m_barItems.MoveWindow(250, cy / 2 + 20, cx - 300, 20);
  m_barFolders.MoveWindow(250, cy / 2 + 60, cx - 300, 20);
  m_caption.MoveWindow(250, cy / 2 - 80, cx - 300, 40);
  // Down over the bars, which are hidden once the lines show.
  m_detail.MoveWindow(250, cy / 2 - 36, cx - 300, 124);
}

BOOL C3TovinSaveNsfToPst::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void C3TovinSaveNsfToPst::OnDraw(CDC* pDC) { CTovinCommonBaseView::OnDraw(pDC); }

HBRUSH C3TovinSaveNsfToPst::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_STATIC && pWnd != nullptr && pWnd->GetSafeHwnd() == m_detail.GetSafeHwnd()) {
    pDC->SetTextColor(CAPTION_TEXT);
    pDC->SetBkColor(CAPTION_FACE);
    return static_cast<HBRUSH>(m_brushFace.GetSafeHandle());
  }
  return CTovinCommonBaseView::OnCtlColor(pDC, pWnd, nCtlColor);
}

void C3TovinSaveNsfToPst::ShowStatus(const CString& strStatus, const CString& strDetail) {
  if (m_caption.GetSafeHwnd() != nullptr) {
    m_caption.UpdateCaption(strStatus, nullptr);
    // Readers of the window's text (assistive tools, tests) see the status as shown.
    m_caption.SetWindowText(strStatus);
  }
  if (m_detail.GetSafeHwnd() != nullptr) {
    m_detail.SetWindowText(strDetail);
    m_detail.ShowWindow(strDetail.IsEmpty() ? SW_HIDE : SW_SHOW);
  }
}

// ---- Page operations ---------------------------------------------------------------------------------
void C3TovinSaveNsfToPst::OnNext() {
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->GoToPage(-1);
}

void C3TovinSaveNsfToPst::OnBack() {
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->GoToPage(-1);
}

void C3TovinSaveNsfToPst::OnExit() {
  if (CWnd* pFrame = GetParentFrame()) pFrame->SendMessage(WM_CLOSE, 0, 0);
}

BOOL C3TovinSaveNsfToPst::IsWorkerRunning() const { return m_bWorkerRunning; }

HWND C3TovinSaveNsfToPst::GetNaturalFocus() const {
  // Stop while a run shows it; then Next, to convert another file.
  if (m_btnStop.GetSafeHwnd() != nullptr && m_btnStop.IsWindowVisible()) return m_btnStop.GetSafeHwnd();
  if (m_btnNext.GetSafeHwnd() != nullptr && m_btnNext.IsWindowVisible()) return m_btnNext.GetSafeHwnd();
  return CTovinCommonBaseView::GetNaturalFocus();
}

void C3TovinSaveNsfToPst::OnStop() {
  if (!IsWorkerRunning() || m_pMainFrame == nullptr) return;
  // The worker waits at its next item or folder boundary while the user decides, so that nothing is
  // saved under the question; a run that has passed its last boundary is over and is not asked about.
  if (!m_pMainFrame->HoldWorkers(WM_STOP_PROCESS)) return;
  if (AfxMessageBox(STOP_QUESTION_TEXT, MB_YESNO) == IDYES) {
    m_pMainFrame->SetStopFlags(1);
    m_bAborted = 1;
  }
  m_pMainFrame->ReleaseWorkers();
}

LRESULT C3TovinSaveNsfToPst::OnPageActivated(WPARAM, LPARAM) {
  SetCurrentStep(2);
  m_barItems.m_bTextLeft = TRUE;
  CPercentProgressCtrl* bars[] = {&m_barFolders, &m_barItems, &m_barRead};
  for (CPercentProgressCtrl* pBar : bars) {
    pBar->ShowWindow(SW_HIDE);
    pBar->SetWindowText(L"");
  }
  ShowStopButton();
  HideNextButton();
  HideBackButton();
  HideExitButton();
  m_listFiles.ShowWindow(SW_HIDE);
  m_caption.ShowWindow(SW_HIDE);
  ShowStatus(CString(), CString());
  Invalidate();

  AfxMessageBox(CLOSE_OUTLOOK_TEXT, MB_OK);

  m_pMainFrame = GetMainFrame();
  m_caption.ShowWindow(SW_SHOW);

  // Workers still running (an earlier conversion, the browser page's listings) see the stop flags and
  // are joined before the conversion worker starts.
  if (m_pMainFrame != nullptr) {
    m_pMainFrame->SetStopFlags(1);
    WaitForWorkerEnd(nullptr);
    if (CBrindleEmlConverterGuiView* pView = m_pMainFrame->m_pMainView) {
      for (int i = 0; i < pView->m_wndTabs.GetItemCount(); ++i) {
        CTovinCommonBaseView* pPage = pView->GetPage(i);
        if (pPage != nullptr && pPage != this) pPage->StopWorkers();
      }
    }
    m_pMainFrame->SetStopFlags(0);
  } else {
    WaitForWorkerEnd(nullptr);
  }

  m_bAborted = 0;
  m_bClosing = false;
  m_folderSink.Reset();
  m_itemSink.Reset();
  m_readSink.Reset();
  m_statusSink.Reset();
  // The run counts from here, so that a Stop pressed as soon as the button shows finds it.
  if (m_pMainFrame != nullptr) m_run = m_pMainFrame->BeginWorkerRun();
  m_bWorkerRunning = true;
  m_pThread = AfxBeginThread(SaveThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (m_pThread == nullptr) {
    m_bWorkerRunning = false;
    m_run.End();
    ShowStatus(L"The saving could not be started", CString());
    HideStopButton();
    ShowNextButton();
    ShowBackButton();
    ShowExitButton();
    return 1;
  }
  // The handle must stay valid until it is joined, after the thread's end.
  m_pThread->m_bAutoDelete = FALSE;
  m_hThread = m_pThread->m_hThread;
  m_pThread->ResumeThread();
  return 1;
}

void C3TovinSaveNsfToPst::StopWorkers() { StopWorker(); }

void C3TovinSaveNsfToPst::StopWorker() {
  if (m_pMainFrame != nullptr) m_pMainFrame->SetStopFlags(1);
  m_bAborted = 1;
  // Nobody sees the worker's last message. No dialog of the worker's is open here: a dialog has its
  // turn at the pause gate until it ends, and the close question waits for that.
  m_bClosing = true;
  WaitForWorkerEnd(nullptr);
  m_bAborted = 0;
}

void C3TovinSaveNsfToPst::WaitForWorkerEnd(const std::function<void()>& onWaiting) {
  if (m_pThread == nullptr) return;
  if (onWaiting) onWaiting();
  // However long the Notes call the worker is in takes: a worker ended inside a write leaves a
  // damaged NSF, and one ended holding a lock hangs the exit.
  JoinWorkerThread(m_pMainFrame, m_pThread, m_hThread, WORKER_WAIT_TEXT, onWaiting);
  m_bWorkerRunning = false;
}

void C3TovinSaveNsfToPst::ReleaseEndedWorker(DWORD nTimeoutMs) {
  // A hand-off run during a wait may have released the worker already.
  if (m_pThread == nullptr || !WaitForWorker(m_hThread, nTimeoutMs)) return;
  delete m_pThread;
  m_pThread = nullptr;
  m_hThread = nullptr;
  m_bWorkerRunning = false;
}

// ---- The worker --------------------------------------------------------------------------------------
UINT C3TovinSaveNsfToPst::SaveThread(LPVOID pParam) {
  static_cast<C3TovinSaveNsfToPst*>(pParam)->RunWorker();
  return 1;
}

int C3TovinSaveNsfToPst::RunConversion(CString /*strPstPath*/) {
  CMainFrame* pFrame = m_pMainFrame;
  if (pFrame == nullptr) return CONVERSION_PST_FAILED;
  const int nResult =
      pFrame->ConvertPstToNsf(pFrame->GetSafeHwnd(), &m_folderSink, &m_itemSink, &m_statusSink);
  pFrame->DeletePstSession();
  return nResult;
}

void C3TovinSaveNsfToPst::RunWorker() {
  // Ended once the loops are done, or however the worker leaves.
  CPauseGate::CRun run(std::move(m_run));
  AfxOleInit();
  CMainFrame* pFrame = m_pMainFrame;
  RunOnPage([this] { Invalidate(); });
  if (pFrame != nullptr) {
    pFrame->m_notesStore.m_pItemProgress = &m_itemSink;
    pFrame->m_notesStore.m_pReadProgress = &m_readSink;
  }
  RunOnPage([this] {
    HideNextButton();
    HideBackButton();
    HideExitButton();
    ShowStopButton();
    TakeFocus();
    m_barFolders.SetPos(0);
    m_barItems.SetPos(0);
    ShowStatus(INITIALIZING_TEXT, CString());
    m_barFolders.ShowWindow(SW_HIDE);
    m_barItems.ShowWindow(SW_HIDE);
    m_barRead.ShowWindow(SW_HIDE);
  });

  LNNotesSession session;
  BOOL bThreadAttached = FALSE;
  try {
    bThreadAttached = session.InitThread() == LNNOERROR;
  } catch (LNSTATUS) {
  }
  RunOnPage([this] {
    m_barFolders.ShowWindow(SW_SHOW);
    m_barItems.ShowWindow(SW_SHOW);
    m_listFiles.ShowWindow(SW_HIDE);
  });

  int nResult = RunConversion(pFrame != nullptr ? pFrame->GetSourcePath() : CString());

  // A stop or close question still open is answered before the run ends: its Yes makes this an
  // aborted run, and no final message opens under it.
  run.End();
  // A stop that came when nothing was left to convert cut nothing short: the run is complete.
  const BOOL bAborted =
      m_bAborted != 0 && (nResult != CONVERSION_DONE || pFrame == nullptr || pFrame->WasCutShortByStop());
  // The NSF is closed while the worker is still attached to the Notes runtime: the user may move it
  // now, and learns whether it is whole alone. A new one that a run which did not complete left empty
  // is removed.
  const CString strTarget =
      pFrame != nullptr ? pFrame->CloseTarget(nResult == CONVERSION_DONE && !bAborted) : CString();
  // A file that another program removed or replaced since the last check holds nothing of the run.
  if (pFrame != nullptr && pFrame->m_notesStore.IsTargetLost() && nResult != CONVERSION_NSF_FAILED) {
    nResult = CONVERSION_NSF_FAILED;
    m_statusSink.SetText(pFrame->m_notesStore.GetErrorText());
  }

  if (bThreadAttached) {
    try {
      session.TermThread();
    } catch (LNSTATUS) {
    }
  }

  // The step list keeps the step that did not complete as the current one: only done steps are ticked.
  int nStep = pFrame != nullptr ? pFrame->GetStepsDone() : 0;
  if (bAborted && nStep > 2) nStep = 2;
  const CString strStatus = FinalStatusText(bAborted, nResult, m_statusSink.GetText());
  CString strDetail = DetailLines(nResult);
  if (!strTarget.IsEmpty()) strDetail += (strDetail.IsEmpty() ? L"" : L"\r\n") + strTarget;
  // The page shows the run's end before its final message opens over it.
  RunOnPage([this, strStatus, strDetail, nStep] {
    ShowStatus(strStatus, strDetail);
    SetCurrentStep(nStep);
    m_barFolders.ShowWindow(SW_HIDE);
    m_barItems.ShowWindow(SW_HIDE);
    m_barRead.ShowWindow(SW_HIDE);
    m_listFiles.ShowWindow(SW_HIDE);
    HideStopButton();
    ShowNextButton();
    ShowBackButton();
    ShowExitButton();
    TakeFocus();
    Invalidate();
    UpdateWindow();
  });

  if (!m_bClosing) {
    // What was not converted: how much of each kind, then the first lines, one each.
    CString strList;
    const CString strKinds = pFrame != nullptr ? pFrame->GetNotConvertedCounts().KindLines() : CString();
    if (!strKinds.IsEmpty()) strList += L"\r\n" + strKinds;
    const CStringArray* pLines = pFrame != nullptr ? &pFrame->GetNotConverted() : nullptr;
    const int nLines = pLines != nullptr ? static_cast<int>(pLines->GetSize()) : 0;
    // Folders and items lost whole first, then the parts that converted items lack, each in the order met.
    int nListed = 0;
    for (BOOL bWhole : {TRUE, FALSE}) {
      for (int i = 0; i < nLines && nListed < MAX_LISTED_LINES; ++i) {
        if (pFrame->IsWholeLoss(i) != bWhole) continue;
        CString strLine = ReadableLine((*pLines)[i]);
        if (strLine.GetLength() > MAX_LINE_LENGTH) strLine = strLine.Left(MAX_LINE_LENGTH - 3) + L"...";
        strList += L"\r\n" + strLine;
        ++nListed;
      }
    }
    if (nLines > nListed) strList += L"\r\n... and " + GroupedNumber(nLines - nListed) + L" more";

    // The page waits for these: they stay in front of the frame and modal to it.
    CString strMessage = FinalMessageText(bAborted, nResult, strStatus);
    if (!strMessage.IsEmpty()) {
      if (!strDetail.IsEmpty()) strMessage += L"\r\n\r\n" + strDetail + strList;
      ShowFinalDialog([&strMessage](CWnd* pOwner) { return ShowWorkerMessage(pOwner, strMessage); });
    } else {
      if (!strList.IsEmpty() || !strTarget.IsEmpty()) {
        const CString strLines = strDetail + strList;
        ShowFinalDialog([&strLines](CWnd* pOwner) { return ShowWorkerMessage(pOwner, strLines); });
      }
      ShowFinalDialog([](CWnd* pOwner) {
        CSavingCompleteDlg dlgComplete(pOwner);
        return dlgComplete.DoModal();
      });
    }
  }

  m_bWorkerRunning = false;
  RunOnPage([this] { ReleaseEndedWorker(WORKER_END_WAIT_MS); });
}

void C3TovinSaveNsfToPst::ShowFinalDialog(const CWorkerDialog::ShowFunction& show) {
  CMainFrame* pFrame = m_pMainFrame;
  // A close question answered Yes while the dialog waited for its turn: nobody is to see it.
  CWorkerDialog::Ask(pFrame != nullptr ? pFrame->GetSafeHwnd() : nullptr,
                     pFrame != nullptr ? pFrame->GetPauseGate() : nullptr, show,
                     [this] { return !m_bClosing; });
}

CString C3TovinSaveNsfToPst::DetailLines(int nResult) const {
  CMainFrame* pFrame = m_pMainFrame;
  if (pFrame == nullptr) return CString();
  if (nResult == CONVERSION_PST_FAILED) return pFrame->GetPstOpenError();
  // The status says why the NSF did not open or could not be made; this line says which file.
  const NotConvertedCounts counts = pFrame->GetNotConvertedCounts();
  CString strLines = counts.IsEmpty() ? CString() : counts.Text();
  // The status says why the NSF did not open, could not be made or written, or why the PST could no
  // longer be read; this line says which file.
  CString strFile;
  if (nResult == CONVERSION_NSF_FAILED) strFile = L"NSF file: " + pFrame->m_strTargetNsfPath;
  if (nResult == CONVERSION_PST_UNREADABLE) strFile = L"PST file: " + pFrame->GetSourcePath();
  if (!strFile.IsEmpty()) strLines = strFile + (strLines.IsEmpty() ? L"" : L"\r\n") + strLines;
  return strLines;
}

CString C3TovinSaveNsfToPst::FinalStatusText(BOOL bAborted, int nResult, const CString& strStatus) {
  if (bAborted) return ABORTED_STATUS;
  switch (nResult) {
    case CONVERSION_PST_FAILED:
      return OUTLOOK_MISSING_STATUS;
    case CONVERSION_NSF_FAILED:
    case CONVERSION_PST_UNREADABLE:
      return strStatus;
    case CONVERSION_DONE:
      return COMPLETE_STATUS;
    default:
      return CANCELLED_STATUS;
  }
}

CString C3TovinSaveNsfToPst::FinalMessageText(BOOL bAborted, int nResult, const CString& strStatus) {
  const CString strTail = CString(L"\r\n") + NEXT_OR_EXIT_TAIL;
  if (bAborted) return CString(L"Process aborted by user , ") + strTail;
  switch (nResult) {
    case CONVERSION_PST_FAILED:
      return CString(L"Outlook is not installed or no profile exist , ") + strTail;
    case CONVERSION_NSF_FAILED:
    case CONVERSION_PST_UNREADABLE:
      if (!strStatus.IsEmpty()) return strStatus + strTail;
      return CString(CANCELLED_MESSAGE_HEAD) + strTail;
    case CONVERSION_DONE:
      return CString();
    default:
      return CString(CANCELLED_MESSAGE_HEAD) + strTail;
  }
}
