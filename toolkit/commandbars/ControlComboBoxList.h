// CXTPControlComboBoxList: the drop-down list of a combo box, a popup bar (position 6) whose window is
// a list box. The window is made when items are first added (or the list first opens) and only hidden
// when the list closes, so the items stay. It is never customizable. User-interface thread only.
#pragma once

#include "PopupBar.h"

class CXTPControlComboBox;

class CXTPControlComboBoxList : public CXTPPopupBar {
  DECLARE_SERIAL(CXTPControlComboBoxList)

 public:
  CXTPControlComboBoxList();

  // Makes the hidden list-box window when it is missing; FALSE when the system refuses.
  BOOL CreateListWindow();
  // Opens under the combo: the site may fill the list (XTP_WM_INITPOPUP), rows as the combo asks.
  BOOL Popup(CXTPControlPopup* pControlPopup, BOOL bSelectFirst = FALSE) override;
  BOOL EnterTracking(int nMode, BOOL bSelectFirst = FALSE, BOOL bKeyboard = FALSE) override;
  int OnKeyNavigate(UINT nChar) override;
  BOOL IsCustomizable() const override { return FALSE; }
  BOOL IsVisible() const override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  void CopyBarProperties(CXTPCommandBar* pSource, BOOL bRecursive) override;
  CXTPCommandBar* CreateCopy(BOOL bRecursive) override;
  BOOL DestroyWindow() override;
  void DelayLayout() override { CXTPCommandBar::DelayLayout(); }

  CXTPControlComboBox* GetComboBox() const { return m_pCombo; }
  // A key for the list box (as the list's dialog keys reach it); TRUE when its selection changed.
  BOOL ProcessListKey(UINT nChar);

  // The items (strings kept by the list box).
  int AddString(LPCTSTR lpszString);
  int InsertString(int nIndex, LPCTSTR lpszString);
  int GetCount() const;
  CString GetText(int nIndex) const;
  void ResetContent();
  int GetCurSel() const;
  void SetCurSel(int nIndex);
  int FindString(int nStartAfter, LPCTSTR lpszString) const;
  int FindStringExact(int nStartAfter, LPCTSTR lpszString) const;
  int GetItemHeight() const;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnNcPaint();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

  CXTPControlComboBox* m_pCombo = nullptr;

  DECLARE_MESSAGE_MAP()
};
