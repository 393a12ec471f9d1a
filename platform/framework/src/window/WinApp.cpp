// Threads with message loops, the application object, its profile (registry or .ini), window-class
// registration and the global helpers of the application layer.
#include "afxwin.h"
#include "afxdlgs.h"
// Windows Sockets 1.1, the version AfxSocketInit starts.
#include <winsock.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_pApp = nullptr;
}  // namespace

CWinApp* AFXAPI AfxGetApp() { return g_pApp; }

CWnd* AFXAPI AfxGetMainWnd() {
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && pThread->GetMainWnd() != nullptr) return pThread->GetMainWnd();
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr ? pApp->m_pMainWnd : nullptr;
}

LPCTSTR AFXAPI AfxGetAppName() {
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr && pApp->m_pszAppName != nullptr ? pApp->m_pszAppName : L"";
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType) {
  HINSTANCE hInst = AfxGetResourceHandle();
  if (::FindResource(hInst, lpszName, lpszType) != nullptr) return hInst;
  HINSTANCE hExe = AfxGetInstanceHandle();
  if (hExe != hInst && ::FindResource(hExe, lpszName, lpszType) != nullptr) return hExe;
  return hInst;
}

// ---- CWinThread, user-interface form ----------------------------------------------------------------
BOOL CWinThread::InitInstance() { return FALSE; }

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd != nullptr ? m_pActiveWnd : m_pMainWnd; }

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  // Mouse moves that do not move and the caret's timer do not restart idle processing.
  AFX_THREAD_STATE* pState = AfxGetThreadState();
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
    if (pState->m_ptCursorLast.x == pMsg->pt.x && pState->m_ptCursorLast.y == pMsg->pt.y &&
        pMsg->message == pState->m_nMsgLast) {
      return FALSE;
    }
    pState->m_ptCursorLast = CPoint(pMsg->pt.x, pMsg->pt.y);
    pState->m_nMsgLast = pMsg->message;
    return TRUE;
  }
  return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == nullptr) return FALSE;  // thread messages have no window to walk
  CWnd* pMainWnd = GetMainWnd();
  HWND hWndMain = pMainWnd->GetSafeHwnd();
  if (hWndMain != nullptr && ::GetWindowThreadProcessId(hWndMain, nullptr) != ::GetCurrentThreadId()) {
    pMainWnd = nullptr;
    hWndMain = nullptr;
  }
  if (CWnd::WalkPreTranslateTree(hWndMain, pMsg)) return TRUE;
  // Messages of other top-level windows (modeless dialogs, popups) are offered to the main window.
  if (pMainWnd != nullptr) {
    HWND hWndTop = pMsg->hwnd;
    for (HWND hWndNext = ::GetAncestor(hWndTop, GA_ROOTOWNER); hWndNext != nullptr && hWndNext != hWndTop;
         hWndNext = nullptr) {
      hWndTop = hWndNext;
    }
    if (hWndTop != hWndMain) return pMainWnd->PreTranslateMessage(pMsg);
  }
  return FALSE;
}

BOOL CWinThread::PumpMessage() {
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  if (!::GetMessage(pMsg, nullptr, 0, 0)) {
    m_msgCur = *pMsg;
    return FALSE;
  }
  m_msgCur = *pMsg;
  if (pMsg->message != WM_KICKIDLE && !PreTranslateMessage(pMsg)) {
    ::TranslateMessage(pMsg);
    ::DispatchMessage(pMsg);
  }
  return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    // Command-UI updates: the main window and all its framework descendants.
    CWnd* pMainWnd = m_pMainWnd;
    HWND hWndMain = pMainWnd->GetSafeHwnd();
    if (hWndMain != nullptr && ::IsWindowVisible(hWndMain) &&
        ::GetWindowThreadProcessId(hWndMain, nullptr) == ::GetCurrentThreadId()) {
      AfxCallWndProc(pMainWnd, hWndMain, WM_IDLEUPDATECMDUI, TRUE, 0);
      pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    }
    return TRUE;
  }
  if (lCount == 1) {
    CWnd::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
  }
  return FALSE;
}

int CWinThread::Run() {
  BOOL bIdle = TRUE;
  LONG lIdleCount = 0;
  MSG* pMsg = &AfxGetThreadState()->m_msgCur;
  for (;;) {
    while (bIdle && !::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(lIdleCount++)) bIdle = FALSE;
    }
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(pMsg)) {
        bIdle = TRUE;
        lIdleCount = 0;
      }
    } while (::PeekMessage(pMsg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

int CWinThread::ExitInstance() { return static_cast<int>(AfxGetThreadState()->m_msgCur.wParam); }

// ---- CCommandLineInfo ----------------------------------------------------------------------------
CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew) {}

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL /*bLast*/) {
  if (bFlag) {
    if (lstrcmpi(pszParam, L"pt") == 0) {
      m_nShellCommand = FilePrintTo;
    } else if (lstrcmpi(pszParam, L"p") == 0) {
      m_nShellCommand = FilePrint;
    } else if (lstrcmpi(pszParam, L"Register") == 0 || lstrcmpi(pszParam, L"Regserver") == 0) {
      m_nShellCommand = AppRegister;
    } else if (lstrcmpi(pszParam, L"Unregister") == 0 || lstrcmpi(pszParam, L"Unregserver") == 0) {
      m_nShellCommand = AppUnregister;
    } else if (lstrcmpi(pszParam, L"dde") == 0) {
      m_nShellCommand = FileDDE;
    } else if (lstrcmpi(pszParam, L"Embedding") == 0) {
      m_bRunEmbedded = TRUE;
      m_bShowSplash = FALSE;
    } else if (lstrcmpi(pszParam, L"Automation") == 0) {
      m_bRunAutomated = TRUE;
      m_bShowSplash = FALSE;
    }
    return;
  }
  if (m_strFileName.IsEmpty()) {
    m_strFileName = pszParam;
    if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
  } else if (m_nShellCommand == FilePrintTo) {
    if (m_strPrinterName.IsEmpty()) {
      m_strPrinterName = pszParam;
    } else if (m_strDriverName.IsEmpty()) {
      m_strDriverName = pszParam;
    } else if (m_strPortName.IsEmpty()) {
      m_strPortName = pszParam;
    }
  }
}

// ---- CWinApp -------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND(ID_HELP, OnHelp)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(lpszAppName != nullptr ? _wcsdup(lpszAppName) : nullptr),
      m_hInstance(nullptr),
      m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pszRegistryKey(nullptr),
      m_pszProfileName(nullptr),
      m_pszHelpFilePath(nullptr),
      m_pszExeName(nullptr),
      m_pRecentFileList(nullptr),
      m_bHelpMode(FALSE),
      m_nModelessDisabled(0),
      m_nNumPreviewPages(0) {
  g_pApp = this;
  SetCurrentThreadObject(this);
  m_hThread = ::GetCurrentThread();
  m_nThreadID = ::GetCurrentThreadId();
  m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp() {
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != nullptr) delete static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
  m_templateList.RemoveAll();
  delete m_pRecentFileList;
  free(const_cast<LPTSTR>(m_pszAppName));
  free(const_cast<LPTSTR>(m_pszRegistryKey));
  free(const_cast<LPTSTR>(m_pszProfileName));
  free(const_cast<LPTSTR>(m_pszHelpFilePath));
  free(const_cast<LPTSTR>(m_pszExeName));
  m_hThread = nullptr;  // the pseudo handle is not closed
  if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
  if (m_pRecentFileList != nullptr && m_pszRegistryKey != nullptr) SaveStdProfileSettings();
  return CWinThread::ExitInstance();
}

int CWinApp::Run() {
  // Nothing to show and not started for automation: there is nothing to wait for.
  if (m_pMainWnd == nullptr) AfxPostQuitMessage(0);
  return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWinThread::OnIdle(lCount);
    return TRUE;
  }
  CWinThread::OnIdle(1);
  return FALSE;
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT /*nIDPrompt*/) {
  HWND hWndTop = nullptr;
  HWND hWnd = CWnd::GetSafeOwner(nullptr, &hWndTop)->GetSafeHwnd();
  if ((nType & MB_ICONMASK) == 0) {
    switch (nType & MB_TYPEMASK) {
      case MB_OK:
      case MB_OKCANCEL:
        nType |= MB_ICONEXCLAMATION;
        break;
      case MB_YESNO:
      case MB_YESNOCANCEL:
        nType |= MB_ICONQUESTION;
        break;
      default:
        break;
    }
  }
  int nResult = ::MessageBox(hWnd, lpszPrompt, AfxGetAppName(), nType);
  if (hWndTop != nullptr) ::EnableWindow(hWndTop, TRUE);
  return nResult;
}

void CWinApp::WinHelp(DWORD_PTR /*dwData*/, UINT /*nCmd*/) {}

void CWinApp::OnAppExit() {
  CWnd* pMainWnd = m_pMainWnd;
  if (pMainWnd->GetSafeHwnd() != nullptr) pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnHelp() {}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  if (m_pRecentFileList == nullptr) {
    pCmdUI->Enable(FALSE);
  } else {
    m_pRecentFileList->UpdateMenu(pCmdUI);
  }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
  int nArgs = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
  if (argv == nullptr) return;
  for (int i = 1; i < nArgs; i++) {
    LPCTSTR pszParam = argv[i];
    BOOL bFlag = FALSE;
    BOOL bLast = i == nArgs - 1;
    if (pszParam[0] == L'-' || pszParam[0] == L'/') {
      bFlag = TRUE;
      ++pszParam;
    }
    rCmdInfo.ParseParam(pszParam, bFlag, bLast);
  }
  ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      if (!OnCmdMsg(ID_FILE_NEW, 0, nullptr, nullptr)) OnFileNew();
      // Without a main window the program has nothing to show.
      return m_pMainWnd != nullptr || m_templateList.IsEmpty();
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
      return FALSE;  // registration ends the run
    default:
      return TRUE;
  }
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (pTemplate != nullptr) m_templateList.AddTail(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
  if (m_templateList.IsEmpty() || lpszFileName == nullptr) return nullptr;
  return static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(lpszFileName);
}

void CWinApp::OnFileNew() {
  if (m_templateList.IsEmpty()) return;
  static_cast<CDocTemplate*>(m_templateList.GetHead())->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST);
  if (dlg.DoModal() == IDOK) OpenDocumentFile(dlg.GetPathName());
}

BOOL CWinApp::SaveAllModified() {
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != nullptr) {
    if (!static_cast<CDocTemplate*>(m_templateList.GetNext(pos))->SaveAllModified()) return FALSE;
  }
  return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
  POSITION pos = m_templateList.GetHeadPosition();
  while (pos != nullptr)
    static_cast<CDocTemplate*>(m_templateList.GetNext(pos))->CloseAllDocuments(bEndSession);
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
  if (m_pRecentFileList != nullptr) m_pRecentFileList->Add(lpszPathName);
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
  return ::LoadIcon(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCE(nIDResource)); }

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const {
  return ::LoadCursor(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCE(nIDResource)); }

// ---- Profile -------------------------------------------------------------------------------------
void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
  free(const_cast<LPTSTR>(m_pszRegistryKey));
  m_pszRegistryKey = _wcsdup(lpszRegistryKey != nullptr ? lpszRegistryKey : L"");
  free(const_cast<LPTSTR>(m_pszProfileName));
  m_pszProfileName = _wcsdup(m_pszAppName != nullptr ? m_pszAppName : L"");
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
  CString strKey;
  strKey.LoadString(nIDRegistryKey);
  SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey() {
  if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr) return nullptr;
  HKEY hSoftKey = nullptr;
  HKEY hCompanyKey = nullptr;
  HKEY hAppKey = nullptr;
  if (::RegOpenKeyEx(HKEY_CURRENT_USER, L"Software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
    DWORD dw;
    if (::RegCreateKeyEx(hSoftKey, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_WRITE | KEY_READ, nullptr, &hCompanyKey, &dw) == ERROR_SUCCESS) {
      ::RegCreateKeyEx(hCompanyKey, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_WRITE | KEY_READ, nullptr, &hAppKey, &dw);
    }
  }
  if (hSoftKey != nullptr) ::RegCloseKey(hSoftKey);
  if (hCompanyKey != nullptr) ::RegCloseKey(hCompanyKey);
  return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
  if (lpszSection == nullptr) return nullptr;
  HKEY hAppKey = GetAppRegistryKey();
  if (hAppKey == nullptr) return nullptr;
  HKEY hSectionKey = nullptr;
  DWORD dw;
  ::RegCreateKeyEx(hAppKey, lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, nullptr,
                   &hSectionKey, &dw);
  ::RegCloseKey(hAppKey);
  return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
  if (lpszSection == nullptr || lpszEntry == nullptr) return static_cast<UINT>(nDefault);
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return static_cast<UINT>(nDefault);
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(DWORD);
    LONG lResult =
        ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwValue), &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
      return static_cast<UINT>(dwValue);
    return static_cast<UINT>(nDefault);
  }
  return ::GetPrivateProfileInt(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
  CString strDefault(lpszDefault != nullptr ? lpszDefault : L"");
  if (lpszSection == nullptr || lpszEntry == nullptr) return strDefault;
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return strDefault;
    CString strValue;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
    bool bText = lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ);
    if (bText) {
      std::vector<WCHAR> buffer(dwCount / sizeof(WCHAR) + 1, L'\0');
      DWORD dwBytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(WCHAR));
      lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType,
                                  reinterpret_cast<LPBYTE>(buffer.data()), &dwBytes);
      bText = lResult == ERROR_SUCCESS;
      if (bText) strValue = buffer.data();
    }
    ::RegCloseKey(hSecKey);
    if (bText) return strValue;
    return strDefault;
  }
  WCHAR szBuf[4096];
  ::GetPrivateProfileString(lpszSection, lpszEntry, strDefault, szBuf, 4096, m_pszProfileName);
  return CString(szBuf);
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  if (ppData == nullptr || pBytes == nullptr) return FALSE;
  *ppData = nullptr;
  *pBytes = 0;
  if (lpszSection == nullptr || lpszEntry == nullptr) return FALSE;
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return FALSE;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, nullptr, &dwCount);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
      *ppData = new BYTE[dwCount > 0 ? dwCount : 1];
      lResult = ::RegQueryValueEx(hSecKey, lpszEntry, nullptr, &dwType, *ppData, &dwCount);
    }
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
      *pBytes = dwCount;
      return TRUE;
    }
    delete[] * ppData;
    *ppData = nullptr;
    return FALSE;
  }
  // The .ini form: two letters 'A'+nibble per byte, low nibble first.
  CString str = GetProfileString(lpszSection, lpszEntry, nullptr);
  if (str.IsEmpty() || (str.GetLength() % 2) != 0) return FALSE;
  UINT nLen = static_cast<UINT>(str.GetLength() / 2);
  *ppData = new BYTE[nLen];
  for (UINT i = 0; i < nLen; i++) {
    (*ppData)[i] = static_cast<BYTE>(((str[2 * i + 1] - L'A') << 4) + (str[2 * i] - L'A'));
  }
  *pBytes = nLen;
  return TRUE;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
  if (lpszSection == nullptr || lpszEntry == nullptr) return FALSE;
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return FALSE;
    DWORD dwValue = static_cast<DWORD>(nValue);
    LONG lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                   sizeof(dwValue));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  WCHAR szT[16];
  _snwprintf(szT, 16, L"%d", nValue);
  return ::WritePrivateProfileString(lpszSection, lpszEntry, szT, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
  if (lpszSection == nullptr) return FALSE;
  if (m_pszRegistryKey != nullptr) {
    if (lpszEntry == nullptr) {
      HKEY hAppKey = GetAppRegistryKey();
      if (hAppKey == nullptr) return FALSE;
      LONG lResult = ::RegDeleteTree(hAppKey, lpszSection);
      if (lResult == ERROR_SUCCESS) lResult = ::RegDeleteKey(hAppKey, lpszSection);
      ::RegCloseKey(hAppKey);
      return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return FALSE;
    LONG lResult;
    if (lpszValue == nullptr) {
      lResult = ::RegDeleteValue(hSecKey, lpszEntry);
      if (lResult == ERROR_FILE_NOT_FOUND) lResult = ERROR_SUCCESS;
    } else {
      lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(WCHAR)));
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  return ::WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  if (lpszSection == nullptr || lpszEntry == nullptr) return FALSE;
  if (m_pszRegistryKey != nullptr) {
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == nullptr) return FALSE;
    LONG lResult = ::RegSetValueEx(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
  }
  std::vector<WCHAR> text(static_cast<size_t>(nBytes) * 2 + 1, L'\0');
  for (UINT i = 0; i < nBytes; i++) {
    text[2 * i] = static_cast<WCHAR>((pData[i] & 0x0F) + L'A');
    text[2 * i + 1] = static_cast<WCHAR>(((pData[i] >> 4) & 0x0F) + L'A');
  }
  return WriteProfileString(lpszSection, lpszEntry, text.data());
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  if (nMaxMRU != 0) {
    delete m_pRecentFileList;
    m_pRecentFileList =
        new CRecentFileList(0, L"Recent File List", L"File%d", static_cast<int>(std::min<UINT>(nMaxMRU, 16)));
    m_pRecentFileList->ReadList();
  }
  m_nNumPreviewPages = GetProfileInt(L"Settings", L"PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings() {
  if (m_pRecentFileList != nullptr) m_pRecentFileList->WriteList();
  if (m_nNumPreviewPages != 0)
    WriteProfileInt(L"Settings", L"PreviewPages", static_cast<int>(m_nNumPreviewPages));
}

// ---- CRecentFileList -------------------------------------------------------------------------------
CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nSize(nSize > 0 ? nSize : 1),
      m_arrNames(new CString[nSize > 0 ? nSize : 1]),
      m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen) {}

CRecentFileList::~CRecentFileList() { delete[] m_arrNames; }

void CRecentFileList::Add(LPCTSTR lpszPathName) {
  if (lpszPathName == nullptr || *lpszPathName == L'\0') return;
  int iMRU;
  for (iMRU = 0; iMRU < m_nSize - 1; iMRU++) {
    if (m_arrNames[iMRU].CompareNoCase(lpszPathName) == 0) break;
  }
  for (; iMRU > 0; iMRU--) m_arrNames[iMRU] = m_arrNames[iMRU - 1];
  m_arrNames[0] = lpszPathName;
}

void CRecentFileList::Remove(int nIndex) {
  if (nIndex < 0 || nIndex >= m_nSize) return;
  for (int i = nIndex; i < m_nSize - 1; i++) m_arrNames[i] = m_arrNames[i + 1];
  m_arrNames[m_nSize - 1].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCTSTR /*lpszCurDir*/, int /*nCurDir*/,
                                     BOOL bAtLeastName) const {
  if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty()) return FALSE;
  strName = m_arrNames[nIndex];
  if (m_nMaxDisplayLength > 0 && strName.GetLength() > m_nMaxDisplayLength) {
    // Too long for a menu: the file's own name, else its last characters.
    int nSlash = strName.ReverseFind(L'\\');
    CString strTitle = nSlash >= 0 ? strName.Mid(nSlash + 1) : strName;
    if (bAtLeastName || strTitle.GetLength() <= m_nMaxDisplayLength) {
      strName = strTitle;
    } else {
      strName = L"..." + strTitle.Right(m_nMaxDisplayLength - 3);
    }
  }
  return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) { pCmdUI->Enable(!m_arrNames[0].IsEmpty()); }

void CRecentFileList::ReadList() {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  for (int iMRU = 0; iMRU < m_nSize; iMRU++) {
    CString strEntry;
    strEntry.Format(m_strEntryFormat, iMRU + 1);
    m_arrNames[iMRU] = pApp->GetProfileString(m_strSectionName, strEntry, L"");
  }
}

void CRecentFileList::WriteList() {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return;
  pApp->WriteProfileString(m_strSectionName, nullptr, nullptr);
  for (int iMRU = 0; iMRU < m_nSize; iMRU++) {
    if (m_arrNames[iMRU].IsEmpty()) continue;
    CString strEntry;
    strEntry.Format(m_strEntryFormat, iMRU + 1);
    pApp->WriteProfileString(m_strSectionName, strEntry, m_arrNames[iMRU]);
  }
}

// ---- Message boxes and initialisation helpers -----------------------------------------------------------
int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  CWinApp* pApp = AfxGetApp();
  if (pApp != nullptr) return pApp->DoMessageBox(lpszText, nType, nIDHelp);
  HWND hWndTop = nullptr;
  HWND hWnd = CWnd::GetSafeOwner(nullptr, &hWndTop)->GetSafeHwnd();
  int nResult = ::MessageBox(hWnd, lpszText, AfxGetAppName(), nType);
  if (hWndTop != nullptr) ::EnableWindow(hWndTop, TRUE);
  return nResult;
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString strPrompt;
  strPrompt.LoadString(nIDPrompt);
  return AfxMessageBox(strPrompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

// Control hosting needs no set-up of its own: the containers create their sites on demand.
BOOL AFXAPI AfxEnableControlContainer(void* /*pOccManager*/) { return TRUE; }

BOOL AFXAPI AfxSocketInit(WSAData* lpwsaData) {
  static std::once_flag once;
  static WSADATA wsaData;
  static int nStartup = -1;
  std::call_once(once, [] {
    nStartup = ::WSAStartup(MAKEWORD(1, 1), &wsaData);
    if (nStartup == 0) atexit([] { ::WSACleanup(); });
  });
  if (lpwsaData != nullptr) *lpwsaData = wsaData;
  return nStartup == 0;
}

BOOL AFXAPI AfxInitRichEdit() {
  static HMODULE hRichEdit = ::LoadLibrary(L"riched32.dll");
  return hRichEdit != nullptr && AfxInitRichEdit2();
}

BOOL AFXAPI AfxInitRichEdit2() {
  static HMODULE hRichEdit2 = ::LoadLibrary(L"riched20.dll");
  return hRichEdit2 != nullptr;
}

// ---- Window classes ----------------------------------------------------------------------------------
BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass) {
  WNDCLASS wndcls;
  if (::GetClassInfo(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls)) return TRUE;
  return ::RegisterClass(lpWndClass) != 0;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex lock;
  static std::set<std::wstring>* names = new std::set<std::wstring>();
  HINSTANCE hInst = AfxGetInstanceHandle();
  WCHAR szName[96];
  if (hCursor == nullptr && hbrBackground == nullptr && hIcon == nullptr) {
    _snwprintf(szName, 96, L"Afx:%p:%x", static_cast<void*>(hInst), nClassStyle);
  } else {
    _snwprintf(szName, 96, L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
               static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  }
  std::lock_guard<std::mutex> guard(lock);
  LPCTSTR lpszName = names->insert(szName).first->c_str();
  WNDCLASS wndcls = {};
  if (::GetClassInfo(hInst, lpszName, &wndcls)) return lpszName;
  wndcls.style = nClassStyle;
  wndcls.lpfnWndProc = ::DefWindowProc;
  wndcls.hInstance = hInst;
  wndcls.hIcon = hIcon;
  wndcls.hCursor = hCursor;
  wndcls.hbrBackground = hbrBackground;
  wndcls.lpszClassName = lpszName;
  if (!AfxRegisterClass(&wndcls)) AfxThrowResourceException();
  return lpszName;
}

LPCTSTR AFXAPI AfxRegisterDefaultClass(LPCTSTR lpszClassName) {
  WNDCLASS wndcls = {};
  wndcls.lpfnWndProc = ::DefWindowProc;
  wndcls.hInstance = AfxGetInstanceHandle();
  wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wndcls.lpszClassName = lpszClassName;
  if (lstrcmp(lpszClassName, AFX_WND) == 0) {
    wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  } else if (lstrcmp(lpszClassName, AFX_WNDFRAMEORVIEW) == 0 ||
             lstrcmp(lpszClassName, AFX_WNDMDIFRAME) == 0) {
    wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wndcls.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
  } else if (lstrcmp(lpszClassName, AFX_WNDCONTROLBAR) == 0) {
    wndcls.style = 0;
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  } else {
    return nullptr;
  }
  if (!AfxRegisterClass(&wndcls)) AfxThrowResourceException();
  return lpszClassName;
}

// ---- Entry point -------------------------------------------------------------------------------------
BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPTSTR lpCmdLine, int nCmdShow) {
  AfxSetInstanceHandle(hInstance);
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES |
                                               ICC_STANDARD_CLASSES | ICC_LINK_CLASS | ICC_ANIMATE_CLASS};
  ::InitCommonControlsEx(&icc);

  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr) return TRUE;
  pApp->m_hInstance = hInstance;
  pApp->m_lpCmdLine = lpCmdLine;
  pApp->m_nCmdShow = nCmdShow;

  WCHAR szPath[MAX_PATH] = {};
  ::GetModuleFileName(hInstance, szPath, MAX_PATH);
  LPWSTR pszName = wcsrchr(szPath, L'\\');
  pszName = pszName != nullptr ? pszName + 1 : szPath;
  LPWSTR pszDot = wcsrchr(pszName, L'.');
  if (pszDot != nullptr) *pszDot = L'\0';
  if (pApp->m_pszExeName == nullptr) pApp->m_pszExeName = _wcsdup(pszName);
  if (pApp->m_pszAppName == nullptr) {
    CString strTitle;
    pApp->m_pszAppName =
        _wcsdup(strTitle.LoadString(AFX_IDS_APP_TITLE) ? static_cast<LPCWSTR>(strTitle) : pszName);
  }
  if (pApp->m_pszProfileName == nullptr) {
    CString strIni = CString(pApp->m_pszExeName) + L".INI";
    pApp->m_pszProfileName = _wcsdup(strIni);
  }
  return TRUE;
}

void AFXAPI AfxWinTerm() {
  CWnd::DeleteTempMap();
  CGdiObject::DeleteTempMap();
  CDC::DeleteTempMap();
  CMenu::DeleteTempMap();
  CImageList::DeleteTempMap();
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
  int nReturnCode = -1;
  CWinThread* pThread = AfxGetThread();
  CWinApp* pApp = AfxGetApp();
  if (pThread == nullptr || pApp == nullptr) {
    ::MessageBox(nullptr, L"The program has no application object.", nullptr, MB_OK | MB_ICONSTOP);
    return -1;
  }
  if (AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) && pApp->InitApplication()) {
    try {
      if (!pThread->InitInstance()) {
        if (pThread->m_pMainWnd != nullptr) pThread->m_pMainWnd->DestroyWindow();
        // The quit message the main window's destruction posted does not count.
        MSG msg;
        while (::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        // No quit code either: the last message a dialog-based program's modal loop pumped (an OK
        // button's WM_COMMAND, say) must not become the exit code of a run that ends with 0.
        AfxGetThreadState()->m_msgCur = MSG{};
        nReturnCode = pThread->ExitInstance();
      } else {
        nReturnCode = pThread->Run();
      }
    } catch (CException* e) {
      e->Delete();
      nReturnCode = -1;
    }
  }
  AfxWinTerm();
  return nReturnCode;
}

// The program entry point of framework programs. It lives in the object file of CWinApp on
// purpose: every program has an application object, so the linker takes this file from the static
// library before the start-up code (linked last) asks for wWinMain.
extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
