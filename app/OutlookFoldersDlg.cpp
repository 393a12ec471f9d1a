// The Outlook Folders dialog: the PST's folders as a check-box tree, and the ticked ones read back.
#include "OutlookFoldersDlg.h"

COutlookFoldersDlg::COutlookFoldersDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void COutlookFoldersDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_FOLDER_TREE, m_tree);
}

BOOL COutlookFoldersDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  for (INT_PTR i = 0; i < m_arrFolders.GetSize(); ++i) m_tree.AddPath(m_arrFolders[i], 0, 0);
  m_tree.Expand(m_tree.GetRootItem(), TVE_EXPAND);
  return TRUE;
}

void COutlookFoldersDlg::OnOK() {
  m_arrSelected.RemoveAll();
  m_tree.GetCheckedPaths(m_arrSelected);
  if (m_arrSelected.GetSize() == 0) {
    MessageBox(L"Please select outlook folder(s) that you want to save", nullptr, MB_OK);
    return;
  }
  EndDialog(IDOK);
}

BOOL COutlookFoldersDlg::PreTranslateMessage(MSG* pMsg) {
  // The tree view, which has the keyboard here, keeps system keys from the system's handling, so
  // Alt+F4 would never reach the dialog: it closes the dialog here, as the close button does.
  if (pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_F4 && (HIWORD(pMsg->lParam) & KF_ALTDOWN) != 0 &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}
