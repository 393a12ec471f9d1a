// The message shown when a conversion has completed: a white face with a picture and the text.
#pragma once

#include <afxwin.h>

#include "resource.h"

// Run modally with no parent by the conversion worker, which thus creates and alone touches its window.
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
