// The template chooser over the template selection dialog.
#include "TemplateDlgChooser.h"

#include "TemplateDlg.h"
#include "WorkerDialogScope.h"

BOOL CTemplateDlgChooser::ChooseTemplate(const CStringArray& titles, int* selected) {
  if (selected == nullptr) return FALSE;
  CStringArray names;
  names.Copy(titles);
  const HWND hWndMain = m_hWndMain != nullptr && ::IsWindow(m_hWndMain) ? m_hWndMain : nullptr;
  CTemplateDlg dlg(hWndMain != nullptr ? CWnd::FromHandle(hWndMain) : nullptr);
  dlg.m_pTemplateNames = &names;
  INT_PTR nChoice = IDCANCEL;
  {
    CWorkerDialogScope scope(hWndMain, m_pGate);
    // A stop answered Yes while the dialog waited for its turn: the user is not asked any more.
    if (m_pStop == nullptr || *m_pStop == 0) nChoice = dlg.DoModal();
  }
  if (nChoice != IDOK) return FALSE;
  if (dlg.m_nSelected < 0 || dlg.m_nSelected >= titles.GetSize()) return FALSE;
  *selected = dlg.m_nSelected;
  return TRUE;
}
