// CXTPControlComboBox: the combo box on a command bar (control type 5), a popup control whose sub-bar
// is its drop-down list. What is here is the control's data, its stored record and what the paint
// theme measures and draws; the edit window and the list window come with the edit window class.
#pragma once

#include "ControlPopup.h"

class CXTPControlComboBox : public CXTPControlPopup {
  DECLARE_SERIAL(CXTPControlComboBox)

 public:
  CXTPControlComboBox();

  void DoPropExchange(CXTPPropExchange* pPX) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  BOOL IsCaptionVisible() override { return m_comboStyle == 1; }
  BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
  int GetCustomizeMinWidth() const override { return m_nLabelWidth + m_nThumbWidth + 20; }
  void SetWidth(int nWidth) override;
  // The text shown in the field: the selected item's, or the typed one.
  virtual CString GetListText() const { return m_strEditText; }
  // Draws the field's text into rc.
  virtual void DrawEditText(CDC* pDC, CRect rc);

  int GetWidth() const { return m_nWidth; }
  BOOL GetDropDown() const { return m_bDropDown; }
  void SetDropDown(BOOL bDropDown) { m_bDropDown = bDropDown; }
  // 1 shows the caption as a label.
  int GetComboStyle() const { return m_comboStyle; }
  void SetComboStyle(int nStyle) { m_comboStyle = nStyle; }
  CString GetEditHint() const { return m_strEditHint; }
  void SetEditHint(LPCTSTR lpszHint) { m_strEditHint = lpszHint; }
  CString GetEditText() const { return m_strEditText == m_strEditHint ? CString() : m_strEditText; }
  void SetEditText(LPCTSTR lpszText) { m_strEditText = lpszText; }
  int GetLabelWidth() const { return m_nLabelWidth; }
  int GetThumbWidth() const { return m_nThumbWidth; }
  // Stored by the paint theme when it measures; a change marks the bar for layout.
  void SetLabelWidth(int nWidth);
  void SetThumbWidth(int nWidth);
  int GetDropDownItemCount() const { return m_nDropDownItemCount; }

 protected:
  BOOL m_bDropDown = FALSE;
  int m_comboStyle = 0;
  int m_nWidth = 100;
  int m_nLabelWidth = 0;
  int m_nThumbWidth = 0;
  CString m_strEditHint;
  CString m_strEditText;
  BOOL m_bAutoComplete = FALSE;
  DWORD m_dwShellAutoCompleteFlags = 0;
  int m_nEditIconId = 0;
  int m_nDropDownItemCount = 12;
};
