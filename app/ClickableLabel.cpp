// The clickable label: its cursor, its red face, and the link message on moves and presses.
#include "ClickableLabel.h"

#include "MemDC.h"
#include "WizardMessages.h"
#include "resource.h"

namespace {
const COLORREF LABEL_FACE = RGB(255, 0, 0);  // 0x0000FF
const COLORREF MEMORY_FILL = RGB(0, 0, 0);
}  // namespace

// A mouse move counts as a press: both post the link message.
BEGIN_MESSAGE_MAP(CClickableLabel, CWnd)
AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CClickableLabel::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  // No CS_DBLCLKS: a quick second press is a press too.
  const CString strClass = AfxRegisterWndClass(0, nullptr, nullptr, nullptr);
  return CWnd::Create(strClass, L"", dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

void CClickableLabel::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
  if (CWnd* pParent = GetParent()) pParent->PostMessage(WM_LINK_CLICKED, 0, 0);
  Default();
}

BOOL CClickableLabel::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/) {
  ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_LINK_CURSOR)));
  return TRUE;
}

void CClickableLabel::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC memDC(&dc, rcClient, MEMORY_FILL);
  memDC.FillSolidRect(&rcClient, LABEL_FACE);
}
