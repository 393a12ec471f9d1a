// The save choice of the browser page's Export.
#include "SaveOptionsDlg.h"

#include "MainFrame.h"

CSaveOptionsDlg::CSaveOptionsDlg(CWnd* pParent) : CDialog(IDD, pParent), m_nChoice(0) {}

void CSaveOptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SAVE_IN_PST, m_btnSaveInPst);
  DDX_Control(pDX, IDC_SAVE_IN_EXCHANGE, m_btnSaveInExchange);
}

BOOL CSaveOptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_btnSaveInPst.SetCheck(BST_CHECKED);
  m_btnSaveInExchange.SetCheck(BST_UNCHECKED);
  return TRUE;
}

void CSaveOptionsDlg::OnOK() {
  const BOOL bPst = m_btnSaveInPst.GetCheck() == BST_CHECKED;
  m_nChoice = bPst ? 1 : 0;
  if (CMainFrame* pFrame = GetMainFrame()) pFrame->m_nSaveOption = bPst ? 1 : 2;
  CDialog::OnOK();
}
