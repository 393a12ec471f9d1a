// The application object's start-up.
#include "EmlConverterGuiApp.h"

#include "AboutDlg.h"
#include "BrindleEmlConverterGuiDoc.h"
#include "BrindleEmlConverterGuiView.h"
#include "MainFrame.h"
#include "SingleInstance.h"
#include "resource.h"

const wchar_t ANOTHER_INSTANCE_TEXT[] = L"Another Instance of Brindle for PST to NSF is running ";
const wchar_t PROFILE_REGISTRY_KEY[] = L"Local AppWizard-Generated Applications";

BEGIN_MESSAGE_MAP(CEmlConverterGuiApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CEmlConverterGuiApp::CEmlConverterGuiApp() = default;

BOOL CEmlConverterGuiApp::InitInstance() {
  AfxEnableControlContainer();
  AfxSocketInit();
  Enable3dControlsStatic();

  if (IsAnotherInstanceRunning()) {
    AfxMessageBox(ANOTHER_INSTANCE_TEXT, MB_OK);
    return FALSE;
  }

  AfxInitRichEdit();
  SetRegistryKey(PROFILE_REGISTRY_KEY);
  LoadStdProfileSettings(4);

  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CBrindleEmlConverterGuiDoc),
                                        RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CBrindleEmlConverterGuiView)));

  CCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  if (!ProcessShellCommand(cmdInfo)) return FALSE;

  if (m_pMainWnd == nullptr) return FALSE;
  m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
  m_pMainWnd->UpdateWindow();
  return TRUE;
}

void CEmlConverterGuiApp::OnAppAbout() {
  CAboutDlg aboutDlg;
  aboutDlg.DoModal();
}
