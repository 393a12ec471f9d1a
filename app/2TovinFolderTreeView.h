// C2TovinFolderTreeView: the browser page ("Folder Selection", tab 1), reached from page one's
// Preview. It opens the NSF the main frame names, shows its folders in a check-box tree, the documents
// of the clicked folder in the mail list, and the clicked document in the item preview pane.
#pragma once

#include <afxwin.h>

#include "FolderCheckTree.h"
#include "ItemPreviewPane.h"
#include "LargeItemPromptDlg.h"
#include "MailListPane.h"
#include "PauseGate.h"
#include "SplitterPanel.h"
#include "TovinCommonBaseView.h"

class CMainFrame;

// Created by the main view on the user-interface thread; only that thread touches its windows.
//
// Workers: the folder enumeration and the folder listing each run on a worker of their own, attached
// to the Notes runtime. They reach the panes only through the engine's sinks (the tree and the mail
// list hand each call over to their thread) and the page only through RunOnPage. At most one worker
// runs at a time: the tree and the mail list stay disabled while one does, and every start first joins
// the worker before it. A worker's handle stays valid until the page has joined it (m_bAutoDelete
// off). No worker is ever suspended or ended from outside: a join waits until the worker has ended,
// with the frame's wait dialog up when it takes more than a moment. Stop holds the running worker at
// its next folder or document (the frame's pause gate) while it asks, then raises the stop flags on
// Yes; each worker's run is counted from just before it starts until its listing is done.
class C2TovinFolderTreeView : public CTovinCommonBaseView {
  DECLARE_DYNCREATE(C2TovinFolderTreeView)

 public:
  C2TovinFolderTreeView();
  ~C2TovinFolderTreeView() override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
  // The Export sequence: ticked folders, the save choice, the target.
  void OnNext() override;
  // Back to page one; a running worker goes on.
  void OnBack() override;
  void OnExit() override {}
  // "Are you sure you want to stop current process ?", with the running worker held meanwhile; Yes
  // raises the stop flags.
  void OnStop() override;
  void OnPreview() override {}
  // Resets the panes and starts the folder enumeration, after the previous workers were joined.
  LRESULT OnPageActivated(WPARAM wParam, LPARAM lParam) override;
  // Raises the stop flags and joins both workers, however long their Notes calls take.
  void StopWorkers() override;

  // TRUE while a worker of the page runs.
  BOOL IsWorkerRunning() const;

  CSplitterPanel m_splitItems;
  CSplitterPanel m_splitMain;
  CMailListPane m_mailList;
  CStatic m_iconStatic;
  CFolderCheckTree m_folderTree;
  CItemPreviewPane m_preview;
  HANDLE m_hEnumThread;
  HANDLE m_hItemsThread;

  enum { FOLDER_TREE_ID = 4101, INNER_PANEL_ID = 59397, OUTER_PANEL_ID = 61191 };

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnFolderSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnItemSelected(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopProcess(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExport(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  static UINT FolderEnumThread(LPVOID pParam);
  static UINT FolderItemsThread(LPVOID pParam);
  void EnumerateFolders();
  void ListFolderItems();
  // Starts pfn on a worker whose thread object the page keeps until it is joined, its run counted in
  // the pause gate and kept in run for the worker to take as it starts; NULL on failure.
  CWinThread* StartWorker(AFX_THREADPROC pfn, CPauseGate::CRun& run);
  void ClearPreview(int nMessage);
  void SetStopFlags(int nValue);

  CWinThread* m_pEnumThread;
  CWinThread* m_pItemsThread;
  // The workers' runs from their start until each worker takes its own.
  CPauseGate::CRun m_enumRun;
  CPauseGate::CRun m_itemsRun;
  // Counts the workers started; a worker's last hand-offs apply only while it is still the latest,
  // so a joined worker's leftovers never undo what its successor set up.
  int m_nGeneration;
  CLargeItemDialogPrompt m_largeItemPrompt;
};
