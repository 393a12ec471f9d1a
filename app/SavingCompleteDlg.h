// The message shown when a conversion has completed: a white face with a picture and the text.
#pragma once

#include <afxwin.h>

#include "resource.h"

// Run modally on the user-interface thread for the conversion worker, which waits for it
// (CWorkerDialog), with the main frame as parent, so that it stays in front of the frame and modal to
// it.
class CSavingCompleteDlg : public CDialog {
 public:
  explicit CSavingCompleteDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_SAVING_COMPLETE };

 protected:
  afx_msg void OnPaint();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

  DECLARE_MESSAGE_MAP()

 private:
  CBrush m_brushWhite;
};
