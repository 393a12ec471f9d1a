// CXTFlatComboBox: a combo box drawn flat by the flat combo styles, hot while the pointer is over
// it, completing typed text from its list. User-interface thread only.
#pragma once

#include <afxcmn.h>

#include "FlatControlTheme.h"

class CXTFlatComboBox : public CComboBox, public CXTThemeStyleHost {
  DECLARE_DYNAMIC(CXTFlatComboBox)

 public:
  CXTFlatComboBox();
  ~CXTFlatComboBox() override;

  // The background of the edit part when it shows no selection; -1 is colour-table slot 5.
  void SetBackColor(COLORREF clrBack) { m_clrBack = clrBack; }
  COLORREF GetBackColor() const { return m_clrBack; }
  // Typed text completes itself with the first list entry that begins with it.
  void EnableAutoCompletion(BOOL bEnable = TRUE) { m_bAutoComp = bEnable; }
  BOOL IsHot() const { return m_bHot; }
  // 1 normal, 2 hot (pointer over it or focused), 3 pressed (the list is down).
  int GetFrameState();
  DWORD GetStyle() const { return CComboBox::GetStyle(); }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnEditChange();
  afx_msg BOOL OnFocusChanged();
  DECLARE_MESSAGE_MAP()

 protected:
  void RedrawFlat();

  BOOL m_bHot = FALSE;
  BOOL m_bAutoComp = TRUE;
  int m_nLastLength = 0;  // the edit text's length after the last change
  COLORREF m_clrBack = COLORREF(-1);
};
