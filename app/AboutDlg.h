// The About box: the program's name and version, with the maker's contact lines as a link to its site.
#pragma once

#include <afxwin.h>

#include "HyperLink.h"
#include "resource.h"

// Run modally by the application's About command on the user-interface thread.
class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

  enum { IDD = IDD_ABOUTBOX };

  // The text shown by control 1008.
  static CString GetAboutText();

  CXTHyperLink m_link;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();

  DECLARE_MESSAGE_MAP()
};
