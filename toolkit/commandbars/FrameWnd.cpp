// The frame-window base: the manager's share of the frame's keys and messages, and the command
// notifications of controls routed into the frame's handlers.
#include "FrameWnd.h"

#include "AcceleratorManager.h"

IMPLEMENT_DYNCREATE(CXTPFrameWnd, CFrameWnd)

CXTPFrameWnd::CXTPFrameWnd() = default;

CXTPFrameWnd::~CXTPFrameWnd() {
  if (m_pCommandBars != nullptr) {
    CXTPCommandBars* pCommandBars = m_pCommandBars;
    m_pCommandBars = nullptr;
    // Whoever still holds the manager must not reach this frame through it.
    pCommandBars->SetSite(static_cast<CWnd*>(nullptr));
    pCommandBars->InternalRelease();
  }
}

BOOL CXTPFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext) {
  if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  // With a default table the shortcut manager alone translates the shortcuts.
  if (m_pCommandBars != nullptr &&
      m_pCommandBars->GetShortcutManager()->GetDefaultAcceleratorTable() != nullptr)
    m_hAccelTable = nullptr;
  return TRUE;
}

void CXTPFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  if (m_pCommandBars != nullptr) m_pCommandBars->OnSetPreviewMode(bPreview);
  CFrameWnd::OnSetPreviewMode(bPreview, pState);
}

BOOL CXTPFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && pMsg->wParam != VK_TAB &&
      pMsg->wParam != VK_RETURN && pMsg->wParam != VK_ESCAPE &&
      CXTPCommandBars::IsToolkitEdit(CWnd::FromHandlePermanent(::GetFocus()))) {
    return FALSE;
  }
  if (CFrameWnd::PreTranslateMessage(pMsg)) return TRUE;
  return m_pCommandBars != nullptr && m_pCommandBars->PreTranslateFrameMessage(pMsg);
}

BOOL CXTPFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (m_pCommandBars != nullptr && m_pCommandBars->OnFrameWndMsg(message, wParam, lParam, pResult))
    return TRUE;
  if (message == XTP_WM_COMMANDNOTIFY) {
    NMHDR* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader == nullptr) return FALSE;
    LRESULT lResult = 0;
    AFX_NOTIFY notify;
    notify.pResult = &lResult;
    notify.pNMHDR = pHeader;
    if (OnCmdMsg(static_cast<UINT>(pHeader->idFrom), MAKELONG(pHeader->code, WM_NOTIFY), &notify, nullptr)) {
      if (pResult != nullptr) *pResult = lResult;
      return TRUE;
    }
    return FALSE;
  }
  return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}
