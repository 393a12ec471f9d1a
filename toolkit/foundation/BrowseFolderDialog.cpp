// The shell's folder browser.
#include "BrowseFolderDialog.h"

#include "ResourceSource.h"
#include "ToolkitResource.h"

CXTBrowseFolderDialog::CXTBrowseFolderDialog(CWnd* pParent, LPCTSTR lpszTitle, LPCTSTR lpszFolder) : m_bi() {
  if (lpszTitle != nullptr)
    m_strTitle = lpszTitle;
  else
    GetToolkitResourceManager()->LoadString(m_strTitle, XT_IDS_SELDIR);
  // A start folder that does not fit a path buffer is not a folder the browser could show.
  if (lpszFolder != nullptr && wcslen(lpszFolder) < MAX_PATH) lstrcpynW(m_szSelPath, lpszFolder, MAX_PATH);

  m_bi.hwndOwner = pParent->GetSafeHwnd();
  m_bi.pidlRoot = nullptr;
  m_bi.pszDisplayName = m_szSelPath;
  m_bi.lpszTitle = m_strTitle;
  m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
  m_bi.lpfn = BrowseCtrlCallback;
  m_bi.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CXTBrowseFolderDialog::Run() {
  // The new dialog style hosts shell views: the thread needs COM for as long as it runs.
  const HRESULT hrInit = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INT_PTR nResult = IDCANCEL;
  IMalloc* pMalloc = nullptr;
  if (SUCCEEDED(::SHGetMalloc(&pMalloc)) && pMalloc != nullptr) {
    m_bi.pszDisplayName = m_szSelPath;
    if (LPITEMIDLIST pidl = ::SHBrowseForFolderW(&m_bi)) {
      WCHAR szPath[MAX_PATH] = {};
      if (::SHGetPathFromIDListW(pidl, szPath)) {
        lstrcpynW(m_szSelPath, szPath, MAX_PATH);
        nResult = IDOK;
      }
      pMalloc->Free(pidl);
    }
    pMalloc->Release();
  }
  if (SUCCEEDED(hrInit)) ::CoUninitialize();
  return nResult;
}

int CALLBACK CXTBrowseFolderDialog::BrowseCtrlCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData) {
  auto* pThis = reinterpret_cast<CXTBrowseFolderDialog*>(lpData);
  if (pThis == nullptr) return 0;
  if (uMsg == BFFM_INITIALIZED) {
    WCHAR szStart[MAX_PATH] = {};
    if (pThis->m_szSelPath[0] != 0)
      lstrcpynW(szStart, pThis->m_szSelPath, MAX_PATH);
    else
      ::GetCurrentDirectoryW(MAX_PATH, szStart);
    if (szStart[0] != 0) ::SendMessageW(hWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(szStart));
  } else if (uMsg == BFFM_SELCHANGED && (pThis->m_bi.ulFlags & BIF_STATUSTEXT) != 0) {
    WCHAR szPath[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(lParam), szPath))
      ::SendMessageW(hWnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(szPath));
  }
  return 0;
}
