// C3TovinSaveNsfToPst: the saving page ("Savinf Progress", tab 2). Its activation warns the user,
// stops and joins any worker still running, and starts the conversion worker, which runs the main
// frame's conversion driver and shows the final status and message.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <atomic>
#include <functional>

#include "Caption.h"
#include "HandoffProgressSink.h"
#include "PauseGate.h"
#include "PercentProgressCtrl.h"
#include "TovinCommonBaseView.h"
#include "WorkerDialog.h"

class CMainFrame;

// The page and its controls belong to the user-interface thread. The conversion worker (SaveThread)
// never touches them: it reports through the page's sinks and RunOnPage, and has this thread show the
// dialogs it needs (the Outlook Folders dialog, the final message box, the saving-complete dialog) and
// waits for them (CWorkerDialog); they are modal to the main frame, so that they stay in front of it
// while the worker waits for them, and ask for the foreground as they open. The worker's handle stays valid
// until the user-interface thread has joined it (at its end, at the next activation, or in
// StopWorker). The worker is never ended from outside: every wait for it lasts until it has ended,
// with the frame's wait dialog up when it takes more than a moment.
//
// Stop holds the worker at its next item or folder boundary (the frame's pause gate) while it asks;
// the run is counted from just before the worker starts until its loops are done, so the question is
// never asked about a finished run and no final message opens under it.
class C3TovinSaveNsfToPst : public CTovinCommonBaseView {
  DECLARE_DYNCREATE(C3TovinSaveNsfToPst)

 public:
  C3TovinSaveNsfToPst();
  // Stops and joins a worker still running.
  ~C3TovinSaveNsfToPst() override;

  void OnNext() override;
  void OnBack() override;
  void OnExit() override;
  // Asks while the worker waits, then stops its loops on Yes; nothing when no run is under way.
  void OnStop() override;
  LRESULT OnPageActivated(WPARAM wParam, LPARAM lParam) override;
  void StopWorkers() override;
  HWND GetNaturalFocus() const override;
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

  // The worker's procedure; its argument is the page. Returns 1.
  static UINT SaveThread(LPVOID pParam);
  // The driver on the worker, then the PST session deleted. Returns the driver's result.
  int RunConversion(CString strPstPath);
  // Raises the stop flags and waits until the worker has ended (the item it
  // writes is finished and the Notes thread detached), however long that takes.
  void StopWorker();
  // TRUE while the conversion worker has not ended.
  BOOL IsWorkerRunning() const;

  // The final status line and the final message of a run (before the lines of what was not
  // converted): by the abort flag, the driver's result and the status text the driver left.
  static CString FinalStatusText(BOOL bAborted, int nResult, const CString& strStatus);
  // "" when the saving-complete dialog is shown instead.
  static CString FinalMessageText(BOOL bAborted, int nResult, const CString& strStatus);

  CPercentProgressCtrl m_barFolders;
  CPercentProgressCtrl m_barItems;
  CPercentProgressCtrl m_barRead;
  CXTCaption m_caption;
  // The lines after the status line: why the PST did not open, what was not converted.
  CStatic m_detail;
  HANDLE m_hThread;
  std::atomic<int> m_bAborted;
  CListCtrl m_listFiles;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

  DECLARE_MESSAGE_MAP()

 private:
  // The worker's steps.
  void RunWorker();
  // Shows the status line (the caption's text, also readable with WM_GETTEXT) and the detail lines.
  void ShowStatus(const CString& strStatus, const CString& strDetail);
  // The lines of what the last run did not convert, of why the PST did not open, or the NSF that did
  // not open.
  CString DetailLines(int nResult) const;
  // Waits until the worker has ended (JoinWorkerThread; onWaiting runs meanwhile) and releases it.
  void WaitForWorkerEnd(const std::function<void()>& onWaiting);
  // Releases the worker once it has ended within nTimeoutMs; a worker still running is left to the
  // next wait.
  void ReleaseEndedWorker(DWORD nTimeoutMs);
  // One of the run's final dialogs (show shows it), asked from the worker as every dialog of a worker
  // is: once no question about the workers is open, and not at all when the program is closing by then.
  void ShowFinalDialog(const CWorkerDialog::ShowFunction& show);

  CWinThread* m_pThread;
  // The worker's run from its start until the worker takes it.
  CPauseGate::CRun m_run;
  CMainFrame* m_pMainFrame;
  // Set while the program closes: the worker ends without showing its final message.
  std::atomic<bool> m_bClosing;
  std::atomic<bool> m_bWorkerRunning;
  CHandoffProgressSink m_folderSink;
  CHandoffProgressSink m_itemSink;
  CHandoffProgressSink m_readSink;
  CHandoffProgressSink m_statusSink;
  CBrush m_brushFace;
};
