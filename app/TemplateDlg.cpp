// The template selection dialog.
#include "TemplateDlg.h"

#include <algorithm>

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
  // The one column spans the list, and is wider still when a title or its heading needs it, so that
  // every text shows whole.
  m_list.SetColumnWidth(0, LVSCW_AUTOSIZE);
  const int nTitles = m_list.GetColumnWidth(0);
  m_list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
  CRect rcList;
  m_list.GetClientRect(&rcList);
  m_list.SetColumnWidth(0, std::max({nTitles, m_list.GetColumnWidth(0), static_cast<int>(rcList.Width())}));
  // The first row is chosen as the dialog opens: Enter takes it, as it takes a row the user chose.
  if (m_list.GetItemCount() > 0) {
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetSelectionMark(0);
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
