// The edit control's data, stored record and sizes.
#include "ControlEdit.h"

#include "CommandBar.h"

IMPLEMENT_SERIAL(CXTPControlEdit, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControlEdit::CXTPControlEdit() { m_controlType = xtpControlEdit; }

void CXTPControlEdit::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControl::DoPropExchange(pPX);
  if (pPX->GetSchema() > 5) {
    long nWidth = m_nWidth;
    PropExchangeBool(pPX, _T("HasLabel"), m_bLabel, FALSE);
    PropExchangeLong(pPX, _T("Width"), nWidth, 0);
    if (pPX->IsLoading()) m_nWidth = nWidth;
  }
  if (pPX->GetSchema() > 7) PropExchangeBool(pPX, _T("ReadOnly"), m_bReadOnly, FALSE);
  if (pPX->GetSchema() > 8) {
    long nFlags = static_cast<long>(m_dwShellAutoCompleteFlags);
    PropExchangeString(pPX, _T("EditHint"), m_strEditHint, _T(""));
    PropExchangeLong(pPX, _T("ShellAutoCompleteFlags"), nFlags, 0);
    if (pPX->IsLoading()) m_dwShellAutoCompleteFlags = static_cast<DWORD>(nFlags);
  }
}

void CXTPControlEdit::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
  CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pControl);
  if (pEdit == nullptr || pEdit == this) return;
  m_nWidth = pEdit->m_nWidth;
  m_bLabel = pEdit->m_bLabel;
  m_bReadOnly = pEdit->m_bReadOnly;
  m_strEditHint = pEdit->m_strEditHint;
  m_strEditText = pEdit->m_strEditText;
  m_dwShellAutoCompleteFlags = pEdit->m_dwShellAutoCompleteFlags;
}

BOOL CXTPControlEdit::IsEqual(CXTPControl* pOther) {
  CXTPControlEdit* pEdit = DYNAMIC_DOWNCAST(CXTPControlEdit, pOther);
  return CXTPControl::IsEqual(pOther) && pEdit != nullptr && pEdit->m_nWidth == m_nWidth &&
         pEdit->m_bLabel == m_bLabel;
}

void CXTPControlEdit::SetWidth(int nWidth) {
  if (m_nWidth == nWidth) return;
  m_nWidth = nWidth;
  DelayLayoutParent();
}

void CXTPControlEdit::ShowLabel(BOOL bShow) {
  if (m_bLabel == bShow) return;
  m_bLabel = bShow;
  DelayLayoutParent();
}

void CXTPControlEdit::SetLabelWidth(int nWidth) {
  if (m_nLabelWidth == nWidth) return;
  m_nLabelWidth = nWidth;
  DelayLayoutParent();
}
