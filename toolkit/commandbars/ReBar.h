// CXTPReBar: the common-control rebar with command-bar toolbars as its bands. Each band's child is a
// toolbar and its id is the toolbar's bar id; the bands' minimum and ideal sizes follow the toolbars'
// own layouts. Created by the main frame on its user-interface thread, with id AFX_IDW_REBAR.
#pragma once

#include <afxext.h>

class CXTPToolBar;

class CXTPReBar : public CReBar {
  DECLARE_DYNCREATE(CXTPReBar)

 public:
  CXTPReBar() = default;

  // Takes the toolbar out of its dock bar and makes it the last band. FALSE when the band cannot be
  // added.
  BOOL AddToolBar(CXTPToolBar* pToolBar, DWORD dwStyle = RBBS_BREAK | RBBS_GRIPPERALWAYS);
  // The index of the band removed, -1 when the toolbar is no band.
  int RemoveToolBar(CXTPToolBar* pToolBar);
  // The last band holding the toolbar, -1 when none.
  int FindBand(CXTPToolBar* pToolBar) const;
  // The toolbar of a band; NULL for an index out of range or a band whose child is not a toolbar.
  CXTPToolBar* GetBandBar(int nBand) const;
  int GetBandCount() const;

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnChildSize(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};
