// The launcher's About box.
#include "LauncherAboutDlg.h"

// An empty map leaves the macro's class typedef unused.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-local-typedefs"
BEGIN_MESSAGE_MAP(CLauncherAboutDlg, CDialog)
END_MESSAGE_MAP()
#pragma GCC diagnostic pop

CLauncherAboutDlg::CLauncherAboutDlg() : CDialog(CLauncherAboutDlg::IDD) {}
