// The customize drag: its drop targets and its own mouse loop, which captures the mouse in the
// customize sheet (or the site) and hands enter, over, leave and drop to the bar under the mouse.
#include "CustomizeDragSource.h"

#include "CommandBar.h"
#include "CommandBars.h"
#include "Control.h"

#include <ResourceSource.h>
#include <ToolkitResource.h>
#include <windowsx.h>

CXTPCustomizeDragSource::CXTPCustomizeDragSource(CXTPCommandBars* pCommandBars)
    : m_pCommandBars(pCommandBars) {
  CXTResourceSource* pResources = GetToolkitResourceManager();
  m_hcurDelete = pResources->LoadCursor(XTP_IDC_COMMANDBARS_DRAGNONE);
  m_hcurMove = pResources->LoadCursor(XTP_IDC_COMMANDBARS_DRAGMOVE);
  m_hcurCopy = pResources->LoadCursor(XTP_IDC_COMMANDBARS_DRAGCOPY);
}

// The cursors are shared resource cursors: nothing to destroy.
CXTPCustomizeDragSource::~CXTPCustomizeDragSource() = default;

void CXTPCustomizeDragSource::Register(CXTPCommandBar* pBar) { m_arrTargets.Add(pBar); }

void CXTPCustomizeDragSource::Unregister(CXTPCommandBar* pBar) {
  for (INT_PTR i = m_arrTargets.GetSize() - 1; i >= 0; --i) {
    if (m_arrTargets[i] == pBar) m_arrTargets.RemoveAt(i);
  }
  if (m_pTarget == pBar) m_pTarget = nullptr;
}

void CXTPCustomizeDragSource::UpdateCursor() {
  HCURSOR hCursor = m_pTarget == nullptr ? m_hcurDelete : (!m_bMove || m_bCopyOnly) ? m_hcurCopy : m_hcurMove;
  if (hCursor != nullptr) ::SetCursor(hCursor);
}

void CXTPCustomizeDragSource::UpdateTarget(CPoint ptScreen) {
  CXTPCommandBar* pFound = nullptr;
  for (INT_PTR i = m_arrTargets.GetSize() - 1; i >= 0; --i) {
    CXTPCommandBar* pBar = m_arrTargets[i];
    if (pBar->GetSafeHwnd() == nullptr || !pBar->IsWindowVisible()) continue;
    CRect rc;
    pBar->GetWindowRect(&rc);
    if (rc.PtInRect(ptScreen)) {
      pFound = pBar;
      break;
    }
  }
  if (pFound != nullptr) {
    CPoint pt = ptScreen;
    pFound->ScreenToClient(&pt);
    DROPEFFECT dropEffect = m_bMove && !m_bCopyOnly ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (pFound == m_pTarget) {
      pFound->OnCustomizeDragOver(m_pControl, pt, dropEffect);
    } else {
      if (m_pTarget != nullptr) m_pTarget->OnCustomizeDragLeave();
      m_pTarget = nullptr;
      pFound->OnCustomizeDragEnter(m_pControl, pt, dropEffect);
      if (dropEffect != DROPEFFECT_NONE) m_pTarget = pFound;
    }
  } else if (m_pTarget != nullptr) {
    m_pTarget->OnCustomizeDragLeave();
    m_pTarget = nullptr;
  }
  UpdateCursor();
}

DROPEFFECT CXTPCustomizeDragSource::Drop(CPoint ptScreen, DROPEFFECT dropEffect) {
  if (m_pTarget == nullptr) return dropEffect;
  CXTPCommandBar* pTarget = m_pTarget;
  m_pTarget = nullptr;
  DROPEFFECT effect = m_bMove && !m_bCopyOnly ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
  CPoint ptDrop = ptScreen, ptDrag = m_ptStart;
  pTarget->ScreenToClient(&ptDrop);
  pTarget->ScreenToClient(&ptDrag);
  pTarget->InternalAddRef();
  pTarget->OnCustomizeDrop(m_pControl, effect, ptDrop, ptDrag);
  pTarget->InternalRelease();
  return effect;
}

DROPEFFECT CXTPCustomizeDragSource::DoDragDrop(CXTPControl* pControl, BOOL bCopyOnly) {
  CWnd* pCapture = m_pSheet->GetSafeHwnd() != nullptr ? m_pSheet : m_pCommandBars->GetSite();
  if (pCapture->GetSafeHwnd() == nullptr || pControl == nullptr) return 5;
  m_hwndCapture = pCapture->GetSafeHwnd();
  m_pControl = pControl;
  m_bCopyOnly = bCopyOnly;
  m_pTarget = nullptr;
  m_bMove = ::GetKeyState(VK_CONTROL) >= 0;
  ::GetCursorPos(&m_ptStart);
  ::SetCapture(m_hwndCapture);
  pControl->InternalAddRef();

  DROPEFFECT result = 5;
  BOOL bMoved = FALSE;
  BOOL bDone = FALSE;
  while (!bDone && ::GetCapture() == m_hwndCapture) {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessage(&msg);
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      result = 5;
      break;
    }
    switch (msg.message) {
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(msg.lParam) != m_hwndCapture) {
          result = 5;
          bDone = TRUE;
        }
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          result = 5;
          bDone = TRUE;
        } else if (msg.wParam == VK_CONTROL) {
          m_bMove = FALSE;
          UpdateCursor();
        }
        break;
      case WM_KEYUP:
        if (msg.wParam == VK_CONTROL) {
          m_bMove = TRUE;
          UpdateCursor();
        }
        break;
      case WM_MOUSEMOVE: {
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        ::ClientToScreen(msg.hwnd, &pt);
        if (!bMoved) {
          bMoved = TRUE;
          if (CXTPCommandBar* pParent = pControl->GetParent(); pParent != nullptr && pParent->GetSafeHwnd()) {
            CPoint ptBar = pt;
            pParent->ScreenToClient(&ptBar);
            DROPEFFECT dropEffect = DROPEFFECT_MOVE;
            pControl->OnCustomizeDragOver(pControl, ptBar, dropEffect);
          }
        }
        m_bMove = !(msg.wParam & MK_CONTROL);
        UpdateTarget(pt);
        result = 0;
        if (!(msg.wParam & MK_LBUTTON)) {
          result = Drop(pt, result);
          bDone = TRUE;
        }
        break;
      }
      case WM_LBUTTONUP: {
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        ::ClientToScreen(msg.hwnd, &pt);
        result = Drop(pt, bMoved ? 0 : 5);
        bDone = TRUE;
        break;
      }
      case WM_RBUTTONDOWN:
        result = 5;
        bDone = TRUE;
        break;
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
        break;
    }
  }
  if (m_pTarget != nullptr) {
    m_pTarget->OnCustomizeDragLeave();
    m_pTarget = nullptr;
  }
  if (::GetCapture() == m_hwndCapture) ::ReleaseCapture();
  ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
  m_pControl = nullptr;
  m_hwndCapture = nullptr;
  pControl->InternalRelease();
  return result;
}
