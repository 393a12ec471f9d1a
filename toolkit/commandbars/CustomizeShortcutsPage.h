// CXTPCustomizeShortcutsPage: the "&Keyboard" page of the customize sheet, where the user binds keys
// to commands by category, removes bindings or resets them to the table the program started with.
#pragma once

#include "CustomizeCategories.h"
#include "ShortcutEdit.h"

#include <afxcmn.h>
#include <afxdlgs.h>

class CXTPCustomizeSheet;
class CXTPControl;

// Created by the application (the main frame) with the sheet it is added to, on the user-interface
// thread; the application owns it.
class CXTPCustomizeShortcutsPage : public CPropertyPage {
 public:
  explicit CXTPCustomizeShortcutsPage(CXTPCustomizeSheet* pSheet);
  ~CXTPCustomizeShortcutsPage() override;

  BOOL AddCategoriesFromMenu(UINT nIDMenu, BOOL bListSubItems = FALSE) {
    return m_categories.AddCategoriesFromMenu(nIDMenu, bListSubItems);
  }
  BOOL AddCategory(LPCTSTR lpszCategory, CMenu* pMenu, BOOL bListSubItems = FALSE) {
    return m_categories.AddCategory(lpszCategory, pMenu, bListSubItems);
  }
  CXTPCustomizeCategories* GetCategories() { return &m_categories; }

  // The controls of the commands list: commands only (no popups, no id 0, no recent files).
  static BOOL PASCAL IsListedCommand(CXTPControl* pControl);
  // Binds the entry's key to the selected command (asking before re-binding a bound key).
  void OnAssign();
  void OnRemove();
  void OnResetAll();

  CComboBox m_wndCategory;
  CListBox m_lstCommands;
  CListBox m_lstKeys;
  CXTPShortcutEdit m_editShortcut;
  CString m_strDesc;
  int m_nCategory = 0;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void ReloadCommands();
  void ShowKeys();
  void UpdateButtons();
  CXTPControl* GetSelectedCommand() const;
  CXTPCommandBars* GetCommandBars() const;

  afx_msg void OnCategoryChanged();
  afx_msg void OnCommandChanged();
  afx_msg void OnKeyChanged();
  afx_msg void OnShortcutChanged();

  CXTPCustomizeSheet* m_pSheet;
  CXTPCustomizeCategories m_categories;

  DECLARE_MESSAGE_MAP()
};
