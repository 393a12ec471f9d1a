// The template chooser over the template selection dialog.
#include "TemplateDlgChooser.h"

#include "TemplateDlg.h"

BOOL CTemplateDlgChooser::ChooseTemplate(const CStringArray& titles, int* selected) {
  if (selected == nullptr) return FALSE;
  CStringArray names;
  names.Copy(titles);
  CTemplateDlg dlg(m_hWndMain != nullptr && ::IsWindow(m_hWndMain) ? CWnd::FromHandle(m_hWndMain) : nullptr);
  dlg.m_pTemplateNames = &names;
  if (dlg.DoModal() != IDOK) return FALSE;
  if (dlg.m_nSelected < 0 || dlg.m_nSelected >= titles.GetSize()) return FALSE;
  *selected = dlg.m_nSelected;
  return TRUE;
}
