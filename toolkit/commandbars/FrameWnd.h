// CXTPFrameWnd: the frame-window base of the wizard's main frame. It holds the frame's command-bars
// manager and hands it the frame's keys and messages; a control's command notification (0x2862)
// enters the frame's command routing here. Created and used on the user-interface thread.
#pragma once

#include "CommandBars.h"

#include <afxwin.h>

class CXTPFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CXTPFrameWnd)

 public:
  CXTPFrameWnd();
  // Releases the manager before the framework's frame goes.
  ~CXTPFrameWnd() override;

  CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // Made by the derived frame in its create handler (by class name); the frame holds one reference.
  CXTPCommandBars* m_pCommandBars = nullptr;
};
