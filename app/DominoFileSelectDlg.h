// CDominoFileSelectDlg: the Domino file selection dialog (211). The user finds the Domino servers
// known to the Notes client or types one, clicks a server to list its databases, ticks some and adds
// them to page one's list of NSF files.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <functional>
#include <vector>

#include "PauseGate.h"
#include "resource.h"

class C1TovinWelcomeView;
class CMainFrame;
class CWinThread;

// Modal, run by page one on the user-interface thread; only that thread touches its windows.
//
// The two searches run on worker threads of their own, each attached to the Notes runtime. A worker
// calls the main frame's forwarder and hands what it found back to the dialog (CUiHandoff); the dialog
// then joins it, fills its list or shows the failure, and returns to idle. While a search runs
// (m_bSearching) the eight search-locked controls are disabled, Stop replaces Search, and the dialog
// refuses to close. Stop holds the worker at its next database (the frame's pause gate) while it asks,
// then raises the stop flags on Yes; the worker is never suspended, and a stop shows no error of its
// own. A search's run is counted from just before its worker starts until its lookup is done, so the
// found names are handed over only once the question is answered. The worker's handle stays valid
// until the dialog has joined it; destroying the dialog during a search raises the Notes store's stop
// flag and waits until the worker has ended (the frame's wait dialog up when that takes more than a
// moment). The worker is never ended from outside.
class CDominoFileSelectDlg : public CDialog {
 public:
  explicit CDominoFileSelectDlg(CWnd* pParent = nullptr);
  ~CDominoFileSelectDlg() override;

  enum { IDD = IDD_DOMINO_FILE_SELECT };

  // The workers' procedures; their argument is the dialog. Each returns 1.
  static UINT ServerSearchThread(LPVOID pParam);
  static UINT DatabaseSearchThread(LPVOID pParam);

  CButton m_btnStop;
  CStatic m_staticStatus;
  CEdit m_editServer;
  CButton m_btnFinish;
  CButton m_btnAdd;
  CButton m_btnAddServer;
  CButton m_btnSearch;
  CAnimateCtrl m_animation;
  CListCtrl m_listDatabases;
  CListCtrl m_listServers;
  CString m_strStatus;
  BYTE m_bSearching;
  HANDLE m_hSearchThread;
  // Page one, which receives the added files; set by the page before it runs the dialog. Not owned.
  C1TovinWelcomeView* m_pSourcePage;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  afx_msg void OnAddServer();
  afx_msg void OnSearchServers();
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnStop();
  afx_msg void OnServerClick(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnAdd();
  afx_msg void OnSelectAll();
  afx_msg void OnUnselectAll();
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  // Searching: the eight controls disabled, Stop shown and Search hidden; idle: the reverse. The status
  // text is emptied either way.
  void LockForSearch(BOOL bSearching);
  void SetStatus(LPCTSTR lpszText);
  void PlayAnimation();
  // Starts a worker on pfnThreadProc; FALSE (the dialog back to idle) when it cannot start.
  BOOL StartSearch(AFX_THREADPROC pfnThreadProc, LPCTSTR lpszStatus);
  // Waits until the worker has ended (JoinWorkerThread) and releases it.
  void JoinSearch();
  // A worker's whole run: attached to the Notes runtime, it calls lookup with the main frame and an
  // array to fill, then hands the result and the array to pfnFound on the dialog's thread. Returns 1.
  typedef std::function<int(CMainFrame*, CStringArray*)> Lookup;
  typedef void (CDominoFileSelectDlg::*FoundHandler)(int, const std::vector<CString>&);
  static UINT RunLookup(CDominoFileSelectDlg* pDlg, const Lookup& lookup, FoundHandler pfnFound);
  // What a worker found, on the user-interface thread: its result and the names (servers) or file paths
  // (databases) it read.
  void OnServersFound(int nResult, const std::vector<CString>& names);
  void OnDatabasesFound(int nResult, const std::vector<CString>& paths);
  // The store's text of the search that failed.
  CString NotesErrorText() const;
  // The dialog back to idle after a search.
  void EndSearch();
  // The item texts of a list, in order.
  static std::vector<CString> ItemTexts(const CListCtrl& list);

  CWinThread* m_pSearchThread;
  // The search's run from its start until its worker takes it.
  CPauseGate::CRun m_searchRun;
  // Set by a confirmed Stop during the running search.
  BOOL m_bStopRequested;
  // Set once the window is going: what a worker found is no longer shown.
  BOOL m_bDestroying;
};
