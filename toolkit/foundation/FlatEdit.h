// CXTFlatEdit: an edit whose border the flat edit styles draw, hot while the pointer is over it or
// it has the focus. User-interface thread only.
#pragma once

#include <afxwin.h>

#include "FlatControlTheme.h"

class CXTFlatEdit : public CEdit, public CXTThemeStyleHost {
  DECLARE_DYNAMIC(CXTFlatEdit)

 public:
  CXTFlatEdit();
  ~CXTFlatEdit() override;

  BOOL IsHot() const { return m_bHot; }
  int GetFrameState();
  DWORD GetStyle() const { return CEdit::GetStyle(); }

 protected:
  afx_msg void OnNcPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()

 protected:
  BOOL m_bHot = FALSE;
};
