// The keyboard page of the customize sheet.
#include "CustomizeShortcutsPage.h"

#include "AcceleratorManager.h"
#include "CommandBars.h"
#include "Control.h"
#include "Controls.h"
#include "CustomizeSheet.h"

#include <ResourceSource.h>
#include <ToolkitResource.h>

#include <vector>

namespace {

std::vector<ACCEL> CopyTable(HACCEL hAccel) {
  std::vector<ACCEL> table;
  const int nCount = hAccel != nullptr ? ::CopyAcceleratorTable(hAccel, nullptr, 0) : 0;
  if (nCount > 0) {
    table.resize(static_cast<size_t>(nCount));
    ::CopyAcceleratorTable(hAccel, table.data(), nCount);
  }
  return table;
}

}  // namespace

BEGIN_MESSAGE_MAP(CXTPCustomizeShortcutsPage, CPropertyPage)
ON_CBN_SELCHANGE(XTP_IDC_COMBO_CATEGORY, OnCategoryChanged)
ON_LBN_SELCHANGE(XTP_IDC_LBOX_ACCEL_COMMANDS, OnCommandChanged)
ON_LBN_SELCHANGE(XTP_IDC_LBOX_KEYS, OnKeyChanged)
ON_EN_CHANGE(XTP_IDC_EDIT_SHORTCUTKEY, OnShortcutChanged)
ON_BN_CLICKED(XTP_IDC_BUTTON_ASSIGN, OnAssign)
ON_BN_CLICKED(XTP_IDC_BUTTON_REMOVE, OnRemove)
ON_BN_CLICKED(XTP_IDC_BUTTON_ACCEL_RESET, OnResetAll)
END_MESSAGE_MAP()

CXTPCustomizeShortcutsPage::CXTPCustomizeShortcutsPage(CXTPCustomizeSheet* pSheet)
    : CPropertyPage(XTP_IDD_PAGE_KEYBOARD),
      m_editShortcut(pSheet->GetCommandBars()->GetShortcutManager()),
      m_pSheet(pSheet),
      m_categories(pSheet->GetCommandBars(), TRUE) {}

CXTPCustomizeShortcutsPage::~CXTPCustomizeShortcutsPage() = default;

CXTPCommandBars* CXTPCustomizeShortcutsPage::GetCommandBars() const { return m_pSheet->GetCommandBars(); }

void CXTPCustomizeShortcutsPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, XTP_IDC_COMBO_CATEGORY, m_wndCategory);
  DDX_Control(pDX, XTP_IDC_LBOX_ACCEL_COMMANDS, m_lstCommands);
  DDX_Control(pDX, XTP_IDC_LBOX_KEYS, m_lstKeys);
  DDX_Control(pDX, XTP_IDC_EDIT_SHORTCUTKEY, m_editShortcut);
  DDX_CBIndex(pDX, XTP_IDC_COMBO_CATEGORY, m_nCategory);
  DDX_Text(pDX, XTP_IDC_TXT_DESC_OVERVIEW, m_strDesc);
}

BOOL CXTPCustomizeShortcutsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  for (int i = 0; i < m_categories.GetCount(); ++i) {
    XTP_COMMANDBARS_CATEGORYINFO* pInfo = m_categories.GetAt(i);
    const int nItem = m_wndCategory.AddString(pInfo->strCategory);
    m_wndCategory.SetItemDataPtr(nItem, pInfo->pControls);
  }
  m_wndCategory.SetCurSel(0);
  m_nCategory = 0;
  if (GetCommandBars()->IsLayoutRTL()) {
    m_lstCommands.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
    m_wndCategory.ModifyStyleEx(0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR);
  }
  OnCategoryChanged();
  return TRUE;
}

BOOL CXTPCustomizeShortcutsPage::OnSetActive() {
  const BOOL bResult = CPropertyPage::OnSetActive();
  if (m_hWnd != nullptr) {
    UpdateData(TRUE);
    ReloadCommands();
    UpdateButtons();
  }
  return bResult;
}

BOOL PASCAL CXTPCustomizeShortcutsPage::IsListedCommand(CXTPControl* pControl) {
  if (pControl == nullptr || pControl->GetID() == 0) return FALSE;
  const XTPControlType type = pControl->GetType();
  if (type == xtpControlPopup || type == xtpControlButtonPopup || type == xtpControlSplitButtonPopup)
    return FALSE;
  // The recent-file entries name files, not commands.
  return pControl->GetID() < ID_FILE_MRU_FIRST || pControl->GetID() > ID_FILE_MRU_LAST;
}

void CXTPCustomizeShortcutsPage::ReloadCommands() {
  m_lstCommands.ResetContent();
  XTP_COMMANDBARS_CATEGORYINFO* pInfo = m_categories.GetAt(m_nCategory);
  if (pInfo != nullptr) {
    for (int i = 0; i < pInfo->pControls->GetCount(); ++i) {
      CXTPControl* pControl = pInfo->pControls->GetAt(i);
      if (!IsListedCommand(pControl)) continue;
      CString strCaption = pControl->GetCaption();
      strCaption.Remove(_T('&'));
      const int nItem = m_lstCommands.AddString(strCaption);
      m_lstCommands.SetItemDataPtr(nItem, pControl);
    }
  }
  m_lstCommands.SetCurSel(0);
}

void CXTPCustomizeShortcutsPage::OnCategoryChanged() {
  UpdateData(TRUE);
  ReloadCommands();
  ShowKeys();
  UpdateButtons();
}

CXTPControl* CXTPCustomizeShortcutsPage::GetSelectedCommand() const {
  const int nSel = m_lstCommands.GetCurSel();
  return nSel >= 0 ? static_cast<CXTPControl*>(m_lstCommands.GetItemDataPtr(nSel)) : nullptr;
}

void CXTPCustomizeShortcutsPage::ShowKeys() {
  m_lstKeys.ResetContent();
  CXTPControl* pControl = GetSelectedCommand();
  m_strDesc.Empty();
  if (pControl != nullptr) {
    CXTPAcceleratorManager* pManager = GetCommandBars()->GetShortcutManager();
    std::vector<ACCEL> table = CopyTable(pManager->GetAcceleratorTable());
    for (size_t i = 0; i < table.size(); ++i) {
      if (table[i].cmd != pControl->GetID()) continue;
      const int nItem = m_lstKeys.AddString(pManager->FormatShortcut(&table[i]));
      m_lstKeys.SetItemData(nItem, i);
    }
    m_strDesc = pControl->GetDescription();
  }
  UpdateData(FALSE);
  UpdateButtons();
}

void CXTPCustomizeShortcutsPage::UpdateButtons() {
  CString strText;
  m_editShortcut.GetWindowText(strText);
  const BOOL bKey = !strText.IsEmpty() && m_editShortcut.IsKeyDefined();
  GetDlgItem(XTP_IDC_BUTTON_ASSIGN)->EnableWindow(bKey && GetSelectedCommand() != nullptr);
  GetDlgItem(XTP_IDC_BUTTON_REMOVE)->EnableWindow(m_lstKeys.GetCurSel() != LB_ERR);
}

void CXTPCustomizeShortcutsPage::OnCommandChanged() { ShowKeys(); }
void CXTPCustomizeShortcutsPage::OnKeyChanged() { UpdateButtons(); }
void CXTPCustomizeShortcutsPage::OnShortcutChanged() { UpdateButtons(); }

void CXTPCustomizeShortcutsPage::OnAssign() {
  CXTPControl* pControl = GetSelectedCommand();
  if (pControl == nullptr || !m_editShortcut.IsKeyDefined()) return;
  CXTPAcceleratorManager* pManager = GetCommandBars()->GetShortcutManager();
  std::vector<ACCEL> table = CopyTable(pManager->GetAcceleratorTable());
  ACCEL accel = m_editShortcut.GetAccel();
  int nFound = -1;
  for (size_t i = 0; i < table.size(); ++i) {
    if ((table[i].fVirt | FNOINVERT) == (accel.fVirt | FNOINVERT) && table[i].key == accel.key) {
      nFound = static_cast<int>(i);
      break;
    }
  }
  if (nFound >= 0) {
    if (GetToolkitResourceManager()->ShowMessageBox(XTP_IDS_CONFIRM_REASSIGN,
                                                    MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
      return;
  } else {
    table.push_back(accel);
    nFound = static_cast<int>(table.size()) - 1;
  }
  table[static_cast<size_t>(nFound)] = accel;
  table[static_cast<size_t>(nFound)].cmd = static_cast<WORD>(pControl->GetID());
  pManager->SetAccelerators(table.data(), static_cast<int>(table.size()));
  ShowKeys();
  m_editShortcut.Reset();
  UpdateButtons();
}

void CXTPCustomizeShortcutsPage::OnRemove() {
  const int nSel = m_lstKeys.GetCurSel();
  if (nSel == LB_ERR) return;
  CXTPAcceleratorManager* pManager = GetCommandBars()->GetShortcutManager();
  std::vector<ACCEL> table = CopyTable(pManager->GetAcceleratorTable());
  const size_t nIndex = m_lstKeys.GetItemData(nSel);
  if (nIndex >= table.size()) return;
  if (nIndex != table.size() - 1) table[nIndex] = table.back();
  table.pop_back();
  pManager->SetAccelerators(table.empty() ? nullptr : table.data(), static_cast<int>(table.size()));
  ShowKeys();
}

void CXTPCustomizeShortcutsPage::OnResetAll() {
  if (GetToolkitResourceManager()->ShowMessageBox(XTP_IDS_CONFIRM_KEYBOARD,
                                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
    return;
  GetCommandBars()->GetShortcutManager()->ResetAccelerators();
  ShowKeys();
  UpdateButtons();
}
