// The application object. The framework's wWinMain (linked from
// the library) initialises the one CWinApp, calls InitInstance and, when that succeeds, Run.
#pragma once

#include "framework/WinThread.h"
#include "framework/Wnd.h"

class CWinApp;
class CDocTemplate;
class CRecentFileList;
class CCommandLineInfo;
class CDocument;
struct WSAData;

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
