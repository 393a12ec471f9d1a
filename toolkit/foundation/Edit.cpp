// CXTEdit: painting, the context menu and its commands.
#include "Edit.h"

#include "ColorTable.h"
#include "MemDC.h"
#include "ResourceSource.h"
#include "SystemResources.h"
#include "ToolkitPopupMenu.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNAMIC(CXTEdit, CEdit)

BEGIN_MESSAGE_MAP(CXTEdit, CEdit)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateEditClear)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

BOOL CXTEdit::CanPaste() { return ::IsClipboardFormatAvailable(CF_TEXT); }

BOOL CXTEdit::HasSelection() {
  int nStart = 0;
  int nEnd = 0;
  GetSel(nStart, nEnd);
  return nStart < nEnd;
}

BOOL CXTEdit::Initialize(CWnd* pOwner) {
  if (!::IsWindow(GetSafeHwnd()) || pOwner == nullptr || !::IsWindow(pOwner->GetSafeHwnd())) return FALSE;
  SetFont(&GetSystemResources()->m_fontRegular, TRUE);
  m_pParentWnd = pOwner;
  return TRUE;
}

void CXTEdit::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC memDC(&dc, rcClient, GetXTPColor(IsWindowEnabled() ? COLOR_WINDOW : COLOR_BTNFACE));
  if (!memDC.IsValid()) return;
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

BOOL CXTEdit::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CXTEdit::OnContextMenu(CWnd* /*pWnd*/, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    point = CPoint(5, 5);
    ClientToScreen(&point);
  }
  CMenu menu;
  if (!GetToolkitResourceManager()->LoadMenu(&menu, XT_IDM_POPUP)) return;
  HMENU hPopup = ::GetSubMenu(menu.GetSafeHmenu(), 1);
  if (hPopup == nullptr) return;
  if (GetFocus() != this) SetFocus();
  TrackToolkitPopupMenu(hPopup, TPM_RIGHTBUTTON, point.x, point.y, this, XT_IDR_EDIT_TOOLBAR);
}

void CXTEdit::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CEdit::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (bSysMenu || pPopupMenu == nullptr) return;

  CCmdUI state;
  state.m_pMenu = pPopupMenu;
  state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
    state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;  // separator
    state.m_pSubMenu = nullptr;
    if (state.m_nID == UINT(-1)) {
      // A sub-menu is enabled through its first item.
      CMenu* pSub = pPopupMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
      if (pSub == nullptr) continue;
      state.m_nID = pSub->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == UINT(-1)) continue;
      state.m_pSubMenu = pSub;
    }
    if (!OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, nullptr) && state.m_nID < 0xF000)
      state.Enable(FALSE);
  }
}

void CXTEdit::OnEditUndo() { SendMessage(EM_UNDO); }
void CXTEdit::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(CanUndo()); }
void CXTEdit::OnEditCut() { SendMessage(WM_CUT); }
void CXTEdit::OnUpdateEditCut(CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); }
void CXTEdit::OnEditCopy() { SendMessage(WM_COPY); }
void CXTEdit::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); }
void CXTEdit::OnEditPaste() { SendMessage(WM_PASTE); }
void CXTEdit::OnUpdateEditPaste(CCmdUI* pCmdUI) { pCmdUI->Enable(CanPaste()); }
void CXTEdit::OnEditClear() { SendMessage(WM_CLEAR); }
void CXTEdit::OnUpdateEditClear(CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); }

void CXTEdit::OnEditSelectAll() {
  SendMessage(EM_SETSEL, 0, -1);
  SendMessage(EM_SCROLLCARET);
}

void CXTEdit::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(GetWindowTextLength() > 0); }
