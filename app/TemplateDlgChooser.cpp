// The template chooser over the template selection dialog.
#include "TemplateDlgChooser.h"

#include "TemplateDlg.h"
#include "WorkerDialog.h"

BOOL CTemplateDlgChooser::ChooseTemplate(const CStringArray& titles, int* selected) {
  if (selected == nullptr) return FALSE;
  int nSelected = -1;
  const INT_PTR nChoice = CWorkerDialog::Ask(
      m_hWndMain, m_pGate,
      [&titles, &nSelected](CWnd* pOwner) {
        CStringArray names;
        names.Copy(titles);
        CTemplateDlg dlg(pOwner);
        dlg.m_pTemplateNames = &names;
        const INT_PTR nResult = dlg.DoModal();
        nSelected = dlg.m_nSelected;
        return nResult;
      },
      // A stop answered Yes while the dialog waited for its turn: the user is not asked any more.
      [this] { return m_pStop == nullptr || *m_pStop == 0; });
  if (nChoice != IDOK) return FALSE;
  if (nSelected < 0 || nSelected >= titles.GetSize()) return FALSE;
  *selected = nSelected;
  return TRUE;
}
