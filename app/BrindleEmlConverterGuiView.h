// CBrindleEmlConverterGuiView: the program's only view. It paints the header, holds the wizard's tab
// window with the three pages, switches pages for the main frame, tells each newly selected page that
// it was activated, and passes the frame's menu commands and stop requests to the page that shows.
#pragma once

#include <afxwin.h>

#include "ImageButton.h"
#include "TabWnd.h"

class CMainFrame;
class CTovinCommonBaseView;

// Created by the document template inside the main frame, on the user-interface thread; only that
// thread touches it and its pages. Workers never send it messages.
class CBrindleEmlConverterGuiView : public CView {
  DECLARE_DYNCREATE(CBrindleEmlConverterGuiView)

 public:
  CBrindleEmlConverterGuiView();
  ~CBrindleEmlConverterGuiView() override;

  void OnDraw(CDC* pDC) override;

  // The tab window with its painter and the three pages; registers the view in the main frame.
  // FALSE when the tab window or a page could not be made (the wizard then has fewer pages).
  BOOL CreatePages();
  // Makes a page of pPageClass as the next tab. FALSE when it could not be made.
  BOOL AddPage(CRuntimeClass* pPageClass, LPCTSTR lpszCaption, int nImage);
  // The page of tab nIndex, or null.
  CTovinCommonBaseView* GetPage(int nIndex) const;
  // The selected tab's index, or -1.
  int GetSelectedPage() const;
  // Stops the workers of every page and waits for them (bounded), before the frame closes.
  void StopPageWorkers();

  CXTPTabWnd m_wndTabs;
  int m_nHeaderHeight;
  int m_nHeaderWidth;
  CTovinCommonBaseView* m_pActivePage;
  CImageButton m_btnLocateNsf;
  CImageButton m_btnHelp;
  CImageButton m_btnAbout;
  CImageButton m_btnConvert;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnTabSelChange(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnSelectPage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopProcess(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopEnumeration(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnLocateNsf(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelectPstFile(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelectNsfFile(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExport(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLocateNsfButton();
  afx_msg void OnHelpButton();
  afx_msg void OnAboutButton();
  afx_msg void OnConvertButton();

  DECLARE_MESSAGE_MAP()

 private:
  // Makes the selected page the frame's active view.
  void ActivateSelectedPage();
  // Sends msg to the page of tab nIndex when that page is the frame's active view; TRUE when sent.
  BOOL ForwardToActivePage(int nIndex, UINT msg);
  CMainFrame* GetMainFrameOfView() const;
};
