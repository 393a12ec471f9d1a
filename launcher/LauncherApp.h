// The launcher's application object: runs the main dialog, which does the launcher's whole work.
#pragma once

#include <afxwin.h>

class CLauncherApp : public CWinApp {
 public:
  CLauncherApp();

  // Runs CLauncherDlg modally and returns FALSE so that no message loop follows. The dialog ends
  // the process itself, so in practice this does not return.
  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};

extern CLauncherApp theApp;
