// The launcher's About box, reached from the main dialog's system menu.
#pragma once

#include <afxwin.h>

#include "resource.h"

class CLauncherAboutDlg : public CDialog {
 public:
  CLauncherAboutDlg();

  enum { IDD = IDD_ABOUTBOX };

 protected:
  DECLARE_MESSAGE_MAP()
};
