// The Save Options dialog: the target NSF, a new file (folder and file name) or an existing file,
// and whether item content is saved in text format.
#pragma once

#include <afxwin.h>

#include "BrowseEdit.h"
#include "resource.h"

// Run modally by page one's Next (and the browser page's Export) on the user-interface thread. IDOK
// only when the input passed every check, in a fixed order with fixed messages; then either the folder
// and file name (new file) or the existing path is filled, the other left empty. The paths are taken
// as TypedPath reads them, the file name as FileNameOf does. Cancel leaves every
// result empty.
class CNsfSaveOptionsDlg : public CDialog {
 public:
  explicit CNsfSaveOptionsDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_NSF_SAVE_OPTIONS };

  // What the user means by the text of a path field: without the blanks, tabs, line breaks and double
  // quotes around it (a path copied from the shell comes in quotes).
  static CString TypedPath(const CString& strText);
  // The file name a field's text names: without the blanks, tabs and line breaks around it, and without
  // the dots and blanks at its end, which the system drops ("first.NSF." is "first.NSF").
  static CString FileNameOf(const CString& strText);
  // The path of a new NSF: strFolder, a backslash when it ends without one, strFileName, and
  // lpszExtension unless the name ends in ".nsf" already (in any case).
  static CString NewFilePath(const CString& strFolder, const CString& strFileName, LPCTSTR lpszExtension);
  // The message OnOK shows for a new file named strFileName in strFolder, or "" when it is accepted;
  // then *pFullPath is the file's path (NewFilePath with ".nsf").
  static CString CheckNewFile(const CString& strFolder, const CString& strFileName, CString* pFullPath);
  // The message OnOK shows for an existing file, or "" when it is accepted.
  static CString CheckExistingFile(const CString& strPath);

  // A name the system keeps for a device (CON, NUL, COM1 ...), with any extension.
  static const wchar_t RESERVED_NAME_TEXT[];
  // An existing file's path of MAX_PATH characters or more.
  static const wchar_t PATH_TOO_LONG_TEXT[];

  CButton m_btnNewFile;
  CEdit m_editFileName;
  CXTBrowseEdit m_editFolder;
  CXTBrowseEdit m_editExistingPath;
  CButton m_chkTextFormat;

  CString m_strFolder;
  CString m_strFileName;
  CString m_strExistingPath;
  BYTE m_bTextFormat;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnNewFile();
  afx_msg void OnExistingFile();

  DECLARE_MESSAGE_MAP()
};
