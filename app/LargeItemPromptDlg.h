// The question asked before the preview of an item whose text is very large.
#pragma once

#include <afxwin.h>

#include "LargeItemPrompt.h"
#include "resource.h"

// Run modally by the document preview on the user-interface thread. IDOK: show the preview; IDCANCEL:
// do not. Either way m_bDontShowAgain tells whether "Don't show this message again" was ticked.
class CLargeItemPromptDlg : public CDialog {
 public:
  explicit CLargeItemPromptDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_LARGE_ITEM_PROMPT };

  CButton m_chkDontShowAgain;
  int m_bDontShowAgain;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override;
};

// The document preview's question as the wizard asks it: the dialog above, run modally over the owner
// window given here (the main frame; none: the application's main window). Called on the
// user-interface thread, as the preview runs there.
class CLargeItemDialogPrompt : public ILargeItemPrompt {
 public:
  explicit CLargeItemDialogPrompt(CWnd* pOwner = nullptr) : m_pOwner(pOwner) {}
  int AskLargeItem(BOOL* dontShowAgain) override;

 private:
  CWnd* m_pOwner;
};
