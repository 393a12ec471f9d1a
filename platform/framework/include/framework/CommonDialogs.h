// The system's common dialogs as framework dialogs: file open/save (CFileDialog) and colour
// choice (CColorDialog). Each runs modally on the calling thread.
#pragma once

#include "framework/Dialog.h"

#include <commdlg.h>

#include <vector>

class CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
 public:
  explicit CCommonDialog(CWnd* pParentWnd);

 protected:
  // The window that owns the dialog: the parent given, else the application's main window.
  HWND GetOwnerHwnd() const;
};

// The file name and the filter are copied: the caller's strings need not outlive the object.
// Filters use the framework's form, "|"-separated and ending in "||":
// "PST File(*.pst)|*.pst||". m_ofn may be changed between construction and DoModal.
class CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  OPENFILENAME m_ofn;

  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr, DWORD dwSize = 0);

  // IDOK when the user chose a file, IDCANCEL when the dialog was cancelled or failed.
  INT_PTR DoModal() override;

  // The chosen file: full path, name with extension, extension alone, name without extension.
  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  CString GetFileTitle() const;
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

  // With OFN_ALLOWMULTISELECT: every chosen path in turn.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

 protected:
  BOOL m_bOpenFileDialog;

 private:
  std::vector<WCHAR> m_fileBuffer;
  std::vector<WCHAR> m_fileTitle;
  std::vector<WCHAR> m_filter;
  CString m_strDefExt;
};

class CColorDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CColorDialog)
 public:
  CHOOSECOLOR m_cc;

  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
  // The custom colours the dialog shows, shared by every colour dialog of the process.
  static COLORREF* PASCAL GetSavedCustomColors();
};
