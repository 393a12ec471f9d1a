// CMainFrame: the program's single top-level window and the hub of the wizard. It owns the command
// bars, the status bar and the banner, starts the Notes runtime, owns the engine objects and the
// wizard state, and runs the conversion driver for the saving page's worker.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "FolderConverter.h"
#include "FrameWnd.h"
#include "NotesStore.h"
#include "PstSession.h"
#include "StatusBar.h"
#include "TemplateDlgChooser.h"

class CBannerDlg;
class CBrindleEmlConverterGuiView;
class CProcessProgressDlg;
class CServerEnumWaitDlg;

// Driver result codes.
enum ConversionResult {
  CONVERSION_PST_FAILED = 0,
  CONVERSION_DONE = 1,
  CONVERSION_CANCELLED = 2,
  CONVERSION_NSF_FAILED = 3,
  // The PST file could no longer be read during the run (cut short, replaced, its disk failing): the
  // folders after the failure were not converted. The status says why.
  CONVERSION_PST_UNREADABLE = 4
};

// Created by the document template on the user-interface thread; its windows, dialogs and handlers
// belong to that thread. Pages and workers reach it through the application's main window.
//
// Threads: the page operations, the state setters and getters and the dialogs' operations run on the
// user-interface thread. The conversion driver (OpenPst, ConvertPstToNsf), DeletePstSession and the
// forwarders to the engine's reading side run on the pages' workers, one engine operation at a time
// (the Notes store has no lock). SetStopFlags may be called from any thread: the stop flags are atomic
// and the PST session pointer is read and replaced only under its lock, so a stop never reaches a
// session that a worker deletes. The wizard state (paths, options) is written by the user-interface
// thread before it starts the worker that reads it.
class CMainFrame : public CXTPFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)

 public:
  CMainFrame();
  // Ends the wait dialogs and the banner, deletes a PST session left over and closes the Notes store
  // (database and runtime).
  ~CMainFrame() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // ---- Page switching and wizard state (user-interface thread) ----
  // Selects tab nPage + 1 through the main view (when it is registered).
  void GoToPage(int nPage);
  // Selects tab nPage - 1; the send's result, or 0 without a view.
  LRESULT GoToPreviousPage(int nPage);
  void SetSourcePath(const CString& strPath) { m_strSourcePath = strPath; }
  CString GetSourcePath() const { return m_strSourcePath; }
  void SetTargetNsf(const CString& strPath, BYTE bTextFormat);
  void SetSourceServer(const CString& strServer) { m_strSourceServer = strServer; }
  CString GetSourceServer() const { return m_strSourceServer; }
  void SetTargetFolder(const CString& strFolder) { m_strTargetFolder = strFolder; }
  // Also empties the source server.
  void SetTargetFileName(const CString& strFileName);
  void EnableOpenCommand() { m_bOpenEnabled = 1; }
  void DisableOpenCommand() { m_bOpenEnabled = 0; }
  CString GetNotesErrorText() { return m_notesStore.GetErrorText(); }
  // The browser page's wait dialog, from any thread (the dialog hands the call over).
  void ShowProgressDialog(const CString& strText);
  void HideProgressDialog();
  // TRUE while the progress dialog is meant to be seen: the frame does not close then.
  BOOL IsProgressDialogShown() const;
  // TRUE while the saving page's conversion worker has not ended.
  BOOL IsConversionRunning() const;
  // A wait for a worker's end on the user-interface thread (see WaitForWorkerToEnd): the frame is
  // disabled and the progress dialog says strText until EndWorkerWait. Waits nest.
  void BeginWorkerWait(const CString& strText);
  void EndWorkerWait();
  // During a wait for a worker's end: the wait dialog offers to end the program now (again
  // m_nEndOfferAfterMs after the user chose to keep waiting).
  void OfferToEndProgram();
  // How long a wait for a worker's end lasts before it offers to end the program.
  DWORD m_nEndOfferAfterMs;

  // ---- Forwarders to the engine's reading side and Domino lists (the pages' workers) ----
  int ListNsfFolders(CStringArray* pFolders, int nQuiet);
  void OpenNsfFolder(IMailListSink* pPane, CString strPath);
  CString PreviewNsfDocument(LNNOTEID noteId, int* pKind, CStringArray* pNames, CStringArray* pSizes);
  int GetServerNames(CStringArray* pNames);
  int GetServerDatabases(CString strServer, CStringArray* pPaths, CStringArray* pFileNames);

  // ---- Conversion driver (the saving page's worker, with OLE and the Notes thread initialised) ----
  // Replaces the PST session by a new one opened on strPath; nonzero when the PST is open. The session
  // stays in m_pPstSession either way, for DeletePstSession.
  int OpenPst(CString strPath, HWND hwndParent);
  // One whole conversion from m_strSourcePath into m_strTargetNsfPath, reporting into the saving page's
  // folder bar, item bar and status line; returns a ConversionResult. Every folder, item and
  // attachment that is not converted is recorded in the not-converted list, with the reason. The
  // Outlook Folders dialog is modal to hwndParent (the frame's window; may be null). A stop question
  // that is open holds the run before the dialog and between folders (the pause gate). A cancel of the
  // template choice or of the folder choice gives CONVERSION_CANCELLED.
  int ConvertPstToNsf(HWND hwndParent, IProgressSink* pFolderBar, IProgressSink* pItemBar,
                      IProgressSink* pStatus);
  // Deletes the PST session of the conversion (after the driver returned).
  void DeletePstSession();
  // Ends the use of the conversion's NSF (after the driver returned, before the worker leaves the Notes
  // runtime): closes it, which folds its side file in, and, when the run did not complete, removes a
  // new NSF that the run made and saved no document in. Returns the lines that tell the user what
  // became of the file ("" when there is nothing to say): that nothing is left behind (also when the
  // template choice was cancelled before the file was made), that the NSF must stay beside its side
  // file and how many documents it holds, or, after the NSF failed, how many documents it holds.
  CString CloseTarget(BOOL bCompleted);
  // The wizard's steps the last conversion completed: 0 none (the PST did not open), 1 the PST opened,
  // 2 the NSF opened too, 3 the chosen folders were converted.
  int GetStepsDone() const { return m_nStepsDone; }
  // The frame's, the Notes store's and (when one exists) the PST session's stop flags := nValue.
  void SetStopFlags(int nValue);
  // The workers' pause gate (the Notes store's m_pause): a page counts its worker's run from just
  // before the worker starts and hands the run to the worker, which ends it once its loops are done
  // (or, whichever way it leaves, when the run goes). The stop and close questions hold the counted
  // runs at their next boundary while they are open (user-interface thread); FALSE, with nothing
  // held, when no run is counted or a worker's dialog is open. HoldAllWorkers holds also when no run
  // is counted, so that a worker's dialog still to come waits (the close question). Every dialog of a
  // worker takes its turn at the gate (CWorkerDialog with GetPauseGate). A worker's dialog gives
  // the frame the keyboard back as it ends, just before its worker leaves the turn, so a key can ask a
  // question in between: a hold that the turn alone kept off is not dropped, the frame sends itself
  // nAskAgain (the message that asks the question: WM_STOP_PROCESS, WM_CLOSE; 0: none) once the turn
  // is over.
  CPauseGate::CRun BeginWorkerRun() { return CPauseGate::CRun(m_notesStore.m_pause); }
  BOOL HoldWorkers(UINT nAskAgain = 0) { return HoldOrAskAgain(FALSE, nAskAgain); }
  BOOL HoldAllWorkers(UINT nAskAgain = 0) { return HoldOrAskAgain(TRUE, nAskAgain); }
  CPauseGate* GetPauseGate() { return &m_notesStore.m_pause; }
  void ReleaseWorkers() { m_notesStore.m_pause.Release(); }
  // TRUE when a stop ended the last conversion's loops with something still to convert (read by the
  // worker after the driver returned).
  BOOL WasCutShortByStop() const { return m_bFolderLoopStopped || m_notesStore.m_bStoppedEarly; }
  // Why the last OpenPst failed: the description the PST session kept ("" when it gave none).
  CString GetPstOpenError() const;
  // What the last conversion did not convert: one line per folder, item, attachment or part of an
  // item, TAB-separated (folder path, what, reason). Read by the worker after the driver returned.
  const CStringArray& GetNotConverted() const { return m_arrNotConverted; }
  // Whether line n of GetNotConverted tells of a folder or an item not converted at all
  // (NotConvertedEntry::IsWholeLoss).
  BOOL IsWholeLoss(INT_PTR n) const { return m_notConverted.GetAt(n).IsWholeLoss(); }
  // Those lines counted by kind: folders, items and attachments apart.
  NotConvertedCounts GetNotConvertedCounts() const { return m_notConverted.Counts(); }

  // ---- Wizard state, in the frame's order ----
  CXTPStatusBar m_wndStatusBar;
  CBrindleEmlConverterGuiView* m_pMainView;
  CString m_strSourcePath;
  CStringArray m_arrSelectedFolders;
  CString m_strTargetFolder;
  CString m_strTargetFileName;
  CPstSession* m_pPstSession;
  CNotesStore m_notesStore;
  CFolderConverter m_folderConverter;
  int m_bSourceChosen;
  int m_nSaveOption;
  CString m_strSourceServer;
  CProcessProgressDlg* m_pProgressDlg;
  CServerEnumWaitDlg* m_pServerWaitDlg;
  CImageList m_imlSmall;
  CImageList m_imlLarge;
  std::atomic<BYTE> m_bStop;
  CImageList* m_pSystemImageList;
  // The bitmaps loaded into the two image lists.
  CBitmap m_bmpListImages;
  CBitmap m_bmpLarge[6];
  int m_nSourceType;
  BYTE m_bOpenEnabled;
  CBannerDlg* m_pBannerDlg;
  BYTE m_bTextFormat;
  CString m_strTargetNsfPath;

  // The profile section of the command bars' options, layout and shortcuts.
  static const wchar_t COMMAND_BARS_SECTION[];
  // The frame's title.
  static const wchar_t FRAME_TITLE[];

  // The help file's path: the directory current when the frame was made, and the file name.
  static CString GetHelpFilePath();
  // Opens the help file with the shell, or tells the user that it is missing.
  static void OpenHelpFile();

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnClose();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  afx_msg void OnHelpContents();
  afx_msg void OnHomePage();
  afx_msg void OnFileOpen();
  afx_msg void OnUpdateFileOpen(CCmdUI* pCmdUI);
  afx_msg void OnAppAbout();
  afx_msg void OnCustomize();
  afx_msg void OnSelectPstFile();
  afx_msg void OnSelectNsfFile();
  afx_msg void OnExport();
  // Select PST File, Select NSF File and Export: disabled while a conversion runs.
  afx_msg void OnUpdateFirstPageCommand(CCmdUI* pCmdUI);
  afx_msg LRESULT OnStopProcess(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStopEnumeration(WPARAM wParam, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnHandoff(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  // Steps of the creation: the command bars (menu bar, toolbar, icons, stored layout) and the image
  // lists. FALSE when a bar cannot be made.
  BOOL CreateStatusBar();
  BOOL CreateCommandBars();
  BOOL CreateImageLists();
  // Keeps the banner's place at the right end of the bars free and the banner above its neighbours.
  void KeepBannerPlace();
  // Records a folder that was not converted, with the reason and the items it holds (or
  // NotConvertedEntry::UNCOUNTED).
  void NoteFolderNotConverted(const CString& strPath, const CString& strReason, long nItems);
  // Records one entry of what was not converted as a line, counted by its kind.
  void NoteNotConverted(const NotConvertedEntry& entry);
  // Takes what the Notes store recorded as not converted, from entry nFirst on, into this frame's
  // lines, each counted by its kind.
  void NoteStoreLosses(INT_PTR nFirst);
  // Sends msg to the main view (when it is registered).
  LRESULT SendToView(UINT msg);
  // HoldWorkers and HoldAllWorkers.
  BOOL HoldOrAskAgain(BOOL bAll, UINT nAskAgain);

  CTemplateDlgChooser m_templateChooser;
  // Guards m_pPstSession against a stop from another thread while a worker replaces or deletes it.
  mutable std::mutex m_sessionLock;
  // Kept from the last failed OpenPst (the session that knew it is deleted after the driver).
  CString m_strPstOpenError;
  // What the last conversion did not convert, and its lines, one an entry.
  CNotConvertedList m_notConverted;
  CStringArray m_arrNotConverted;
  // Set when the folder loop of the last conversion left on the stop flag.
  BOOL m_bFolderLoopStopped;
  // GetStepsDone's value, written by the driver.
  int m_nStepsDone = 0;
  // The scan window that the folder listing reports into: the progress dialog.
  class CProgressDlgSink;
  CProgressDlgSink* m_pProgressSink;
  // Waits for a worker under way, and whether the first of them disabled the frame.
  int m_nWorkerWaits;
  BOOL m_bWorkerWaitDisabled;
  // The messages of the questions that a worker's dialog turn kept off, each once, in the order asked.
  std::vector<UINT> m_questionsToAskAgain;
};

// The main frame of the application, or null (any thread).
CMainFrame* GetMainFrame();

// Waits on the user-interface thread until the worker hThread has ended; the worker is never ended
// from outside, so the Notes store and the PST session it uses stay open until it has. The pause gate
// of pFrame (may be null) lets this worker through meanwhile (held there, it would never end), while a
// question that is open goes on holding every other worker. For a moment only the messages that other
// threads send are dispatched (a worker that is ending needs no more); then pFrame's wait dialog says
// strWaitText, the frame is disabled, and every message is dispatched, so that the windows keep
// painting and the workers' hand-offs run, until the worker has ended.
// onWaiting, when given, runs about every tenth of a second meanwhile. A WM_QUIT that comes during the
// wait is posted again after it. A worker that has not ended after pFrame's m_nEndOfferAfterMs may
// never end (a call into a library or server that does not answer): the wait dialog then offers to end
// the program at once.
void WaitForWorkerToEnd(CMainFrame* pFrame, HANDLE hThread, const CString& strWaitText,
                        const std::function<void()>& onWaiting = nullptr);
// WaitForWorkerToEnd for the worker pThread (made with m_bAutoDelete FALSE; nothing when null), then its
// thread object deleted and pThread and hThread cleared, unless a hand-off run during the wait did so.
void JoinWorkerThread(CMainFrame* pFrame, CWinThread*& pThread, HANDLE& hThread, const CString& strWaitText,
                      const std::function<void()>& onWaiting = nullptr);
