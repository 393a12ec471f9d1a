// The hover button: its own check state, the group uncheck, the hover and pushed looks, and the
// relay of its mouse messages to a tool tip.
#include "HoverButton.h"

#include "WizardMessages.h"

namespace {

const int GLYPH_SIZE = 13;
const int GLYPH_MARGIN = 4;

LPARAM PointParam(CPoint point) { return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)); }

}  // namespace

BEGIN_MESSAGE_MAP(CHoverButton, CButton)
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDBLCLK()
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
ON_MESSAGE(WM_GROUP_UNCHECK, OnGroupUncheck)
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
END_MESSAGE_MAP()

CHoverButton::CHoverButton()
    : m_bChecked(0), m_nButtonKind(KIND_PUSH), m_bHover(0), m_bPressed(0), m_hToolTip(nullptr) {}

void CHoverButton::PreSubclassWindow() {
  switch (GetButtonStyle() & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      m_nButtonKind = KIND_CHECK_BOX;
      break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      m_nButtonKind = KIND_OPTION;
      break;
    default:
      m_nButtonKind = KIND_PUSH;
      break;
  }
  ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
  CButton::PreSubclassWindow();
}

void CHoverButton::RelayToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_hToolTip == nullptr) return;
  MSG msg = {};
  msg.hwnd = m_hWnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = 0;
  msg.pt.x = static_cast<short>(LOWORD(lParam));
  msg.pt.y = static_cast<short>(HIWORD(lParam));
  ::SendMessage(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

BOOL CHoverButton::IsOverButton(CPoint point) const {
  ClientToScreen(&point);
  return ::WindowFromPoint(point) == m_hWnd;
}

void CHoverButton::ClickCheck() {
  if (m_nButtonKind == KIND_CHECK_BOX) {
    SendMessage(BM_SETCHECK, m_bChecked ? 0 : 1, 0);
  } else if (m_nButtonKind == KIND_OPTION) {
    SendMessage(BM_SETCHECK, 1, 0);
  }
}

BOOL CHoverButton::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CHoverButton::OnLButtonDown(UINT nFlags, CPoint point) {
  RelayToolTip(WM_LBUTTONDOWN, nFlags, PointParam(point));
  if (m_bHover) {
    TRACKMOUSEEVENT track = {sizeof track, TME_CANCEL | TME_LEAVE, m_hWnd, 0};
    if (::TrackMouseEvent(&track)) m_bHover = 0;
  }
  Default();
  m_bPressed = 1;
}

void CHoverButton::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_nButtonKind != KIND_PUSH && IsOverButton(point)) ClickCheck();
  RelayToolTip(WM_LBUTTONUP, nFlags, PointParam(point));
  m_bPressed = 0;
  Default();
}

void CHoverButton::OnMouseMove(UINT nFlags, CPoint point) {
  RelayToolTip(WM_MOUSEMOVE, nFlags, PointParam(point));
  if (m_bPressed && GetCapture() == this) {
    const BOOL bOver = IsOverButton(point);
    const BOOL bPushed = (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
    if (bOver != bPushed) {
      SendMessage(BM_SETSTATE, bOver, 0);
      Invalidate(TRUE);
    }
  } else if (!m_bHover) {
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    if (::TrackMouseEvent(&track)) {
      m_bHover = 1;
      Invalidate(TRUE);
    }
  }
  Default();
}

LRESULT CHoverButton::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  m_bHover = 0;
  Invalidate(TRUE);
  return 0;
}

// The double click gets no processing of its own: it is the second press.
void CHoverButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
  SendMessage(WM_LBUTTONDOWN, nFlags, PointParam(point));
}

void CHoverButton::OnKillFocus(CWnd* /*pNewWnd*/) {
  if (GetCapture() == this) {
    ::ReleaseCapture();
    m_bPressed = 0;
  }
  Default();
}

void CHoverButton::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
  if (m_nButtonKind != KIND_PUSH && nChar == VK_SPACE) ClickCheck();
  Default();
}

LRESULT CHoverButton::OnSetCheck(WPARAM wParam, LPARAM /*lParam*/) {
  m_bChecked = wParam != 0 ? 1 : 0;
  if (m_nButtonKind == KIND_PUSH) m_bChecked = 0;
  CWnd* pParent = GetParent();
  if (m_nButtonKind == KIND_OPTION && m_bChecked && pParent != nullptr) {
    // The walk also ends where it began: the dialog manager may pass over this button (hidden or
    // disabled), and the group would then go round without meeting it.
    HWND hFirst = nullptr;
    for (HWND hCtl = ::GetNextDlgGroupItem(pParent->m_hWnd, m_hWnd, FALSE);
         hCtl != nullptr && hCtl != m_hWnd && hCtl != hFirst;
         hCtl = ::GetNextDlgGroupItem(pParent->m_hWnd, hCtl, FALSE)) {
      if (hFirst == nullptr) hFirst = hCtl;
      ::PostMessage(hCtl, WM_GROUP_UNCHECK, 0, 0);
    }
  }
  Invalidate(TRUE);
  return 0;
}

LRESULT CHoverButton::OnGroupUncheck(WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (m_bChecked) {
    m_bChecked = 0;
    Invalidate(TRUE);
  }
  return 0;
}

LRESULT CHoverButton::OnGetCheck(WPARAM /*wParam*/, LPARAM /*lParam*/) { return m_bChecked; }

// The looks: flat with a thin frame; hovered, a highlight frame; pushed, a sunken edge with the content
// moved by a pixel. Check boxes and option buttons show their mark at the left, in the button's state.
void CHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect rc(lpDrawItemStruct->rcItem);
  const UINT nState = lpDrawItemStruct->itemState;
  const BOOL bPushed = (nState & ODS_SELECTED) != 0;
  const BOOL bDisabled = (nState & ODS_DISABLED) != 0;

  pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
  if (bPushed) {
    pDC->DrawEdge(&rc, EDGE_SUNKEN, BF_RECT);
  } else if (m_bHover && !bDisabled) {
    CBrush frame(::GetSysColor(COLOR_HIGHLIGHT));
    pDC->FrameRect(&rc, &frame);
  } else if (m_nButtonKind == KIND_PUSH) {
    CBrush frame(::GetSysColor(COLOR_BTNSHADOW));
    pDC->FrameRect(&rc, &frame);
  }

  CRect rcContent(rc);
  rcContent.DeflateRect(2, 2);
  if (bPushed) rcContent.OffsetRect(1, 1);
  UINT nTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (m_nButtonKind == KIND_PUSH) {
    nTextFormat |= DT_CENTER;
  } else {
    CRect rcGlyph(rcContent.left + GLYPH_MARGIN, rcContent.CenterPoint().y - GLYPH_SIZE / 2, 0, 0);
    rcGlyph.right = rcGlyph.left + GLYPH_SIZE;
    rcGlyph.bottom = rcGlyph.top + GLYPH_SIZE;
    UINT nGlyph = m_nButtonKind == KIND_OPTION ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (m_bChecked) nGlyph |= DFCS_CHECKED;
    if (bDisabled) nGlyph |= DFCS_INACTIVE;
    if (bPushed) nGlyph |= DFCS_PUSHED;
    pDC->DrawFrameControl(&rcGlyph, DFC_BUTTON, nGlyph);
    rcContent.left = rcGlyph.right + GLYPH_MARGIN;
  }

  CString strText;
  GetWindowText(strText);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF crOldText = pDC->SetTextColor(::GetSysColor(bDisabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  CFont* pFont = GetFont();
  CFont* pOldFont = pFont != nullptr ? pDC->SelectObject(pFont) : nullptr;
  pDC->DrawText(strText, &rcContent, nTextFormat);
  if (pOldFont != nullptr) pDC->SelectObject(pOldFont);
  pDC->SetTextColor(crOldText);
  pDC->SetBkMode(nOldMode);

  if ((nState & ODS_FOCUS) != 0 && (nState & ODS_NOFOCUSRECT) == 0) {
    CRect rcFocus(rc);
    rcFocus.DeflateRect(3, 3);
    pDC->DrawFocusRect(&rcFocus);
  }
}
