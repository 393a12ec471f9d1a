// The main frame: creation (bars, Notes runtime, wait dialogs, image lists), closing, commands, page
// switching and the forwarders into the engine. The conversion driver is in ConversionDriver.cpp.
#include "MainFrame.h"

#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "3TovinSaveNsfToPst.h"
#include "BannerDlg.h"
#include "BarTheme.h"
#include "BrindleEmlConverterGuiView.h"
#include "CommandBars.h"
#include "CommandBarsOptions.h"
#include "CustomizeSheet.h"
#include "DockBar.h"
#include "AcceleratorManager.h"
#include "HomePage.h"
#include "ImageManager.h"
#include "ProcessProgressDlg.h"
#include "ServerEnumWaitDlg.h"
#include "ToolBar.h"
#include "TovinCommonBaseView.h"
#include "UiHandoff.h"
#include "WizardMessages.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CXTPFrameWnd)

const wchar_t CMainFrame::COMMAND_BARS_SECTION[] = L"CommandBars";
const wchar_t CMainFrame::FRAME_TITLE[] = L"Brindle for PST to NSF ver 8.07.01";

namespace {

const wchar_t NOTES_MISSING_TEXT[] =
    L"Unable to locate Lotus notes, please install lotusnotes on this computer";
const wchar_t CLOSE_PROMPT_TEXT[] = L"Are you sure , you want to close the application?";
const wchar_t HELP_FILE_NAME[] = L"Brindle for PST to NSF.chm";
const wchar_t HELP_MISSING_TEXT[] = L"Brindle for PST to NSF.chm file not exist, please reinstall software ";

// Overlapped window with caption, system menu, thick frame, minimize and maximize boxes, started
// maximized; the document adds nothing to the title.
const DWORD FRAME_STYLE = 0x01CF0000;
const DWORD STATUS_BAR_STYLE = 0x50008200;

const UINT STATUS_INDICATORS[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// The banner's place at the frame's top right.
const int BANNER_WIDTH = 180;
const int BANNER_HEIGHT = 51;
const int BANNER_TOP = 25;

// The directory current when the frame was made, with a trailing backslash; the help file is there.
CString g_strAppDirectory;

// A worker that is ending is waited for this long before the wait dialog shows.
const DWORD QUIET_WORKER_WAIT_MS = 300;
// A worker that has not ended this long after it was asked to is not expected to: the wait then
// offers to end the program.
const DWORD WORKER_END_OFFER_MS = 10000;
// How often a wait for a worker wakes up to run its own step.
const DWORD WORKER_WAIT_TICK_MS = 100;
// The timer that asks again the questions a worker's dialog turn kept off, and how often it looks
// whether the turn is over (a dialog that is ending leaves it at once).
const UINT_PTR ASK_AGAIN_TIMER = 0x4B45;
const UINT ASK_AGAIN_TICK_MS = 10;

}  // namespace

// The folder listing's scan window: the progress dialog's bar and wait text. The dialog hands calls
// from the workers over to its own thread.
class CMainFrame::CProgressDlgSink : public IProgressSink {
 public:
  explicit CProgressDlgSink(CProcessProgressDlg* pDialog) : m_pDialog(pDialog) {}
  void SetText(const CString& /*text*/) override {}
  void SetPos(int percent) override { m_pDialog->SetProgressPos(percent); }
  void SetScanProgressText(int foldersFound, int entriesFound, const CString& lastFolder) override {
    m_pDialog->SetScanProgressText(foldersFound, entriesFound, lastFolder);
  }

 private:
  CProcessProgressDlg* m_pDialog;
};

BEGIN_MESSAGE_MAP(CMainFrame, CXTPFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SYSCOMMAND()
ON_WM_ACTIVATE()
ON_WM_HELPINFO()
ON_COMMAND(ID_HELP_CONTENTS, OnHelpContents)
ON_COMMAND(ID_HOME_PAGE, OnHomePage)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_CUSTOMIZE, OnCustomize)
ON_COMMAND(ID_SELECT_PST_FILE, OnSelectPstFile)
ON_COMMAND(ID_SELECT_NSF_FILE, OnSelectNsfFile)
ON_COMMAND(ID_EXPORT, OnExport)
ON_UPDATE_COMMAND_UI(ID_SELECT_PST_FILE, OnUpdateFirstPageCommand)
ON_UPDATE_COMMAND_UI(ID_SELECT_NSF_FILE, OnUpdateFirstPageCommand)
ON_UPDATE_COMMAND_UI(ID_EXPORT, OnUpdateFirstPageCommand)
ON_MESSAGE(WM_STOP_PROCESS, OnStopProcess)
ON_MESSAGE(WM_STOP_ENUMERATION, OnStopEnumeration)
ON_WM_TIMER()
ON_MESSAGE(WM_UI_HANDOFF, OnHandoff)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_nEndOfferAfterMs(WORKER_END_OFFER_MS),
      m_pMainView(nullptr),
      m_pPstSession(nullptr),
      m_bSourceChosen(0),
      m_nSaveOption(0),
      m_pProgressDlg(nullptr),
      m_pServerWaitDlg(nullptr),
      m_bStop(0),
      m_pSystemImageList(nullptr),
      m_nSourceType(0),
      m_bOpenEnabled(0),
      m_pBannerDlg(nullptr),
      m_bTextFormat(0),
      m_bFolderLoopStopped(FALSE),
      m_pProgressSink(nullptr),
      m_nWorkerWaits(0),
      m_bWorkerWaitDisabled(FALSE) {
  m_notesStore.SetTemplateChooser(&m_templateChooser);
}

CMainFrame::~CMainFrame() {
  // Owned popups went with the frame's window; what is left is their objects.
  CDialog* dialogs[] = {m_pBannerDlg, m_pProgressDlg, m_pServerWaitDlg};
  for (CDialog* pDialog : dialogs) {
    if (pDialog == nullptr) continue;
    if (pDialog->GetSafeHwnd() != nullptr) pDialog->DestroyWindow();
    delete pDialog;
  }
  m_pBannerDlg = nullptr;
  m_pProgressDlg = nullptr;
  m_pServerWaitDlg = nullptr;
  if (m_notesStore.m_pScanWnd == m_pProgressSink) m_notesStore.m_pScanWnd = nullptr;
  delete m_pProgressSink;
  DeletePstSession();
  m_notesStore.Close();
}

void WaitForWorkerToEnd(CMainFrame* pFrame, HANDLE hThread, const CString& strWaitText,
                        const std::function<void()>& onWaiting) {
  if (hThread == nullptr || ::WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0) return;
  // A worker held by a question still open would never end; any other stays held.
  std::optional<CPauseGate::CLetThrough> letThrough;
  if (pFrame != nullptr) letThrough.emplace(pFrame->m_notesStore.m_pause, ::GetThreadId(hThread));
  // A handle of the wait's own: a hand-off dispatched meanwhile may release the worker and its handle.
  HANDLE hOwn = nullptr;
  if (!::DuplicateHandle(::GetCurrentProcess(), hThread, ::GetCurrentProcess(), &hOwn, SYNCHRONIZE, FALSE, 0))
    hOwn = nullptr;
  HANDLE hWait = hOwn != nullptr ? hOwn : hThread;

  const DWORD dwStart = ::GetTickCount();
  BOOL bEnded = FALSE;
  while (!(bEnded = WaitForWorker(hWait, WORKER_WAIT_TICK_MS))) {
    if (onWaiting) onWaiting();
    if (::GetTickCount() - dwStart >= QUIET_WORKER_WAIT_MS) break;
  }

  if (!bEnded) {
    if (pFrame != nullptr) pFrame->BeginWorkerWait(strWaitText);
    BOOL bQuit = FALSE;
    WPARAM nQuitCode = 0;
    DWORD dwLastStep = ::GetTickCount();
    for (;;) {
      if (bQuit) {
        // The thread's own loop ends after the wait: from now on only sent messages are dispatched.
        if (WaitForWorker(hWait, WORKER_WAIT_TICK_MS)) break;
      } else {
        const DWORD dwResult =
            ::MsgWaitForMultipleObjectsEx(1, &hWait, WORKER_WAIT_TICK_MS, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (dwResult == WAIT_OBJECT_0) break;
        if (dwResult == WAIT_OBJECT_0 + 1) {
          MSG msg;
          while (!bQuit && ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!AfxPumpMessage()) {
              bQuit = TRUE;
              nQuitCode = AfxGetThreadState()->m_msgCur.wParam;
            }
          }
        } else if (dwResult != WAIT_TIMEOUT) {
          // A handle that cannot be waited on: the worker's end is read without waiting.
          if (::WaitForSingleObject(hWait, 0) != WAIT_TIMEOUT) break;
          ::Sleep(WORKER_WAIT_TICK_MS);
        }
      }
      if (::WaitForSingleObject(hWait, 0) == WAIT_OBJECT_0) break;
      if (pFrame != nullptr && ::GetTickCount() - dwStart >= pFrame->m_nEndOfferAfterMs)
        pFrame->OfferToEndProgram();
      if (onWaiting && ::GetTickCount() - dwLastStep >= WORKER_WAIT_TICK_MS) {
        dwLastStep = ::GetTickCount();
        onWaiting();
      }
    }
    if (pFrame != nullptr) pFrame->EndWorkerWait();
    if (bQuit) AfxPostQuitMessage(static_cast<int>(nQuitCode));
  }
  if (hOwn != nullptr) ::CloseHandle(hOwn);
}

void JoinWorkerThread(CMainFrame* pFrame, CWinThread*& pThread, HANDLE& hThread, const CString& strWaitText,
                      const std::function<void()>& onWaiting) {
  if (pThread == nullptr) return;
  WaitForWorkerToEnd(pFrame, hThread, strWaitText, onWaiting);
  if (pThread == nullptr) return;
  delete pThread;
  pThread = nullptr;
  hThread = nullptr;
}

CMainFrame* GetMainFrame() {
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr ? DYNAMIC_DOWNCAST(CMainFrame, pApp->m_pMainWnd) : nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CXTPFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style = FRAME_STYLE;
  cs.lpszName = FRAME_TITLE;
  m_strTitle = FRAME_TITLE;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CXTPFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;

  m_pBannerDlg = new CBannerDlg();
  if (m_pBannerDlg->Create(IDD_BANNER, this)) m_pBannerDlg->ShowWindow(SW_SHOW);

  if (!CreateCommandBars()) return -1;
  KeepBannerPlace();
  m_templateChooser.m_hWndMain = m_hWnd;
  m_templateChooser.m_pGate = GetPauseGate();
  m_templateChooser.m_pStop = &m_notesStore.m_bStop;

  if (!m_notesStore.InitSession()) {
    AfxMessageBox(NOTES_MISSING_TEXT, MB_OK);
    // The creation fails here: the framework destroys the frame and start-up ends, so nothing below
    // runs on a closed frame.
    return -1;
  }

  if (m_pProgressDlg == nullptr) {
    m_pProgressDlg = new CProcessProgressDlg();
    if (m_pProgressDlg->Create(IDD_PROCESS_PROGRESS, this)) {
      m_pProgressDlg->m_pOwner = this;
      m_pProgressSink = new CProgressDlgSink(m_pProgressDlg);
    }
  }
  if (m_pServerWaitDlg == nullptr) {
    m_pServerWaitDlg = new CServerEnumWaitDlg();
    if (m_pServerWaitDlg->Create(IDD_SERVER_ENUM_WAIT, this)) m_pServerWaitDlg->m_pNotifyWnd = this;
  }

  if (!CreateImageLists()) return 0;

  WCHAR szDirectory[MAX_PATH + 1] = {};
  const DWORD nLength = ::GetCurrentDirectoryW(MAX_PATH, szDirectory);
  g_strAppDirectory = nLength > 0 && nLength < MAX_PATH ? szDirectory : L"";
  if (g_strAppDirectory.IsEmpty() || g_strAppDirectory.Right(1) != L"\\") g_strAppDirectory += L"\\";
  return 0;
}

void CMainFrame::KeepBannerPlace() {
  if (m_pBannerDlg == nullptr || m_pBannerDlg->GetSafeHwnd() == nullptr || m_pCommandBars == nullptr) return;
  // The banner sits at the right end of the bars along the top, wherever the bars are: the top dock
  // bar keeps the room down to the banner's bottom even when it holds the menu bar alone, so that
  // neither the page nor a bar docked at a side lies under the banner, and the banner stays above the
  // frame's other windows.
  if (CXTPDockBar* pTop = m_pCommandBars->GetDockBar(xtpBarTop))
    pTop->SetMinimumThickness(BANNER_TOP + BANNER_HEIGHT);
  m_pBannerDlg->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RecalcLayout();
}

BOOL CMainFrame::CreateStatusBar() {
  return m_wndStatusBar.Create(this, STATUS_BAR_STYLE, AFX_IDW_STATUS_BAR) &&
         m_wndStatusBar.SetIndicators(STATUS_INDICATORS, _countof(STATUS_INDICATORS));
}

BOOL CMainFrame::CreateCommandBars() {
  if (!CreateStatusBar()) return FALSE;
  if (!CXTPBarTheme::IsThemeSet()) CXTPBarTheme::SetTheme(0);

  m_pCommandBars = static_cast<CXTPCommandBars*>(RUNTIME_CLASS(CXTPCommandBars)->CreateObject());
  if (m_pCommandBars == nullptr) return FALSE;
  m_pCommandBars->SetSite(this);
  m_pCommandBars->EnableDocking();
  if (m_pCommandBars->SetMenu(L"Menu Bar", IDR_MAINFRAME) == nullptr) return FALSE;
  CXTPBarTheme::SetTheme(3);

  CXTPToolBar* pToolBar = m_pCommandBars->Add(L"Standard", xtpBarTop);
  if (pToolBar == nullptr || !pToolBar->LoadToolBar(IDR_TOOLBAR_STANDARD)) return FALSE;

  struct ToolbarIcon {
    UINT nBitmap;
    UINT nCommand;
  };
  static const ToolbarIcon icons[] = {{IDB_TOOLBAR_SELECT_FILE, ID_SELECT_PST_FILE},
                                      {IDB_TOOLBAR_SELECT_FILE, ID_SELECT_NSF_FILE},
                                      {IDB_TOOLBAR_EXPORT, ID_EXPORT},
                                      {IDB_TOOLBAR_HELP, ID_HELP_CONTENTS},
                                      {IDB_TOOLBAR_HOMEPAGE, ID_HOME_PAGE}};
  CXTPImageManager* pImageManager = m_pCommandBars->GetImageManager();
  for (const ToolbarIcon& icon : icons) {
    if (pImageManager != nullptr) pImageManager->SetIcons(icon.nBitmap, &icon.nCommand, 1, CSize(0, 0));
  }

  pToolBar->SetShowTextBelowIcons(1);
  m_pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;

  m_pCommandBars->LoadOptions(COMMAND_BARS_SECTION);
  m_pCommandBars->LoadCommandBars(COMMAND_BARS_SECTION);
  if (CXTPAcceleratorManager* pShortcuts = m_pCommandBars->GetShortcutManager()) {
    // The frame's own table is the shortcut manager's default: the keyboard page's Reset returns to
    // it, the user's assignments are stored under "Accelerators", and the frame base leaves the
    // translating to the manager. The manager owns its default, so it is given a copy of the resource.
    const HACCEL hFrameTable =
        ::LoadAcceleratorsW(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_ACCELERATOR),
                            MAKEINTRESOURCE(IDR_MAINFRAME));
    const int nEntries = hFrameTable != nullptr ? ::CopyAcceleratorTableW(hFrameTable, nullptr, 0) : 0;
    if (nEntries > 0) {
      std::vector<ACCEL> entries(static_cast<size_t>(nEntries));
      ::CopyAcceleratorTableW(hFrameTable, entries.data(), nEntries);
      pShortcuts->SetDefaultAccelerators(::CreateAcceleratorTableW(entries.data(), nEntries));
    }
    pShortcuts->LoadShortcuts(COMMAND_BARS_SECTION);
  }
  return TRUE;
}

BOOL CMainFrame::CreateImageLists() {
  if (!m_imlSmall.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1)) return FALSE;
  // The folder kinds' images, by index: root, drafts, other, calendar, contacts, tasks, notes, trash,
  // inbox, journal, sent.
  static const UINT folderIcons[] = {IDI_FOLDER_ROOT,     IDI_FOLDER_DRAFTS,   IDI_FOLDER,
                                     IDI_FOLDER_CALENDAR, IDI_FOLDER_CONTACTS, IDI_FOLDER_TASKS,
                                     IDI_FOLDER_NOTES,    IDI_FOLDER_TRASH,    IDI_FOLDER_INBOX,
                                     IDI_FOLDER_JOURNAL,  IDI_FOLDER_SENT};
  for (UINT nIcon : folderIcons) {
    HICON hIcon =
        static_cast<HICON>(::LoadImageW(AfxFindResourceHandle(MAKEINTRESOURCE(nIcon), RT_GROUP_ICON),
                                        MAKEINTRESOURCE(nIcon), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    m_imlSmall.Add(hIcon);
    if (hIcon != nullptr) ::DestroyIcon(hIcon);
  }
  if (m_bmpListImages.LoadBitmap(IDB_LIST_IMAGES)) m_imlSmall.Add(&m_bmpListImages, RGB(255, 0, 255));

  if (m_imlLarge.Create(32, 27, ILC_COLOR32 | ILC_MASK, 0, 21)) {
    static const UINT largeBitmaps[] = {IDB_LARGE_MAIL, IDB_LARGE_CONTACT, IDB_LARGE_CALENDAR,
                                        IDB_LARGE_TASK, IDB_LARGE_JOURNAL, IDB_LARGE_NOTE};
    for (int i = 0; i < 6; ++i) {
      if (m_bmpLarge[i].LoadBitmap(largeBitmaps[i])) m_imlLarge.Add(&m_bmpLarge[i], RGB(255, 0, 255));
    }
  }
  return TRUE;
}

BOOL CMainFrame::IsProgressDialogShown() const {
  return m_pProgressDlg != nullptr && m_pProgressDlg->GetSafeHwnd() != nullptr &&
         m_pProgressDlg->IsWindowVisible();
}

void CMainFrame::BeginWorkerWait(const CString& strText) {
  if (GetSafeHwnd() == nullptr) return;
  if (m_nWorkerWaits++ == 0) {
    // Nothing on the frame is to be started while a worker is being waited for.
    m_bWorkerWaitDisabled = IsWindowEnabled();
    if (m_bWorkerWaitDisabled) EnableWindow(FALSE);
  }
  if (m_pProgressDlg != nullptr) m_pProgressDlg->BeginWorkerWait(strText);
}

void CMainFrame::EndWorkerWait() {
  if (GetSafeHwnd() == nullptr || m_nWorkerWaits == 0) return;
  if (m_pProgressDlg != nullptr) m_pProgressDlg->EndWorkerWait();
  if (--m_nWorkerWaits == 0 && m_bWorkerWaitDisabled) EnableWindow(TRUE);
}

void CMainFrame::OfferToEndProgram() {
  if (GetSafeHwnd() != nullptr && m_nWorkerWaits > 0 && m_pProgressDlg != nullptr)
    m_pProgressDlg->OfferToEndProgram(m_nEndOfferAfterMs);
}

void CMainFrame::OnClose() {
  if (IsProgressDialogShown()) return;
  // The workers wait at their next boundary while the user decides, as under the stop question:
  // nothing is saved under the question, and no worker's dialog opens over it, even one that comes
  // after its run. A worker's dialog that has its turn already is answered first: it is modal to the
  // frame, which takes no close until it has ended, and a close that comes as it ends is asked once
  // its worker has left the turn.
  if (!HoldAllWorkers(WM_CLOSE)) return;
  if (AfxMessageBox(CLOSE_PROMPT_TEXT, MB_YESNO) != IDYES) {
    ReleaseWorkers();
    return;
  }
  // A conversion or listing still running is stopped and waited for first, however long its Notes
  // call takes: its worker uses the Notes store and the PST session that the frame's destruction ends.
  // Each wait lets its own worker through the gate, with the stop flags up.
  if (m_pMainView != nullptr) m_pMainView->StopPageWorkers();
  ReleaseWorkers();
  OnHomePage();
  if (m_pCommandBars != nullptr) {
    m_pCommandBars->SaveOptions(COMMAND_BARS_SECTION);
    m_pCommandBars->SaveCommandBars(COMMAND_BARS_SECTION, TRUE);
    if (CXTPAcceleratorManager* pShortcuts = m_pCommandBars->GetShortcutManager())
      pShortcuts->SaveShortcuts(COMMAND_BARS_SECTION);
  }
  CXTPFrameWnd::OnClose();
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  CXTPFrameWnd::OnSize(nType, cx, cy);
  if (m_pBannerDlg != nullptr && m_pBannerDlg->GetSafeHwnd() != nullptr) {
    CRect rcClient;
    GetClientRect(&rcClient);
    m_pBannerDlg->MoveWindow(rcClient.Width() - BANNER_WIDTH, BANNER_TOP, BANNER_WIDTH, BANNER_HEIGHT);
  }
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam) {
  const UINT nCommand = nID & 0xFFF0;
  // A window manager maximises or restores the frame on the display even while a modal dialog keeps it
  // disabled, and the system then asks the frame to follow with this command; its own handling refuses
  // commands to a disabled window, which would leave the frame at its old size in the resized window.
  if (!IsWindowEnabled() && (nCommand == SC_MAXIMIZE || nCommand == SC_RESTORE)) {
    const HWND hDialog = ::GetLastActivePopup(m_hWnd);
    ShowWindow(nCommand == SC_MAXIMIZE ? SW_MAXIMIZE : SW_RESTORE);
    // Showing the frame activates it: the dialog that keeps it disabled gets the keyboard back.
    if (hDialog != m_hWnd && ::IsWindowEnabled(hDialog)) ::SetActiveWindow(hDialog);
    return;
  }
  CXTPFrameWnd::OnSysCommand(nID, lParam);
}

void CMainFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  // The page keeps where its keyboard was, to give it back when the frame is active again (after a
  // dialog).
  if (nState == WA_INACTIVE && m_pMainView != nullptr && m_pMainView->m_pActivePage != nullptr)
    m_pMainView->m_pActivePage->RememberFocus(::GetFocus());
  CXTPFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

BOOL CMainFrame::OnHelpInfo(HELPINFO* /*pHelpInfo*/) {
  OnHelpContents();
  return FALSE;
}

CString CMainFrame::GetHelpFilePath() { return g_strAppDirectory + HELP_FILE_NAME; }

void CMainFrame::OpenHelpFile() {
  const CString strPath = GetHelpFilePath();
  if (_waccess(strPath, 0) != 0) {
    AfxMessageBox(HELP_MISSING_TEXT, MB_OK);
    return;
  }
  ::ShellExecuteW(nullptr, L"open", strPath, nullptr, nullptr, SW_SHOWNORMAL);
}

void CMainFrame::OnHelpContents() { OpenHelpFile(); }

void CMainFrame::OnHomePage() { OpenMakerHomePage(); }

void CMainFrame::OnFileOpen() { SendToView(WM_LOCATE_NSF); }

void CMainFrame::OnUpdateFileOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bOpenEnabled != 0); }

void CMainFrame::OnAppAbout() {
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr) pApp->OnCmdMsg(ID_APP_ABOUT, CN_COMMAND, nullptr, nullptr);
}

void CMainFrame::OnCustomize() {
  // The toolkit's customize sheet runs on the command bars; without them there is nothing to set.
  if (m_pCommandBars == nullptr) return;
  CXTPCustomizeSheet::RunCustomizeSheet(m_pCommandBars, IDR_MAINFRAME);
}

void CMainFrame::OnSelectPstFile() { SendToView(WM_SELECT_PST_FILE); }

void CMainFrame::OnSelectNsfFile() { SendToView(WM_SELECT_NSF_FILE); }

void CMainFrame::OnExport() { SendToView(WM_EXPORT); }

// The pages that act on these commands are not shown while a conversion runs.
void CMainFrame::OnUpdateFirstPageCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsConversionRunning()); }

BOOL CMainFrame::IsConversionRunning() const {
  if (m_pMainView == nullptr || m_pMainView->GetSafeHwnd() == nullptr) return FALSE;
  const C3TovinSaveNsfToPst* pSaving = DYNAMIC_DOWNCAST(C3TovinSaveNsfToPst, m_pMainView->GetPage(2));
  return pSaving != nullptr && pSaving->IsWorkerRunning();
}

LRESULT CMainFrame::OnStopProcess(WPARAM, LPARAM) {
  SendToView(WM_STOP_PROCESS);
  return 1;
}

LRESULT CMainFrame::OnStopEnumeration(WPARAM, LPARAM) {
  SendToView(WM_STOP_ENUMERATION);
  return 1;
}

BOOL CMainFrame::HoldOrAskAgain(BOOL bAll, UINT nAskAgain) {
  CPauseGate& gate = m_notesStore.m_pause;
  BOOL bDialogTurn = FALSE;
  if (bAll ? gate.HoldAll(&bDialogTurn) : gate.Hold(&bDialogTurn)) return TRUE;
  if (bDialogTurn && nAskAgain != 0 && GetSafeHwnd() != nullptr) {
    if (std::find(m_questionsToAskAgain.begin(), m_questionsToAskAgain.end(), nAskAgain) ==
        m_questionsToAskAgain.end())
      m_questionsToAskAgain.push_back(nAskAgain);
    SetTimer(ASK_AGAIN_TIMER, ASK_AGAIN_TICK_MS, nullptr);
  }
  return FALSE;
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != ASK_AGAIN_TIMER) {
    CXTPFrameWnd::OnTimer(nIDEvent);
    return;
  }
  KillTimer(ASK_AGAIN_TIMER);
  // Each question holds again as it is asked; one that a turn still keeps off comes back here.
  std::vector<UINT> questions;
  questions.swap(m_questionsToAskAgain);
  for (UINT msg : questions) SendMessage(msg, 0, 0);
}

LRESULT CMainFrame::OnHandoff(WPARAM wParam, LPARAM lParam) { return CUiHandoff::Receive(wParam, lParam); }

void CMainFrame::OnDestroy() {
  CUiHandoff::DiscardPending(m_hWnd);
  CXTPFrameWnd::OnDestroy();
}

LRESULT CMainFrame::SendToView(UINT msg) {
  if (m_pMainView == nullptr || m_pMainView->GetSafeHwnd() == nullptr) return 0;
  return m_pMainView->SendMessage(msg, 0, 0);
}

// ---- Pages and state ----------------------------------------------------------------------------------
void CMainFrame::GoToPage(int nPage) {
  if (m_pMainView != nullptr && m_pMainView->GetSafeHwnd() != nullptr)
    m_pMainView->SendMessage(WM_SELECT_WIZARD_PAGE, static_cast<WPARAM>(nPage + 1), 0);
}

LRESULT CMainFrame::GoToPreviousPage(int nPage) {
  if (m_pMainView == nullptr || m_pMainView->GetSafeHwnd() == nullptr) return 0;
  return m_pMainView->SendMessage(WM_SELECT_WIZARD_PAGE, static_cast<WPARAM>(nPage - 1), 0);
}

void CMainFrame::SetTargetNsf(const CString& strPath, BYTE bTextFormat) {
  m_strTargetNsfPath = strPath;
  m_bTextFormat = bTextFormat;
}

void CMainFrame::SetTargetFileName(const CString& strFileName) {
  m_strTargetFileName = strFileName;
  m_strSourceServer.Empty();
}

void CMainFrame::ShowProgressDialog(const CString& strText) {
  if (m_pProgressDlg != nullptr && m_pProgressDlg->GetSafeHwnd() != nullptr)
    m_pProgressDlg->ShowWait(strText);
}

void CMainFrame::HideProgressDialog() {
  if (m_pProgressDlg != nullptr && m_pProgressDlg->GetSafeHwnd() != nullptr) m_pProgressDlg->HideWait();
}

// ---- Forwarders ------------------------------------------------------------------------------------------
int CMainFrame::ListNsfFolders(CStringArray* pFolders, int nQuiet) {
  if (nQuiet == 0 && m_pProgressSink != nullptr) m_notesStore.m_pScanWnd = m_pProgressSink;
  return m_notesStore.OpenAndListFolders(m_strSourcePath, m_strSourceServer, pFolders, nQuiet);
}

void CMainFrame::OpenNsfFolder(IMailListSink* pPane, CString strPath) {
  m_notesStore.OpenFolder(pPane, strPath);
}

CString CMainFrame::PreviewNsfDocument(LNNOTEID noteId, int* pKind, CStringArray* pNames,
                                       CStringArray* pSizes) {
  return m_notesStore.PreviewDocument(noteId, pKind, pNames, pSizes);
}

int CMainFrame::GetServerNames(CStringArray* pNames) {
  m_notesStore.m_bStop = 0;
  return m_notesStore.GetServerNames(pNames);
}

int CMainFrame::GetServerDatabases(CString strServer, CStringArray* pPaths, CStringArray* pFileNames) {
  m_notesStore.m_bStop = 0;
  return m_notesStore.GetServerDatabases(strServer, pPaths, pFileNames);
}
