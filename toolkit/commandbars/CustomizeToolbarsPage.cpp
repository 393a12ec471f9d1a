// The toolbars page of the customize sheet.
#include "CustomizeToolbarsPage.h"

#include "CommandBars.h"
#include "CustomizeSheet.h"
#include "ToolBar.h"
#include "ToolbarNameDlg.h"

#include <ResourceSource.h>
#include <ToolkitResource.h>

IMPLEMENT_DYNCREATE(CXTPCustomizeToolbarsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CXTPCustomizeToolbarsPage, CPropertyPage)
ON_LBN_SELCHANGE(XTP_IDC_LIST_TOOLBARS, OnSelectionChanged)
ON_CONTROL(CLBN_CHKCHANGE, XTP_IDC_LIST_TOOLBARS, OnCheckChanged)
ON_BN_CLICKED(XTP_IDC_BUTTON_NEW, OnNewToolbar)
ON_BN_CLICKED(XTP_IDC_BUTTON_RENAME, OnRenameToolbar)
ON_BN_CLICKED(XTP_IDC_BUTTON_DELETE, OnDeleteToolbar)
ON_BN_CLICKED(XTP_IDC_BUTTON_RESET, OnResetToolbar)
END_MESSAGE_MAP()

CXTPCustomizeToolbarsPage::CXTPCustomizeToolbarsPage(CXTPCustomizeSheet* pSheet)
    : CPropertyPage(XTP_IDD_PAGE_TOOLBARS), m_pSheet(pSheet) {}

CXTPCommandBars* CXTPCustomizeToolbarsPage::GetCommandBars() const { return m_pSheet->GetCommandBars(); }

void CXTPCustomizeToolbarsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, XTP_IDC_LIST_TOOLBARS, m_checkList);
  DDX_Control(pDX, XTP_IDC_BUTTON_RENAME, m_btnRename);
  DDX_Control(pDX, XTP_IDC_BUTTON_NEW, m_btnNew);
  DDX_Control(pDX, XTP_IDC_BUTTON_DELETE, m_btnDelete);
  DDX_Control(pDX, XTP_IDC_BUTTON_RESET, m_btnReset);
}

BOOL CXTPCustomizeToolbarsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  RefreshToolbarsList();
  return TRUE;
}

CXTPToolBar* CXTPCustomizeToolbarsPage::GetSelectedToolBar() const {
  const int nSel = m_checkList.GetCurSel();
  if (nSel == LB_ERR) return nullptr;
  const int nBar = static_cast<int>(m_checkList.GetItemData(nSel));
  CXTPCommandBars* pCommandBars = GetCommandBars();
  return nBar >= 0 && nBar < pCommandBars->GetCount() ? pCommandBars->GetAt(nBar) : nullptr;
}

BOOL CXTPCustomizeToolbarsPage::SelectToolBar(CXTPToolBar* pToolBar) {
  for (int i = 0; i < m_checkList.GetCount(); ++i) {
    const int nBar = static_cast<int>(m_checkList.GetItemData(i));
    if (nBar < GetCommandBars()->GetCount() && GetCommandBars()->GetAt(nBar) == pToolBar) {
      m_checkList.SetCurSel(i);
      UpdateButtons();
      return TRUE;
    }
  }
  return FALSE;
}

void CXTPCustomizeToolbarsPage::RefreshToolbarsList() {
  CXTPToolBar* pSelected = GetSelectedToolBar();
  const int nTopIndex = m_checkList.GetTopIndex();
  m_checkList.ResetContent();
  CXTPCommandBars* pCommandBars = GetCommandBars();
  for (int i = 0; i < pCommandBars->GetCount(); ++i) {
    CXTPToolBar* pBar = pCommandBars->GetAt(i);
    // The menu bar is listed only while it shows.
    if (pBar->GetType() == xtpBarTypeMenuBar && !pBar->IsVisible()) continue;
    const int nItem = m_checkList.AddString(pBar->GetTitle());
    m_checkList.SetCheck(nItem, pBar->IsVisible() ? 1 : 0);
    m_checkList.SetItemData(nItem, static_cast<DWORD_PTR>(i));
    if (pBar == pSelected) m_checkList.SetCurSel(nItem);
  }
  if (nTopIndex != LB_ERR) m_checkList.SetTopIndex(nTopIndex);
  UpdateButtons();
}

void CXTPCustomizeToolbarsPage::UpdateButtons() {
  CXTPToolBar* pBar = GetSelectedToolBar();
  const BOOL bBuiltIn = pBar != nullptr && pBar->IsBuiltIn();
  m_btnReset.EnableWindow(pBar != nullptr && bBuiltIn);
  m_btnRename.EnableWindow(pBar != nullptr && !bBuiltIn);
  m_btnDelete.EnableWindow(pBar != nullptr && !bBuiltIn);
}

void CXTPCustomizeToolbarsPage::OnSelectionChanged() { UpdateButtons(); }

void CXTPCustomizeToolbarsPage::OnCheckChanged() {
  CXTPToolBar* pBar = GetSelectedToolBar();
  const int nSel = m_checkList.GetCurSel();
  if (pBar != nullptr && nSel != LB_ERR) {
    if (pBar->GetType() != xtpBarTypeMenuBar && pBar->IsCloseable()) {
      pBar->SetVisible(m_checkList.GetCheck(nSel) == 1);
    } else {
      m_checkList.SetCheck(nSel, pBar->IsVisible() ? 1 : 0);
    }
  }
  RefreshToolbarsList();
}

void CXTPCustomizeToolbarsPage::OnNewToolbar() {
  CXTPCommandBars* pCommandBars = GetCommandBars();
  CXTPToolbarNameDlg dlg(this, pCommandBars);
  if (dlg.DoModal() != IDOK) return;
  CXTPToolBar* pBar = pCommandBars->AddCustomBar(dlg.GetName(), dlg.GetBarID());
  RefreshToolbarsList();
  if (pBar != nullptr) SelectToolBar(pBar);
}

void CXTPCustomizeToolbarsPage::OnRenameToolbar() {
  CXTPToolBar* pBar = GetSelectedToolBar();
  const int nSel = m_checkList.GetCurSel();
  if (pBar == nullptr || pBar->IsBuiltIn()) return;
  CXTPToolbarNameDlg dlg(this, GetCommandBars(), pBar);
  if (dlg.DoModal() != IDOK) return;
  pBar->SetTitle(dlg.GetName());
  pBar->DelayRedraw();
  if (pBar->GetSafeHwnd() != nullptr) pBar->Invalidate(FALSE);
  const DWORD_PTR dwData = m_checkList.GetItemData(nSel);
  m_checkList.DeleteString(static_cast<UINT>(nSel));
  const int nItem = m_checkList.InsertString(nSel, dlg.GetName());
  m_checkList.SetCheck(nItem, pBar->IsVisible() ? 1 : 0);
  m_checkList.SetItemData(nItem, dwData);
  m_checkList.SetCurSel(nItem);
  UpdateButtons();
}

void CXTPCustomizeToolbarsPage::OnDeleteToolbar() {
  CXTPToolBar* pBar = GetSelectedToolBar();
  if (pBar == nullptr || pBar->IsBuiltIn()) return;
  CString strFormat, strMessage;
  GetToolkitResourceManager()->LoadString(strFormat, XTP_IDS_DELETETOOLBAR);
  strMessage.Format(strFormat, static_cast<LPCTSTR>(pBar->GetTitle()));
  if (AfxMessageBox(strMessage, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return;
  GetCommandBars()->Remove(pBar);
  RefreshToolbarsList();
}

void CXTPCustomizeToolbarsPage::OnResetToolbar() {
  CXTPToolBar* pBar = GetSelectedToolBar();
  if (pBar == nullptr || !pBar->IsBuiltIn()) return;
  pBar->ResetToolBar();
  RefreshToolbarsList();
}
