// The dialog in which the user ticks the Outlook folders of the PST that are to be converted.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include "FolderCheckTree.h"
#include "resource.h"

// The conversion driver fills m_arrFolders with every folder path of the PST, has the user-interface
// thread run the dialog modally with the main frame as its parent, and after IDOK reads m_arrSelected: the
// ticked paths in tree order, the root's "" first when it is ticked. OK with nothing ticked is refused with a
// message; Cancel gives IDCANCEL. Owned by the frame and modal to it, the dialog stays in front of the frame
// whatever the user clicks there, and it takes the keyboard as it opens. Escape, Alt+F4 and the caption's
// close button cancel it.
class COutlookFoldersDlg : public CDialog {
 public:
  explicit COutlookFoldersDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_OUTLOOK_FOLDERS };

  CFolderCheckTree m_tree;
  // Input: every folder path of the PST (backslash-terminated chains of names).
  CStringArray m_arrFolders;
  // Output: the ticked folder paths.
  CStringArray m_arrSelected;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
};
