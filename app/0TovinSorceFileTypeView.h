// C0TovinSorceFileTypeView: the source type page, which asks whether a Domino server mailbox or NSF
// file(s) are to be converted, stores the choice in the main frame and asks for the next wizard tab.
// The main view does not insert it: it is created by name, from its run-time class.
#pragma once

#include <afxwin.h>

#include "OptionButton.h"
#include "TovinCommonBaseView.h"

class CMainFrame;

// The main frame that the first Next with the Domino option recorded, for the server-search stop;
// null until then.
extern CMainFrame* g_pSourceTypeFrame;

// Created as a child window on the user-interface thread; only that thread touches it. The page
// starts no worker: m_hThread stays null unless a caller stores a worker there, which the page then
// waits for (10 s, pumping sent messages) when it is destroyed; it never ends it.
// WM_STOP_ENUMERATION asks first and, on Yes, raises the stop flags of the frame recorded in
// g_pSourceTypeFrame; no thread is suspended.
class C0TovinSorceFileTypeView : public CTovinCommonBaseView {
  DECLARE_DYNCREATE(C0TovinSorceFileTypeView)

 public:
  C0TovinSorceFileTypeView();
  ~C0TovinSorceFileTypeView() override;

  // Stores the choice (2 Domino server mailbox, 1 anything else) in the main frame and asks for the
  // wizard tab with index 1.
  void OnNext() override;
  // Asks the main frame to close.
  void OnExit() override;
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

  enum { SOURCE_NSF_FILES = 1, SOURCE_DOMINO_MAILBOX = 2 };

  CBrush m_brushWhite;
  CStatic m_iconStatic;
  int m_nSourceOption;
  HANDLE m_hThread;
  COptionButton m_optDomino;
  COptionButton m_optNsf;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSourceOption(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopEnumeration(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()
};
