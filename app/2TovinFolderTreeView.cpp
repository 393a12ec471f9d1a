// The browser page: its panes inside the two splitter panels, the folder enumeration and folder
// listing workers, the preview of a clicked document, Stop, and the Export sequence.
#include "2TovinFolderTreeView.h"

#include "MainFrame.h"
#include "NsfSaveOptionsDlg.h"
#include "SaveOptionsDlg.h"
#include "SystemResources.h"
#include "WizardMessages.h"
#include "lnnotes.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(C2TovinFolderTreeView, CTovinCommonBaseView)

namespace {

const wchar_t HEADING_TEXT[] = L"  Click any folder to view converted emails";
const wchar_t ENUMERATING_TEXT[] = L"Please wait while enumerating folders";
const wchar_t SELECT_FOLDER_TEXT[] = L"Please select folder";
// Nothing in the system exports NSF folders: the saving page converts a PST, and the browsed file is an
// NSF. The user's choices are kept, and the user is told rather than handed a conversion that must fail.
const wchar_t EXPORT_UNAVAILABLE_TEXT[] =
    L"The selected folders of an NSF file cannot be exported.\r\nTo convert a PST file, go Back to the "
    L"first page.";
// What the wait dialog says while the user-interface thread waits for a worker to end.
const wchar_t WORKER_WAIT_TEXT[] = L"Waiting for the reading of the NSF file to stop...";
const COLORREF PANEL_FRAME = 0xCDC0AC;
const int SAVE_IN_PST = 1;

// One browser page exists; its workers and handlers reach the main frame and the folder to list here.
CMainFrame* g_pBrowseFrame = nullptr;
CString g_strBrowseFolder;

}  // namespace

BEGIN_MESSAGE_MAP(C2TovinFolderTreeView, CTovinCommonBaseView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_MESSAGE(WM_NSF_FOLDER_SELECTED, OnFolderSelected)
ON_MESSAGE(WM_NSF_ITEM_SELECTED, OnItemSelected)
ON_MESSAGE(WM_STOP_PROCESS, OnStopProcess)
ON_MESSAGE(WM_EXPORT, OnExport)
END_MESSAGE_MAP()

C2TovinFolderTreeView::C2TovinFolderTreeView()
    : m_hEnumThread(nullptr),
      m_hItemsThread(nullptr),
      m_pEnumThread(nullptr),
      m_pItemsThread(nullptr),
      m_nGeneration(0) {}

C2TovinFolderTreeView::~C2TovinFolderTreeView() {
  // Normally joined at destruction of the window; a worker must never outlive the page it uses.
  StopWorkers();
}

int C2TovinFolderTreeView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CTovinCommonBaseView::OnCreate(lpCreateStruct) == -1) return -1;
  m_folderTree.Create(0x50010137, CRect(10, 10, 300, 100), this, FOLDER_TREE_ID);
  m_folderTree.SetNotifyWindow(m_hWnd);
  m_mailList.Create(L"", 0x50000001, CRect(10, 10, 150, 50), this, 0xFFFF);
  m_iconStatic.Create(L"", 0x50000003, CRect(0, 0, 0, 0), this, 0xFFFF);
  m_iconStatic.SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(AfxGetApp()->LoadIcon(IDI_BROWSER_PAGE)), 0);
  m_preview.Create(0x50010800, CRect(10, 10, 100, 100), this, 1);
  m_preview.SetFont(&GetSystemResources()->m_fontRegular, TRUE);
  const CRect rcPanel(0, 0, 2000, 2000);
  m_splitItems.Attach(0x52000002, this, &m_mailList, &m_preview, INNER_PANEL_ID, rcPanel, 10, 10);
  m_splitMain.Attach(0x52000001, this, &m_folderTree, &m_splitItems, OUTER_PANEL_ID, rcPanel, 10, 10);
  m_mailList.m_pPreview = &m_preview;
  return 0;
}

void C2TovinFolderTreeView::OnInitialUpdate() {
  CTovinCommonBaseView::OnInitialUpdate();
  SetCurrentStep(1);
  HideExitButton();
  m_btnNext.SetWindowText(L"Export");
}

void C2TovinFolderTreeView::OnSize(UINT nType, int cx, int cy) {
  CTovinCommonBaseView::OnSize(nType, cx, cy);
  if (m_splitMain.GetSafeHwnd() != nullptr) m_splitMain.MoveWindow(203, 53, cx - 206, cy - 116);
  if (m_iconStatic.GetSafeHwnd() != nullptr) m_iconStatic.MoveWindow(250, 5, 32, 32);
}

void C2TovinFolderTreeView::OnDraw(CDC* pDC) {
  CTovinCommonBaseView::OnDraw(pDC);
  CRect rcClient;
  GetClientRect(&rcClient);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  CFont* pOldFont = pDC->SelectObject(&GetSystemResources()->m_fontBold);
  pDC->SetTextColor(RGB(0, 0, 0));
  pDC->TextOut(286, 20, HEADING_TEXT);
  pDC->SelectObject(pOldFont);
  pDC->SetBkMode(nOldMode);
  pDC->FillSolidRect(CRect(200, 50, rcClient.right, rcClient.bottom - 60), PANEL_FRAME);
}

BOOL C2TovinFolderTreeView::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void C2TovinFolderTreeView::OnDestroy() {
  StopWorkers();
  // The engine must not keep pointers to panes that go now.
  if (g_pBrowseFrame != nullptr) {
    if (g_pBrowseFrame->m_notesStore.m_pFolderTree == &m_folderTree)
      g_pBrowseFrame->m_notesStore.m_pFolderTree = nullptr;
    g_pBrowseFrame->m_notesStore.SetLargeItemPrompt(nullptr);
  }
  m_preview.DestroyWindow();
  m_folderTree.DestroyWindow();
  m_iconStatic.DestroyWindow();
  m_mailList.DestroyWindow();
  m_splitItems.DestroyWindow();
  m_splitMain.DestroyWindow();
  CTovinCommonBaseView::OnDestroy();
}

void C2TovinFolderTreeView::SetStopFlags(int nValue) {
  if (g_pBrowseFrame != nullptr) g_pBrowseFrame->SetStopFlags(nValue);
}

BOOL C2TovinFolderTreeView::IsWorkerRunning() const {
  for (HANDLE hThread : {m_hEnumThread, m_hItemsThread}) {
    if (hThread != nullptr && ::WaitForSingleObject(hThread, 0) == WAIT_TIMEOUT) return TRUE;
  }
  return FALSE;
}

// ---- Workers -------------------------------------------------------------------------------------------
CWinThread* C2TovinFolderTreeView::StartWorker(AFX_THREADPROC pfn, CPauseGate::CRun& run) {
  ++m_nGeneration;
  // The run counts from here, so that a Stop pressed at once finds it.
  if (g_pBrowseFrame != nullptr) run = g_pBrowseFrame->BeginWorkerRun();
  CWinThread* pThread = AfxBeginThread(pfn, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (pThread == nullptr) {
    run.End();
    return nullptr;
  }
  // The handle must stay valid until the page has joined the worker, after its end.
  pThread->m_bAutoDelete = FALSE;
  pThread->ResumeThread();
  return pThread;
}

void C2TovinFolderTreeView::StopWorkers() {
  if (m_pEnumThread == nullptr && m_pItemsThread == nullptr) return;
  SetStopFlags(1);
  // However long their Notes calls take: a worker ended from outside can leave the Notes library's locks
  // taken and the database half read.
  JoinWorkerThread(g_pBrowseFrame, m_pEnumThread, m_hEnumThread, WORKER_WAIT_TEXT);
  JoinWorkerThread(g_pBrowseFrame, m_pItemsThread, m_hItemsThread, WORKER_WAIT_TEXT);
  SetStopFlags(0);
}

void C2TovinFolderTreeView::ClearPreview(int nMessage) {
  m_preview.SetSender(L"");
  m_preview.SetSubject(L"");
  m_preview.SetDate(L"");
  m_preview.SetPreviewText(L"");
  if (nMessage >= 0) m_preview.ShowMessage(nMessage);
  m_preview.Invalidate();
}

LRESULT C2TovinFolderTreeView::OnPageActivated(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  g_pBrowseFrame = GetMainFrame();
  // A worker of an earlier activation ends before this one starts: two would share the Notes store.
  StopWorkers();
  if (g_pBrowseFrame != nullptr) {
    m_folderTree.SetImageList(&g_pBrowseFrame->m_imlSmall, TVSIL_NORMAL);
    m_mailList.SetImageList(&g_pBrowseFrame->m_imlSmall);
    g_pBrowseFrame->m_notesStore.SetLargeItemPrompt(&m_largeItemPrompt);
  }
  m_folderTree.DeleteAllItems();
  m_mailList.Clear();
  ClearPreview(CItemPreviewPane::MESSAGE_ENUMERATING);
  SetStopFlags(1);
  SetStopFlags(0);

  // Shown disabled from the start: no click may reach the store while the worker uses it.
  m_mailList.EnableWindow(FALSE);
  m_folderTree.EnableWindow(FALSE);
  HideBackButton();
  HideNextButton();
  HideStopButton();
  m_pEnumThread = StartWorker(FolderEnumThread, m_enumRun);
  m_hEnumThread = m_pEnumThread != nullptr ? m_pEnumThread->m_hThread : nullptr;
  if (m_pEnumThread == nullptr) {
    m_mailList.EnableWindow(TRUE);
    m_folderTree.EnableWindow(TRUE);
    ShowBackButton();
    ShowNextButton();
  }
  return 1;
}

UINT C2TovinFolderTreeView::FolderEnumThread(LPVOID pParam) {
  static_cast<C2TovinFolderTreeView*>(pParam)->EnumerateFolders();
  return 1;
}

void C2TovinFolderTreeView::EnumerateFolders() {
  // Ended once the listing is done (a stop question still open is answered first), or however the
  // worker leaves.
  CPauseGate::CRun run(std::move(m_enumRun));
  CMainFrame* pFrame = g_pBrowseFrame;
  const int nGeneration = m_nGeneration;
  LNNotesSession session;
  BOOL bAttached = FALSE;
  try {
    bAttached = session.InitThread() == LNNOERROR;
  } catch (LNSTATUS) {
  }
  RunOnPage([this] {
    HideBackButton();
    HideNextButton();
    HideStopButton();
  });
  if (pFrame != nullptr) {
    pFrame->ShowProgressDialog(ENUMERATING_TEXT);
    pFrame->m_notesStore.m_pFolderTree = &m_folderTree;
    CStringArray folders;
    const int nResult = pFrame->ListNsfFolders(&folders, 0);
    const CString strError = nResult == 0 ? pFrame->GetNotesErrorText() : CString();
    run.End();
    RunOnPage([this, nResult, strError] {
      // A stop before the walk leaves no text: nothing went wrong that the user should read.
      if (nResult == 0 && !strError.IsEmpty()) AfxMessageBox(strError, MB_OK);
      m_folderTree.Expand(m_folderTree.GetRootItem(), TVE_EXPAND);
    });
  }
  if (bAttached) {
    try {
      session.TermThread();
    } catch (LNSTATUS) {
    }
  }
  if (pFrame != nullptr) pFrame->HideProgressDialog();
  RunOnPage([this, nGeneration] {
    if (nGeneration != m_nGeneration) return;
    ShowNextButton();
    ShowBackButton();
    HideStopButton();
    m_folderTree.EnableWindow(TRUE);
    m_mailList.EnableWindow(TRUE);
    m_preview.ShowMessage(CItemPreviewPane::MESSAGE_SELECT_ITEM);
    SetStopFlags(0);
    Invalidate();
    m_preview.Invalidate();
    m_mailList.Invalidate();
    m_splitItems.Invalidate();
    m_splitMain.Invalidate();
  });
}

LRESULT C2TovinFolderTreeView::OnFolderSelected(WPARAM wParam, LPARAM /*lParam*/) {
  if (wParam == 0) return 0;
  // The tree is disabled while a worker runs; a click that came through anyway waits its turn.
  StopWorkers();
  SetStopFlags(0);
  g_strBrowseFolder = reinterpret_cast<LPCTSTR>(wParam);
  HideBackButton();
  HideNextButton();
  HideStopButton();
  m_folderTree.EnableWindow(FALSE);
  m_mailList.EnableWindow(FALSE);
  ClearPreview(CItemPreviewPane::MESSAGE_FILLING);
  m_mailList.Clear();
  m_pItemsThread = StartWorker(FolderItemsThread, m_itemsRun);
  m_hItemsThread = m_pItemsThread != nullptr ? m_pItemsThread->m_hThread : nullptr;
  if (m_pItemsThread == nullptr) {
    m_folderTree.EnableWindow(TRUE);
    m_mailList.EnableWindow(TRUE);
    ShowBackButton();
    ShowNextButton();
  }
  return 1;
}

UINT C2TovinFolderTreeView::FolderItemsThread(LPVOID pParam) {
  static_cast<C2TovinFolderTreeView*>(pParam)->ListFolderItems();
  return 1;
}

void C2TovinFolderTreeView::ListFolderItems() {
  CPauseGate::CRun run(std::move(m_itemsRun));
  CMainFrame* pFrame = g_pBrowseFrame;
  const int nGeneration = m_nGeneration;
  if (pFrame != nullptr) pFrame->ShowProgressDialog(L"");
  LNNotesSession session;
  BOOL bAttached = FALSE;
  try {
    bAttached = session.InitThread() == LNNOERROR;
  } catch (LNSTATUS) {
  }
  // Written by the user-interface thread before this worker started.
  const CString strFolder = g_strBrowseFolder;
  if (pFrame != nullptr) pFrame->OpenNsfFolder(&m_mailList, strFolder);
  run.End();
  if (bAttached) {
    try {
      session.TermThread();
    } catch (LNSTATUS) {
    }
  }
  // Runs after the rows the listing handed over, so the count is the listing's.
  RunOnPage([this, nGeneration] {
    if (nGeneration != m_nGeneration) return;
    ClearPreview(m_mailList.GetDocumentRowCount() > 0 ? CItemPreviewPane::MESSAGE_SELECT_ITEM
                                                      : CItemPreviewPane::MESSAGE_NO_ITEM);
    m_folderTree.EnableWindow(TRUE);
    m_folderTree.Invalidate();
    m_mailList.EnableWindow(TRUE);
    m_mailList.Invalidate();
    m_splitItems.Invalidate();
    m_splitMain.Invalidate();
    ShowBackButton();
    ShowNextButton();
    HideStopButton();
    SetStopFlags(0);
  });
  if (pFrame != nullptr) pFrame->HideProgressDialog();
}

LRESULT C2TovinFolderTreeView::OnItemSelected(WPARAM wParam, LPARAM lParam) {
  // The preview uses the Notes store, which a running worker holds.
  if (IsWorkerRunning() || g_pBrowseFrame == nullptr) return 0;
  ClearPreview(CItemPreviewPane::MESSAGE_GENERATING);
  m_preview.UpdateWindow();
  int nKind = -1;
  CStringArray names, infos;
  const CString strText =
      g_pBrowseFrame->PreviewNsfDocument(static_cast<LNNOTEID>(wParam), &nKind, &names, &infos);
  if (m_preview.GetSafeHwnd() == nullptr) return 1;
  ClearPreview(-1);
  m_preview.SetPreviewKind(nKind);
  const int nRow = static_cast<int>(lParam);
  switch (nKind) {
    case 3:
      m_preview.ShowItem(strText, names, infos);
      break;
    case 0:
    case 1:
    case 2:
    case 4:
      m_preview.SetPreviewText(strText);
      m_preview.SetSender(m_mailList.GetCellText(nRow, MAIL_COLUMN_FROM));
      m_preview.SetSubject(m_mailList.GetCellText(nRow, MAIL_COLUMN_SUBJECT));
      m_preview.SetDate(m_mailList.GetCellText(nRow, MAIL_COLUMN_DATE));
      m_preview.ShowItem(strText, names, infos);
      break;
    default:
      // A document that could not be read, or a stop before the preview.
      m_preview.ShowMessage(CItemPreviewPane::MESSAGE_NO_BODY);
      break;
  }
  m_preview.Invalidate();
  return 1;
}

void C2TovinFolderTreeView::OnStop() {
  // A running worker waits at its next folder or document while the user decides; without one the
  // question is still asked, and Yes only raises the flags.
  const BOOL bHeld = g_pBrowseFrame != nullptr && g_pBrowseFrame->HoldWorkers();
  if (AfxMessageBox(STOP_CURRENT_PROCESS_QUESTION, MB_YESNO) == IDYES && g_pBrowseFrame != nullptr)
    SetStopFlags(1);
  if (bHeld) g_pBrowseFrame->ReleaseWorkers();
}

LRESULT C2TovinFolderTreeView::OnStopProcess(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  OnStop();
  return 0;
}

LRESULT C2TovinFolderTreeView::OnExport(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (m_btnNext.GetSafeHwnd() != nullptr && m_btnNext.IsWindowVisible()) OnNext();
  return 0;
}

void C2TovinFolderTreeView::OnBack() {
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->GoToPreviousPage(1);
}

void C2TovinFolderTreeView::OnNext() {
  CStringArray paths;
  m_folderTree.GetCheckedPaths(paths);
  if (paths.GetSize() == 0) {
    AfxMessageBox(SELECT_FOLDER_TEXT, MB_OK);
    return;
  }
  CSaveOptionsDlg dlgChoice(this);
  if (dlgChoice.DoModal() != IDOK || dlgChoice.m_nChoice != SAVE_IN_PST) return;
  CNsfSaveOptionsDlg dlgTarget(this);
  if (dlgTarget.DoModal() != IDOK) return;
  CMainFrame* pFrame = GetMainFrame();
  if (pFrame == nullptr) return;
  pFrame->SetTargetFolder(dlgTarget.m_strFolder);
  pFrame->SetTargetFileName(dlgTarget.m_strFileName);
  pFrame->m_arrSelectedFolders.RemoveAll();
  pFrame->m_arrSelectedFolders.Append(paths);
  AfxMessageBox(EXPORT_UNAVAILABLE_TEXT, MB_OK);
}
