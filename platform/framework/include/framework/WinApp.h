// Threads with message loops and the application object. The framework's wWinMain (linked from
// the library) initialises the one CWinApp, calls InitInstance and, when that succeeds, Run.
#pragma once

#include "framework/Wnd.h"

class CWinApp;
class CDocTemplate;
class CRecentFileList;
class CCommandLineInfo;
class CDocument;
struct WSAData;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

// A thread of the framework. The worker form runs a function; the user-interface form runs
// InitInstance and then a message loop with idle processing (Run) until WM_QUIT.
class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;

  // Starts the thread (suspended with CREATE_SUSPENDED). FALSE when the system refuses.
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

  CWnd* m_pMainWnd;  // this thread's main window; the application's for the main thread
  CWnd* m_pActiveWnd;
  BOOL m_bAutoDelete;  // the object deletes itself when the thread ends
  HANDLE m_hThread;
  DWORD m_nThreadID;
  MSG m_msgCur;
  AFX_THREADPROC m_pfnThreadProc;
  LPVOID m_pThreadParams;

  operator HANDLE() const {
    const CWinThread* volatile self = this;
    return self == nullptr ? nullptr : self->m_hThread;
  }
  int GetThreadPriority() { return ::GetThreadPriority(m_hThread); }
  BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
  DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
  BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostThreadMessage(m_nThreadID, message, wParam, lParam);
  }

  virtual BOOL InitInstance();
  virtual int Run();
  // Walks the target's windows up to the main window (PreTranslateMessage each) and lets the main
  // window see messages of other top-level windows. TRUE when the message was taken.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL PumpMessage();
  // lCount 0: command-UI updates of the main window and its descendants; 1: temporary objects are
  // freed. Returns TRUE while more idle work remains.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual CWnd* GetMainWnd();
  virtual void Delete();

  void CommonConstruct();
};

// Starts a worker thread running pfnThreadProc(pParam). The object deletes itself at thread end
// unless m_bAutoDelete is cleared before resuming a CREATE_SUSPENDED thread.
CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                  int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Starts a user-interface thread of the given CWinThread-derived class.
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);

// ---- The command line ----------------------------------------------------------------------------
class CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo();
  ~CCommandLineInfo() override = default;

  // Called for each argument; bFlag when it started with '-' or '/' (which is removed).
  virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

  BOOL m_bShowSplash;
  BOOL m_bRunEmbedded;
  BOOL m_bRunAutomated;
  enum {
    FileNew,
    FileOpen,
    FilePrint,
    FilePrintTo,
    FileDDE,
    AppRegister,
    AppUnregister,
    FileNothing = -1
  } m_nShellCommand;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;
};

// ---- Recently used files (LoadStdProfileSettings) -------------------------------------------------
class CRecentFileList {
 public:
  CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize, int nMaxDispLen = 30);
  virtual ~CRecentFileList();

  int GetSize() const { return m_nSize; }
  CString& operator[](int nIndex) { return m_arrNames[nIndex]; }
  virtual void Add(LPCTSTR lpszPathName);
  virtual void Remove(int nIndex);
  // The menu text of entry nIndex: the name shortened to nMaxDispLen, or FALSE when empty.
  virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCTSTR lpszCurDir, int nCurDir,
                              BOOL bAtLeastName = TRUE) const;
  virtual void UpdateMenu(CCmdUI* pCmdUI);
  virtual void ReadList();
  virtual void WriteList();

  int m_nSize;
  CString* m_arrNames;
  CString m_strSectionName;
  CString m_strEntryFormat;
  UINT m_nStart;
  int m_nMaxDisplayLength;
  CString m_strOriginal;
};

// ---- The application -----------------------------------------------------------------------------
// Exactly one CWinApp object exists; it is the main thread's CWinThread. Profile functions use the
// registry under HKCU\Software\<m_pszRegistryKey>\<m_pszProfileName>\<section> once SetRegistryKey
// was called, else the private .ini file m_pszProfileName.
class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName;
  HINSTANCE m_hInstance;
  LPTSTR m_lpCmdLine;
  int m_nCmdShow;
  LPCTSTR m_pszRegistryKey;
  LPCTSTR m_pszProfileName;
  LPCTSTR m_pszHelpFilePath;
  LPCTSTR m_pszExeName;
  CRecentFileList* m_pRecentFileList;
  BOOL m_bHelpMode;
  CDocTemplate* m_pDocTemplateList;  // unused until documents exist

  // ---- Life cycle ----
  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  BOOL OnIdle(LONG lCount) override;
  virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  void EnableModeless(BOOL bEnable) { m_nModelessDisabled += bEnable ? -1 : 1; }
  // Nothing to do on this platform; kept so application code written for it compiles.
  BOOL Enable3dControls() { return TRUE; }
  BOOL Enable3dControlsStatic() { return TRUE; }
  void SetDialogBkColor(COLORREF = RGB(192, 192, 192), COLORREF = RGB(0, 0, 0)) {}

  // ---- Command line and shell ----
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  // FileNew/FileOpen are carried out by the document templates; without them this does nothing.
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  void AddDocTemplate(CDocTemplate* pTemplate);
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
  virtual void AddToRecentFileList(LPCTSTR lpszPathName);

  // ---- Resources ----
  HICON LoadIcon(LPCTSTR lpszResourceName) const;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIcon(nullptr, lpszIconName); }
  HICON LoadOEMIcon(UINT nIDIcon) const { return ::LoadIcon(nullptr, MAKEINTRESOURCE(nIDIcon)); }
  HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
  HCURSOR LoadOEMCursor(UINT nIDCursor) const { return ::LoadCursor(nullptr, MAKEINTRESOURCE(nIDCursor)); }

  // ---- Profile ----
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  void SetRegistryKey(UINT nIDRegistryKey);
  // Reads the recent-file list (nMaxMRU entries) and the preview-page count.
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  void SaveStdProfileSettings();
  // HKCU\Software\<key>\<app>, created on demand; the caller closes it. NULL without SetRegistryKey.
  HKEY GetAppRegistryKey();
  // The section's key below it, created on demand; the caller closes it.
  HKEY GetSectionKey(LPCTSTR lpszSection);
  UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
  CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
  // *ppData is allocated with new[] (the caller deletes it); FALSE when the value is missing.
  BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
  // A NULL entry deletes the whole section; a NULL value deletes the entry.
  BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
  BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);

  // ---- Commands ----
  afx_msg void OnAppExit();
  afx_msg void OnHelp();
  afx_msg void OnFileNew() {}
  afx_msg void OnFileOpen() {}
  afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

  int m_nModelessDisabled;
  UINT m_nNumPreviewPages;

  DECLARE_MESSAGE_MAP()
};

CWinApp* AFXAPI AfxGetApp();
CWinThread* AFXAPI AfxGetThread();
// The calling thread's main window, else the application's: usable from worker threads, whose
// windows are few, to reach the main frame.
CWnd* AFXAPI AfxGetMainWnd();
LPCTSTR AFXAPI AfxGetAppName();
// The module holding resource lpszName of type lpszType: the resource module, else the executable.
HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// The framework's message box: owned by the calling thread's main or active window, titled with
// the application's name. Returns IDOK, IDYES, ...
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// Global initialisation helpers.
BOOL AFXAPI AfxEnableControlContainer(void* pOccManager = nullptr);
// Starts Windows Sockets 1.1 once per process.
BOOL AFXAPI AfxSocketInit(WSAData* lpwsaData = nullptr);
BOOL AFXAPI AfxInitRichEdit();
BOOL AFXAPI AfxInitRichEdit2();
// The framework's entry point, called by wWinMain; usable by programs with their own entry point.
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
void AFXAPI AfxWinTerm();
