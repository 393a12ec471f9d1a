// CXTPControlComboBox: the combo box on a command bar (control type 5), a popup control whose sub-bar
// is its drop-down list (CXTPControlComboBoxList). Editable (DropDown) combos own an edit window made
// on their first placement; drop-lists draw the selected item's text themselves. Typed text can be
// completed from the list. The site hears selection, focus, edit and list changes through
// XTP_WM_COMMANDNOTIFY (codes 1 to 10). User-interface thread only.
#pragma once

#include "ControlPopup.h"
#include "XTPEdit.h"

class CXTPControlComboBox;
class CXTPControlComboBoxList;
class CXTPShellAutoComplete;

// The edit window of a combo box.
class CXTPComboEditWindow : public CXTPEdit {
 public:
  explicit CXTPComboEditWindow(CXTPControlComboBox* pControl) : m_pControl(pControl) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CXTPControlComboBox* m_pControl;
};

// Combo notification codes sent to the site.
enum {
  XTP_CBN_SELCHANGE = 1,
  XTP_CBN_SETFOCUS = 3,
  XTP_CBN_KILLFOCUS = 4,
  XTP_CBN_EDITCHANGE = 5,
  XTP_CBN_DROPDOWN = 7,
  XTP_CBN_CLOSEUP = 8,
  XTP_CBN_SELENDOK = 9,
  XTP_CBN_SELENDCANCEL = 10,
};

class CXTPControlComboBox : public CXTPControlPopup {
  DECLARE_SERIAL(CXTPControlComboBox)

 public:
  CXTPControlComboBox();
  ~CXTPControlComboBox() override;

  // ---- Added virtual operations, in their slot order ----
  // The selected item's text; empty without a list window or a selection.
  virtual CString GetListText() const;
  virtual void GetCharFormat(COLORREF& clrText, COLORREF& clrBack);
  // The drop-list's selected text (or hint) and the edit icon inside rc.
  virtual void DrawEditText(CDC* pDC, CRect rc);
  virtual CString GetSelectedText() const { return GetListText(); }
  virtual void CreateEditWindow();
  virtual void OnSetFocus(CWnd* pOldWnd);
  virtual void OnKillFocus();
  virtual void OnSelChanged();
  // Typed completion and list synchronisation; code 5.
  virtual void OnEditChanged();
  virtual void AdjustEditRect(CRect& rc);

  // ---- Overrides ----
  void SetEnabled(BOOL bEnabled) override;
  void SetFocused(BOOL bFocused) override;
  BOOL IsFocused() const override { return m_bFocused; }
  void SetRect(CRect rcControl) override;
  BOOL IsCaptionVisible() override { return m_comboStyle == 1 && !GetCaption().IsEmpty(); }
  BOOL IsEqual(CXTPControl* pOther) override;
  void SetHideFlags(DWORD dwFlags) override;
  void OnCalcDynamicSize(DWORD dwMode) override;
  void DoPropExchange(CXTPPropExchange* pPX) override;
  // Enter or a mnemonic: a combo without the keyboard takes it, a focused one runs.
  void OnKeyboardActivate() override { OnClick(TRUE); }
  BOOL IsFocusable() const override { return TRUE; }
  int OnHookKeyDown(UINT nChar, LPARAM lParam) override;
  void SetParent(CXTPCommandBar* pParent) override;
  void Copy(CXTPControl* pControl, BOOL bRecursive = FALSE) override;
  void OnClick(BOOL bKeyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
  void OnMouseHover() override;
  BOOL OnSetSelected(int bSelected) override;
  BOOL IsCustomizeResizeAllowed() const override { return TRUE; }
  int GetCustomizeMinWidth() const override { return m_nThumbWidth + m_nLabelWidth + 5; }
  void SetWidth(int nWidth) override;
  BOOL SetPopuped(BOOL bPopuped) override;
  void OnExecute() override;

  // ---- Text, list and settings ----
  CString GetEditText() const;
  void SetEditText(LPCTSTR lpszText);
  CString GetEditHint() const { return m_strEditHint; }
  void SetEditHint(LPCTSTR lpszHint);
  BOOL IsHintShown() const { return m_bHintShown; }
  void SetShellAutoComplete(DWORD dwFlags);
  DWORD GetShellAutoCompleteFlags() const { return m_dwShellAutoCompleteFlags; }
  BOOL GetDropDown() const { return m_bDropDown; }
  void SetDropDown(BOOL bDropDown);
  BOOL GetAutoComplete() const { return m_bAutoComplete; }
  void SetAutoComplete(BOOL bAutoComplete) { m_bAutoComplete = bAutoComplete; }
  int GetCurSel() const;
  void SetCurSel(int nIndex);
  BOOL IsListOpen() const;
  int GetDropDownItemCount() const { return m_nDropDownItemCount; }
  void SetDropDownItemCount(int nCount) { m_nDropDownItemCount = std::max(1, nCount); }
  int GetEditIconId() const { return m_nEditIconId; }
  void SetEditIconId(int nId) { m_nEditIconId = nId; }
  // 1 shows the caption as a label.
  int GetComboStyle() const { return m_comboStyle; }
  void SetComboStyle(int nStyle) { m_comboStyle = nStyle; }
  int GetWidth() const { return m_nWidth; }
  int GetLabelWidth() const { return m_nLabelWidth; }
  int GetThumbWidth() const { return m_nThumbWidth; }
  // Stored by the paint theme when it measures; a change marks the bar for layout.
  void SetLabelWidth(int nWidth);
  void SetThumbWidth(int nWidth);
  CXTPEdit* GetEditCtrl() const { return m_pEdit; }
  CXTPControlComboBoxList* GetComboBoxList() const;

  // Items of the list (the list's window is made when needed).
  int AddString(LPCTSTR lpszString);
  int InsertString(int nIndex, LPCTSTR lpszString);
  int GetCount() const;
  CString GetLBText(int nIndex) const;
  void ResetContent();
  int FindStringExact(int nStartAfter, LPCTSTR lpszString) const;

 protected:
  void DestroyEditWindow();
  void ShowText(const CString& strText);
  void ApplyWindowFormat();
  void OnWindowTextChanged();
  // PageUp, PageDown, Up and Down move the list's selection (and the field follows); TRUE when moved.
  BOOL MoveListSelection(UINT nChar);

  CXTPComboEditWindow* m_pEdit = nullptr;
  BOOL m_bDropDown = FALSE;
  int m_comboStyle = 0;
  int m_nWidth = 100;
  int m_nLastSel = -1;
  CString m_strLastText;
  BOOL m_bDelayReposition = FALSE;
  int m_nLabelWidth = 0;
  int m_nThumbWidth = 0;
  CString m_strEditHint;
  BOOL m_bAutoComplete = FALSE;
  BOOL m_bIgnoreAutoComplete = FALSE;
  DWORD m_dwShellAutoCompleteFlags = 0;
  BOOL m_bFocused = FALSE;
  int m_nEditIconId = 0;
  BOOL m_bSelEndOk = FALSE;
  int m_nDropDownItemCount = 12;
  mutable CString m_strEditText;
  mutable BOOL m_bEditChanged = TRUE;
  CXTPShellAutoComplete* m_pAutoComplete = nullptr;
  int m_nCurSel = -1;
  BOOL m_bHintShown = FALSE;
  BOOL m_bInEditChange = FALSE;

  friend class CXTPComboEditWindow;
  friend class CXTPControlComboBoxList;
};
