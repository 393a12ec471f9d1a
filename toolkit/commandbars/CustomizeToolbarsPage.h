// CXTPCustomizeToolbarsPage: the "Tool&bars" page of the customize sheet: the list of bars with a check
// box that shows or hides each, and the buttons that create, rename, delete and reset toolbars.
#pragma once

#include <afxcmn.h>
#include <afxdlgs.h>

class CXTPCommandBars;
class CXTPCustomizeSheet;
class CXTPToolBar;

// Created and owned by the customize sheet on the user-interface thread.
class CXTPCustomizeToolbarsPage : public CPropertyPage {
  DECLARE_DYNCREATE(CXTPCustomizeToolbarsPage)

 public:
  explicit CXTPCustomizeToolbarsPage(CXTPCustomizeSheet* pSheet = nullptr);

  // Lists the bars again, keeping the selected bar and the top line.
  void RefreshToolbarsList();
  // The bar of the selected line, or NULL.
  CXTPToolBar* GetSelectedToolBar() const;
  // Selects the line of the bar (FALSE when the bar is not listed).
  BOOL SelectToolBar(CXTPToolBar* pToolBar);

  void OnNewToolbar();
  void OnRenameToolbar();
  void OnDeleteToolbar();
  void OnResetToolbar();

  CCheckListBox m_checkList;
  CButton m_btnNew;
  CButton m_btnRename;
  CButton m_btnDelete;
  CButton m_btnReset;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void UpdateButtons();
  CXTPCommandBars* GetCommandBars() const;

  afx_msg void OnSelectionChanged();
  afx_msg void OnCheckChanged();

  CXTPCustomizeSheet* m_pSheet;

  DECLARE_MESSAGE_MAP()
};
