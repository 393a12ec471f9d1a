// C2TovinFolderTreeView: the browser page ("Folder Selection", tab 1), reached from page one's
// Preview. This class holds the page's frame within the wizard (its step, buttons and drawing); the
// folder tree, document grid and preview panes and their workers live in it as well.
#pragma once

#include <afxwin.h>

#include "TovinCommonBaseView.h"

// Created by the main view on the user-interface thread; only that thread touches it.
class C2TovinFolderTreeView : public CTovinCommonBaseView {
  DECLARE_DYNCREATE(C2TovinFolderTreeView)

 public:
  C2TovinFolderTreeView();
  ~C2TovinFolderTreeView() override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
  // Back to page one.
  void OnBack() override;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);

  DECLARE_MESSAGE_MAP()
};
