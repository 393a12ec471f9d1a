// The large-item prompt: the answer and the "Don't show this message again" box.
#include "LargeItemPromptDlg.h"

CLargeItemPromptDlg::CLargeItemPromptDlg(CWnd* pParent) : CDialog(IDD, pParent), m_bDontShowAgain(0) {}

void CLargeItemPromptDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DONT_SHOW_AGAIN, m_chkDontShowAgain);
}

void CLargeItemPromptDlg::OnOK() {
  m_bDontShowAgain = m_chkDontShowAgain.GetCheck() == BST_CHECKED ? 1 : 0;
  EndDialog(IDOK);
}

void CLargeItemPromptDlg::OnCancel() {
  m_bDontShowAgain = m_chkDontShowAgain.GetCheck() == BST_CHECKED ? 1 : 0;
  EndDialog(IDCANCEL);
}

int CLargeItemDialogPrompt::AskLargeItem(BOOL* dontShowAgain) {
  CLargeItemPromptDlg dlg(m_pOwner);
  // A dialog that could not be shown is no consent to read the whole body.
  const int nResult = dlg.DoModal() == IDOK ? IDOK : IDCANCEL;
  if (dontShowAgain != nullptr) *dontShowAgain = dlg.m_bDontShowAgain ? TRUE : FALSE;
  return nResult;
}
