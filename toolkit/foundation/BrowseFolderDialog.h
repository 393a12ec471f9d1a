// CXTBrowseFolderDialog: the shell's folder browser, started on a given folder. Modal on the
// calling (user-interface) thread.
#pragma once

#include <afxwin.h>

#include <shlobj.h>

class CXTBrowseFolderDialog {
 public:
  // lpszFolder: the folder to start on (the current directory when empty or too long for a path).
  explicit CXTBrowseFolderDialog(CWnd* pParent = nullptr, LPCTSTR lpszTitle = nullptr,
                                 LPCTSTR lpszFolder = nullptr);
  virtual ~CXTBrowseFolderDialog() = default;
  CXTBrowseFolderDialog(const CXTBrowseFolderDialog&) = delete;
  CXTBrowseFolderDialog& operator=(const CXTBrowseFolderDialog&) = delete;

  // IDOK with the chosen folder in GetSelectedFolder, else IDCANCEL.
  virtual INT_PTR Run();
  CString GetSelectedFolder() const { return CString(m_szSelPath); }

  BROWSEINFOW m_bi;

 protected:
  static int CALLBACK BrowseCtrlCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

  int m_iImage = 0;
  WCHAR m_szSelPath[MAX_PATH] = {};
  CString m_strTitle;
};
