// The message shown when a conversion has completed: a white face with a picture and the text.
#pragma once

#include <afxwin.h>

#include "resource.h"

// Run modally by the conversion worker, which thus creates and alone touches its window; the worker
// gives it the main frame as parent, so that it stays in front of the frame and modal to it while the
// page waits for it. The worker runs it in a CWorkerDialogScope, so that it takes the keyboard as it
// opens.
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
