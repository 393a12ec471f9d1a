// Property sheets: a tabbed dialog of CPropertyPage pages (from resources or templates in memory,
// m_psp / m_psh filled as the system's structures), modal (DoModal runs the framework's modal loop
// on a modeless sheet) or modeless (Create). Pages and the sheet are attached to their objects at
// creation through the creation hook, so their message maps see WM_INITDIALOG.
#pragma once

#include <prsht.h>

#include "framework/Collections.h"
#include "framework/Dialog.h"

class CTabCtrl;
class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)

 public:
  CPropertyPage();
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
  ~CPropertyPage() override;

  void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
  void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

  // Return FALSE to refuse the page change (OnKillActive) or the activation (OnSetActive).
  virtual BOOL OnSetActive();
  virtual BOOL OnKillActive();
  virtual BOOL OnApply();
  virtual void OnReset();
  virtual BOOL OnQueryCancel() { return TRUE; }
  virtual LRESULT OnWizardBack() { return 0; }
  virtual LRESULT OnWizardNext() { return 0; }
  virtual BOOL OnWizardFinish() { return TRUE; }
  void SetModified(BOOL bChanged = TRUE);
  void CancelToClose();
  CPropertySheet* GetParentSheet() const;
  // Keys and clicks are the sheet's to check (PSM_ISDIALOGMESSAGE): the page does not run the dialog
  // manager itself, which would eat the sheet's Alt+letter keys and its buttons' mnemonics.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  PROPSHEETPAGE m_psp;
  BOOL m_bFirstSetActive = TRUE;  // the first activation follows OnInitDialog's own exchange

 protected:
  void OnOK() override;
  void OnCancel() override;
  void PreInitDialog() override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CString m_strCaption;
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)

 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CPropertySheet() override;

  void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_pages.GetSize()); }
  CPropertyPage* GetPage(int nPage) const { return static_cast<CPropertyPage*>(m_pages.GetAt(nPage)); }
  int GetPageIndex(CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
  CTabCtrl* GetTabControl() const;
  void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
  void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
  void PressButton(int nButton) { ::SendMessage(m_hWnd, PSM_PRESSBUTTON, nButton, 0); }
  void EndDialog(int nEndID);

  // IDOK or IDCANCEL; -1 when the sheet could not be created.
  virtual INT_PTR DoModal();
  // Modeless: FALSE when the sheet could not be created.
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
  virtual BOOL OnInitDialog();
  // Fills m_psh with the pages' PROPSHEETPAGE structures.
  virtual void BuildPropPageArray();

  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL ContinueModal() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  PROPSHEETHEADER m_psh;
  CWnd* m_pParentWnd;
  BOOL m_bModeless;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);

  CPtrArray m_pages;
  CString m_strCaption;
  PROPSHEETPAGE* m_pPageArray;
  HWND m_hWndTop;

  DECLARE_MESSAGE_MAP()

 private:
  // A page change by the keyboard or by PSM_SETCURSEL leaves the focus where it was: on the page the
  // control hid. This moves it to the current page's first control (the page itself when it has none),
  // so that the hidden page's mnemonics and keys do not act unseen; nothing when the focus is elsewhere.
  void KeepFocusOnCurrentPage();
};
