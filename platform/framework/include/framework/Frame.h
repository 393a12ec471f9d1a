// Frames, views and documents (single-document form): CFrameWnd lays out its control bars and the
// view (RepositionBars), routes commands view -> document -> template -> frame -> application and
// updates menus and bars at idle time; CView draws its CDocument; CSingleDocTemplate creates the
// three from the resource id whose string describes the document type.
#pragma once

#include "framework/Wnd.h"

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

// Frame styles carried in the window style.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00040000L
#define FWS_SNAPTOBARS 0x00020000L

#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

// What a frame is created with: the view class to create in it and the document it shows.
struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

// Extracts the iSubString-th part of lpszFullString split at chSep; FALSE past the last part.
BOOL AFXAPI AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString,
                                TCHAR chSep = L'\n');

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)

 public:
  CFrameWnd();
  ~CFrameWnd() override;

  static const CRect rectDefault;

  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Title (first part of string nIDResource), menu, icon and accelerators from resource nIDResource.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }
  virtual void ActivateFrame(int nCmdShow = -1);
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

  virtual void RecalcLayout(BOOL bNotify = TRUE);
  void DelayRecalcLayout(BOOL bNotify = TRUE) { m_nIdleFlags |= (idleLayout | (bNotify ? idleNotify : 0)); }
  // TRUE while RecalcLayout runs, so that a bar asking for a new layout from inside it delays instead.
  BOOL IsInRecalcLayout() const { return m_bInRecalcLayout; }
  // The prompt of command nID: the part of its string resource before '\n'.
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  // Tips that ask for their text get the part after "\n" of the string with the tool's command id.
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  virtual BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
  void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
  CString GetTitle() const { return m_strTitle; }

  // Print preview is not offered: the frame only records the mode.
  virtual void OnSetPreviewMode(BOOL bPreview, struct CPrintPreviewState* pState);
  BOOL IsInPreviewMode() const { return m_bPreviewMode; }
  // The control bar with this id among the frame's children, or NULL.
  class CControlBar* GetControlBar(UINT nID);
  void ShowControlBar(class CControlBar* pBar, BOOL bShow, BOOL bDelay);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  // Sends WM_FLOATSTATUS with dwFlags to the frame's floating windows: the top-level windows of the
  // frame's thread that the frame owns, directly or through one another. A top-level frame tells them
  // when it is enabled or disabled (FS_ENABLE, FS_DISABLE: a modal dialog run from the frame disables
  // them with it) and when it is activated or deactivated (FS_ACTIVATE, FS_DEACTIVATE); it stays drawn
  // active while one of them that answers FS_SYNCACTIVE is the active window.
  void NotifyFloatingWindows(DWORD dwFlags);
  // The windows the frame owns go back above it on the display: its floating windows right above it,
  // its dialogs and message boxes above those, the one last active on top, and those that other
  // threads run (a worker's) on top of all; their threads move them. Done once the message at
  // hand has been handled, after the frame was shown, restored, moved in the order of windows or
  // activated, or one of its windows took the focus (a display without a window manager raises the
  // frame then).
  void PostKeepOwnedWindowsAbove();
  void KeepOwnedWindowsAbove();

  enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  UINT m_nIdleFlags;
  HACCEL m_hAccelTable;
  HMENU m_hMenuDefault;
  UINT m_nIDHelp;
  BOOL m_bAutoMenuEnable;  // menu items without handlers are disabled
  BOOL m_bHelpMode;
  CRect m_rectBorder;

 protected:
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  void PostNcDestroy() override { delete this; }

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  // The status bar's key indicators: enabled while Caps Lock, Num Lock or Scroll Lock is on.
  afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // Counts the thread's top-level frames that watch focus changes for PostKeepOwnedWindowsAbove.
  static void PASCAL WatchFocus(BOOL bWatch);
  // Whether one of the frame's floating windows lies below it in the order of windows.
  BOOL IsFloatingWindowBelow() const;

  CString m_strTitle;
  CView* m_pViewActive;
  UINT m_nIDLastMessage;
  BOOL m_bInRecalcLayout;
  BOOL m_bPreviewMode;
  BOOL m_bStayActive;  // the active window is the frame or one of its sync-active floating windows
  BOOL m_bRestacking;
  BOOL m_bRestackPending;
  BOOL m_bWatchingFocus;
  int m_nOwnedWindowsChecks;
  BOOL m_bAnnounceOwner;  // the frame was shown: its floating windows name it to the display anew

  DECLARE_MESSAGE_MAP()
};

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 public:
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnPrepareDC(CDC* /*pDC*/, void* /*pInfo*/ = nullptr) {}
  virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT /*nState*/, CFrameWnd* /*pFrameWnd*/) {}
  // Whether a document item (an embedded object) is selected in this view; none is by default.
  virtual BOOL IsSelected(const CObject* /*pDocItem*/) const { return FALSE; }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  CView();
  void PostNcDestroy() override { delete this; }

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);

  CDocument* m_pDocument;
  friend class CDocument;

  DECLARE_MESSAGE_MAP()
};

// A document: the data a frame's views show. Owned by its template; with m_bAutoDelete it deletes
// itself when its last view goes.
class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)

 public:
  CDocument();
  ~CDocument() override;

  const CString& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(LPCTSTR lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  void AddView(CView* pView);
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  CView* GetNextView(POSITION& rPosition) const { return static_cast<CView*>(m_viewList.GetNext(rPosition)); }
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
  virtual void UpdateFrameCounts();

  virtual void DeleteContents() {}
  virtual BOOL OnNewDocument();
  // Reads the file through Serialize; a failure is reported to the user and leaves the document empty.
  virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
  virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
  virtual void OnCloseDocument();
  // Asks whether to save a modified document; FALSE when the user cancels or saving fails.
  virtual BOOL SaveModified();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  virtual void OnChangedViewList();
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  BOOL m_bAutoDelete;
  BOOL m_bEmbedded;

 protected:
  CString m_strTitle;
  CString m_strPathName;
  CDocTemplate* m_pDocTemplate;
  CPtrList m_viewList;
  BOOL m_bModified;
  friend class CDocTemplate;
  friend class CSingleDocTemplate;
};

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)

 public:
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName
  };
  ~CDocTemplate() override;

  virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);
  virtual POSITION GetFirstDocPosition() const = 0;
  virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
  virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument) = 0;
  virtual void CloseAllDocuments(BOOL bEndSession);
  virtual BOOL SaveAllModified();
  virtual void LoadTemplate();

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;

 protected:
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
               CRuntimeClass* pViewClass);
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)

 public:
  CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                     CRuntimeClass* pViewClass);
  ~CSingleDocTemplate() override;

  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  POSITION GetFirstDocPosition() const override;
  CDocument* GetNextDoc(POSITION& rPos) const override;
  // Reuses the one document and its frame when they exist. NULL when creation or reading failed.
  CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void SetDefaultTitle(CDocument* pDocument) override;

 protected:
  CDocument* m_pOnlyDoc;
};
