// The in-place item edit.
#include "ItemEdit.h"

IMPLEMENT_DYNAMIC(CXTItemEdit, CXTBrowseEdit)

BEGIN_MESSAGE_MAP(CXTItemEdit, CXTBrowseEdit)
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_KILLFOCUS()
ON_WM_GETDLGCODE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

CXTItemEdit::CXTItemEdit(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

BOOL CXTItemEdit::Create(CWnd* pParent, const CRect& rect, LPCTSTR lpszText, UINT nID, DWORD dwBStyle,
                         UINT nMenu, int nSubMenuIndx) {
  if (!CXTBrowseEdit::Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, pParent, nID))
    return FALSE;
  if (!Initialize(pParent, dwBStyle, nMenu, nSubMenuIndx)) {
    DestroyWindow();
    return FALSE;
  }
  SetWindowText(lpszText != nullptr ? lpszText : L"");
  SetSel(0, -1);
  SetFocus();
  return TRUE;
}

void CXTItemEdit::EndEdit(BOOL bCancel) {
  if (m_bEnded) return;
  m_bEnded = TRUE;
  if (bCancel) m_bCancelled = TRUE;
  // The parent hears EN_KILLFOCUS while the text is still here; the window goes afterwards.
  CWnd* pParent = GetParent();
  if (::GetFocus() == m_hWnd && pParent != nullptr) pParent->SetFocus();
  PostMessage(WM_CLOSE);
}

UINT CXTItemEdit::OnGetDlgCode() { return CXTBrowseEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }

void CXTItemEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
    EndEdit(nChar == VK_ESCAPE);
    return;
  }
  CXTBrowseEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CXTItemEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  // Return and Escape end editing on their key going down; the edit must not beep for them.
  if (nChar == VK_RETURN || nChar == VK_ESCAPE) return;
  CXTBrowseEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CXTItemEdit::OnKillFocus(CWnd* pNewWnd) {
  CXTBrowseEdit::OnKillFocus(pNewWnd);
  if (m_bEnded || m_bBrowsing) return;
  if (pNewWnd != nullptr && pNewWnd->GetSafeHwnd() == m_btnBrowse.GetSafeHwnd()) return;
  EndEdit(FALSE);
}

void CXTItemEdit::OnClose() {
  if (::IsWindow(m_btnBrowse.GetSafeHwnd())) m_btnBrowse.DestroyWindow();
  DestroyWindow();
}

void CXTItemEdit::PostNcDestroy() {
  CXTBrowseEdit::PostNcDestroy();
  if (m_bAutoDelete) delete this;
}
