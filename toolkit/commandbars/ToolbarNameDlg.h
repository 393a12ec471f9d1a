// CXTPToolbarNameDlg: the small dialog that names a new toolbar or renames one; it proposes a free
// "Custom %d" name, refuses blank and taken names and picks a free bar id for a new toolbar.
#pragma once

#include <afxwin.h>

class CXTPCommandBars;
class CXTPToolBar;

// Created and run on the user-interface thread of the command bars' frame.
class CXTPToolbarNameDlg : public CDialog {
 public:
  // pToolBar NULL: a new toolbar.
  CXTPToolbarNameDlg(CWnd* pParent, CXTPCommandBars* pCommandBars, CXTPToolBar* pToolBar = nullptr);

  INT_PTR DoModal() override;
  CString GetName() const { return m_strName; }
  // For a new toolbar after IDOK: the first id from 0xE800 that no bar has.
  UINT GetBarID() const { return m_nBarID; }

  // The name the dialog proposes for a new toolbar: "Custom %d" with the first number no bar's title has.
  static CString PASCAL SuggestName(CXTPCommandBars* pCommandBars);

  // The range of user toolbar ids: 0xE800 to 0xE8FE.
  enum { nFirstBarID = 0xE800, nBarIDCount = 255 };

  CString m_strName;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(CDataExchange* pDX) override;

  CXTPToolBar* m_pToolBar;
  CXTPCommandBars* m_pCommandBars;
  UINT m_nBarID = 0;
};
