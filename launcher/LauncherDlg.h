// The launcher's main dialog. It is never seen: its initialisation finds Notes, starts the main
// program and ends the process with exit code 0.
#pragma once

#include <afxwin.h>

#include "resource.h"

class CLauncherDlg : public CDialog {
 public:
  explicit CLauncherDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_LAUNCHER_DIALOG };

 protected:
  // Adds the About item to the system menu, sets the icons, then runs the launch and exits the
  // process; it does not return.
  BOOL OnInitDialog() override;

  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();

  HICON m_hIcon;

  DECLARE_MESSAGE_MAP()
};
