// CXTPControlEdit: the edit box on a command bar (control type 6). What is here is the control's
// data, its stored record and what the paint theme measures and draws; the edit window it owns while
// shown comes with the edit window class.
#pragma once

#include "Control.h"

class CXTPControlEdit : public CXTPControl {
  DECLARE_SERIAL(CXTPControlEdit)

 public:
  CXTPControlEdit();

  void DoPropExchange(CXTPPropExchange* pPX) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  BOOL IsEqual(CXTPControl* pOther) override;
  BOOL IsCaptionVisible() override { return m_bLabel; }
  BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
  int GetCustomizeMinWidth() const override { return m_nLabelWidth + 20; }
  void SetWidth(int nWidth) override;

  int GetWidth() const { return m_nWidth; }
  BOOL GetShowLabel() const { return m_bLabel; }
  void ShowLabel(BOOL bShow);
  BOOL GetReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
  CString GetEditHint() const { return m_strEditHint; }
  void SetEditHint(LPCTSTR lpszHint) { m_strEditHint = lpszHint; }
  // The text, with the hint read as empty.
  CString GetEditText() const { return m_strEditText == m_strEditHint ? CString() : m_strEditText; }
  void SetEditText(LPCTSTR lpszText) { m_strEditText = lpszText; }
  int GetLabelWidth() const { return m_nLabelWidth; }
  // Stored by the paint theme when it measures; a change marks the bar for layout.
  void SetLabelWidth(int nWidth);
  DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }

 protected:
  int m_nWidth = 100;
  BOOL m_bLabel = TRUE;
  BOOL m_bReadOnly = FALSE;
  int m_nLabelWidth = 0;
  CString m_strEditHint;
  CString m_strEditText;
  DWORD m_dwShellAutoCompleteFlags = 0;
};
