// The launcher's application object and its start.
#include "LauncherApp.h"

#include "LauncherDlg.h"

BEGIN_MESSAGE_MAP(CLauncherApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CLauncherApp theApp;

CLauncherApp::CLauncherApp() {}

BOOL CLauncherApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  CLauncherDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  return FALSE;
}
