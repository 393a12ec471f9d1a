// The toolbar name dialog of the toolbars page.
#include "ToolbarNameDlg.h"

#include "CommandBars.h"
#include "ToolBar.h"

#include <ResourceSource.h>
#include <ToolkitResource.h>

namespace {

BOOL AnyBarTitled(CXTPCommandBars* pCommandBars, const CString& strTitle, const CXTPToolBar* pExcept) {
  for (int i = 0; i < pCommandBars->GetCount(); ++i) {
    CXTPToolBar* pBar = pCommandBars->GetAt(i);
    if (pBar != pExcept && pBar->GetTitle() == strTitle) return TRUE;
  }
  return FALSE;
}

}  // namespace

CXTPToolbarNameDlg::CXTPToolbarNameDlg(CWnd* pParent, CXTPCommandBars* pCommandBars, CXTPToolBar* pToolBar)
    : CDialog(XTP_IDD_NEWTOOLBAR, pParent), m_pToolBar(pToolBar), m_pCommandBars(pCommandBars) {}

INT_PTR CXTPToolbarNameDlg::DoModal() {
  if (LPCDLGTEMPLATE pTemplate = GetToolkitResourceManager()->LoadDialogTemplate(XTP_IDD_NEWTOOLBAR))
    InitModalIndirect(pTemplate, m_pParentWnd);
  return CDialog::DoModal();
}

CString PASCAL CXTPToolbarNameDlg::SuggestName(CXTPCommandBars* pCommandBars) {
  CString strFormat;
  GetToolkitResourceManager()->LoadString(strFormat, XTP_IDS_CUSTOM_BAR);
  CString strName;
  // A clash restarts the scan from the first bar with the next number; the bar count bounds the search.
  for (int n = 1; n <= pCommandBars->GetCount() + 1; ++n) {
    strName.Format(strFormat, n);
    if (!AnyBarTitled(pCommandBars, strName, nullptr)) break;
  }
  return strName;
}

BOOL CXTPToolbarNameDlg::OnInitDialog() {
  if (m_pToolBar == nullptr) {
    m_strName = SuggestName(m_pCommandBars);
  } else {
    m_strName = m_pToolBar->GetTitle();
    CString strCaption;
    GetToolkitResourceManager()->LoadString(strCaption, XTP_IDS_RENAMETOOLBAR);
    SetWindowText(strCaption);
  }
  CDialog::OnInitDialog();
  return TRUE;
}

void CXTPToolbarNameDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, XTP_IDC_TOOLBAR_NAME, m_strName);
}

void CXTPToolbarNameDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  CXTResourceSource* pResources = GetToolkitResourceManager();
  if (m_strName.IsEmpty()) {
    pResources->ShowMessageBox(XTP_IDS_ERROR_BLANKNAME, MB_ICONSTOP);
    return;
  }
  if (AnyBarTitled(m_pCommandBars, m_strName, m_pToolBar)) {
    CString strFormat, strMessage;
    pResources->LoadString(strFormat, XTP_IDS_ERROR_EXISTS);
    strMessage.Format(strFormat, static_cast<LPCTSTR>(m_strName));
    AfxMessageBox(strMessage, MB_ICONSTOP);
    return;
  }
  if (m_pToolBar != nullptr) {
    EndDialog(IDOK);
    return;
  }
  for (UINT nID = nFirstBarID; nID < nFirstBarID + nBarIDCount; ++nID) {
    if (m_pCommandBars->FindCommandBar(nID) == nullptr) {
      m_nBarID = nID;
      EndDialog(IDOK);
      return;
    }
  }
  pResources->ShowMessageBox(XTP_IDS_ERROR_LIMIT, MB_ICONSTOP);
  EndDialog(IDCANCEL);
}
