// File and colour dialogs over the system's common dialogs.
#include "afxwin.h"

#include "framework/CommonDialogs.h"

#include <cstddef>
#include <cwchar>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

namespace {

// Room for many names with OFN_ALLOWMULTISELECT; a single path needs far less.
constexpr size_t kFileBufferChars = 32768;
constexpr size_t kFileTitleChars = MAX_PATH;

}  // namespace

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
  BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
  return bResult ? IDOK : IDCANCEL;
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
