// The flat combo box: hot tracking, completion and painting through its style.
#include "FlatComboBox.h"

#include "ColorTable.h"
#include "MemDC.h"

namespace {

constexpr UINT_PTR kHotTimer = 1000;
constexpr UINT kHotTimerMs = 10;

BOOL IsPointerOver(CWnd* pWnd) {
  CPoint pt;
  ::GetCursorPos(&pt);
  CRect rc;
  pWnd->GetWindowRect(&rc);
  return rc.PtInRect(pt);
}

}  // namespace

// ---- CXTFlatComboBox -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CXTFlatComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CXTFlatComboBox, CComboBox)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_CONTROL_REFLECT_EX(CBN_EDITCHANGE, OnEditChange)
ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, OnFocusChanged)
ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnFocusChanged)
ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnFocusChanged)
END_MESSAGE_MAP()

CXTFlatComboBox::CXTFlatComboBox() : CXTThemeStyleHost(RUNTIME_CLASS(CXTFlatComboBoxThemeFactory)) {}
CXTFlatComboBox::~CXTFlatComboBox() = default;

int CXTFlatComboBox::GetFrameState() {
  if (GetSafeHwnd() == nullptr) return xtFlatNormal;
  if (SendMessage(CB_GETDROPPEDSTATE)) return xtFlatPressed;
  if (m_bHot || ::GetFocus() == m_hWnd || ::IsChild(m_hWnd, ::GetFocus())) return xtFlatHot;
  return xtFlatNormal;
}

void CXTFlatComboBox::RedrawFlat() {
  if (GetSafeHwnd() != nullptr) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CXTFlatComboBox::OnPaint() {
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  CXTMemDC memDC(&dc, rcClient);
  if (!memDC.IsValid()) return;
  // The edit part, when it shows no selection, has the control's background.
  if (SendMessage(CB_GETEDITSEL) == LRESULT(-1) || (CComboBox::GetStyle() & 3) == CBS_DROPDOWNLIST) {
    memDC.FillSolidRect(&rcClient, m_clrBack != COLORREF(-1) ? m_clrBack : GetXTPColor(COLOR_WINDOW));
  }
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
  if (auto* pStyle = dynamic_cast<CXTFlatComboStyle*>(CXTThemeStyleHost::GetStyle()))
    pStyle->DrawFlatComboBox(&memDC, this, GetFrameState());
}

BOOL CXTFlatComboBox::OnEraseBkgnd(CDC* /*pDC*/) { return TRUE; }

void CXTFlatComboBox::OnMouseMove(UINT nFlags, CPoint point) {
  SetTimer(kHotTimer, kHotTimerMs);
  OnTimer(kHotTimer);
  CComboBox::OnMouseMove(nFlags, point);
}

void CXTFlatComboBox::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHotTimer) {
    CComboBox::OnTimer(nIDEvent);
    return;
  }
  const BOOL bHot = IsPointerOver(this);
  if (!bHot) KillTimer(kHotTimer);
  if (bHot != m_bHot) {
    m_bHot = bHot;
    RedrawFlat();
  }
}

void CXTFlatComboBox::OnSetFocus(CWnd* pOldWnd) {
  CComboBox::OnSetFocus(pOldWnd);
  RedrawFlat();
}

void CXTFlatComboBox::OnKillFocus(CWnd* pNewWnd) {
  CComboBox::OnKillFocus(pNewWnd);
  RedrawFlat();
}

BOOL CXTFlatComboBox::OnFocusChanged() {
  RedrawFlat();
  return FALSE;
}

BOOL CXTFlatComboBox::OnEditChange() {
  CString strTyped;
  GetWindowText(strTyped);
  // Text that got shorter was deleted: completing it would put back what the user removed.
  const BOOL bDeleted = strTyped.GetLength() < m_nLastLength;
  m_nLastLength = strTyped.GetLength();
  if (!m_bAutoComp || bDeleted) return FALSE;
  const DWORD dwSel = static_cast<DWORD>(SendMessage(CB_GETEDITSEL));
  if (SendMessage(CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strTyped))) ==
      CB_ERR) {
    // Nothing begins with it: the text and the caret stay as the user left them.
    SetWindowText(strTyped);
    SendMessage(CB_SETEDITSEL, 0, dwSel);
    return FALSE;
  }
  SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(strTyped.GetLength(), -1));
  m_nLastLength = GetWindowTextLength();
  return FALSE;
}
