// C1TovinWelcomeView: the first wizard page. It takes the path of the PST file to convert, runs the
// Save Options dialog for the target NSF and hands both to the main frame before the saving page
// starts; it also keeps a list of NSF files from which Preview opens one on the browser page.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "BrowseEdit.h"
#include "Button.h"
#include "OptionButton.h"
#include "ShellIconList.h"
#include "TovinCommonBaseView.h"

// The page's path field: an edit that owns a toolkit browse edit (a hidden child, set to file
// browsing) which runs the file dialog for it. It takes a whole path of any length the system knows;
// whether the program can open it is checked where the path is used. User-interface thread only.
class CPathEdit : public CEdit {
 public:
  CPathEdit();

  // The field and its browse edit; FALSE when either cannot be made.
  BOOL CreatePathEdit(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // The file dialog's filter, "PST File(*.pst)|*.pst||".
  void SetFilter(LPCTSTR lpszFilter);
  // The same text into the field and into the browse edit.
  void SetPath(LPCTSTR lpszPath);
  CString GetPath() const;
  // Runs the file dialog (starting from the field's text); the chosen path goes into the field, and a
  // cancel leaves the field as it was.
  void Browse();

  CXTBrowseEdit m_browse;
  CString m_strFilter;

 protected:
  // A path pasted with line breaks (copied with its line's end) goes in without them: the one-line
  // field would refuse the whole paste.
  afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// Created by the main view on the user-interface thread; only that thread touches it.
class C1TovinWelcomeView : public CTovinCommonBaseView {
  DECLARE_DYNCREATE(C1TovinWelcomeView)

 public:
  C1TovinWelcomeView();
  // Leaves the shell's image list alone: it belongs to the system.
  ~C1TovinWelcomeView() override;

  // Validates the PST path, runs the Save Options dialog and moves to the saving page.
  void OnNext() override;
  // Opens the selected local NSF of the list on the browser page.
  void OnPreview() override;
  LRESULT OnPageActivated(WPARAM wParam, LPARAM lParam) override;
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

  // The main view's locate-NSF tool: browses for the PST (option 1) or the NSF (option 2).
  void OnLocateNsf();
  // Rows for the Domino files of pServer, each once per path and server.
  void AddDominoFiles(const CString& strServer, const CStringArray& arrPaths);
  BOOL IsFileListed(const CString& strPath, const CString& strServer);

  // The texts of the page's checks, as the user sees them.
  static const wchar_t NO_PST_TEXT[];
  static const wchar_t INVALID_FILE_TEXT[];
  static const wchar_t NOT_PST_TEXT[];
  static const wchar_t PATH_TOO_LONG_TEXT[];

  CStringArray m_arrUnused1;
  CStringArray m_arrUnused2;
  CStatic m_iconPst;
  CStatic m_iconNsf;
  CPathEdit m_editPst;
  CPathEdit m_editNsf;
  CListCtrl m_listFiles;
  CXTButton m_btnSelectPst;
  CXTButton m_btnAddDomino;
  CXTButton m_btnSelectNsf;
  CXTButton m_btnRemove;
  CXTButton m_btnRemoveAll;
  COptionButton m_optExisting;
  COptionButton m_optNew;
  CBrush m_brushWhite;
  int m_nSourceOption;
  CShellIconList m_shellIcons;
  // The system's small-icon list, shared with the file list; never destroyed here.
  CImageList* m_pSystemImageList;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg LRESULT OnSourceOption(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSelectPstButton();
  afx_msg void OnSelectNsfButton();
  // Runs the Domino file selection dialog.
  afx_msg void OnAddDominoFiles();
  afx_msg void OnRemoveFile();
  afx_msg void OnRemoveAllFiles();
  afx_msg LRESULT OnSelectPstFile(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelectNsfFile(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExport(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);

  DECLARE_MESSAGE_MAP()

 private:
  // The current step follows the PST field: 1 with a path, 0 without; the page is repainted.
  void FollowPstField();
  // Hands the page's system image list to the main frame (for the browser's preview pane).
  void HandOverSystemImageList();

  CImageList m_imlSystem;
};
