// The template selection dialog.
#include "TemplateDlg.h"

// An empty map leaves the macro's class typedef unused.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-local-typedefs"
BEGIN_MESSAGE_MAP(CTemplateDlg, CDialog)
END_MESSAGE_MAP()
#pragma GCC diagnostic pop

CTemplateDlg::CTemplateDlg(CWnd* pParent)
    : CDialog(CTemplateDlg::IDD, pParent), m_pTemplateNames(nullptr), m_nSelected(-1) {}

void CTemplateDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TEMPLATE_LIST, m_list);
}

BOOL CTemplateDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_list.InsertColumn(0, L"Template Name", LVCFMT_LEFT, 100);
  if (m_pTemplateNames != nullptr) {
    for (INT_PTR i = 0; i < m_pTemplateNames->GetSize(); ++i) {
      m_list.InsertItem(static_cast<int>(i), m_pTemplateNames->GetAt(i));
    }
  }
  return TRUE;
}

void CTemplateDlg::OnOK() {
  const int mark = m_list.GetSelectionMark();
  if (mark < 0) {
    MessageBox(L"Please select template");
    return;
  }
  m_nSelected = mark;
  CDialog::OnOK();
}
