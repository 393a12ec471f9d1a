// The launcher's main dialog: system menu, icon, and the launch itself.
#include "LauncherDlg.h"

#include <cstdlib>

#include "LauncherAboutDlg.h"
#include "LauncherSystem.h"
#include "MainProgramStart.h"

BEGIN_MESSAGE_MAP(CLauncherDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

CLauncherDlg::CLauncherDlg(CWnd* pParent) : CDialog(CLauncherDlg::IDD, pParent) {
  m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

BOOL CLauncherDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  CMenu* pSysMenu = GetSystemMenu(FALSE);
  if (pSysMenu != nullptr) {
    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUTBOX);
    if (!strAboutMenu.IsEmpty()) {
      pSysMenu->AppendMenu(MF_SEPARATOR);
      pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
    }
  }

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  FindNotesAndStartMainProgram(CLauncherSystem::Win32());

  // The launcher's process ends here on every path, always with exit code 0.
  EndDialog(0);
  exit(0);
}

void CLauncherDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    CLauncherAboutDlg dlgAbout;
    dlgAbout.DoModal();
  } else {
    CDialog::OnSysCommand(nID, lParam);
  }
}

// Draws the icon centred when the dialog is minimised.
void CLauncherDlg::OnPaint() {
  if (IsIconic()) {
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
  } else {
    CDialog::OnPaint();
  }
}

HCURSOR CLauncherDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }
