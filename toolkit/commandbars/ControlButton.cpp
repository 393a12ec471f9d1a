// The plain button: runs its command after click tracking on toolbars, on release in menus.
#include "ControlButton.h"

#include "CommandBar.h"
#include "StoredValues.h"

IMPLEMENT_SERIAL(CXTPControlButton, CXTPControl, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

CXTPControlButton::CXTPControlButton() { m_controlType = xtpControlButton; }

void CXTPControlButton::DoPropExchange(CXTPPropExchange* pPX) {
  CXTPControl::DoPropExchange(pPX);
  long nStyle = m_buttonStyle;
  PropExchangeStoredLong(pPX, _T("Style"), nStyle, xtpButtonAutomatic, xtpButtonAutomatic,
                         xtpButtonIconAndCaption);
  if (pPX->IsLoading()) m_buttonStyle = static_cast<XTPButtonStyle>(nStyle);
}

void CXTPControlButton::Copy(CXTPControl* pControl, BOOL bRecursive) {
  CXTPControl::Copy(pControl, bRecursive);
}

void CXTPControlButton::OnClick(BOOL bKeyboard, CPoint pt) {
  if (!m_bEnabled) return;
  if (IsCustomizeMode()) {
    if (m_pParent != nullptr) {
      m_pParent->SetPopuped(-1);
      m_pParent->SetSelected(-1);
    }
    OnCustomizeMouseDown(pt);
    return;
  }
  if (bKeyboard) {
    OnExecute();
  } else if (m_pParent != nullptr && m_pParent->GetType() != xtpBarTypePopup) {
    TrackClick();
  }
}

void CXTPControlButton::OnLButtonUp(CPoint) {
  if (m_bEnabled && m_pParent != nullptr && m_pParent->GetPosition() == xtpBarPopup) OnExecute();
}
