// The choice of a Notes mail template, asked when the engine creates a new NSF and none of the
// installed templates is a mail template.
#pragma once

#include <afxcmn.h>
#include <afxcoll.h>
#include <afxwin.h>

#include "resource.h"

// The caller sets m_pTemplateNames (its own array, kept until DoModal returns), runs DoModal, and
// after IDOK reads m_nSelected, an index into that array. Runs on whichever thread calls DoModal; the
// engine calls it from its worker thread, with the main frame as parent (the chooser's m_hWndMain). It
// asks for the foreground as it opens (DS_SETFOREGROUND).
class CTemplateDlg : public CDialog {
 public:
  explicit CTemplateDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_TEMPLATE_DLG };

  CListCtrl m_list;
  // Borrowed from the caller; null shows an empty list.
  CStringArray* m_pTemplateNames;
  // The chosen row after IDOK; -1 before.
  int m_nSelected;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  // Fills the list with the names in order under the column "Template Name", as wide as its widest text
  // or the list, and selects the first row.
  BOOL OnInitDialog() override;
  // Refuses to close without a chosen row ("Please select template").
  void OnOK() override;

  DECLARE_MESSAGE_MAP()
};
