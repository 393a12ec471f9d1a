// File and colour dialogs over the system's common dialogs.
#include "afxwin.h"

#include "framework/CommonDialogs.h"

#include <dlgs.h>

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <string>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

namespace {

// Room for many names with OFN_ALLOWMULTISELECT; a single path needs far less.
constexpr size_t kFileBufferChars = 32768;
constexpr size_t kFileTitleChars = MAX_PATH;

// Where a running file dialog keeps its CFileDialog (on the dialog and on the hook's child) and the
// dialog's own window procedure.
const wchar_t kFileDialogProp[] = L"Framework.CFileDialog";
const wchar_t kDialogProcProp[] = L"Framework.CFileDialog.Proc";

// The CFileDialog whose system dialog is being created on this thread, until its hook takes it.
thread_local CFileDialog* t_pStartingFileDialog = nullptr;

std::wstring WindowText(HWND hWnd) {
  const int nLength = ::GetWindowTextLengthW(hWnd);
  if (nLength <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(nLength) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hWnd, &text[0], nLength + 1)));
  return text;
}

}  // namespace

const wchar_t CFileDialog::PATH_TOO_LONG_TEXT[] =
    L"The file name is too long: a full path can have at most 259 characters.\r\n"
    L"Please choose a file on a shorter path.";

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<UINT>(0), pParentWnd) {}

HWND CCommonDialog::GetOwnerHwnd() const {
  HWND hWndOwner = m_pParentWnd->GetSafeHwnd();
  if (hWndOwner == nullptr) hWndOwner = AfxGetMainWnd()->GetSafeHwnd();
  return hWndOwner;
}

// ---- CFileDialog ---------------------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize)
    : CCommonDialog(pParentWnd),
      m_ofn(),
      m_bOpenFileDialog(bOpenFileDialog),
      m_fileBuffer(kFileBufferChars, 0),
      m_fileTitle(kFileTitleChars, 0),
      m_strDefExt(lpszDefExt != nullptr ? lpszDefExt : L"") {
  m_ofn.lStructSize = dwSize != 0 ? dwSize : sizeof(OPENFILENAME);
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  m_ofn.hInstance = AfxGetResourceHandle();
  m_ofn.lpstrFile = m_fileBuffer.data();
  m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
  m_ofn.lpstrFileTitle = m_fileTitle.data();
  m_ofn.nMaxFileTitle = static_cast<DWORD>(m_fileTitle.size());
  if (lpszDefExt != nullptr) m_ofn.lpstrDefExt = m_strDefExt;
  if (lpszFileName != nullptr)
    lstrcpyn(m_fileBuffer.data(), lpszFileName, static_cast<int>(m_fileBuffer.size()));
  if (lpszFilter != nullptr) {
    // Every "|" ends a piece; the list ends with an empty piece (a double terminator).
    size_t length = wcslen(lpszFilter);
    m_filter.assign(lpszFilter, lpszFilter + length);
    for (WCHAR& ch : m_filter)
      if (ch == L'|') ch = 0;
    m_filter.push_back(0);
    m_filter.push_back(0);
    m_ofn.lpstrFilter = m_filter.data();
  }
}

INT_PTR CFileDialog::DoModal() {
  m_ofn.hwndOwner = GetOwnerHwnd();
  const DWORD dwCallerFlags = m_ofn.Flags;
  const LPOFNHOOKPROC pfnCallerHook = m_ofn.lpfnHook;
  m_pfnCallerHook = (dwCallerFlags & OFN_ENABLEHOOK) != 0 ? pfnCallerHook : nullptr;
  m_nExtensionRoom = ExtensionRoom();
  // A hooked dialog is no longer resizable unless it says so; without a hook of the caller's it was.
  if ((dwCallerFlags & (OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) == 0)
    m_ofn.Flags |= OFN_ENABLESIZING;
  m_ofn.Flags |= OFN_ENABLEHOOK;
  m_ofn.lpfnHook = GuardHookProc;

  CFileDialog* pOuter = t_pStartingFileDialog;
  t_pStartingFileDialog = this;
  BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
  t_pStartingFileDialog = pOuter;

  // The flags the dialog reports (read-only, extension different) stay; the guard's own go.
  const DWORD dwGuardFlags = OFN_ENABLEHOOK | OFN_ENABLESIZING;
  m_ofn.Flags = (m_ofn.Flags & ~dwGuardFlags) | (dwCallerFlags & dwGuardFlags);
  m_ofn.lpfnHook = pfnCallerHook;
  return bResult ? IDOK : IDCANCEL;
}

int CFileDialog::ExtensionRoom() const {
  size_t nLongest = m_ofn.lpstrDefExt != nullptr ? wcslen(m_ofn.lpstrDefExt) : 0;
  // Pairs of a description and its patterns, the list ended by an empty string.
  for (LPCWSTR lpsz = m_ofn.lpstrFilter; lpsz != nullptr && *lpsz != 0;) {
    LPCWSTR lpszPatterns = lpsz + wcslen(lpsz) + 1;
    const size_t nPatterns = wcslen(lpszPatterns);
    nLongest = std::max(nLongest, nPatterns);
    lpsz = lpszPatterns + nPatterns + (nPatterns != 0 ? 1 : 0);
  }
  return static_cast<int>(std::min<size_t>(nLongest, MAX_PATH)) + 1;
}

int PASCAL CFileDialog::BuiltPathLength(const CString& strFolder, const CString& strName,
                                        int nExtensionRoom) {
  if (strName.IsEmpty()) return 0;
  int nLength = strName.GetLength();
  const bool bDrive = nLength >= 2 && strName[1] == L':';
  if (!bDrive && strName[0] == L'\\') {
    nLength += 2;  // the folder's drive, "C:"
  } else if (!bDrive) {
    const int nFolder = strFolder.GetLength();
    nLength += nFolder + (nFolder > 0 && strFolder[nFolder - 1] != L'\\' ? 1 : 0);
  }
  const int nSeparator = std::max(strName.ReverseFind(L'\\'), strName.ReverseFind(L'/'));
  if (strName.Find(L'.', nSeparator + 1) < 0) nLength += nExtensionRoom;
  return nLength;
}

// The name box holds one name, or several in double quotes.
BOOL CFileDialog::IsTypedNameTooLong(HWND hDialog) const {
  HWND hName = ::GetDlgItem(hDialog, cmb13);
  if (hName == nullptr) hName = ::GetDlgItem(hDialog, edt1);
  if (hName == nullptr) return FALSE;
  const std::wstring text = WindowText(hName);
  if (text.empty()) return FALSE;
  std::wstring folder(kFileBufferChars, L'\0');
  if (::SendMessageW(hDialog, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(&folder[0])) <= 0)
    folder[0] = L'\0';
  const CString strFolder(folder.c_str());
  auto tooLong = [&](const std::wstring& name) {
    return BuiltPathLength(strFolder, CString(name.c_str()), m_nExtensionRoom) >= MAX_PATH;
  };
  if (text.find(L'"') == std::wstring::npos) return tooLong(text);
  for (size_t nOpen = text.find(L'"'); nOpen != std::wstring::npos; nOpen = text.find(L'"', nOpen + 1)) {
    const size_t nClose = text.find(L'"', nOpen + 1);
    if (nClose == std::wstring::npos) return tooLong(text.substr(nOpen + 1));
    if (tooLong(text.substr(nOpen + 1, nClose - nOpen - 1))) return TRUE;
    nOpen = nClose;
  }
  return FALSE;
}

// The hook's child dialog starts after the system's dialog has its controls: it puts the guard in
// front of that dialog's window procedure.
UINT_PTR CALLBACK CFileDialog::GuardHookProc(HWND hChild, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* pDialog = static_cast<CFileDialog*>(::GetPropW(hChild, kFileDialogProp));
  if (message == WM_INITDIALOG && pDialog == nullptr && t_pStartingFileDialog != nullptr) {
    pDialog = t_pStartingFileDialog;
    ::SetPropW(hChild, kFileDialogProp, pDialog);
    HWND hDialog = ::GetParent(hChild);
    if (hDialog != nullptr && ::GetPropW(hDialog, kDialogProcProp) == nullptr) {
      ::SetPropW(hDialog, kFileDialogProp, pDialog);
      const LONG_PTR pfnProc =
          ::SetWindowLongPtrW(hDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GuardDialogProc));
      ::SetPropW(hDialog, kDialogProcProp, reinterpret_cast<HANDLE>(pfnProc));
    }
  }
  const UINT_PTR result = pDialog != nullptr && pDialog->m_pfnCallerHook != nullptr
                              ? pDialog->m_pfnCallerHook(hChild, message, wParam, lParam)
                              : 0;
  if (message == WM_DESTROY) ::RemovePropW(hChild, kFileDialogProp);
  return result;
}

// Open (the button, Enter, a double click in the list) reaches the system's dialog as IDOK.
LRESULT CALLBACK CFileDialog::GuardDialogProc(HWND hDialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto pfnProc = reinterpret_cast<WNDPROC>(::GetPropW(hDialog, kDialogProcProp));
  const auto* pDialog = static_cast<const CFileDialog*>(::GetPropW(hDialog, kFileDialogProp));
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK && pDialog != nullptr &&
      pDialog->IsTypedNameTooLong(hDialog)) {
    ::MessageBoxW(hDialog, PATH_TOO_LONG_TEXT, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnProc));
    ::RemovePropW(hDialog, kDialogProcProp);
    ::RemovePropW(hDialog, kFileDialogProp);
  }
  return pfnProc != nullptr ? ::CallWindowProcW(pfnProc, hDialog, message, wParam, lParam)
                            : ::DefDlgProcW(hDialog, message, wParam, lParam);
}

CString CFileDialog::GetPathName() const { return m_ofn.lpstrFile ? CString(m_ofn.lpstrFile) : CString(); }

CString CFileDialog::GetFileName() const {
  CString path = GetPathName();
  int nSlash = path.ReverseFind(L'\\');
  int nForward = path.ReverseFind(L'/');
  if (nForward > nSlash) nSlash = nForward;
  return path.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int nDot = name.ReverseFind(L'.');
  return nDot < 0 ? CString() : name.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int nDot = name.ReverseFind(L'.');
  return nDot < 0 ? name : name.Left(nDot);
}

CString CFileDialog::GetFolderPath() const {
  CString path = GetPathName();
  CString name = GetFileName();
  int nFolder = path.GetLength() - name.GetLength();
  if (nFolder > 0 && (path[nFolder - 1] == L'\\' || path[nFolder - 1] == L'/')) nFolder--;
  return path.Left(nFolder);
}

// One chosen file: the buffer holds its full path. Several: the folder, then each name, each ended
// by a terminator, the list by an empty name.
POSITION CFileDialog::GetStartPosition() const {
  if (m_ofn.lpstrFile == nullptr || m_ofn.lpstrFile[0] == 0) return nullptr;
  return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
  LPCTSTR lpsz = reinterpret_cast<LPCTSTR>(pos);
  if (lpsz == nullptr) return CString();
  LPCTSTR lpszFolder = m_ofn.lpstrFile;
  size_t nFolder = wcslen(lpszFolder);
  if (lpsz == lpszFolder) {
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) == 0 || lpszFolder[nFolder + 1] == 0) {
      pos = nullptr;
      return CString(lpszFolder);
    }
    lpsz = lpszFolder + nFolder + 1;  // the first name after the folder
  }
  CString name(lpsz);
  LPCTSTR lpszNext = lpsz + name.GetLength() + 1;
  pos = *lpszNext != 0 ? reinterpret_cast<POSITION>(const_cast<LPTSTR>(lpszNext)) : nullptr;
  CString path(lpszFolder);
  if (path.GetLength() > 0 && path[path.GetLength() - 1] != L'\\') path += L"\\";
  return path + name;
}

// ---- CColorDialog --------------------------------------------------------------------------------

COLORREF* PASCAL CColorDialog::GetSavedCustomColors() {
  static COLORREF customColors[16] = {
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
  return customColors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cc() {
  m_cc.lStructSize = sizeof(m_cc);
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.Flags = dwFlags;
  if ((m_cc.rgbResult = clrInit) != 0) m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal() {
  m_cc.hwndOwner = GetOwnerHwnd();
  return ::ChooseColor(&m_cc) ? IDOK : IDCANCEL;
}

// ---- CFontDialog ---------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cf(), m_lf(), m_szStyleName() {
  m_cf.lStructSize = sizeof(m_cf);
  m_cf.lpLogFont = &m_lf;
  m_cf.lpszStyle = m_szStyleName;
  m_cf.Flags = dwFlags;
  if (lplfInitial != nullptr) {
    m_lf = *lplfInitial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  if (pdcPrinter != nullptr) {
    m_cf.hDC = pdcPrinter->m_hAttribDC;
    m_cf.Flags |= CF_PRINTERFONTS;
  }
}

INT_PTR CFontDialog::DoModal() {
  m_cf.hwndOwner = GetOwnerHwnd();
  return ::ChooseFont(&m_cf) ? IDOK : IDCANCEL;
}

// ---- CPrintDialog --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd() {
  m_pd.lStructSize = sizeof(m_pd);
  m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
  m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
  if (m_pd.hDevMode != nullptr) ::GlobalFree(m_pd.hDevMode);
  if (m_pd.hDevNames != nullptr) ::GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal() {
  m_pd.hwndOwner = GetOwnerHwnd();
  return ::PrintDlg(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  DWORD dwFlags = m_pd.Flags;
  m_pd.Flags = (dwFlags | PD_RETURNDEFAULT) & ~PD_RETURNDC;
  // PD_RETURNDEFAULT wants no device blocks of its own.
  if (m_pd.hDevMode != nullptr) ::GlobalFree(m_pd.hDevMode);
  if (m_pd.hDevNames != nullptr) ::GlobalFree(m_pd.hDevNames);
  m_pd.hDevMode = m_pd.hDevNames = nullptr;
  BOOL bResult = ::PrintDlg(&m_pd);
  m_pd.Flags = dwFlags;
  return bResult;
}

HDC CPrintDialog::CreatePrinterDC() {
  LPDEVMODE pDevMode = GetDevMode();
  CString driver = GetDriverName(), device = GetDeviceName(), port = GetPortName();
  HDC hDC = device.IsEmpty() ? nullptr : ::CreateDC(driver, device, port, pDevMode);
  if (pDevMode != nullptr) ::GlobalUnlock(m_pd.hDevMode);
  m_pd.hDC = hDC;
  return hDC;
}

// Locked; the caller unlocks m_pd.hDevMode when done.
LPDEVMODE CPrintDialog::GetDevMode() const {
  return m_pd.hDevMode ? static_cast<LPDEVMODE>(::GlobalLock(m_pd.hDevMode)) : nullptr;
}

CString CPrintDialog::DevNamesString(size_t offsetMember) const {
  if (m_pd.hDevNames == nullptr) return CString();
  auto* names = static_cast<LPDEVNAMES>(::GlobalLock(m_pd.hDevNames));
  if (names == nullptr) return CString();
  WORD offset = *reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(names) + offsetMember);
  CString text(reinterpret_cast<LPCTSTR>(names) + offset);
  ::GlobalUnlock(m_pd.hDevNames);
  return text;
}

CString CPrintDialog::GetDriverName() const { return DevNamesString(offsetof(DEVNAMES, wDriverOffset)); }

CString CPrintDialog::GetDeviceName() const { return DevNamesString(offsetof(DEVNAMES, wDeviceOffset)); }

CString CPrintDialog::GetPortName() const { return DevNamesString(offsetof(DEVNAMES, wOutputOffset)); }

int CPrintDialog::GetCopies() const {
  if (m_pd.Flags & PD_USEDEVMODECOPIES) {
    LPDEVMODE pDevMode = GetDevMode();
    if (pDevMode != nullptr) {
      int nCopies = pDevMode->dmCopies;
      ::GlobalUnlock(m_pd.hDevMode);
      return nCopies;
    }
  }
  return m_pd.nCopies;
}
