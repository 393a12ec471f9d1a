// Multiple-document frames: CMDIFrameWnd owns the system's MDI client window (class "MDICLIENT") and
// routes commands to the active child first; CMDIChildWnd is a frame created inside that client
// through WM_MDICREATE. Both run the system's MDI default procedures. A frame and its children belong
// to the user-interface thread that created the frame.
#pragma once

#include "framework/Frame.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)

 public:
  CMDIFrameWnd();

  // Makes the MDI client (id AFX_IDW_PANE_FIRST, children numbered from AFX_IDM_FIRST_MDICHILD);
  // pWindowMenu is the popup the system appends the window list to, or NULL.
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  // The popup of the menu bar whose items include a window command, else the bar's last popup but
  // one; NULL when there is none.
  virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

  // The active child (NULL without an MDI client); *pbMaximized tells whether it is maximized.
  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIActivate(CWnd* pWndActivate);
  void MDIMaximize(CWnd* pWnd);
  void MDIRestore(CWnd* pWnd);
  void MDINext();
  void MDIPrev();
  void MDICascade();
  void MDITile(int nType = MDITILE_HORIZONTAL);
  void MDIIconArrange();
  // Creates a child of class pClass (a CMDIChildWnd) from resource nResource; NULL on failure.
  CMDIChildWnd* CreateNewChild(CRuntimeClass* pClass, UINT nResource, HMENU hMenu = nullptr,
                               HACCEL hAccel = nullptr);

  // The active child frame, else this frame.
  CFrameWnd* GetActiveFrame() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HWND m_hWndMDIClient;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  afx_msg BOOL OnMDIWindowCmd(UINT nID);
  afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
  afx_msg void OnWindowNew();

  DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)

 public:
  CMDIChildWnd();

  // Created through the parent's MDI client (the main window when pParentWnd is NULL). FALSE when
  // there is no MDI frame or the system refused; the object is then deleted (PostNcDestroy).
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                      const RECT& rect = rectDefault, CMDIFrameWnd* pParentWnd = nullptr,
                      CCreateContext* pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource,
                 DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  // Children go through WM_MDIDESTROY, so the MDI client forgets them.
  BOOL DestroyWindow() override;
  void ActivateFrame(int nCmdShow = -1) override;

  CMDIFrameWnd* GetMDIFrame() const;
  void MDIActivate();
  void MDIDestroy();
  void MDIMaximize();
  void MDIRestore();

  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  HMENU m_hMenuShared;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  // WM_MDIACTIVATE: wParam the child losing activation, lParam the one gaining it.
  afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()
};
