// The option button's click.
#include "OptionButton.h"

#include "WizardMessages.h"

BEGIN_MESSAGE_MAP(COptionButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

COptionButton::COptionButton() : m_nOptionType(0) {}

void COptionButton::OnClicked() {
  const int nState = GetCheck();
  CWnd* pParent = GetParent();
  if (pParent != nullptr) pParent->SendMessage(WM_OPTION_CLICKED, nState == 0 ? 1 : 0, m_nOptionType);
  SetCheck(GetCheck() == 0 ? 1 : 0);
}
