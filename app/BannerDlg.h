// The banner at the top right of the main frame: a picture that links to the maker's web site.
#pragma once

#include <afxwin.h>

#include "HyperLink.h"
#include "resource.h"

// Created once by the main frame on the user-interface thread (Create(IDD, frame), a child window the
// frame moves on every size) and destroyed with it; only that thread touches it.
class CBannerDlg : public CDialog {
 public:
  explicit CBannerDlg(CWnd* pParent = nullptr);

  enum { IDD = IDD_BANNER };

  // The picture (bitmap 225), shown by control 1026.
  CXTHyperLink m_link;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // The frame's child: Enter and Escape end nothing.
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnLinkClicked();

  DECLARE_MESSAGE_MAP()
};
