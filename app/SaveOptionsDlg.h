// The save choice of the browser page's Export: save in a PST or in an Exchange server.
#pragma once

#include <afxwin.h>

#include "resource.h"

// Run modally on the user-interface thread. After IDOK, m_nChoice is 1 for "Save in PST" (else 0) and
// the main frame's m_nSaveOption holds 1 or 2; Cancel stores nothing.
class CSaveOptionsDlg : public CDialog {
 public:
  explicit CSaveOptionsDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_SAVE_OPTIONS };

  CButton m_btnSaveInPst;
  CButton m_btnSaveInExchange;
  int m_nChoice;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
};
