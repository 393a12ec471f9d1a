// CGridInPlaceEdit: the in-place editor of a grid cell.
#include "GridInPlaceEdit.h"

IMPLEMENT_DYNAMIC(CGridInPlaceEdit, CEdit)

BEGIN_MESSAGE_MAP(CGridInPlaceEdit, CEdit)
ON_WM_KILLFOCUS()
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CGridInPlaceEdit::CGridInPlaceEdit(CWnd* pParent, const CRect& rect, DWORD dwStyle, UINT nID, int nRow,
                                   int nColumn, CString sInitText, UINT nFirstChar)
    : m_sInitText(sInitText),
      m_nRow(nRow),
      m_nColumn(nColumn),
      m_nLastChar(0),
      m_bExitOnArrows(nFirstChar != VK_LBUTTON),
      m_Rect(rect) {
  const DWORD dwEditStyle = WS_BORDER | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | dwStyle;
  if (!Create(dwEditStyle, rect, pParent, nID)) return;

  SetFont(pParent->GetFont());
  SetWindowText(sInitText);
  SetFocus();

  switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
      SetSel(sInitText.GetLength(), -1);
      return;
    case VK_BACK:
      SetSel(sInitText.GetLength(), -1);
      break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      SetSel(0, -1);
      return;
    default:
      SetSel(0, -1);
      break;
  }
  // The character replaces the selection once the edit processes it.
  PostMessage(nFirstChar > 127 ? WM_IME_CHAR : WM_CHAR, nFirstChar, 0);
}

void CGridInPlaceEdit::PostNcDestroy() {
  CEdit::PostNcDestroy();
  delete this;
}

BOOL CGridInPlaceEdit::PreTranslateMessage(MSG* pMsg) {
  // Alt+key would reach the menus of the frame while the cell is being edited.
  if (pMsg->message == WM_SYSCHAR) return TRUE;
  return CEdit::PreTranslateMessage(pMsg);
}

void CGridInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const BOOL bMoveKey = nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_DOWN || nChar == VK_UP ||
                        nChar == VK_RIGHT || nChar == VK_LEFT;
  if (bMoveKey && (m_bExitOnArrows || ::GetKeyState(VK_CONTROL) < 0)) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CGridInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_TAB || nChar == VK_RETURN) {
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  if (nChar == VK_ESCAPE) {
    SetWindowText(m_sInitText);
    m_nLastChar = nChar;
    GetParent()->SetFocus();
    return;
  }
  CEdit::OnChar(nChar, nRepCnt, nFlags);

  // Grow to the right with the text, but not past the grid's client area.
  CString str;
  GetWindowText(str);
  str += _T("  ");
  CWindowDC dc(this);
  CFont* pOldFont = dc.SelectObject(GetFont());
  const CSize size = dc.GetTextExtent(str);
  dc.SelectObject(pOldFont);
  CRect parentRect;
  GetParent()->GetClientRect(&parentRect);
  if (size.cx > m_Rect.Width()) {
    if (size.cx + m_Rect.left < parentRect.right) {
      m_Rect.right = m_Rect.left + size.cx;
    } else {
      m_Rect.right = parentRect.right;
    }
    MoveWindow(&m_Rect);
  }
}

UINT CGridInPlaceEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

void CGridInPlaceEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  EndEdit();
}

void CGridInPlaceEdit::EndEdit() {
  // Closing moves the focus, which would end the edit a second time.
  static BOOL bAlreadyEnding = FALSE;
  if (bAlreadyEnding) return;
  bAlreadyEnding = TRUE;

  CString str;
  GetWindowText(str);
  GV_DISPINFO dispinfo;
  dispinfo.hdr.hwndFrom = GetSafeHwnd();
  dispinfo.hdr.idFrom = GetDlgCtrlID();
  dispinfo.hdr.code = GVN_ENDLABELEDIT;
  dispinfo.item.mask = GVIF_TEXT | GVIF_PARAM;
  dispinfo.item.row = m_nRow;
  dispinfo.item.col = m_nColumn;
  dispinfo.item.strText = str;
  dispinfo.item.lParam = static_cast<LPARAM>(m_nLastChar);
  CWnd* pOwner = GetOwner();
  if (pOwner != nullptr) pOwner->SendMessage(WM_NOTIFY, GetDlgCtrlID(), reinterpret_cast<LPARAM>(&dispinfo));

  if (::IsWindow(GetSafeHwnd())) SendMessage(WM_CLOSE, 0, 0);
  bAlreadyEnding = FALSE;
}
