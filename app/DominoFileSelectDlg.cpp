// The Domino file selection dialog: adding a server by name, the server and database searches on
// their workers, Stop, and the files it adds to page one's list.
#include "DominoFileSelectDlg.h"

#include "1TovinWelcomeView.h"
#include "MainFrame.h"
#include "TovinCommonBaseView.h"
#include "UiHandoff.h"
#include "WizardMessages.h"
#include "lnnotes.h"

namespace {

// The frame whose Notes store the searches use, and the server whose databases are listed.
CMainFrame* g_pDominoFrame = nullptr;
CString g_strDominoServer;

const wchar_t SERVER_COLUMN[] = L"Domino Server Name(s)";
const wchar_t DATABASE_COLUMN[] = L"Domino Server nsf Files";
const int COLUMN_WIDTH = 200;

const wchar_t NO_SERVER_NAME_TEXT[] = L"Please provide domino server name to add";
const wchar_t SERVER_LISTED_TAIL[] = L" Domino Server already exist in the list";
const wchar_t SEARCH_QUESTION_TEXT[] =
    L"The enumeration of server information can take several minutes\r\n\r\nDo you want to enumerate the "
    L"server now?";
const wchar_t ENUMERATING_TEXT[] = L"Please wait enumerating server";
const wchar_t FINDING_FILES_TEXT[] = L"Please wait while finding NSF file in server";
const wchar_t NOTHING_TICKED_TEXT[] = L"Please select file from the list";
const wchar_t FILES_ADDED_TEXT[] =
    L"Selected Files are added, If you want to select files from other Domino Server then click on that "
    L"Domino Server Name in the list or click on Finish button to proceed with the Migration process";
// The dialog's own spelling.
const wchar_t STILL_SEARCHING_TEXT[] = L"Please wait while serching finish";
// The store's text for a server lookup that found nothing.
const wchar_t NO_SERVER_FOUND_TEXT[] = L"Unable to find server, please try after some time";

CString UpperCase(CString text) {
  text.MakeUpper();
  return text;
}

BOOL Contains(const std::vector<CString>& texts, const CString& text) {
  for (const CString& listed : texts) {
    if (listed == text) return TRUE;
  }
  return FALSE;
}

// The worker's attachment to the Notes runtime, for the worker's lifetime.
class CNotesThreadAttachment {
 public:
  CNotesThreadAttachment() {
    try {
      m_bAttached = m_session.InitThread() == LNNOERROR;
    } catch (LNSTATUS) {
    }
  }
  ~CNotesThreadAttachment() {
    if (!m_bAttached) return;
    try {
      m_session.TermThread();
    } catch (LNSTATUS) {
    }
  }
  CNotesThreadAttachment(const CNotesThreadAttachment&) = delete;
  CNotesThreadAttachment& operator=(const CNotesThreadAttachment&) = delete;

 private:
  LNNotesSession m_session;
  BOOL m_bAttached = FALSE;
};

std::vector<CString> ToVector(const CStringArray& texts) {
  std::vector<CString> out;
  for (INT_PTR i = 0; i < texts.GetSize(); ++i) out.push_back(texts[i]);
  return out;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDominoFileSelectDlg, CDialog)
ON_BN_CLICKED(IDC_ADD_SERVER, OnAddServer)
ON_BN_CLICKED(IDC_SEARCH_SERVERS, OnSearchServers)
ON_BN_CLICKED(IDC_FINISH, OnOK)
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_NCDESTROY()
ON_BN_CLICKED(IDC_STOP_SEARCH, OnStop)
ON_NOTIFY(NM_CLICK, IDC_DOMINO_SERVERS, OnServerClick)
ON_BN_CLICKED(IDC_ADD_DATABASES, OnAdd)
ON_BN_CLICKED(IDC_SELECT_ALL, OnSelectAll)
ON_BN_CLICKED(IDC_UNSELECT_ALL, OnUnselectAll)
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
END_MESSAGE_MAP()

CDominoFileSelectDlg::CDominoFileSelectDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_bSearching(0),
      m_hSearchThread(nullptr),
      m_pSourcePage(nullptr),
      m_pSearchThread(nullptr),
      m_bStopRequested(FALSE),
      m_bDestroying(FALSE) {}

CDominoFileSelectDlg::~CDominoFileSelectDlg() {
  // A dialog whose window never went through OnDestroy still owns its worker.
  JoinSearch();
}

void CDominoFileSelectDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_STOP_SEARCH, m_btnStop);
  DDX_Control(pDX, IDC_SEARCH_STATUS, m_staticStatus);
  DDX_Control(pDX, IDC_DOMINO_SERVER_NAME, m_editServer);
  DDX_Control(pDX, IDC_FINISH, m_btnFinish);
  DDX_Control(pDX, IDC_ADD_DATABASES, m_btnAdd);
  DDX_Control(pDX, IDC_ADD_SERVER, m_btnAddServer);
  DDX_Control(pDX, IDC_SEARCH_SERVERS, m_btnSearch);
  DDX_Control(pDX, IDC_SEARCH_ANIMATION, m_animation);
  DDX_Control(pDX, IDC_DOMINO_DATABASES, m_listDatabases);
  DDX_Control(pDX, IDC_DOMINO_SERVERS, m_listServers);
  DDX_Text(pDX, IDC_SEARCH_STATUS, m_strStatus);
}

BOOL CDominoFileSelectDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  g_pDominoFrame = GetMainFrame();
  m_listServers.InsertColumn(0, SERVER_COLUMN, LVCFMT_LEFT, COLUMN_WIDTH);
  m_listDatabases.InsertColumn(0, DATABASE_COLUMN, LVCFMT_LEFT, COLUMN_WIDTH);
  m_listDatabases.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES);
  m_animation.Open(IDR_SERVER_SEARCH_AVI);
  return TRUE;
}

// Enter and Escape skip the dialog's own key handling: neither presses Finish nor closes the dialog.
BOOL CDominoFileSelectDlg::PreTranslateMessage(MSG* pMsg) {
  const bool bKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
  if (bKey && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) return FALSE;
  return CDialog::PreTranslateMessage(pMsg);
}

// ---- Idle and searching ----------------------------------------------------------------------------
void CDominoFileSelectDlg::LockForSearch(BOOL bSearching) {
  CWnd* locked[] = {&m_editServer, &m_btnFinish, &m_btnAdd,        &m_btnAddServer,
                    &m_btnSearch,  &m_animation, &m_listDatabases, &m_listServers};
  for (CWnd* pWnd : locked) pWnd->EnableWindow(!bSearching);
  SetStatus(L"");
  m_btnStop.ShowWindow(bSearching ? SW_SHOW : SW_HIDE);
  m_btnSearch.ShowWindow(bSearching ? SW_HIDE : SW_SHOW);
}

void CDominoFileSelectDlg::SetStatus(LPCTSTR lpszText) {
  m_strStatus = lpszText;
  m_staticStatus.SetWindowText(m_strStatus);
}

void CDominoFileSelectDlg::PlayAnimation() {
  m_animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
}

BOOL CDominoFileSelectDlg::StartSearch(AFX_THREADPROC pfnThreadProc, LPCTSTR lpszStatus) {
  m_bStopRequested = FALSE;
  m_bSearching = 1;
  SetStatus(lpszStatus);
  PlayAnimation();
  // The search counts from here, so that a Stop pressed at once finds it.
  if (g_pDominoFrame != nullptr) m_searchRun = g_pDominoFrame->BeginWorkerRun();
  m_pSearchThread = AfxBeginThread(pfnThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (m_pSearchThread == nullptr) {
    m_searchRun.End();
    EndSearch();
    return FALSE;
  }
  // The handle must stay valid until the dialog has joined the worker.
  m_pSearchThread->m_bAutoDelete = FALSE;
  m_hSearchThread = m_pSearchThread->m_hThread;
  m_pSearchThread->ResumeThread();
  return TRUE;
}

void CDominoFileSelectDlg::JoinSearch() {
  // However long its Notes call takes: a worker ended from outside can leave the Notes library's locks
  // taken for the program's exit.
  JoinWorkerThread(g_pDominoFrame, m_pSearchThread, m_hSearchThread, SERVER_SEARCH_WAIT_TEXT);
}

void CDominoFileSelectDlg::EndSearch() {
  m_bSearching = 0;
  m_animation.Stop();
  LockForSearch(FALSE);
}

CString CDominoFileSelectDlg::NotesErrorText() const {
  return g_pDominoFrame != nullptr ? g_pDominoFrame->GetNotesErrorText() : CString();
}

std::vector<CString> CDominoFileSelectDlg::ItemTexts(const CListCtrl& list) {
  std::vector<CString> texts;
  for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, 0));
  return texts;
}

// ---- Servers -----------------------------------------------------------------------------------------
void CDominoFileSelectDlg::OnAddServer() {
  CString strName;
  m_editServer.GetWindowText(strName);
  if (strName.IsEmpty()) {
    AfxMessageBox(NO_SERVER_NAME_TEXT, MB_OK);
    return;
  }
  std::vector<CString> listed = ItemTexts(m_listServers);
  for (CString& text : listed) text.MakeUpper();
  strName.MakeUpper();
  if (Contains(listed, strName)) {
    AfxMessageBox(strName + SERVER_LISTED_TAIL, MB_OK);
    return;
  }
  m_listServers.InsertItem(0, strName);
}

void CDominoFileSelectDlg::OnSearchServers() {
  LockForSearch(TRUE);
  if (AfxMessageBox(SEARCH_QUESTION_TEXT, MB_YESNO) == IDYES) {
    StartSearch(ServerSearchThread, ENUMERATING_TEXT);
  } else {
    LockForSearch(FALSE);
    m_bSearching = 0;
  }
}

UINT CDominoFileSelectDlg::RunLookup(CDominoFileSelectDlg* pDlg, const Lookup& lookup,
                                     FoundHandler pfnFound) {
  // Ended before the dialog hears of the end (a stop question still open is answered first), or
  // however the worker leaves.
  CPauseGate::CRun run(std::move(pDlg->m_searchRun));
  // The dialog's window outlives the worker: the dialog joins it before the window goes.
  const HWND hDlg = pDlg->m_hWnd;
  CMainFrame* pFrame = g_pDominoFrame;
  int nResult = 0;
  CStringArray texts;
  {
    CNotesThreadAttachment attachment;
    if (pFrame != nullptr) nResult = lookup(pFrame, &texts);
  }
  run.End();
  const std::vector<CString> found = ToVector(texts);
  CUiHandoff::Run(hDlg, [pDlg, pfnFound, nResult, found] { (pDlg->*pfnFound)(nResult, found); });
  return 1;
}

UINT CDominoFileSelectDlg::ServerSearchThread(LPVOID pParam) {
  return RunLookup(
      static_cast<CDominoFileSelectDlg*>(pParam),
      [](CMainFrame* pFrame, CStringArray* pNames) { return pFrame->GetServerNames(pNames); },
      &CDominoFileSelectDlg::OnServersFound);
}

void CDominoFileSelectDlg::OnServersFound(int nResult, const std::vector<CString>& names) {
  if (m_bDestroying) return;
  m_animation.Stop();
  JoinSearch();
  if (names.empty()) {
    // A lookup that failed has its fresh text; one that found nothing has the store's text for it. A
    // stop says nothing more.
    if (nResult == 0) {
      AfxMessageBox(NotesErrorText(), MB_OK);
    } else if (!m_bStopRequested) {
      AfxMessageBox(NO_SERVER_FOUND_TEXT, MB_OK);
    }
  } else {
    std::vector<CString> listed = ItemTexts(m_listServers);
    for (CString& text : listed) text.MakeUpper();
    for (const CString& name : names) {
      const CString strUpper = UpperCase(name);
      if (Contains(listed, strUpper)) continue;
      m_listServers.InsertItem(0, strUpper);
      listed.push_back(strUpper);
    }
  }
  EndSearch();
}

// ---- Databases -------------------------------------------------------------------------------------
void CDominoFileSelectDlg::OnServerClick(NMHDR* pNMHDR, LRESULT* pResult) {
  // The row that was clicked, not the selection mark, which a click beside the rows leaves as it was.
  const int nItem = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
  *pResult = 0;
  if (m_bSearching) return;
  m_listDatabases.DeleteAllItems();
  if (nItem < 0) return;
  const CString strServer = m_listServers.GetItemText(nItem, 0);
  if (strServer.IsEmpty()) return;
  LockForSearch(TRUE);
  g_strDominoServer = strServer;
  StartSearch(DatabaseSearchThread, FINDING_FILES_TEXT);
}

UINT CDominoFileSelectDlg::DatabaseSearchThread(LPVOID pParam) {
  // Written before the worker started.
  const CString strServer = g_strDominoServer;
  return RunLookup(
      static_cast<CDominoFileSelectDlg*>(pParam),
      [strServer](CMainFrame* pFrame, CStringArray* pPaths) {
        CStringArray fileNames;
        return pFrame->GetServerDatabases(strServer, pPaths, &fileNames);
      },
      &CDominoFileSelectDlg::OnDatabasesFound);
}

void CDominoFileSelectDlg::OnDatabasesFound(int nResult, const std::vector<CString>& paths) {
  if (m_bDestroying) return;
  m_animation.Stop();
  JoinSearch();
  if (paths.empty()) {
    // An empty list after a stop is no failure: its text would be an earlier one.
    if (nResult == 0) AfxMessageBox(NotesErrorText(), MB_OK);
  } else {
    // Each at the top, ticked: the list shows the databases last-first.
    for (const CString& path : paths) {
      const int nItem = m_listDatabases.InsertItem(0, path);
      if (nItem >= 0) m_listDatabases.SetCheck(nItem, TRUE);
    }
  }
  EndSearch();
}

void CDominoFileSelectDlg::OnAdd() {
  CStringArray ticked;
  for (int i = 0; i < m_listDatabases.GetItemCount(); ++i) {
    if (m_listDatabases.GetCheck(i)) ticked.Add(m_listDatabases.GetItemText(i, 0));
  }
  if (ticked.GetSize() == 0) {
    AfxMessageBox(NOTHING_TICKED_TEXT, MB_OK);
    return;
  }
  // The listed databases are those of the server last clicked, whichever row is selected now.
  if (m_pSourcePage != nullptr) m_pSourcePage->AddDominoFiles(g_strDominoServer, ticked);
  AfxMessageBox(FILES_ADDED_TEXT, MB_OK);
}

void CDominoFileSelectDlg::OnSelectAll() {
  for (int i = 0; i < m_listDatabases.GetItemCount(); ++i) m_listDatabases.SetCheck(i, TRUE);
}

void CDominoFileSelectDlg::OnUnselectAll() {
  for (int i = 0; i < m_listDatabases.GetItemCount(); ++i) m_listDatabases.SetCheck(i, FALSE);
}

// ---- Stop, close and destruction ---------------------------------------------------------------------
void CDominoFileSelectDlg::OnStop() {
  // The worker waits at its next database while the user decides; a search that has already found
  // all it will find is over and is not asked about.
  if (!m_bSearching || g_pDominoFrame == nullptr || !g_pDominoFrame->HoldWorkers()) return;
  if (AfxMessageBox(STOP_CURRENT_PROCESS_QUESTION, MB_YESNO) == IDYES) {
    m_bStopRequested = TRUE;
    g_pDominoFrame->SetStopFlags(1);
  }
  g_pDominoFrame->ReleaseWorkers();
}

void CDominoFileSelectDlg::OnClose() {
  if (m_bSearching) {
    AfxMessageBox(STILL_SEARCHING_TEXT, MB_OK);
    return;
  }
  CDialog::OnClose();
}

void CDominoFileSelectDlg::OnDestroy() {
  CDialog::OnDestroy();
  m_bDestroying = TRUE;
  if (m_pSearchThread != nullptr) {
    // The database walk ends at its next database.
    if (g_pDominoFrame != nullptr) g_pDominoFrame->m_notesStore.m_bStop = 1;
    JoinSearch();
    m_bSearching = 0;
  }
}

void CDominoFileSelectDlg::OnNcDestroy() {
  CUiHandoff::DiscardPending(m_hWnd);
  CDialog::OnNcDestroy();
}

LRESULT CDominoFileSelectDlg::OnHandoff(WPARAM wParam, LPARAM lParam) {
  return CUiHandoff::Receive(wParam, lParam);
}
