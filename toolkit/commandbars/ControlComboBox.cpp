// The combo box's data, stored record, sizes and field text.
#include "ControlComboBox.h"

#include "CommandBar.h"

IMPLEMENT_SERIAL(CXTPControlComboBox, CXTPControlPopup, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControlComboBox::CXTPControlComboBox() { m_controlType = xtpControlComboBox; }

void CXTPControlComboBox::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControlPopup::DoPropExchange(pPX);
  long nWidth = m_nWidth, nComboStyle = m_comboStyle;
  PropExchangeBool(pPX, _T("DropDown"), m_bDropDown, TRUE);
  PropExchangeLong(pPX, _T("Width"), nWidth, 0);
  PropExchangeLong(pPX, _T("ComboStyle"), nComboStyle, 0);
  if (pPX->IsLoading()) {
    m_nWidth = nWidth;
    m_comboStyle = nComboStyle;
  }
  if (pPX->GetSchema() > 8) {
    long nFlags = static_cast<long>(m_dwShellAutoCompleteFlags), nEditIconId = m_nEditIconId;
    long nItemCount = m_nDropDownItemCount;
    PropExchangeString(pPX, _T("EditHint"), m_strEditHint, _T(""));
    PropExchangeLong(pPX, _T("ShellAutoCompleteFlags"), nFlags, 0);
    PropExchangeBool(pPX, _T("AutoComplete"), m_bAutoComplete, FALSE);
    PropExchangeLong(pPX, _T("EditIconId"), nEditIconId, 0);
    PropExchangeLong(pPX, _T("DropDownItemCount"), nItemCount, 12);
    if (pPX->IsLoading()) {
      m_dwShellAutoCompleteFlags = static_cast<DWORD>(nFlags);
      m_nEditIconId = nEditIconId;
      m_nDropDownItemCount = nItemCount;
    }
  }
}

void CXTPControlComboBox::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControlPopup::Copy(pControl, bRecursive);
  CXTPControlComboBox* pCombo = DYNAMIC_DOWNCAST(CXTPControlComboBox, pControl);
  if (pCombo == nullptr || pCombo == this) return;
  m_bDropDown = pCombo->m_bDropDown;
  m_comboStyle = pCombo->m_comboStyle;
  m_nWidth = pCombo->m_nWidth;
  m_strEditHint = pCombo->m_strEditHint;
  m_strEditText = pCombo->m_strEditText;
  m_bAutoComplete = pCombo->m_bAutoComplete;
  m_dwShellAutoCompleteFlags = pCombo->m_dwShellAutoCompleteFlags;
  m_nEditIconId = pCombo->m_nEditIconId;
  m_nDropDownItemCount = pCombo->m_nDropDownItemCount;
}

void CXTPControlComboBox::SetWidth(int nWidth) {
  if (m_nWidth == nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlComboBox::SetLabelWidth(int nWidth) {
  if (m_nLabelWidth == nWidth) return;
  m_nLabelWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlComboBox::SetThumbWidth(int nWidth) {
  if (m_nThumbWidth == nWidth) return;
  m_nThumbWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlComboBox::DrawEditText(CDC* pDC, CRect rc) {
  pDC->DrawText(GetListText(), &rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}
