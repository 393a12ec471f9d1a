// The saving-complete dialog's white face.
#include "SavingCompleteDlg.h"

BEGIN_MESSAGE_MAP(CSavingCompleteDlg, CDialog)
ON_WM_PAINT()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSavingCompleteDlg::CSavingCompleteDlg(CWnd* pParent) : CDialog(IDD, pParent) {
  m_brushWhite.CreateSolidBrush(RGB(255, 255, 255));
}

void CSavingCompleteDlg::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(&rc, RGB(255, 255, 255));
}

HBRUSH CSavingCompleteDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if ((nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_MSGBOX) && pWnd != nullptr &&
      pWnd->GetDlgCtrlID() == IDC_SAVING_COMPLETE_TEXT) {
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(RGB(255, 255, 255));
    return m_brushWhite;
  }
  return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
